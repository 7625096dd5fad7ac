// The level-select menu run without a window: the wheel, the scores, focus and the side panel.
#include <climits>
#include <cstdio>
#include <functional>
#include <tuple>
#include <vector>

#include "base/angles.h"
#include "child_process.h"
#include "menu_fixture.h"

namespace {

// Where item `shown` (0: the selected one) rests on the wheel around (38, 476).
std::pair<float, float> ItemAt(int shown) {
  const float radius = shown ? 116 + 1.5f * (45 - 29) : 179;
  const float angle = 48 - 32.0f * shown;
  return {38 + radius * SinDeg(angle), 476 - radius * CosDeg(angle)};
}

}  // namespace

// Only a completion flag opens the next level; a selection out of range comes back to the last.
TEST_F(MenuTest, TheWheelOffersLevelsUpToOnePastTheHighestCompleted) {
  for (const auto& [completed, start, last, label] : {std::tuple{0, -1, 0, "001"},
                                                      {1, 1000, 1, "002"},
                                                      {999, 1000, 999, "Final"},
                                                      {1000, 1000, 999, "Final"}}) {
    SCOPED_TRACE(completed);
    app.save.LevelRecords.fill(0);
    app.save.LevelRecords[5 * SaveData::kBestScores] = 900;
    app.save.LevelRecords[SaveData::kCompletionRecords + 7 * SaveData::kBestScores + 1] = 1;
    CompleteLevels(completed);
    app.menu.MenuLevel = start;
    Step();
    EXPECT_EQ((std::tuple{app.menu.MenuLevel, app.menu.MenuScroll, app.world.Level}),
              (std::tuple{last, -32.0f * last, last + 1}));
    EXPECT_TRUE(Shows(label));
    Tap(key::kDown);
    EXPECT_EQ(app.menu.MenuLevel, last);
  }
}

// Held, Down steps at once, then after 31, 19 and 7 updates, then every 4.
TEST_F(MenuTest, HeldUpOrDownRepeatsFasterAndFaster) {
  CompleteLevels(100);
  std::vector<int> steps;
  game.KeyDown(key::kDown);
  for (int update = 0; update <= 70; ++update) {
    const int before = app.menu.MenuLevel;
    Step();
    if (app.menu.MenuLevel != before) steps.push_back(update);
  }
  game.KeyUp(key::kDown);
  EXPECT_EQ(steps, (std::vector<int>{0, 31, 50, 57, 61, 65, 69}));
  EXPECT_EQ(app.menu.MenuLevel, 7);
  Step();
  Tap(key::kUp);
  EXPECT_EQ(app.menu.MenuLevel, 6) << "released, the next press steps at once again";
}

// A drag selects as it turns and bounces back past either end; a touch on another item selects.
TEST_F(MenuTest, ADragOrATouchTurnsTheWheelWithoutStarting) {
  CompleteLevels(999);
  for (const auto& [start, dx, end] : {std::tuple{0, 12.0f, 0}, {999, -12, 999}, {5, 6, -1}}) {
    SCOPED_TRACE(start);
    app.menu.MenuLevel = start;
    app.menu.MenuScroll = app.menu.WheelScroll = -32.0f * start;
    Step();
    PressAt(120, 440);
    for (int i = 1; i <= 20; ++i) {
      Step();
      game.MouseMove(120 + dx * i, 440 + dx * i);
    }
    Lift();
    Step(200);
    EXPECT_NEAR(app.menu.WheelScroll, app.menu.MenuScroll, 0.5f);
    const float angle = 32.0f * app.menu.MenuLevel + 48 + app.menu.MenuScroll;
    EXPECT_TRUE(end < 0 ? app.menu.MenuLevel < start
                        : app.menu.MenuLevel == end && angle >= 30 && angle <= 60);
    EXPECT_EQ(app.screens.ScreenMode, ModeMenu);
  }
  app.menu.MenuLevel = 5;
  app.menu.MenuScroll = app.menu.WheelScroll = -32.0f * 5;
  Step();
  TouchAt(ItemAt(1).first, ItemAt(1).second);
  EXPECT_EQ(app.menu.MenuLevel, 4);
  EXPECT_EQ(app.screens.ScreenMode, ModeMenu);
}

// Confirm on the wheel, a touch on the selected item or on the play button in the corner.
TEST_F(MenuTest, StartingALevelRecordsHowThePlayerControls) {
  for (const auto& [key, x, y, style] : {std::tuple{int{'Z'}, 0.0f, 0.0f, 0},
                                         {key::JoyButton(0, 0), 0, 0, 1},
                                         {0, ItemAt(0).first, ItemAt(0).second, 2},
                                         {0, 720 - 70, 540 - 48, 2}}) {
    SCOPED_TRACE(testing::Message() << key << " at " << x << "," << y);
    app.screens.ScreenMode = ModeMenu;
    app.menu.MenuFocus = MenuScreen::kFocusWheel;
    Step(2);
    key ? game.KeyDown(key) : PressAt(x, y);
    Step();
    key ? game.KeyUp(key) : Lift();
    EXPECT_EQ(app.screens.ScreenMode, ModeLoadGame);
    EXPECT_EQ((std::tuple{app.frame.ControlStyle, app.world.Level, app.controls.KeyLatch}),
              (std::tuple{style, 1, 1}));
  }
}

// Confirm acts on the focus: the hub opens the options, the side panel opens (by touch: a first
// touch focuses it); its credit lines scroll one every 53.3 updates, faster while Down is held.
TEST_F(MenuTest, TheFocusMovesByKeyAndTouchAndConfirmActsOnIt) {
  Tap(key::kLeft);
  Tap(key::kLeft);
  Tap('Z');
  EXPECT_EQ(app.menu.OptionsOpen, 1);
  app.menu.OptionsOpen = 0;
  Step(40);
  for (int i = 0; i < 3; ++i) Tap(key::kRight);
  Tap('X');
  EXPECT_EQ(app.menu.SidePanelOpen, 1);
  Tap('V');
  EXPECT_EQ(app.menu.SidePanelOpen, 0);

  app.menu.MenuFocus = MenuScreen::kFocusWheel;
  TouchAt(650, 200);
  EXPECT_EQ((std::pair{app.menu.MenuFocus, app.menu.SidePanelOpen}),
            (std::pair{int{MenuScreen::kFocusSidePanel}, 0}));
  TouchAt(650, 200);
  EXPECT_EQ(app.menu.SidePanelOpen, 1);
  app.screens.TickerLine = 0;
  app.screens.TickerOffset = 0;
  Step(54);
  EXPECT_EQ(app.screens.TickerLine, 1);
  EXPECT_TRUE(Shows("AGameby"));
  Tap(key::kDown, 9);
  EXPECT_EQ(app.screens.TickerLine, 2);
}

// As many lines as fit below the header; a font of no height shows the best score alone.
TEST_F(MenuTest, TheScoreListFitsTheScreenHeight) {
  for (int k = 0; k < SaveData::kBestScores; ++k)
    app.save.LevelRecords[3 * SaveData::kBestScores + k] = 1000 - k;
  CompleteLevels(3);
  app.menu.MenuLevel = 3;
  for (const auto& [height, fontHeight, header, lines] : {std::tuple{540.0f, 10, "Top10", 10},
                                                          {300, 10, "Top4", 4},
                                                          {200, 10, "Highscore", 1},
                                                          {540, 20, "Top6", 6},
                                                          {540, 0, "Highscore", 1}}) {
    SCOPED_TRACE(testing::Message() << height << " " << fontHeight);
    app.frame.ScreenHeight = height;
    app.frame.ImageInfo[imageinfo::Index(app.frame.FontImage, imageinfo::kFrameH)] = fontHeight;
    Step();
    EXPECT_TRUE(Shows(header) && Shows(std::to_string(1000 - lines + 1)));
    EXPECT_FALSE(Shows(std::to_string(1000 - lines)));
  }
}

// Mended: the total is 64-bit (a thousand best scores of INT_MAX); negative scores not counted.
TEST_F(MenuTest, TotalsCountEveryLevelsBestScoreWithoutOverflow) {
  CompleteLevels(2);
  app.save.LevelRecords[0] = 1200;
  app.save.LevelRecords[SaveData::kBestScores] = 34;
  app.save.LevelRecords[2 * SaveData::kBestScores] = -50;
  Step();
  EXPECT_TRUE(Shows("Levels:3") && Shows("Score:1234")) << DrawnText();
  for (int level = 0; level < world::kLevels; ++level)
    app.save.LevelRecords[level * SaveData::kBestScores] = INT_MAX;
  Step();
  EXPECT_TRUE(Shows("Score:" + std::to_string(1000LL * INT_MAX)));
  app.menu.MenuFocus = MenuScreen::kFocusHub;
  Step();
  EXPECT_FALSE(Shows("Levels:"));
}

// The program ends at once, with the changes saved; while a panel is open, it closes the panel.
TEST_F(MenuTest, TheBackKeyOnTheMenuEndsTheProgramAndNothingIsLost) {
  const auto quit = RunInChild([this] {
    OpenOptions();
    app.menu.OptionRow = MenuScreen::kRowSound;
    Tap('Z');           // sound: SFX + Music -> SFX
    Tap(key::kEscape);  // closes the panel
    Step(kSlideUpdates);
    Tap(key::kEscape);  // ends the program
    kvPrint("still running");
  });
  EXPECT_TRUE(quit.status == 0 && quit.output.find("still running") == std::string::npos);
  LoadProgress(app.platform, app.frame, app.screens, app.save);
  EXPECT_EQ(app.save.Settings[kSoundModeSetting], 2);

  const auto panel = RunInChild([this] {
    app.menu.SidePanelOpen = 1;
    Step();
    Tap(key::kEscape, 3);  // the held key acts no further
    kvPrint(app.menu.SidePanelOpen == 0 && app.screens.ScreenMode == ModeMenu ? "closed" : "open");
  });
  EXPECT_EQ(panel.output, "closed\n");
}

// The console alone: Escape on the menu asks before quitting, A goes back, X, C or the
// console's own back button quit; the options show its overscan slider in place of the iCade
// row, L1 and R1 stepping the border by 16 within 1..96, a touch flipping it between the ends.
TEST_F(MenuTest, OnTheConsole) {
  constexpr int kConsoleBackKey = 270;
  app.platform.console = true;
  const auto quits = [this](int key) {
    const auto run = RunInChild([this, key] {
      app.screens.ScreenMode = ModeOuyaQuit;
      Step();
      Tap(key);
      kvPrint("still running");
    });
    return run.status == 0 && run.output.find("still running") == std::string::npos;
  };
  const auto border = [this](int key, int from) {
    app.frame.Overscan = static_cast<float>(from);
    app.save.Settings[kOverscanSetting] = from;
    std::remove(".briskostate");
    TapOrTouch(key, 0.6f * 720 + from, 92 + from * 480.0f / 640);
    const int to = app.save.Settings[kOverscanSetting];
    const bool saved = to == from || !StateText().empty();
    return app.frame.Overscan == to && saved ? to : -1;
  };
  const std::pair<const char*, std::function<bool()>> rows[] = {
      {"the back key asks",
       [&] {
         Tap(key::kEscape);
         return app.screens.ScreenMode == ModeOuyaQuit && Shows("tryingtoQUIT!") &&
                app.frame.ClearRed == 180;
       }},
      {"A goes back to the menu, latched",
       [&] {
         game.KeyDown('Z');
         Step();
         game.KeyUp('Z');
         return app.screens.ScreenMode == ModeMenu && app.controls.KeyLatch == 1;
       }},
      {"X quits", [&] { return quits('X'); }},
      {"C quits", [&] { return quits('C'); }},
      {"its back button quits", [&] { return quits(kConsoleBackKey); }},
      {"Escape is no back button, the console's own is",
       [&] {
         game.KeyDown(key::kEscape);
         const int escape = app.io.PlayKey(kGameBack, 0, 0);
         game.KeyUp(key::kEscape);
         app.controls.PadKeys[kPadBackEntry] = 3;
         return escape == 0 && app.io.PlayKey(kGameBack, 0, 0) == 1;
       }},
      {"the overscan row instead of the iCade's, skipped by Down",
       [&] {
         app.controls.PadKeys[kPadBackEntry] = 0;
         Step();
         OpenOptions();
         app.menu.OptionRow = MenuScreen::kRowSound;
         const bool shown = Shows("Overscan") && !Shows("iCade");
         Tap(key::kDown);
         return shown && app.menu.OptionRow == MenuScreen::kRowFullscreen;
       }},
      {"L1 steps in by 16", [&] { return border('B', 64) == 48; }},
      {"R1 steps out by 16", [&] { return border('N', 64) == 80; }},
      {"no further than 96", [&] { return border('N', 96) == 96; }},
      {"a touch flips a wide border to 1", [&] { return border(0, 96) == 1; }},
      {"and a narrow one to 96", [&] { return border(0, 1) == 96; }},
  };
  for (const auto& [what, holds] : rows) EXPECT_TRUE(holds()) << what;
}
