// The screen flow: the game's start, the per-update dispatch between screens, starting a
// level, pausing it, and when the save record is written and read.
#include <cmath>

#include "audio/audio.h"
#include "game/core/app.h"
#include "game/core/globals.h"
#include "game/core/records.h"
#include "game/frame/controls.h"
#include "game/frame/frame.h"
#include "game/frame/game_audio.h"
#include "game/frame/game_io.h"
#include "game/frame/sound_table.h"
#include "game/play/level.h"
#include "game/play/play.h"
#include "game/report/visit_report.h"
#include "game/save/save.h"
#include "game/screens/screens.h"
#include "game/world/world_map.h"
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

void ReadFunctionKeys(const Platform& platform, Controls& controls, Play& play, Screens& screens) {
  controls.PadKeys[kPadBackEntry] =
      platform.console ? (KeyHit(kOuyaBackKey) ? 1 : 0) : KeyHit(key::kConsoleBack);
  if (KeyHit(key::kF1)) screens.DebugMode = 1 - screens.DebugMode;
  if (KeyHit(key::kF2)) play.HudHidden = 1 - play.HudHidden;
  if (KeyHit(key::kF11)) FullscreenFlip(screens);
  if (KeyHit(key::kF4) || KeyHit(key::kWindowClose)) EndApp();
}

void TrackFrameRate(GameFrame& frame) {
  const int now = Millisecs();
  if (now <= frame.rates.LastMillisecs) return;
  frame.rates.FrameRate = 1000 / (now - frame.rates.LastMillisecs);
  frame.rates.SmoothFrameRate = (frame.rates.SmoothFrameRate * 9 + frame.rates.FrameRate) / 10;
  frame.rates.LastMillisecs = now;
}

void MirrorPointer(const GameFrame& frame, Controls& controls) {
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

bool AnyPlayKeyHeld(const GameIO& io) {
  for (int key : kLatchKeys)
    if (io.PlayKeyAll(key, 0)) return true;
  return false;
}

void UpdateKeyLatch(const GameIO& io, Controls& controls, const Screens& screens,
                    MenuScreen& menu) {
  if (!AnyPlayKeyHeld(io)) {
    controls.KeyLatch = 0;
  } else if (controls.KeyLatch == 0 && controls.PointerActive == 0 &&
             screens.ScreenMode == ModeMenu &&
             (menu.CreditsOpen || menu.OptionsOpen || menu.SidePanelOpen)) {
    if (io.PlayKeyAll(kGameBack, 0)) {
      menu.CreditsOpen = menu.SidePanelOpen = 0;
      controls.KeyLatch = controls.PointerActive = 1;
    }
  }
  if (menu.OptionsOpen == 1) controls.KeyLatch = controls.PointerActive = 1;
}

void SlidePanels(const GameFrame& frame, MenuScreen& menu) {
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

void DrawDebugOverlay(const Platform& platform, GameFrame& frame) {
  frame.ResetDraw();
  const float y = platform.tilt ? frame.ScreenHeight / 2 : frame.ScreenHeight - 16;
  frame.Text(16, y,
             String::FromInt(frame.rates.SmoothRenderRate) + ":" + String::FromFloat(frame.ScaleX) +
                 "," + String::FromFloat(frame.ScaleY));
}

void ClearPadKeys(Controls& controls) {
  std::fill_n(controls.PadKeys.begin(), kPadKeysReleased, 0);
}

// A running level comes back paused with the pause panel open; other screens unpaused.
void ComeBackPaused(const GameFrame& frame, const Screens& screens, PauseScreen& pause) {
  if (screens.ScreenMode < ModeInGame) {
    pause.Paused = pause.PauseDir = pause.PauseY = 0;
  } else {
    pause.Paused = 1;
    pause.PauseDir = 1;
    pause.PauseY = HalfScreenHeight(frame);
  }
}

void RequestPause(GameIO& io, Controls& controls, PauseScreen& pause) {
  controls.KeyLatch = 1;
  pause.Paused = 1;
  pause.PauseDir = 1;
  pause.PauseChoice = PauseScreen::kPauseResume;
  io.PlaySFX(sfx::kConfirm, 1.0f, 0.5f);
}

}  // namespace

void StartScreens(const Platform& platform, GameFrame& frame, GameAudio& audio, Controls& controls,
                  WorldMap& world, Play& play, Screens& screens, MenuScreen& menu,
                  PauseScreen& pause, SaveData& save, VisitReport& report) {
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
  LoadControlsFile(controls);
  frame.Reload();
  world.Level = 2;
  menu.MenuIntro = kMenuIntroStart;
  pause.Paused = 0;
  pause.PauseDir = -1;
  pause.PauseY = kPauseClosedY;
  screens.ToastBadge.fill(0);
  screens.ToastTimer.fill(0);
  std::fill_n(save.BadgeGot.begin(), kBadgesCleared, false);
  ClearPadKeys(controls);
  save.Settings.fill(0);
  save.Settings[kSoundModeSetting] = 1;
  std::fill_n(save.LevelRecords.begin(), kLevelRecordsCleared + 1, 0);
  LoadProgress(platform, frame, screens, save);
  for (int i = 0; i < kChannelIds; ++i) audio.ChannelIds[i] = i;
}

void ComeBackFromAway(const GameFrame& frame, Controls& controls, const Screens& screens,
                      PauseScreen& pause) {
  DisableKeyboard();
  controls.ICade = 0;
  ClearPadKeys(controls);
  ComeBackPaused(frame, screens, pause);
}

void LoadGame(const GameFrame& frame, GameIO& io, WorldMap& world, Play& play, Level& level,
              Screens& screens, PauseScreen& pause) {
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
  io.PlaySFX(sfx::kLevelStart);
}

void SaveProgress(const Play& play, const Screens& screens, SaveData& save) {
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

void LoadProgress(const Platform& platform, GameFrame& frame, const Screens& screens,
                  SaveData& save) {
  const String text = LoadState();
  if (screens.DebugMode == 1) kvPrint(text);
  LoadSaveText(save, text);
  RepairSettings(save, platform.console);
  frame.Overscan = platform.console ? static_cast<float>(save.Settings[kOverscanSetting]) : 0;
}

void FileScore(const WorldMap& world, const Play& play, SaveData& save) {
  if (!play.Spectating) FileAmongBest(save, world.Level, play.Score, play.ExitState < 0);
}

namespace {

void InGame(const Platform& platform, GameFrame& frame, GameIO& io, Controls& controls,
            const WorldMap& world, Play& play, const Screens& screens, MenuScreen& menu,
            PauseScreen& pause, SaveData& save) {
  frame.ResetDraw();
  menu.MenuIntro = kMenuIntroStart;
  const bool pauseHeld =
      io.PlayKeyAll(kGameBack, 0) || (platform.console && io.PlayKeyAll(kOuyaPauseKey, 0));
  if (pauseHeld && pause.Paused == 0 && controls.KeyLatch == 0) RequestPause(io, controls, pause);
  if (!play.HudHidden) {
    if (frame.ControlStyle != kControlPointer) frame.Alpha(kPauseIconDimAlpha);
    const bool touched = controls.Button(frame, kPauseIconSlot, kPauseIconPos, kPauseIconPos, 0);
    if (touched && pause.Paused == 0 && controls.KeyLatch == 0) {
      controls.PointerActive = 1;
      RequestPause(io, controls, pause);
    }
    frame.Alpha(1.0f);
  }
  if (pause.Paused == 1)
    PauseMenu(platform, frame, io, controls, world, play, screens, menu, pause, save);
}

void RunScreen(const Platform& platform, GameFrame& frame, GameIO& io, Controls& controls,
               WorldMap& world, Play& play, Level& level, Screens& screens, MenuScreen& menu,
               PauseScreen& pause, SaveData& save, const VisitReport& report) {
  switch (screens.ScreenMode) {
    case ModeMenu:
      Menu(platform, frame, io, controls, world, play, screens, menu, save);
      break;
    case ModeLoadMenu:
      LoadMenu(world, play, screens, save);
      io.PlaySFX(sfx::kStartJingle);
      screens.ScreenMode = ModeMenu;
      break;
    case ModeOuyaQuit:
      OuyaQuit(frame, io, controls, screens);
      break;
    case ModeInGame:
      if (!pause.Paused && level.Game()) SelectNextLevel(menu);
      InGame(platform, frame, io, controls, world, play, screens, menu, pause, save);
      break;
    case ModeLoadGame:
      LoadGame(frame, io, world, play, level, screens, pause);
      break;
    default:
      break;
  }
  // Once per update: the update that leaves the play screen for the menu must not also
  // start the menu's fade (the overlay would be drawn twice and fade a step early).
  if (screens.ScreenMode == ModeInGame && play.GameOverTimer > 0)
    GameOver(platform, frame, io, controls, world, play, screens, pause, save);
  else if (screens.ScreenMode == ModeMenu || screens.ScreenMode == ModeLoadMenu)
    GameOver(platform, frame, io, controls, world, play, screens, pause, save);
  if (screens.ScreenMode == ModeMenu && (menu.CreditsOpen == 1 || menu.CreditsSlide > 0))
    CreditBox(frame, io, controls, screens, menu, report);
  StepSlide(menu.CreditsOpen, menu.CreditsSlide);
  if (menu.OptionsOpen == 1 || menu.OptionsSlide > 0) {
    OptionBox(platform, frame, io, controls, play, screens, menu, pause, save);
    StepSlide(menu.OptionsOpen, menu.OptionsSlide);
  }
  SlidePanels(frame, menu);
}

}  // namespace

void UpdateScreens(const Platform& platform, GameFrame& frame, GameIO& io, GameAudio& audio,
                   Controls& controls, WorldMap& world, Play& play, Level& level, Screens& screens,
                   MenuScreen& menu, PauseScreen& pause, SaveData& save,
                   const VisitReport& report) {
  ReadFunctionKeys(platform, controls, play, screens);
  UpdateAsyncEvents();
  if (platform.musicStream && audio.MusicPlaying == 1) {
    if (pause.Paused) {
      PauseMusic();
    } else {
      ResumeMusic();
    }
  }
  TrackFrameRate(frame);
  MirrorPointer(frame, controls);
  UpdateKeyLatch(io, controls, screens, menu);
  if (frame.LoadStep == 0)
    RunScreen(platform, frame, io, controls, world, play, level, screens, menu, pause, save,
              report);
  if (frame.LoadStep > 0) frame.Loader(audio, save.Settings[kSoundModeSetting]);
  UpdateControls(platform, frame, controls, screens, pause, save);
  if (screens.DebugMode == 1) DrawDebugOverlay(platform, frame);
  screens.ShowBadges(frame);
}
