// Creation, suspend and resume, and the per-update dispatch between screens.
#include <cmath>

#include "audio/audio.h"
#include "game/core/globals.h"
#include "game/core/records.h"
#include "game/frame/sound_table.h"
#include "game/my_app.h"
#include "input/input_device.h"
#include "net/async_events.h"

namespace {

constexpr int kOuyaBackKey = 270;
constexpr int kMenuStartLevel = 1000;
constexpr float kMenuStartScroll = -32000.0f;
constexpr int kMenuIntroStart = -32;
constexpr int kPauseClosedY = -64;
constexpr int kSlideSteps = 30;
constexpr int kSidePanelMargin = 140;
constexpr float kSidePanelEase = 16.0f;
constexpr float kSidePanelSnap = 4.0f;
constexpr int kStartLives = 3;
constexpr int kLevelIntroUpdates = 90;
constexpr int kLevelRecordsCleared = 10000;
constexpr int kBadgesCleared = 128;
constexpr int kPauseIconSlot = 97;
constexpr float kPauseIconPos = 16.0f;
constexpr float kPauseIconDimAlpha = 0.2f;
constexpr int kControlPointer = 2;
constexpr int kOuyaPauseKey = 13;
constexpr int kLatchKeys[] = {kGameUp,     kGameLeft,  kGameRight, kGameDown, kGameA,
                              kGameB,      kGameX,     kGameY,     kGameL1,   kGameR1,
                              key::kShift, key::kCtrl, kGameBack};

}  // namespace

// Fitted to the design size until a device is known, so that an update run before any render
// mirrors the pointer with a real scale.
MyApp::MyApp() {
  frame.FitScreen(kDesignWidth, kDesignHeight);
}

MyApp::~MyApp() {
  frame.DiscardImages();
  audio.DiscardSounds();
}

void kvInit() {
  InitGameGlobals();
}

void MyApp::OnRender() {
  frame.Render(deviceWidth, deviceHeight);
}

void MyApp::OnCreate() {
  if (platform.console) {
    frame.Overscan = 64.0f;
    frame.ControlStyle = 1;
  }
  // The command line may have opened the first window full screen.
  screens.Fullscreen = KvGame::_game && KvGame::_game->WindowFullscreen() ? 1 : 0;
  frame.LogoSoundDone = 0;
  play.ResetStars(frame, 100);
  menu.MenuLevel = kMenuStartLevel;
  menu.MenuScroll = kMenuStartScroll;
  report.Send(platform.visitReports);
  screens.ScreenMode = ModeMenu;
  SetUpdateRate(kUpdateRate);
  frame.LastDevWidth = DeviceWidth();
  frame.LastDevHeight = DeviceHeight();
  frame.FitScreen(static_cast<float>(frame.LastDevWidth), static_cast<float>(frame.LastDevHeight));
  controls.TiltZeroX = controls.TiltZeroY = 0;
  frame.Reload();
  world.Level = 2;
  menu.MenuIntro = kMenuIntroStart;
  pause.Paused = 0;
  pause.PauseDir = -1;
  pause.PauseY = kPauseClosedY;
  screens.ToastBadge.fill(0);
  screens.ToastTimer.fill(0);
  std::fill_n(save.BadgeGot.begin(), kBadgesCleared, false);
  std::fill_n(controls.PadKeys.begin(), kPadKeysReleased, 0);
  save.Settings.fill(0);
  save.Settings[kSoundModeSetting] = 1;
  std::fill_n(save.LevelRecords.begin(), kLevelRecordsCleared + 1, 0);
  LoadProgress(platform, frame, screens, save);
  for (int i = 0; i < kChannelIds; ++i) audio.ChannelIds[i] = i;
}

void MyApp::OnUpdate() {
  UpdateScreens(platform, frame, io, audio, controls, world, play, level, screens, menu, pause,
                save, report);
}

void MyApp::OnSuspend() {
  DisableKeyboard();
  controls.ICade = 0;
  ClearPadKeys(controls);
  ComeBackPaused(frame, screens, pause);
  SetUpdateRate(kSuspendedUpdateRate);
  SaveProgress(play, screens, save);
}

void MyApp::OnResume() {
  ComeBackPaused(frame, screens, pause);
  SetUpdateRate(kUpdateRate);
  DisableKeyboard();
  controls.ICade = 0;
  ClearPadKeys(controls);
}
