// The particle pool: throws, the per-frame move and draw, bouncing and the pool limits.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "base/random.h"
#include "game/records.h"
#include "headless_game.h"

namespace {

constexpr int kParticleSlot = 10;
constexpr float kTile = 31.0f;

class ParticlesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app.ResetParticles(particle::kDefaultCount);
    app.CamX = app.CamY = 0;
  }
  float Field(int start, int field) const { return app.Particles[start + field]; }
  int LiveCount() const {
    int live = 0;
    for (int i = 0; i <= app.ParticleCount; ++i)
      if (app.Particles[i * particle::kFloats + particle::kKind] > 0) ++live;
    return live;
  }

  HeadlessGame game;
  MyApp& app = game.app();
};

TEST_F(ParticlesTest, ThrowSetsVelocityFromAngleAndSpeedAndDrawsInOrder) {
  struct Case {
    float angle, speed;
    int kind;
    float vx, vy;
  };
  const Case cases[] = {{90, 4, 1, 4, 0}, {0, 2, 1, 0, -2}, {180, 3, 2, 0, 3}, {270, 1, 3, -1, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.angle);
    Seed = 99;
    const int start = app.FreeParticle();
    app.ThrowParticle(10, 20, c.kind, 7, c.angle, c.speed);
    EXPECT_EQ(Field(start, particle::kKind), c.kind);
    EXPECT_EQ(Field(start, particle::kX), 10);
    EXPECT_EQ(Field(start, particle::kY), 20);
    EXPECT_NEAR(Field(start, particle::kVX), c.vx, 1e-5);
    EXPECT_NEAR(Field(start, particle::kVY), c.vy, 1e-5);
    EXPECT_EQ(Field(start, particle::kColour), 7);
    // The four draws after the defaults: angle, spin, life, frame.
    Seed = 99;
    const double angle = 360 * Rnd(), spin = 16 * Rnd() - 8, life = 1.8 + 0.7 * Rnd();
    const double frame = std::floor(255.99 * Rnd());
    EXPECT_FLOAT_EQ(Field(start, particle::kAngle), static_cast<float>(angle));
    EXPECT_FLOAT_EQ(Field(start, particle::kSpin), static_cast<float>(spin));
    EXPECT_FLOAT_EQ(Field(start, particle::kLife), c.kind == 3 ? 0.8f : static_cast<float>(life));
    EXPECT_EQ(Field(start, particle::kFrame), frame);
  }
}

TEST_F(ParticlesTest, RandomAngleAndSpeedAreDrawnFirst) {
  Seed = 5;
  const double angle = 360 * Rnd(), speed = 3 + 5 * Rnd(), turned = 360 * Rnd();
  Seed = 5;
  const int start = app.FreeParticle();
  app.ThrowParticle(0, 0, 1, 3);
  EXPECT_NEAR(Field(start, particle::kVX), speed * std::sin(angle * M_PI / 180), 1e-4);
  EXPECT_NEAR(Field(start, particle::kVY), -speed * std::cos(angle * M_PI / 180), 1e-4);
  EXPECT_FLOAT_EQ(Field(start, particle::kAngle), static_cast<float>(turned));
}

TEST_F(ParticlesTest, FullPoolDropsThrowsSilentlyButKeepsTheSequence) {
  for (int i = 0; i <= app.ParticleCount; ++i) app.ThrowParticle(0, 0, 1, 3, 0, 1);
  ASSERT_EQ(LiveCount(), app.ParticleCount + 1);
  EXPECT_EQ(app.FreeParticle(), -1);
  // Only the two defaults are drawn for each dropped throw.
  Seed = 7;
  for (int i = 0; i < 48; ++i) Rnd();
  const int expected = Seed;
  const auto before = app.Particles;
  Seed = 7;
  for (int i = 0; i < 24; ++i) app.ThrowParticle(5, 5, 1, 3);
  EXPECT_EQ(app.Particles, before);
  EXPECT_EQ(Seed, expected);
}

TEST_F(ParticlesTest, ResetKeepsTheCountOutsideItsRangeAndFreesEveryRecord) {
  struct Case {
    int count, expected;
  };
  for (const Case c : {Case{0, 250}, Case{500, 250}, Case{-1, 250}, Case{10, 10}, Case{499, 499}}) {
    SCOPED_TRACE(c.count);
    app.ParticleCount = particle::kDefaultCount;
    for (int i = 0; i < 300; ++i) app.ThrowParticle(0, 0, 1, 1, 0, 1);
    app.ResetParticles(c.count);
    EXPECT_EQ(app.ParticleCount, c.expected);
    EXPECT_EQ(LiveCount(), 0);
  }
  // A negative count means no pool: nothing is free, thrown or drawn from the sequence.
  app.ParticleCount = -1;
  EXPECT_EQ(app.FreeParticle(), -1);
  app.ResetParticles(-5);
  EXPECT_EQ(app.ParticleCount, -1);
  const int seed = Seed;
  app.ThrowParticle(0, 0, 1, 1, 0, 1);
  EXPECT_EQ(Seed, seed);
}

TEST_F(ParticlesTest, DrawsEachLiveParticleWithItsStateThenResetsTheDrawState) {
  app.CamX = 100;
  app.CamY = 50;
  const int start = app.FreeParticle();
  app.ThrowParticle(300, 200, 1, 2, 90, 4);
  app.Particles[start + particle::kLife] = 0.5f;
  const float angle = Field(start, particle::kAngle) + Field(start, particle::kSpin);
  app.DrawCount = 0;
  app.DoParticles();
  ASSERT_EQ(app.DrawCount, drawrec::kFloats);
  const float* r = app.DrawList.data();
  EXPECT_EQ(r[drawrec::kSlot], kParticleSlot);
  EXPECT_EQ(r[drawrec::kX], 304 - 100);
  EXPECT_EQ(r[drawrec::kY], 200 - 50);
  EXPECT_FLOAT_EQ(r[drawrec::kRot], -angle);
  EXPECT_EQ(r[drawrec::kSizeX], 1.5f);
  EXPECT_EQ(r[drawrec::kSizeY], 1.5f);
  EXPECT_EQ(r[drawrec::kFrame], Field(start, particle::kFrame));
  EXPECT_EQ(r[drawrec::kAlpha], 0.5f);
  EXPECT_EQ((std::array{r[drawrec::kRed], r[drawrec::kGreen], r[drawrec::kBlue]}),
            (std::array{255.0f, 255.0f, 102.0f}));
  EXPECT_FLOAT_EQ(Field(start, particle::kLife), 0.47f);
  EXPECT_EQ((std::array{app.DrawSizeX, app.DrawRot, app.DrawRed, app.DrawAlpha}),
            (std::array{1.0f, 0.0f, 255.0f, 1.0f}));
}

TEST_F(ParticlesTest, InkScalesTheTableAndClamps) {
  struct Case {
    int colour;
    float level;
    std::array<float, 3> rgb;
  };
  const Case cases[] = {{1, 4, {255, 102, 102}},
                        {2, 4, {255, 255, 102}},
                        {5, 4, {102, 255, 255}},
                        {7, 4, {255, 102, 255}},
                        {9, 4, {255, 255, 255}},
                        {0, 4, {255, 255, 255}},
                        {-3, 1, {76.5f, 76.5f, 76.5f}},
                        {10, 1, {76.5f, 76.5f, 76.5f}},
                        {4, 1, {25.5f, 255, 25.5f}},
                        {6, 0.5f, {12.75f, 12.75f, 127.5f}},
                        {3, -1, {0, 0, 0}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.colour);
    app.Ink(c.colour, c.level);
    EXPECT_NEAR(app.DrawRed, c.rgb[0], 1e-3);
    EXPECT_NEAR(app.DrawGreen, c.rgb[1], 1e-3);
    EXPECT_NEAR(app.DrawBlue, c.rgb[2], 1e-3);
  }
}

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
  EXPECT_EQ(quickFrames, 16);  // 0.8 at 0.05 a frame
  EXPECT_NEAR(plainFrames, std::floor(life / 0.03f), 1);
  EXPECT_GE(plainFrames, 59);
  EXPECT_LE(plainFrames, 84);
}

TEST_F(ParticlesTest, FallingParticleBouncesOffABlockAtEightyPercent) {
  // A block under the particle in an otherwise empty column; outside the world is solid too.
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
    if (after < 0 && before >= 0) {
      ++bounces;
      EXPECT_FLOAT_EQ(after, -0.8f * (before + 0.2f));
      EXPECT_GE(Field(start, particle::kY), floorY);
    }
  }
  EXPECT_GE(bounces, 3);
  EXPECT_LT(Field(start, particle::kY), floorY + kTile);
}

}  // namespace
