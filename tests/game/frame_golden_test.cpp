// The draw list of one frame of level 1, started from the menu by the fire key, compared as a
// whole with a stored reading that was checked by eye against a picture of the same frame
// from the real renderer (build/screenshots/render_rest.png, written by flight_render_test;
// the end-to-end check's flight_rest.png shows the real game at about the same moment).
// After a deliberate change, regenerate it with ZV_UPDATE_GOLDEN=1 and look again.
#include <gtest/gtest.h>

#include <unistd.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "game/core/records.h"
#include "game/frame/asset_table.h"
#include "host/key_codes.h"
#include "scratch_folder.h"
#include "sim/headless_game.h"

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

// An empty tile of the ship's room more than two tiles from it, so that the ship leaves what
// lies there.
int* FarEmptyTile(MyApp& app) {
  const int rx = static_cast<int>(app.play.Player[player::kRoomX]);
  const int ry = static_cast<int>(app.play.Player[player::kRoomY]);
  const float reach = 3 * app.world.TileSize;
  for (int y = 1; y < world::kRoomHeight - 1; ++y) {
    for (int x = 1; x < world::kRoomWidth - 1; ++x) {
      int* tile = &app.world.Tiles[static_cast<size_t>(world::TileIndex(rx, ry, x, y))];
      const float wx = app.world.TileSize * static_cast<float>(rx * world::kRoomWidth + x);
      const float wy = app.world.TileSize * static_cast<float>(ry * world::kRoomHeight + y);
      if (tile[tile::kCode] == code::kEmpty &&
          std::fabs(wx - app.play.Player[player::kX]) > reach &&
          std::fabs(wy - app.play.Player[player::kY]) > reach)
        return tile;
    }
  }
  return nullptr;
}

// The frame after the rest on the pad, with the colour-blind marks on or off; `staged` also
// delivers item 0 (shown by the base) and lays item 1 loose in the room.
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
  if (staged) {
    app.play.Player[player::Item(0, player::kItemState)] = player::kItemDelivered;
    int* tile = FarEmptyTile(app);
    EXPECT_NE(tile, nullptr);
    if (tile) tile[tile::kCode] = code::kFreeItem + 1;
  }
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

// "x y frame" of each record of a slot and frame at (x, y), to find the items the marks cover.
std::string Where(const std::string& reading, int slot, int frame) {
  std::istringstream in(reading);
  std::string found;
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line);
    float f[7];
    for (float& v : f) fields >> v;
    if (static_cast<int>(f[0]) == slot && static_cast<int>(f[6]) == frame)
      found += std::to_string(f[1]) + " " + std::to_string(f[2]) + "\n";
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

// With the colour-blind marks on, the same frame gains a mark under each HUD bar, over the
// loose item and over the delivered one, and nothing else changes; off, it has none.
TEST(FrameGolden, TheColourBlindMarksAddToTheFrameAndChangeNothingElse) {
  const std::string off = Frame(false, true);
  const auto [marks, rest] = SplitMarks(Frame(true, true));
  EXPECT_EQ(rest, off);
  EXPECT_EQ(SplitMarks(off).first, "");
  for (const auto& [frame, where] : {
           // the rooms first, then the HUD
           std::pair{0, Where(off, kSpriteSlot, kDeliveredItem0) + "62.000000 34.000000\n"},
           {1, Where(off, kSpriteSlot, code::kFreeItem + 1) + "74.000000 34.000000\n"},
           {2, std::string("86.000000 34.000000\n")},
       }) {
    EXPECT_EQ(Where(marks, kItemMarkSlot, frame), where) << "mark " << frame;
  }
}

}  // namespace
