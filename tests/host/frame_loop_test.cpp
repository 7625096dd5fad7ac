// The frame loop driven by a fake clock and a fake window.
#include <gtest/gtest.h>

#include "host/glfw_game.h"

namespace {

class FakeClockGame : public KvGlfwGame {
 public:
  using KvGlfwGame::nextUpdate;
  double now = 100.0;
  int swaps = 0;
  bool damaged = false;

 protected:
  double Now() override { return now; }
  void SleepFor(double seconds) override { now += seconds; }
  void SwapBuffers() override { ++swaps; }
  void PollEvents() override {}
  void WaitEvents() override {}
  bool WindowActive() override { return true; }
  bool WindowOpened() override { return true; }
  bool WindowDamaged() override { return damaged; }
};

struct Counter : KvGameDelegate {
  void UpdateGame() override { ++updates; }
  // Draws only when told to or when something changed.
  bool RenderGame(bool redraw) override { return redraw || changed; }
  int updates = 0;
  bool changed = true;
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

// Only a frame the game drew is presented; a damaged window has the game draw even a still one.
TEST(FrameLoop, AStillFrameIsNotPresentedUnlessTheWindowWasDamaged) {
  FakeClockGame game;
  Counter counter;
  game.SetDelegate(&counter);
  game.StartGame();
  game.FramePass();
  counter.changed = false;
  game.FramePass();
  EXPECT_EQ(game.swaps, 1);
  game.damaged = true;
  game.FramePass();
  EXPECT_EQ(game.swaps, 2);
}
