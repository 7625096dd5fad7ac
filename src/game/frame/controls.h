// The controls: the game keys the pad and keyboard hold, the pointer and touches, the analogue
// stick, and the console's on-screen pad and tilt.
// May use: core.
#pragma once

#include <array>

#include "game/frame/bindings.h"

struct GameFrame;

// Game keys asked through PlayKey.
enum GameKeys {
  kGameUp = 0,
  kGameLeft = 3,
  kGameRight = 5,
  kGameDown = 8,
  kGameA = 10,
  kGameB = 11,
  kGameX = 12,
  kGameY = 13,
  kGameL1 = 14,
  kGameR1 = 15,
  kGameBack = 99,
};

constexpr int kPadKeys = 20;
// Pad entries 0..18 are game keys the pad or iCade hold; releasing all of them frees the pad.
constexpr int kPadKeysReleased = 19;
constexpr int kPadBackEntry = 19;  // the PadKeys entry of the console's back button
constexpr int kTouchSlots = 10;

struct Controls {
  // 1 while game key `key` is held for player 0..3, or by the keyboard alone for player -1;
  // analog 1 lets stick 0 count as the direction keys. On a console its back button alone is
  // the back key.
  int PlayKey(bool console, int key, int analog, int player) const;
  // How many of the four players hold the key.
  int PlayKeyAll(bool console, int key, int analog) const;
  static float StickX(int stick, int player);
  static float StickY(int stick, int player);
  // This update's stick in AnalogX/AnalogY: mouse drag, then joystick 0, then the key ramps;
  // showStick draws where it points.
  void AnalogueControl(bool console, GameFrame& frame, bool showStick);
  // Switches the iCade key-pair controller on (1) or off (0).
  void iCade(int on);
  // The iCade's letters since the last update, as held and released pad keys.
  void ReadICadeChars();
  // The player's bindings take effect: the input device delivers them from now on.
  void SetBindings(const BindingTable& table);
  // While the Controls panel waits for a key or button, they arrive as pressed, unbound.
  void ListenUnbound(bool unbound);
  // Draws the image and reports a touch inside its drawn extent.
  int Button(GameFrame& frame, int image, float x, float y, int imageFrame);
  // The same, tested against the first touch only.
  int ButtonFirstTouch(GameFrame& frame, int image, float x, float y, int imageFrame);
  // Draws the rectangle and reports a touch on it, with a margin.
  int Touch(GameFrame& frame, float x, float y, float w, float h);
  // Touches strictly inside the rectangle, the centred rectangle, or within the circle.
  int MouseIn(float x, float y, float w, float h) const;
  int MouseIn_Centered(float x, float y, float w, float h) const;
  int MouseIn_Radius(float x, float y, float w, float h) const;

  BindingTable Bindings = kDefaultBindings;
  // Bindings as the input device applies them, built when they change.
  KeyMap BoundKeys;
  // Each item also shows its own shape, not its colour alone; the options panel switches it
  // and controls.txt keeps it.
  bool ItemMarks = false;
  // The iCade key-pair controller is on (1); the options panel switches it.
  int ICade = 0;
  std::array<int, kPadKeys> PadKeys{};
  int CharCode = 0;
  int KeyLatch = 0;
  int PointerX = 0, LastPointerX = 0, PointerY = 0, LastPointerY = 0;
  int PointerWasDown = 0, PointerDown = 0, PointerHit = 0;
  std::array<int, kTouchSlots> TouchOn{};
  std::array<int, kTouchSlots> TouchPosX{};
  std::array<int, kTouchSlots> TouchPosY{};
  int PointerActive = 0;
  int StickOriginX = 0, StickOriginY = 0;
  int PinchActive = 0;
  int PinchSpread = 0;
  float AnalogX = 0, AnalogY = 0, KeyAnalogY = 0, KeyAnalogX = 0;
  int PadX = 0, PadY = 0;
  float PadScale = 0;
  float TiltX = 0, TiltY = 0, SmoothTiltX = 0, SmoothTiltY = 0;
  float TiltZeroX = 0, TiltZeroY = 0;

 private:
  void DragStick(GameFrame& frame);
  bool TouchInBox(int slot, float x, float y, float halfW, float halfH) const;
  int AnyTouchBetween(float left, float top, float right, float bottom) const;
};
