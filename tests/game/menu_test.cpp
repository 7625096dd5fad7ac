// The level-select menu run without a window: the wheel, the totals, the console's menu.
#include <climits>
#include <cstdio>
#include <functional>
#include <tuple>

#include "child_process.h"
#include "menu_fixture.h"

// Only a completion flag opens the next level; a selection out of range comes back to the last.
TEST_F(MenuTest, TheWheelOffersLevelsUpToOnePastTheHighestCompleted) {
  for (const auto& [completed, start, last, label] :
       {std::tuple{0, -1, 0, "001"}, {1, 1000, 1, "002"}, {1000, 1000, 999, "Final"}}) {
    SCOPED_TRACE(completed);
    app.save.LevelRecords.fill(0);
    app.save.LevelRecords[5 * SaveData::kBestScores] = 900;
    app.save.LevelRecords[SaveData::kCompletionRecords + 7 * SaveData::kBestScores + 1] = 1;
    CompleteLevels(completed);
    app.menu.MenuLevel = start;
    Step();
    EXPECT_EQ((std::pair{app.menu.MenuLevel, app.world.Level}), (std::pair{last, last + 1}));
    EXPECT_TRUE(Shows(label));
    Tap(key::kDown);
    EXPECT_EQ(app.menu.MenuLevel, last);
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
}

// The console alone: Escape on the menu asks before quitting, A goes back, X quits; its own back
// button is the back key; the options show its overscan slider in place of the iCade row, L1 and
// R1 stepping the border by 16 within 1..96, a touch flipping it between the ends.
TEST_F(MenuTest, OnTheConsole) {
  app.platform.console = true;
  const auto border = [this](int key, int from) {
    app.frame.Overscan = static_cast<float>(from);
    app.save.Settings[kOverscanSetting] = from;
    std::remove(".briskostate");
    TapOrTouch(key, 0.6f * 720 + from, 92 + from * 480.0f / 640);
    const int to = app.save.Settings[kOverscanSetting];
    return app.frame.Overscan == to && (to == from || !StateText().empty()) ? to : -1;
  };
  const auto after = [this](int key, int mode) {
    Tap(key);
    return app.screens.ScreenMode == mode;
  };
  const auto quits = [this](int key) {
    const auto run = RunInChild([&] {
      app.screens.ScreenMode = ModeOuyaQuit;
      Tap(key);
      kvPrint("still running");
    });
    return run.status == 0 && run.output.find("still running") == std::string::npos;
  };
  const auto back = [this](int held) {
    app.controls.PadKeys[kPadBackEntry] = held;
    return app.io.PlayKey(kGameBack, 0, 0);
  };
  const std::pair<const char*, std::function<bool()>> rows[] = {
      {"the back key asks", [&] { return after(key::kEscape, ModeOuyaQuit) && Shows("QUIT!"); }},
      {"A goes back to the menu", [&] { return after('Z', ModeMenu); }},
      {"X quits", [&] { return quits('X'); }},
      {"its own back button is the back key", [&] { return back(3) == 1 && back(0) == 0; }},
      {"the overscan row instead of the iCade's",
       [&] { return (OpenOptions(), Shows("Overscan") && !Shows("iCade")); }},
      {"L1 steps in by 16, saved", [&] { return border('B', 64) == 48; }},
      {"R1 steps out, no further than 96", [&] { return border('N', 96) == 96; }},
      {"a touch flips a wide border to 1", [&] { return border(0, 96) == 1; }},
  };
  for (const auto& [what, holds] : rows) EXPECT_TRUE(holds()) << what;
}
