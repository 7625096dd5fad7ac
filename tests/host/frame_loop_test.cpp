// The frame loop driven by a fake clock and a fake window.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "host/glfw_game.h"

namespace {

class FakeClockGame : public KvGlfwGame {
 public:
  using KvGlfwGame::nextUpdate;
  double now = 100.0;
  bool active = true;
  double slept = 0;
  int polls = 0, waits = 0, swaps = 0;

 protected:
  double Now() override { return now; }
  void SleepFor(double seconds) override {
    slept += seconds;
    now += seconds;
  }
  void SwapBuffers() override { ++swaps; }
  void PollEvents() override { ++polls; }
  void WaitEvents() override { ++waits; }
  bool WindowActive() override { return active; }
  bool WindowOpened() override { return true; }
};

class RecordingDelegate : public KvGameDelegate {
 public:
  void StartGame() override { calls.push_back("start"); }
  void SuspendGame() override { calls.push_back("suspend"); }
  void ResumeGame() override { calls.push_back("resume"); }
  void UpdateGame() override {
    ++updates;
    if (onUpdate) onUpdate();
  }
  void RenderGame() override { ++renders; }

  std::vector<std::string> calls;
  int updates = 0, renders = 0;
  std::function<void()> onUpdate;
};

class FrameLoopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    game.SetDelegate(&delegate);
    game.StartGame();
  }
  FakeClockGame game;
  RecordingDelegate delegate;
};

}  // namespace

TEST_F(FrameLoopTest, RateZeroRunsOneUpdatePerRenderedFrame) {
  game.SetUpdateRate(0);
  for (int i = 0; i < 5; ++i) game.FramePass();
  EXPECT_EQ(delegate.updates, 5);
  EXPECT_EQ(delegate.renders, 5);
  EXPECT_EQ(game.swaps, 5);
  EXPECT_EQ(game.slept, 0);
}

TEST_F(FrameLoopTest, SleepsUntilTheNextUpdateIsDue) {
  game.SetUpdateRate(60);
  game.FramePass();  // schedules from now and runs the first update
  EXPECT_EQ(delegate.updates, 1);
  game.FramePass();
  EXPECT_NEAR(game.slept, 1.0 / 60, 1e-9);
  EXPECT_EQ(delegate.updates, 2);
  // A steady loop keeps one update per frame.
  for (int i = 0; i < 58; ++i) game.FramePass();
  EXPECT_EQ(delegate.updates, 60);
  EXPECT_NEAR(game.now, 100.0 + 59.0 / 60, 1e-6);
}

TEST_F(FrameLoopTest, LateUpdatesCatchUpAtMostFourAtATimeThenTheBacklogIsDropped) {
  game.SetUpdateRate(60);
  game.FramePass();
  game.now += 0.04;  // the updates due at +1/60 and +2/60 are late
  game.FramePass();
  EXPECT_EQ(delegate.updates, 3);
  EXPECT_NEAR(game.nextUpdate, 100.0 + 3.0 / 60, 1e-9);
  game.now += 1.0;  // the process stalled for a second
  game.FramePass();
  EXPECT_EQ(delegate.updates, 3 + kMaxUpdatesPerPass);
  EXPECT_EQ(game.nextUpdate, 0.0);
  // The schedule restarts from the current time instead of replaying 60 updates.
  game.FramePass();
  EXPECT_EQ(delegate.updates, 4 + kMaxUpdatesPerPass);
  EXPECT_NEAR(game.nextUpdate, game.now + 1.0 / 60, 1e-9);
}

TEST_F(FrameLoopTest, ChangingTheRateInsideAnUpdateEndsTheCatchUp) {
  game.SetUpdateRate(60);
  game.FramePass();
  game.now += 1.0;
  delegate.onUpdate = [this] { game.SetUpdateRate(5); };
  game.FramePass();
  EXPECT_EQ(delegate.updates, 2);
  EXPECT_EQ(game.nextUpdate, 0.0);
  delegate.onUpdate = nullptr;
  game.FramePass();
  EXPECT_NEAR(game.nextUpdate, game.now + 1.0 / 5, 1e-9);
}

TEST_F(FrameLoopTest, FocusSuspendsAndResumesWithRenderingInBetween) {
  game.SetUpdateRate(60);
  game.FramePass();
  game.active = false;
  game.FramePass();  // focus lost: suspend, no update
  EXPECT_EQ(delegate.updates, 1);
  EXPECT_TRUE(game.Suspended());
  game.FramePass();  // suspended: render once and block for events
  game.FramePass();
  EXPECT_EQ(delegate.updates, 1);
  EXPECT_EQ(delegate.renders, 4);
  EXPECT_EQ(game.waits, 2);
  game.active = true;
  game.FramePass();
  EXPECT_EQ(delegate.updates, 2);
  EXPECT_FALSE(game.Suspended());
  EXPECT_EQ(delegate.calls, (std::vector<std::string>{"start", "suspend", "resume"}));
}
