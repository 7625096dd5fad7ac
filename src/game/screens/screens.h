// The screens: which screen is up and the state of each (the menu with its wheel, options and
// side panel; pause with its line toy, and game over; credits; badge notifications).
// May use: core, frame, world, play, save, report.
#pragma once

#include <array>

#include "base/string.h"

struct Platform;
struct GameFrame;
class GameIO;
struct GameAudio;
struct Controls;
struct WorldMap;
struct Play;
class Level;
struct SaveData;
struct VisitReport;

// Screen modes served by each update while no assets are loading.
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

constexpr int kToastSlots = 15;
constexpr int kToyTrailFloats = 512;

struct Screens {
  // Draws and ages the badge notifications, slot 0 lowest; run last on every screen.
  void ShowBadges(GameFrame& frame);

  static constexpr int kToastSlotsShown = 13;  // slots 13 and 14 are never shown
  static constexpr int kToastLife = 241;       // updates a notification is shown

  int ScreenMode = 0;
  // The level (from 1) the command line asked to start in, 0 for none; the menu takes it once.
  int LaunchLevel = 0;
  // F1's frame-rate overlay.
  int DebugMode = 0;
  int Fullscreen = 0;
  // The credits box's ticker and layout.
  float TickerOffset = 0;
  int TickerLine = 0;  // kept within the scrolled lines
  int CreditsSpread = 0;
  int CreditCols = 0, CreditRows = 0;
  // Badge notifications, slot 0 lowest.
  std::array<int, kToastSlots> ToastBadge{};
  std::array<int, kToastSlots> ToastTimer{};
};

// The name part of a badge's catalogue text ("name|description"); "" for no badge.
const String& BadgeName(int number);

// The level-select menu: the wheel, the hub, the side panel and the options and credits panels
// over it.
struct MenuScreen {
  enum MenuFocusTarget { kFocusHub = 0, kFocusWheel = 1, kFocusSidePanel = 2 };
  enum OptionRowId {
    kRowBack = 0,
    kRowSound = 1,
    kRowICade = 2,
    kRowFullscreen = 3,
    kRowControls = 4,
    kRowItemMarks = 5,
    kRowCredits = 6
  };

  int MenuLevel = 0;
  float MenuScroll = 0;
  int MenuIntro = 0;
  float WheelScroll = 0;  // shown wheel position, easing toward MenuScroll
  float WheelSpin = 0;    // added to MenuScroll each update, -40..40
  int MenuFocus = kFocusWheel;
  float HubAngle = 0;
  int WheelX = 0, WheelY = 0;
  int OptionRow = kRowBack;
  int OptionKeyLatch = 0, OptionTouchLatch = 0;
  // Auto-repeat of Up/Down on the wheel: updates to the next step, and the next delay.
  int WheelRepeatTimer = 0, WheelRepeatDelay = 30;
  // A drag turning the wheel: where the pointer was at the previous update.
  bool WheelDragging = false;
  int DragAnchorX = 0, DragAnchorY = 0;
  int CreditsOpen = 0, OptionsOpen = 0, SidePanelOpen = 0;
  int CreditsSlide = 0;
  int OptionsSlide = 0;
  // The Controls panel over the options: the row (0 back, the actions, then Defaults) and
  // column (the key slots, then the controller's button) selected, and whether it waits for
  // a key (kListenRelease: for the held ones to be let go, kListenPress: for the next press).
  enum ControlsListen { kListenOff = 0, kListenRelease = 1, kListenPress = 2 };
  int ControlsOpen = 0;
  int ControlsRow = 0, ControlsColumn = 0;
  int ControlsListen = kListenOff;
  String ControlsNote;  // what the last key did, or what the panel waits for
  float SidePanelWidth = 0;
};

// The pause panel with its world map and line toy, and the game-over overlay.
struct PauseScreen {
  enum PauseButton { kPauseEndRun = -1, kPauseResume = 0, kPauseOptions = 1 };

  int Paused = 0;
  int PauseDir = 0;
  int PauseY = 0;
  int PauseChoice = kPauseResume;
  int GameOverFrame = 0;
  // The place ScorePlace found on the play screen. Once the menu has filed the score it ties its
  // own entry, so the fading overlay keeps showing this one.
  int GameOverRank = 0;
  float ToyAngle1 = 0, ToyAngle2 = 0, ToyAngle3 = 0;
  float ToySpeed = 25.0f;   // degrees added to ToyAngle2 per update, 0..128
  float ToyRadius = 25.0f;  // the inner arm, 0..the toy's reach
  std::array<float, kToyTrailFloats> ToyTrail{};
  // How many of the newest ToyTrail points have been drawn so far; older ones are not
  // drawn, so a fresh trail does not start from the screen's corner.
  int ToyTrailPoints = 0;
  // The toy's "speed:radius" label, built again only when a shown number changes.
  String ToyLabel;
  int ToyLabelSpeed = -1, ToyLabelRadius = -1;
};

// ---- Screen flow (screen_flow.cpp) ----
// The game's start: the menu first, the settings and records from the state file, the visit
// report sent if allowed.
void StartScreens(const Platform& platform, GameFrame& frame, GameAudio& audio, Controls& controls,
                  WorldMap& world, Play& play, Screens& screens, MenuScreen& menu,
                  PauseScreen& pause, SaveData& save, VisitReport& report);
// One update of the game: the function keys, the screen in front, the loader, the controls,
// the frame-rate overlay and the badge notifications.
void UpdateScreens(const Platform& platform, GameFrame& frame, GameIO& io, GameAudio& audio,
                   Controls& controls, WorldMap& world, Play& play, Level& level, Screens& screens,
                   MenuScreen& menu, PauseScreen& pause, SaveData& save, const VisitReport& report);
// Leaving and coming back to the game (suspend, resume): the keyboard, the iCade and the pad's
// keys let go; a running level comes back paused with the pause panel open, other screens
// unpaused.
void ComeBackFromAway(const GameFrame& frame, Controls& controls, const Screens& screens,
                      PauseScreen& pause);
// Starts world.Level: lives, score and timers, the world built, the start sound.
void LoadGame(const GameFrame& frame, GameIO& io, WorldMap& world, Play& play, Level& level,
              Screens& screens, PauseScreen& pause);
// The save record: when to save and load is the screen flow's. Nothing is saved while a run is
// replayed (spectating).
void SaveProgress(const Play& play, const Screens& screens, SaveData& save);
void LoadProgress(const Platform& platform, GameFrame& frame, const Screens& screens,
                  SaveData& save);
// Files Score among the ten best of Level and marks the level completed when the ship left
// through the exit (the menu calls it on return).
void FileScore(const WorldMap& world, const Play& play, SaveData& save);

// ---- Menu and options (menu.cpp) ----
// One update of the level-select menu.
void Menu(const Platform& platform, GameFrame& frame, GameIO& io, Controls& controls,
          WorldMap& world, Play& play, Screens& screens, MenuScreen& menu, const SaveData& save);
// Files the ended run's score and saves.
void LoadMenu(const WorldMap& world, const Play& play, const Screens& screens, SaveData& save);
// One update of the options panel, over the menu or over the paused game (no Credits row).
void OptionBox(const Platform& platform, GameFrame& frame, GameIO& io, Controls& controls,
               const Play& play, Screens& screens, MenuScreen& menu, const PauseScreen& pause,
               SaveData& save);
// The console's overscan slider at height y: a touch flips it, L1/R1 step it; each acts only
// while its latch is 0 and sets it.
void OverscanSlider(GameFrame& frame, GameIO& io, Controls& controls, const Play& play,
                    const Screens& screens, SaveData& save, float y, int& keyLatch,
                    int& touchLatch);
// Every option latch goes free once the pointer is up and no game key is held.
void ReleaseOptionLatches(const GameIO& io, const Controls& controls, MenuScreen& menu);
// A, B, X, Y, L1 or R1 held by any player: the keys that act on a selected row.
bool ConfirmHeld(const GameIO& io);
// Index of the highest level offered: one past the highest completed, "Final" at most.
int LastOfferedLevel(const SaveData& save);
// Sum of the levels' best scores; 64-bit, since a state file may hold any int per level.
long long TotalBestScore(const SaveData& save);
// Draws the hub decoration (three turning frames); true when a touch lies on its last frame.
bool HubDecoration(GameFrame& frame, Controls& controls, const MenuScreen& menu, float x, float y,
                   float size);
// Starts the selected level: the control style from what the player used, then mode 11.
void StartLevel(GameFrame& frame, const GameIO& io, Controls& controls, WorldMap& world,
                Screens& screens, MenuScreen& menu);
// Selects the level after the one selected, as when it has just been finished.
void SelectNextLevel(MenuScreen& menu);

// ---- Controls panel and file (controls_panel.cpp) ----
// One update of the Controls panel, drawn over the options panel while it is open.
void ControlsPanel(GameFrame& frame, GameIO& io, Controls& controls, MenuScreen& menu);
// The bindings from the controls file (the defaults without one); each damaged line is told.
void LoadControlsFile(Controls& controls);
void SaveControlsFile(const Controls& controls);

// ---- Pause, game over and quit confirmation (pause.cpp) ----
// One update of the pause panel: the world map, the line toy and its three buttons.
void PauseMenu(const Platform& platform, GameFrame& frame, GameIO& io, Controls& controls,
               const WorldMap& world, Play& play, const Screens& screens, MenuScreen& menu,
               PauseScreen& pause, SaveData& save);
// The game-over overlay: counted on the play screen, then fading out on the menu.
void GameOver(const Platform& platform, GameFrame& frame, GameIO& io, Controls& controls,
              const WorldMap& world, const Play& play, Screens& screens, PauseScreen& pause,
              const SaveData& save);
// One update of the console's quit confirmation.
void OuyaQuit(GameFrame& frame, const GameIO& io, Controls& controls, Screens& screens);
// The place Score takes among the best of Level: 1..10, or 0 for none. Ties go after, exactly
// as the score is filed.
int ScorePlace(const WorldMap& world, const Play& play, const SaveData& save);

// ---- Credits (credits.cpp) ----
// One update of the credits box while it is open or sliding out.
void CreditBox(GameFrame& frame, GameIO& io, Controls& controls, Screens& screens, MenuScreen& menu,
               const VisitReport& report);
// The credit lines scroll up by a little each update, faster while Up or Down is held.
void AdvanceTicker(const GameIO& io, Screens& screens);
// Eight credit lines around (x, y), fading toward the ends, at the given alpha.
void DrawTicker(GameFrame& frame, const Screens& screens, float x, float y, float alpha);
// The credit line shown for ticker position `line`: the lines before the final one repeat; -1
// when there are too few lines to scroll.
int TickerLineIndex(long long line, int lineCount);

// ---- Controls on screen (touch_controls.cpp) ----
// The full-screen row and key: the window goes full screen or back.
int FullscreenFlip(Screens& screens);
// The per-update input work after the screens: iCade characters, pad keys, the touch screen's
// pad and tilt.
void UpdateControls(const Platform& platform, GameFrame& frame, Controls& controls,
                    const Screens& screens, const PauseScreen& pause, SaveData& save);
void OnScreenPad(GameFrame& frame, Controls& controls, const PauseScreen& pause, SaveData& save);
void MoveAndResizePad(GameFrame& frame, Controls& controls, SaveData& save);
void TiltControl(GameFrame& frame, Controls& controls);
