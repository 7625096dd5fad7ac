// The frame loop driven by a fake clock and a fake window.
#include <gtest/gtest.h>

#include "host/glfw_game.h"

namespace {

class FakeClockGame : public KvGlfwGame {
 public:
  using KvGlfwGame::nextUpdate;
  double now = 100.0;

 protected:
  double Now() override { return now; }
  void SleepFor(double seconds) override { now += seconds; }
  void SwapBuffers() override {}
  void PollEvents() override {}
  void WaitEvents() override {}
  bool WindowActive() override { return true; }
  bool WindowOpened() override { return true; }
};

struct Counter : KvGameDelegate {
  void UpdateGame() override { ++updates; }
  int updates = 0;
};

}  // namespace

// After a stall the loop catches up at most kMaxUpdatesPerPass updates, then schedules from
// the current time instead of replaying what was missed.
TEST(FrameLoop, AStallIsNotReplayed) {
  FakeClockGame game;
  Counter counter;
  game.SetDelegate(&counter);
  game.StartGame();
  game.SetUpdateRate(60);
  game.FramePass();
  game.now += 1.0;
  game.FramePass();
  game.FramePass();
  EXPECT_EQ(counter.updates, 2 + kMaxUpdatesPerPass);  // the second pass runs one
  EXPECT_NEAR(game.nextUpdate, game.now + 1.0 / 60, 1e-9);
}
