// The game as the framework sees it: the composition that owns one of each component and answers
// the framework's callbacks by handing the screens the components.
#pragma once

#include "game/core/app.h"
#include "game/frame/controls.h"
#include "game/frame/frame.h"
#include "game/frame/game_audio.h"
#include "game/frame/game_io.h"
#include "game/play/level.h"
#include "game/play/play.h"
#include "game/report/visit_report.h"
#include "game/save/save.h"
#include "game/screens/screens.h"
#include "game/world/world_map.h"

class MyApp : public App {
 public:
  MyApp();
  // Frees what the game loaded; the process itself never destroys its one MyApp.
  ~MyApp() override;

  // ---- The components ----
  Platform platform;
  GameFrame frame;
  GameAudio audio;
  Controls controls;
  WorldMap world;
  Play play;
  Screens screens;
  MenuScreen menu;
  PauseScreen pause;
  SaveData save;
  VisitReport report;
  // The sound calls and keys under the player's settings.
  GameIO io{audio, controls, save.Settings[kSoundModeSetting], platform};
  // The level in play, over the components above.
  Level level{play, world, frame, controls, io, platform, screens.DebugMode};

  // ---- The framework's callbacks: the start, each update and frame, suspend and resume ----
  void OnCreate() override;
  void OnUpdate() override;
  void OnRender() override;
  bool FrameUnchanged() override;
  void OnSuspend() override;
  void OnResume() override;
};
