// Creation, suspend and resume, and the per-update dispatch between screens.
#include <cmath>

#include "audio/audio.h"
#include "game/globals.h"
#include "game/my_app.h"
#include "game/records.h"
#include "game/sound_table.h"
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
constexpr int kPadKeysCleared = 19;
constexpr int kPauseIconSlot = 97;
constexpr float kPauseIconPos = 16.0f;
constexpr float kPauseIconDimAlpha = 0.2f;
constexpr int kControlPointer = 2;
constexpr int kOuyaPauseKey = 13;
constexpr int kLatchKeys[] = {kGameUp,     kGameLeft,  kGameRight, kGameDown, kGameA,
                              kGameB,      kGameX,     kGameY,     kGameL1,   kGameR1,
                              key::kShift, key::kCtrl, kGameBack};

int HalfScreenHeight() {
  return static_cast<int>(jscrh * 0.5f);
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
  FitScreen(kDesignWidth, kDesignHeight);
}

MyApp::~MyApp() {
  DiscardImages();
  DiscardSounds();
}

void kvInit() {
  _game = KvGame::_game;
  _updateRate = 0;
  _devWidth = _devHeight = 0;
  _displayModes.clear();
  _desktopMode = {};
  InitGameGlobals();
}

void kvMain() {
  new MyApp();
}

void MyApp::OnCreate() {
  if (isOuya == 1) {
    overscan = 64.0f;
    ControlStyle = 1;
  }
  // The command line may have opened the first window full screen.
  Fullscreen = _game && _game->WindowFullscreen() ? 1 : 0;
  LogoSoundDone = 0;
  ResetStars(100);
  MenuLevel = kMenuStartLevel;
  MenuScroll = kMenuStartScroll;
  SendVisitReport();
  ScreenMode = ModeMenu;
  SetUpdateRate(kUpdateRate);
  LastDevWidth = DeviceWidth();
  LastDevHeight = DeviceHeight();
  FitScreen(static_cast<float>(LastDevWidth), static_cast<float>(LastDevHeight));
  TiltZeroX = TiltZeroY = 0;
  Reload();
  Level = 2;
  MenuIntro = kMenuIntroStart;
  Paused = 0;
  PauseDir = -1;
  PauseY = kPauseClosedY;
  ToastBadge.fill(0);
  ToastTimer.fill(0);
  std::fill_n(save.BadgeGot.begin(), kBadgesCleared, false);
  std::fill_n(PadKeys.begin(), kPadKeysCleared, 0);
  save.Settings.fill(0);
  save.Settings[kSoundModeSetting] = 1;
  std::fill_n(save.LevelRecords.begin(), kLevelRecordsCleared + 1, 0);
  Load();
  for (int i = 0; i < kChannelIds; ++i) ChannelIds[i] = i;
}

void MyApp::OnUpdate() {
  ReadFunctionKeys();
  UpdateAsyncEvents();
  if (HasMusicStream == 1 && MusicPlaying == 1) {
    if (Paused) {
      PauseMusic();
    } else {
      ResumeMusic();
    }
  }
  TrackFrameRate();
  MirrorPointer();
  UpdateKeyLatch();
  if (LoadStep == 0) RunScreen();
  if (LoadStep > 0) Loader();
  UpdateControls();
  if (DebugMode == 1) DrawDebugOverlay();
  ShowBadges();
}

void MyApp::ReadFunctionKeys() {
  PadKeys[kPadBackEntry] = isOuya ? (KeyHit(kOuyaBackKey) ? 1 : 0) : KeyHit(key::kConsoleBack);
  if (KeyHit(key::kF1)) DebugMode = 1 - DebugMode;
  if (KeyHit(key::kF2)) HudHidden = 1 - HudHidden;
  if (KeyHit(key::kF11)) FullscreenFlip();
  if (KeyHit(key::kF4) || KeyHit(key::kWindowClose)) EndApp();
}

void MyApp::TrackFrameRate() {
  const int now = Millisecs();
  if (now <= LastMillisecs) return;
  FrameRate = 1000 / (now - LastMillisecs);
  SmoothFrameRate = (SmoothFrameRate * 9 + FrameRate) / 10;
  LastMillisecs = now;
}

void MyApp::MirrorPointer() {
  const float borderX = FitLeft + overscan;
  const float borderY = FitTop + overscan * DeviceHeight() / std::max(DeviceWidth(), 1);
  LastPointerX = PointerX;
  LastPointerY = PointerY;
  PointerX = static_cast<int>((MouseX() - borderX) / ScaleX);
  PointerY = static_cast<int>((MouseY() - borderY) / ScaleY);
  const int buttonDown = MouseDown(0);
  if (PointerWasDown == 0 && buttonDown) {
    LastPointerX = PointerX;
    LastPointerY = PointerY;
  }
  PointerDown = buttonDown;
  PointerHit = MouseHit(0);
  for (int i = 0; i < kTouchSlots; ++i) {
    TouchOn[i] = 0;
    TouchPosX[i] = TouchPosY[i] = kNoArg;
    if (!TouchDown(i)) continue;
    TouchOn[i] = 1;
    TouchPosX[i] = static_cast<int>((TouchX(i) - borderX) / ScaleX);
    TouchPosY[i] = static_cast<int>((TouchY(i) - borderY) / ScaleY);
    PointerDown = 1;
  }
  PointerWasDown = buttonDown;
  if (PointerDown == 0) PointerActive = 0;
}

bool MyApp::AnyPlayKeyHeld() {
  for (int key : kLatchKeys)
    if (PlayKeyAll(key, 0)) return true;
  return false;
}

void MyApp::UpdateKeyLatch() {
  if (!AnyPlayKeyHeld()) {
    KeyLatch = 0;
  } else if (KeyLatch == 0 && PointerActive == 0 && ScreenMode == ModeMenu &&
             (CreditsOpen || OptionsOpen || SidePanelOpen)) {
    if (PlayKeyAll(kGameBack, 0)) {
      CreditsOpen = SidePanelOpen = 0;
      KeyLatch = PointerActive = 1;
    }
  }
  if (OptionsOpen == 1) KeyLatch = PointerActive = 1;
}

void MyApp::RunScreen() {
  switch (ScreenMode) {
    case ModeMenu:
      Menu();
      break;
    case ModeLoadMenu:
      LoadMenu();
      PlaySFX(sfx::kStartJingle);
      ScreenMode = ModeMenu;
      break;
    case ModeOuyaQuit:
      OuyaQuit();
      break;
    case ModeInGame:
      if (!Paused && Game()) SelectNextLevel();
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
  if (ScreenMode == ModeInGame && GameOverTimer > 0)
    GameOver();
  else if (ScreenMode == ModeMenu || ScreenMode == ModeLoadMenu)
    GameOver();
  if (ScreenMode == ModeMenu && (CreditsOpen == 1 || CreditsSlide > 0)) CreditBox();
  StepSlide(CreditsOpen, CreditsSlide);
  if (OptionsOpen == 1 || OptionsSlide > 0) {
    OptionBox();
    StepSlide(OptionsOpen, OptionsSlide);
  }
  SlidePanels();
}

void MyApp::SlidePanels() {
  if (SidePanelOpen == 0 && SidePanelWidth > 0) {
    SidePanelWidth -= SidePanelWidth / kSidePanelEase;
    if (SidePanelWidth < kSidePanelSnap) SidePanelWidth = 0;
  }
  if (SidePanelOpen == 1) {
    const float target = jscrw - kSidePanelMargin;
    if (SidePanelWidth < target) {
      SidePanelWidth += (target - SidePanelWidth) / kSidePanelEase;
      if (target - SidePanelWidth < kSidePanelSnap) SidePanelWidth = target;
    }
  }
}

void MyApp::DrawDebugOverlay() {
  ResetDraw();
  const float y = AccelerometerControls == 1 ? jscrh / 2 : jscrh - 16;
  Text(16, y,
       String::FromInt(SmoothRenderRate) + ":" + String::FromFloat(ScaleX) + "," +
           String::FromFloat(ScaleY));
}

void MyApp::ClearPadKeys() {
  std::fill_n(PadKeys.begin(), kPadKeysCleared, 0);
}

// A running level comes back paused with the pause panel open; other screens unpaused.
void MyApp::ComeBackPaused() {
  if (ScreenMode < ModeInGame) {
    Paused = PauseDir = PauseY = 0;
  } else {
    Paused = 1;
    PauseDir = 1;
    PauseY = HalfScreenHeight();
  }
}

void MyApp::OnSuspend() {
  DisableKeyboard();
  iCadeControls = 0;
  ClearPadKeys();
  ComeBackPaused();
  SetUpdateRate(kSuspendedUpdateRate);
  Save();
}

void MyApp::OnResume() {
  ComeBackPaused();
  SetUpdateRate(kUpdateRate);
  DisableKeyboard();
  iCadeControls = 0;
  ClearPadKeys();
}

void MyApp::LoadGame() {
  Paused = 0;
  Lives = kStartLives;
  ExitState = 0;
  LevelIntro = kLevelIntroUpdates;
  Score = 0;
  GameOverTimer = 0;
  GameOverFrame = 0;
  ScreenMode = ModeInGame;
  CamX = CamTargetX = CamY = CamTargetY = 0;
  MaxBads = std::min(Level < 8 ? Level / 7 + 2 : Level / 7 + 3, kMostBads);
  MaxWeaps = std::min(Level / 5 + 2, kMostWeaps);
  ResetStars(100);
  ResetParticles(particle::kDefaultCount);
  ResetPlayers();
  // After the clearing: a cleared entry would name object record 0 as the orbiting ball's.
  Player[player::kOrbitRecord] = -1.0f;
  BuildWorld();
  PlaySFX(sfx::kLevelStart);
}

void MyApp::Save() {
  if (Spectating) return;
  const String text = SaveText(save);
  if (DebugMode == 1) kvPrint(text);
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
  if (DebugMode == 1) kvPrint(text);
  LoadSaveText(save, text);
  RepairSettings(save, isOuya == 1);
  overscan = isOuya == 1 ? static_cast<float>(save.Settings[kOverscanSetting]) : 0;
}

void MyApp::FileScore() {
  if (!Spectating) FileAmongBest(save, Level, Score, ExitState < 0);
}

void MyApp::RequestPause() {
  KeyLatch = 1;
  Paused = 1;
  PauseDir = 1;
  PauseChoice = kPauseResume;
  PlaySFX(sfx::kConfirm, 1.0f, 0.5f);
}

void MyApp::InGame() {
  ResetDraw();
  MenuIntro = kMenuIntroStart;
  const bool pauseHeld = PlayKeyAll(kGameBack, 0) || (isOuya == 1 && PlayKeyAll(kOuyaPauseKey, 0));
  if (pauseHeld && Paused == 0 && KeyLatch == 0) RequestPause();
  if (!HudHidden) {
    if (ControlStyle != kControlPointer) Alpha(kPauseIconDimAlpha);
    const bool touched = Button(kPauseIconSlot, kPauseIconPos, kPauseIconPos, 0);
    if (touched && Paused == 0 && KeyLatch == 0) {
      PointerActive = 1;
      RequestPause();
    }
    Alpha(1.0f);
  }
  if (Paused == 1) PauseMenu();
}
