// The pilot's forecast of the flight: the keys it tries out move its ship exactly as the game
// moves the real one.
#include <gtest/gtest.h>

#include <cstdint>

#include "game/pilot.h"
#include "game/records.h"
#include "sim/headless_game.h"

namespace {

TEST(Pilot, TheForecastFollowsTheFlightUpdateByUpdate) {
  HeadlessGame game(HeadlessGame::StateFile::kIgnored);
  MyApp& app = game.app();
  game.StepUntilLoaded();
  RunHeader header;
  header.level = 5;
  RequestLevel(app, header);
  game.Step();
  std::uint32_t random = 7;
  Pilot::Keys keys;
  InputFrame frame;
  int compared = 0;
  for (int update = 0; update < 3000; ++update) {
    // Keys that change every few updates: thrust more often than not, to fly about the rooms.
    if (update % 6 == 0) {
      random = random * 1664525u + 1013904223u;
      keys.up = (random >> 20) % 3 != 0;
      keys.left = (random >> 22) % 3 == 0;
      keys.right = !keys.left && (random >> 24) % 3 == 0;
    }
    const bool flying = app.ExitState == 0 && app.LevelIntro == 0;
    Pilot::Ship ship{app.Player[player::kX],  app.Player[player::kY], app.Player[player::kVX],
                     app.Player[player::kVY], app.KeyAnalogX,         app.KeyAnalogY};
    Pilot::Forecast(app, keys, ship);
    const std::bitset<kKeyCount> before = frame.held;
    frame.held.reset();
    frame.held[key::kUp] = keys.up;
    frame.held[key::kLeft] = keys.left;
    frame.held[key::kRight] = keys.right;
    DeriveHits(before, frame);
    ApplyFrame(frame, *GetInputDevice());
    game.Step();
    if (!flying || app.ExitState != 0) continue;
    ASSERT_EQ(ship.x, app.Player[player::kX]) << "update " << update;
    ASSERT_EQ(ship.y, app.Player[player::kY]) << "update " << update;
    ASSERT_EQ(ship.vx, app.Player[player::kVX]) << "update " << update;
    ASSERT_EQ(ship.vy, app.Player[player::kVY]) << "update " << update;
    ASSERT_EQ(ship.rampX, app.KeyAnalogX);
    ASSERT_EQ(ship.rampY, app.KeyAnalogY);
    ++compared;
  }
  EXPECT_GT(compared, 2000);
}

}  // namespace
