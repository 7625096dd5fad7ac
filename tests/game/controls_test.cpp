// The game's controls: game keys from keyboard, joysticks, the iCade and the on-screen pad,
// the analogue stick, tilt.
#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <tuple>
#include <vector>

#include "game/core/globals.h"
#include "game/core/records.h"
#include "input/input_device.h"
#include "sim/headless_game.h"

namespace {

class ControlsTest : public testing::Test {
 protected:
  ControlsTest() { NoTouches(); }
  void Hold(int code, bool down = true) { input.keyDown[code] = down; }
  void TouchAt(int slot, int x, int y) {
    app.controls.TouchOn[slot] = app.controls.PointerDown = 1;
    app.controls.TouchPosX[slot] = x;
    app.controls.TouchPosY[slot] = y;
  }
  void NoTouches() {
    app.controls.TouchOn.fill(0);
    app.controls.TouchPosX.fill(kNoArg);
    app.controls.TouchPosY.fill(kNoArg);
    app.controls.PointerDown = 0;
  }
  // One update's input work, its waiting characters then dropped as the host drops them.
  void Update() {
    UpdateControls(app.platform, app.frame, app.controls, app.screens, app.pause, app.save);
    input.EndUpdate();
  }
  void SetFrameSize(int slot, int size) {
    app.frame.ImageScale = 1;
    app.frame.ImageInfo[imageinfo::Index(slot, imageinfo::kFrameW)] = size;
    app.frame.ImageInfo[imageinfo::Index(slot, imageinfo::kFrameH)] = size;
  }
  // Rows of game key, analog, player (-1: the keyboard alone), the PlayKey answer.
  void ExpectPlayKeys(std::initializer_list<std::array<int, 4>> rows) {
    for (const auto& [key, analog, player, held] : rows)
      EXPECT_EQ(app.io.PlayKey(key, analog, player), held) << key << " " << analog << " " << player;
  }

  HeadlessGame game;
  MyApp& app = game.app();
  InputDevice& input = *GetInputDevice();
};

TEST_F(ControlsTest, KeyboardKeysHoldTheirGameKeyForEveryPlayer) {
  // Pairs of game key and key code.
  const int rows[] = {
      kGameUp, key::kUp,   kGameUp, 'W',         kGameLeft,    key::kLeft, kGameRight,
      'D',     kGameDown,  'S',     kGameA,      'Z',          kGameA,     key::kEnter,
      kGameB,  key::kCtrl, kGameX,  key::kShift, kGameY,       'I',        kGameL1,
      'U',     kGameR1,    'O',     kGameBack,   key::kDelete, kGameBack,  key::kBackspace};
  for (size_t i = 0; i < std::size(rows); i += 2) {
    const int gameKey = rows[i], code = rows[i + 1];
    Hold(code);
    EXPECT_EQ((std::array{app.io.PlayKey(gameKey, 0, -1), app.io.PlayKeyAll(gameKey, 0),
                          app.io.PlayKey(gameKey == kGameA ? kGameB : kGameA, 0, 0)}),
              (std::array{1, 4, 0}))
        << code;
    Hold(code, false);
  }
}

// Buttons belong to their player; player 4's button 0 would be key 384, the first touch, so
// players beyond four have none. The stick counts as directions only when analog is asked;
// the first stick reads with y down like the screen.
TEST_F(ControlsTest, JoysticksBelongToTheirPlayer) {
  for (const auto& [player, button] : {std::pair{2, 0}, {3, 14}})
    Hold(key::JoyButton(player, button));
  input.MouseEvent(kEventMouseDown, 0, 0, 0);
  auto& joy = input.joyStates[1];
  joy.axisY = {-0.5f, -1};
  joy.axisX = {-0.41f, 0.25f};
  ExpectPlayKeys({{kGameA, 0, 2, 1}, {kGameA, 0, 1, 0}, {kGameA, 0, -1, 0}, {kGameA, 0, 4, 0}});
  ExpectPlayKeys({{kGameBack, 0, 3, 1}, {kGameDown, 1, 1, 1}, {kGameDown, 0, 1, 0}});
  EXPECT_EQ((std::array{Controls::StickY(1, 1), Controls::StickX(0, 4)}),
            (std::array{-1.0f, 0.0f}));
}

// With the iCade on, the keyboard's letters no longer play (space and Escape do); each of its
// letter pairs, of either case, presses and releases one pad key (the back entries answer
// through the back key alone); characters below zero are skipped.
TEST_F(ControlsTest, TheICadeLettersPressAndReleaseThePadKeys) {
  app.controls.iCade(1);
  for (int letter : {int{'W'}, int{'Z'}, key::kBackquote}) Hold(letter);
  ExpectPlayKeys({{kGameUp, 0, 0, 0}, {kGameA, 0, 0, 0}, {kGameBack, 0, 0, 0}});
  for (int code : {key::kSpace, key::kEscape}) Hold(code);
  ExpectPlayKeys({{kGameA, 0, -1, 1}, {kGameBack, 0, -1, 1}});
  for (int code : {key::kSpace, key::kEscape}) Hold(code, false);
  const int keys[] = {kGameUp, kGameDown, kGameLeft, kGameRight, kGameA,   kGameB,
                      kGameX,  kGameY,    kGameL1,   kGameR1,    kGameBack};
  for (const auto& [down, up, key] : {std::tuple{'w', 'E', kGameUp},
                                      {'X', 'z', kGameDown},
                                      {'a', 'Q', kGameLeft},
                                      {'D', 'c', kGameRight},
                                      {'h', 'R', kGameA},
                                      {'J', 'n', kGameB},
                                      {'k', 'P', kGameX},
                                      {'Y', 't', kGameY},
                                      {'u', 'F', kGameL1},
                                      {'I', 'm', kGameR1},
                                      {'o', 'G', kGameBack},
                                      {'L', 'v', kGameBack}}) {
    for (const int character : {-5, int{down}}) game.TypeChar(character);
    Update();
    std::vector<int> held;
    for (const int k : keys)
      if (app.io.PlayKey(k, 0, 2)) held.push_back(k);
    EXPECT_EQ(held, std::vector<int>{key}) << down;
    game.TypeChar(up);
    Update();
    EXPECT_EQ(app.io.PlayKey(key, 0, 2), 0) << up;
  }
}

// The touch screen's pad, off on the desktop: kept on screen, its arrows and fire button hold
// their keys in play; while paused one finger moves it and two resize it.
TEST_F(ControlsTest, TheOnScreenPad) {
  app.platform.onScreenPad = true;
  SetFrameSize(94, 40);
  const int h = static_cast<int>(app.frame.ScreenHeight), y = h - 140;
  const int fireX = static_cast<int>(app.frame.ScreenWidth) - 100 + 24;
  const int kPad[] = {kPadXSetting, kPadYSetting, kPadSizeSetting};
  const std::array<int, 3> p = {100, 140, 10};  // x, y from the bottom, size
  const struct {
    const char* what;
    int mode, icade, paused;
    std::array<int, 3> pad;
    std::vector<std::array<int, 2>> touches;
    int spread, left, fire;  // spread: a second update with the second touch moved right
    std::array<int, 3> after;
  } rows[] = {
      {"kept on screen", ModeInGame, 0, 0, {0, 9999, 30}, {}, 0, 0, 0, {32, h - 32, 25}},
      {"no smaller than 8", ModeInGame, 0, 0, {100, 140, 3}, {}, 0, 0, 0, {100, 140, 8}},
      {"arrow and fire", ModeInGame, 0, 0, p, {{68, y}, {fireX, y - 24}}, 0, 1, 1, p},
      {"not on the menu", ModeMenu, 0, 0, p, {{68, y}}, 0, 0, 0, p},
      {"not with the iCade", ModeInGame, 1, 0, p, {{68, y}}, 0, 0, 0, p},
      {"moved while paused", ModeInGame, 0, 1, p, {{110, y + 10}}, 0, 0, 0, {110, 130, 10}},
      {"spread by 48", ModeInGame, 0, 1, p, {{60, 0}, {124, 0}}, 48, 0, 0, {100, 140, 13}},
  };
  for (const auto& r : rows) {
    app.screens.ScreenMode = r.mode;
    app.controls.ICade = r.icade;
    app.pause.Paused = r.paused;
    app.controls.PinchActive = 0;
    for (int i = 0; i < 3; ++i) app.save.Settings[kPad[i]] = r.pad[i];
    NoTouches();
    for (size_t i = 0; i < r.touches.size(); ++i)
      TouchAt(static_cast<int>(i), r.touches[i][0], r.touches[i][1]);
    Update();
    app.controls.TouchPosX[1] += r.spread;
    if (r.spread) Update();
    EXPECT_EQ((std::array{app.io.PlayKey(kGameLeft, 0, -1), app.io.PlayKey(kGameA, 0, -1)}),
              (std::array{r.left, r.fire}))
        << r.what;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(app.save.Settings[kPad[i]], r.after[i]) << r.what;
  }
}

// Tilt, off on the desktop: it follows the reading smoothly; the calibration button in the
// lower left takes the reading as level; the iCade switches tilt off.
TEST_F(ControlsTest, Tilt) {
  app.platform.tilt = true;
  SetFrameSize(97, 32);
  input.accelY = -0.2f;
  // accel, calibration button touched, iCade, updates, tilt after, smoothed tilt after
  for (const auto& [accel, button, icade, updates, tilt, smooth] :
       {std::tuple{0.5f, 0, 0, 1, 0.5f, 0.125f},  // at once, eased
        {0.5f, 0, 0, 40, 0.5f, 0.5f},             // eased to it in time
        {0.5f, 1, 0, 2, 0, 0.375f},               // the button takes it as level
        {0.9f, 0, 1, 1, 0, 0}}) {                 // off with the iCade
    input.accelX = accel;
    app.controls.ICade = icade;
    NoTouches();
    if (button) TouchAt(0, 24, static_cast<int>(app.frame.ScreenHeight) - 24);
    for (int i = 0; i < updates; ++i) Update();
    EXPECT_EQ((std::array{app.controls.TiltX, app.controls.SmoothTiltX}),
              (std::array{tilt, smooth}))
        << accel << " " << updates;
  }
}

}  // namespace
