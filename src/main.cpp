// The composition root: the desktop host runs the game, whose start hooks it is handed here
// so that the host never depends on the game.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "game/app.h"
#include "game/globals.h"
#include "game/records.h"
#include "game/window_runs.h"
#include "host/glfw_game.h"

namespace {

// What the command line asks of the game itself: the level to start in and the runs the
// window shows or records. A run file that cannot be used ends the program before its window
// opens.
void Launch(const LaunchOptions& options) {
  LaunchLevel = options.level;
  std::string message;
  if (!PrepareWindowRuns(options, message)) {
    std::fprintf(stderr, "zorvane: %s\n", message.c_str());
    std::exit(kExitRunFile);
  }
}

}  // namespace

int main(int argc, char** argv) {
  return KvBriskoGame::Main(argc, argv,
                            {.initGlobals = kvInit,
                             .createApp = CreateAppWithRuns,
                             .launch = Launch,
                             .lastLevel = world::kLevels});
}
