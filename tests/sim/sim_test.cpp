// zorvane-sim: its options, what it prints, and replays of what it recorded.
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "child_process.h"
#include "host/signals.h"
#include "sim_runs.h"

namespace {

class SimTest : public SimFolderTest {
 protected:
  void Write(const char* name, const std::string& text) const {
    std::ofstream(folder_ / name, std::ios::binary) << text;
  }
};

TEST(SimOptions, BadArgumentsAreRefusedWithWhatWasExpected) {
  struct Case {
    std::vector<const char*> args;
    const char* message;
  };
  const Case cases[] = {
      {{}, "expected --level L or --levels A-B"},
      {{"--pilot"}, "expected --level L or --levels A-B"},
      {{"--level", "0"}, "expected --level L with L from 1 to 1000"},
      {{"--level", "1x"}, "expected --level L with L from 1 to 1000"},
      {{"--level", "1", "--levels", "1-2"}, "expected only one of --level and --levels"},
      {{"--levels", "3-2"}, "expected --levels A-B with 1 <= A <= B <= 1000"},
      {{"--levels", "1-1001"}, "expected --levels A-B with 1 <= A <= B <= 1000"},
      {{"--level", "1", "--pilot", "--keys", "1:U"},
       "expected only one of --replay, --pilot and --keys"},
      {{"--level", "1", "--frames", "0"}, "expected --frames N with N from 1 to 100000000"},
      {{"--level", "1", "--keys", "5:Q"},
       "--keys: item 1 \"5:Q\": expected COUNT:KEYS with COUNT from 1 to 10000000 and KEYS "
       "letters from U D L R A B, or - for none"},
      {{"--replay", "f", "--levels", "1-2"}, "--levels cannot be used with --replay"},
      {{"--level"}, "--level needs a value"},
      {{"--level", "1", "--fast"}, "unknown option --fast"},
  };
  for (const Case& c : cases) {
    const SimRun run = Sim(c.args);
    EXPECT_EQ(run.status, kSimExitUsage);
    EXPECT_EQ(run.err, c.message);
  }
}

// Runs cut short by --frames are recorded with their end, and replays stop there.
TEST_F(SimTest, ARecordedRunReplaysToTheSameTraceAndEnd) {
  const std::string file = Path("run.txt");
  const SimRun recorded = Sim({"--levels", "3-4", "--keys", "95:- 40:UR 20:A 30:L 15:UB",
                               "--frames", "400", "--trace", "--record", file.c_str()});
  ASSERT_EQ(recorded.status, kSimExitDone) << recorded.err;
  const SimRun replayed = Sim({"--replay", file.c_str(), "--trace"});
  ASSERT_EQ(replayed.status, kSimExitDone) << replayed.err;
  const std::string summary = recorded.out.substr(recorded.out.rfind("summary"));
  EXPECT_EQ(replayed.out + summary, recorded.out);
  EXPECT_EQ(summary.rfind("summary levels=2 complete=0 lost=0 running=2 frames=800 seconds=", 0),
            0u);
  EXPECT_EQ(replayed.err, "");
  // One run of the file, chosen by its level.
  const SimRun third = Sim({"--replay", file.c_str(), "--level", "4"});
  EXPECT_EQ(third.out, Lines(recorded.out)[801] + "\n");
}

TEST_F(SimTest, AReplayThatEndsOtherwiseThanRecordedIsTold) {
  Write("run.txt",
        "zorvane-run 1\nlevel 2\n100 -\nend level=2 frames=100 result=complete score=1 lives=3 "
        "items=222\n");
  const SimRun run = Sim({"--replay", Path("run.txt").c_str(), "--frames", "100"});
  EXPECT_EQ(run.status, kSimExitDone);
  EXPECT_EQ(run.out, "end level=2 frames=100 result=running score=0 lives=3 items=000\n");
  EXPECT_NE(run.err.find("run.txt:2: the replay ended otherwise than recorded"), std::string::npos)
      << run.err;
}

TEST_F(SimTest, RecordingGoesOnlyIntoARunFileThatCanBeWritten) {
  Write("notes.txt", "shopping list\n");
  Write("runs.txt", "# mine\nzorvane-run 1");
  struct Case {
    std::string path;
    int status;
    std::string err;
  };
  const Case cases[] = {
      {"/dev/full", kSimExitBadFile,
       "zorvane-sim: /dev/full: cannot be written (No space left on device)\n"},
      {Path("notes.txt"), kSimExitBadFile,
       "zorvane-sim: " + Path("notes.txt") +
           ": not a run file (its first line is not \"zorvane-run 1\"); runs are added only to "
           "run files\n"},
      {Path("runs.txt"), kSimExitDone, ""},
  };
  for (const Case& c : cases) {
    const SimRun run = Sim({"--level", "1", "--frames", "5", "--record", c.path.c_str()});
    EXPECT_EQ(run.status, c.status) << c.path;
    EXPECT_EQ(run.err, c.err);
  }
  EXPECT_EQ(Sim({"--replay", Path("runs.txt").c_str()}).out,
            "end level=1 frames=5 result=running score=0 lives=3 items=000\n");
}

// A stop signal ends the level at once, as --frames would: its end line is out and recorded.
TEST_F(SimTest, AStopSignalEndsTheLevelWithItsEndLineRecorded) {
  const std::string file = Path("run.txt");
  const ChildResult stopped = RunInChild([&file] {
    InstallStopHandlers();
    std::thread([] {
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      kill(getpid(), SIGTERM);
    }).detach();
    std::exit(
        RunSim(Options({"--levels", "1-2", "--frames", "100000000", "--record", file.c_str()}),
               stdout, stderr));
  });
  EXPECT_EQ(stopped.status, kSimExitDone);
  const std::vector<std::string> lines = Lines(stopped.output);
  ASSERT_EQ(lines.size(), 2u) << stopped.output;
  EXPECT_NE(lines[0].find("result=running"), std::string::npos) << lines[0];
  EXPECT_EQ(lines[1].rfind("summary levels=1 ", 0), 0u) << lines[1];
  const SimRun replayed = Sim({"--replay", file.c_str()});
  EXPECT_EQ(replayed.out, lines[0] + "\n");
  EXPECT_EQ(replayed.err, "");
}

TEST(SimOptions, HelpGoesToStandardOutput) {
  for (const char* help : {"--help", "-h"}) {
    const SimRun run = Sim({help});
    EXPECT_EQ(run.status, kSimExitDone);
    EXPECT_EQ(run.out.rfind(std::string(kSimUsage) + "\n", 0), 0u) << run.out;
  }
}

TEST_F(SimTest, UnreadableMalformedAndEmptyRunFilesEndWithStatusOne) {
  Write("bad.txt", "zorvane-run 1\nlevel 2\n10 U joy9=1\n");
  Write("empty.txt", "zorvane-run 1\n# nothing yet\n");
  struct Case {
    std::string path;
    std::vector<const char*> more;
    std::string message;
  };
  const Case cases[] = {
      {Path("missing.txt"), {}, ": cannot be read"},
      {Path("bad.txt"), {}, ":3: expected a field k=, hit=, ch=, mouse=, touchN=, joyN= or accel="},
      {Path("empty.txt"), {}, ": holds no run to replay"},
      {Path("bad.txt"), {"--level", "7"}, ":3: expected a field"},
  };
  for (const Case& c : cases) {
    std::vector<const char*> args = {"--replay", c.path.c_str()};
    args.insert(args.end(), c.more.begin(), c.more.end());
    const SimRun run = Sim(args);
    EXPECT_EQ(run.status, kSimExitBadFile);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("zorvane-sim: " + c.path + c.message, 0), 0u) << run.err;
  }
}

}  // namespace
