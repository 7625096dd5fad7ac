// The options panel over the menu and over the paused game, and the credits box it opens, run
// without a window.
#include <string>
#include <tuple>

#include "menu_fixture.h"

namespace {

// A point on the bar of shown row n (0: the first under the title) once the panel is in.
constexpr float kRowBarX = 300;
float RowY(int shownRow) {
  return 138 + 40 * shownRow;
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

// A touch on a bar acts once however long it is held; keys move within the rows shown.
TEST_F(OptionsTest, TouchesAndKeysSelectRows) {
  app.save.Settings[kSoundModeSetting] = 1;
  TouchAt(kRowBarX, RowY(0), 10);
  EXPECT_EQ((std::pair{app.menu.OptionRow, app.save.Settings[kSoundModeSetting]}),
            (std::pair{int{MenuScreen::kRowSound}, 2}));
  app.menu.OptionRow = MenuScreen::kRowBack;
  for (const auto& [key, presses, row] : {std::tuple{key::kDown, 6, MenuScreen::kRowCredits},
                                          {key::kUp, 6, MenuScreen::kRowBack},
                                          {key::kDown, 1, MenuScreen::kRowSound}}) {
    for (int i = 0; i < presses; ++i) Tap(key);
    EXPECT_EQ(app.menu.OptionRow, row) << key;
  }
}

// The confirm key that opened the panel, held through the slide and beyond, does not act on it.
TEST_F(OptionsTest, TheKeyThatOpensThePanelDoesNotActOnIt) {
  app.menu.OptionsOpen = 0;
  Step(kSlideUpdates + 1);
  app.menu.MenuFocus = MenuScreen::kFocusHub;
  app.menu.OptionRow = MenuScreen::kRowSound;
  app.save.Settings[kSoundModeSetting] = 1;
  Tap('Z', kSlideUpdates + 5);
  EXPECT_EQ((std::pair{app.menu.OptionsOpen, app.save.Settings[kSoundModeSetting]}),
            (std::pair{1, 1}));
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
  EXPECT_EQ(app.menu.OptionRow, MenuScreen::kRowFullscreen);
  TouchAt(720 - 200, RowY(3) + 10);  // where the Credits bar would be
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

// The press that closes the box sets both latches: it reaches neither the menu nor the options.
TEST_F(MenuTest, ATouchOrAConfirmKeyClosesTheCreditsBoxAndSetsBothLatches) {
  for (const int key : {0, int{'Z'}, int{'X'}, int{'N'}}) {  // 0: a touch
    SCOPED_TRACE(key);
    app.menu.CreditsOpen = 1;
    app.controls.KeyLatch = app.controls.PointerActive = 1;
    Step(kSlideUpdates);
    key ? game.KeyDown(key) : PressAt(300, 300);
    Step();
    EXPECT_EQ((std::tuple{app.menu.CreditsOpen, app.controls.KeyLatch, app.controls.PointerActive,
                          app.screens.ScreenMode, app.menu.OptionsOpen}),
              (std::tuple{0, 1, 1, int{ModeMenu}, 0}));
    key ? game.KeyUp(key) : Lift();
    Step(kSlideUpdates);
  }
}
