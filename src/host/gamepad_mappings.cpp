#include "host/gamepad_mappings.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "base/runtime.h"
#include "host/files.h"
#include "host/glfw2.h"
#include "host/state_file.h"

namespace {

// The community database is about a megabyte; anything far larger is not a mappings file.
constexpr std::uintmax_t kLargestMappingsFile = 16u << 20;

// Adds the mappings; where names them in the line told when some are not understood.
void AddGamepadMappings(const std::string& mappings, const std::string& where) {
  if (const char* why = glfw2::UpdateGamepadMappings(mappings.c_str()))
    kvWarn("some controller mappings in " + String(where) + " were not understood: " + why);
}

void AddMappingsFile(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return;
  const auto size = std::filesystem::file_size(path, error);
  if (error || size > kLargestMappingsFile) {
    kvWarn("cannot use the controller mappings in " + String(path) +
           (error ? ": " + String(error.message()) : String(": the file is too large")));
    return;
  }
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  if (!file) {
    kvWarn("cannot read the controller mappings in " + String(path));
    return;
  }
  AddGamepadMappings(text.str(), path);
}

}  // namespace

void LoadGamepadMappings() {
  AddMappingsFile(PathToFilePath(String("brisko://data/") + kGamepadMappingsFile).ToUtf8());
  AddMappingsFile(StateFolder() + "/" + kGamepadMappingsFile);
  if (const char* mappings = std::getenv(kGamepadMappingsVariable); mappings && *mappings)
    AddGamepadMappings(mappings, kGamepadMappingsVariable);
}
