#include "host/launch_options.h"

#include <charconv>
#include <cstdio>

namespace {

constexpr const char* kProgram = "zorvane";
constexpr int kRunGame = -1;

// An option without a value that sets one switch.
template <bool LaunchOptions::*Switch, bool Value>
bool Set(LaunchOptions& options, const char*, std::string&) {
  options.*Switch = Value;
  return true;
}

// --fullscreen and --windowed: the choice, and that it was made.
template <bool Fullscreen>
bool ChooseWindow(LaunchOptions& options, const char*, std::string&) {
  options.fullscreen = Fullscreen;
  options.windowChosen = true;
  return true;
}

bool TakeLevel(LaunchOptions& options, const char* value, std::string& why) {
  const std::string_view text = value;
  int level = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), level);
  if (error != std::errc() || end != text.data() + text.size() || level < 1 ||
      level > options.lastLevel) {
    why = "the level must be a whole number from 1 to " + std::to_string(options.lastLevel) +
          ", not \"" + std::string(text) + "\"";
    return false;
  }
  options.level = level;
  return true;
}

bool TakeRecordPath(LaunchOptions& options, const char* value, std::string&) {
  options.recordPath = value;
  return true;
}

// A replay and the demo both take the game over from the menu, so only one may be asked for.
bool RefuseReplayWithDemo(const LaunchOptions& options, std::string& why) {
  if (options.replayPath.empty() || !options.demo) return true;
  why = "--replay and --demo cannot be used together";
  return false;
}

bool TakeReplayPath(LaunchOptions& options, const char* value, std::string& why) {
  options.replayPath = value;
  return RefuseReplayWithDemo(options, why);
}

bool TakeDemo(LaunchOptions& options, const char*, std::string& why) {
  options.demo = true;
  return RefuseReplayWithDemo(options, why);
}

constexpr OptionRow<LaunchOptions> kRows[] = {
    {"--help", nullptr, "show this help and exit", Set<&LaunchOptions::help, true>},
    {"--version", nullptr, "show the version and exit", Set<&LaunchOptions::version, true>},
    {"--fullscreen", nullptr, "start full screen (F11 switches), whatever was kept",
     ChooseWindow<true>},
    {"--windowed", nullptr, "start in a window, whatever was kept", ChooseWindow<false>},
    {"--level", "N", "start straight into level N if it is open", TakeLevel},
    {"--record", "FILE", "append every level played to FILE as a run file", TakeRecordPath},
    {"--replay", "FILE", "show the runs recorded in FILE, then the menu", TakeReplayPath},
    {"--demo", nullptr, "the autopilot plays from the selected level; any key returns", TakeDemo},
};

}  // namespace

std::span<const OptionRow<LaunchOptions>> LaunchOptionTable() {
  return kRows;
}

const char* ProgramVersion() {
  return "zorvane " ZV_VERSION;
}

int ReadLaunchOptions(int argc, const char* const* argv, LaunchOptions& options) {
  const std::string error = ParseCommandLine(argc, argv, LaunchOptionTable(), options);
  if (!error.empty()) {
    std::fprintf(stderr, "%s: %s\nusage: %s [OPTION]... (try %s --help)\n", kProgram, error.c_str(),
                 kProgram, kProgram);
    return kExitUsage;
  }
  if (options.help) {
    std::fputs(OptionHelp(kProgram, LaunchOptionTable()).c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::puts(ProgramVersion());
    return 0;
  }
  return kRunGame;
}
