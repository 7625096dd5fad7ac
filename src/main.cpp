// The composition root: the desktop host runs the game, whose start hooks it is handed here
// so that the host never depends on the game.
#include "game/app.h"
#include "game/globals.h"
#include "host/glfw_game.h"

namespace {

// What the command line asks of the game itself.
void Launch(const LaunchOptions& options) {
  LaunchLevel = options.level;
}

}  // namespace

int main(int argc, char** argv) {
  return KvBriskoGame::Main(argc, argv,
                            {.initGlobals = kvInit, .createApp = kvMain, .launch = Launch});
}
