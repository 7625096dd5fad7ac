// The level-select menu run without a window: the wheel, the scores, focus and the side panel.
#include <algorithm>
#include <climits>
#include <tuple>
#include <vector>

#include "base/angles.h"
#include "child_process.h"
#include "game/frame/asset_table.h"
#include "menu_fixture.h"

namespace {

constexpr int kButtonsSlot = ImageAssetNamed("common/Buttons").slot;

// Angle of the selected item on the wheel's target position; 48 at rest.
float SelectedAngle(const MyApp& app) {
  return 32.0f * app.menu.MenuLevel + 48 + app.menu.MenuScroll;
}

}  // namespace

// Only a completion flag opens the next level (not a score, nor a flag in another column); a
// selection out of range is brought back to the last level offered.
TEST_F(MenuTest, TheWheelOffersLevelsUpToOnePastTheHighestCompleted) {
  for (const auto& [completed, start, last, label] : {std::tuple{0, -1, 0, "001"},
                                                      {1, 1000, 1, "002"},
                                                      {41, 1000, 41, "042"},
                                                      {999, 1000, 999, "Final"},
                                                      {1000, 1000, 999, "Final"}}) {
    SCOPED_TRACE(completed);
    app().save.LevelRecords.fill(0);
    app().save.LevelRecords[5 * SaveData::kBestScores] = 900;
    app().save.LevelRecords[SaveData::kCompletionRecords + 7 * SaveData::kBestScores + 1] = 1;
    CompleteLevels(completed);
    app().menu.MenuLevel = start;
    Step();
    EXPECT_EQ(LastOfferedLevel(app().save), last);
    EXPECT_EQ(app().menu.MenuLevel, last);
    EXPECT_EQ(app().menu.MenuScroll, -32.0f * last);
    EXPECT_EQ(app().world.Level, last + 1);
    EXPECT_NE(DrawnText().find(label), std::string::npos);
    Tap(key::kDown);
    EXPECT_EQ(app().menu.MenuLevel, last) << "down goes no further";
  }
}

TEST_F(MenuTest, HeldDownStepsAtOnceThenAfter31And19And7ThenEvery4Updates) {
  CompleteLevels(100);
  std::vector<int> steps;
  game().KeyDown(key::kDown);
  for (int update = 0; update <= 70; ++update) {
    const int before = app().menu.MenuLevel;
    Step();
    if (app().menu.MenuLevel != before) steps.push_back(update);
  }
  game().KeyUp(key::kDown);
  EXPECT_EQ(steps, (std::vector<int>{0, 31, 50, 57, 61, 65, 69}));
  Step();
  const int level = app().menu.MenuLevel;
  Tap(key::kUp);
  EXPECT_EQ(app().menu.MenuLevel, level - 1) << "released, the next press steps at once again";
  EXPECT_EQ(app().menu.WheelRepeatDelay, 30);
}

// Right and down turn the wheel toward level 1; a drag within the range selects as it turns,
// one past either end bounces back; a drag never starts a level.
TEST_F(MenuTest, ADragTurnsTheWheelAndBouncesBackFromEitherEnd) {
  CompleteLevels(999);
  for (const auto& [start, dx, end] : {std::tuple{0, 12.0f, 0}, {999, -12, 999}, {5, 6, -1}}) {
    SCOPED_TRACE(start);
    app().menu.MenuLevel = start;
    app().menu.MenuScroll = app().menu.WheelScroll = -32.0f * start;
    Step();
    PressAt(120, 440);
    for (int i = 1; i <= 20; ++i) {
      Step();
      game().MouseMove(120 + dx * i, 440 + dx * i);
    }
    Lift();
    Step(200);
    EXPECT_EQ(app().menu.WheelSpin, 0);
    EXPECT_NEAR(app().menu.WheelScroll, app().menu.MenuScroll, 0.5f);
    EXPECT_TRUE(end < 0 ? app().menu.MenuLevel < start
                        : app().menu.MenuLevel == end && SelectedAngle(app()) >= 30 &&
                              SelectedAngle(app()) <= 60)
        << app().menu.MenuLevel;
    EXPECT_EQ(app().screens.ScreenMode, ModeMenu);
  }
}

// The selected item rests at 48 degrees on the wheel around (38, 476); the play button sits in
// the bottom right corner.
TEST_F(MenuTest, StartingALevelRecordsHowThePlayerControls) {
  for (const auto& [key, x, y, style] :  // key 0: a touch
       {std::tuple{int{'Z'}, 0.0f, 0.0f, 0},
        {key::JoyButton(0, 0), 0, 0, 1},
        {0, 38 + 179 * SinDeg(48), 476 - 179 * CosDeg(48), 2},
        {0, 720 - 70, 540 - 48, 2}}) {
    SCOPED_TRACE(testing::Message() << key << " at " << x << "," << y);
    app().screens.ScreenMode = ModeMenu;
    app().menu.MenuFocus = MenuScreen::kFocusWheel;
    Step(2);
    key ? game().KeyDown(key) : PressAt(x, y);
    Step();
    key ? game().KeyUp(key) : Lift();
    EXPECT_EQ(app().screens.ScreenMode, ModeLoadGame);
    EXPECT_EQ(app().frame.ControlStyle, style);
    EXPECT_EQ(app().world.Level, 1);
    EXPECT_EQ(app().controls.KeyLatch, 1);
  }
}

TEST_F(MenuTest, TouchingAnotherItemSelectsItWithoutStarting) {
  CompleteLevels(10);
  app().menu.MenuLevel = 5;
  app().menu.MenuScroll = app().menu.WheelScroll = -32.0f * 5;
  Step();
  // Level index 4 rests at 16 degrees: near the top of the wheel.
  const float radius = 116 + 1.5f * (45 - 29);
  PressAt(38 + radius * SinDeg(16), 476 - radius * CosDeg(16));
  Step();
  EXPECT_EQ(app().menu.MenuLevel, 4);
  EXPECT_EQ(app().screens.ScreenMode, ModeMenu);
  EXPECT_EQ(app().controls.PointerActive, -1);
  Lift();
  Step();
  EXPECT_EQ(app().controls.PointerActive, 0);
}

// Left and Right move the focus and confirm acts on it: the hub opens the options, the side
// panel opens. By touch, the first touch on the side panel focuses it and the second opens
// it; its credit lines scroll at 0.3 an update (one every 53.3), faster while Up or Down is
// held, and confirm closes it.
TEST_F(MenuTest, TheFocusMovesByKeyAndTouchAndConfirmActsOnIt) {
  EXPECT_EQ(app().menu.MenuFocus, MenuScreen::kFocusWheel);
  Tap(key::kLeft);
  Tap(key::kLeft);
  EXPECT_EQ(app().menu.MenuFocus, MenuScreen::kFocusHub);
  Tap('Z');
  EXPECT_EQ(app().menu.OptionsOpen, 1);
  app().menu.OptionsOpen = 0;
  Step(40);
  for (int i = 0; i < 3; ++i) Tap(key::kRight);
  EXPECT_EQ(app().menu.MenuFocus, MenuScreen::kFocusSidePanel);
  Tap('X');
  EXPECT_EQ(app().menu.SidePanelOpen, 1);
  Tap('V');
  EXPECT_EQ(app().menu.SidePanelOpen, 0);

  app().menu.MenuFocus = MenuScreen::kFocusWheel;
  TouchAt(650, 200);
  EXPECT_EQ(app().menu.MenuFocus, MenuScreen::kFocusSidePanel);
  EXPECT_EQ(app().menu.SidePanelOpen, 0);
  TouchAt(650, 200);
  EXPECT_EQ(app().menu.SidePanelOpen, 1);
  app().screens.TickerLine = 0;
  app().screens.TickerOffset = 0;
  Step(54);
  EXPECT_EQ(app().screens.TickerLine, 1);
  EXPECT_NE(DrawnText().find("AGameby"), std::string::npos);
  Tap(key::kDown, 9);
  EXPECT_EQ(app().screens.TickerLine, 2);
  EXPECT_EQ(app().screens.ScreenMode, ModeMenu);
}

// As many lines as fit below the header; a font of no height shows the best score alone.
TEST_F(MenuTest, TheScoreListFitsTheScreenHeight) {
  const int base = 3 * SaveData::kBestScores;
  for (int k = 0; k < SaveData::kBestScores; ++k) app().save.LevelRecords[base + k] = 1000 - k;
  CompleteLevels(3);
  app().menu.MenuLevel = 3;
  for (const auto& [height, fontHeight, header, lines] : {std::tuple{540.0f, 10, "Top10", 10},
                                                          {300, 10, "Top4", 4},
                                                          {200, 10, "Highscore", 1},
                                                          {540, 20, "Top6", 6},
                                                          {540, 0, "Highscore", 1}}) {
    SCOPED_TRACE(testing::Message() << height << " " << fontHeight);
    app().frame.ScreenHeight = height;
    app().frame.ImageInfo[imageinfo::Index(app().frame.FontImage, imageinfo::kFrameH)] = fontHeight;
    Step();
    const std::string text = DrawnText();
    EXPECT_NE(text.find(header), std::string::npos);
    EXPECT_NE(text.find(std::to_string(1000 - lines + 1)), std::string::npos);
    EXPECT_EQ(text.find(std::to_string(1000 - lines)), std::string::npos);
  }
}

// Shown only while the wheel has the focus; negative best scores (an edited file) are not
// counted, and a thousand best scores of INT_MAX do not overflow.
TEST_F(MenuTest, TotalsCountEveryLevelsBestScoreWithoutOverflow) {
  CompleteLevels(2);
  app().save.LevelRecords[0] = 1200;
  app().save.LevelRecords[SaveData::kBestScores] = 34;
  app().save.LevelRecords[2 * SaveData::kBestScores] = -50;
  Step();
  EXPECT_NE(DrawnText().find("Levels:3"), std::string::npos) << DrawnText();
  EXPECT_NE(DrawnText().find("Score:1234"), std::string::npos) << DrawnText();
  for (int level = 0; level < world::kLevels; ++level)
    app().save.LevelRecords[level * SaveData::kBestScores] = INT_MAX;
  Step();
  EXPECT_NE(DrawnText().find("Score:" + std::to_string(1000LL * INT_MAX)), std::string::npos);
  app().menu.MenuFocus = MenuScreen::kFocusHub;
  Step();
  EXPECT_EQ(DrawnText().find("Levels:"), std::string::npos);
}

TEST_F(MenuTest, TheWheelShowsSevenItemsAroundTheSelectedOne) {
  CompleteLevels(20);
  for (const auto& [level, shown] : {std::pair{10, 7}, {0, 4}}) {
    app().menu.MenuLevel = level;
    app().menu.MenuScroll = app().menu.WheelScroll = -32.0f * level;
    Step();
    EXPECT_EQ(RecordsOf(kButtonsSlot), shown + 3) << "the items and the hub's three frames";
  }
}

// The program ends at once, and what the player changed is already in the state file; while a
// panel takes the key, it closes the panel and the program goes on.
TEST_F(MenuTest, TheBackKeyOnTheMenuEndsTheProgramAndNothingIsLost) {
  const auto quit = RunInChild([this] {
    OpenOptions();
    app().menu.OptionRow = MenuScreen::kRowSound;
    Tap('Z');           // sound: SFX + Music -> SFX
    Tap(key::kEscape);  // closes the panel
    Step(kSlideUpdates);
    Tap(key::kEscape);  // ends the program
    kvPrint("still running");
  });
  EXPECT_EQ(quit.status, 0);
  EXPECT_EQ(quit.output.find("still running"), std::string::npos);
  LoadProgress(app().platform, app().frame, app().screens, app().save);
  EXPECT_EQ(app().save.Settings[kSoundModeSetting], 2);

  const auto panel = RunInChild([this] {
    app().menu.SidePanelOpen = 1;
    Step();
    Tap(key::kEscape, 3);  // the held key acts no further
    kvPrint(app().menu.SidePanelOpen == 0 && app().screens.ScreenMode == ModeMenu ? "closed"
                                                                                  : "open");
  });
  EXPECT_EQ(panel.output, "closed\n");
}
