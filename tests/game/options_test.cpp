// The options panel over the menu and over the paused game, run without a window.
#include <string>

#include "menu_fixture.h"

namespace {

// Row bars span x 84..636 at 720 wide; rows sit 40 apart from y 130 once the panel is in.
constexpr float kRowBarX = 300;
float RowY(int shownRow) {
  return 130 + 40 * shownRow + 8;
}

}  // namespace

class OptionsTest : public MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    OpenOptions();
  }
  // Enter confirms whether or not the iCade has taken the letter keys.
  void ChooseRow(int row) {
    app().OptionRow = row;
    Tap(key::kEnter);
  }
};

TEST_F(OptionsTest, TheSoundRowShowsAndCyclesTheModes) {
  const struct {
    int stream;
    int mode;
    const char* text;  // without spaces, as drawn
    int next;
  } cases[] = {
      {1, 0, "Sound:Off", 1}, {1, 1, "Sound:SFX+Music", 2},
      {1, 2, "Sound:SFX", 3}, {1, 3, "Sound:Music", 0},
      {1, 7, "", 0},          {1, -2, "", 0},
      {0, 0, "Sound:Off", 1}, {0, 1, "Sound:On", 0},
      {0, 2, "", 0},
  };
  for (const auto& c : cases) {
    HasMusicStream = c.stream;
    app().Settings[kSoundModeSetting] = c.mode;
    Step();
    const std::string text = DrawnText();
    if (*c.text) {
      EXPECT_NE(text.find(std::string(c.text) + "iCade"), std::string::npos) << c.mode << text;
    } else {
      EXPECT_EQ(text.find("Sound:"), std::string::npos) << c.mode;
    }
    ChooseRow(MyApp::kRowSound);
    EXPECT_EQ(app().Settings[kSoundModeSetting], c.next) << c.stream << " " << c.mode;
  }
}

TEST_F(OptionsTest, ChangingTheSoundStopsTheTuneWhenMusicGoesOffAndSavesAtOnce) {
  const struct {
    int mode;
    int playingAfter;
  } cases[] = {{1, 0}, {2, 1}, {3, 0}, {0, 1}};
  for (const auto& c : cases) {
    app().Settings[kSoundModeSetting] = c.mode;
    app().MusicPlaying = 1;
    std::remove(".briskostate");
    ChooseRow(MyApp::kRowSound);
    EXPECT_EQ(app().MusicPlaying, c.playingAfter) << c.mode;
    EXPECT_FALSE(StateText().empty()) << c.mode;
  }
}

TEST_F(OptionsTest, TheICadeAndFullscreenRowsToggle) {
  const int unusedPadEntry = 18;
  app().PadKeys[unusedPadEntry] = 2;
  ChooseRow(MyApp::kRowICade);
  EXPECT_EQ(iCadeControls, 1);
  EXPECT_EQ(app().PadKeys, decltype(app().PadKeys){});
  Step();
  EXPECT_NE(DrawnText().find("iCade:On"), std::string::npos);
  ChooseRow(MyApp::kRowICade);
  EXPECT_EQ(iCadeControls, 0);

  Step();
  EXPECT_NE(DrawnText().find("Fullscreen"), std::string::npos);
  ChooseRow(MyApp::kRowFullscreen);
  EXPECT_EQ(app().Fullscreen, 1);
  Step();
  EXPECT_NE(DrawnText().find("Windowed"), std::string::npos);
}

TEST_F(OptionsTest, ATouchOnABarSelectsTheRowAndActs) {
  app().Settings[kSoundModeSetting] = 1;
  TouchAt(kRowBarX, RowY(0));
  EXPECT_EQ(app().OptionRow, MyApp::kRowSound);
  EXPECT_EQ(app().Settings[kSoundModeSetting], 2);
  // Held, the touch acts once.
  PressAt(kRowBarX, RowY(0));
  Step(10);
  Lift();
  Step();
  EXPECT_EQ(app().Settings[kSoundModeSetting], 3);
}

TEST_F(OptionsTest, KeysMoveTheSelectionWithinTheRowsShown) {
  app().OptionRow = MyApp::kRowBack;
  for (int i = 0; i < 6; ++i) Tap(key::kDown);
  EXPECT_EQ(app().OptionRow, MyApp::kRowCredits);
  Tap(key::kLeft);
  EXPECT_EQ(app().OptionRow, MyApp::kRowFullscreen);
  for (int i = 0; i < 6; ++i) Tap(key::kUp);
  EXPECT_EQ(app().OptionRow, MyApp::kRowBack);
  // A held key moves one row only.
  game().KeyDown(key::kDown);
  Step(20);
  game().KeyUp(key::kDown);
  Step();
  EXPECT_EQ(app().OptionRow, MyApp::kRowSound);
}

TEST_F(OptionsTest, NothingActsWhileThePanelSlides) {
  app().OptionsOpen = 0;
  Step(kSlideUpdates + 1);
  app().MenuFocus = MyApp::kFocusHub;
  app().OptionRow = MyApp::kRowSound;
  app().Settings[kSoundModeSetting] = 1;
  // The confirm key that opened the panel is held through the slide and beyond.
  game().KeyDown('Z');
  Step(kSlideUpdates + 5);
  EXPECT_EQ(app().OptionsSlide, 30);
  EXPECT_EQ(app().Settings[kSoundModeSetting], 1);
  game().KeyUp('Z');
  Step();
  // Touches during the slide do nothing either.
  app().OptionsOpen = 0;
  Step(kSlideUpdates);
  app().OptionsOpen = 1;
  Step(10);
  TouchAt(kRowBarX, RowY(0) + 24 * 18);
  EXPECT_EQ(app().Settings[kSoundModeSetting], 1);
  Step(kSlideUpdates);
  Tap('Z');
  EXPECT_EQ(app().Settings[kSoundModeSetting], 2);
}

TEST_F(OptionsTest, ClosingSavesWhicheverWayThePanelCloses) {
  const struct {
    const char* how;
    int key;
    int row;
  } cases[] = {{"back key", key::kEscape, MyApp::kRowSound},
               {"confirm on back", 'Z', MyApp::kRowBack},
               {"R1 on back", 'N', MyApp::kRowBack},
               {"credits", 'Z', MyApp::kRowCredits}};
  for (const auto& c : cases) {
    app().OptionRow = c.row;
    app().CreditsOpen = 0;
    Step(kSlideUpdates);
    std::remove(".briskostate");
    Tap(c.key);
    EXPECT_EQ(app().OptionsOpen, 0) << c.how;
    EXPECT_FALSE(StateText().empty()) << c.how;
    EXPECT_EQ(app().KeyLatch, 1) << c.how;
    Step(kSlideUpdates);
    EXPECT_EQ(app().OptionsSlide, 0) << c.how;
    app().CreditsOpen = 0;
    Step(kSlideUpdates);
    OpenOptions();
  }
}

TEST_F(OptionsTest, TheBackControlClosesByTouch) {
  TouchAt(100, 60);
  EXPECT_EQ(app().OptionsOpen, 0);
}

TEST_F(OptionsTest, TheCreditsRowOpensTheCreditsBox) {
  ChooseRow(MyApp::kRowCredits);
  EXPECT_EQ(app().CreditsOpen, 1);
  EXPECT_EQ(app().OptionsOpen, 0);
  Step(kSlideUpdates);
  EXPECT_EQ(app().CreditsOpen, 1) << "the key that chose the row does not close the box";
}

TEST_F(OptionsTest, OverThePausedGameTheCreditsRowIsHidden) {
  app().OptionsOpen = 0;
  Step(kSlideUpdates);
  app().OptionRow = MyApp::kRowCredits;
  app().ScreenMode = ModeInGame;
  app().Paused = 1;
  app().PauseDir = 1;  // the pause panel is open under the options
  app().PauseY = 270;
  app().OptionsOpen = 1;
  Step(kSlideUpdates);
  app().DrawCount = 0;  // the pause panel starts each update's list
  Step();
  EXPECT_EQ(DrawnText().find("Credits"), std::string::npos);
  EXPECT_NE(DrawnText().find("Fullscreen"), std::string::npos);
  EXPECT_EQ(app().OptionRow, MyApp::kRowFullscreen) << "the selection stays on a row shown";
  Tap(key::kDown);
  EXPECT_EQ(app().OptionRow, MyApp::kRowFullscreen);
  TouchAt(720 - 200, RowY(3) + 10);  // where the Credits bar would be
  EXPECT_EQ(app().CreditsOpen, 0);
  // The back key closes the panel and leaves the game paused.
  Tap(key::kEscape);
  EXPECT_EQ(app().OptionsOpen, 0);
  EXPECT_EQ(app().Paused, 1);
  EXPECT_EQ(app().ScreenMode, ModeInGame);
}

TEST_F(OptionsTest, OnTheConsoleTheOverscanSliderReplacesTheICadeRow) {
  isOuya = 1;
  overscan = 64;
  app().Settings[MyApp::kOverscanSetting] = 64;
  Step();
  const std::string text = DrawnText();
  EXPECT_EQ(text.find("iCade"), std::string::npos);
  EXPECT_NE(text.find("Overscan"), std::string::npos);
  app().OptionRow = MyApp::kRowSound;
  Tap(key::kDown);
  EXPECT_EQ(app().OptionRow, MyApp::kRowFullscreen);
  // L1 and R1 step by 16 within 1..96, once per press.
  const struct {
    int key;
    int expect;
  } steps[] = {{'B', 48}, {'N', 64}, {'N', 80}, {'N', 96}, {'N', 96}};
  for (const auto& s : steps) {
    game().KeyDown(s.key);
    Step(5);
    game().KeyUp(s.key);
    Step();
    EXPECT_EQ(app().Settings[MyApp::kOverscanSetting], s.expect);
    EXPECT_EQ(overscan, s.expect);
  }
  // A touch on the track flips between the ends. The border moves the pointer with it.
  auto touchTrack = [this] { TouchAt(0.6f * 720 + overscan, 92 + overscan * 480 / 640); };
  touchTrack();
  EXPECT_EQ(overscan, 1);
  touchTrack();
  EXPECT_EQ(overscan, 96);
  // The corner marks.
  int marks = 0;
  for (int at = 0; at < app().DrawCount; at += drawrec::kFloats) {
    const float* r = &app().DrawList[at];
    marks += r[drawrec::kSlot] == drawrec::kRectMarker && r[drawrec::kBlue] == 255 &&
             r[drawrec::kSizeX] * r[drawrec::kSizeY] == 128;
  }
  EXPECT_EQ(marks, 8);
}
