#include "game/run_options.h"

void SetRecordPath(GameOptions& options, std::string_view value) {
  options.recordPath = value;
}

void SetReplayPath(GameOptions& options, std::string_view value) {
  options.replayPath = value;
}

void SetDemo(GameOptions& options, std::string_view) {
  options.demo = true;
}

namespace {

const OptionRow* FindRow(std::string_view name) {
  for (const OptionRow& row : kRunOptionRows)
    if (row.name == name) return &row;
  return nullptr;
}

}  // namespace

bool ParseGameOptions(int argc, const char* const* argv, GameOptions& options,
                      std::string& message) {
  GameOptions parsed;
  std::string seen = " ";
  for (int i = 1; i < argc; ++i) {
    const std::string_view word = argv[i];
    const OptionRow* row = FindRow(word);
    if (!row) {
      message = "unknown option " + std::string(word);
      return false;
    }
    if (seen.find(" " + std::string(word) + " ") != std::string::npos) {
      message = std::string(word) + " given twice";
      return false;
    }
    seen += std::string(word) + " ";
    std::string_view value;
    if (!row->argument.empty()) {
      if (i + 1 >= argc || *argv[i + 1] == '\0') {
        message = std::string(word) + " needs " + std::string(row->argument);
        return false;
      }
      value = argv[++i];
    }
    row->set(parsed, value);
  }
  if (!parsed.replayPath.empty() && parsed.demo) {
    message = "--replay and --demo cannot be used together";
    return false;
  }
  options = std::move(parsed);
  return true;
}

std::string GameUsage() {
  std::string usage = "usage: zorvane";
  std::string rows;
  for (const OptionRow& row : kRunOptionRows) {
    std::string shown(row.name);
    if (!row.argument.empty()) shown += " " + std::string(row.argument);
    usage += " [" + shown + "]";
    rows += "  " + shown + std::string(shown.size() < 16 ? 16 - shown.size() : 1, ' ') +
            std::string(row.help) + "\n";
  }
  return usage + "\n" + rows;
}
