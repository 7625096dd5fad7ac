// The game's creation, update dispatch, suspend and resume, run without a window.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

#include "child_process.h"
#include "game/core/globals.h"
#include "game/core/records.h"
#include "sim/headless_game.h"

namespace {

class ScreenFlow : public ::testing::Test {
 protected:
  void SetUp() override { game.StepUntilLoaded(); }
  HeadlessGame game;
  MyApp& app = game.app();
};

}  // namespace

TEST(ScreenFlowStart, QuitKeysEndTheProgramQuietly) {
  for (int code : {key::kF4, key::kWindowClose, key::kEscape}) {
    const auto result = RunInChild([code] {
      HeadlessGame game;
      game.StepUntilLoaded();
      game.TapKey(code);
      kvPrint("still running");
    });
    EXPECT_TRUE(result.status == 0 && result.output.find("still running") == std::string::npos)
        << code;
  }
}

TEST_F(ScreenFlow, SuspendingALevelComesBackPausedAndTheMenuDoesNot) {
  for (const int level : {0, 1}) {
    if (level) app.screens.ScreenMode = ModeLoadGame;
    game.Step();
    game.host().SuspendGame();
    EXPECT_EQ(UpdateRate(), kSuspendedUpdateRate);
    game.host().ResumeGame();
    EXPECT_EQ((std::pair{app.pause.Paused, UpdateRate()}), (std::pair{level, kUpdateRate}));
  }
}

// The 640 x 480 device shows 720 x 540 units: a pixel is 9/8 of a unit.
TEST_F(ScreenFlow, ThePointerIsMirroredInGameUnits) {
  game.MouseMove(100, 50);
  game.MouseButton(0, true);
  game.Step();
  EXPECT_EQ((std::tuple{app.controls.PointerX, app.controls.PointerY, app.controls.PointerDown,
                        app.controls.TouchPosX[0]}),
            (std::tuple{112, 56, 1, 112}));
}

// Mended: the back key closes the menu's panels once, and acts no further until released.
TEST_F(ScreenFlow, BackClosesTheMenuPanelsOnceUntilReleased) {
  app.menu.SidePanelOpen = app.menu.CreditsOpen = 1;
  game.KeyDown(key::kEscape);
  game.Step();
  EXPECT_EQ((std::pair{app.menu.SidePanelOpen, app.menu.CreditsOpen}), (std::pair{0, 0}));
  app.menu.SidePanelOpen = 1;
  game.Step(3);
  EXPECT_EQ(app.menu.SidePanelOpen, 1) << "still held: a panel opened now stays open";
}

// --level N starts once loading is done; mended: only if the player has opened it.
TEST(ScreenFlowStart, ALaunchLevelStartsOnceLoadedIfOpen) {
  for (const auto& [asked, started, told] :  // level 1 completed
       {std::tuple{2, 1, ""},
        {3, 0, "zorvane: level 3 is not open yet; the highest open level is 2\n"}}) {
    HeadlessGame game;
    MyApp& app = game.app();
    app.save.LevelRecords.fill(0);
    app.save.LevelRecords[SaveData::kCompletionRecords] = 1;
    app.screens.LaunchLevel = asked;
    testing::internal::CaptureStderr();
    game.StepUntilLoaded();
    game.Step(2);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), told);
    EXPECT_EQ((std::pair{app.screens.ScreenMode, app.world.Level}),
              (std::pair{started ? int{ModeInGame} : int{ModeMenu}, 2}));
  }
}
