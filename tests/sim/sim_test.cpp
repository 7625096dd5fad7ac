// zorvane-sim: its options, what it prints, and replays of what it recorded; and runs through
// the tap the window's game reads its input through: what the player does is recorded exactly,
// replays take the game over from the menu, save nothing, and hand it back when they end or
// when a key is pressed.
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "child_process.h"
#include "game/runs/window_runs.h"
#include "host/signals.h"
#include "sim/headless_game.h"
#include "sim_runs.h"

namespace {

using SimTest = SimFolderTest;

TEST(SimOptions, BadArgumentsAreRefusedWithWhatWasExpectedAndHelpIsAnswered) {
  const std::pair<std::vector<const char*>, const char*> cases[] = {
      {{"--pilot"}, "expected --level L or --levels A-B"},
      {{"--level", "1x"}, "expected --level L with L from 1 to 1000"},
      {{"--level", "1", "--levels", "1-2"}, "expected only one of --level and --levels"},
      {{"--levels", "3-2"}, "expected --levels A-B with 1 <= A <= B <= 1000"},
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
  for (const auto& [args, message] : cases) {
    const SimRun run = Sim(args);
    EXPECT_EQ(run.status, kSimExitUsage);
    EXPECT_EQ(run.err, message);
  }
  for (const char* help : {"--help", "-h"}) {
    const SimRun run = Sim({help});
    EXPECT_EQ(run.status, kSimExitDone);
    EXPECT_EQ(run.out.rfind(std::string(kSimUsage) + "\n", 0), 0u) << help;
  }
}

// Runs cut short by --frames are recorded with their end, and replays stop there; one run of
// a file is chosen by its level.
TEST_F(SimTest, ARecordedRunReplaysToTheSameTraceAndEnd) {
  const std::string file = Path("run.txt");
  const SimRun recorded = Sim({"--levels", "3-4", "--keys", "95:- 40:UR 20:A 30:L 15:UB",
                               "--frames", "400", "--trace", "--record", file.c_str()});
  ASSERT_EQ(recorded.status, kSimExitDone) << recorded.err;
  const SimRun replayed = Sim({"--replay", file.c_str(), "--trace"});
  const std::string summary = recorded.out.substr(recorded.out.rfind("summary"));
  EXPECT_EQ(replayed.out + summary, recorded.out);
  EXPECT_EQ(summary.rfind("summary levels=2 complete=0 lost=0 running=2 frames=800 ", 0), 0u);
  EXPECT_EQ(replayed.err, "");
  EXPECT_EQ(Sim({"--replay", file.c_str(), "--level", "4"}).out, Lines(recorded.out)[801] + "\n");
}

TEST_F(SimTest, UnreadableMalformedAndEmptyRunFilesEndWithStatusOne) {
  const std::string bad = Write("bad.txt", "zorvane-run 1\nlevel 2\n10 U joy9=1\n");
  const std::string empty = Write("empty.txt", "zorvane-run 1\n# nothing yet\n");
  const std::string missing = Path("missing.txt");
  const std::pair<std::vector<const char*>, std::string> cases[] = {
      {{missing.c_str()}, missing + ": cannot be read"},
      {{bad.c_str()}, bad + ":3: expected a field k=, hit=, ch=, mouse=, touchN=, joyN= or accel="},
      {{empty.c_str()}, empty + ": holds no run to replay"},
      {{bad.c_str(), "--level", "7"}, bad + ":3: expected a field"},
  };
  for (const auto& [args, message] : cases) {
    std::vector<const char*> all = {"--replay"};
    all.insert(all.end(), args.begin(), args.end());
    const SimRun run = Sim(all);
    EXPECT_EQ(run.status, kSimExitBadFile);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("zorvane-sim: " + message, 0), 0u) << run.err;
  }
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
        Sim({"--levels", "1-2", "--frames", "100000000", "--record", file.c_str()}, stdout).status);
  });
  EXPECT_EQ(stopped.status, kSimExitDone);
  const std::vector<std::string> lines = Lines(stopped.output);
  ASSERT_EQ(lines.size(), 2u) << stopped.output;
  EXPECT_NE(lines[0].find("result=running"), std::string::npos) << lines[0];
  EXPECT_EQ(lines[1].rfind("summary levels=1 ", 0), 0u) << lines[1];
  EXPECT_EQ(Sim({"--replay", file.c_str()}).out, lines[0] + "\n");
}

// A window game reading its input through a tap of runs.
struct Tapped {
  explicit Tapped(std::unique_ptr<RunRecorder> recorder, const std::string& text = "",
                  HeadlessGame::StateFile state = HeadlessGame::StateFile::kIgnored)
      : game(state), runs(std::move(recorder), Parse(text), false) {
    _app->Delegate()._tap = &runs;
  }
  ~Tapped() { _app->Delegate()._tap = nullptr; }
  static std::vector<RecordedRun> Parse(const std::string& text) {
    std::vector<RecordedRun> runs;
    std::string message;
    EXPECT_TRUE(text.empty() || ParseRuns(text, runs, message)) << message;
    return runs;
  }
  void StartReplay() {
    for (int i = 0; i < 300 && game.app().screens.ScreenMode != ModeInGame; ++i) game.Step();
  }
  HeadlessGame game;
  WindowRuns runs;
};

// The audio layer's notes as the game goes left out.
std::string Said(std::string output) {
  const std::string chatter = "Discarding sample\n";
  for (size_t at; (at = output.find(chatter)) != std::string::npos;)
    output.erase(at, chatter.size());
  return output;
}

// Keys and a mouse drag on the stick as the host hands them over; quitting in the level (F4,
// as closing the window and a stop signal do) completes the recording.
TEST_F(SimTest, WhatThePlayerDidReplaysInTheSimulatorToTheSameState) {
  const std::string file = Path("played.txt");
  const ChildResult played = RunInChild([&file] {
    auto recorder = std::make_unique<RunRecorder>();
    std::string message;
    if (!recorder->Open(file, message)) return;
    Tapped tapped(std::move(recorder));
    HeadlessGame& game = tapped.game;
    game.StepUntilLoaded();
    game.app().world.Level = 6;
    game.app().screens.ScreenMode = ModeLoadGame;
    game.Step(95);
    game.KeyDown(key::kUp);
    game.Step(25);
    game.KeyDown('D');
    game.KeyUp(key::kUp);
    game.Step(10);
    game.MouseMove(300, 200);
    game.MouseButton(0, true);
    game.Step(3);
    game.MouseMove(340.5f, 150);
    game.Step(20);
    game.MouseButton(0, false);
    game.KeyUp('D');
    game.TapKey(key::kF2);
    game.Step(40);
    char line[512];
    FormatTraceLine(game.app(), 193, line, sizeof line);
    std::printf("%s\n%s\n", line, EndLine(game.app(), 193).c_str());
    game.TapKey(key::kF4);
  });
  ASSERT_EQ(played.status, 0);
  const SimRun replayed = Sim({"--replay", file.c_str(), "--trace"});
  const size_t last = replayed.out.rfind("f=");
  ASSERT_NE(last, std::string::npos) << replayed.out;
  EXPECT_EQ(replayed.out.substr(last), Said(played.output));
  std::ifstream in(file);
  const std::string text{std::istreambuf_iterator<char>(in), {}};
  for (const char* part : {"mouse=340.5,150", "k=113"})
    EXPECT_NE(text.find(part), std::string::npos) << text;
}

// Shown to its end line, not to the spectator's limit; saved only once the menu is back.
TEST_F(SimTest, AReplayTakesOverFromTheMenuAndSavesNothing) {
  const std::string text =
      "zorvane-run 1\nlevel 2\n95 -\n30 U\n20 R\n"
      "end level=2 frames=160 result=running score=0 lives=3 items=000\n";
  const std::string expected = Sim({"--replay", Write("run.txt", text).c_str()}).out;
  const std::string folder = folder_.string();
  const ChildResult shown = RunInChild([&text, &folder] {
    if (chdir(folder.c_str()) != 0) return;
    Tapped tapped(nullptr, text, HeadlessGame::StateFile::kUsed);
    MyApp& app = tapped.game.app();
    const auto report = [&app] {
      app.OnSuspend();
      std::printf("menu %d spectating %d saved %d\n", app.screens.ScreenMode == ModeMenu,
                  app.play.Spectating ? 1 : 0, std::filesystem::exists(".briskostate") ? 1 : 0);
    };
    tapped.StartReplay();
    report();
    for (int i = 0; i < 37000 && tapped.runs.Spectating(); ++i) tapped.game.Step();
    report();
  });
  ASSERT_EQ(shown.status, 0);
  EXPECT_EQ(shown.output,
            "menu 0 spectating 1 saved 0\n" + expected + "menu 1 spectating 0 saved 1\n");
}

TEST_F(SimTest, AnyKeyButTheQuitKeyEndsAReplay) {
  for (const int key : {int('Q'), key::kF4}) {
    const ChildResult shown = RunInChild([key] {
      Tapped tapped(nullptr, "zorvane-run 1\nlevel 9\n500 U\n");
      tapped.StartReplay();
      tapped.game.Step(100);
      tapped.game.TapKey(key);
      tapped.game.Step(2);
      std::printf("menu %d done %d\n", tapped.game.app().screens.ScreenMode == ModeMenu,
                  tapped.runs.Spectating() ? 0 : 1);
    });
    EXPECT_EQ(shown.status, 0);
    EXPECT_EQ(Said(shown.output), key == 'Q' ? "menu 1 done 1\n" : "") << key;
  }
}

}  // namespace
