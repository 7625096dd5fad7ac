// The simulator run in-process, a folder of the test's own, and a text's lines.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "sim/sim.h"

struct SimRun {
  int status = -1;
  std::string out, err;
};

inline std::string ReadAll(std::FILE* file) {
  std::string text;
  std::rewind(file);
  char buffer[4096];
  for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
    text.append(buffer, got);
  std::fclose(file);
  return text;
}

// zorvane-sim with these arguments; refused options give the usage status and their message.
inline SimRun Sim(std::vector<const char*> args, std::FILE* out = std::tmpfile()) {
  args.insert(args.begin(), "zorvane-sim");
  SimOptions options;
  SimRun run;
  if (!ParseSimOptions(static_cast<int>(args.size()), args.data(), options, run.err)) {
    std::fclose(out);
    run.status = kSimExitUsage;
    return run;
  }
  std::FILE* err = std::tmpfile();
  run.status = RunSim(options, out, err);
  run.out = out == stdout ? "" : ReadAll(out);
  run.err = ReadAll(err);
  return run;
}

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  return lines;
}

class SimFolderTest : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("zv_sim_" + std::to_string(getpid()) + "_" +
               testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::string Path(const char* name) const { return (folder_ / name).string(); }
  std::string Write(const char* name, const std::string& text) const {
    std::ofstream(folder_ / name, std::ios::binary) << text;
    return Path(name);
  }

  std::filesystem::path folder_;
};
