// The particle pool: how each kind moves and how long it lives, and its size. Particles never
// act on play, so the simulator's traces cannot see them.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "base/random.h"
#include "game/core/records.h"
#include "sim/headless_game.h"

namespace {

class ParticlesTest : public ::testing::Test {
 protected:
  void SetUp() override { app.play.ResetParticles(particle::kDefaultCount); }
  int LiveCount() const {
    int live = 0;
    for (int i = 0; i <= app.play.ParticleCount; ++i)
      live += app.play.Particles[i * particle::kFloats + particle::kKind] > 0;
    return live;
  }

  HeadlessGame game;
  MyApp& app = game.app();
};

// Each kind thrown from the same place in an empty world (once over a floor of blocks 47
// pixels down): sparks (1) drift for 72 updates, debris (2) slows by 5% an update, falls at
// 0.2 more and bounces off the floor at 80% of its speed, quick sparks (3) fade in 17.
TEST_F(ParticlesTest, EachKindMovesAndFadesItsOwnWay) {
  const struct {
    int kind;
    float angle, speed;
    bool floor;
    int updates;
    std::array<float, 4> after;  // x, y, vx, vy after the updates, from the throw
    int life;
  } cases[] = {
      {1, 0, 3, false, 10, {0, -30, 0, -3}, 72},
      {2, 90, 2, false, 10, {16.0507f, 9, 1.19747f, 2}, 72},
      {2, 180, 1, true, 30, {0, 17.6399f, 0, -1.28f}, 72},
      {3, 90, 2, false, 10, {20, 0, 2, 0}, 17},
  };
  constexpr float kX0 = 40 * 31 + 15, kY0 = 40 * 31 + 15;
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << c.kind << " angle " << c.angle);
    app.world.Tiles.fill(0);
    for (int x = 30; x < 50 && c.floor; ++x)
      app.world.Tiles[world::TileIndex(x / 16, 42 / 12, x % 16, 42 % 12)] = code::kBlock;
    app.play.ResetParticles(particle::kDefaultCount);
    Seed = 1;  // the life has a random part
    const int start = app.play.FreeParticle();
    app.play.ThrowParticle(kX0, kY0, c.kind, 4, c.angle, c.speed);
    const float* p = &app.play.Particles[start];
    int updates = 0;
    for (; updates < c.updates; ++updates) app.play.DoParticles(app.frame, app.world);
    const std::array moved{p[particle::kX] - kX0, p[particle::kY] - kY0, p[particle::kVX],
                           p[particle::kVY]};
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(moved[i], c.after[i], 1e-3) << i;
    for (; p[particle::kKind] > 0 && updates < 1000; ++updates)
      app.play.DoParticles(app.frame, app.world);
    EXPECT_EQ(updates, c.life);
  }
}

// A count outside 1..499 keeps the last one.
TEST_F(ParticlesTest, ResetKeepsTheCountOutsideItsRangeAndFreesEveryRecord) {
  for (const auto& [count, expected] : {std::pair{0, 250}, {500, 250}, {-1, 250}, {499, 499}}) {
    app.play.ParticleCount = particle::kDefaultCount;
    for (int i = 0; i < 300; ++i) app.play.ThrowParticle(0, 0, 1, 1, 0, 1);
    app.play.ResetParticles(count);
    EXPECT_EQ(app.play.ParticleCount, expected) << count;
    EXPECT_EQ(LiveCount(), 0) << count;
  }
}

}  // namespace
