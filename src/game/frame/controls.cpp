// Game keys, the analogue stick, touch hit tests, the iCade, the on-screen pad, tilt and the
// full-screen toggle.
#include <algorithm>
#include <array>
#include <cmath>

#include "game/core/flight.h"
#include "game/core/globals.h"
#include "game/core/records.h"
#include "game/my_app.h"
#include "input/input_device.h"

namespace {

constexpr int kPlayers = 4;
constexpr int kKeyboardOnly = -1;
constexpr int kPadKeysReleased = 19;
constexpr int kPadHeldByScreen = 1;
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

// Two letter clusters (arrows/WASD, ZXCV/JKL...) beside the named keys.
constexpr KeyRow kKeyboardRows[] = {
    {kGameUp, {key::kUp, 'W'}, {9, -1, -1}, kStickUp, {0, -1, -1}},
    {kGameLeft, {key::kLeft, 'A'}, {8, -1, -1}, kStickLeft, {3, -1, -1}},
    {kGameRight, {key::kRight, 'D'}, {10, -1, -1}, kStickRight, {5, -1, -1}},
    {kGameDown, {key::kDown, 'S'}, {11, -1, -1}, kStickDown, {8, -1, -1}},
    {kGameA, {'Z', 'J', key::kSpace, key::kEnter}, {0, -1, -1}, kNoStick, {10, -1, -1}},
    {kGameB, {'X', 'K', key::kCtrl}, {1, -1, -1}, kNoStick, {11, -1, -1}},
    {kGameX, {'C', 'L', key::kShift}, {2, -1, -1}, kNoStick, {12, -1, -1}},
    {kGameY, {'V', 'I'}, {3, -1, -1}, kNoStick, {13, -1, -1}},
    {kGameL1, {'B', 'U'}, {4, -1, -1}, kNoStick, {14, -1, -1}},
    {kGameR1, {'N', 'M', 'O'}, {5, -1, -1}, kNoStick, {15, -1, -1}},
    {kGameBack,
     {key::kEscape, key::kBackquote, key::kDelete, key::kBackspace},
     {6, 7, 14},
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

// The on-screen pad: image 94 frames, positions from the settings, kept on screen.
constexpr int kPadImage = 94;
constexpr int kPadEdge = 32;
constexpr int kPadMinSize = 8;
constexpr int kPadMaxSize = 25;
constexpr float kPadArm = 32.0f;
constexpr float kFireOffset = 24.0f;
constexpr float kPadAlpha = 0.6f;
constexpr float kPadMoveSize = 3.0f;
constexpr float kFireSize = 1.5f;
constexpr int kPinchUnit = 16;

struct PadButton {
  float dx, dy;
  int frame;
  int padEntry;
};
constexpr PadButton kPadArrows[] = {
    {-1, 0, 4, kGameLeft}, {0, -1, 1, kGameUp}, {0, 1, 9, kGameDown}, {1, 0, 6, kGameRight}};
constexpr int kPadCentreFrame = 5;

int ClampSetting(int value, int low, float high) {
  if (value > high) value = static_cast<int>(high);
  return std::max(value, low);
}

// Tilt: calibration button in the lower left, a marker showing the smoothed tilt.
constexpr int kTiltImage = 97;
constexpr int kTiltFrame = 7;
constexpr float kTiltCorner = 24.0f;
constexpr float kTiltButtonSize = 1.5f;
constexpr float kTiltButtonAlpha = 0.8f;
constexpr float kTiltEase = 0.25f;
constexpr float kTiltSnap = 0.005f;
constexpr float kTiltReach = 20.0f;

void SmoothToward(float& smooth, float target) {
  smooth += kTiltEase * (target - smooth);
  if (std::fabs(target - smooth) < kTiltSnap) smooth = target;
}

}  // namespace

int MyApp::PlayKey(int key, int analog, int player) {
  if (player < kKeyboardOnly) return 0;
  const KeyRow* row = RowFor(controls, key);
  if (!row) return 0;
  // The console's own back button stands in for the keyboard's.
  if (controls.ICade == 0 && key == kGameBack && platform.console)
    return platform.console && controls.PadKeys[kPadBackEntry] != 0 ? 1 : 0;
  if (AnyKeyDown(*row)) return 1;
  if (player != kKeyboardOnly) {
    if (AnyButtonDown(*row, player)) return 1;
    if (analog == 1 && StickPushed(row->stick, player)) return 1;
  }
  return std::any_of(row->pads.begin(), row->pads.end(),
                     [this](int entry) { return entry >= 0 && controls.PadKeys[entry] != 0; })
             ? 1
             : 0;
}

int MyApp::PlayKeyAll(int key, int analog) {
  int count = 0;
  for (int player = 0; player < kPlayers; ++player) count += PlayKey(key, analog, player);
  return count;
}

float MyApp::StickX(int stick, int player) {
  return player < 0 ? 0 : JoyX(stick, player);
}

// Stick 0 reads with y down like the screen; the second stick is passed on as it comes.
float MyApp::StickY(int stick, int player) {
  if (player < 0) return 0;
  return stick == 0 ? -JoyY(stick, player) : JoyY(stick, player);
}

void MyApp::AnalogueControl() {
  controls.AnalogX = controls.AnalogY = 0;
  DragStick();
  const float joyX = JoyX(0, 0);
  const float joyY = JoyY(0, 0);
  if (std::fabs(joyX) > kJoyDeadZone || std::fabs(joyY) > kJoyDeadZone) {
    controls.AnalogX = joyX;
    controls.AnalogY = -joyY;
  }
  using flight::ClampUnit;
  flight::RampAxis(PlayKey(kGameUp, 0, 0), PlayKey(kGameDown, 0, 0), controls.KeyAnalogY,
                   controls.AnalogY);
  flight::RampAxis(PlayKey(kGameLeft, 0, 0), PlayKey(kGameRight, 0, 0), controls.KeyAnalogX,
                   controls.AnalogX);
  controls.AnalogX = ClampUnit(controls.AnalogX);
  controls.AnalogY = ClampUnit(controls.AnalogY);
  controls.KeyAnalogX = ClampUnit(controls.KeyAnalogX);
  controls.KeyAnalogY = ClampUnit(controls.KeyAnalogY);
  if (std::fabs(controls.AnalogX) <= kAnalogIdle && std::fabs(controls.AnalogY) <= kAnalogIdle)
    return;
  if (screens.DebugMode == 1) {
    const float x = frame.ScreenWidth - kMarkerInset;
    const float y = frame.ScreenHeight - kMarkerInset;
    frame.SetCol(0, 180, 250, 0.5f);
    frame.Oval(x, y, 12, 12);
    frame.Oval(x + kMarkerReach * controls.AnalogX, y + kMarkerReach * controls.AnalogY, 8, 8);
  }
}

void MyApp::DragStick() {
  if (controls.PointerDown == 0) controls.StickOriginX = -1;
  if (controls.PointerDown <= 0) return;
  if (controls.StickOriginX < 0) {
    controls.StickOriginX = controls.PointerX;
    controls.StickOriginY = controls.PointerY;
  } else {
    controls.AnalogX = (controls.PointerX - controls.StickOriginX) / kDragRange;
    controls.AnalogY = (controls.PointerY - controls.StickOriginY) / kDragRange;
    if (std::fabs(controls.AnalogX) < kDragDeadZone && std::fabs(controls.AnalogY) < kDragDeadZone)
      controls.AnalogX = controls.AnalogY = 0;
    controls.StickOriginX = TrailAnchor(controls.StickOriginX, controls.PointerX);
    controls.StickOriginY = TrailAnchor(controls.StickOriginY, controls.PointerY);
    if (controls.StickOriginX < 0) {
      controls.StickOriginX = controls.PointerX;
      controls.StickOriginY = controls.PointerY;
    }
  }
  frame.SetCol(0, 100, 250, 0.25f);
  frame.Oval(controls.StickOriginX, controls.StickOriginY, 12, 12);
  frame.Oval(controls.PointerX, controls.PointerY, 8, 8);
}

void MyApp::iCade(int on) {
  if (on == 1) {
    EnableKeyboard();
    controls.ICade = 1;
    while (GetChar() != 0) {
    }
    controls.CharCode = 0;
  } else if (on == 0) {
    DisableKeyboard();
    controls.ICade = 0;
    std::fill_n(controls.PadKeys.begin(), kPadKeysReleased, 0);
  }
}

void MyApp::ReadICadeChars() {
  while ((controls.CharCode = GetChar()) != 0) {
    if (controls.CharCode < 0) continue;
    const int letter = UpperCase(controls.CharCode);
    for (const ICadePair& pair : kICadePairs) {
      if (letter == pair.press) controls.PadKeys[pair.padEntry] = kPadHeldByICade;
      if (letter == pair.release) controls.PadKeys[pair.padEntry] = 0;
    }
  }
  controls.CharCode = 0;
}

bool MyApp::TouchInBox(int slot, float x, float y, float halfW, float halfH) const {
  return std::fabs(controls.TouchPosX[slot] - x) < halfW &&
         std::fabs(controls.TouchPosY[slot] - y) < halfH;
}

int MyApp::Button(int image, float x, float y, int imageFrame) {
  frame.DrawImg(image, x, y, imageFrame);
  if (controls.PointerDown < 1) return 0;
  const float halfW = frame.ImageInfo[imageinfo::Index(image, imageinfo::kFrameW)] *
                      frame.ImageScale * frame.DrawSizeX * 0.5f;
  const float halfH = frame.ImageInfo[imageinfo::Index(image, imageinfo::kFrameH)] *
                      frame.ImageScale * frame.DrawSizeY * 0.5f;
  for (int i = 0; i < kTouchSlots; ++i)
    if (TouchInBox(i, x, y, halfW, halfH)) return 1;
  return 0;
}

int MyApp::ButtonFirstTouch(int image, float x, float y, int imageFrame) {
  frame.DrawImg(image, x, y, imageFrame);
  if (controls.PointerDown <= 0) return 0;
  const float halfW = frame.ImageInfo[imageinfo::Index(image, imageinfo::kFrameW)] *
                      frame.ImageScale * frame.DrawSizeX * 0.5f;
  const float halfH = frame.ImageInfo[imageinfo::Index(image, imageinfo::kFrameH)] *
                      frame.ImageScale * frame.DrawSizeY * 0.5f;
  return TouchInBox(0, x, y, halfW, halfH) ? 1 : 0;
}

int MyApp::AnyTouchBetween(float left, float top, float right, float bottom) const {
  for (int i = 0; i < kTouchSlots; ++i) {
    if (controls.TouchOn[i] == 0) continue;
    if (controls.TouchPosX[i] > left && controls.TouchPosX[i] < right &&
        controls.TouchPosY[i] > top && controls.TouchPosY[i] < bottom)
      return 1;
  }
  return 0;
}

int MyApp::Touch(float x, float y, float w, float h) {
  frame.Rect(x, y, w, h);
  return AnyTouchBetween(x - kTouchMarginBefore, y - kTouchMarginBefore, x + w + kTouchMarginAfter,
                         y + h + kTouchMarginAfter);
}

int MyApp::MouseIn(float x, float y, float w, float h) {
  return AnyTouchBetween(x, y, x + w, y + h);
}

int MyApp::MouseIn_Centered(float x, float y, float w, float h) {
  return AnyTouchBetween(x - w / 2, y - h / 2, x + w / 2, y + h / 2);
}

int MyApp::MouseIn_Radius(float x, float y, float w, float h) {
  const float radius2 = (w / 2) * (w / 2) + (h / 2) * (h / 2);
  for (int i = 0; i < kTouchSlots; ++i) {
    if (controls.TouchOn[i] == 0) continue;
    const float dx = controls.TouchPosX[i] - x;
    const float dy = controls.TouchPosY[i] - y;
    if (dx * dx + dy * dy <= radius2) return 1;
  }
  return 0;
}

int MyApp::FullscreenFlip() {
  screens.Fullscreen = 1 - screens.Fullscreen;
  SetFullscreen(screens.Fullscreen == 1);
  return 0;
}

void MyApp::UpdateControls() {
  if (controls.ICade == 1) ReadICadeChars();
  // On-screen buttons hold for one update; iCade keys until their release letter.
  for (int i = 0; i < kPadKeysReleased; ++i)
    if (controls.PadKeys[i] == kPadHeldByScreen) controls.PadKeys[i] = 0;
  if (platform.onScreenPad && screens.ScreenMode > 5 && controls.ICade == 0) OnScreenPad();
  if (platform.tilt) TiltControl();
}

void MyApp::OnScreenPad() {
  save.Settings[kPadXSetting] =
      ClampSetting(save.Settings[kPadXSetting], kPadEdge, frame.ScreenWidth - kPadEdge);
  save.Settings[kPadYSetting] =
      ClampSetting(save.Settings[kPadYSetting], kPadEdge, frame.ScreenHeight - kPadEdge);
  save.Settings[kPadSizeSetting] =
      ClampSetting(save.Settings[kPadSizeSetting], kPadMinSize, kPadMaxSize);
  controls.PadX = save.Settings[kPadXSetting];
  controls.PadY = static_cast<int>(frame.ScreenHeight - save.Settings[kPadYSetting]);
  controls.PadScale = save.Settings[kPadSizeSetting] / 10.0f;

  frame.SetSize(controls.PadScale, controls.PadScale);
  frame.SetRot(0);
  frame.SetCol(255, 255, 255, kPadAlpha);
  const float arm = kPadArm * controls.PadScale;
  for (const PadButton& arrow : kPadArrows) {
    const bool touched = Button(kPadImage, controls.PadX + arrow.dx * arm,
                                controls.PadY + arrow.dy * arm, arrow.frame);
    if (touched && pause.Paused == 0) controls.PadKeys[arrow.padEntry] = kPadHeldByScreen;
  }
  frame.DrawImg(kPadImage, controls.PadX, controls.PadY, kPadCentreFrame);
  if (pause.Paused > 0) MoveAndResizePad();

  frame.SetSize(kFireSize * controls.PadScale, kFireSize * controls.PadScale);
  const float fire = kFireOffset * controls.PadScale;
  if (Button(kPadImage, frame.ScreenWidth - controls.PadX + fire, controls.PadY - fire, 0))
    controls.PadKeys[kGameA] = kPadHeldByScreen;
  if (Button(kPadImage, frame.ScreenWidth - controls.PadX - fire, controls.PadY + fire, 0))
    controls.PadKeys[kGameB] = kPadHeldByScreen;
}

// While paused, one finger drags the pad and two fingers spread or pinch its size.
void MyApp::MoveAndResizePad() {
  frame.SetSize(kPadMoveSize, kPadMoveSize);
  const bool secondUp = controls.TouchOn[1] == 0;
  if (ButtonFirstTouch(kPadImage, controls.PadX, controls.PadY, 0) && secondUp) {
    save.Settings[kPadXSetting] = controls.TouchPosX[0];
    save.Settings[kPadYSetting] = static_cast<int>(frame.ScreenHeight - controls.TouchPosY[0]);
  }
  if (secondUp) controls.PinchActive = controls.PinchSpread = 0;
  if (controls.TouchOn[0] == 1 && controls.TouchOn[1] == 1) {
    const int spread = std::abs(controls.TouchPosX[0] - controls.TouchPosX[1]) / kPinchUnit;
    if (controls.PinchActive == 1) save.Settings[kPadSizeSetting] += spread - controls.PinchSpread;
    controls.PinchSpread = spread;
    controls.PinchActive = 1;
  }
}

void MyApp::TiltControl() {
  if (controls.ICade == 1) {
    controls.TiltX = controls.TiltY = controls.SmoothTiltX = controls.SmoothTiltY = 0;
    return;
  }
  controls.TiltX = AccelX() - controls.TiltZeroX;
  controls.TiltY = AccelY() - controls.TiltZeroY;
  SmoothToward(controls.SmoothTiltX, controls.TiltX);
  SmoothToward(controls.SmoothTiltY, controls.TiltY);
  frame.SetSize(kTiltButtonSize, kTiltButtonSize);
  frame.Alpha(kTiltButtonAlpha);
  if (Button(kTiltImage, kTiltCorner, frame.ScreenHeight - kTiltCorner, kTiltFrame)) {
    controls.TiltZeroX = AccelX();
    controls.TiltZeroY = AccelY();
  }
  frame.SetCol(100, 255, 100, 0.6f);
  frame.SetSize(1, 1);
  frame.Oval(kTiltCorner + kTiltReach * controls.SmoothTiltX,
             frame.ScreenHeight - kTiltCorner + kTiltReach * controls.SmoothTiltY, 4, 4);
}
