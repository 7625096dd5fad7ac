// A fresh folder under the system's temporary folder, removed with everything in it. A test
// that enters it works there, so the state file and the data folder the game finds are its own.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name, bool enter = true)
      : home_(enter ? std::filesystem::current_path() : std::filesystem::path()) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / ("zv_" + name + "_XXXXXX")).string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make " + pattern);
    path_ = pattern;
    if (enter) std::filesystem::current_path(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    if (!home_.empty()) std::filesystem::current_path(home_, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path home_, path_;
};

inline void WriteFileText(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string FileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}
