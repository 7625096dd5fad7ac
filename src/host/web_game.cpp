#include "host/web_game.h"

#include <emscripten.h>

#include "base/runtime.h"
#include "host/launch_options.h"

namespace {

// The page's state folder is mounted on IndexedDB; a save is only kept once it is copied there.
EM_JS(void, SyncSavesToBrowser, (), {
  FS.syncfs(
      false, function(error) {
        if (error) err("zorvane: the browser did not keep the save: " + error);
      });
});

// Losing the focus pauses the game, as on the desktop; a hidden tab gets no frames at all.
EM_JS(int, PageHasFocus, (), { return !document.hidden && document.hasFocus() ? 1 : 0; });

EM_JS(int, PageFullscreen, (), { return document.fullscreenElement ? 1 : 0; });

// The page owns the element that goes full screen (the canvas with its letterbox).
EM_JS(void, AskPageFullscreen, (int on), {
  if (Module.setFullscreen) Module.setFullscreen(on != 0);
});

void RunAnimationFrame(void* host) {
  static_cast<KvWebGame*>(host)->AnimationFrame();
}

const WebPace& HostPace() {
  return static_cast<KvWebGame*>(KvGlfwGame::_glfwGame)->Pace();
}

}  // namespace

// The pace, for the page's console line and the browser test.
extern "C" {
EMSCRIPTEN_KEEPALIVE int zorvane_updates() {
  return HostPace().updates;
}
EMSCRIPTEN_KEEPALIVE int zorvane_frames() {
  return HostPace().frames;
}
EMSCRIPTEN_KEEPALIVE double zorvane_busy_seconds() {
  return HostPace().busySeconds;
}
}

int KvWebGame::Main(const KvStartHooks& hooks) {
  if (!glfw2::Init()) {
    kvWarn("cannot start the window library in this browser");
    return kExitFailure;
  }
  auto* host = new KvWebGame();  // lives as long as the page
  hooks.initGlobals();
  hooks.createApp(LaunchOptions{});
  return host->Delegate() ? host->Run() : kExitQuit;
}

int KvWebGame::SaveState(const String& state) {
  const int result = KvGlfwGame::SaveState(state);
  if (result == 0) SyncSavesToBrowser();
  return result;
}

void KvWebGame::KeepDamagedState() {
  KvGlfwGame::KeepDamagedState();
  SyncSavesToBrowser();
}

// The controls file lives beside the state file, in the browser's storage too.
bool KvWebGame::SaveControls(std::span<const std::string_view> words, std::string_view lines) {
  const bool saved = KvGlfwGame::SaveControls(words, lines);
  if (saved) SyncSavesToBrowser();
  return saved;
}

bool KvWebGame::WindowFullscreen() {
  return PageFullscreen() != 0;
}

// The game only ever flips full screen, and the player may also have switched it through the
// page (its button, the browser's own Escape), which the game does not see: a flip flips what
// the page shows.
void KvWebGame::SetFullscreen(bool) {
  AskPageFullscreen(PageFullscreen() ? 0 : 1);
}

void KvWebGame::SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha,
                              int depth, int stencil, bool fullscreen) {
  if (windowOpen) return;
  windowOpen = true;
  KvGlfwGame::SetGlfwWindow(width, height, red, green, blue, alpha, depth, stencil, fullscreen);
}

void KvWebGame::UpdateGame() {
  if (started && !suspended) ++pace.updates;
  KvGlfwGame::UpdateGame();
}

bool KvWebGame::WindowActive() {
  return PageHasFocus() != 0;
}

int KvWebGame::Run() {
  SetGlfwWindow(kCanvasWidth, kCanvasHeight, 8, 8, 8, 0, 0, 0, false);
  if (windowFailed) return kExitFailure;
  StartGame();
  // Frame rate 0: the browser's animation frames. main never returns (it would end the
  // program); the game ends when it quits, as on the desktop, and the page says so.
  emscripten_set_main_loop_arg(RunAnimationFrame, this, 0, true);
  return kExitQuit;
}

void KvWebGame::AnimationFrame() {
  const double start = Now();
  // Half a period early still counts as due: animation frames at the update rate jitter around
  // the due time, and waiting for the next frame would run two updates in it and none in this.
  if (nextUpdate != 0.0 && !suspended && start < nextUpdate - updatePeriod / 2) return;
  FramePass();
  ++pace.frames;
  pace.busySeconds += Now() - start;
}
