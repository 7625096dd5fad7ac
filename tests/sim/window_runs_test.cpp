// Runs through the tap the window's game reads its input through: what the player does is
// recorded exactly, replays take the game over from the menu, file and save nothing, and hand
// it back when they end or when a key is pressed.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "child_process.h"
#include "game/runs/window_runs.h"
#include "sim/headless_game.h"
#include "sim_runs.h"

namespace {

using WindowRunsTest = SimFolderTest;

std::vector<RecordedRun> Runs(const std::string& text) {
  std::vector<RecordedRun> runs;
  std::string message;
  EXPECT_TRUE(ParseRuns(text, runs, message)) << message;
  return runs;
}

void Attach(WindowRuns& runs) {
  _app->Delegate()._tap = &runs;
}

// Game chatter on standard output (the audio layer's notes as the game goes) left out.
std::string Said(std::string output) {
  const std::string chatter = "Discarding sample\n";
  for (size_t at; (at = output.find(chatter)) != std::string::npos;)
    output.erase(at, chatter.size());
  return output;
}

// A level played by keys and the mouse, as the host hands them to the game: the update that
// builds it, then 193 updates of play.
constexpr int kPlayedUpdates = 193;
void PlayByHand(HeadlessGame& game) {
  MyApp& app = game.app();
  app.world.Level = 6;
  app.screens.ScreenMode = ModeLoadGame;
  game.Step(95);
  game.KeyDown(key::kUp);
  game.Step(25);
  game.KeyDown('D');
  game.KeyUp(key::kUp);
  game.Step(10);
  game.MouseMove(300, 200);
  game.MouseButton(0, true);
  game.Step(3);
  game.MouseMove(340.5f, 150);  // a drag works the stick
  game.Step(20);
  game.MouseButton(0, false);
  game.KeyUp('D');
  game.TapKey(key::kF2);
  game.Step(40);
}

// Quitting in the level (F4 here, as closing the window and a stop signal do) completes the
// recording: the replay stops at the last update played, with the same end line.
TEST_F(WindowRunsTest, WhatThePlayerDidReplaysInTheSimulatorToTheSameState) {
  const std::string file = Path("played.txt");
  const ChildResult played = RunInChild([&file] {
    HeadlessGame game(HeadlessGame::StateFile::kIgnored);
    game.StepUntilLoaded();
    auto recorder = std::make_unique<RunRecorder>();
    std::string message;
    if (!recorder->Open(file, message)) return;
    WindowRuns runs(std::move(recorder), {}, false);
    Attach(runs);
    PlayByHand(game);
    char line[512];
    FormatTraceLine(game.app(), kPlayedUpdates, line, sizeof line);
    std::printf("%s\n%s\n", line, EndLine(game.app(), kPlayedUpdates).c_str());
    game.TapKey(key::kF4);
  });
  ASSERT_EQ(played.status, 0);
  const SimRun replayed = Sim({"--replay", file.c_str(), "--trace"});
  const size_t last = replayed.out.rfind("f=");
  ASSERT_NE(last, std::string::npos) << replayed.out;
  EXPECT_EQ(replayed.out.substr(last), Said(played.output));
  EXPECT_EQ(replayed.err, "");
  // The pointer's drag and the hidden HUD are part of what was replayed.
  std::ifstream in(file);
  const std::string text{std::istreambuf_iterator<char>(in), {}};
  EXPECT_NE(text.find("mouse=340.5,150"), std::string::npos) << text;
  EXPECT_NE(text.find("k=113"), std::string::npos) << text;
}

TEST_F(WindowRunsTest, AReplayTakesOverFromTheMenuAndSavesNothing) {
  // Shown to its end line, not to the spectator's limit.
  const std::string text =
      "zorvane-run 1\nlevel 2\n95 -\n30 U\n20 R\n"
      "end level=2 frames=160 result=running score=0 lives=3 items=000\n";
  std::ofstream(Path("run.txt")) << text << std::flush;
  const std::string expected = Sim({"--replay", Path("run.txt").c_str()}).out;
  const std::string folder = folder_.string();
  const ChildResult shown = RunInChild([&text, &folder] {
    if (chdir(folder.c_str()) != 0) return;
    HeadlessGame game;
    WindowRuns runs(nullptr, Runs(text), false);
    Attach(runs);
    MyApp& app = game.app();
    for (int i = 0; i < 200 && app.screens.ScreenMode != ModeInGame; ++i) game.Step();
    std::printf("level %d spectating %d\n", app.world.Level, app.play.Spectating ? 1 : 0);
    app.OnSuspend();  // would save
    std::printf("saved %d\n", std::filesystem::exists(".briskostate") ? 1 : 0);
    for (int i = 0; i < 37000 && runs.Spectating(); ++i) game.Step();
    std::printf("menu %d spectating %d\n", app.screens.ScreenMode == ModeMenu ? 1 : 0,
                app.play.Spectating ? 1 : 0);
    app.OnSuspend();
    std::printf("saved %d\n", std::filesystem::exists(".briskostate") ? 1 : 0);
    _app->Delegate()._tap = nullptr;
  });
  ASSERT_EQ(shown.status, 0);
  EXPECT_EQ(shown.output,
            "level 2 spectating 1\nsaved 0\n" + expected + "menu 1 spectating 0\nsaved 1\n");
}

TEST_F(WindowRunsTest, AnyKeyButTheQuitKeyEndsAReplay) {
  const std::string text = "zorvane-run 1\nlevel 9\n500 U\n";
  const ChildResult shown = RunInChild([&text] {
    HeadlessGame game(HeadlessGame::StateFile::kIgnored);
    WindowRuns runs(nullptr, Runs(text), false);
    Attach(runs);
    MyApp& app = game.app();
    for (int i = 0; i < 300 && app.screens.ScreenMode != ModeInGame; ++i) game.Step();
    game.Step(100);
    game.KeyDown('Q');
    game.Step(2);
    game.KeyUp('Q');
    std::printf("menu %d spectating %d done %d\n", app.screens.ScreenMode == ModeMenu ? 1 : 0,
                app.play.Spectating ? 1 : 0, runs.Spectating() ? 0 : 1);
  });
  EXPECT_EQ(shown.status, 0);
  EXPECT_EQ(Said(shown.output), "menu 1 spectating 0 done 1\n");
  const ChildResult quit = RunInChild([&text] {
    HeadlessGame game(HeadlessGame::StateFile::kIgnored);
    WindowRuns runs(nullptr, Runs(text), false);
    Attach(runs);
    game.Step(200);
    game.TapKey(key::kF4);
    std::printf("still running\n");
  });
  EXPECT_EQ(quit.status, 0);
  EXPECT_EQ(Said(quit.output), "");
}

}  // namespace
