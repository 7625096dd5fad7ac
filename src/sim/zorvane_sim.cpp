// zorvane-sim: the game's levels without a window or sound device (options in sim.h).
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "host/signals.h"
#include "sim/sim.h"

int main(int argc, char** argv) {
  SimOptions options;
  std::string message;
  if (!ParseSimOptions(argc, argv, options, message)) {
    std::fprintf(stderr, "zorvane-sim: %s\n%s\n", message.c_str(), kSimUsage);
    return kSimExitUsage;
  }
  // Standard output carries the simulator's lines alone: what the game itself prints there
  // (its progress lines, the audio layer's notes) is dropped; its warnings still go to
  // standard error.
  std::fflush(stdout);
  const int linesFd = dup(STDOUT_FILENO);
  std::FILE* lines = linesFd < 0 ? nullptr : fdopen(linesFd, "w");
  const int nowhere = open("/dev/null", O_WRONLY);
  if (!lines || nowhere < 0 || dup2(nowhere, STDOUT_FILENO) < 0) {
    std::perror("zorvane-sim: standard output");
    return kSimExitBadFile;
  }
  // Trace lines come by the hundred thousand: one large buffer, written in blocks.
  static char buffer[1 << 16];
  std::setvbuf(lines, buffer, _IOFBF, sizeof buffer);
  InstallStopHandlers();
  const int status = RunSim(options, lines, stderr);
  return std::fclose(lines) == 0 ? status : kSimExitBadFile;
}
