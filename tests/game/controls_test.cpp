// The game's controls: game keys from keyboard, joysticks, the iCade and the on-screen pad,
// the analogue stick, the touch tests, tilt.
#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <vector>

#include "game/globals.h"
#include "game/records.h"
#include "input/input_device.h"
#include "sim/headless_game.h"

namespace {

constexpr int kConsoleBack = 19;
constexpr int kPadImage = 94;
constexpr int kPadImageSize = 40;

class ControlsTest : public testing::Test {
 protected:
  ControlsTest() : app(game.app()), input(*GetInputDevice()) {}

  int JoyKey(int player, int button) { return key::JoyButton(player, button); }
  void Hold(int code, bool down = true) { input.keyDown[code] = down; }
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
  void SetPadImageSize() { SetFrameSize(kPadImage, kPadImageSize); }
  std::vector<float> Stick() {
    return {app.AnalogX, app.AnalogY, static_cast<float>(app.StickOriginX),
            static_cast<float>(app.StickOriginY)};
  }
  float LastRecordKind() { return app.DrawList[app.DrawCount - drawrec::kFloats + drawrec::kSlot]; }
  void SetFrameSize(int slot, int size) {
    app.ImageInfo[imageinfo::Index(slot, imageinfo::kFrameW)] = size;
    app.ImageInfo[imageinfo::Index(slot, imageinfo::kFrameH)] = size;
  }
  // Each row: game key, analog, player (-1: the keyboard alone), the expected PlayKey answer.
  void ExpectPlayKeys(std::initializer_list<std::array<int, 4>> rows) {
    for (const auto& [key, analog, player, held] : rows)
      EXPECT_EQ(app.PlayKey(key, analog, player), held)
          << "key " << key << " analog " << analog << " player " << player;
  }

  HeadlessGame game;
  MyApp& app;
  InputDevice& input;
};

TEST_F(ControlsTest, KeyboardKeysHoldTheirGameKeyForEveryPlayer) {
  const struct {
    int code, gameKey;
  } cases[] = {{key::kUp, kGameUp},
               {'W', kGameUp},
               {key::kLeft, kGameLeft},
               {'D', kGameRight},
               {'S', kGameDown},
               {'Z', kGameA},
               {key::kEnter, kGameA},
               {key::kCtrl, kGameB},
               {key::kShift, kGameX},
               {'I', kGameY},
               {'U', kGameL1},
               {'O', kGameR1},
               {key::kDelete, kGameBack},
               {key::kBackquote, kGameBack},
               {key::kBackspace, kGameBack}};
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

TEST_F(ControlsTest, JoystickButtonsBelongToTheirPlayerAndPlayersBeyondFourHaveNone) {
  Hold(JoyKey(2, 0));
  Hold(JoyKey(3, 14));
  Hold(JoyKey(0, 9));
  ExpectPlayKeys({{kGameA, 0, 2, 1},
                  {kGameA, 0, 1, 0},
                  {kGameA, 0, -1, 0},
                  {kGameBack, 0, 3, 1},
                  {kGameUp, 0, 0, 1}});
  EXPECT_EQ(app.PlayKeyAll(kGameA, 0), 1);
  // Player 4's button 0 would be key 384, the first touch.
  input.MouseEvent(kEventMouseDown, 0, 0, 0);
  ExpectPlayKeys({{kGameA, 0, 4, 0}});
  EXPECT_EQ(app.StickX(0, 4), 0);
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
  EXPECT_EQ(app.StickY(0, 1), 0.5f);
  EXPECT_EQ(app.StickY(1, 1), -1);
  EXPECT_EQ(app.StickX(1, 1), 0.25f);
  EXPECT_EQ(app.StickX(0, -1), 0);
  EXPECT_EQ(app.StickY(0, -1), 0);
  joy.axisX[0] = 0.4f;
  ExpectPlayKeys({{kGameRight, 1, 1, 0}});
  iCadeControls = 1;
  joy.axisX[0] = 1;
  ExpectPlayKeys({{kGameRight, 1, 1, 0}});
}

TEST_F(ControlsTest, WithTheICadeOnTheLettersNoLongerPlay) {
  iCadeControls = 1;
  for (int letter : {int{'W'}, int{'Z'}, int{'J'}, key::kBackquote}) Hold(letter);
  ExpectPlayKeys({{kGameUp, 0, 0, 0}, {kGameA, 0, 0, 0}, {kGameBack, 0, 0, 0}});
  for (int code : {key::kSpace, key::kEscape, JoyKey(0, 7)}) Hold(code);
  ExpectPlayKeys({{kGameA, 0, -1, 1}, {kGameBack, 0, -1, 1}, {kGameR1, 0, 0, 0}});
  Hold(JoyKey(0, 5));
  ExpectPlayKeys({{kGameR1, 0, 0, 1}});
  iCadeControls = 2;
  ExpectPlayKeys({{kGameA, 0, 0, 0}});
}

TEST_F(ControlsTest, ICadeKeysHoldAcrossUpdatesUntilTheirReleaseLetterScreenPadKeysForOne) {
  game.StepUntilLoaded();
  app.iCade(1);
  EXPECT_TRUE(game.host().KeyboardEnabled());
  game.TypeChar('w');
  app.PadKeys[kGameRight] = 1;  // touched on the screen pad
  ExpectPlayKeys({{kGameRight, 0, -1, 1}});
  game.Step();
  EXPECT_EQ(app.CharCode, 0);
  game.Step(3);
  EXPECT_EQ(app.PadKeys[kGameUp], 2);
  EXPECT_EQ(app.PadKeys[kGameRight], 0);
  game.TypeChar('E');
  game.Step();
  ExpectPlayKeys({{kGameUp, 0, -1, 0}});
}

TEST_F(ControlsTest, ICadeLettersOfEitherCaseReachEveryPadKey) {
  app.iCade(1);
  // Characters below zero are skipped.
  const int presses[] = {'h', 'J', 'k', 'Y', 'u', 'I', 'X', 'a', 'D', -5, 'o', 'L'};
  for (int letter : presses) game.TypeChar(letter);
  app.UpdateControls();
  const int pairedKeys[] = {kGameA,  kGameB,    kGameX,    kGameY,     kGameL1,
                            kGameR1, kGameDown, kGameLeft, kGameRight, kGameBack};
  for (int key : pairedKeys) EXPECT_EQ(app.PlayKey(key, 0, 2), 1) << key;
  // The back entries answer only through the back key.
  ExpectPlayKeys({{16, 0, 0, 0}, {17, 0, 0, 0}});
  for (int letter : {'R', 'n', 'p', 't', 'F', 'm', 'z', 'q', 'c', 'G'}) game.TypeChar(letter);
  app.UpdateControls();
  for (int key : pairedKeys) EXPECT_EQ(app.PlayKey(key, 0, 2), key == kGameBack) << key;
  game.TypeChar('v');
  app.UpdateControls();
  ExpectPlayKeys({{kGameBack, 0, 0, 0}});
}

TEST_F(ControlsTest, SwitchingTheICadeDrainsOrReleases) {
  game.TypeChar('w');
  app.iCade(1);
  EXPECT_EQ(iCadeControls, 1);
  EXPECT_EQ(GetChar(), 0);
  app.PadKeys[kGameUp] = 2;
  app.PadKeys[kConsoleBack] = 1;
  app.iCade(0);
  EXPECT_EQ(iCadeControls, 0);
  EXPECT_FALSE(game.host().KeyboardEnabled());
  EXPECT_EQ(app.PadKeys[kGameUp], 0);
  EXPECT_EQ(app.PadKeys[kConsoleBack], 1);
  app.iCade(5);
  EXPECT_EQ(iCadeControls, 0);
}

TEST_F(ControlsTest, BackKeyOnTheConsoleIsItsOwnButtonAlone) {
  Hold(key::kEscape);
  isOuya = 1;
  ExpectPlayKeys({{kGameBack, 0, 0, 0}});
  app.PadKeys[kConsoleBack] = 3;
  ExpectPlayKeys({{kGameBack, 0, 0, 1}});
  isOuya = 2;
  ExpectPlayKeys({{kGameBack, 0, 0, 0}, {17, 0, 0, 0}});
}

TEST_F(ControlsTest, HeldArrowRampsToFullInSevenUpdatesAndRelaxesWithoutOvershoot) {
  Hold(key::kUp);
  for (int i = 0; i < 6; ++i) app.AnalogueControl();
  EXPECT_NEAR(app.AnalogY, -0.9f, 1e-5);
  app.AnalogueControl();
  EXPECT_EQ(app.AnalogY, -1);
  app.AnalogueControl();
  EXPECT_EQ(app.KeyAnalogY, -1) << "the ramp is held at full";
  Hold(key::kUp, false);
  for (float relaxed : {-0.8f, -0.6f, -0.4f, -0.2f, 0.0f, 0.0f}) {
    app.AnalogueControl();
    EXPECT_NEAR(app.AnalogY, relaxed, 1e-5);
    EXPECT_LE(app.AnalogY, 0);
  }
  EXPECT_EQ(app.KeyAnalogY, 0);
  Hold('D');
  app.AnalogueControl();
  EXPECT_NEAR(app.AnalogX, 0.15f, 1e-6) << "right ramps the other axis the other way";
}

TEST_F(ControlsTest, MouseDragStickAnchorsAtThePressAndTrailsThePointer) {
  app.PointerDown = 1;
  app.StickOriginX = -1;
  // Each step: the pointer, then the stick x, y and the anchor x, y it leaves.
  const struct {
    int x, y;
    std::vector<float> stick;
  } steps[] = {{100, 100, {0, 0, 100, 100}},
               {136, 100, {0.5f, 0, 100, 100}},
               {105, 95, {0, 0, 100, 100}},
               {400, 0, {1, -1, 104, 96}}};
  for (const auto& s : steps) {
    app.PointerX = s.x;
    app.PointerY = s.y;
    app.AnalogueControl();
    EXPECT_EQ(Stick(), s.stick) << "pointer " << s.x << "," << s.y;
  }
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
  // The rectangle spans 100..150 x 100..120.
  const struct {
    int x, y, on, touched;
  } cases[] = {{161, 110, 1, 1}, {93, 110, 1, 0}, {95, 131, 1, 1}, {95, 131, 0, 0}};
  for (const auto& c : cases) {
    TouchAt(3, c.x, c.y);
    app.TouchOn[3] = c.on;
    EXPECT_EQ(app.Touch(100, 100, 50, 20), c.touched) << c.x << "," << c.y << " on " << c.on;
  }
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
  SetPadImageSize();
  app.ResetDraw();
  app.DrawSizeX = app.DrawSizeY = 2;
  // Half extent 20: the button spans 180..220; Button counts touches that are up.
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
    SetPadImageSize();
    app.Settings[10] = 100;
    app.Settings[11] = 140;
    app.Settings[12] = 10;
    NoTouches();
  }
  std::vector<int> PadSettings() { return {app.Settings[10], app.Settings[11], app.Settings[12]}; }
  const int padY = static_cast<int>(jscrh) - 140;
};

TEST_F(OnScreenPadTest, SettingsAreKeptOnScreen) {
  app.Settings[10] = 0;
  app.Settings[11] = 9999;
  app.Settings[12] = 30;
  app.UpdateControls();
  EXPECT_EQ(PadSettings(), (std::vector<int>{32, static_cast<int>(jscrh) - 32, 25}));
  EXPECT_EQ(app.PadX, 32);
  EXPECT_EQ(app.PadY, 32);
  EXPECT_FLOAT_EQ(app.PadScale, 2.5f);
  app.Settings[12] = 3;
  app.UpdateControls();
  EXPECT_EQ(app.Settings[12], 8);
}

TEST_F(OnScreenPadTest, TouchedArrowsAndFireButtonsHoldTheirKeysInGameWithoutTheICade) {
  TouchAt(0, 100 - 32, padY);
  TouchAt(1, static_cast<int>(jscrw) - 100 + 24, padY - 24);
  app.UpdateControls();
  ExpectPlayKeys({{kGameLeft, 0, -1, 1}, {kGameA, 0, -1, 1}, {kGameUp, 0, -1, 0}});
  NoTouches();
  app.UpdateControls();
  ExpectPlayKeys({{kGameLeft, 0, -1, 0}, {kGameA, 0, -1, 0}});

  TouchAt(0, 100 - 32, padY);
  app.ScreenMode = ModeMenu;
  app.UpdateControls();
  EXPECT_EQ(app.PadKeys[kGameLeft], 0) << "the pad is off on the menu";
  app.ScreenMode = ModeInGame;
  iCadeControls = 1;
  app.UpdateControls();
  EXPECT_EQ(app.PadKeys[kGameLeft], 0) << "the pad is off with the iCade";
}

TEST_F(OnScreenPadTest, WhilePausedOneFingerMovesThePadAndTwoResizeIt) {
  app.Paused = 1;
  TouchAt(0, 110, padY + 10);
  app.UpdateControls();
  EXPECT_EQ(app.PadKeys[kGameLeft], 0);
  EXPECT_EQ(PadSettings(), (std::vector<int>{110, 130, 10}));
  TouchAt(1, 110 + 64, padY);
  app.UpdateControls();
  EXPECT_EQ(app.PinchActive, 1);
  EXPECT_EQ(app.PinchSpread, 4);
  EXPECT_EQ(app.Settings[12], 10) << "a pinch changes the size from its second update";
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
  SetFrameSize(97, 32);
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
