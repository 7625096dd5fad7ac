// The options panel over the menu and over the paused game, and the credits box it opens, run
// without a window.
#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>

#include "menu_fixture.h"

namespace {

// Where the Credits bar is over the menu, the panel in.
constexpr float kCreditsBarX = 520, kCreditsBarY = 348;

}  // namespace

class OptionsTest : public MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    OpenOptions();
  }
  // Enter confirms whether or not the iCade has taken the letter keys.
  void ChooseRow(int row) {
    app.menu.OptionRow = row;
    Tap(key::kEnter);
  }
};

// With a music stream there are four sound modes, without it two; an unknown mode shows no
// text and goes to Off; a mode without music stops the tune. The iCade row lets go of the pad's
// keys. Mended: every change is saved at once.
TEST_F(OptionsTest, EachRowShowsItsSettingAndSavesItsChange) {
  // stream, sound mode, text before (as drawn, no spaces), sound mode after, tune playing after
  for (const auto& [stream, mode, text, next, playing] : {std::tuple{1, 0, "Sound:Off", 1, 1},
                                                          {1, 1, "Sound:SFX+Music", 2, 0},
                                                          {1, 3, "Sound:Music", 0, 0},
                                                          {1, 7, "", 0, 0},
                                                          {0, 1, "Sound:On", 0, 1}}) {
    SCOPED_TRACE(testing::Message() << stream << " " << mode);
    app.platform.musicStream = stream;
    app.save.Settings[kSoundModeSetting] = mode;
    Step();
    EXPECT_EQ(Shows(*text ? std::string(text) + "iCade" : "Sound:"), *text != 0) << DrawnText();
    app.audio.MusicPlaying = 1;
    std::remove(".briskostate");
    ChooseRow(MenuScreen::kRowSound);
    EXPECT_EQ((std::pair{app.save.Settings[kSoundModeSetting], app.audio.MusicPlaying}),
              (std::pair{next, playing}));
    EXPECT_FALSE(StateText().empty());
  }
  for (const auto& [row, icade, fullscreen] : {std::tuple{MenuScreen::kRowICade, 1, 0},
                                               {MenuScreen::kRowICade, 0, 0},
                                               {MenuScreen::kRowFullscreen, 0, 1}}) {
    app.controls.PadKeys[18] = 2;  // an unused pad entry, held
    ChooseRow(row);
    EXPECT_EQ((std::tuple{app.controls.ICade, app.screens.Fullscreen, app.controls.PadKeys[18]}),
              (std::tuple{icade, fullscreen, row == MenuScreen::kRowICade ? 0 : 2}));
  }
}

// Mended: by the back key, confirm or R1 on the back row, a touch on the back control or the
// credits row (which opens the credits box), closing saves.
TEST_F(OptionsTest, ClosingSavesWhicheverWayThePanelCloses) {
  for (const auto& [key, row] :  // key 0: a touch on the back control
       {std::pair{key::kEscape, MenuScreen::kRowSound},
        {'Z', MenuScreen::kRowBack},
        {'N', MenuScreen::kRowBack},
        {0, MenuScreen::kRowSound},
        {'Z', MenuScreen::kRowCredits}}) {
    SCOPED_TRACE(testing::Message() << key << " on " << row);
    app.menu.OptionRow = row;
    Step(kSlideUpdates);
    std::remove(".briskostate");
    TapOrTouch(key, 100, 60);
    EXPECT_EQ((std::tuple{app.menu.OptionsOpen, app.controls.KeyLatch, app.menu.CreditsOpen}),
              (std::tuple{0, 1, row == MenuScreen::kRowCredits}));
    EXPECT_FALSE(StateText().empty());
    app.menu.CreditsOpen = 0;
    Step(kSlideUpdates);
    OpenOptions();
  }
}

// Mended: over the paused game the Credits row is hidden, the selection stays on a row shown,
// its bar takes no touch, and the back key leaves the game paused.
TEST_F(OptionsTest, OverThePausedGameTheCreditsRowIsHidden) {
  app.menu.OptionsOpen = 0;
  Step(kSlideUpdates);
  app.menu.OptionRow = MenuScreen::kRowCredits;
  app.screens.ScreenMode = ModeInGame;
  app.pause.Paused = app.pause.PauseDir = 1;  // the pause panel is open under the options
  app.pause.PauseY = 270;
  app.menu.OptionsOpen = 1;
  Step(kSlideUpdates);
  StepAlone();
  EXPECT_TRUE(!Shows("Credits") && Shows("Fullscreen"));
  Tap(key::kDown);
  EXPECT_EQ(app.menu.OptionRow, MenuScreen::kRowItemMarks);
  TouchAt(kCreditsBarX, kCreditsBarY);  // where the Credits bar would be
  EXPECT_EQ(app.menu.CreditsOpen, 0);
  Tap(key::kEscape);
  EXPECT_EQ((std::tuple{app.menu.OptionsOpen, app.pause.Paused, app.screens.ScreenMode}),
            (std::tuple{0, 1, int{ModeInGame}}));
}

// The credit lines before the final one ("End") repeat; too few lines to scroll give none.
TEST(Credits, TheLinesBeforeTheFinalOneRepeat) {
  for (const auto& [line, count, index] : {std::tuple{48LL, 50, 48},
                                           {49, 50, 0},
                                           {-1, 50, 48},
                                           {1LL << 40, 50, 37},
                                           {5, 2, 0},
                                           {5, 1, -1}})
    EXPECT_EQ(TickerLineIndex(line, count), index) << line << "/" << count;
}

// The Controls row opens the Controls panel: a key pressed for the selected slot takes it,
// swapped with the action that held it and said so; every change is written to controls.txt;
// a touch on Defaults brings back the README's table; the back key returns to the options.
TEST_F(OptionsTest, TheControlsPanelBindsAndKeepsKeys) {
  const auto file = [] {
    std::ifstream in("controls.txt");
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  ChooseRow(MenuScreen::kRowControls);
  ASSERT_EQ(app.menu.ControlsOpen, 1);
  Tap(key::kEnter);  // thrust's first key waits for a key
  Tap('Z');
  EXPECT_EQ(
      (std::pair{app.controls.Bindings[kThrust].keys[0], app.controls.Bindings[kFire].keys[0]}),
      (std::pair{int{'Z'}, int{key::kUp}}));
  EXPECT_TRUE(Shows("ZwasFire's")) << DrawnText();
  EXPECT_NE(file().find("\nthrust Z W pad DpadUp\nleft"), std::string::npos) << file();
  TouchAt(150, 395);  // the Defaults bar
  EXPECT_EQ(app.controls.Bindings, kDefaultBindings);
  EXPECT_NE(file().find("\nthrust Up W pad DpadUp\n"), std::string::npos) << file();
  Tap(key::kEscape);
  EXPECT_EQ((std::pair{app.menu.ControlsOpen, app.menu.OptionsOpen}), (std::pair{0, 1}));
}

// The Colour marks row switches the marks and writes them to controls.txt, which the next
// start reads back; a line that is not "on" or "off" leaves them off, told in one line.
TEST_F(OptionsTest, TheColourMarksRowSwitchesThemAndControlsTxtKeepsThem) {
  ChooseRow(MenuScreen::kRowItemMarks);
  Step();
  EXPECT_TRUE(app.controls.ItemMarks && Shows("Colourmarks:On")) << DrawnText();
  std::ifstream in("controls.txt");
  const std::string written(std::istreambuf_iterator<char>(in), {});
  // controls.txt, the marks read back, stderr lines
  for (const auto& [text, on, told] : {std::tuple{written, true, 0},
                                       {"colour-blind-marks off\n", false, 0},
                                       {"thrust T\n colour-blind-marks\ton \r\n", true, 0},
                                       {"colour-blind-marks yes\n", false, 1},
                                       {"colour-blind-marks\n", false, 1},
                                       {"colour-blind-marks on off\n", false, 1},
                                       {"", false, 0}}) {
    SCOPED_TRACE(text);
    std::ofstream("controls.txt") << text;
    app.controls.ItemMarks = !on;
    testing::internal::CaptureStderr();
    LoadControlsFile(app.controls);
    const std::string stderrText = testing::internal::GetCapturedStderr();
    EXPECT_EQ(app.controls.ItemMarks, on);
    EXPECT_EQ(std::count(stderrText.begin(), stderrText.end(), '\n'), told) << stderrText;
  }
}
