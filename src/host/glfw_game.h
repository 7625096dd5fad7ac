// The desktop host: owns the window, the clock and the fixed-rate frame loop.
#pragma once

#include <optional>
#include <string>

#include "host/glfw2.h"
#include "host/kv_game.h"
#include "host/launch_options.h"
#include "host/window_place.h"

// At most this many updates run in one pass of the frame loop; a longer backlog is dropped.
constexpr int kMaxUpdatesPerPass = 4;
constexpr int kMaxVideoModes = 1024;

class KvGlfwGame : public KvGame {
 public:
  KvGlfwGame();
  ~KvGlfwGame() override;

  static KvGlfwGame* _glfwGame;

  void SetUpdateRate(int hertz) override;
  int Millisecs() override;
  void SetMouseVisible(bool visible) override;
  int GetDeviceWidth() override;
  int GetDeviceHeight() override;
  void SetDeviceWindow(int width, int height, int flags) override;
  std::vector<KvDisplayMode> GetDisplayModes() override;
  KvDisplayMode GetDesktopMode() override;
  void SetSwapInterval(int interval) override;
  bool WindowFullscreen() override { return isFullscreen; }
  // Back from full screen, the window returns to where it was.
  void SetFullscreen(bool on) override;
  // The window's place is kept in the controls file for the next start.
  void KeepWindowPlace() override;
  // Reads joystick slot port through the window library (joystick.cpp).
  bool PollJoystick(int port, JoyAxes& axisX, JoyAxes& axisY, JoyAxes& axisZ,
                    JoyButtons& buttons) override;

  // Closes the current window and opens a new one (a new OpenGL context). A window that cannot
  // be opened is told on standard error, and the program's status says so when it ends.
  virtual void SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha,
                             int depth, int stencil, bool fullscreen);
  virtual KvGlfwVideoMode GetGlfwDesktopMode();
  virtual std::vector<KvGlfwVideoMode> GetGlfwVideoModes();
  // Opens the first window, starts the game and runs the frame loop while the window is open.
  // The program's status: kExitFailure when a window could not be opened.
  virtual int Run();
  // The game's first ask gets the text read for the window's place: the file is read, and an
  // unreadable one told, once at start-up.
  std::string LoadControls() override;

  // The first window fills the desktop, or not, whatever was kept, when the command line chose.
  bool startFullscreen = false;
  bool windowChosen = false;

  // One pass: render, sleep until due, take events, follow the focus, run the due updates.
  void FramePass();

 protected:
  // What the frame loop needs of the platform; tests replace these with a fake clock.
  virtual double Now() { return glfw2::GetTime(); }
  virtual void SleepFor(double seconds) { glfw2::Sleep(seconds); }
  virtual void SwapBuffers() { glfw2::SwapBuffers(); }
  virtual void PollEvents() { glfw2::PollEvents(); }
  virtual void WaitEvents() { glfw2::WaitEvents(); }
  virtual bool WindowActive() { return glfw2::GetWindowParam(glfw2::ACTIVE) != 0; }
  virtual bool WindowOpened() { return glfw2::GetWindowParam(glfw2::OPENED) != 0; }
  // True once after the window was opened or exposed, so the next frame is drawn whole.
  virtual bool WindowDamaged() { return glfw2::TakeWindowDamage(); }

  double updatePeriod = 0.0;
  // Due time of the next update; 0 means the schedule restarts from the current time.
  double nextUpdate = 0.0;
  int swapInterval = -1;
  bool isFullscreen = false;
  bool windowFailed = false;
  // Where the window stands when not full screen: kept while the game is full screen.
  ScreenRect windowed_;
  // The controls file as StartPlace read it, until the game first asks for it.
  std::optional<std::string> startControls;

 private:
  // The first window: as it was kept, on the monitors there are now; else a size that suits the
  // primary monitor.
  WindowPlace StartPlace();
  std::vector<ScreenRect> WorkAreas();
  void OpenWindowed(const ScreenRect& frame, int red, int green, int blue);
  // The windowed window's place, while it is open.
  void RememberWindowed();
  void FollowFocus();
  void RunDueUpdates();
  void ReleaseHeldKeys();
  static void OnKey(int key, int action);
  static void OnChar(int character, int action);
  static void OnMouseButton(int button, int action);
  static void OnMousePos(int x, int y);
  static int OnWindowClose();
};

// What the host calls into the program it runs, once each before the frame loop.
struct KvStartHooks {
  // Every global to its start value.
  void (*initGlobals)();
  // Creates the App for what its command line asked; the App hands the host its delegate,
  // and without one nothing runs. It may end the program before the window opens.
  void (*createApp)(const LaunchOptions& options);
  // The highest level the command line may start in.
  int lastLevel = 1;
};

// The game's host; its Main is the program's entry.
// Why the window library could not start or open a window, in words for the user.
String WindowFailureReason();

class KvBriskoGame : public KvGlfwGame {
 public:
  static int Main(int argc, char** argv, const KvStartHooks& hooks);
};
