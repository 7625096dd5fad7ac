// The pause panel, the game-over sequence and the console's quit confirmation, over level 1
// started from the menu and run without a window.
#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "child_process.h"
#include "menu_fixture.h"

namespace {

// At 720 x 540 the map's cells are 16 x 12 from x 208, y 64.
constexpr float kMapLeft = 208, kMapTop = 64, kCellW = 16, kCellH = 12;
constexpr int kOpenY = 270;
constexpr int kL1 = 'B', kR1 = 'N';

using Rgb = std::array<float, 3>;

}  // namespace

class PauseTest : public MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    Tap('Z');
    ASSERT_EQ(app().screens.ScreenMode, ModeInGame);
  }

  // The panel fully in with the given button selected and no input latched.
  void OpenPanel(int choice = PauseScreen::kPauseResume) {
    app().screens.ScreenMode = ModeInGame;
    app().play.GameOverTimer = app().pause.GameOverFrame = 0;
    app().pause.Paused = 1;
    app().pause.PauseDir = 1;
    app().pause.PauseY = kOpenY;
    app().pause.PauseChoice = choice;
    Step();
  }
  // One update with only its own records in the list (empty play draws nothing to start it).
  void StepAlone() {
    app().frame.DrawCount = 0;
    Step();
  }
  // The rectangle drawn at (x, y), or nullptr.
  const float* RectAt(float x, float y) {
    for (const float* r : Records(drawrec::kRectMarker))
      if (r[drawrec::kX] == x && r[drawrec::kY] == y) return r;
    return nullptr;
  }
  static Rgb ColourOf(const float* r) {
    return {r[drawrec::kRed], r[drawrec::kGreen], r[drawrec::kBlue]};
  }
};

// In by 24 an update from -64, out again the same way; a held key neither closes the panel
// again nor reopens it. Every pause opens on resume whatever the last one left selected, and
// a level started while the last overlay still fades starts its game-over count at 0.
TEST_F(PauseTest, TheBackKeyOpensThePanelWhichSlidesInAndOutAgain) {
  app().pause.PauseChoice = PauseScreen::kPauseEndRun;
  game().KeyDown(key::kEscape);
  Step();
  EXPECT_EQ(app().pause.Paused, 1);
  EXPECT_EQ(app().pause.PauseChoice, PauseScreen::kPauseResume);
  int updates = 1;
  for (; app().pause.PauseY < kOpenY && updates < 50; ++updates) Step();
  EXPECT_EQ(updates, 14);
  Step(20);
  EXPECT_EQ(app().pause.PauseDir, 1);
  EXPECT_EQ(app().pause.PauseY, kOpenY + 2);
  game().KeyUp(key::kEscape);
  Step();
  app().pause.PauseY = kOpenY;
  game().KeyDown(key::kEscape);
  Step();
  EXPECT_EQ(app().pause.PauseDir, -1);
  for (updates = 0; app().pause.Paused == 1 && updates < 50; ++updates) Step();
  EXPECT_EQ(updates, 13);
  Step(10);
  EXPECT_EQ(app().pause.Paused, 0);
  game().KeyUp(key::kEscape);
  app().pause.GameOverFrame = 50;
  app().screens.ScreenMode = ModeLoadGame;
  Step();
  EXPECT_EQ(app().pause.GameOverFrame, 0);
}

// Held for a while, a key moves the selection once, to a neighbour if there is one.
TEST_F(PauseTest, UpAndDownMoveTheSelectionBetweenNeighbours) {
  constexpr int kEndRun = PauseScreen::kPauseEndRun, kResume = PauseScreen::kPauseResume,
                kOptions = PauseScreen::kPauseOptions;
  for (const auto& [from, key, to] : {std::tuple{kResume, key::kUp, kEndRun},
                                      {kResume, key::kDown, kOptions},
                                      {kEndRun, key::kDown, kResume},
                                      {kEndRun, key::kUp, kEndRun},
                                      {kOptions, key::kDown, kOptions}}) {
    OpenPanel(from);
    Tap(key, 10);
    EXPECT_EQ(app().pause.PauseChoice, to) << from << " " << key;
  }
}

// On a landscape screen the buttons stand in a column, otherwise in a row. A panel on its way
// out takes no presses.
TEST_F(PauseTest, EachButtonActsByItsKeyAndByATouch) {
  using Place = std::array<float, 2>;
  const struct {
    int button;
    Place wide, tall;
    int paused, dir, gameOver, options;
  } cases[] = {
      {PauseScreen::kPauseResume, {64, 196}, {64, 196}, 1, -1, 0, 0},
      {PauseScreen::kPauseEndRun, {64, 96}, {264, 174}, 0, -1, 1, 0},
      {PauseScreen::kPauseOptions, {64, 296}, {456, 174}, 1, 1, 0, 1},
  };
  for (const int landscape : {1, 0}) {
    for (const bool byTouch : {false, true}) {
      for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (byTouch ? "touch " : "key ") << c.button
                                        << (landscape ? " wide" : " tall"));
        app().frame.Landscape = landscape;
        OpenPanel(byTouch ? PauseScreen::kPauseResume : c.button);
        const Place at = landscape ? c.wide : c.tall;
        byTouch ? TouchAt(at[0], at[1]) : Tap('Z');
        EXPECT_EQ(app().pause.Paused, c.paused);
        EXPECT_EQ(app().pause.PauseDir, c.dir);
        EXPECT_EQ(app().play.GameOverTimer, c.gameOver);
        EXPECT_EQ(app().menu.OptionsOpen, c.options);
        EXPECT_TRUE(!c.gameOver || app().pause.PauseY == -64) << "ending the run hides the panel";
        app().menu.OptionsOpen = 0;
        Step(kSlideUpdates);
      }
    }
  }
  OpenPanel(PauseScreen::kPauseOptions);
  app().pause.PauseDir = -1;
  Tap('Z');
  EXPECT_EQ(app().menu.OptionsOpen, 0);
}

// Room n of row 31 lies on path k when bit k of n is set; a room on no path has no cell. The
// ship's room is framed. While L1 and R1 are both held, item k's room gets a 3 x 3 mark in
// red, green or blue inside its cell.
TEST_F(PauseTest, TheMapShowsRoomsByTheirPathsTheShipAndWithL1AndR1TheItems) {
  const Rgb colours[] = {{0, 0, 0},       {255, 220, 220}, {220, 255, 220}, {255, 255, 220},
                         {220, 220, 255}, {255, 220, 255}, {220, 255, 255}, {255, 255, 255}};
  constexpr int kRow = 31;
  for (int rx = 0; rx < 8; ++rx) {
    for (int path = 0; path < world::kPaths; ++path)
      app().world.Tiles[world::TileIndex(rx, kRow, 0, 0) + tile::PathMarkField(path)] =
          (rx >> path) & 1 ? 3 : 0;
  }
  app().world.Tiles[world::TileIndex(20, 4, 0, 0) + tile::PathMarkField(0)] = 1;
  app().play.Player[player::kRoomX] = 20;
  app().play.Player[player::kRoomY] = 4;
  OpenPanel();
  StepAlone();
  EXPECT_EQ(RectAt(kMapLeft, kMapTop + kCellH * kRow), nullptr);
  for (int rx = 1; rx < 8; ++rx) {
    const float* cell = RectAt(kMapLeft + kCellW * rx, kMapTop + kCellH * kRow);
    ASSERT_NE(cell, nullptr) << rx;
    EXPECT_EQ(ColourOf(cell), colours[rx]) << rx;
    EXPECT_EQ((std::array{cell[drawrec::kSizeX], cell[drawrec::kSizeY]}),
              (std::array{kCellW - 1, kCellH - 1}));
  }
  const float* frame = RectAt(kMapLeft + kCellW * 20 - 1, kMapTop + kCellH * 4 - 1);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame[drawrec::kSizeX], kCellW + 1);
  const auto itemMarks = [this] {
    const Rgb inks[] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    int marks = 0;
    for (const float* r : Records(drawrec::kRectMarker)) {
      if (r[drawrec::kSizeX] != 3 || r[drawrec::kSizeY] != 3) continue;
      const int item = static_cast<int>(std::find(inks, inks + 3, ColourOf(r)) - inks);
      const float left =
          kMapLeft + kCellW * app().play.Player[player::Item(item, player::kItemRoomX)];
      const float top =
          kMapTop + kCellH * app().play.Player[player::Item(item, player::kItemRoomY)];
      EXPECT_TRUE(item < 3 && r[drawrec::kX] >= left && r[drawrec::kX] + 3 <= left + kCellW &&
                  r[drawrec::kY] >= top && r[drawrec::kY] + 3 <= top + kCellH)
          << item;
      marks |= 1 << item;
    }
    return marks;
  };
  for (const auto& [key, down, marks] :
       {std::tuple{kL1, true, 0}, {kR1, true, 0b111}, {kL1, false, 0}}) {
    down ? game().KeyDown(key) : game().KeyUp(key);
    StepAlone();
    EXPECT_EQ(itemMarks(), marks) << key << " " << down;
  }
  game().KeyUp(kR1);
}

// Down and Up change the toy's radius within 0..0.45 of the height, Right and Left its speed
// within 0..128; the panel shows both.
TEST_F(PauseTest, TheToyKeepsItsRadiusAndSpeedWithinTheirLimits) {
  OpenPanel();
  for (const auto& [key, updates, radius, speed, label] :
       {std::tuple{key::kDown, 300, 243.0f, 25.0f, "25:243"},
        {key::kUp, 300, 0, 25, "25:0"},
        {key::kRight, 500, 0, 128, "128:0"},
        {key::kLeft, 600, 0, 0, "0:0"}}) {
    SCOPED_TRACE(label);
    game().KeyDown(key);
    Step(updates);
    game().KeyUp(key);
    StepAlone();
    EXPECT_EQ(app().pause.ToyRadius, radius);
    EXPECT_EQ(app().pause.ToySpeed, speed);
    EXPECT_NE(DrawnText().find(label), std::string::npos);
  }
}

// Each segment is drawn twice; a fresh trail starts at its first point, never at the corner,
// and keeps at most 101 segments.
TEST_F(PauseTest, AFreshTrailGrowsFromItsFirstPointNotFromTheCorner) {
  app().pause.ToyTrailPoints = 0;
  app().pause.ToyTrail.fill(0);
  OpenPanel();  // the first point
  for (const size_t lines : {2u, 4u, 6u}) {
    StepAlone();
    EXPECT_EQ(Records(drawrec::kLineMarker).size(), lines);
  }
  Step(200);
  StepAlone();
  const auto lines = Records(drawrec::kLineMarker);
  EXPECT_EQ(lines.size(), 202u);
  for (const float* line : lines) ASSERT_GT(line[drawrec::kX] + line[drawrec::kY], 100);
}

// Too small for a map cell or a toy's reach: the shade alone, with a finite alpha.
TEST_F(PauseTest, OnATinyScreenTheMapAndToyDrawNothing) {
  const float width = app().frame.ScreenWidth, height = app().frame.ScreenHeight;
  for (const auto& [w, h] : {std::pair{90.0f, 150.0f}, {0.0f, 0.0f}}) {
    SCOPED_TRACE(w);
    app().frame.ScreenWidth = w;
    app().frame.ScreenHeight = h;
    OpenPanel();
    const float radius = app().pause.ToyRadius;
    game().KeyDown(key::kDown);
    StepAlone();
    game().KeyUp(key::kDown);
    EXPECT_TRUE(Records(drawrec::kLineMarker).empty());
    EXPECT_EQ(app().pause.ToyRadius, radius);
    const auto rects = Records(drawrec::kRectMarker);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_TRUE(std::isfinite(rects[0][drawrec::kAlpha]));
  }
  app().frame.ScreenWidth = width;
  app().frame.ScreenHeight = height;
}

// The shade darkens by 0.025 an update to 0.7 and the bars grow to 243 each side; the words
// follow the exit (below 0: left through the exit), drawn after whatever play wrote beneath.
TEST_F(PauseTest, TheGameOverOverlayDarkensItsBarsGrowAndItsWordsFollowTheExit) {
  app().play.GameOverTimer = 1;
  for (const auto& [frame, darkness, bar, exitState, words] :
       {std::tuple{1, 0.025f, 12.0f, 3, "GAMEOVER"},
        {20, 0.5f, 240, -1, "LevelComplete"},
        {60, 0.7f, 243, 0, "GAMEOVER"}}) {
    SCOPED_TRACE(frame);
    app().pause.GameOverFrame = frame;
    app().play.ExitState = exitState;
    StepAlone();
    const float* shade = RectAt(-1, -1);
    const float* yellow = RectAt(0, 0.45f * 540 - 8);
    const float* orange = RectAt(720 - 2 * bar - 1, 0.55f * 540 - 8);
    ASSERT_TRUE(shade && yellow && orange);
    EXPECT_FLOAT_EQ(shade[drawrec::kAlpha], darkness);
    EXPECT_EQ(yellow[drawrec::kSizeX], 2 * bar);
    EXPECT_EQ(orange[drawrec::kSizeX], 2 * bar + 1);
    EXPECT_TRUE(DrawnText().ends_with(words)) << DrawnText();
    EXPECT_EQ(app().controls.KeyLatch + app().controls.PointerActive, 2);
  }
}

// The place shown is the place the score is filed at: after equal entries, and none for a
// score that beats nothing, below a full table or on a level out of range.
TEST_F(PauseTest, ThePlaceOfTheScoreIsTheOneItIsFiledAt) {
  const int table[SaveData::kBestScores] = {900, 700, 700, 500};
  for (const auto& [score, place] :
       {std::pair{1000, 1}, {900, 2}, {800, 2}, {700, 4}, {1, 5}, {0, 0}, {-5, 0}}) {
    SCOPED_TRACE(score);
    std::copy(std::begin(table), std::end(table), app().save.LevelRecords.begin());
    app().world.Level = 1;
    app().play.Score = score;
    EXPECT_EQ(ScorePlace(app().world, app().play, app().save), place);
    std::vector<int> expected(std::begin(table), std::end(table));
    if (place > 0) expected.insert(expected.begin() + place - 1, score);
    expected.resize(SaveData::kBestScores);
    FileScore(app().world, app().play, app().save);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), app().save.LevelRecords.begin()));
  }
  // Below a full table, no place.
  for (int k = 0; k < SaveData::kBestScores; ++k) app().save.LevelRecords[k] = 100 - 10 * k;
  const auto place = [this](int score) {
    app().play.Score = score;
    return ScorePlace(app().world, app().play, app().save);
  };
  EXPECT_EQ((std::array{place(81), place(11), place(5)}), (std::array{3, 10, 0}));
  for (const int level : {0, world::kLevels + 1}) {
    app().world.Level = level;
    EXPECT_EQ(place(101), 0) << level;
  }
}

// The overlay shows the place for 90 updates; then the menu files the score and saves, and
// the overlay fades out over it, 2 a frame from 75 (73 without a music stream).
TEST_F(PauseTest, AtFrameNinetyTheMenuFilesTheScoreSavesAndTheOverlayFades) {
  for (const int stream : {1, 0}) {
    SCOPED_TRACE(stream);
    app().platform.musicStream = stream;
    Tap('Z');
    ASSERT_EQ(app().screens.ScreenMode, ModeInGame);
    std::remove(".briskostate");
    app().save.LevelRecords.fill(0);
    const int score = 420 + stream;
    app().play.Score = score;
    app().play.GameOverTimer = 1;
    int updates = 0;
    for (; app().screens.ScreenMode == ModeInGame && updates < 200; ++updates) {
      StepAlone();
      if (updates > 0 && updates < 90) {
        ASSERT_NE(DrawnText().find("NewHighscore1st!"), std::string::npos) << updates;
      }
    }
    EXPECT_EQ(updates, 90);
    // The update that leaves for the menu runs the overlay once: its fade starts next update.
    EXPECT_EQ(app().pause.GameOverFrame, stream ? 75 : 73);
    EXPECT_TRUE(StateText().empty());
    Step();
    EXPECT_EQ(app().screens.ScreenMode, ModeMenu);
    EXPECT_EQ(app().save.LevelRecords[0], score);
    const std::string filed = std::to_string(score);
    EXPECT_NE(StateText().find("|" + filed + "|"), std::string::npos);
    EXPECT_EQ(app().pause.GameOverFrame, stream ? 73 : 71);
    // Filed, the score ties its own entry; the overlay still shows the place it took.
    EXPECT_NE(DrawnText().find("NewHighscore1st!"), std::string::npos);
    Step(40);
    EXPECT_EQ(app().pause.GameOverFrame, 0);
    EXPECT_EQ(DrawnText().find("GAME"), std::string::npos);
  }
  app().platform.musicStream = true;
}

TEST_F(PauseTest, TheQuitConfirmationReturnsOnAAndQuitsOnB) {
  app().screens.ScreenMode = ModeOuyaQuit;
  Step();
  EXPECT_NE(DrawnText().find("tryingtoQUIT!"), std::string::npos);
  EXPECT_EQ(app().frame.ClearRed, 180);
  game().KeyDown('Z');
  Step();
  EXPECT_EQ(app().screens.ScreenMode, ModeMenu);
  EXPECT_EQ(app().controls.KeyLatch, 1);
  game().KeyUp('Z');
  Step();
  for (const int quitKey : {int{'X'}, int{'C'}, key::kEscape}) {
    const auto result = RunInChild([this, quitKey] {
      app().screens.ScreenMode = ModeOuyaQuit;
      Step();
      Tap(quitKey);
      kvPrint("still running");
    });
    EXPECT_EQ(result.status, 0) << quitKey;
    EXPECT_EQ(result.output.find("still running"), std::string::npos) << quitKey;
  }
}
