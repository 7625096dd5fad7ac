// The options panel over the menu and over the paused game, run without a window.
#include <string>
#include <tuple>

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
    app().menu.OptionRow = row;
    Tap(key::kEnter);
  }
};

// With a music stream there are four modes, without it two; an unknown mode shows no text
// and goes to Off. A mode without music stops the tune, and every change is saved at once.
TEST_F(OptionsTest, TheSoundRowShowsCyclesAndSavesTheModes) {
  // text: as drawn, without spaces; playing: whether the tune plays on after the change
  for (const auto& [stream, mode, text, next, playing] : {std::tuple{1, 0, "Sound:Off", 1, 1},
                                                          {1, 1, "Sound:SFX+Music", 2, 0},
                                                          {1, 2, "Sound:SFX", 3, 1},
                                                          {1, 3, "Sound:Music", 0, 0},
                                                          {1, 7, "", 0, 0},
                                                          {1, -2, "", 0, 0},
                                                          {0, 0, "Sound:Off", 1, 1},
                                                          {0, 1, "Sound:On", 0, 1},
                                                          {0, 2, "", 0, 1}}) {
    SCOPED_TRACE(testing::Message() << stream << " " << mode);
    app().platform.musicStream = stream;
    app().save.Settings[kSoundModeSetting] = mode;
    Step();
    const std::string wanted = *text ? std::string(text) + "iCade" : "Sound:";
    EXPECT_EQ(DrawnText().find(wanted) != std::string::npos, *text != 0) << DrawnText();
    app().audio.MusicPlaying = 1;
    std::remove(".briskostate");
    ChooseRow(MenuScreen::kRowSound);
    EXPECT_EQ(app().save.Settings[kSoundModeSetting], next);
    EXPECT_EQ(app().audio.MusicPlaying, playing);
    EXPECT_FALSE(StateText().empty());
  }
  app().platform.musicStream = true;
}

TEST_F(OptionsTest, TheICadeAndFullscreenRowsToggle) {
  const int unusedPadEntry = 18;
  app().controls.PadKeys[unusedPadEntry] = 2;
  ChooseRow(MenuScreen::kRowICade);
  EXPECT_EQ(app().controls.ICade, 1);
  EXPECT_EQ(app().controls.PadKeys, decltype(app().controls.PadKeys){});
  Step();
  EXPECT_NE(DrawnText().find("iCade:On"), std::string::npos);
  ChooseRow(MenuScreen::kRowICade);
  EXPECT_EQ(app().controls.ICade, 0);
  Step();
  EXPECT_NE(DrawnText().find("Fullscreen"), std::string::npos);
  ChooseRow(MenuScreen::kRowFullscreen);
  EXPECT_EQ(app().screens.Fullscreen, 1);
  Step();
  EXPECT_NE(DrawnText().find("Windowed"), std::string::npos);
}

// A touch on a bar selects the row and acts, once however long it is held; keys move the
// selection within the rows shown, one row a press.
TEST_F(OptionsTest, TouchesAndKeysSelectRows) {
  app().save.Settings[kSoundModeSetting] = 1;
  TouchAt(kRowBarX, RowY(0));
  EXPECT_EQ(app().menu.OptionRow, MenuScreen::kRowSound);
  EXPECT_EQ(app().save.Settings[kSoundModeSetting], 2);
  TouchAt(kRowBarX, RowY(0), 10);
  EXPECT_EQ(app().save.Settings[kSoundModeSetting], 3);

  app().menu.OptionRow = MenuScreen::kRowBack;
  for (int i = 0; i < 6; ++i) Tap(key::kDown);
  EXPECT_EQ(app().menu.OptionRow, MenuScreen::kRowCredits);
  Tap(key::kLeft);
  EXPECT_EQ(app().menu.OptionRow, MenuScreen::kRowFullscreen);
  for (int i = 0; i < 6; ++i) Tap(key::kUp);
  EXPECT_EQ(app().menu.OptionRow, MenuScreen::kRowBack);
  Tap(key::kDown, 20);
  EXPECT_EQ(app().menu.OptionRow, MenuScreen::kRowSound);
}

TEST_F(OptionsTest, NothingActsWhileThePanelSlides) {
  app().menu.OptionsOpen = 0;
  Step(kSlideUpdates + 1);
  app().menu.MenuFocus = MenuScreen::kFocusHub;
  app().menu.OptionRow = MenuScreen::kRowSound;
  app().save.Settings[kSoundModeSetting] = 1;
  // The confirm key that opened the panel is held through the slide and beyond.
  Tap('Z', kSlideUpdates + 5);
  EXPECT_EQ(app().menu.OptionsSlide, 30);
  EXPECT_EQ(app().save.Settings[kSoundModeSetting], 1);
  // Touches during the slide do nothing either.
  app().menu.OptionsOpen = 0;
  Step(kSlideUpdates);
  app().menu.OptionsOpen = 1;
  Step(10);
  TouchAt(kRowBarX, RowY(0) + 24 * 18);
  EXPECT_EQ(app().save.Settings[kSoundModeSetting], 1);
  Step(kSlideUpdates);
  Tap('Z');
  EXPECT_EQ(app().save.Settings[kSoundModeSetting], 2);
}

// By the back key, confirm or R1 on the back row, a touch on the back control or the credits
// row (which opens the credits box; the key that chose it does not close the box).
TEST_F(OptionsTest, ClosingSavesWhicheverWayThePanelCloses) {
  for (const auto& [key, row] :  // key 0: a touch on the back control
       {std::pair{key::kEscape, MenuScreen::kRowSound},
        {'Z', MenuScreen::kRowBack},
        {'N', MenuScreen::kRowBack},
        {0, MenuScreen::kRowSound},
        {'Z', MenuScreen::kRowCredits}}) {
    SCOPED_TRACE(testing::Message() << key << " on " << row);
    app().menu.OptionRow = row;
    Step(kSlideUpdates);
    std::remove(".briskostate");
    key ? Tap(key) : TouchAt(100, 60);
    EXPECT_EQ(app().menu.OptionsOpen, 0);
    EXPECT_FALSE(StateText().empty());
    EXPECT_EQ(app().controls.KeyLatch, 1);
    Step(kSlideUpdates);
    EXPECT_EQ(app().menu.OptionsSlide, 0);
    EXPECT_EQ(app().menu.CreditsOpen, row == MenuScreen::kRowCredits);
    app().menu.CreditsOpen = 0;
    Step(kSlideUpdates);
    OpenOptions();
  }
}

TEST_F(OptionsTest, OverThePausedGameTheCreditsRowIsHidden) {
  app().menu.OptionsOpen = 0;
  Step(kSlideUpdates);
  app().menu.OptionRow = MenuScreen::kRowCredits;
  app().screens.ScreenMode = ModeInGame;
  app().pause.Paused = 1;
  app().pause.PauseDir = 1;  // the pause panel is open under the options
  app().pause.PauseY = 270;
  app().menu.OptionsOpen = 1;
  Step(kSlideUpdates);
  app().frame.DrawCount = 0;  // the pause panel starts each update's list
  Step();
  EXPECT_EQ(DrawnText().find("Credits"), std::string::npos);
  EXPECT_NE(DrawnText().find("Fullscreen"), std::string::npos);
  EXPECT_EQ(app().menu.OptionRow, MenuScreen::kRowFullscreen)
      << "the selection stays on a row shown";
  Tap(key::kDown);
  EXPECT_EQ(app().menu.OptionRow, MenuScreen::kRowFullscreen);
  TouchAt(720 - 200, RowY(3) + 10);  // where the Credits bar would be
  EXPECT_EQ(app().menu.CreditsOpen, 0);
  Tap(key::kEscape);
  EXPECT_EQ(app().menu.OptionsOpen, 0);
  EXPECT_EQ(app().pause.Paused, 1) << "the back key leaves the game paused";
  EXPECT_EQ(app().screens.ScreenMode, ModeInGame);
}

// L1 and R1 step the border by 16 within 1..96, once a press; a touch on the track flips
// between the ends (the border moves the pointer with it); the corner marks show it.
TEST_F(OptionsTest, OnTheConsoleTheOverscanSliderReplacesTheICadeRow) {
  app().platform.console = true;
  app().frame.Overscan = 64;
  app().save.Settings[kOverscanSetting] = 64;
  Step();
  EXPECT_EQ(DrawnText().find("iCade"), std::string::npos);
  EXPECT_NE(DrawnText().find("Overscan"), std::string::npos);
  app().menu.OptionRow = MenuScreen::kRowSound;
  Tap(key::kDown);
  EXPECT_EQ(app().menu.OptionRow, MenuScreen::kRowFullscreen);
  for (const auto& [key, expect] :
       {std::pair{'B', 48}, {'N', 64}, {'N', 80}, {'N', 96}, {'N', 96}}) {
    Tap(key, 5);
    EXPECT_EQ(app().save.Settings[kOverscanSetting], expect);
    EXPECT_EQ(app().frame.Overscan, expect);
  }
  for (const int expect : {1, 96}) {
    TouchAt(0.6f * 720 + app().frame.Overscan, 92 + app().frame.Overscan * 480 / 640);
    EXPECT_EQ(app().frame.Overscan, expect);
  }
  int marks = 0;
  for (const float* r : Records(drawrec::kRectMarker))
    marks += r[drawrec::kBlue] == 255 && r[drawrec::kSizeX] * r[drawrec::kSizeY] == 128;
  EXPECT_EQ(marks, 8);
}
