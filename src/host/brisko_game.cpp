// The program's start: the window library, the fatal-signal handlers and the locale, then the
// program's own start hooks, then the frame loop.
#include <clocale>
#include <cstdio>

#include "base/runtime.h"
#include "host/files.h"
#include "host/glfw_game.h"
#include "host/signals.h"

int KvBriskoGame::Main(int, char**, const KvStartHooks& hooks) {
  OpenClosedStandardDescriptors();
  if (!glfw2::Init()) {
    std::puts("glfwInit failed");
    kvWarn("cannot open a window: " + WindowFailureReason());
    kvExit(kExitError);
  }
  auto* host = new KvBriskoGame();
  InstallSignalHandlers();
  if (!std::setlocale(LC_CTYPE, "en_US.UTF-8")) std::setlocale(LC_CTYPE, "");
  hooks.initGlobals();
  hooks.createApp();
  if (host->Delegate()) host->Run();
  glfw2::Terminate();
  return 0;
}
