// What the game's command line asks for, read through one table of options.
#pragma once

#include <span>
#include <string>

#include "host/command_line.h"

struct LaunchOptions {
  bool help = false;
  bool version = false;
  bool fullscreen = false;
  bool windowChosen = false;  // --fullscreen or --windowed given: it wins over the kept window
  int level = 0;              // 0: start at the menu
  int lastLevel = 0;          // the highest level --level takes; the game sets it before reading
  // Runs, which the game takes over: append every level played to recordPath, show the runs of
  // replayPath, or let the autopilot play.
  std::string recordPath;
  std::string replayPath;
  bool demo = false;
};

// The game's options, one row each.
std::span<const OptionRow<LaunchOptions>> LaunchOptionTable();

constexpr int kExitUsage = 2;

// The version the build was made from, as "zorvane X.Y.Z".
const char* ProgramVersion();

// Reads the command line. --help and --version print and give their status (0); a command line
// the table cannot read gives a usage line on standard error and kExitUsage. Returns -1 when
// the game should run.
int ReadLaunchOptions(int argc, const char* const* argv, LaunchOptions& options);
