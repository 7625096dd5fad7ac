// Game keys, the analogue stick, touch hit tests, the iCade, the on-screen pad, tilt and the
// full-screen toggle.
#include <algorithm>
#include <array>
#include <cmath>

#include "game/core/flight.h"
#include "game/core/globals.h"
#include "game/core/records.h"
#include "game/frame/controls.h"
#include "game/frame/frame.h"
#include "input/input_device.h"

namespace {

constexpr int kPlayers = 4;
constexpr int kKeyboardOnly = -1;
constexpr int kPadHeldByICade = 2;
constexpr float kStickThreshold = 0.4f;

// Where a stick pushed past the threshold counts as a direction key.
enum StickDir { kNoStick, kStickUp, kStickLeft, kStickRight, kStickDown };

// The sources of one game key; unused slots hold 0 (keys) or -1 (buttons, pad entries).
struct KeyRow {
  int gameKey;
  std::array<int, 4> keys;
  std::array<int, 3> buttons;
  StickDir stick;
  std::array<int, 3> pads;
};

// The player's actions at their default keys, then two letter clusters (C, L, V, I...) and
// Shift for the keys no action uses in play.
constexpr KeyRow ActionRow(int gameKey, Action action, StickDir stick, int pad) {
  return {gameKey,
          kDefaultBindings[action].keys,
          kDefaultBindings[action].buttons,
          stick,
          {pad, -1, -1}};
}
constexpr KeyRow kKeyboardRows[] = {
    ActionRow(kGameUp, kThrust, kStickUp, 0),
    ActionRow(kGameLeft, kSteerLeft, kStickLeft, 3),
    ActionRow(kGameRight, kSteerRight, kStickRight, 5),
    ActionRow(kGameDown, kSteerDown, kStickDown, 8),
    ActionRow(kGameA, kFire, kNoStick, 10),
    ActionRow(kGameB, kSpecial, kNoStick, 11),
    {kGameX, {'C', 'L', key::kShift}, {2, -1, -1}, kNoStick, {12, -1, -1}},
    {kGameY, {'V', 'I'}, {3, -1, -1}, kNoStick, {13, -1, -1}},
    {kGameL1, {'B', 'U'}, {4, -1, -1}, kNoStick, {14, -1, -1}},
    {kGameR1, {'N', 'M', 'O'}, {5, -1, -1}, kNoStick, {15, -1, -1}},
    {kGameBack,
     kDefaultBindings[kPause].keys,
     kDefaultBindings[kPause].buttons,
     kNoStick,
     {16, 17, 19}},
};

// With the iCade on, the letter keys are its key pairs, so only the arrows and named keys stay.
constexpr KeyRow kICadeRows[] = {
    {kGameUp, {key::kUp}, {9, -1, -1}, kNoStick, {0, -1, -1}},
    {kGameLeft, {key::kLeft}, {8, -1, -1}, kNoStick, {3, -1, -1}},
    {kGameRight, {key::kRight}, {10, -1, -1}, kNoStick, {5, -1, -1}},
    {kGameDown, {key::kDown}, {11, -1, -1}, kNoStick, {8, -1, -1}},
    {kGameA, {key::kSpace, key::kEnter}, {0, -1, -1}, kNoStick, {10, -1, -1}},
    {kGameB, {key::kCtrl}, {1, -1, -1}, kNoStick, {11, -1, -1}},
    {kGameX, {key::kShift}, {2, -1, -1}, kNoStick, {12, -1, -1}},
    {kGameY, {}, {3, -1, -1}, kNoStick, {13, -1, -1}},
    {kGameL1, {}, {4, -1, -1}, kNoStick, {14, -1, -1}},
    {kGameR1, {}, {5, -1, -1}, kNoStick, {15, -1, -1}},
    {kGameBack, {key::kEscape, key::kDelete, key::kBackspace}, {7, 6, 14}, kNoStick, {16, 17, 19}},
};

template <size_t N>
const KeyRow* FindRow(const KeyRow (&rows)[N], int gameKey) {
  for (const KeyRow& row : rows)
    if (row.gameKey == gameKey) return &row;
  return nullptr;
}

const KeyRow* RowFor(const Controls& controls, int gameKey) {
  if (controls.ICade == 0) return FindRow(kKeyboardRows, gameKey);
  if (controls.ICade == 1) return FindRow(kICadeRows, gameKey);
  return nullptr;
}

bool AnyKeyDown(const KeyRow& row) {
  return std::any_of(row.keys.begin(), row.keys.end(),
                     [](int key) { return key != 0 && KeyDown(key); });
}

bool AnyButtonDown(const KeyRow& row, int player) {
  return std::any_of(row.buttons.begin(), row.buttons.end(),
                     [player](int button) { return button >= 0 && JoyDown(button, player); });
}

bool StickPushed(StickDir dir, int player) {
  switch (dir) {
    case kStickUp:
      return JoyY(0, player) > kStickThreshold;
    case kStickDown:
      return JoyY(0, player) < -kStickThreshold;
    case kStickLeft:
      return JoyX(0, player) < -kStickThreshold;
    case kStickRight:
      return JoyX(0, player) > kStickThreshold;
    default:
      return false;
  }
}

// The iCade sends a letter when a button goes down and another when it comes up.
struct ICadePair {
  int press;
  int release;
  int padEntry;
};

constexpr ICadePair kICadePairs[] = {
    {'W', 'E', 0},  {'X', 'Z', 8},  {'A', 'Q', 3},  {'D', 'C', 5},  {'Y', 'T', 13}, {'U', 'F', 14},
    {'I', 'M', 15}, {'O', 'G', 16}, {'H', 'R', 10}, {'J', 'N', 11}, {'K', 'P', 12}, {'L', 'V', 17},
};

int UpperCase(int character) {
  return character >= 'a' && character <= 'z' ? character - 'a' + 'A' : character;
}

// Mouse-drag stick: full deflection at 72 units, a dead zone, an anchor trailing at 4 a step.
constexpr float kDragRange = 72.0f;
constexpr float kDragDeadZone = 0.1f;
constexpr int kAnchorSlack = 64;
constexpr int kAnchorStep = 4;
constexpr float kJoyDeadZone = 0.2f;
constexpr float kAnalogIdle = 0.05f;
constexpr float kMarkerInset = 64.0f;
constexpr float kMarkerReach = 52.0f;

// Moves the anchor a step toward a pointer that has left the slack around it.
int TrailAnchor(int anchor, int pointer) {
  if (pointer < anchor - kAnchorSlack) return anchor - kAnchorStep;
  if (pointer > anchor + kAnchorSlack) return anchor + kAnchorStep;
  return anchor;
}

// Touch margins: a little to the left and top, more to the right and bottom.
constexpr float kTouchMarginBefore = 6.0f;
constexpr float kTouchMarginAfter = 12.0f;

}  // namespace

int Controls::PlayKey(bool console, int key, int analog, int player) const {
  if (player < kKeyboardOnly) return 0;
  const KeyRow* row = RowFor(*this, key);
  if (!row) return 0;
  // The console's own back button stands in for the keyboard's.
  if (ICade == 0 && key == kGameBack && console) return PadKeys[kPadBackEntry] != 0 ? 1 : 0;
  if (AnyKeyDown(*row)) return 1;
  if (player != kKeyboardOnly) {
    if (AnyButtonDown(*row, player)) return 1;
    if (analog == 1 && StickPushed(row->stick, player)) return 1;
  }
  return std::any_of(row->pads.begin(), row->pads.end(),
                     [this](int entry) { return entry >= 0 && PadKeys[entry] != 0; })
             ? 1
             : 0;
}

int Controls::PlayKeyAll(bool console, int key, int analog) const {
  int count = 0;
  for (int player = 0; player < kPlayers; ++player) count += PlayKey(console, key, analog, player);
  return count;
}

float Controls::StickX(int stick, int player) {
  return player < 0 ? 0 : JoyX(stick, player);
}

// Stick 0 reads with y down like the screen; the second stick is passed on as it comes.
float Controls::StickY(int stick, int player) {
  if (player < 0) return 0;
  return stick == 0 ? -JoyY(stick, player) : JoyY(stick, player);
}

void Controls::AnalogueControl(bool console, GameFrame& frame, bool showStick) {
  AnalogX = AnalogY = 0;
  DragStick(frame);
  const float joyX = JoyX(0, 0);
  const float joyY = JoyY(0, 0);
  if (std::fabs(joyX) > kJoyDeadZone || std::fabs(joyY) > kJoyDeadZone) {
    AnalogX = joyX;
    AnalogY = -joyY;
  }
  using flight::ClampUnit;
  flight::RampAxis(PlayKey(console, kGameUp, 0, 0), PlayKey(console, kGameDown, 0, 0), KeyAnalogY,
                   AnalogY);
  flight::RampAxis(PlayKey(console, kGameLeft, 0, 0), PlayKey(console, kGameRight, 0, 0),
                   KeyAnalogX, AnalogX);
  AnalogX = ClampUnit(AnalogX);
  AnalogY = ClampUnit(AnalogY);
  KeyAnalogX = ClampUnit(KeyAnalogX);
  KeyAnalogY = ClampUnit(KeyAnalogY);
  if (std::fabs(AnalogX) <= kAnalogIdle && std::fabs(AnalogY) <= kAnalogIdle) return;
  if (showStick) {
    const float x = frame.ScreenWidth - kMarkerInset;
    const float y = frame.ScreenHeight - kMarkerInset;
    frame.SetCol(0, 180, 250, 0.5f);
    frame.Oval(x, y, 12, 12);
    frame.Oval(x + kMarkerReach * AnalogX, y + kMarkerReach * AnalogY, 8, 8);
  }
}

void Controls::DragStick(GameFrame& frame) {
  if (PointerDown == 0) StickOriginX = -1;
  if (PointerDown <= 0) return;
  if (StickOriginX < 0) {
    StickOriginX = PointerX;
    StickOriginY = PointerY;
  } else {
    AnalogX = (PointerX - StickOriginX) / kDragRange;
    AnalogY = (PointerY - StickOriginY) / kDragRange;
    if (std::fabs(AnalogX) < kDragDeadZone && std::fabs(AnalogY) < kDragDeadZone)
      AnalogX = AnalogY = 0;
    StickOriginX = TrailAnchor(StickOriginX, PointerX);
    StickOriginY = TrailAnchor(StickOriginY, PointerY);
    if (StickOriginX < 0) {
      StickOriginX = PointerX;
      StickOriginY = PointerY;
    }
  }
  frame.SetCol(0, 100, 250, 0.25f);
  frame.Oval(StickOriginX, StickOriginY, 12, 12);
  frame.Oval(PointerX, PointerY, 8, 8);
}

void Controls::SetBindings(const BindingTable& table) {
  Bindings = table;
  BuildKeyMap(Bindings, BoundKeys);
  if (InputDevice* device = GetInputDevice()) device->SetKeyMap(&BoundKeys);
}

void Controls::ListenUnbound(bool unbound) {
  if (InputDevice* device = GetInputDevice()) device->SetKeyMap(unbound ? nullptr : &BoundKeys);
}

void Controls::iCade(int on) {
  if (on == 1) {
    EnableKeyboard();
    ICade = 1;
    while (GetChar() != 0) {
    }
    CharCode = 0;
  } else if (on == 0) {
    DisableKeyboard();
    ICade = 0;
    std::fill_n(PadKeys.begin(), kPadKeysReleased, 0);
  }
}

void Controls::ReadICadeChars() {
  while ((CharCode = GetChar()) != 0) {
    if (CharCode < 0) continue;
    const int letter = UpperCase(CharCode);
    for (const ICadePair& pair : kICadePairs) {
      if (letter == pair.press) PadKeys[pair.padEntry] = kPadHeldByICade;
      if (letter == pair.release) PadKeys[pair.padEntry] = 0;
    }
  }
  CharCode = 0;
}

bool Controls::TouchInBox(int slot, float x, float y, float halfW, float halfH) const {
  return std::fabs(TouchPosX[slot] - x) < halfW && std::fabs(TouchPosY[slot] - y) < halfH;
}

int Controls::Button(GameFrame& frame, int image, float x, float y, int imageFrame) {
  frame.DrawImg(image, x, y, imageFrame);
  if (PointerDown < 1) return 0;
  const float halfW = frame.ImageInfo[imageinfo::Index(image, imageinfo::kFrameW)] *
                      frame.ImageScale * frame.DrawSizeX * 0.5f;
  const float halfH = frame.ImageInfo[imageinfo::Index(image, imageinfo::kFrameH)] *
                      frame.ImageScale * frame.DrawSizeY * 0.5f;
  for (int i = 0; i < kTouchSlots; ++i)
    if (TouchInBox(i, x, y, halfW, halfH)) return 1;
  return 0;
}

int Controls::ButtonFirstTouch(GameFrame& frame, int image, float x, float y, int imageFrame) {
  frame.DrawImg(image, x, y, imageFrame);
  if (PointerDown <= 0) return 0;
  const float halfW = frame.ImageInfo[imageinfo::Index(image, imageinfo::kFrameW)] *
                      frame.ImageScale * frame.DrawSizeX * 0.5f;
  const float halfH = frame.ImageInfo[imageinfo::Index(image, imageinfo::kFrameH)] *
                      frame.ImageScale * frame.DrawSizeY * 0.5f;
  return TouchInBox(0, x, y, halfW, halfH) ? 1 : 0;
}

int Controls::AnyTouchBetween(float left, float top, float right, float bottom) const {
  for (int i = 0; i < kTouchSlots; ++i) {
    if (TouchOn[i] == 0) continue;
    if (TouchPosX[i] > left && TouchPosX[i] < right && TouchPosY[i] > top && TouchPosY[i] < bottom)
      return 1;
  }
  return 0;
}

int Controls::Touch(GameFrame& frame, float x, float y, float w, float h) {
  frame.Rect(x, y, w, h);
  return AnyTouchBetween(x - kTouchMarginBefore, y - kTouchMarginBefore, x + w + kTouchMarginAfter,
                         y + h + kTouchMarginAfter);
}

int Controls::MouseIn(float x, float y, float w, float h) const {
  return AnyTouchBetween(x, y, x + w, y + h);
}

int Controls::MouseIn_Centered(float x, float y, float w, float h) const {
  return AnyTouchBetween(x - w / 2, y - h / 2, x + w / 2, y + h / 2);
}

int Controls::MouseIn_Radius(float x, float y, float w, float h) const {
  const float radius2 = (w / 2) * (w / 2) + (h / 2) * (h / 2);
  for (int i = 0; i < kTouchSlots; ++i) {
    if (TouchOn[i] == 0) continue;
    const float dx = TouchPosX[i] - x;
    const float dy = TouchPosY[i] - y;
    if (dx * dx + dy * dy <= radius2) return 1;
  }
  return 0;
}
