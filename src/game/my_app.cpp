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

int HalfScreenHeight(const GameFrame& frame) {
  return static_cast<int>(frame.ScreenHeight * 0.5f);
}

// Moves a panel's slide one step toward open or closed.
void StepSlide(int open, int& slide) {
  if (open == 1 && slide < kSlideSteps) ++slide;
  if (open == 0 && slide > 0) --slide;
}

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

void MyApp::PlaySFX(int id, float rate, float volume, float pan) {
  level.PlaySFX(id, rate, volume, pan);
}

void MyApp::PlayTune(const String& name, int loop) {
  level.PlayTune(name, loop);
}

void MyApp::StopTune() {
  level.StopTune();
}

int MyApp::PlayKey(int key, int analog, int player) {
  return level.PlayKey(key, analog, player);
}

int MyApp::PlayKeyAll(int key, int analog) {
  return controls.PlayKeyAll(platform.console, key, analog);
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
  Load();
  for (int i = 0; i < kChannelIds; ++i) audio.ChannelIds[i] = i;
}

void MyApp::OnUpdate() {
  ReadFunctionKeys();
  UpdateAsyncEvents();
  if (platform.musicStream && audio.MusicPlaying == 1) {
    if (pause.Paused) {
      PauseMusic();
    } else {
      ResumeMusic();
    }
  }
  TrackFrameRate();
  MirrorPointer();
  UpdateKeyLatch();
  if (frame.LoadStep == 0) RunScreen();
  if (frame.LoadStep > 0) frame.Loader(audio, save.Settings[kSoundModeSetting]);
  UpdateControls();
  if (screens.DebugMode == 1) DrawDebugOverlay();
  screens.ShowBadges(frame);
}

void MyApp::ReadFunctionKeys() {
  controls.PadKeys[kPadBackEntry] =
      platform.console ? (KeyHit(kOuyaBackKey) ? 1 : 0) : KeyHit(key::kConsoleBack);
  if (KeyHit(key::kF1)) screens.DebugMode = 1 - screens.DebugMode;
  if (KeyHit(key::kF2)) play.HudHidden = 1 - play.HudHidden;
  if (KeyHit(key::kF11)) FullscreenFlip();
  if (KeyHit(key::kF4) || KeyHit(key::kWindowClose)) EndApp();
}

void MyApp::TrackFrameRate() {
  const int now = Millisecs();
  if (now <= frame.rates.LastMillisecs) return;
  frame.rates.FrameRate = 1000 / (now - frame.rates.LastMillisecs);
  frame.rates.SmoothFrameRate = (frame.rates.SmoothFrameRate * 9 + frame.rates.FrameRate) / 10;
  frame.rates.LastMillisecs = now;
}

void MyApp::MirrorPointer() {
  const float borderX = frame.FitLeft + frame.Overscan;
  const float borderY = frame.FitTop + frame.Overscan * DeviceHeight() / std::max(DeviceWidth(), 1);
  controls.LastPointerX = controls.PointerX;
  controls.LastPointerY = controls.PointerY;
  controls.PointerX = static_cast<int>((MouseX() - borderX) / frame.ScaleX);
  controls.PointerY = static_cast<int>((MouseY() - borderY) / frame.ScaleY);
  const int buttonDown = MouseDown(0);
  if (controls.PointerWasDown == 0 && buttonDown) {
    controls.LastPointerX = controls.PointerX;
    controls.LastPointerY = controls.PointerY;
  }
  controls.PointerDown = buttonDown;
  controls.PointerHit = MouseHit(0);
  for (int i = 0; i < kTouchSlots; ++i) {
    controls.TouchOn[i] = 0;
    controls.TouchPosX[i] = controls.TouchPosY[i] = kNoArg;
    if (!TouchDown(i)) continue;
    controls.TouchOn[i] = 1;
    controls.TouchPosX[i] = static_cast<int>((TouchX(i) - borderX) / frame.ScaleX);
    controls.TouchPosY[i] = static_cast<int>((TouchY(i) - borderY) / frame.ScaleY);
    controls.PointerDown = 1;
  }
  controls.PointerWasDown = buttonDown;
  if (controls.PointerDown == 0) controls.PointerActive = 0;
}

bool MyApp::AnyPlayKeyHeld() {
  for (int key : kLatchKeys)
    if (PlayKeyAll(key, 0)) return true;
  return false;
}

void MyApp::UpdateKeyLatch() {
  if (!AnyPlayKeyHeld()) {
    controls.KeyLatch = 0;
  } else if (controls.KeyLatch == 0 && controls.PointerActive == 0 &&
             screens.ScreenMode == ModeMenu &&
             (menu.CreditsOpen || menu.OptionsOpen || menu.SidePanelOpen)) {
    if (PlayKeyAll(kGameBack, 0)) {
      menu.CreditsOpen = menu.SidePanelOpen = 0;
      controls.KeyLatch = controls.PointerActive = 1;
    }
  }
  if (menu.OptionsOpen == 1) controls.KeyLatch = controls.PointerActive = 1;
}

void MyApp::RunScreen() {
  switch (screens.ScreenMode) {
    case ModeMenu:
      Menu();
      break;
    case ModeLoadMenu:
      LoadMenu();
      PlaySFX(sfx::kStartJingle);
      screens.ScreenMode = ModeMenu;
      break;
    case ModeOuyaQuit:
      OuyaQuit();
      break;
    case ModeInGame:
      if (!pause.Paused && level.Game()) SelectNextLevel();
      InGame();
      break;
    case ModeLoadGame:
      LoadGame();
      break;
    default:
      break;
  }
  // Once per update: the update that leaves the play screen for the menu must not also
  // start the menu's fade (the overlay would be drawn twice and fade a step early).
  if (screens.ScreenMode == ModeInGame && play.GameOverTimer > 0)
    GameOver();
  else if (screens.ScreenMode == ModeMenu || screens.ScreenMode == ModeLoadMenu)
    GameOver();
  if (screens.ScreenMode == ModeMenu && (menu.CreditsOpen == 1 || menu.CreditsSlide > 0))
    CreditBox();
  StepSlide(menu.CreditsOpen, menu.CreditsSlide);
  if (menu.OptionsOpen == 1 || menu.OptionsSlide > 0) {
    OptionBox();
    StepSlide(menu.OptionsOpen, menu.OptionsSlide);
  }
  SlidePanels();
}

void MyApp::SlidePanels() {
  if (menu.SidePanelOpen == 0 && menu.SidePanelWidth > 0) {
    menu.SidePanelWidth -= menu.SidePanelWidth / kSidePanelEase;
    if (menu.SidePanelWidth < kSidePanelSnap) menu.SidePanelWidth = 0;
  }
  if (menu.SidePanelOpen == 1) {
    const float target = frame.ScreenWidth - kSidePanelMargin;
    if (menu.SidePanelWidth < target) {
      menu.SidePanelWidth += (target - menu.SidePanelWidth) / kSidePanelEase;
      if (target - menu.SidePanelWidth < kSidePanelSnap) menu.SidePanelWidth = target;
    }
  }
}

void MyApp::DrawDebugOverlay() {
  frame.ResetDraw();
  const float y = platform.tilt ? frame.ScreenHeight / 2 : frame.ScreenHeight - 16;
  frame.Text(16, y,
             String::FromInt(frame.rates.SmoothRenderRate) + ":" + String::FromFloat(frame.ScaleX) +
                 "," + String::FromFloat(frame.ScaleY));
}

void MyApp::ClearPadKeys() {
  std::fill_n(controls.PadKeys.begin(), kPadKeysReleased, 0);
}

// A running level comes back paused with the pause panel open; other screens unpaused.
void MyApp::ComeBackPaused() {
  if (screens.ScreenMode < ModeInGame) {
    pause.Paused = pause.PauseDir = pause.PauseY = 0;
  } else {
    pause.Paused = 1;
    pause.PauseDir = 1;
    pause.PauseY = HalfScreenHeight(frame);
  }
}

void MyApp::OnSuspend() {
  DisableKeyboard();
  controls.ICade = 0;
  ClearPadKeys();
  ComeBackPaused();
  SetUpdateRate(kSuspendedUpdateRate);
  Save();
}

void MyApp::OnResume() {
  ComeBackPaused();
  SetUpdateRate(kUpdateRate);
  DisableKeyboard();
  controls.ICade = 0;
  ClearPadKeys();
}

void MyApp::LoadGame() {
  pause.Paused = 0;
  play.Lives = kStartLives;
  play.ExitState = 0;
  play.LevelIntro = kLevelIntroUpdates;
  play.Score = 0;
  play.GameOverTimer = 0;
  pause.GameOverFrame = 0;
  screens.ScreenMode = ModeInGame;
  play.CamX = play.CamTargetX = play.CamY = play.CamTargetY = 0;
  world.MaxBads = std::min(world.Level < 8 ? world.Level / 7 + 2 : world.Level / 7 + 3, kMostBads);
  world.MaxWeaps = std::min(world.Level / 5 + 2, kMostWeaps);
  play.ResetStars(frame, 100);
  play.ResetParticles(particle::kDefaultCount);
  level.ResetPlayers();
  // After the clearing: a cleared entry would name object record 0 as the orbiting ball's.
  play.Player[player::kOrbitRecord] = -1.0f;
  level.BuildWorld();
  PlaySFX(sfx::kLevelStart);
}

void MyApp::Save() {
  if (play.Spectating) return;
  const String text = SaveText(save);
  if (screens.DebugMode == 1) kvPrint(text);
  if (save.StateDamaged) {
    KeepDamagedState();
    save.StateDamaged = false;
  }
  // The host writes a new file beside the old one and swaps it in only once complete, so a
  // failed save leaves the previous record intact.
  SaveState(text);
}

void MyApp::Load() {
  const String text = LoadState();
  if (screens.DebugMode == 1) kvPrint(text);
  LoadSaveText(save, text);
  RepairSettings(save, platform.console);
  frame.Overscan = platform.console ? static_cast<float>(save.Settings[kOverscanSetting]) : 0;
}

void MyApp::FileScore() {
  if (!play.Spectating) FileAmongBest(save, world.Level, play.Score, play.ExitState < 0);
}

void MyApp::RequestPause() {
  controls.KeyLatch = 1;
  pause.Paused = 1;
  pause.PauseDir = 1;
  pause.PauseChoice = PauseScreen::kPauseResume;
  PlaySFX(sfx::kConfirm, 1.0f, 0.5f);
}

void MyApp::InGame() {
  frame.ResetDraw();
  menu.MenuIntro = kMenuIntroStart;
  const bool pauseHeld =
      PlayKeyAll(kGameBack, 0) || (platform.console && PlayKeyAll(kOuyaPauseKey, 0));
  if (pauseHeld && pause.Paused == 0 && controls.KeyLatch == 0) RequestPause();
  if (!play.HudHidden) {
    if (frame.ControlStyle != kControlPointer) frame.Alpha(kPauseIconDimAlpha);
    const bool touched = controls.Button(frame, kPauseIconSlot, kPauseIconPos, kPauseIconPos, 0);
    if (touched && pause.Paused == 0 && controls.KeyLatch == 0) {
      controls.PointerActive = 1;
      RequestPause();
    }
    frame.Alpha(1.0f);
  }
  if (pause.Paused == 1) PauseMenu();
}
