// The program's start: the command line, the window library, the fatal-signal handlers and the
// locale, then the program's own start hooks, then the frame loop.
#include <clocale>
#include <cstdio>
#include <new>

#include "base/runtime.h"
#include "host/files.h"
#include "host/gamepad_mappings.h"
#include "host/glfw_game.h"
#include "host/launch_options.h"
#include "host/signals.h"

namespace {

int Start(int argc, char** argv, const KvStartHooks& hooks) {
  OpenClosedStandardDescriptors();
  LaunchOptions options;
  options.lastLevel = hooks.lastLevel;
  if (const int status = ReadLaunchOptions(argc, argv, options); status >= 0) return status;
  if (!glfw2::Init()) {
    std::puts("glfwInit failed");
    kvWarn("cannot open a window: " + WindowFailureReason());
    kvExit(kExitError);
  }
  LoadGamepadMappings();
  auto* host = new KvBriskoGame();
  host->startFullscreen = options.fullscreen;
  host->windowChosen = options.windowChosen;
  InstallSignalHandlers();
  if (!std::setlocale(LC_CTYPE, "en_US.UTF-8")) std::setlocale(LC_CTYPE, "");
  hooks.initGlobals();
  hooks.createApp(options);
  const int status = host->Delegate() ? host->Run() : kExitQuit;
  glfw2::Terminate();
  return status;
}

}  // namespace

int KvBriskoGame::Main(int argc, char** argv, const KvStartHooks& hooks) {
  try {
    return Start(argc, argv, hooks);
  } catch (const std::bad_alloc&) {
    kvOutOfMemory();
  }
}
