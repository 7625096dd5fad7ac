// The frame loop driven by a fake clock and a fake window.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "host/glfw_game.h"

namespace {

class FakeClockGame : public KvGlfwGame {
 public:
  using KvGlfwGame::nextUpdate;
  double now = 100.0, slept = 0;
  bool active = true;
  int waits = 0;

 protected:
  double Now() override { return now; }
  void SleepFor(double seconds) override {
    slept += seconds;
    now += seconds;
  }
  void SwapBuffers() override {}
  void PollEvents() override {}
  void WaitEvents() override { ++waits; }
  bool WindowActive() override { return active; }
  bool WindowOpened() override { return true; }
};

class FrameLoopTest : public ::testing::Test, public KvGameDelegate {
 protected:
  void SetUp() override {
    game.SetDelegate(this);
    game.StartGame();
    game.SetUpdateRate(60);
    game.FramePass();  // schedules from now and runs the first update
  }
  void SuspendGame() override { calls.push_back("suspend"); }
  void ResumeGame() override { calls.push_back("resume"); }
  void UpdateGame() override { ++updates; }

  FakeClockGame game;
  std::vector<std::string> calls;
  int updates = 0;
};

}  // namespace

// A late loop catches up at most four updates at a time, then the schedule restarts from the
// current time instead of replaying what was missed; focus suspends and resumes.
TEST_F(FrameLoopTest, UpdatesFollowTheRateAndFocus) {
  game.FramePass();
  EXPECT_NEAR(game.slept, 1.0 / 60, 1e-9);
  game.now += 0.04;  // the updates due at +2/60 and +3/60 are late
  game.FramePass();
  EXPECT_EQ(updates, 4);
  game.now += 1.0;  // the process stalled for a second
  game.FramePass();
  game.FramePass();
  EXPECT_EQ(updates, 5 + kMaxUpdatesPerPass);
  EXPECT_NEAR(game.nextUpdate, game.now + 1.0 / 60, 1e-9);
  game.active = false;
  game.FramePass();  // focus lost: suspend, no update
  game.FramePass();  // suspended: render once and block for events
  EXPECT_EQ(std::tuple(updates, game.waits), std::tuple(5 + kMaxUpdatesPerPass, 1));
  game.active = true;
  game.FramePass();
  EXPECT_EQ(updates, 6 + kMaxUpdatesPerPass);
  EXPECT_EQ(calls, (std::vector<std::string>{"suspend", "resume"}));
}
