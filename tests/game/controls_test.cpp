// The game's controls: game keys from keyboard, joysticks, the iCade and the on-screen pad,
// the analogue stick, the touch tests, tilt.
#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <iterator>
#include <vector>

#include "game/core/globals.h"
#include "game/core/records.h"
#include "input/input_device.h"
#include "sim/headless_game.h"

namespace {

constexpr int kConsoleBack = 19;
constexpr int kPadImage = 94;

class ControlsTest : public testing::Test {
 protected:
  ControlsTest() : app(game.app()), input(*GetInputDevice()) {}

  static int JoyKey(int player, int button) { return key::JoyButton(player, button); }
  void Hold(int code, bool down = true) { input.keyDown[code] = down; }
  void TouchAt(int slot, int x, int y) {
    app.controls.TouchOn[slot] = 1;
    app.controls.TouchPosX[slot] = x;
    app.controls.TouchPosY[slot] = y;
    app.controls.PointerDown = 1;
  }
  void NoTouches() {
    app.controls.TouchOn.fill(0);
    app.controls.TouchPosX.fill(kNoArg);
    app.controls.TouchPosY.fill(kNoArg);
    app.controls.PointerDown = 0;
  }
  std::vector<float> Stick() {
    return {app.controls.AnalogX, app.controls.AnalogY,
            static_cast<float>(app.controls.StickOriginX),
            static_cast<float>(app.controls.StickOriginY)};
  }
  float LastRecordKind() {
    return app.frame.DrawList[app.frame.DrawCount - drawrec::kFloats + drawrec::kSlot];
  }
  void SetFrameSize(int slot, int size) {
    app.frame.ImageInfo[imageinfo::Index(slot, imageinfo::kFrameW)] = size;
    app.frame.ImageInfo[imageinfo::Index(slot, imageinfo::kFrameH)] = size;
  }
  // Each row: game key, analog, player (-1: the keyboard alone), the expected PlayKey answer.
  void ExpectPlayKeys(std::initializer_list<std::array<int, 4>> rows) {
    for (const auto& [key, analog, player, held] : rows)
      EXPECT_EQ(app.io.PlayKey(key, analog, player), held)
          << "key " << key << " analog " << analog << " player " << player;
  }

  HeadlessGame game;
  MyApp& app;
  InputDevice& input;
};

TEST_F(ControlsTest, KeyboardKeysHoldTheirGameKeyForEveryPlayer) {
  const std::pair<int, std::vector<int>> keys[] = {
      {kGameUp, {key::kUp, 'W'}},
      {kGameLeft, {key::kLeft}},
      {kGameRight, {'D'}},
      {kGameDown, {'S'}},
      {kGameA, {'Z', key::kEnter}},
      {kGameB, {key::kCtrl}},
      {kGameX, {key::kShift}},
      {kGameY, {'I'}},
      {kGameL1, {'U'}},
      {kGameR1, {'O'}},
      {kGameBack, {key::kDelete, key::kBackquote, key::kBackspace}}};
  for (const auto& [gameKey, codes] : keys)
    for (const int code : codes) {
      SCOPED_TRACE(code);
      Hold(code);
      for (int player = -1; player < 4; ++player) EXPECT_EQ(app.io.PlayKey(gameKey, 0, player), 1);
      EXPECT_EQ(app.io.PlayKey(gameKey, 0, -2), 0);
      EXPECT_EQ(app.io.PlayKeyAll(gameKey, 0), 4);
      EXPECT_EQ(app.io.PlayKey(gameKey == kGameA ? kGameB : kGameA, 0, 0), 0);
      Hold(code, false);
    }
}

TEST_F(ControlsTest, JoystickButtonsBelongToTheirPlayerAndPlayersBeyondFourHaveNone) {
  Hold(JoyKey(2, 0));
  Hold(JoyKey(3, 14));
  Hold(JoyKey(0, 9));
  ExpectPlayKeys({{kGameA, 0, 2, 1},
                  {kGameA, 0, 1, 0},
                  {kGameA, 0, -1, 0},
                  {kGameBack, 0, 3, 1},
                  {kGameUp, 0, 0, 1}});
  EXPECT_EQ(app.io.PlayKeyAll(kGameA, 0), 1);
  // Player 4's button 0 would be key 384, the first touch.
  input.MouseEvent(kEventMouseDown, 0, 0, 0);
  ExpectPlayKeys({{kGameA, 0, 4, 0}});
  EXPECT_EQ(Controls::StickX(0, 4), 0);
}

TEST_F(ControlsTest, StickCountsAsDirectionsOnlyWhenAnalogIsAskedAndReadsYDown) {
  auto& joy = input.joyStates[1];
  joy.axisY[0] = 0.5f;
  ExpectPlayKeys({{kGameUp, 1, 1, 1},
                  {kGameUp, 0, 1, 0},
                  {kGameUp, 1, 0, 0},
                  {kGameUp, 1, -1, 0},
                  {kGameDown, 1, 1, 0}});
  joy.axisY = {-0.5f, -1};
  joy.axisX = {-0.41f, 0.25f};
  ExpectPlayKeys({{kGameDown, 1, 1, 1}, {kGameLeft, 1, 1, 1}});
  // The first stick reads with y down like the screen, the second as it comes.
  EXPECT_EQ((std::array{Controls::StickY(0, 1), Controls::StickY(1, 1), Controls::StickX(1, 1),
                        Controls::StickX(0, -1), Controls::StickY(0, -1)}),
            (std::array{0.5f, -1.0f, 0.25f, 0.0f, 0.0f}));
  joy.axisX[0] = 0.4f;
  ExpectPlayKeys({{kGameRight, 1, 1, 0}});
  app.controls.ICade = 1;
  joy.axisX[0] = 1;
  ExpectPlayKeys({{kGameRight, 1, 1, 0}});
}

TEST_F(ControlsTest, WithTheICadeOnTheLettersNoLongerPlay) {
  app.controls.ICade = 1;
  for (int letter : {int{'W'}, int{'Z'}, int{'J'}, key::kBackquote}) Hold(letter);
  ExpectPlayKeys({{kGameUp, 0, 0, 0}, {kGameA, 0, 0, 0}, {kGameBack, 0, 0, 0}});
  for (int code : {key::kSpace, key::kEscape, JoyKey(0, 7)}) Hold(code);
  ExpectPlayKeys({{kGameA, 0, -1, 1}, {kGameBack, 0, -1, 1}, {kGameR1, 0, 0, 0}});
  Hold(JoyKey(0, 5));
  ExpectPlayKeys({{kGameR1, 0, 0, 1}});
  app.controls.ICade = 2;
  ExpectPlayKeys({{kGameA, 0, 0, 0}});
}

// Switched on, the iCade drains waiting characters; its keys hold across updates until their
// release letter, screen pad keys for one. Off, it releases its keys but not the console's
// back key; other values change nothing.
TEST_F(ControlsTest, TheICadeHoldsItsKeysUntilTheirReleaseLetterAndLetsGoWhenOff) {
  game.StepUntilLoaded();
  game.TypeChar('w');
  app.controls.iCade(1);
  EXPECT_EQ(app.controls.ICade, 1);
  EXPECT_TRUE(game.host().KeyboardEnabled());
  EXPECT_EQ(GetChar(), 0);
  game.TypeChar('w');
  app.controls.PadKeys[kGameRight] = 1;  // touched on the screen pad
  ExpectPlayKeys({{kGameRight, 0, -1, 1}});
  game.Step();
  EXPECT_EQ(app.controls.CharCode, 0);
  game.Step(3);
  EXPECT_EQ(app.controls.PadKeys[kGameUp], 2);
  EXPECT_EQ(app.controls.PadKeys[kGameRight], 0);
  game.TypeChar('E');
  game.Step();
  ExpectPlayKeys({{kGameUp, 0, -1, 0}});
  app.controls.PadKeys[kGameUp] = 2;
  app.controls.PadKeys[kConsoleBack] = 1;
  app.controls.iCade(0);
  EXPECT_FALSE(game.host().KeyboardEnabled());
  EXPECT_EQ((std::array{app.controls.ICade, app.controls.PadKeys[kGameUp],
                        app.controls.PadKeys[kConsoleBack]}),
            (std::array{0, 0, 1}));
  app.controls.iCade(5);
  EXPECT_EQ(app.controls.ICade, 0);
}

TEST_F(ControlsTest, ICadeLettersOfEitherCaseReachEveryPadKey) {
  app.controls.iCade(1);
  // Characters below zero are skipped.
  for (const int letter :
       std::initializer_list<int>{'h', 'J', 'k', 'Y', 'u', 'I', 'X', 'a', 'D', -5, 'o', 'L'})
    game.TypeChar(letter);
  UpdateControls(app.platform, app.frame, app.controls, app.screens, app.pause, app.save);
  const int pairedKeys[] = {kGameA,  kGameB,    kGameX,    kGameY,     kGameL1,
                            kGameR1, kGameDown, kGameLeft, kGameRight, kGameBack};
  for (int key : pairedKeys) EXPECT_EQ(app.io.PlayKey(key, 0, 2), 1) << key;
  // The back entries answer only through the back key.
  ExpectPlayKeys({{16, 0, 0, 0}, {17, 0, 0, 0}});
  for (int letter : {'R', 'n', 'p', 't', 'F', 'm', 'z', 'q', 'c', 'G'}) game.TypeChar(letter);
  UpdateControls(app.platform, app.frame, app.controls, app.screens, app.pause, app.save);
  for (int key : pairedKeys) EXPECT_EQ(app.io.PlayKey(key, 0, 2), key == kGameBack) << key;
  game.TypeChar('v');
  UpdateControls(app.platform, app.frame, app.controls, app.screens, app.pause, app.save);
  ExpectPlayKeys({{kGameBack, 0, 0, 0}});
}

TEST_F(ControlsTest, BackKeyOnTheConsoleIsItsOwnButtonAlone) {
  Hold(key::kEscape);
  app.platform.console = true;
  ExpectPlayKeys({{kGameBack, 0, 0, 0}});
  app.controls.PadKeys[kConsoleBack] = 3;
  ExpectPlayKeys({{kGameBack, 0, 0, 1}});
}

// A drag anchors at the press and the anchor trails the pointer; the first joystick outside
// its dead zone overrides the drag.
TEST_F(ControlsTest, MouseDragStickAnchorsAtThePressAndTheJoystickOverridesIt) {
  app.controls.PointerDown = 1;
  app.controls.StickOriginX = -1;
  // Each step: the pointer, then the stick x, y and the anchor x, y it leaves.
  const struct {
    int x, y;
    std::vector<float> stick;
  } steps[] = {{100, 100, {0, 0, 100, 100}},
               {136, 100, {0.5f, 0, 100, 100}},
               {105, 95, {0, 0, 100, 100}},
               {400, 0, {1, -1, 104, 96}}};
  for (const auto& s : steps) {
    app.controls.PointerX = s.x;
    app.controls.PointerY = s.y;
    app.controls.AnalogueControl(app.platform.console, app.frame, app.screens.DebugMode == 1);
    EXPECT_EQ(Stick(), s.stick) << "pointer " << s.x << "," << s.y;
  }
  app.controls.StickOriginX = app.controls.StickOriginY = 100;
  app.controls.PointerX = 172;
  app.controls.PointerY = 100;
  auto& joy = input.joyStates[0];
  joy.axisY[0] = 0.15f;
  app.controls.AnalogueControl(app.platform.console, app.frame, app.screens.DebugMode == 1);
  EXPECT_EQ(app.controls.AnalogX, 1) << "within the dead zone";
  joy.axisY[0] = 0.6f;
  app.controls.AnalogueControl(app.platform.console, app.frame, app.screens.DebugMode == 1);
  EXPECT_EQ((std::array{app.controls.AnalogX, app.controls.AnalogY}), (std::array{0.0f, -0.6f}));
  joy.axisY[0] = 0;
  app.controls.PointerDown = 0;
  app.controls.AnalogueControl(app.platform.console, app.frame, app.screens.DebugMode == 1);
  EXPECT_EQ(app.controls.StickOriginX, -1);
  EXPECT_EQ(app.controls.AnalogX, 0);
}

// Touch accepts a margin mostly right and below its rectangle; the MouseIn tests take a box as
// it is, centred, or a circle through its corners; all of them count only touches that are down.
TEST_F(ControlsTest, TouchAreasCountOnlyTouchesThatAreDown) {
  NoTouches();
  const int before = app.frame.DrawCount;
  EXPECT_EQ(app.controls.Touch(app.frame, 100, 100, 50, 20), 0);
  EXPECT_EQ(app.frame.DrawCount, before + drawrec::kFloats);
  EXPECT_EQ(LastRecordKind(), kNoArg);
  const auto touched = [this](int x, int y, int on = 1) {
    TouchAt(3, x, y);
    app.controls.TouchOn[3] = on;
    return app.controls.Touch(app.frame, 100, 100, 50, 20);  // 100..150 x 100..120
  };
  EXPECT_EQ(
      (std::array{touched(161, 110), touched(93, 110), touched(95, 131), touched(95, 131, 0)}),
      (std::array{1, 0, 1, 0}));
  TouchAt(3, 110, 50);
  EXPECT_EQ(
      (std::array{app.controls.MouseIn(100, 40, 20, 20), app.controls.MouseIn(110, 40, 20, 20),
                  app.controls.MouseIn_Centered(100, 50, 20, 4),
                  app.controls.MouseIn_Centered(100, 50, 22, 4)}),
      (std::array{1, 0, 0, 1}));
  // Radius squared 50: the point (5, 5) away lies on the circle.
  TouchAt(3, 105, 55);
  EXPECT_EQ((std::array{app.controls.MouseIn_Radius(100, 50, 10, 10),
                        app.controls.MouseIn_Radius(100, 50, 9, 10)}),
            (std::array{1, 0}));
  app.controls.TouchOn[3] = 0;
  EXPECT_EQ(app.controls.MouseIn(100, 40, 20, 20) + app.controls.MouseIn_Radius(100, 50, 10, 10),
            0);
}

TEST_F(ControlsTest, ButtonsTestTheDrawnExtent) {
  NoTouches();
  app.frame.ImageScale = 0.5f;
  SetFrameSize(kPadImage, 40);
  app.frame.ResetDraw();
  app.frame.DrawSizeX = app.frame.DrawSizeY = 2;
  // Half extent 20: the button spans 180..220; Button counts touches that are up.
  app.controls.TouchPosX[1] = 219;
  app.controls.TouchPosY[1] = 200;
  EXPECT_EQ(app.controls.Button(app.frame, kPadImage, 200, 200, 3), 0);
  EXPECT_EQ(LastRecordKind(), kPadImage);
  app.controls.PointerDown = 1;
  EXPECT_EQ(app.controls.Button(app.frame, kPadImage, 200, 200, 3), 1);
  EXPECT_EQ(app.controls.ButtonFirstTouch(app.frame, kPadImage, 200, 200, 3), 0);
  app.controls.TouchPosX[1] = 220;
  EXPECT_EQ(app.controls.Button(app.frame, kPadImage, 200, 200, 3), 0);
  TouchAt(0, 185, 215);
  EXPECT_EQ(app.controls.ButtonFirstTouch(app.frame, kPadImage, 200, 200, 3), 1);
}

class OnScreenPadTest : public ControlsTest {
 protected:
  OnScreenPadTest() {
    app.platform.onScreenPad = true;
    app.screens.ScreenMode = ModeInGame;
    app.frame.ImageScale = 1;
    SetFrameSize(kPadImage, 40);
    SetPad(100, 140, 10);
    NoTouches();
  }
  void SetPad(int x, int fromBottom, int size) {
    app.save.Settings[kPadXSetting] = x;
    app.save.Settings[kPadYSetting] = fromBottom;
    app.save.Settings[kPadSizeSetting] = size;
  }
  std::vector<int> PadSettings() {
    return {app.save.Settings[kPadXSetting], app.save.Settings[kPadYSetting],
            app.save.Settings[kPadSizeSetting]};
  }
  const int padY = static_cast<int>(app.frame.ScreenHeight) - 140;
};

TEST_F(OnScreenPadTest, SettingsAreKeptOnScreen) {
  SetPad(0, 9999, 30);
  UpdateControls(app.platform, app.frame, app.controls, app.screens, app.pause, app.save);
  EXPECT_EQ(PadSettings(),
            (std::vector<int>{32, static_cast<int>(app.frame.ScreenHeight) - 32, 25}));
  EXPECT_EQ((std::array{app.controls.PadX, app.controls.PadY}), (std::array{32, 32}));
  EXPECT_FLOAT_EQ(app.controls.PadScale, 2.5f);
  app.save.Settings[kPadSizeSetting] = 3;
  UpdateControls(app.platform, app.frame, app.controls, app.screens, app.pause, app.save);
  EXPECT_EQ(app.save.Settings[kPadSizeSetting], 8);
}

// Off on the menu and with the iCade.
TEST_F(OnScreenPadTest, TouchedArrowsAndFireButtonsHoldTheirKeysInGameWithoutTheICade) {
  TouchAt(0, 100 - 32, padY);
  TouchAt(1, static_cast<int>(app.frame.ScreenWidth) - 100 + 24, padY - 24);
  UpdateControls(app.platform, app.frame, app.controls, app.screens, app.pause, app.save);
  ExpectPlayKeys({{kGameLeft, 0, -1, 1}, {kGameA, 0, -1, 1}, {kGameUp, 0, -1, 0}});
  NoTouches();
  UpdateControls(app.platform, app.frame, app.controls, app.screens, app.pause, app.save);
  ExpectPlayKeys({{kGameLeft, 0, -1, 0}, {kGameA, 0, -1, 0}});
  TouchAt(0, 100 - 32, padY);
  for (const int icade : {0, 1}) {
    app.screens.ScreenMode = icade ? ModeInGame : ModeMenu;
    app.controls.ICade = icade;
    UpdateControls(app.platform, app.frame, app.controls, app.screens, app.pause, app.save);
    EXPECT_EQ(app.controls.PadKeys[kGameLeft], 0) << icade;
  }
}

TEST_F(OnScreenPadTest, WhilePausedOneFingerMovesThePadAndTwoResizeIt) {
  app.pause.Paused = 1;
  TouchAt(0, 110, padY + 10);
  UpdateControls(app.platform, app.frame, app.controls, app.screens, app.pause, app.save);
  EXPECT_EQ(app.controls.PadKeys[kGameLeft], 0);
  EXPECT_EQ(PadSettings(), (std::vector<int>{110, 130, 10}));
  TouchAt(1, 110 + 64, padY);
  UpdateControls(app.platform, app.frame, app.controls, app.screens, app.pause, app.save);
  EXPECT_EQ(app.controls.PinchActive, 1);
  EXPECT_EQ(app.controls.PinchSpread, 4);
  EXPECT_EQ(app.save.Settings[kPadSizeSetting], 10)
      << "a pinch changes the size from its second update";
  app.controls.TouchPosX[1] = 110 + 112;
  UpdateControls(app.platform, app.frame, app.controls, app.screens, app.pause, app.save);
  EXPECT_EQ(app.save.Settings[kPadSizeSetting], 13);
  app.controls.TouchOn[1] = 0;
  UpdateControls(app.platform, app.frame, app.controls, app.screens, app.pause, app.save);
  EXPECT_EQ(app.controls.PinchActive, 0);
}

// Tilt follows the reading smoothly; the calibration button takes the reading as level, and
// the iCade switches tilt off.
TEST_F(ControlsTest, TiltFollowsTheReadingSmoothlyFromItsCalibration) {
  app.platform.tilt = true;
  NoTouches();
  input.accelX = 0.5f;
  input.accelY = -0.2f;
  UpdateControls(app.platform, app.frame, app.controls, app.screens, app.pause, app.save);
  EXPECT_EQ(app.controls.TiltX, 0.5f);
  EXPECT_LT(app.controls.SmoothTiltX, 0.5f);
  for (int i = 0; i < 40; ++i)
    UpdateControls(app.platform, app.frame, app.controls, app.screens, app.pause, app.save);
  EXPECT_EQ((std::array{app.controls.SmoothTiltX, app.controls.SmoothTiltY}),
            (std::array{0.5f, -0.2f}));
  app.frame.ImageScale = 1;
  SetFrameSize(97, 32);
  TouchAt(0, 24, static_cast<int>(app.frame.ScreenHeight) - 24);
  UpdateControls(app.platform, app.frame, app.controls, app.screens, app.pause, app.save);
  EXPECT_EQ(app.controls.TiltZeroX, 0.5f);
  UpdateControls(app.platform, app.frame, app.controls, app.screens, app.pause, app.save);
  EXPECT_EQ(app.controls.TiltX, 0);
  app.controls.ICade = 1;
  UpdateControls(app.platform, app.frame, app.controls, app.screens, app.pause, app.save);
  EXPECT_EQ((std::array{app.controls.SmoothTiltY, app.controls.TiltX}), (std::array{0.0f, 0.0f}));
}

}  // namespace
