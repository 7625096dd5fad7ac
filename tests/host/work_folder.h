// A fresh working folder for each test, with the state folder variables cleared and restored
// afterwards. What a path tells on standard error is read from a child process, as each
// failure is told once per run.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "child_process.h"
#include "host/state_file.h"
#include "scratch_folder.h"

namespace fs = std::filesystem;

class WorkFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : kVariables) {
      const char* value = std::getenv(name);
      saved_.push_back(value ? std::optional<std::string>(value) : std::nullopt);
      unsetenv(name);
    }
    dir_ = folder_.emplace("work").path();
  }
  void TearDown() override {
    folder_.reset();
    for (size_t i = 0; i < std::size(kVariables); ++i) {
      if (saved_[i]) {
        setenv(kVariables[i], saved_[i]->c_str(), 1);
      } else {
        unsetenv(kVariables[i]);
      }
    }
  }

  static void Write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  // The names in the working folder.
  static std::set<std::string> Entries() {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(".")) names.insert(entry.path().filename());
    return names;
  }
  // What the body wrote on standard error, and on standard output unless it is dropped.
  static std::string ToldBy(const std::function<void()>& body, bool withOutput = false) {
    return RunInChild([&] {
             dup2(STDOUT_FILENO, STDERR_FILENO);
             if (!withOutput) dup2(open("/dev/null", O_WRONLY), STDOUT_FILENO);
             body();
           })
        .output;
  }

  static constexpr const char* kVariables[] = {kStateDirVariable, "XDG_DATA_HOME", "HOME"};
  std::vector<std::optional<std::string>> saved_;
  std::optional<ScratchFolder> folder_;
  fs::path dir_;
};
