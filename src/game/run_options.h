// The game's command-line options for runs, one table row each.
#pragma once

#include <string>
#include <string_view>

struct GameOptions {
  std::string recordPath;  // append every level played to this run file
  std::string replayPath;  // show the runs of this file
  bool demo = false;       // the autopilot plays
};

struct OptionRow {
  std::string_view name;
  std::string_view argument;  // empty for a switch
  std::string_view help;
  void (*set)(GameOptions& options, std::string_view value);
};

void SetRecordPath(GameOptions& options, std::string_view value);
void SetReplayPath(GameOptions& options, std::string_view value);
void SetDemo(GameOptions& options, std::string_view value);

inline constexpr OptionRow kRunOptionRows[] = {
    {"--record", "FILE", "append every level played to FILE as a run file", SetRecordPath},
    {"--replay", "FILE", "show the runs recorded in FILE, then the menu", SetReplayPath},
    {"--demo", "", "the autopilot plays from the selected level; any key returns to the menu",
     SetDemo},
};

// False with a message saying what is wrong; the options are then unchanged.
bool ParseGameOptions(int argc, const char* const* argv, GameOptions& options,
                      std::string& message);
// "usage: zorvane [--record FILE] ..." and one line per option.
std::string GameUsage();
