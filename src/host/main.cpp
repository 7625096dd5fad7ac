// The program's entry: start the window library, give every global its start value,
// create the game and run the frame loop.
#include <clocale>
#include <cstdio>

#include "base/runtime.h"
#include "game/app.h"
#include "host/files.h"
#include "host/glfw_game.h"
#include "host/signals.h"

int KvBriskoGame::Main(int, char**) {
  OpenClosedStandardDescriptors();
  if (!glfw2::Init()) {
    std::puts("glfwInit failed");
    kvWarn("cannot open a window: " + WindowFailureReason());
    kvExit(kExitError);
  }
  auto* host = new KvBriskoGame();
  InstallSignalHandlers();
  if (!std::setlocale(LC_CTYPE, "en_US.UTF-8")) std::setlocale(LC_CTYPE, "");
  kvInit();
  kvMain();
  if (host->Delegate()) host->Run();
  glfw2::Terminate();
  return 0;
}

int main(int argc, char** argv) {
  return KvBriskoGame::Main(argc, argv);
}
