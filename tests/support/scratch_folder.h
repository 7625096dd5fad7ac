// A fresh folder under the system's temporary folder that a test works in: entered when made,
// left and removed when destroyed, so that the state file and the data folder the game finds
// are the test's own.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>

class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name) : home_(std::filesystem::current_path()) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / ("zv_" + name + "_XXXXXX")).string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make " + pattern);
    path_ = pattern;
    std::filesystem::current_path(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::current_path(home_, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path home_, path_;
};
