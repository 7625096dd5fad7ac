// The pause panel and the game-over sequence, over level 1 started from the menu and run
// without a window.
#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>

#include "menu_fixture.h"

namespace {

// At 720 x 540 the map's cells are 16 x 12 from x 208, y 64.
constexpr float kMapLeft = 208, kMapTop = 64, kCellW = 16, kCellH = 12;
constexpr int kOpenY = 270;
constexpr int kEndRun = PauseScreen::kPauseEndRun, kResume = PauseScreen::kPauseResume,
              kOptions = PauseScreen::kPauseOptions;

}  // namespace

class PauseTest : public MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    Tap('Z');
    ASSERT_EQ(app.screens.ScreenMode, ModeInGame);
  }
  // The panel fully in with the given button selected and no input latched.
  void OpenPanel(int choice = kResume) {
    app.screens.ScreenMode = ModeInGame;
    app.play.GameOverTimer = app.pause.GameOverFrame = 0;
    app.pause.Paused = app.pause.PauseDir = 1;
    app.pause.PauseY = kOpenY;
    app.pause.PauseChoice = choice;
    Step();
  }
  // The rectangle drawn at (x, y), or nullptr.
  const float* RectAt(float x, float y) {
    for (const float* r : Records(drawrec::kRectMarker))
      if (r[drawrec::kX] == x && r[drawrec::kY] == y) return r;
    return nullptr;
  }
};

// In by 24 an update from -64, out again the same way; a held key neither closes the panel
// again nor reopens it. Mended: every pause opens on resume whatever the last one left
// selected, and a level started while the last overlay still fades starts its count at 0.
TEST_F(PauseTest, TheBackKeyOpensThePanelWhichSlidesInAndOutAgain) {
  app.pause.PauseChoice = kEndRun;
  game.KeyDown(key::kEscape);
  Step();
  EXPECT_EQ((std::pair{app.pause.Paused, app.pause.PauseChoice}), (std::pair{1, kResume}));
  int updates = 1;
  for (; app.pause.PauseY < kOpenY && updates < 50; ++updates) Step();
  EXPECT_EQ(updates, 14);
  Step(20);
  EXPECT_EQ((std::pair{app.pause.PauseDir, app.pause.PauseY}), (std::pair{1, kOpenY + 2}));
  game.KeyUp(key::kEscape);
  Step();
  app.pause.PauseY = kOpenY;
  game.KeyDown(key::kEscape);
  Step();
  EXPECT_EQ(app.pause.PauseDir, -1);
  for (updates = 0; app.pause.Paused == 1 && updates < 50; ++updates) Step();
  EXPECT_EQ(updates, 13);
  Step(10);
  EXPECT_EQ(app.pause.Paused, 0);
  game.KeyUp(key::kEscape);
  app.pause.GameOverFrame = 50;
  app.screens.ScreenMode = ModeLoadGame;
  Step();
  EXPECT_EQ(app.pause.GameOverFrame, 0);
}

// Held for a while, a key moves the selection once, to a neighbour if there is one.
TEST_F(PauseTest, UpAndDownMoveTheSelectionBetweenNeighbours) {
  for (const auto& [from, key, to] : {std::tuple{kResume, key::kUp, kEndRun},
                                      {kResume, key::kDown, kOptions},
                                      {kEndRun, key::kDown, kResume},
                                      {kEndRun, key::kUp, kEndRun},
                                      {kOptions, key::kDown, kOptions}}) {
    OpenPanel(from);
    Tap(key, 10);
    EXPECT_EQ(app.pause.PauseChoice, to) << from << " " << key;
  }
}

// On a landscape screen the buttons stand in a column, otherwise in a row. A panel on its way
// out takes no presses; mended: the pause icon touched while paused does not pause again.
TEST_F(PauseTest, EachButtonActsByItsKeyAndByATouch) {
  const struct {
    int button;
    float wide[2], tall[2];
    int paused, dir, gameOver, options;
  } cases[] = {
      {kResume, {64, 196}, {64, 196}, 1, -1, 0, 0},
      {kEndRun, {64, 96}, {264, 174}, 0, -1, 1, 0},
      {kOptions, {64, 296}, {456, 174}, 1, 1, 0, 1},
  };
  for (const int landscape : {1, 0}) {
    for (const bool byTouch : {false, true}) {
      for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (byTouch ? "touch " : "key ") << c.button
                                        << (landscape ? " wide" : " tall"));
        app.frame.Landscape = landscape;
        OpenPanel(byTouch ? kResume : c.button);
        const float* at = landscape ? c.wide : c.tall;
        byTouch ? TouchAt(at[0], at[1]) : Tap('Z');
        EXPECT_EQ((std::tuple{app.pause.Paused, app.pause.PauseDir, app.play.GameOverTimer,
                              app.menu.OptionsOpen}),
                  (std::tuple{c.paused, c.dir, c.gameOver, c.options}));
        EXPECT_TRUE(!c.gameOver || app.pause.PauseY == -64) << "ending the run hides the panel";
        app.menu.OptionsOpen = 0;
        Step(kSlideUpdates);
      }
    }
  }
  OpenPanel(kOptions);
  app.pause.PauseDir = -1;
  Tap('Z');
  EXPECT_EQ(app.menu.OptionsOpen, 0);
  TouchAt(16, 16);
  EXPECT_EQ(app.pause.PauseDir, -1);
}

// A room on no path has no cell, the ship's room is framed; while L1 and R1 are both held the
// three items' rooms are marked.
TEST_F(PauseTest, TheMapShowsRoomsOnPathsTheShipAndWithL1AndR1TheItems) {
  for (int rx = 0; rx < 4; ++rx)  // room rx of row 31 on path k when bit k of rx is set
    for (int path = 0; path < world::kPaths; ++path)
      app.world.Tiles[world::TileIndex(rx, 31, 0, 0) + tile::PathMarkField(path)] =
          (rx >> path) & 1;
  app.world.Tiles[world::TileIndex(20, 4, 0, 0) + tile::PathMarkField(0)] = 1;
  app.play.Player[player::kRoomX] = 20;
  app.play.Player[player::kRoomY] = 4;
  OpenPanel();
  StepAlone();
  EXPECT_EQ(RectAt(kMapLeft, kMapTop + kCellH * 31), nullptr);
  for (int rx = 1; rx < 4; ++rx)
    EXPECT_NE(RectAt(kMapLeft + kCellW * rx, kMapTop + kCellH * 31), nullptr);
  EXPECT_NE(RectAt(kMapLeft + kCellW * 20 - 1, kMapTop + kCellH * 4 - 1), nullptr);
  for (const auto& [key, down, marks] :
       {std::tuple{'B', true, 0}, {'N', true, 3}, {'B', false, 0}}) {
    down ? game.KeyDown(key) : game.KeyUp(key);
    StepAlone();
    int drawn = 0;
    for (const float* r : Records(drawrec::kRectMarker)) drawn += r[drawrec::kSizeX] == 3;
    EXPECT_EQ(drawn, marks) << key << " " << down;
  }
  game.KeyUp('N');
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
    game.KeyDown(key);
    Step(updates);
    game.KeyUp(key);
    StepAlone();
    EXPECT_EQ((std::pair{app.pause.ToyRadius, app.pause.ToySpeed}), (std::pair{radius, speed}));
    EXPECT_TRUE(Shows(label));
  }
}

// Mended: a fresh trail starts at its first point, never at the corner (each segment is drawn
// twice, at most 101 kept).
TEST_F(PauseTest, AFreshTrailGrowsFromItsFirstPointNotFromTheCorner) {
  app.pause.ToyTrailPoints = 0;
  app.pause.ToyTrail.fill(0);
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

// Mended: too small for a map cell or a toy's reach, the panel draws the shade alone, with a
// finite alpha, and the toy's radius stays.
TEST_F(PauseTest, OnATinyScreenTheMapAndToyDrawNothing) {
  for (const auto& [w, h] : {std::pair{90.0f, 150.0f}, {0.0f, 0.0f}}) {
    SCOPED_TRACE(w);
    app.frame.ScreenWidth = w;
    app.frame.ScreenHeight = h;
    OpenPanel();
    const float radius = app.pause.ToyRadius;
    game.KeyDown(key::kDown);
    StepAlone();
    game.KeyUp(key::kDown);
    EXPECT_TRUE(Records(drawrec::kLineMarker).empty());
    EXPECT_EQ(app.pause.ToyRadius, radius);
    const auto rects = Records(drawrec::kRectMarker);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_TRUE(std::isfinite(rects[0][drawrec::kAlpha]));
  }
}

// Mended: the update that leaves for the menu runs the overlay once (it drew it twice and
// started the fade a step early). The overlay shows the score's place for 90 updates (a tie
// goes after the entry it ties) and the words for how the run ended; then the menu files the score
// and saves, and the overlay fades out over it from 75 (73 without a music stream), still showing
// the place it took.
TEST_F(PauseTest, AtFrameNinetyTheMenuFilesTheScoreSavesAndTheOverlayFades) {
  for (const auto& [stream, exit, best, score, words] :
       {std::tuple{1, 0, 0, 421, "GAMEOVER"}, {0, -1, 420, 420, "LevelComplete"}}) {
    const std::string place = best ? "NewHighscore2nd" : "NewHighscore1st!";
    SCOPED_TRACE(stream);
    app.platform.musicStream = stream;
    Tap('Z');
    ASSERT_EQ(app.screens.ScreenMode, ModeInGame);
    std::remove(".briskostate");
    app.save.LevelRecords.fill(0);
    app.save.LevelRecords[0] = best;
    app.play.Score = score;
    app.play.GameOverTimer = 1;
    app.play.ExitState = exit;
    int updates = 0;
    for (; app.screens.ScreenMode == ModeInGame && updates < 200; ++updates) {
      StepAlone();
      if (updates > 0 && updates < 90) {
        ASSERT_TRUE(Shows(words) && Shows(place)) << updates;
      }
    }
    EXPECT_EQ(updates, 90);
    EXPECT_EQ(app.pause.GameOverFrame, stream ? 75 : 73);
    EXPECT_TRUE(StateText().empty());
    Step();
    EXPECT_EQ(app.screens.ScreenMode, ModeMenu);
    EXPECT_EQ(app.save.LevelRecords[best ? 1 : 0], score);
    EXPECT_NE(StateText().find("|" + std::to_string(score) + "|"), std::string::npos);
    EXPECT_EQ(app.pause.GameOverFrame, stream ? 73 : 71);
    EXPECT_TRUE(Shows(place));
    Step(40);
    EXPECT_EQ(app.pause.GameOverFrame, 0);
    EXPECT_FALSE(Shows("GAME"));
  }
  app.platform.musicStream = true;
}
