#pragma once
// Builds the whole data folder: images at every density, fonts, effects and tunes.
#include <filesystem>
#include <string>

namespace assets {

struct GenerateOptions {
  std::filesystem::path dataDir;
  std::filesystem::path contactDir;  // empty: no contact sheets
  int threads = 0;                   // 0: one per core
};

// Returns the empty string on success, otherwise what went wrong.
std::string GenerateAll(const GenerateOptions& options);

}  // namespace assets
