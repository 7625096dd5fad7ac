#include "host/gamepad_mappings.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/runtime.h"
#include "host/files.h"
#include "host/glfw2.h"
#include "host/state_file.h"

namespace {

// The community database is about a megabyte; anything far larger is not a mappings file.
constexpr size_t kLargestMappingsFile = 4u << 20;
// The window library compares each new mapping with every one it holds, so its time grows
// with the square of their count; the community database has a few thousand.
constexpr int kMostMappingLines = 10000;

// Adds the mappings; where names them in the line told when some are not understood or when
// only the first kMostMappingLines lines are taken.
void AddGamepadMappings(std::string_view mappings, const std::string& where) {
  size_t end = 0;
  for (int lines = 0; lines < kMostMappingLines && end < mappings.size(); ++lines)
    end = std::min(mappings.find('\n', end), mappings.size() - 1) + 1;
  if (end < mappings.size()) {
    kvWarn("only the first " + String::FromInt(kMostMappingLines) +
           " lines of controller mappings in " + String(where) + " are used");
  }
  const std::string taken(mappings.substr(0, end));
  if (const char* why = glfw2::UpdateGamepadMappings(taken.c_str()))
    kvWarn("some controller mappings in " + String(where) + " were not understood: " + why);
}

void AddMappingsFile(const std::string& path) {
  std::string text, reason;
  switch (ReadPlainFile(path, kLargestMappingsFile, text, reason)) {
    case ReadResult::kMissing:
      return;
    case ReadResult::kUnreadable:
      kvWarn("cannot use the controller mappings in " + String(path) + ": " + String(reason));
      return;
    case ReadResult::kRead:
      AddGamepadMappings(text, path);
  }
}

}  // namespace

void LoadGamepadMappings() {
  AddMappingsFile(PathToFilePath(String("brisko://data/") + kGamepadMappingsFile).ToUtf8());
  AddMappingsFile(StateFolder() + "/" + kGamepadMappingsFile);
  if (const char* mappings = std::getenv(kGamepadMappingsVariable); mappings && *mappings)
    AddGamepadMappings(mappings, kGamepadMappingsVariable);
}
