// The game's command line read through its option table: what each command line asks for, what
// it prints and the status it ends with.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/launch_options.h"

namespace {

constexpr int kRuns = -1;
constexpr const char* kUsage = "usage: zorvane [OPTION]... (try zorvane --help)\n";

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

TEST(CommandLine, OptionsThatRunTheGame) {
  const struct {
    std::vector<const char*> args;
    bool fullscreen;
    int level;
  } cases[] = {
      {{}, false, 0},
      {{"--fullscreen"}, true, 0},
      {{"--windowed", "--fullscreen"}, true, 0},
      {{"--level=12", "--fullscreen"}, true, 12},
      {{"--level", "3", "--level", "4"}, false, 4},
  };
  for (const auto& c : cases) {
    const Reading r = Read(c.args);
    const std::string what = c.args.empty() ? "none" : c.args.front();
    EXPECT_EQ(r.status, kRuns) << what;
    EXPECT_EQ(r.options.fullscreen, c.fullscreen) << what;
    EXPECT_EQ(r.options.level, c.level) << what;
    EXPECT_EQ(r.out + r.err, "") << what;
  }
}

TEST(CommandLine, UnusableCommandLinesGiveAUsageLineAndStatusTwo) {
  const struct {
    std::vector<const char*> args;
    std::string error;
  } cases[] = {
      {{"--bogus"}, "unknown option --bogus"},
      {{"-h"}, "unknown option -h"},
      {{"level"}, "unexpected argument level"},
      {{"--level"}, "--level needs a value N"},
      {{"--level", "0"}, "--level: the level must be a whole number from 1 to 1000, not \"0\""},
      {{"--level=2x"}, "--level: the level must be a whole number from 1 to 1000, not \"2x\""},
      {{"--level", "1001"},
       "--level: the level must be a whole number from 1 to 1000, not \"1001\""},
      {{"--level", "99999999999"},
       "--level: the level must be a whole number from 1 to 1000, not \"99999999999\""},
      {{"--fullscreen=yes"}, "--fullscreen takes no value"},
      {{"--windowed", "--help", "--bogus"}, "unknown option --bogus"},
  };
  for (const auto& c : cases) {
    const Reading r = Read(c.args);
    EXPECT_EQ(r.status, kExitUsage) << c.error;
    EXPECT_EQ(r.out, "") << c.error;
    EXPECT_EQ(r.err, "zorvane: " + c.error + "\n" + kUsage);
  }
}

TEST(CommandLine, HelpListsEveryOptionAndVersionNamesTheBuild) {
  const Reading help = Read({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.starts_with("usage: zorvane [OPTION]...\n")) << help.out;
  for (const auto& row : LaunchOptionTable()) {
    const std::string shown =
        std::string(row.name) + (row.value ? std::string(" ") + row.value : "");
    EXPECT_NE(help.out.find("  " + shown + " "), std::string::npos) << shown;
    EXPECT_NE(help.out.find(row.help), std::string::npos) << row.help;
  }
  EXPECT_EQ(help.err, "");

  const Reading version = Read({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, std::string(ProgramVersion()) + "\n");
  EXPECT_TRUE(version.out.starts_with("zorvane 1.")) << version.out;
}

}  // namespace
