// The level-select menu run without a window: the wheel, the scores, focus and the side panel.
#include <algorithm>
#include <climits>
#include <vector>

#include "base/angles.h"
#include "child_process.h"
#include "game/asset_table.h"
#include "menu_fixture.h"

namespace {

constexpr int kButtonsSlot = ImageAssetNamed("common/Buttons").slot;

// Angle of the selected item on the wheel's target position; 48 at rest.
float SelectedAngle(const MyApp& app) {
  return 32.0f * app.MenuLevel + 48 + app.MenuScroll;
}

}  // namespace

TEST_F(MenuTest, TheWheelOffersLevelsUpToOnePastTheHighestCompleted) {
  const struct {
    int completed;  // levels 0..completed-1 are done
    int last;
    const char* lastLabel;
  } cases[] = {
      {0, 0, "001"}, {1, 1, "002"}, {41, 41, "042"}, {999, 999, "Final"}, {1000, 999, "Final"}};
  for (const auto& c : cases) {
    app().LevelRecords.fill(0);
    CompleteLevels(c.completed);
    app().MenuLevel = 1000;  // as after creation: clamped on the next update
    Step();
    EXPECT_EQ(app().LastOfferedLevel(), c.last) << c.completed;
    EXPECT_EQ(app().MenuLevel, c.last) << c.completed;
    EXPECT_EQ(app().MenuScroll, -32.0f * c.last) << c.completed;
    EXPECT_EQ(app().Level, c.last + 1) << c.completed;
    EXPECT_NE(DrawnText().find(c.lastLabel), std::string::npos) << c.completed;
    // Down goes no further than the last level offered.
    Tap(key::kDown);
    EXPECT_EQ(app().MenuLevel, c.last) << c.completed;
  }
}

TEST_F(MenuTest, OnlyACompletionFlagOpensALevelAndANegativeSelectionIsBroughtBack) {
  app().LevelRecords[5 * MyApp::kBestScores] = 900;  // a score without a completion
  app().LevelRecords[MyApp::kCompletionRecords + 7 * MyApp::kBestScores + 1] = 1;
  app().MenuLevel = -1;
  Step();
  EXPECT_EQ(app().LastOfferedLevel(), 0);
  EXPECT_EQ(app().MenuLevel, 0);
  EXPECT_EQ(app().Level, 1);
}

TEST_F(MenuTest, HeldDownStepsAtOnceThenAfter31And19And7ThenEvery4Updates) {
  CompleteLevels(100);
  std::vector<int> steps;
  game().KeyDown(key::kDown);
  for (int update = 0; update <= 70; ++update) {
    const int before = app().MenuLevel;
    Step();
    if (app().MenuLevel != before) steps.push_back(update);
  }
  game().KeyUp(key::kDown);
  EXPECT_EQ(steps, (std::vector<int>{0, 31, 50, 57, 61, 65, 69}));
  // Released, the next press steps at once again.
  Step();
  const int level = app().MenuLevel;
  Tap(key::kUp);
  EXPECT_EQ(app().MenuLevel, level - 1);
  EXPECT_EQ(app().WheelRepeatDelay, 30);
}

TEST_F(MenuTest, ADragTurnsTheWheelAndBouncesBackFromEitherEnd) {
  CompleteLevels(999);
  const struct {
    int start;
    float dx;  // pointer movement per update; right and down turn toward level 1
    int expectEnd;
  } cases[] = {{0, 12, 0}, {999, -12, 999}, {5, 6, -1}};
  for (const auto& c : cases) {
    app().MenuLevel = c.start;
    app().MenuScroll = app().WheelScroll = -32.0f * c.start;
    Step();
    PressAt(120, 440);
    for (int i = 0; i < 20; ++i) {
      Step();
      game().MouseMove(120 + c.dx * (i + 1), 440 + c.dx * (i + 1));
    }
    Lift();
    Step(200);
    EXPECT_EQ(app().WheelSpin, 0) << c.start;
    EXPECT_NEAR(app().WheelScroll, app().MenuScroll, 0.5f) << c.start;
    if (c.expectEnd >= 0) {
      EXPECT_EQ(app().MenuLevel, c.expectEnd) << c.start;
      EXPECT_GE(SelectedAngle(app()), 30) << c.start;
      EXPECT_LE(SelectedAngle(app()), 60) << c.start;
    } else {
      EXPECT_LT(app().MenuLevel, c.start) << "a drag within the range selects as it turns";
    }
    EXPECT_EQ(app().ScreenMode, ModeMenu) << "a drag never starts a level";
  }
}

TEST_F(MenuTest, StartingALevelRecordsHowThePlayerControls) {
  // The selected item rests at 48 degrees on the wheel around (38, 476).
  const float itemX = 38 + 179 * SinDeg(48);
  const float itemY = 476 - 179 * CosDeg(48);
  const struct {
    const char* how;
    int key;  // 0: touch the selected item
    int style;
  } cases[] = {{"keyboard", 'Z', 0}, {"controller", key::JoyButton(0, 0), 1}, {"touch", 0, 2}};
  for (const auto& c : cases) {
    app().ScreenMode = ModeMenu;
    app().MenuFocus = MyApp::kFocusWheel;
    Step(2);
    if (c.key) {
      game().KeyDown(c.key);
      Step();
      game().KeyUp(c.key);
    } else {
      PressAt(itemX, itemY);
      Step();
      Lift();
    }
    EXPECT_EQ(app().ScreenMode, ModeLoadGame) << c.how;
    EXPECT_EQ(app().ControlStyle, c.style) << c.how;
    EXPECT_EQ(app().Level, 1) << c.how;
    EXPECT_EQ(app().KeyLatch, 1) << c.how;
  }
}

TEST_F(MenuTest, TouchingAnotherItemSelectsItWithoutStarting) {
  CompleteLevels(10);
  app().MenuLevel = 5;
  app().MenuScroll = app().WheelScroll = -32.0f * 5;
  Step();
  // Level index 4 rests at 16 degrees: near the top of the wheel.
  const float radius = 116 + 1.5f * (45 - 29);
  PressAt(38 + radius * SinDeg(16), 476 - radius * CosDeg(16));
  Step();
  EXPECT_EQ(app().MenuLevel, 4);
  EXPECT_EQ(app().ScreenMode, ModeMenu);
  EXPECT_EQ(app().PointerActive, -1);
  Lift();
  Step();
  EXPECT_EQ(app().PointerActive, 0);
}

TEST_F(MenuTest, LeftAndRightMoveTheFocusAndConfirmActsOnIt) {
  EXPECT_EQ(app().MenuFocus, MyApp::kFocusWheel);
  Tap(key::kLeft);
  Tap(key::kLeft);
  EXPECT_EQ(app().MenuFocus, MyApp::kFocusHub);
  Tap('Z');
  EXPECT_EQ(app().OptionsOpen, 1);
  app().OptionsOpen = 0;
  Step(40);
  for (int i = 0; i < 3; ++i) Tap(key::kRight);
  EXPECT_EQ(app().MenuFocus, MyApp::kFocusSidePanel);
  Tap('X');
  EXPECT_EQ(app().SidePanelOpen, 1);
  EXPECT_EQ(app().ScreenMode, ModeMenu);
}

TEST_F(MenuTest, TheSidePanelOpensByTouchScrollsTheCreditsAndClosesOnConfirm) {
  TouchAt(650, 200);
  EXPECT_EQ(app().MenuFocus, MyApp::kFocusSidePanel);
  EXPECT_EQ(app().SidePanelOpen, 0);
  TouchAt(650, 200);
  EXPECT_EQ(app().SidePanelOpen, 1);
  app().TickerLine = 0;
  app().TickerOffset = 0;
  Step(54);  // 0.3 a step: one line passes every 53.3 updates
  EXPECT_EQ(app().TickerLine, 1);
  EXPECT_NE(DrawnText().find("AGameby"), std::string::npos);
  game().KeyDown(key::kDown);  // Up or Down hurries the lines along
  Step(9);
  game().KeyUp(key::kDown);
  EXPECT_EQ(app().TickerLine, 2);
  Tap('V');
  EXPECT_EQ(app().SidePanelOpen, 0);
  EXPECT_EQ(app().MenuFocus, MyApp::kFocusSidePanel);
}

TEST_F(MenuTest, ThePlayButtonStartsTheSelectedLevel) {
  PressAt(720 - 70, 540 - 48);
  Step();
  EXPECT_EQ(app().ScreenMode, ModeLoadGame);
  EXPECT_EQ(app().ControlStyle, 2);
}

TEST_F(MenuTest, TheScoreListFitsTheScreenHeight) {
  const int base = 3 * MyApp::kBestScores;
  for (int k = 0; k < MyApp::kBestScores; ++k) app().LevelRecords[base + k] = 1000 - k;
  CompleteLevels(3);
  app().MenuLevel = 3;
  const struct {
    float height;
    int fontHeight;
    const char* header;
    int lines;
  } cases[] = {{540, 10, "Top10", 10},
               {300, 10, "Top4", 4},
               {200, 10, "Highscore", 1},
               {540, 20, "Top6", 6},
               {540, 0, "Highscore", 1}};
  const int fontInfo = imageinfo::Index(app().FontImage, imageinfo::kFrameH);
  for (const auto& c : cases) {
    jscrh = c.height;
    app().ImageInfo[fontInfo] = c.fontHeight;
    Step();
    const std::string text = DrawnText();
    EXPECT_NE(text.find(c.header), std::string::npos) << c.height << " " << c.fontHeight;
    const std::string last = std::to_string(1000 - c.lines + 1);
    EXPECT_NE(text.find(last), std::string::npos) << c.lines;
    EXPECT_EQ(text.find(std::to_string(1000 - c.lines)), std::string::npos) << c.lines;
  }
}

TEST_F(MenuTest, TheMenuFilesTheEndedRunsScore) {
  const struct {
    std::vector<int> before;
    int score;
    int exitState;
    std::vector<int> after;
    int completed;
  } cases[] = {
      {{500, 300, 300, 100}, 300, 0, {500, 300, 300, 300, 100}, 0},  // after equal entries
      {{500}, 600, -1, {600, 500}, 1},
      {{}, 0, 0, {}, 0},  // 0 never enters an empty table
      {{10, 9, 8, 7, 6, 5, 4, 3, 2, 1}, 11, -1, {11, 10, 9, 8, 7, 6, 5, 4, 3, 2}, 1},
  };
  for (const auto& c : cases) {
    app().LevelRecords.fill(0);
    std::remove(".briskostate");
    app().Level = 4;
    const int base = 3 * MyApp::kBestScores;
    for (size_t k = 0; k < c.before.size(); ++k) app().LevelRecords[base + k] = c.before[k];
    app().Score = c.score;
    app().ExitState = c.exitState;
    app().ScreenMode = ModeLoadMenu;
    Step();
    std::vector<int> table(app().LevelRecords.begin() + base,
                           app().LevelRecords.begin() + base + c.after.size());
    EXPECT_EQ(table, c.after) << c.score;
    EXPECT_EQ(app().LevelRecords[base + c.after.size()], 0) << c.score;
    EXPECT_EQ(app().LevelRecords[MyApp::kCompletionRecords + base], c.completed) << c.score;
    EXPECT_FALSE(StateText().empty()) << "the menu saves what it filed";
    EXPECT_EQ(app().ScreenMode, ModeMenu);
  }
}

TEST_F(MenuTest, FilingForALevelOutsideTheTableTouchesNothing) {
  for (int level : {-1, 0, 1001, INT_MIN}) {
    app().LevelRecords.fill(0);
    app().Level = level;
    app().Score = 5000;
    app().ExitState = -1;
    app().LoadMenu();
    EXPECT_EQ(std::count(app().LevelRecords.begin(), app().LevelRecords.end(), 0), kLevelRecordInts)
        << level;
  }
}

TEST_F(MenuTest, TotalsCountEveryLevelsBestScoreWithoutOverflow) {
  CompleteLevels(2);
  app().LevelRecords[0] = 1200;
  app().LevelRecords[MyApp::kBestScores] = 34;
  app().LevelRecords[2 * MyApp::kBestScores] = -50;  // an edited file: not counted
  Step();
  std::string text = DrawnText();
  EXPECT_NE(text.find("Levels:3"), std::string::npos) << text;
  EXPECT_NE(text.find("Score:1234"), std::string::npos) << text;
  for (int level = 0; level < MyApp::kLevels; ++level)
    app().LevelRecords[level * MyApp::kBestScores] = INT_MAX;
  EXPECT_EQ(app().TotalBestScore(), 1000LL * INT_MAX);
  Step();
  EXPECT_NE(DrawnText().find("Score:" + std::to_string(1000LL * INT_MAX)), std::string::npos);
  // Only while the wheel has the focus.
  app().MenuFocus = MyApp::kFocusHub;
  Step();
  EXPECT_EQ(DrawnText().find("Levels:"), std::string::npos);
}

TEST_F(MenuTest, TheWheelShowsSevenItemsAroundTheSelectedOne) {
  CompleteLevels(20);
  app().MenuLevel = 10;
  app().MenuScroll = app().WheelScroll = -320;
  Step();
  EXPECT_EQ(RecordsOf(kButtonsSlot), 7 + 3);  // the items and the hub's three frames
  app().MenuLevel = 0;
  app().MenuScroll = app().WheelScroll = 0;
  Step();
  EXPECT_EQ(RecordsOf(kButtonsSlot), 4 + 3);
}

// The program ends at once, and what the player changed is already in the state file.
TEST_F(MenuTest, TheBackKeyOnTheMenuEndsTheProgramAndNothingIsLost) {
  const auto result = RunInChild([this] {
    OpenOptions();
    app().OptionRow = MyApp::kRowSound;
    Tap('Z');           // sound: SFX + Music -> SFX
    Tap(key::kEscape);  // closes the panel
    Step(kSlideUpdates);
    Tap(key::kEscape);  // ends the program
    kvPrint("still running");
  });
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.output.find("still running"), std::string::npos);
  app().Load();
  EXPECT_EQ(app().Settings[kSoundModeSetting], 2);
}

TEST_F(MenuTest, TheBackKeyDoesNotQuitWhileAPanelTakesIt) {
  const auto result = RunInChild([this] {
    app().SidePanelOpen = 1;
    Step();
    game().KeyDown(key::kEscape);
    Step(3);  // closes the side panel, and the held key acts no further
    game().KeyUp(key::kEscape);
    Step();
    kvPrint(app().SidePanelOpen == 0 && app().ScreenMode == ModeMenu ? "closed" : "open");
  });
  EXPECT_EQ(result.output, "closed\n");
}
