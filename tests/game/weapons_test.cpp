// The ship's weapons in a bare room where the traces of tests/sim do not reach: when they may
// fire, a full pool, each special weapon over its life, the orbiting ball and shots at tiles.
#include <climits>
#include <cmath>
#include <tuple>

#include "combat_arena.h"

namespace {

using namespace object;

class Weapons : public Arena {
 protected:
  void Arm(int weapon, float ammo = 4) {
    app().play.Player[player::kWeapon] = static_cast<float>(weapon);
    app().play.Player[player::kAmmo] = ammo;
  }
  float& Ammo() { return app().play.Player[player::kAmmo]; }
  float& Orbit(int field) { return app().play.Player[field]; }
  int CountShots() { return static_cast<int>(Live(kShot).size() + Live(kLowerShot).size()); }
};

// Nothing fires while a menu key is latched, the ship is destroyed or taking off, or the level
// is starting.
TEST_F(Weapons, FiringWaitsForPlay) {
  Arm(weapon::kBomb);
  game().KeyDown('Z');
  game().KeyDown('X');
  for (const auto& [latch, exitState, intro] :
       {std::tuple{1, 0, 0}, {0, 4, 0}, {0, -2, 0}, {0, 0, 30}}) {
    app().controls.KeyLatch = latch;
    app().play.ExitState = exitState;
    app().play.LevelIntro = intro;
    app().level.FireWeapons();
    EXPECT_EQ(app().level.FreeSlot(), 2000);
    EXPECT_EQ(Ammo(), 4);
  }
}

// With the pool full the main gun and thrown weapons spend nothing, the Big Lazer its round.
// Record 0 serves the main gun but never a special weapon.
TEST_F(Weapons, AFullPoolRefusesShotsAndWeapons) {
  for (const auto& [weapon, free, fire, ammoAfter, recordZero] :
       {std::tuple{weapon::kBomb, std::vector<int>{}, true, 4.0f, 99.0f},
        {weapon::kBigLazer, {}, true, 3, 99},
        {weapon::kGrenade, {0}, false, 4, kFree},
        {weapon::kBigLazer, {0}, false, 3, kFree},
        {weapon::kBomb, {0}, true, 4, kShot}}) {
    SCOPED_TRACE(weapon);
    FillPoolExcept(free);
    Arm(weapon);
    app().play.Player[player::kFireCooldown] = 0;
    app().play.Player[player::kSpecialLatch] = 0;
    if (fire) game().KeyDown('Z');
    game().KeyDown('X');
    app().level.FireWeapons();
    game().KeyUp('Z');
    game().KeyUp('X');
    EXPECT_EQ(Ammo(), ammoAfter);
    EXPECT_EQ(Record(0)[kKind], recordZero);
    EXPECT_EQ(app().play.Player[player::kFireCooldown], recordZero == kShot ? 15 : -1);
  }
}

// One press, however long held, spends one round; the weapon lives its fuse (the grenade until
// it meets the floor) and makes its shots: the bomb two rings of 8, the turret one every eighth
// update, the grenade a ring of 16, the tracker with nothing to home on a ring of 4, the Big
// Lazer 32 at once along the facing. Without ammunition nothing leaves.
TEST_F(Weapons, EachSpecialWeaponOverItsLife) {
  const struct {
    int weapon;
    float facing, ammo;
    int sound;
    float vx;  // of record 2000 once thrown
    int life, shots;
  } cases[] = {
      {weapon::kBomb, 1, 2, 149, 0, 91, 16},     {weapon::kTurret, -1, 2, 152, 0, 91, 12},
      {weapon::kGrenade, 1, 2, 150, 6, 34, 16},  {weapon::kGrenade, -1, 2, 150, -6, 39, 16},
      {weapon::kTracker, 1, 2, 151, 0, 181, 4},  {weapon::kBigLazer, -1, 2, 154, -12, 0, 32},
      {weapon::kBigLazer, 1, 2, 154, 12, 0, 32}, {weapon::kGrenade, 1, 0, -1, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.weapon << " facing " << c.facing);
    ClearPool();
    Arm(c.weapon, c.ammo);
    app().play.Player[player::kFacing] = c.facing;
    SoundsPlayed();
    game().KeyDown('X');
    for (int i = 0; i < 20; ++i) app().level.FireWeapons();
    game().KeyUp('X');
    app().level.FireWeapons();
    EXPECT_EQ(Ammo(), std::max(c.ammo - 1, 0.0f));
    EXPECT_EQ(SoundsPlayed(), c.sound < 0 ? std::vector<int>{} : std::vector<int>{c.sound});
    EXPECT_TRUE(c.sound < 0 || Record(2000)[kVX] == c.vx);
    int life = 0, shots = CountShots();
    for (; !Live(c.weapon).empty() && life < 400; ++life) {
      const auto before = app().play.Objects;
      app().level.UpdateObjects();
      // A new shot: a record that was no shot, or one that did not move on from where it was.
      for (int r = 0; r < kRecords * kFloats; r += kFloats)
        shots += Record(r)[kKind] == kShot &&
                 (before[r + kKind] != kShot || Record(r)[kX] != before[r + kX] + before[r + kVX]);
    }
    EXPECT_EQ(life, c.life);
    EXPECT_EQ(shots, c.shots);
  }
}

// A ball record that is not the start of one in the pool (negative, past the end, between
// records, not a number) is replaced by a free one; with none free there is no ball.
TEST_F(Weapons, OrbitBlasterTakesAFreeRecordWhenItHasNone) {
  for (const float record : {-1.0f, 0.0f, 500.0f, 2010.0f, 7.5f, kNaN}) {
    Orbit(player::kOrbitRecord) = record;
    app().level.StartOrbitBlaster();
    EXPECT_EQ(Orbit(player::kOrbitRecord), record == 0 || record == 500 ? record : 2000) << record;
    EXPECT_EQ(Orbit(player::kOrbitFrames), 450);
  }
  FillPoolExcept({});
  Orbit(player::kOrbitFrames) = 0;
  app().level.StartOrbitBlaster();
  EXPECT_EQ(Orbit(player::kOrbitFrames), 0);
}

// The ball circles the ship 64 out for 450 updates and survives its hits; an object that took
// its record while it was freed stays; a destroyed ship takes its ball with it.
TEST_F(Weapons, OrbitBlasterCirclesTheShipAndEndsWithTheShip) {
  Orbit(player::kOrbitRecord) = -1;
  app().level.StartOrbitBlaster();
  Put(0, kBarrier, ShipX() + 64, ShipY(), 0, 0, 100, 0);  // indestructible, on the circle
  int frames = 0;
  for (; Orbit(player::kOrbitFrames) > 0; ++frames) {
    app().level.UpdateOrbitBlaster();
    const int ball = static_cast<int>(Orbit(player::kOrbitRecord));
    const float distance =
        ball < 0 ? 64 : std::hypot(Record(ball)[kX] - ShipX(), Record(ball)[kY] - ShipY());
    ASSERT_NEAR(distance, 64, 1e-3);
    app().level.UpdateObjects();
  }
  EXPECT_EQ(frames, 450);
  EXPECT_GT(app().play.Score, 0);
  EXPECT_TRUE(Live(kOrbitBall).empty());
  ClearPool();
  app().level.StartOrbitBlaster();
  app().level.UpdateOrbitBlaster();
  Put(200, kWalker, TileX(2), TileY(2), 0, 0, 3, 60);  // takes the ball's record
  app().level.UpdateOrbitBlaster();
  app().play.ExitState = 1;
  app().level.UpdateOrbitBlaster();
  EXPECT_EQ(Orbit(player::kOrbitRecord), -1);
  EXPECT_TRUE(Live(kOrbitBall).empty());
  EXPECT_EQ(Record(2000)[kKind], kWalker);
}

// A shot at a tile: the tile left behind, the score and the debris; nothing outside the world.
TEST_F(Weapons, ShootShitDamagesBlocksAndReleasesWhatTheyHide) {
  const struct {
    int col, row, code, hitPoints, damage, codeAfter, hitPointsAfter, score;
  } cases[] = {
      {0, 5, code::kBlock, 2, 9, code::kBlock, 2, 0},  // the room's left column
      {5, 0, code::kBlock, 2, 9, code::kBlock, 2, 0},  // its top row
      {5, 5, 26, 0, 9, 26, 0, 0},                      // a wall
      {5, 5, code::kBlock, 2, INT_MIN, code::kBlock, INT_MAX, 5},
      {15, 11, code::kBlock, 1, 1, code::kEmpty, 0, 15},
      {5, 5, 215, 2, 6, 45, -4, 15},
      {5, 5, 352, 2, 2, 452, 0, 15},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.code << " at " << c.col << "," << c.row);
    SetTile(c.col, c.row, c.code, c.hitPoints);
    app().play.Score = 0;
    ClearParticles();
    app().level.ShootShit(static_cast<int>(TileX(c.col)), static_cast<int>(TileY(c.row)), c.damage);
    EXPECT_EQ((std::array{Tile(c.col, c.row)[0], Tile(c.col, c.row)[tile::kHitPoints]}),
              (std::array{c.codeAfter, c.hitPointsAfter}));
    EXPECT_EQ(app().play.Score, c.score);
    EXPECT_EQ(LiveParticles(), c.score == 15 ? 8 : 0);
  }
  for (int x : {-5, INT_MAX, INT_MIN}) app().level.ShootShit(x, 100, 9);
  for (int y : {-5, INT_MAX, INT_MIN}) app().level.ShootShit(100, y, 9);
  EXPECT_EQ(app().play.Score, 15) << "nothing outside the world";
}

// One update of a shot in a tile: shots and the ball break what they can; the ball is quiet
// when the tile stays; a shot leaving its room is spent at the doorway.
TEST_F(Weapons, ShotsAgainstTiles) {
  const struct {
    int kind, col, code, hitPoints;
    float strength;
    int codeAfter;
    std::vector<int> sounds;
  } cases[] = {
      {kShot, 6, code::kBlock, 1, 1, code::kEmpty, {kBreakSound, 5}},
      {kLowerShot, 6, code::kBlock, 2, 1, code::kBlock, {5}},
      {kOrbitBall, 6, code::kBlock, 2, 2, code::kEmpty, {kBreakSound, 5}},
      {kOrbitBall, 6, code::kBlock, 3, 2, code::kBlock, {}},
      {kShot, 15, code::kEmpty, 0, 1, code::kEmpty, {5}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.kind << " at " << c.col);
    ClearPool();
    SetTile(c.col, 6, c.code, c.hitPoints);
    // The doorway's shot starts past the tile's centre and leaves the room this update.
    Put(100, c.kind, TileX(c.col) + (c.col == 15 ? 10 : -8), TileY(6), 8, 0, c.strength);
    SoundsPlayed();
    app().level.UpdateObjects();
    EXPECT_EQ(Record(1000)[kKind], kFree);
    EXPECT_EQ(*Tile(c.col, 6), c.codeAfter);
    EXPECT_EQ(SoundsPlayed(), c.sounds);
  }
}

}  // namespace
