// zorvane-sim: levels played by the real game code with no window and no sound device, from
// a run file, a key script, the autopilot or no input at all, as fast as the CPU allows.
#pragma once

#include <cstdio>
#include <string>

constexpr int kSimExitDone = 0;
constexpr int kSimExitBadFile = 1;
constexpr int kSimExitUsage = 2;
constexpr int kDefaultSimFrames = 36000;

struct SimOptions {
  enum class Source { kNone, kReplay, kPilot, kKeys };
  int firstLevel = 0, lastLevel = 0;  // 0: the levels of the replayed file
  bool levelRange = false;            // --levels: a summary line follows
  Source source = Source::kNone;
  std::string replayPath;
  std::string keys;
  std::string recordPath;
  int frames = 0;  // --frames; without it a replayed run stops at its end, others at the default
  bool trace = false;
  bool help = false;
};

extern const char* const kSimUsage;
// The usage line and what each option does.
std::string SimHelp();

// False with a message saying what is wrong.
bool ParseSimOptions(int argc, const char* const* argv, SimOptions& options, std::string& message);
// Plays what the options ask for, printing trace, end and summary lines to `out` and
// problems to `err`; returns the exit status. A stop signal (InstallStopHandlers) ends the
// level being played as --frames would, and the simulation after it, with status 0.
int RunSim(const SimOptions& options, std::FILE* out, std::FILE* err);
