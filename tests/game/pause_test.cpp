// The pause panel, the game-over sequence and the console's quit confirmation, over level 1
// started from the menu and run without a window.
#include <AL/al.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>
#include <vector>

#include "audio/audio_device.h"
#include "child_process.h"
#include "menu_fixture.h"

namespace {

// At 720 x 540 the map's cells are 16 x 12 from x 208, y 64.
constexpr float kMapLeft = 208, kMapTop = 64, kCellW = 16, kCellH = 12;
constexpr int kOpenY = 270;
constexpr int kL1 = 'B', kR1 = 'N';

struct Rgb {
  float red, green, blue;
  bool operator==(const Rgb&) const = default;
};

}  // namespace

class PauseTest : public MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    Tap('Z');
    ASSERT_EQ(app().ScreenMode, ModeInGame);
  }

  // The panel fully in with the given button selected and no input latched.
  void OpenPanel(int choice = MyApp::kPauseResume) {
    app().ScreenMode = ModeInGame;
    app().GameOverTimer = app().GameOverFrame = 0;
    app().Paused = 1;
    app().PauseDir = 1;
    app().PauseY = kOpenY;
    app().PauseChoice = choice;
    Step();
  }

  // One update with only its own records in the list (empty play draws nothing to start it).
  void StepAlone() {
    app().DrawCount = 0;
    Step();
  }

  std::vector<const float*> Records(float kind) {
    std::vector<const float*> found;
    for (int at = 0; at < app().DrawCount; at += drawrec::kFloats)
      if (app().DrawList[at + drawrec::kSlot] == kind) found.push_back(&app().DrawList[at]);
    return found;
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

  // Pitch of the channel the last effect went to.
  float LastEffectRate() {
    const int channel = app().ChannelIds[app().NextChannel];
    ALfloat rate = -1;
    alGetSourcef(AudioDevice()->channels[channel].source, AL_PITCH, &rate);
    return rate;
  }
};

TEST_F(PauseTest, TheBackKeyOpensThePanelWhichSlidesInAndOutAgain) {
  game().KeyDown(key::kEscape);
  Step();
  EXPECT_EQ(app().Paused, 1);
  EXPECT_EQ(app().PauseChoice, MyApp::kPauseResume);
  int updates = 1;
  for (; app().PauseY < kOpenY && updates < 50; ++updates) Step();
  EXPECT_EQ(updates, 14) << "in by 24 an update from -64";
  // Held, the key does not close the panel again.
  Step(20);
  EXPECT_EQ(app().PauseDir, 1);
  EXPECT_EQ(app().PauseY, kOpenY + 2);
  game().KeyUp(key::kEscape);
  Step();

  app().PauseY = kOpenY;
  game().KeyDown(key::kEscape);
  Step();
  EXPECT_EQ(app().PauseDir, -1);
  for (updates = 0; app().Paused == 1 && updates < 50; ++updates) Step();
  EXPECT_EQ(updates, 13);
  // Still held: play goes on, unpaused, until the key is pressed anew.
  Step(10);
  EXPECT_EQ(app().Paused, 0);
  game().KeyUp(key::kEscape);
}

TEST_F(PauseTest, UpAndDownMoveTheSelectionBetweenNeighboursWithTheirPitch) {
  const struct {
    int from, key, to;
    float rate;  // 0: no move, no sound
  } cases[] = {
      {MyApp::kPauseResume, key::kUp, MyApp::kPauseEndRun, 0.8f},
      {MyApp::kPauseResume, key::kDown, MyApp::kPauseOptions, 1.2f},
      {MyApp::kPauseEndRun, key::kDown, MyApp::kPauseResume, 0.8f},
      {MyApp::kPauseOptions, key::kUp, MyApp::kPauseResume, 0.8f},
      {MyApp::kPauseEndRun, key::kUp, MyApp::kPauseEndRun, 0},
      {MyApp::kPauseOptions, key::kDown, MyApp::kPauseOptions, 0},
  };
  for (const auto& c : cases) {
    OpenPanel(c.from);
    const int channel = app().NextChannel;
    // Held for a while, a key moves the selection once.
    game().KeyDown(c.key);
    Step(10);
    game().KeyUp(c.key);
    Step();
    EXPECT_EQ(app().PauseChoice, c.to) << c.from << " " << c.key;
    if (c.rate == 0) {
      EXPECT_EQ(app().NextChannel, channel) << c.from << " " << c.key;
    } else {
      EXPECT_FLOAT_EQ(LastEffectRate(), c.rate) << c.from << " " << c.key;
    }
  }
}

TEST_F(PauseTest, EachButtonActsByItsKeyAndByATouch) {
  struct Place {
    float x, y;
  };
  const struct {
    int button;
    Place wide, tall;  // on a landscape screen the buttons stand in a column
    int paused, dir, gameOver, options;
  } cases[] = {
      {MyApp::kPauseResume, {64, 196}, {64, 196}, 1, -1, 0, 0},
      {MyApp::kPauseEndRun, {64, 96}, {264, 174}, 0, -1, 1, 0},
      {MyApp::kPauseOptions, {64, 296}, {456, 174}, 1, 1, 0, 1},
  };
  for (const int landscape : {1, 0}) {
    for (const bool byTouch : {false, true}) {
      for (const auto& c : cases) {
        app().Landscape = landscape;
        OpenPanel(byTouch ? MyApp::kPauseResume : c.button);
        const Place at = landscape ? c.wide : c.tall;
        if (byTouch) {
          TouchAt(at.x, at.y);
        } else {
          Tap('Z');
        }
        const std::string how = (byTouch ? "touch " : "key ") + std::to_string(c.button) +
                                (landscape ? " wide" : " tall");
        EXPECT_EQ(app().Paused, c.paused) << how;
        EXPECT_EQ(app().PauseDir, c.dir) << how;
        EXPECT_EQ(app().GameOverTimer, c.gameOver) << how;
        EXPECT_EQ(app().OptionsOpen, c.options) << how;
        if (c.gameOver) {
          EXPECT_EQ(app().PauseY, -64) << how;
        }
        app().OptionsOpen = 0;
        Step(kSlideUpdates);
      }
    }
  }
}

TEST_F(PauseTest, ANewLevelAndANewPauseStartFresh) {
  app().GameOverFrame = 50;  // a level started while the last overlay still fades
  app().ScreenMode = ModeLoadGame;
  Step();
  EXPECT_EQ(app().GameOverFrame, 0);
  app().PauseChoice = MyApp::kPauseEndRun;  // left there by the last pause
  Tap(key::kEscape);
  EXPECT_EQ(app().PauseChoice, MyApp::kPauseResume);
}

TEST_F(PauseTest, AClosingPanelTakesNoPresses) {
  OpenPanel(MyApp::kPauseOptions);
  app().PauseDir = -1;
  Tap('Z');
  EXPECT_EQ(app().OptionsOpen, 0);
}

TEST_F(PauseTest, TheMapShowsEachRoomInTheColourOfItsPaths) {
  // Row 31, rooms 0..7: room n lies on path k when bit k of n is set.
  const Rgb colours[] = {{0, 0, 0},       {255, 220, 220}, {220, 255, 220}, {255, 255, 220},
                         {220, 220, 255}, {255, 220, 255}, {220, 255, 255}, {255, 255, 255}};
  constexpr int kRow = 31;
  for (int rx = 0; rx < 8; ++rx) {
    for (int path = 0; path < world::kPaths; ++path)
      app().World[world::TileIndex(rx, kRow, 0, 0) + tile::PathMarkField(path)] =
          (rx >> path) & 1 ? 3 : 0;
  }
  app().World[world::TileIndex(20, 4, 0, 0) + tile::PathMarkField(0)] = 1;
  app().Player[player::kRoomX] = 20;
  app().Player[player::kRoomY] = 4;
  OpenPanel();
  StepAlone();
  for (int rx = 0; rx < 8; ++rx) {
    const float* cell = RectAt(kMapLeft + kCellW * rx, kMapTop + kCellH * kRow);
    if (rx == 0) {
      EXPECT_EQ(cell, nullptr) << "a room on no path has no cell";
      continue;
    }
    ASSERT_NE(cell, nullptr) << rx;
    EXPECT_EQ(ColourOf(cell), colours[rx]) << rx;
    EXPECT_EQ(cell[drawrec::kSizeX], kCellW - 1);
    EXPECT_EQ(cell[drawrec::kSizeY], kCellH - 1);
  }

  // The ship's room: a white frame around a cell that blinks black.
  for (const int ms : {1000, 1300}) {
    game().host().millisecs = ms - 16;  // a step moves the clock on by one update
    StepAlone();
    const float* frame = RectAt(kMapLeft + kCellW * 20 - 1, kMapTop + kCellH * 4 - 1);
    const float* cell = RectAt(kMapLeft + kCellW * 20, kMapTop + kCellH * 4);
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(frame[drawrec::kSizeX], kCellW + 1);
    EXPECT_FLOAT_EQ(frame[drawrec::kAlpha], 0.75f);
    EXPECT_EQ(ColourOf(cell) == (Rgb{0, 0, 0}), ms % 500 < 250) << ms;
  }
}

TEST_F(PauseTest, TheItemRoomsAreMarkedOnlyWhileL1AndR1AreBothHeld) {
  OpenPanel();
  // Item k's mark: 3 x 3 in red, green or blue, inside the cell of the room it lies in.
  const auto marksInTheirRooms = [this] {
    const Rgb colours[] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    int marks = 0;
    for (const float* r : Records(drawrec::kRectMarker)) {
      if (r[drawrec::kSizeX] != 3 || r[drawrec::kSizeY] != 3) continue;
      const int item = static_cast<int>(std::find(colours, colours + 3, ColourOf(r)) - colours);
      EXPECT_LT(item, 3);
      if (item == 3) continue;
      const float left = kMapLeft + kCellW * app().Player[player::Item(item, player::kItemRoomX)];
      const float top = kMapTop + kCellH * app().Player[player::Item(item, player::kItemRoomY)];
      EXPECT_TRUE(r[drawrec::kX] >= left && r[drawrec::kX] + 3 <= left + kCellW) << item;
      EXPECT_TRUE(r[drawrec::kY] >= top && r[drawrec::kY] + 3 <= top + kCellH) << item;
      marks |= 1 << item;
    }
    return marks;
  };
  game().KeyDown(kL1);
  StepAlone();
  EXPECT_EQ(marksInTheirRooms(), 0);
  game().KeyDown(kR1);
  StepAlone();
  EXPECT_EQ(marksInTheirRooms(), 0b111);
  game().KeyUp(kL1);
  StepAlone();
  EXPECT_EQ(marksInTheirRooms(), 0);
  game().KeyUp(kR1);
}

TEST_F(PauseTest, TheToyKeepsItsRadiusAndSpeedWithinTheirLimits) {
  OpenPanel();
  const struct {
    int key;
    int updates;
    float radius, speed;
    const char* label;
  } cases[] = {
      {key::kDown, 300, 243, 25, "25:243"},  // the reach at 720 x 540: 0.45 x 540
      {key::kUp, 300, 0, 25, "25:0"},
      {key::kRight, 500, 0, 128, "128:0"},
      {key::kLeft, 600, 0, 0, "0:0"},
  };
  for (const auto& c : cases) {
    game().KeyDown(c.key);
    Step(c.updates);
    game().KeyUp(c.key);
    StepAlone();
    EXPECT_EQ(app().ToyRadius, c.radius) << c.key;
    EXPECT_EQ(app().ToySpeed, c.speed) << c.key;
    EXPECT_NE(DrawnText().find(c.label), std::string::npos) << c.key;
  }
}

TEST_F(PauseTest, AFreshTrailGrowsFromItsFirstPointNotFromTheCorner) {
  app().ToyTrailPoints = 0;
  app().ToyTrail.fill(0);
  OpenPanel();  // the first point
  const int expected[] = {2, 4, 6};
  for (const int lines : expected) {
    StepAlone();
    EXPECT_EQ(Records(drawrec::kLineMarker).size(), static_cast<size_t>(lines));
  }
  Step(200);
  StepAlone();
  const auto lines = Records(drawrec::kLineMarker);
  EXPECT_EQ(lines.size(), 202u) << "101 segments, each drawn twice";
  for (const float* line : lines) ASSERT_GT(line[drawrec::kX] + line[drawrec::kY], 100);
}

TEST_F(PauseTest, OnATinyScreenTheMapAndToyDrawNothing) {
  const float width = jscrw, height = jscrh;
  const float sizes[][2] = {{90, 150}, {0, 0}, {1, 1}};
  for (const auto& size : sizes) {
    jscrw = size[0];
    jscrh = size[1];
    OpenPanel();
    const float radius = app().ToyRadius;
    game().KeyDown(key::kDown);
    StepAlone();
    game().KeyUp(key::kDown);
    EXPECT_TRUE(Records(drawrec::kLineMarker).empty()) << size[0];
    EXPECT_EQ(app().ToyRadius, radius);
    // The shade alone: no map cells.
    const auto rects = Records(drawrec::kRectMarker);
    ASSERT_EQ(rects.size(), 1u) << size[0];
    EXPECT_TRUE(std::isfinite(rects[0][drawrec::kAlpha]));
  }
  jscrw = width;
  jscrh = height;
}

TEST_F(PauseTest, TheGameOverOverlayDarkensItsBarsGrowAndItsWordsFollowTheExit) {
  const struct {
    int frame;
    float darkness, y;
    int exitState;  // below 0: left through the exit
    const char* words;
  } cases[] = {{1, 0.025f, 12, 0, "GAMEOVER"},
               {20, 0.5f, 240, -1, "LevelComplete"},
               {21, 0.525f, 243, 3, "GAMEOVER"},
               {28, 0.7f, 243, -40, "LevelComplete"},
               {60, 0.7f, 243, 0, "GAMEOVER"}};
  app().GameOverTimer = 1;
  for (const auto& c : cases) {
    app().GameOverFrame = c.frame;
    app().ExitState = c.exitState;
    StepAlone();
    const float* shade = RectAt(-1, -1);
    const float* yellow = RectAt(0, 0.45f * 540 - 8);
    const float* orange = RectAt(720 - 2 * c.y - 1, 0.55f * 540 - 8);
    ASSERT_TRUE(shade && yellow && orange) << c.frame;
    EXPECT_FLOAT_EQ(shade[drawrec::kAlpha], c.darkness) << c.frame;
    EXPECT_EQ(yellow[drawrec::kSizeX], 2 * c.y);
    EXPECT_EQ(orange[drawrec::kSizeX], 2 * c.y + 1);
    // The overlay's words come last, after whatever the play screen wrote beneath it.
    EXPECT_TRUE(DrawnText().ends_with(c.words)) << DrawnText() << " " << c.exitState;
    EXPECT_EQ(app().KeyLatch + app().PointerActive, 2);
  }
}

TEST_F(PauseTest, ThePlaceOfTheScoreIsTheOneItIsFiledAt) {
  const int table[MyApp::kBestScores] = {900, 700, 700, 500};
  const struct {
    int score;
    const char* place;
  } cases[] = {{1000, "1st!"}, {900, "2nd"}, {800, "2nd"}, {700, "4th"},
               {1, "5th"},     {0, ""},      {-5, ""}};
  for (const auto& c : cases) {
    std::copy(std::begin(table), std::end(table), app().LevelRecords.begin());
    app().Level = 1;
    app().Score = c.score;
    EXPECT_EQ(app().MyNth().ToUtf8(), c.place) << c.score;
    const int place = app().Loop;
    app().FileScore();
    for (int k = 0; k < MyApp::kBestScores; ++k) {
      const int expected = place == 0 || k < place - 1 ? table[k]
                           : k == place - 1            ? c.score
                                                       : table[k - 1];
      EXPECT_EQ(app().LevelRecords[k], expected) << c.score << " at " << k;
    }
  }
  // Every place has its text; below a full table, and on a level out of range, none.
  const char* places[] = {"1st!", "2nd", "3rd", "4th",  "5th", "6th",
                          "7th",  "8th", "9th", "10th", ""};
  for (int k = 0; k < MyApp::kBestScores; ++k) app().LevelRecords[k] = 100 - 10 * k;
  for (int k = 0; k <= MyApp::kBestScores; ++k) {
    app().Score = 101 - 10 * k;
    EXPECT_EQ(app().MyNth().ToUtf8(), places[k]) << k;
  }
  for (const int level : {0, MyApp::kLevels + 1}) {
    app().Level = level;
    EXPECT_EQ(app().MyNth().ToUtf8(), "") << level;
  }
}

TEST_F(PauseTest, AtFrameNinetyTheMenuFilesTheScoreSavesAndTheOverlayFades) {
  for (const int stream : {1, 0}) {
    HasMusicStream = stream;
    Tap('Z');
    ASSERT_EQ(app().ScreenMode, ModeInGame);
    std::remove(".briskostate");
    app().LevelRecords.fill(0);
    const int score = 420 + stream;
    app().Score = score;
    app().GameOverTimer = 1;
    int updates = 0;
    for (; app().ScreenMode == ModeInGame && updates < 200; ++updates) {
      StepAlone();
      if (updates > 0 && updates < 90) {
        EXPECT_NE(DrawnText().find("NewHighscore1st!"), std::string::npos) << updates;
      }
    }
    // The same update runs the overlay on the menu's side once: 75 (73) less 2.
    EXPECT_EQ(updates, 90);
    EXPECT_EQ(app().GameOverFrame, stream ? 73 : 71);
    EXPECT_TRUE(StateText().empty());
    Step();
    EXPECT_EQ(app().ScreenMode, ModeMenu);
    EXPECT_EQ(app().LevelRecords[0], score);
    EXPECT_NE(StateText().find("|" + std::to_string(score) + "|"), std::string::npos);
    EXPECT_EQ(app().GameOverFrame, stream ? 71 : 69);
    // Filed, the score ties its own entry; the overlay still shows the place it took.
    EXPECT_NE(DrawnText().find("NewHighscore1st!"), std::string::npos);
    Step(40);
    EXPECT_EQ(app().GameOverFrame, 0);
    EXPECT_EQ(DrawnText().find("GAME"), std::string::npos);
  }
  HasMusicStream = 1;
}

TEST_F(PauseTest, TheQuitConfirmationReturnsOnAAndQuitsOnB) {
  app().ScreenMode = ModeOuyaQuit;
  Step();
  EXPECT_NE(DrawnText().find("tryingtoQUIT!"), std::string::npos);
  EXPECT_EQ(app().ClearRed, 180);
  game().KeyDown('Z');
  Step();
  EXPECT_EQ(app().ScreenMode, ModeMenu);
  EXPECT_EQ(app().KeyLatch, 1);
  game().KeyUp('Z');
  Step();

  for (const int quitKey : {int{'X'}, int{'C'}, key::kEscape}) {
    const auto result = RunInChild([this, quitKey] {
      app().ScreenMode = ModeOuyaQuit;
      Step();
      Tap(quitKey);
      kvPrint("still running");
    });
    EXPECT_EQ(result.status, 0) << quitKey;
    EXPECT_EQ(result.output.find("still running"), std::string::npos) << quitKey;
  }
}
