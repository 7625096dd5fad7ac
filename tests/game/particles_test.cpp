// The particle pool: throws, life, bouncing and the pool limits. The exact random draws of a
// throw and how a particle is drawn are held by the frame golden; here, their rules.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <tuple>

#include "base/random.h"
#include "game/records.h"
#include "sim/headless_game.h"

namespace {

constexpr float kTile = 31.0f;

class ParticlesTest : public ::testing::Test {
 protected:
  void SetUp() override { app.ResetParticles(particle::kDefaultCount); }
  float Field(int start, int field) const { return app.Particles[start + field]; }
  int LiveCount() const {
    int live = 0;
    for (int i = 0; i <= app.ParticleCount; ++i)
      live += app.Particles[i * particle::kFloats + particle::kKind] > 0;
    return live;
  }

  HeadlessGame game;
  MyApp& app = game.app();
};

// Velocity from the angle (0 up, 90 right) and speed, or from a random direction at 3..8;
// turn, spin, life and frame drawn within their ranges; a quick fade (kind 3) lives 0.8.
TEST_F(ParticlesTest, ThrowSetsTheRecordFromItsArgumentsAndRandomDraws) {
  for (int seed = 1; seed <= 20; ++seed) {
    for (const auto& [angle, speed, kind, vx, vy] : {std::tuple{90.0f, 4.0f, 1, 4.0f, 0.0f},
                                                     {180, 3, 2, 0, 3},
                                                     {270, 1, 3, -1, 0},
                                                     {kNoArg, kNoArg, 1, 0, 0}}) {
      SCOPED_TRACE(testing::Message() << angle << " seed " << seed);
      Seed = seed;
      const int start = app.FreeParticle();
      app.ThrowParticle(10, 20, kind, 7, angle, speed);
      const float* p = &app.Particles[start];
      using namespace particle;
      EXPECT_EQ((std::array{p[kKind], p[kX], p[kY], p[kColour]}),
                (std::array{static_cast<float>(kind), 10.0f, 20.0f, 7.0f}));
      const float thrown = std::hypot(p[kVX], p[kVY]);
      EXPECT_TRUE(speed == kNoArg ? thrown >= 3 && thrown < 8
                                  : std::abs(p[kVX] - vx) + std::abs(p[kVY] - vy) < 1e-5)
          << p[kVX] << "," << p[kVY];
      EXPECT_TRUE(p[kAngle] >= 0 && p[kAngle] < 360 && p[kSpin] >= -8 && p[kSpin] < 8);
      EXPECT_TRUE(kind == 3 ? p[kLife] == 0.8f : p[kLife] >= 1.8f && p[kLife] < 2.5f);
      EXPECT_TRUE(p[kFrame] >= 0 && p[kFrame] <= 255 && p[kFrame] == std::trunc(p[kFrame]));
      app.Particles[start + kKind] = 0;
    }
  }
}

// Only the two random defaults are drawn for each dropped throw, so how full the pool is
// does not change the shared sequence.
TEST_F(ParticlesTest, FullPoolDropsThrowsSilentlyButKeepsTheSequence) {
  for (int i = 0; i <= app.ParticleCount; ++i) app.ThrowParticle(0, 0, 1, 3, 0, 1);
  ASSERT_EQ(LiveCount(), app.ParticleCount + 1);
  EXPECT_EQ(app.FreeParticle(), -1);
  Seed = 7;
  for (int i = 0; i < 48; ++i) Rnd();
  const int expected = Seed;
  const auto before = app.Particles;
  Seed = 7;
  for (int i = 0; i < 24; ++i) app.ThrowParticle(5, 5, 1, 3);
  EXPECT_EQ(app.Particles, before);
  EXPECT_EQ(Seed, expected);
}

// A count outside 1..499 keeps the last one; a negative count left in place means no pool:
// nothing is free, thrown or drawn from the sequence.
TEST_F(ParticlesTest, ResetKeepsTheCountOutsideItsRangeAndFreesEveryRecord) {
  for (const auto& [count, expected] :
       {std::pair{0, 250}, {500, 250}, {-1, 250}, {10, 10}, {499, 499}}) {
    app.ParticleCount = particle::kDefaultCount;
    for (int i = 0; i < 300; ++i) app.ThrowParticle(0, 0, 1, 1, 0, 1);
    app.ResetParticles(count);
    EXPECT_EQ(app.ParticleCount, expected) << count;
    EXPECT_EQ(LiveCount(), 0) << count;
  }
  app.ParticleCount = -1;
  EXPECT_EQ(app.FreeParticle(), -1);
  app.ResetParticles(-5);
  EXPECT_EQ(app.ParticleCount, -1);
  const int seed = Seed;
  app.ThrowParticle(0, 0, 1, 1, 0, 1);
  EXPECT_EQ(Seed, seed);
}

// A colour outside the table is the grey of colour 0; channels scale with the level and stay
// within 0..255.
TEST_F(ParticlesTest, InkScalesTheTableAndClamps) {
  for (const auto& [colour, level, rgb] : {std::tuple{-3, 1.0f, std::array{76.5f, 76.5f, 76.5f}},
                                           {10, 1, {76.5f, 76.5f, 76.5f}},
                                           {4, 1, {25.5f, 255, 25.5f}},
                                           {4, 4, {102, 255, 102}},
                                           {6, 0.5f, {12.75f, 12.75f, 127.5f}},
                                           {3, -1, {0, 0, 0}}}) {
    app.Ink(colour, level);
    const std::array drawn{app.DrawRed, app.DrawGreen, app.DrawBlue};
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(drawn[i], rgb[i], 1e-3) << colour << " " << i;
  }
}

// Life falls by 0.03 an update (a quick fade by 0.05 more) and the particle goes below 0.
TEST_F(ParticlesTest, LifeEndsTheParticleAndQuickFadeEndsSooner) {
  const int plain = app.FreeParticle();
  app.ThrowParticle(0, 0, 1, 1, 0, 0);
  const int quick = app.FreeParticle();
  app.ThrowParticle(0, 0, 3, 1, 0, 0);
  const float life = Field(plain, particle::kLife);
  int plainFrames = 0, quickFrames = 0;
  for (int frame = 1; frame <= 100; ++frame) {
    app.DoParticles();
    if (Field(plain, particle::kKind) > 0) plainFrames = frame;
    if (Field(quick, particle::kKind) > 0) quickFrames = frame;
  }
  EXPECT_EQ(quickFrames, 16);
  EXPECT_NEAR(plainFrames, std::floor(life / 0.03f), 1);
}

// A bouncing particle (kind 2) falls onto a block in an otherwise empty world and comes back
// up at 80 % each time, never sinking through it.
TEST_F(ParticlesTest, FallingParticleBouncesOffABlockAtEightyPercent) {
  app.World.fill(0);
  const float x = 10.5f * kTile, floorY = 20 * kTile;
  app.PutAt(x, floorY + 1, code::kBlock);
  const int start = app.FreeParticle();
  app.ThrowParticle(x, floorY - 40, 2, 3, 180, 0);
  app.Particles[start + particle::kLife] = 100;  // outlive the test
  int bounces = 0;
  for (int frame = 0; frame < 200; ++frame) {
    const float before = Field(start, particle::kVY);
    app.DoParticles();
    const float after = Field(start, particle::kVY);
    if (after >= 0 || before < 0) continue;
    ++bounces;
    EXPECT_FLOAT_EQ(after, -0.8f * (before + 0.2f));
    EXPECT_GE(Field(start, particle::kY), floorY);
  }
  EXPECT_GE(bounces, 3);
  EXPECT_LT(Field(start, particle::kY), floorY + kTile);
}

}  // namespace
