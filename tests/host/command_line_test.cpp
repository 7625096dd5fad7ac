// The game's command line read through its option table: what each command line asks for, what
// it prints and the status it ends with.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/launch_options.h"

namespace {

constexpr int kRuns = -1;

struct Reading {
  int status = kRuns;
  LaunchOptions options;
  std::string out, err;
};

Reading Read(std::vector<const char*> args) {
  args.insert(args.begin(), "zorvane");
  Reading reading;
  reading.options.lastLevel = 1000;
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  reading.status = ReadLaunchOptions(static_cast<int>(args.size()), args.data(), reading.options);
  reading.out = testing::internal::GetCapturedStdout();
  reading.err = testing::internal::GetCapturedStderr();
  return reading;
}

TEST(CommandLine, OptionsRunTheGameAndUnusableOnesGiveAUsageLineAndStatusTwo) {
  const std::string badLevel = "--level: the level must be a whole number from 1 to 1000, not ";
  const struct {
    std::vector<const char*> args;
    bool fullscreen;
    int level;
    std::string error;  // none: the game runs
  } rows[] = {
      {{}, false, 0, ""},
      {{"--windowed", "--fullscreen"}, true, 0, ""},
      {{"--level=12", "--fullscreen"}, true, 12, ""},
      {{"--level", "3", "--level", "4"}, false, 4, ""},
      {{"--bogus"}, false, 0, "unknown option --bogus"},
      {{"-h"}, false, 0, "unknown option -h"},
      {{"level"}, false, 0, "unexpected argument level"},
      {{"--level"}, false, 0, "--level needs a value N"},
      {{"--level", "0"}, false, 0, badLevel + "\"0\""},
      {{"--level=2x"}, false, 0, badLevel + "\"2x\""},
      {{"--level", "1001"}, false, 0, badLevel + "\"1001\""},
      {{"--level", "99999999999"}, false, 0, badLevel + "\"99999999999\""},
      {{"--fullscreen=yes"}, false, 0, "--fullscreen takes no value"},
      {{"--windowed", "--help", "--bogus"}, false, 0, "unknown option --bogus"},
  };
  for (const auto& row : rows) {
    const Reading r = Read(row.args);
    SCOPED_TRACE(row.args.empty() ? "no arguments" : row.args.back());
    EXPECT_EQ(r.out, "");
    if (row.error.empty()) {
      EXPECT_EQ(r.status, kRuns);
      EXPECT_EQ(r.err, "");
      EXPECT_EQ(r.options.fullscreen, row.fullscreen);
      EXPECT_EQ(r.options.level, row.level);
    } else {
      EXPECT_EQ(r.status, kExitUsage);
      EXPECT_EQ(r.err,
                "zorvane: " + row.error + "\nusage: zorvane [OPTION]... (try zorvane --help)\n");
    }
  }
}

TEST(CommandLine, HelpListsEveryOptionAndVersionNamesTheBuild) {
  const Reading help = Read({"--help"});
  EXPECT_EQ(help.status, 0);
  for (const auto& row : LaunchOptionTable()) {
    const std::string shown =
        std::string(row.name) + (row.value ? std::string(" ") + row.value : "");
    EXPECT_NE(help.out.find("  " + shown + " "), std::string::npos) << shown;
    EXPECT_NE(help.out.find(row.help), std::string::npos) << row.help;
  }
  const Reading version = Read({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_TRUE(version.out.starts_with("zorvane 1.")) << version.out;
}

}  // namespace
