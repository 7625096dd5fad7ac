// The game as the framework sees it: the composition that owns one of each component and answers
// the framework's callbacks. The level's update, the screens and the runs are still its member
// functions, in their components' folders (one section below per file).
#pragma once

#include <array>
#include <string_view>

#include "base/runtime.h"
#include "game/core/app.h"
#include "game/core/records.h"
#include "game/frame/controls.h"
#include "game/frame/frame.h"
#include "game/frame/game_audio.h"
#include "game/play/level.h"
#include "game/play/play.h"
#include "game/report/visit_report.h"
#include "game/save/save.h"
#include "game/screens/screens.h"
#include "game/world/world_map.h"

// Screen modes served by OnUpdate while no assets are loading.
enum ScreenModes {
  ModeMenu = 1,
  ModeLoadMenu = 2,
  ModeOuyaQuit = 4,
  ModeInGame = 10,
  ModeLoadGame = 11,
};

// Updates per second while playing and while the window is out of focus.
constexpr int kUpdateRate = 60;
constexpr int kSuspendedUpdateRate = 5;

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
  // The level in play, over the components above.
  Level level{play,     world,
              frame,    audio,
              controls, save.Settings[kSoundModeSetting],
              platform, screens.DebugMode};

  // ---- Screen flow (my_app.cpp) ----
  void OnCreate() override;
  void OnUpdate() override;
  void OnSuspend() override;
  void OnResume() override;
  void LoadGame();
  void InGame();

  // The frame drawn from the draw list the update left.
  void OnRender() override;

  // ---- Controls (my_app.cpp, screens/touch_controls.cpp) ----
  // The game keys as the controls hold them on this platform (Controls::PlayKey).
  int PlayKey(int key, int analog, int player);
  int PlayKeyAll(int key, int analog);
  // The full-screen row and key: the window goes full screen or back.
  int FullscreenFlip();
  // The per-update input work after the screens: iCade characters, pad
  // keys, the touch screen's pad and tilt.
  void UpdateControls();
  void OnScreenPad();
  void MoveAndResizePad();
  void TiltControl();

  // ---- Sound (my_app.cpp) ----
  // The game's sound calls, under the player's sound setting.
  void PlaySFX(int id, float rate = 1.0f, float volume = 1.0f, float pan = 0.0f);
  void PlayTune(const String& name, int loop);
  void StopTune();

  // ---- Menu and options (menu.cpp) ----
  // One update of the level-select menu.
  void Menu();
  // Files the ended run's score and saves.
  void LoadMenu();
  // One update of the options panel, over the menu or over the paused game (no Credits row).
  void OptionBox();
  // The console's overscan slider at height y: a touch flips it, L1/R1 step it; each acts
  // only while its latch is 0 and sets it.
  void OverscanSlider(float y, int& keyLatch, int& touchLatch);
  // Index of the highest level offered: one past the highest completed, "Final" at most.
  int LastOfferedLevel() const;
  // Sum of the levels' best scores; 64-bit, since a state file may hold any int per level.
  long long TotalBestScore() const;
  // Draws the hub decoration (three turning frames); true when a touch lies on its last frame.
  bool HubDecoration(float x, float y, float size);
  // Starts the selected level: the control style from what the player used, then mode 11.
  void StartLevel();
  // Selects the level after the one selected, as when it has just been finished.
  void SelectNextLevel();

  // ---- Pause, game over and quit confirmation (pause.cpp) ----
  // One update of the pause panel: the world map, the line toy and its three buttons.
  void PauseMenu();
  // The game-over overlay: counted on the play screen, then fading out on the menu.
  void GameOver();
  // One update of the console's quit confirmation.
  void OuyaQuit();
  // The place Score takes among the best of Level: 1..10, or 0 for none. Ties go after,
  // exactly as the score is filed.
  int ScorePlace() const;

  // ---- Save data: when to save and load is the screen flow's ----
  void Save();
  void Load();
  // Files Score among the ten best of Level and marks the level completed when the ship
  // left through the exit (the menu calls it on return).
  void FileScore();

  // ---- Credits (credits.cpp) ----
  // One update of the credits box while it is open or sliding out.
  void CreditBox();
  // The credit lines scroll up by a little each update, faster while Up or Down is held.
  void AdvanceTicker();
  // Eight credit lines around (x, y), fading toward the ends, at the given alpha.
  void DrawTicker(float x, float y, float alpha);
  // The credit line shown for ticker position `line`: the lines before the final one repeat;
  // -1 when there are too few lines to scroll.
  static int TickerLineIndex(long long line, int lineCount);

 private:
  void ReadFunctionKeys();
  void TrackFrameRate();
  void MirrorPointer();
  void UpdateKeyLatch();
  bool AnyPlayKeyHeld();
  void RunScreen();
  void SlidePanels();
  void DrawDebugOverlay();
  void ComeBackPaused();
  void ClearPadKeys();
  void RequestPause();
};
