// The composition root: the desktop host runs the game, whose start hooks it is handed here
// so that the host never depends on the game.
#include <cstdio>
#include <string>

#include "game/app.h"
#include "game/run_options.h"
#include "game/window_runs.h"
#include "host/glfw_game.h"

namespace {
constexpr int kExitUsage = 2;
constexpr int kExitBadFile = 1;
}  // namespace

int main(int argc, char** argv) {
  GameOptions options;
  std::string message;
  if (!ParseGameOptions(argc, argv, options, message)) {
    std::fprintf(stderr, "zorvane: %s\n%s", message.c_str(), GameUsage().c_str());
    return kExitUsage;
  }
  if (!PrepareWindowRuns(options, message)) {
    std::fprintf(stderr, "zorvane: %s\n", message.c_str());
    return kExitBadFile;
  }
  return KvBriskoGame::Main(argc, argv, {.initGlobals = kvInit, .createApp = CreateAppWithRuns});
}
