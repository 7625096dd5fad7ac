// The draw list of one frame of level 1, started from the menu by the fire key, compared as a
// whole with a stored reading that was checked by eye against a picture of the same frame
// from the real renderer (build/screenshots/render_rest.png, written by flight_render_test;
// the end-to-end check's flight_rest.png shows the real game at about the same moment).
// After a deliberate change, regenerate it with ZV_UPDATE_GOLDEN=1 and look again.
#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "game/core/records.h"
#include "host/key_codes.h"
#include "scratch_folder.h"
#include "sim/headless_game.h"

namespace fs = std::filesystem;

namespace {

constexpr char kGolden[] = ZV_GOLDEN_DIR "/level1_frame.txt";
// Ninety updates of intro, then the ship has sat on the pad for a second.
constexpr int kUpdatesAfterStart = 150;

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

TEST(FrameGolden, LevelOneAtRestOnThePad) {
  std::string reading;
  {
    const ScratchFolder folder("golden");
    fs::create_directory_symlink(ZV_DATA_DIR, "data");
    HeadlessGame game;
    MyApp& app = game.app();
    game.StepUntilLoaded();
    game.Step(30);  // the menu
    game.TapKey('Z');
    ASSERT_EQ(app.screens.ScreenMode, ModeLoadGame);
    game.Step();  // builds the level
    ASSERT_EQ(app.world.Level, 1);
    game.Step(kUpdatesAfterStart);
    ASSERT_EQ(app.play.LevelIntro, 0);
    ASSERT_EQ(app.play.ExitState, 0);
    reading = Reading(app);
    app.frame.DiscardImages();
    app.audio.DiscardSounds();
  }

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

}  // namespace
