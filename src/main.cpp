// The composition root: the desktop host runs the game, whose start hooks it is handed here
// so that the host never depends on the game.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "game/core/app.h"
#include "game/core/records.h"
#include "game/my_app.h"
#include "game/runs/window_runs.h"
#include "host/glfw_game.h"
#ifdef __EMSCRIPTEN__
#include "host/web_game.h"
#endif

namespace {

// The game with what the command line asks of it: the level to start in and the runs the
// window shows or records. A run file that cannot be used ends the program before its window
// opens.
void CreateGame(const LaunchOptions& options) {
  std::unique_ptr<WindowRuns> runs;
  std::string message;
  if (!PrepareWindowRuns(options, runs, message)) {
    std::fprintf(stderr, "zorvane: %s\n", message.c_str());
    std::exit(kExitRunFile);
  }
  auto* game = new MyApp();  // lives as long as the process
  game->screens.LaunchLevel = options.level;
  if (runs) game->AttachTap(std::move(runs));
}

}  // namespace

int main(int argc, char** argv) {
  const KvStartHooks hooks{
      .initGlobals = kvInit, .createApp = CreateGame, .lastLevel = world::kLevels};
#ifdef __EMSCRIPTEN__
  // A page has no command line.
  (void)argc;
  (void)argv;
  return KvWebGame::Main(hooks);
#else
  return KvBriskoGame::Main(argc, argv, hooks);
#endif
}
