// The particle pool: how each kind moves and how long it lives, the pool's limits and the inks.
// Particles never act on play, so the simulator's traces cannot see them.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <tuple>

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

// Only the two random defaults are drawn for each dropped throw, so how full the pool is does
// not change the shared sequence; a throw without angle and speed goes at 3..8.
TEST_F(ParticlesTest, FullPoolDropsThrowsSilentlyButKeepsTheSequence) {
  for (int i = 0; i <= app.play.ParticleCount; ++i) app.play.ThrowParticle(0, 0, 1, 3);
  for (int i = 0; i <= app.play.ParticleCount; ++i) {
    const float* p = &app.play.Particles[i * particle::kFloats];
    const float speed = std::hypot(p[particle::kVX], p[particle::kVY]);
    ASSERT_TRUE(speed >= 3 && speed < 8) << speed;
  }
  EXPECT_EQ(app.play.FreeParticle(), -1);
  Seed = 7;
  for (int i = 0; i < 48; ++i) Rnd();
  const int expected = Seed;
  const auto before = app.play.Particles;
  Seed = 7;
  for (int i = 0; i < 24; ++i) app.play.ThrowParticle(5, 5, 1, 3);
  EXPECT_EQ(app.play.Particles, before);
  EXPECT_EQ(Seed, expected);
}

// A count outside 1..499 keeps the last one; a negative count left in place means no pool.
TEST_F(ParticlesTest, ResetKeepsTheCountOutsideItsRangeAndFreesEveryRecord) {
  for (const auto& [count, expected] : {std::pair{0, 250}, {500, 250}, {-1, 250}, {499, 499}}) {
    app.play.ParticleCount = particle::kDefaultCount;
    for (int i = 0; i < 300; ++i) app.play.ThrowParticle(0, 0, 1, 1, 0, 1);
    app.play.ResetParticles(count);
    EXPECT_EQ(app.play.ParticleCount, expected) << count;
    EXPECT_EQ(LiveCount(), 0) << count;
  }
  app.play.ParticleCount = -1;
  app.play.ResetParticles(-5);
  EXPECT_EQ(app.play.FreeParticle(), -1);
  const int seed = Seed;
  app.play.ThrowParticle(0, 0, 1, 1, 0, 1);
  EXPECT_EQ(Seed, seed);
}

// A colour outside the table is the grey of colour 0; channels scale and stay within 0..255.
TEST_F(ParticlesTest, InkScalesTheTableAndClamps) {
  for (const auto& [colour, level, rgb] : {std::tuple{10, 1.0f, std::array{76.5f, 76.5f, 76.5f}},
                                           {4, 4, {102, 255, 102}},
                                           {6, 0.5f, {12.75f, 12.75f, 127.5f}},
                                           {3, -1, {0, 0, 0}}}) {
    Ink(app.frame, colour, level);
    EXPECT_EQ((std::array{app.frame.DrawRed, app.frame.DrawGreen, app.frame.DrawBlue}), rgb)
        << colour;
  }
}

}  // namespace
