// The screens: which screen is up and the state of each (the menu with its wheel, options and
// side panel; pause with its line toy, and game over; credits; badge notifications).
// May use: core, frame, world, play, save.
#pragma once

#include <array>

#include "base/string.h"

struct GameFrame;

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
    kRowCredits = 4
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
