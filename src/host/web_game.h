// The browser host: the page's canvas is the window, the browser's animation frames drive the
// frame loop, and the state folder lives in the browser's IndexedDB.
#pragma once

#include "host/glfw_game.h"

// The canvas's drawing size: the game's 4:3 shape, small enough that the game picks its 1x
// images (the only ones the page downloads); the page scales it to fill the browser window.
constexpr int kCanvasWidth = 624;
constexpr int kCanvasHeight = 468;

// What the page reads to report the game's pace: updates run and the time spent in them and in
// rendering since the game started.
struct WebPace {
  int updates = 0;
  int frames = 0;
  double busySeconds = 0.0;
};

class KvWebGame : public KvGlfwGame {
 public:
  // The program's entry in the browser: starts the game and hands the frame loop to the
  // browser; returns only when the game cannot start.
  static int Main(const KvStartHooks& hooks);

  int SaveState(const String& state) override;
  void KeepDamagedState() override;
  bool SaveControls(std::span<const std::string_view> words, std::string_view lines) override;
  bool WindowFullscreen() override;
  void SetFullscreen(bool on) override;
  // The canvas is opened once; the browser, not the game, sizes what the player sees.
  void SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha, int depth,
                     int stencil, bool fullscreen) override;
  int Run() override;
  void UpdateGame() override;

  // One animation frame: a frame pass when an update is due or nearly so, else nothing, so a
  // display faster than the update rate does not speed the game up.
  void AnimationFrame();

  const WebPace& Pace() const { return pace; }

 protected:
  // The browser paces the loop; nothing may block its thread.
  void SleepFor(double) override {}
  void WaitEvents() override {}
  bool WindowActive() override;
  bool WindowOpened() override { return true; }

 private:
  bool windowOpen = false;
  WebPace pace;
};
