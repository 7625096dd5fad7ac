// The game's command line: what each one asks for, what it prints and the status it ends with.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/launch_options.h"

TEST(CommandLine, OptionsRunTheGameAndUnusableOnesGiveAUsageLineAndStatusTwo) {
  constexpr int kRuns = -1;
  const std::string badLevel = "--level: the level must be a whole number from 1 to 1000, not ";
  const struct {
    std::vector<const char*> args;
    int status, level;
    std::string error;  // told on standard error, or (status 0) on standard output
  } rows[] = {
      {{}, kRuns, 0, ""},
      {{"--level=12", "--fullscreen"}, kRuns, 12, ""},
      {{"--level", "3", "--level", "4"}, kRuns, 4, ""},
      {{"--help"}, 0, 0, "  --level N "},
      {{"--version"}, 0, 0, "zorvane 1."},
      {{"--bogus"}, kExitUsage, 0, "unknown option --bogus"},
      {{"level"}, kExitUsage, 0, "unexpected argument level"},
      {{"--level"}, kExitUsage, 0, "--level needs a value N"},
      {{"--level", "0"}, kExitUsage, 0, badLevel + "\"0\""},
      {{"--level=2x"}, kExitUsage, 0, badLevel + "\"2x\""},
      {{"--level", "1001"}, kExitUsage, 0, badLevel + "\"1001\""},
      {{"--level", "99999999999"}, kExitUsage, 0, badLevel + "\"99999999999\""},
      {{"--fullscreen=yes"}, kExitUsage, 0, "--fullscreen takes no value"},
      {{"--help", "--bogus"}, kExitUsage, 0, "unknown option --bogus"},
  };
  for (auto row : rows) {
    SCOPED_TRACE(row.args.empty() ? "no arguments" : row.args.back());
    row.args.insert(row.args.begin(), "zorvane");
    LaunchOptions options;
    options.lastLevel = 1000;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(ReadLaunchOptions(static_cast<int>(row.args.size()), row.args.data(), options),
              row.status);
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();
    if (row.status == kExitUsage) {
      EXPECT_EQ(err,
                "zorvane: " + row.error + "\nusage: zorvane [OPTION]... (try zorvane --help)\n");
    } else {
      EXPECT_NE(out.find(row.error), std::string::npos) << out;
      EXPECT_EQ(err, "");
      EXPECT_EQ(options.level, row.level);
    }
  }
}
