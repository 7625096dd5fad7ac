// The controls drawn over the screens on touch devices (the on-screen pad, moved and resized
// while paused, and the tilt calibration), the per-update input work after the screens, and
// the full-screen toggle.
#include <algorithm>
#include <cmath>

#include "game/core/app.h"
#include "game/core/globals.h"
#include "game/core/records.h"
#include "game/frame/controls.h"
#include "game/frame/frame.h"
#include "game/save/save.h"
#include "game/screens/screens.h"
#include "input/input_device.h"

namespace {

constexpr int kPadHeldByScreen = 1;

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

int FullscreenFlip(Screens& screens) {
  screens.Fullscreen = 1 - screens.Fullscreen;
  SetFullscreen(screens.Fullscreen == 1);
  return 0;
}

void UpdateControls(const Platform& platform, GameFrame& frame, Controls& controls,
                    const Screens& screens, const PauseScreen& pause, SaveData& save) {
  if (controls.ICade == 1) controls.ReadICadeChars();
  // On-screen buttons hold for one update; iCade keys until their release letter.
  for (int i = 0; i < kPadKeysReleased; ++i)
    if (controls.PadKeys[i] == kPadHeldByScreen) controls.PadKeys[i] = 0;
  if (platform.onScreenPad && screens.ScreenMode > 5 && controls.ICade == 0)
    OnScreenPad(frame, controls, pause, save);
  if (platform.tilt) TiltControl(frame, controls);
}

void OnScreenPad(GameFrame& frame, Controls& controls, const PauseScreen& pause, SaveData& save) {
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
    const bool touched = controls.Button(frame, kPadImage, controls.PadX + arrow.dx * arm,
                                         controls.PadY + arrow.dy * arm, arrow.frame);
    if (touched && pause.Paused == 0) controls.PadKeys[arrow.padEntry] = kPadHeldByScreen;
  }
  frame.DrawImg(kPadImage, controls.PadX, controls.PadY, kPadCentreFrame);
  if (pause.Paused > 0) MoveAndResizePad(frame, controls, save);

  frame.SetSize(kFireSize * controls.PadScale, kFireSize * controls.PadScale);
  const float fire = kFireOffset * controls.PadScale;
  if (controls.Button(frame, kPadImage, frame.ScreenWidth - controls.PadX + fire,
                      controls.PadY - fire, 0))
    controls.PadKeys[kGameA] = kPadHeldByScreen;
  if (controls.Button(frame, kPadImage, frame.ScreenWidth - controls.PadX - fire,
                      controls.PadY + fire, 0))
    controls.PadKeys[kGameB] = kPadHeldByScreen;
}

// While paused, one finger drags the pad and two fingers spread or pinch its size.
void MoveAndResizePad(GameFrame& frame, Controls& controls, SaveData& save) {
  frame.SetSize(kPadMoveSize, kPadMoveSize);
  const bool secondUp = controls.TouchOn[1] == 0;
  if (controls.ButtonFirstTouch(frame, kPadImage, controls.PadX, controls.PadY, 0) && secondUp) {
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

void TiltControl(GameFrame& frame, Controls& controls) {
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
  if (controls.Button(frame, kTiltImage, kTiltCorner, frame.ScreenHeight - kTiltCorner,
                      kTiltFrame)) {
    controls.TiltZeroX = AccelX();
    controls.TiltZeroY = AccelY();
  }
  frame.SetCol(100, 255, 100, 0.6f);
  frame.SetSize(1, 1);
  frame.Oval(kTiltCorner + kTiltReach * controls.SmoothTiltX,
             frame.ScreenHeight - kTiltCorner + kTiltReach * controls.SmoothTiltY, 4, 4);
}
