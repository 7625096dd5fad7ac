// The draw list of one frame of level 1, started from the menu by the fire key, compared as a
// whole with a stored reading that was checked by eye against a picture of the same frame
// from the real renderer (build/screenshots/render_rest.png, written by flight_render_test;
// the end-to-end check's flight_rest.png shows the real game at about the same moment).
// After a deliberate change, regenerate it with ZV_UPDATE_GOLDEN=1 and look again.
#include <gtest/gtest.h>

#include <unistd.h>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "game/core/records.h"
#include "game/frame/asset_table.h"
#include "host/key_codes.h"
#include "scratch_folder.h"
#include "sim/headless_game.h"
#include "staged_items.h"

namespace fs = std::filesystem;

namespace {

constexpr char kGolden[] = ZV_GOLDEN_DIR "/level1_frame.txt";
// Ninety updates of intro, then the ship has sat on the pad for a second.
constexpr int kUpdatesAfterStart = 150;
// The sprite of item 0 shown by the base.
constexpr int kDeliveredItem0 = 40;

// One line per record: what, where, turn, size, frame, alpha and colour, to two decimals.
std::string Reading(const MyApp& app) {
  std::ostringstream out;
  out.setf(std::ios::fixed);
  out.precision(2);
  for (int at = 0; at < app.frame.DrawCount; at += drawrec::kFloats) {
    const float* r = &app.frame.DrawList[at];
    for (int field :
         {drawrec::kSlot, drawrec::kX, drawrec::kY, drawrec::kRot, drawrec::kSizeX, drawrec::kSizeY,
          drawrec::kFrame, drawrec::kAlpha, drawrec::kRed, drawrec::kGreen, drawrec::kBlue}) {
      out << (field == drawrec::kSlot ? "" : " ") << r[field] + 0.0f;
    }
    out << "\n";
  }
  return out.str();
}

// The frame after the rest on the pad, with the colour-blind marks on or off; `staged` also
// puts items in view (staged_items.h).
std::string Frame(bool marks, bool staged) {
  const ScratchFolder folder("golden");
  fs::create_directory_symlink(ZV_DATA_DIR, "data");
  HeadlessGame game;
  MyApp& app = game.app();
  app.controls.ItemMarks = marks;
  game.StepUntilLoaded();
  game.Step(30);  // the menu
  game.TapKey('Z');
  EXPECT_EQ(app.screens.ScreenMode, ModeLoadGame);
  game.Step();  // builds the level
  EXPECT_EQ(app.world.Level, 1);
  EXPECT_TRUE(!staged || StageItems(app));
  game.Step(kUpdatesAfterStart);
  EXPECT_EQ(app.play.LevelIntro, 0);
  EXPECT_EQ(app.play.ExitState, 0);
  std::string reading = Reading(app);
  app.frame.DiscardImages();
  app.audio.DiscardSounds();
  return reading;
}

// The records of the marks' image, and the reading without them.
std::pair<std::string, std::string> SplitMarks(const std::string& reading) {
  std::istringstream in(reading);
  std::string marks, rest;
  for (std::string line; std::getline(in, line);)
    (line.starts_with(std::to_string(kItemMarkSlot) + ".00 ") ? marks : rest) += line + "\n";
  return {marks, rest};
}

// Where the records of a slot and frame are drawn, in the list's order.
std::vector<std::pair<float, float>> Where(const std::string& reading, int slot, int frame) {
  std::istringstream in(reading);
  std::vector<std::pair<float, float>> found;
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line);
    std::array<float, 7> f{};
    for (float& v : f) fields >> v;
    if (static_cast<int>(f[0]) == slot && static_cast<int>(f[6]) == frame)
      found.emplace_back(f[1], f[2]);
  }
  return found;
}

TEST(FrameGolden, LevelOneAtRestOnThePad) {
  const std::string reading = Frame(false, false);
  if (std::getenv("ZV_UPDATE_GOLDEN")) {
    std::ofstream(kGolden) << reading;
    GTEST_SKIP() << "wrote " << kGolden;
  }
  std::ifstream in(kGolden);
  ASSERT_TRUE(in) << "no reading at " << kGolden;
  std::stringstream stored;
  stored << in.rdbuf();
  EXPECT_EQ(reading, stored.str());
}

// With the colour-blind marks on, the same frame gains a mark over the loose item, on each
// shelf of the base (item 0 delivered there) and under each HUD bar, and nothing else changes;
// off, it has none.
TEST(FrameGolden, TheColourBlindMarksAddToTheFrameAndChangeNothingElse) {
  const std::string off = Frame(false, true);
  const auto [marks, rest] = SplitMarks(Frame(true, true));
  EXPECT_EQ(rest, off);
  EXPECT_EQ(SplitMarks(off).first, "");
  const auto delivered = Where(off, kSpriteSlot, kDeliveredItem0);
  const auto loose = Where(off, kSpriteSlot, code::kFreeItem + 1);
  ASSERT_TRUE(delivered.size() == 1 && loose.size() == 1);
  const auto [shelfX, shelfY] = delivered[0];
  constexpr float kTile = 31, kHudY = 34;
  using Places = std::vector<std::pair<float, float>>;
  // the rooms first (loose items and shelves in the order of their tiles), then the HUD
  for (const auto& [frame, places] : {
           std::pair{0, Places{{shelfX, shelfY}, {62, kHudY}}},
           {1, Places{loose[0], {shelfX + kTile, shelfY}, {74, kHudY}}},
           {2, Places{{shelfX + 2 * kTile, shelfY}, {86, kHudY}}},
       }) {
    EXPECT_EQ(Where(marks, kItemMarkSlot, frame), places) << "mark " << frame;
  }
}

}  // namespace
