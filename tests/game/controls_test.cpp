// The game's controls: game keys from keyboard, joysticks, the iCade and the on-screen pad,
// the analogue stick, the touch tests, tilt.
#include <gtest/gtest.h>

#include "game/globals.h"
#include "headless_game.h"
#include "input/input_device.h"

namespace {

constexpr int kKeyUp = 38;
constexpr int kKeyLeft = 37;
constexpr int kKeyW = 87;
constexpr int kKeyZ = 90;
constexpr int kKeySpace = 32;
constexpr int kKeyTilde = 192;
constexpr int kKeyEscape = 27;
constexpr int kPadImage = 94;
constexpr int kPadImageSize = 40;

class ControlsTest : public testing::Test {
 protected:
  ControlsTest() : app(game.app()), input(*GetInputDevice()) {}

  int JoyKey(int player, int button) { return kKeyJoyBase + kJoyButtons * player + button; }
  void Hold(int key, bool down = true) { input.keyDown[key] = down; }
  void TouchAt(int slot, int x, int y) {
    app.TouchOn[slot] = 1;
    app.TouchPosX[slot] = x;
    app.TouchPosY[slot] = y;
    app.PointerDown = 1;
  }
  void NoTouches() {
    app.TouchOn.fill(0);
    app.TouchPosX.fill(kNoArg);
    app.TouchPosY.fill(kNoArg);
    app.PointerDown = 0;
  }
  float LastRecordKind() { return app.DrawList[app.DrawCount - 15]; }

  HeadlessGame game;
  MyApp& app;
  InputDevice& input;
};

TEST_F(ControlsTest, KeyboardKeysHoldTheirGameKeyForEveryPlayer) {
  const struct {
    int code, gameKey;
  } cases[] = {{kKeyUp, kGameUp}, {kKeyW, kGameUp},       {kKeyLeft, kGameLeft}, {68, kGameRight},
               {83, kGameDown},   {kKeyZ, kGameA},        {13, kGameA},          {17, kGameB},
               {16, kGameX},      {73, kGameY},           {85, kGameL1},         {79, kGameR1},
               {46, kGameBack},   {kKeyTilde, kGameBack}, {8, kGameBack}};
  for (const auto& c : cases) {
    Hold(c.code);
    for (int player = -1; player < 4; ++player)
      EXPECT_EQ(app.PlayKey(c.gameKey, 0, player), 1) << c.code << " player " << player;
    EXPECT_EQ(app.PlayKey(c.gameKey, 0, -2), 0) << c.code;
    EXPECT_EQ(app.PlayKeyAll(c.gameKey, 0), 4) << c.code;
    EXPECT_EQ(app.PlayKey(c.gameKey == kGameA ? kGameB : kGameA, 0, 0), 0) << c.code;
    Hold(c.code, false);
  }
}

TEST_F(ControlsTest, JoystickButtonsBelongToTheirPlayerOnly) {
  Hold(JoyKey(2, 0));
  EXPECT_EQ(app.PlayKey(kGameA, 0, 2), 1);
  EXPECT_EQ(app.PlayKey(kGameA, 0, 1), 0);
  EXPECT_EQ(app.PlayKey(kGameA, 0, -1), 0);
  EXPECT_EQ(app.PlayKeyAll(kGameA, 0), 1);
  Hold(JoyKey(3, 14));
  EXPECT_EQ(app.PlayKey(kGameBack, 0, 3), 1);
  Hold(JoyKey(0, 9));
  EXPECT_EQ(app.PlayKey(kGameUp, 0, 0), 1);
}

TEST_F(ControlsTest, PlayersBeyondFourHaveNoJoystick) {
  // Player 4's button 0 would be key 384, the first touch.
  input.MouseEvent(kEventMouseDown, 0, 0, 0);
  EXPECT_EQ(app.PlayKey(kGameA, 0, 4), 0);
  EXPECT_EQ(app.StickX(0, 4), 0);
}

TEST_F(ControlsTest, StickCountsAsDirectionsOnlyWhenAnalogIsAsked) {
  auto& joy = input.joyStates[1];
  joy.axisY[0] = 0.5f;
  EXPECT_EQ(app.PlayKey(kGameUp, 1, 1), 1);
  EXPECT_EQ(app.PlayKey(kGameUp, 0, 1), 0);
  EXPECT_EQ(app.PlayKey(kGameUp, 1, 0), 0);
  EXPECT_EQ(app.PlayKey(kGameUp, 1, -1), 0);
  EXPECT_EQ(app.PlayKey(kGameDown, 1, 1), 0);
  joy.axisY[0] = -0.5f;
  joy.axisX[0] = -0.41f;
  EXPECT_EQ(app.PlayKey(kGameDown, 1, 1), 1);
  EXPECT_EQ(app.PlayKey(kGameLeft, 1, 1), 1);
  joy.axisX[0] = 0.4f;
  EXPECT_EQ(app.PlayKey(kGameRight, 1, 1), 0);
  iCadeControls = 1;
  joy.axisX[0] = 1;
  EXPECT_EQ(app.PlayKey(kGameRight, 1, 1), 0);
}

TEST_F(ControlsTest, SticksReadYDownForTheFirstStickOnly) {
  auto& joy = input.joyStates[2];
  joy.axisX = {0.25f, 0.5f};
  joy.axisY = {0.75f, -1};
  EXPECT_EQ(app.StickX(1, 2), 0.5f);
  EXPECT_EQ(app.StickY(0, 2), -0.75f);
  EXPECT_EQ(app.StickY(1, 2), -1);
  EXPECT_EQ(app.StickX(0, -1), 0);
  EXPECT_EQ(app.StickY(0, -1), 0);
}

TEST_F(ControlsTest, WithTheICadeOnTheLettersNoLongerPlay) {
  iCadeControls = 1;
  for (int letter : {kKeyW, kKeyZ, 74, kKeyTilde}) Hold(letter);
  EXPECT_EQ(app.PlayKey(kGameUp, 0, 0), 0);
  EXPECT_EQ(app.PlayKey(kGameA, 0, 0), 0);
  EXPECT_EQ(app.PlayKey(kGameBack, 0, 0), 0);
  Hold(kKeySpace);
  Hold(kKeyEscape);
  Hold(JoyKey(0, 7));
  EXPECT_EQ(app.PlayKey(kGameA, 0, -1), 1);
  EXPECT_EQ(app.PlayKey(kGameBack, 0, -1), 1);
  EXPECT_EQ(app.PlayKey(kGameR1, 0, 0), 0);
  Hold(JoyKey(0, 5));
  EXPECT_EQ(app.PlayKey(kGameR1, 0, 0), 1);
  iCadeControls = 2;
  EXPECT_EQ(app.PlayKey(kGameA, 0, 0), 0);
}

TEST_F(ControlsTest, ICadeLettersHoldPadKeysUntilTheirReleaseLetter) {
  game.StepUntilLoaded();
  app.iCade(1);
  EXPECT_TRUE(game.host().KeyboardEnabled());
  game.TypeChar('w');
  game.Step();
  EXPECT_EQ(app.PadKeys[kGameUp], 2);
  EXPECT_EQ(app.CharCode, 0);
  game.Step(3);
  EXPECT_EQ(app.PlayKey(kGameUp, 0, -1), 1);
  game.TypeChar('E');
  game.Step();
  EXPECT_EQ(app.PlayKey(kGameUp, 0, -1), 0);
}

TEST_F(ControlsTest, ICadeLettersOfEitherCaseReachEveryPadKey) {
  app.iCade(1);
  // Characters below zero are skipped.
  const int presses[] = {'h', 'J', 'k', 'Y', 'u', 'I', 'X', 'a', 'D', -5, 'o', 'L'};
  for (int letter : presses) game.TypeChar(letter);
  app.UpdateControls();
  for (int key : {kGameA, kGameB, kGameX, kGameY, kGameL1, kGameR1, kGameDown, kGameLeft,
                  kGameRight, kGameBack})
    EXPECT_EQ(app.PlayKey(key, 0, 2), 1) << key;
  // The back entries answer only through the back key.
  EXPECT_EQ(app.PlayKey(16, 0, 0), 0);
  EXPECT_EQ(app.PlayKey(17, 0, 0), 0);
  for (int letter : {'R', 'n', 'p', 't', 'F', 'm', 'z', 'q', 'c', 'G'}) game.TypeChar(letter);
  app.UpdateControls();
  for (int key :
       {kGameA, kGameB, kGameX, kGameY, kGameL1, kGameR1, kGameDown, kGameLeft, kGameRight})
    EXPECT_EQ(app.PlayKey(key, 0, 2), 0) << key;
  EXPECT_EQ(app.PlayKey(kGameBack, 0, 0), 1);
  game.TypeChar('v');
  app.UpdateControls();
  EXPECT_EQ(app.PlayKey(kGameBack, 0, 0), 0);
}

TEST_F(ControlsTest, SwitchingTheICadeDrainsOrReleases) {
  game.TypeChar('w');
  app.iCade(1);
  EXPECT_EQ(iCadeControls, 1);
  EXPECT_EQ(GetChar(), 0);
  app.PadKeys[kGameUp] = 2;
  app.PadKeys[19] = 1;
  app.iCade(0);
  EXPECT_EQ(iCadeControls, 0);
  EXPECT_FALSE(game.host().KeyboardEnabled());
  EXPECT_EQ(app.PadKeys[kGameUp], 0);
  EXPECT_EQ(app.PadKeys[19], 1);
  app.iCade(5);
  EXPECT_EQ(iCadeControls, 0);
}

TEST_F(ControlsTest, BackKeyOnTheConsoleIsItsOwnButtonAlone) {
  Hold(kKeyEscape);
  isOuya = 1;
  EXPECT_EQ(app.PlayKey(kGameBack, 0, 0), 0);
  app.PadKeys[19] = 3;
  EXPECT_EQ(app.PlayKey(kGameBack, 0, 0), 1);
  isOuya = 2;
  EXPECT_EQ(app.PlayKey(kGameBack, 0, 0), 0);
  EXPECT_EQ(app.PlayKey(17, 0, 0), 0);
}

TEST_F(ControlsTest, ScreenPadKeysLastOneUpdateAndICadeKeysStay) {
  app.PadKeys[kGameLeft] = 1;
  app.PadKeys[kGameRight] = 2;
  app.PadKeys[19] = 1;
  EXPECT_EQ(app.PlayKey(kGameLeft, 0, -1), 1);
  app.UpdateControls();
  EXPECT_EQ(app.PadKeys[kGameLeft], 0);
  EXPECT_EQ(app.PadKeys[kGameRight], 2);
  EXPECT_EQ(app.PadKeys[19], 1);
}

TEST_F(ControlsTest, HeldArrowRampsToFullInSevenUpdatesAndRelaxesWithoutOvershoot) {
  Hold(kKeyUp);
  for (int i = 0; i < 6; ++i) app.AnalogueControl();
  EXPECT_NEAR(app.AnalogY, -0.9f, 1e-5);
  app.AnalogueControl();
  EXPECT_EQ(app.AnalogY, -1);
  EXPECT_EQ(app.KeyAnalogY, -1);
  app.AnalogueControl();
  EXPECT_EQ(app.AnalogY, -1);
  Hold(kKeyUp, false);
  float previous = app.AnalogY;
  for (int i = 0; i < 5; ++i) {
    app.AnalogueControl();
    EXPECT_GT(app.AnalogY, previous);
    EXPECT_LE(app.AnalogY, 0);
    previous = app.AnalogY;
  }
  app.AnalogueControl();
  EXPECT_EQ(app.KeyAnalogY, 0);
  EXPECT_EQ(app.AnalogY, 0);

  Hold(kKeyLeft);
  app.AnalogueControl();
  EXPECT_NEAR(app.AnalogX, -0.15f, 1e-6);
  Hold(kKeyLeft, false);
  app.AnalogueControl();
  EXPECT_EQ(app.AnalogX, 0);
  Hold(68);
  app.AnalogueControl();
  EXPECT_NEAR(app.KeyAnalogX, 0.15f, 1e-6);
}

TEST_F(ControlsTest, MouseDragStickAnchorsAtThePressAndTrailsThePointer) {
  app.PointerDown = 1;
  app.PointerX = app.PointerY = 100;
  app.StickOriginX = -1;
  app.AnalogueControl();
  EXPECT_EQ(app.StickOriginX, 100);
  EXPECT_EQ(app.AnalogX, 0);
  app.PointerX = 136;
  app.AnalogueControl();
  EXPECT_FLOAT_EQ(app.AnalogX, 0.5f);
  EXPECT_EQ(app.AnalogY, 0);
  app.PointerX = 105;
  app.PointerY = 95;
  app.AnalogueControl();
  EXPECT_EQ(app.AnalogX, 0);
  EXPECT_EQ(app.AnalogY, 0);
  app.PointerX = 400;
  app.PointerY = 0;
  app.AnalogueControl();
  EXPECT_EQ(app.AnalogX, 1);
  EXPECT_EQ(app.AnalogY, -1);
  EXPECT_EQ(app.StickOriginX, 104);
  EXPECT_EQ(app.StickOriginY, 96);
  app.PointerDown = 0;
  app.AnalogueControl();
  EXPECT_EQ(app.StickOriginX, -1);
  EXPECT_EQ(app.AnalogX, 0);
}

TEST_F(ControlsTest, FirstJoystickOverridesTheDragOutsideItsDeadZone) {
  auto& joy = input.joyStates[0];
  app.PointerDown = 1;
  app.StickOriginX = app.StickOriginY = 100;
  app.PointerX = 172;
  app.PointerY = 100;
  joy.axisY[0] = 0.15f;
  app.AnalogueControl();
  EXPECT_EQ(app.AnalogX, 1);
  joy.axisY[0] = 0.6f;
  app.AnalogueControl();
  EXPECT_EQ(app.AnalogX, 0);
  EXPECT_EQ(app.AnalogY, -0.6f);
}

TEST_F(ControlsTest, TouchAcceptsAMarginMostlyRightAndBelow) {
  NoTouches();
  const int before = app.DrawCount;
  EXPECT_EQ(app.Touch(100, 100, 50, 20), 0);
  EXPECT_EQ(app.DrawCount, before + 15);
  EXPECT_EQ(LastRecordKind(), kNoArg);
  TouchAt(3, 161, 110);
  EXPECT_EQ(app.Touch(100, 100, 50, 20), 1);
  TouchAt(3, 93, 110);
  EXPECT_EQ(app.Touch(100, 100, 50, 20), 0);
  TouchAt(3, 95, 131);
  EXPECT_EQ(app.Touch(100, 100, 50, 20), 1);
  app.TouchOn[3] = 0;
  EXPECT_EQ(app.Touch(100, 100, 50, 20), 0);
}

TEST_F(ControlsTest, MouseInTestsUseTouchesThatAreDown) {
  NoTouches();
  TouchAt(5, 110, 50);
  EXPECT_EQ(app.MouseIn(100, 40, 20, 20), 1);
  EXPECT_EQ(app.MouseIn(110, 40, 20, 20), 0);
  EXPECT_EQ(app.MouseIn_Centered(100, 50, 20, 4), 0);
  EXPECT_EQ(app.MouseIn_Centered(100, 50, 22, 4), 1);
  // Radius squared 50: the point (5, 5) away lies on the circle.
  TouchAt(5, 105, 55);
  EXPECT_EQ(app.MouseIn_Radius(100, 50, 10, 10), 1);
  EXPECT_EQ(app.MouseIn_Radius(100, 50, 9, 10), 0);
  app.TouchOn[5] = 0;
  EXPECT_EQ(app.MouseIn(100, 40, 20, 20), 0);
}

TEST_F(ControlsTest, ButtonsTestTheDrawnExtent) {
  NoTouches();
  app.ImageScale = 0.5f;
  app.ImageInfo[kPadImage * 3] = kPadImageSize;
  app.ImageInfo[kPadImage * 3 + 1] = kPadImageSize;
  app.ResetDraw();
  app.DrawSizeX = app.DrawSizeY = 2;
  // Half extent 20: the button spans 180..220.
  app.TouchPosX[1] = 219;
  app.TouchPosY[1] = 200;
  EXPECT_EQ(app.Button(kPadImage, 200, 200, 3), 0);
  EXPECT_EQ(LastRecordKind(), kPadImage);
  app.PointerDown = 1;
  EXPECT_EQ(app.Button(kPadImage, 200, 200, 3), 1);
  EXPECT_EQ(app.Button0(kPadImage, 200, 200, 3), 0);
  app.TouchPosX[1] = 220;
  EXPECT_EQ(app.Button(kPadImage, 200, 200, 3), 0);
  TouchAt(0, 185, 215);
  EXPECT_EQ(app.Button0(kPadImage, 200, 200, 3), 1);
}

class OnScreenPadTest : public ControlsTest {
 protected:
  OnScreenPadTest() {
    OnScreenControls = 1;
    app.ScreenMode = ModeInGame;
    app.ImageScale = 1;
    app.ImageInfo[kPadImage * 3] = kPadImageSize;
    app.ImageInfo[kPadImage * 3 + 1] = kPadImageSize;
    app.Settings[10] = 100;
    app.Settings[11] = 140;
    app.Settings[12] = 10;
    NoTouches();
  }
};

TEST_F(OnScreenPadTest, SettingsAreKeptOnScreen) {
  app.Settings[10] = 0;
  app.Settings[11] = 9999;
  app.Settings[12] = 30;
  app.UpdateControls();
  EXPECT_EQ(app.Settings[10], 32);
  EXPECT_EQ(app.Settings[11], static_cast<int>(jscrh) - 32);
  EXPECT_EQ(app.Settings[12], 25);
  EXPECT_EQ(app.PadX, 32);
  EXPECT_EQ(app.PadY, 32);
  EXPECT_FLOAT_EQ(app.PadScale, 2.5f);
  app.Settings[12] = 3;
  app.UpdateControls();
  EXPECT_EQ(app.Settings[12], 8);
}

TEST_F(OnScreenPadTest, TouchedArrowsAndFireButtonsHoldTheirKeys) {
  const int padY = static_cast<int>(jscrh) - 140;
  TouchAt(0, 100 - 32, padY);
  TouchAt(1, static_cast<int>(jscrw) - 100 + 24, padY - 24);
  app.UpdateControls();
  EXPECT_EQ(app.PlayKey(kGameLeft, 0, -1), 1);
  EXPECT_EQ(app.PlayKey(kGameA, 0, -1), 1);
  EXPECT_EQ(app.PlayKey(kGameUp, 0, -1), 0);
  NoTouches();
  app.UpdateControls();
  EXPECT_EQ(app.PlayKey(kGameLeft, 0, -1), 0);
  EXPECT_EQ(app.PlayKey(kGameA, 0, -1), 0);
}

TEST_F(OnScreenPadTest, PadIsOffOnTheMenuAndWithTheICade) {
  TouchAt(0, 100 - 32, static_cast<int>(jscrh) - 140);
  app.ScreenMode = ModeMenu;
  app.UpdateControls();
  EXPECT_EQ(app.PadKeys[kGameLeft], 0);
  app.ScreenMode = ModeInGame;
  iCadeControls = 1;
  app.UpdateControls();
  EXPECT_EQ(app.PadKeys[kGameLeft], 0);
}

TEST_F(OnScreenPadTest, WhilePausedOneFingerMovesThePadAndTwoResizeIt) {
  app.Paused = 1;
  const int padY = static_cast<int>(jscrh) - 140;
  TouchAt(0, 110, padY + 10);
  app.UpdateControls();
  EXPECT_EQ(app.PadKeys[kGameLeft], 0);
  EXPECT_EQ(app.Settings[10], 110);
  EXPECT_EQ(app.Settings[11], 130);
  TouchAt(1, 110 + 64, padY);
  app.UpdateControls();
  EXPECT_EQ(app.PinchActive, 1);
  EXPECT_EQ(app.PinchSpread, 4);
  EXPECT_EQ(app.Settings[12], 10);
  app.TouchPosX[1] = 110 + 112;
  app.UpdateControls();
  EXPECT_EQ(app.Settings[12], 13);
  app.TouchOn[1] = 0;
  app.UpdateControls();
  EXPECT_EQ(app.PinchActive, 0);
}

TEST_F(ControlsTest, TiltFollowsTheReadingSmoothlyFromItsCalibration) {
  AccelerometerControls = 1;
  NoTouches();
  input.accelX = 0.5f;
  input.accelY = -0.2f;
  app.UpdateControls();
  EXPECT_EQ(app.TiltX, 0.5f);
  EXPECT_FLOAT_EQ(app.SmoothTiltX, 0.125f);
  for (int i = 0; i < 40; ++i) app.UpdateControls();
  EXPECT_EQ(app.SmoothTiltX, 0.5f);
  EXPECT_EQ(app.SmoothTiltY, -0.2f);
  // The calibration button takes the current reading as level.
  app.ImageScale = 1;
  app.ImageInfo[97 * 3] = app.ImageInfo[97 * 3 + 1] = 32;
  TouchAt(0, 24, static_cast<int>(jscrh) - 24);
  app.UpdateControls();
  EXPECT_EQ(app.TiltZeroX, 0.5f);
  app.UpdateControls();
  EXPECT_EQ(app.TiltX, 0);
  iCadeControls = 1;
  app.UpdateControls();
  EXPECT_EQ(app.SmoothTiltY, 0);
  EXPECT_EQ(app.TiltX, 0);
}

}  // namespace
