// The game's creation, update dispatch, suspend and resume, run without a window.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <utility>

#include "child_process.h"
#include "game/core/globals.h"
#include "game/core/records.h"
#include "sim/headless_game.h"

namespace {

// A game that has finished loading and shows the menu.
class ScreenFlow : public ::testing::Test {
 protected:
  void SetUp() override { game.StepUntilLoaded(); }
  HeadlessGame game;
  MyApp& app = game.app();
};

}  // namespace

TEST(ScreenFlowStart, CreationStartsTheLoaderThenTheMenu) {
  HeadlessGame game;
  EXPECT_EQ(game.host().UpdateRate(), kUpdateRate);
  EXPECT_GT(game.app().frame.LoadStep, 0);
  game.StepUntilLoaded();
  EXPECT_EQ((std::pair{game.app().frame.LoadStep, game.app().screens.ScreenMode}),
            (std::pair{0, int{ModeMenu}}));
}

// An update before any render is defined: the screen is fitted from the game's creation.
TEST(ScreenFlowStart, BeforeAnyDeviceTheScreenIsFittedToTheDesignSize) {
  HeadlessHost host;
  kvInit();
  const auto app = std::make_unique<MyApp>();
  EXPECT_EQ(
      (std::tuple{app->frame.FitMode, app->frame.ScaleX, app->frame.ScaleY, app->frame.Landscape}),
      (std::tuple{1, 1.0f, 1.0f, 1}));
}

TEST_F(ScreenFlow, FunctionKeysToggleTheOverlayAndTheHud) {
  game.TapKey(key::kF1);
  game.TapKey(key::kF2);
  EXPECT_EQ(app.screens.DebugMode, 1);
  EXPECT_EQ(app.play.HudHidden, 1);
  game.TapKey(key::kF1);
  EXPECT_EQ(app.screens.DebugMode, 0);
}

TEST(ScreenFlowStart, QuitKeysEndTheProgramQuietly) {
  for (int code : {key::kF4, key::kWindowClose}) {
    const auto result = RunInChild([code] {
      HeadlessGame game;
      game.StepUntilLoaded();
      game.TapKey(code);
      kvPrint("still running");
    });
    EXPECT_EQ(result.status, 0) << code;
    EXPECT_EQ(result.output.find("still running"), std::string::npos) << code;
  }
}

TEST_F(ScreenFlow, SuspendingALevelComesBackPausedAndTheMenuDoesNot) {
  game.host().SuspendGame();
  EXPECT_EQ(UpdateRate(), kSuspendedUpdateRate);
  game.host().ResumeGame();
  EXPECT_EQ(app.pause.Paused, 0);
  EXPECT_EQ(UpdateRate(), kUpdateRate);

  app.screens.ScreenMode = ModeLoadGame;
  game.Step();
  ASSERT_EQ(app.screens.ScreenMode, ModeInGame);
  game.host().SuspendGame();
  game.Step(5);  // no update runs while suspended
  EXPECT_EQ((std::tuple{app.pause.Paused, app.pause.PauseDir, app.pause.PauseY}),
            (std::tuple{1, 1, 270}));
  game.host().ResumeGame();
  EXPECT_EQ(app.pause.Paused, 1);
  EXPECT_EQ(UpdateRate(), kUpdateRate);
}

TEST_F(ScreenFlow, TheSidePanelSlidesInAndOut) {
  app.menu.SidePanelOpen = 1;
  game.Step(200);
  EXPECT_FLOAT_EQ(app.menu.SidePanelWidth, app.frame.ScreenWidth - 140);
  app.menu.SidePanelOpen = 0;
  game.Step(200);
  EXPECT_EQ(app.menu.SidePanelWidth, 0);
}

// The harness never renders: the fit made when the game was created is the one used. The
// 640 x 480 device shows 720 x 540 units: a pixel is 9/8 of a unit.
TEST_F(ScreenFlow, ThePointerIsMirroredInGameUnitsWithNoRender) {
  game.MouseMove(100, 50);
  game.Step();
  EXPECT_EQ((std::tuple{app.controls.PointerX, app.controls.PointerY, app.controls.TouchPosX[1]}),
            (std::tuple{112, 56, kNoArg}));
  game.MouseButton(0, true);
  game.MouseMove(120, 60);
  game.Step();
  EXPECT_EQ((std::tuple{app.controls.PointerDown, app.controls.PointerHit, app.controls.TouchOn[0],
                        app.controls.TouchPosX[0]}),
            (std::tuple{1, 1, 1, 135}));
  EXPECT_EQ(app.controls.LastPointerX, app.controls.PointerX) << "no jump on the press";
}

// Eases a thirtieth of the way; colours below -122 keep the target, alpha is held to 0..1,
// and a red of -3717 leaves the clear colour alone but still eases.
TEST_F(ScreenFlow, TheBackdropEasesTowardItsTargetAndStartsTheFrame) {
  app.play.BgColour.fill(0);
  app.frame.DrawCount = 150;
  app.play.DoBG(app.frame, 0, 0, 90, -123);
  EXPECT_EQ((std::tuple{app.play.BgColour[2], app.frame.ClearBlue, app.frame.ClearAlpha,
                        app.frame.DrawCount}),
            (std::tuple{3.0f, 3.0f, 1.0f, 0}));
  app.play.DoBG(app.frame, -123, -123, -123, 7.0f);
  EXPECT_FLOAT_EQ(app.play.BgColour[2], 3.0f + 87.0f / 30.0f);
  EXPECT_FLOAT_EQ(app.frame.ClearAlpha, 1.0f);
  const float clearBlue = app.frame.ClearBlue;
  app.play.DoBG(app.frame, kNoArg, 0, 90, 0.5f);
  EXPECT_FLOAT_EQ(app.frame.ClearBlue, clearBlue);
  EXPECT_GT(app.play.BgColour[2], clearBlue);
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
  game.KeyUp(key::kEscape);
  game.Step();
  EXPECT_EQ(app.controls.KeyLatch, 0);
}

// --level N: the level starts once loading is done; mended: only if the player has opened it.
TEST(ScreenFlowStart, ALaunchLevelStartsOnceLoadedIfOpen) {
  const struct {
    int asked;
    int completed;  // levels completed so far
    int startedLevel;
    std::string told;
  } cases[] = {
      {1, 0, 1, ""},
      {2, 1, 2, ""},
      {3, 1, 0, "zorvane: level 3 is not open yet; the highest open level is 2\n"},
      {1000, 0, 0, "zorvane: level 1000 is not open yet; the highest open level is 1\n"},
  };
  for (const auto& c : cases) {
    HeadlessGame game;
    MyApp& app = game.app();
    app.save.LevelRecords.fill(0);
    for (int level = 0; level < c.completed; ++level)
      app.save.LevelRecords[SaveData::kCompletionRecords + level * SaveData::kBestScores] = 1;
    app.screens.LaunchLevel = c.asked;
    testing::internal::CaptureStderr();
    game.StepUntilLoaded();
    game.Step(2);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.told) << c.asked;
    EXPECT_EQ(app.screens.LaunchLevel, 0) << "taken once";
    EXPECT_EQ(app.screens.ScreenMode, c.startedLevel ? ModeInGame : ModeMenu) << c.asked;
    if (c.startedLevel) {
      EXPECT_EQ(app.world.Level, c.startedLevel);
      EXPECT_EQ(app.frame.ControlStyle, 0) << "keyboard glyphs";
    }
  }
}
