// The ship's weapons: the main gun's cadence, special fire, each special weapon over its
// life, the orbiting ball, shots against tiles and what broken blocks release.
#include <climits>
#include <cmath>
#include <limits>

#include "combat_arena.h"

namespace {

using namespace object;

constexpr int kFire = 'Z', kSpecialFire = 'X';
constexpr int kBreakSound = 10;  // 10..13, picked at random
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

std::vector<int> Collapsed(std::vector<int> ids) {
  for (int& id : ids)
    if (id > kBreakSound && id <= kBreakSound + 3) id = kBreakSound;
  return ids;
}

class Weapons : public Arena {
 protected:
  void Hold(int key) { game().KeyDown(key); }
  void Release(int key) { game().KeyUp(key); }
  void Arm(int weapon, float ammo = 4) {
    app().Player[player::kWeapon] = static_cast<float>(weapon);
    app().Player[player::kAmmo] = ammo;
  }
  float Ammo() { return app().Player[player::kAmmo]; }
  // One press of special fire.
  void Special() {
    Hold(kSpecialFire);
    app().FireWeapons();
    Release(kSpecialFire);
    app().FireWeapons();
  }
  int CountShots() { return static_cast<int>(Live(kShot).size() + Live(kLowerShot).size()); }
  // Runs object updates until the record no longer holds the kind; the number of updates.
  int RunUntilGone(int start, int kind, int limit) {
    for (int frame = 1; frame <= limit; ++frame) {
      app().UpdateObjects();
      if (Record(start)[kKind] != kind) return frame;
    }
    return -1;
  }
};

TEST_F(Weapons, MainGunFiresAtOnceThenEveryFifteenUpdatesWhileHeld) {
  Hold(kFire);
  std::vector<int> firing;
  for (int frame = 0; frame <= 45; ++frame) {
    app().FireWeapons();
    if (SoundsPlayed() == std::vector<int>{2}) firing.push_back(frame);
  }
  EXPECT_EQ(firing, (std::vector<int>{0, 15, 30, 45}));
  EXPECT_EQ(CountShots(), 4);
  app().FireWeapons();
  Release(kFire);
  app().FireWeapons();
  Hold(kFire);
  app().FireWeapons();
  EXPECT_EQ(CountShots(), 5) << "one update released starts the cadence again";
}

TEST_F(Weapons, MainGunShotLeavesTheShipAlongItsFacing) {
  const struct { float facing, vx; } cases[] = {{-1, -8}, {0, 8}, {1, 8}};
  Hold(kFire);
  for (const auto& c : cases) {
    ClearPool();
    app().Player[player::kFacing] = c.facing;
    app().Player[player::kFireCooldown] = 0;
    app().FireWeapons();
    const float* shot = Record(2000);
    EXPECT_EQ(Fields<5>(shot), (std::array<float, 5>{kShot, ShipX(), ShipY(), c.vx, 0}));
    EXPECT_EQ(Fields<4>(shot + kAngle), (std::array<float, 4>{0, shot[kSpin], 1, 0}));
    EXPECT_EQ(shot[kRoom], kArenaRoom);
    EXPECT_TRUE(shot[kSpin] >= -8 && shot[kSpin] <= 8 && shot[kSpin] == std::trunc(shot[kSpin]));
  }
}

// Nothing fires while a menu key is latched, the ship is destroyed or taking off, or the
// level is starting; special fire keeps its ammunition then.
TEST_F(Weapons, FiringWaitsForPlay) {
  const struct {
    int keyLatch, exitState, levelIntro;
  } cases[] = {{1, 0, 0}, {0, 4, 0}, {0, -2, 0}, {0, 0, 30}};
  Arm(weapon::kBomb);
  Hold(kFire);
  Hold(kSpecialFire);
  for (const auto& c : cases) {
    app().KeyLatch = c.keyLatch;
    app().ExitState = c.exitState;
    app().LevelIntro = c.levelIntro;
    app().FireWeapons();
    EXPECT_EQ(app().FreeSlot(), 2000);
    EXPECT_EQ(Ammo(), 4);
  }
}

// With the pool full the main gun and the thrown weapons spend nothing; the Big Lazer still
// spends its ammunition. Record 0 serves the main gun but no special weapon.
TEST_F(Weapons, AFullPoolRefusesShotsAndWeapons) {
  const struct {
    int weapon;
    std::initializer_list<int> free;
    bool fire;
    float ammoAfter, recordZero;
  } cases[] = {{weapon::kBomb, {}, true, 4, 99},          {weapon::kGrenade, {}, true, 4, 99},
               {weapon::kTracker, {}, true, 4, 99},       {weapon::kTurret, {}, true, 4, 99},
               {weapon::kBigLazer, {}, true, 3, 99},      {weapon::kGrenade, {0}, false, 4, kFree},
               {weapon::kBigLazer, {0}, false, 3, kFree}, {weapon::kBomb, {0}, true, 4, kShot}};
  for (const auto& c : cases) {
    FillPoolExcept(c.free);
    Arm(c.weapon);
    app().Player[player::kFireCooldown] = 0;
    app().Player[player::kSpecialLatch] = 0;
    if (c.fire) Hold(kFire);
    Hold(kSpecialFire);
    app().FireWeapons();
    Release(kFire);
    Release(kSpecialFire);
    EXPECT_EQ(Ammo(), c.ammoAfter) << c.weapon;
    EXPECT_EQ(Record(0)[kKind], c.recordZero) << c.weapon;
    for (int r = 1; r < kRecords; ++r) ASSERT_EQ(Record(r * kFloats)[kKind], 99) << c.weapon;
    const bool gunFired = c.recordZero == kShot;
    EXPECT_EQ(app().Player[player::kFireCooldown], gunFired ? 15 : -1) << c.weapon;
  }
}

TEST_F(Weapons, SpecialFireActsOncePerPress) {
  Arm(weapon::kGrenade);
  Hold(kSpecialFire);
  for (int frame = 0; frame < 20; ++frame) app().FireWeapons();
  EXPECT_EQ(Ammo(), 3);
  Release(kSpecialFire);
  app().FireWeapons();
  Special();
  Special();
  Special();
  EXPECT_EQ(Ammo(), 0);
  EXPECT_EQ(Live(weapon::kGrenade).size(), 4u);
  Special();
  EXPECT_EQ(Ammo(), 0);
  EXPECT_EQ(Live(weapon::kGrenade).size(), 4u) << "no ammunition, no grenade";
}

TEST_F(Weapons, EachSpecialWeaponLeavesTheShipItsOwnWay) {
  const struct {
    int weapon;
    float facing, vx, vy, timer;
  } cases[] = {{weapon::kBomb, -1, 0, 0, 90},
               {weapon::kGrenade, -1, -6, -2, 90},
               {weapon::kGrenade, 0, 6, -2, 90},
               {weapon::kTracker, 1, 0, 0, 180},
               {weapon::kTurret, -1, 0, 0, 90}};
  for (const auto& c : cases) {
    ClearPool();
    Arm(c.weapon, 2);
    app().Player[player::kFacing] = c.facing;
    SoundsPlayed();
    Special();
    EXPECT_EQ(Ammo(), 1);
    EXPECT_EQ(SoundsPlayed(), std::vector<int>{100 + c.weapon});
    const float* thrown = Record(2000);
    EXPECT_EQ(Fields<10>(thrown),
              (std::array<float, 10>{static_cast<float>(c.weapon), ShipX(), ShipY(), c.vx, c.vy, 0,
                                     0, 0, c.timer, kArenaRoom}))
        << c.weapon;
  }
}

// Sixteen columns four pixels apart along the facing, in two rows 32 apart; a ship that has
// never turned stacks every column at its own position and shoots right.
TEST_F(Weapons, BigLazerSendsTwoRowsAlongTheFacing) {
  for (float facing : {0.0f, -1.0f}) {
    ClearPool();
    Arm(weapon::kBigLazer, 1);
    app().Player[player::kFacing] = facing;
    SoundsPlayed();
    Special();
    EXPECT_EQ(SoundsPlayed(), std::vector<int>{154});
    EXPECT_EQ(CountShots(), 32);
    const float speed = facing == -1 ? -12.0f : 12.0f;
    for (int i = 0; i < 16; ++i) {
      for (int row = 0; row < 2; ++row) {
        const float* shot = Record(2000 - (2 * i + row) * kFloats);
        EXPECT_EQ(
            Fields<10>(shot),
            (std::array<float, 10>{static_cast<float>(kShot + row), ShipX() + 4 * i * facing,
                                   ShipY() - 16 + 32 * row, speed, 0, 0, 0, 6, 90, kArenaRoom}))
            << "facing " << facing << " column " << i << " row " << row;
      }
    }
  }
  Special();
  EXPECT_EQ(CountShots(), 32) << "no ammunition left";
}

// The bomb stays put, spins up and bursts into eight shots at fuse 12 and at fuse 0, when it
// is gone (and not drawn any more).
TEST_F(Weapons, BombBurstsTwice) {
  Arm(weapon::kBomb);
  Special();
  const float bombX = ShipX(), bombY = ShipY();
  app().UpdateObjects();
  EXPECT_FLOAT_EQ(Record(2000)[kAngle], 2.5f);
  std::vector<int> bursts;
  for (int frame = 2; frame <= 91; ++frame) {
    const int before = CountShots();
    app().DrawCount = 0;
    app().UpdateObjects();
    if (CountShots() > before) bursts.push_back(frame);
    if (frame == 79) {
      for (int i = 0; i < 8; ++i) {
        const float* shot = Record(1990 - i * kFloats);
        const float a = 45.0f * i * 0.017453292f;
        EXPECT_NEAR(shot[kX], bombX + 24 * std::sin(a), 1e-3) << i;
        EXPECT_NEAR(shot[kY], bombY - 24 * std::cos(a), 1e-3) << i;
        EXPECT_NEAR(shot[kVX], 8 * std::sin(a), 1e-4) << i;
        EXPECT_NEAR(shot[kVY], -8 * std::cos(a), 1e-4) << i;
        EXPECT_EQ(shot[kStrength], 3);
      }
    }
  }
  EXPECT_EQ(bursts, (std::vector<int>{79, 91}));
  EXPECT_EQ(Record(2000)[kKind], kFree);
  for (int i = 0; i < app().DrawCount; i += drawrec::kFloats) {
    const float frame = app().DrawList[i + drawrec::kFrame];
    EXPECT_FALSE(app().DrawList[i + drawrec::kSlot] == 1 && (frame == 0 || frame == weapon::kBomb))
        << "the spent bomb is drawn";
  }
}

// A grenade arcs under gravity, bursts at once inside a block, and its ring (strength 2)
// breaks the sturdiest blocks it reaches.
TEST_F(Weapons, GrenadeArcsAndBreaksBlocksAroundIt) {
  SetTile(10, 6, code::kBlock, 2);
  SetTile(10, 4, code::kBlock, 2);
  Arm(weapon::kGrenade);
  app().Player[player::kFacing] = 1;
  Special();
  const float* grenade = Record(2000);
  app().UpdateObjects();
  EXPECT_FLOAT_EQ(grenade[kY], ShipY() - 2);
  EXPECT_FLOAT_EQ(grenade[kVY], -1.8f);
  EXPECT_EQ(RunUntilGone(2000, weapon::kGrenade, 90), 7) << "bursts in its eighth update";
  EXPECT_EQ(CountShots(), 16);
  for (int start : Live(kShot)) EXPECT_EQ(Record(start)[kStrength], 2);
  for (int frame = 0; frame < 10; ++frame) app().UpdateObjects();
  EXPECT_EQ(*Tile(10, 6), code::kEmpty);
  EXPECT_EQ(*Tile(10, 4), code::kEmpty);
}

// The tracker flies through a wall to the enemy, bites it and bursts into four shots.
TEST_F(Weapons, TrackerHomesThroughWallsAndBitesTheEnemy) {
  for (int y = 3; y <= 9; ++y) SetTile(10, y, code::kBlock, 0);
  float* walker = Put(200, kWalker, TileX(12), TileY(6) - 20, 0, 0, 3, 400);
  Arm(weapon::kTracker);
  Special();
  const int start = Live(weapon::kTracker).front();
  bool throughWall = false;
  int hits = 0;
  float topSpeed = 0;
  for (int frame = 0; frame < 180 && Record(start)[kKind] == weapon::kTracker; ++frame) {
    app().UpdateObjects();
    const std::vector<int> sounds = SoundsPlayed();
    hits += static_cast<int>(std::count(sounds.begin(), sounds.end(), 14));
    throughWall |= MyApp::isSolid(app().isAt(Record(start)[kX], Record(start)[kY]));
    topSpeed = std::max({topSpeed, std::abs(Record(start)[kVX]), std::abs(Record(start)[kVY])});
  }
  const float* tracker = Record(start);
  EXPECT_EQ(tracker[kKind], kFree);
  EXPECT_LT(std::abs(tracker[kX] - walker[kX]), 15);
  EXPECT_LT(std::abs(tracker[kY] - walker[kY]), 15);
  EXPECT_TRUE(throughWall);
  EXPECT_LE(topSpeed, 6);
  EXPECT_EQ(hits, 1);
  EXPECT_EQ(walker[kStrength], 0);
  EXPECT_EQ(CountShots(), 4);
  for (int shot : Live(kShot)) EXPECT_EQ(Record(shot)[kStrength], 1);
  EXPECT_EQ(walker[kKind], kFree) << "bitten down to 0, it dies at its own update";
}

// The turret turns 8 degrees an update and fires along its angle on every eighth update of
// its fuse: twelve shots of strength 6.
TEST_F(Weapons, TurretFiresTwelveShotsWhileTurning) {
  Arm(weapon::kTurret);
  Special();
  int fired = 0;
  for (int frame = 1; frame <= 91; ++frame) {
    app().UpdateObjects();
    const std::vector<int> sounds = SoundsPlayed();
    const int now = static_cast<int>(std::count(sounds.begin(), sounds.end(), 8));
    if (now > 0 && fired == 0) {
      EXPECT_EQ(frame, 3) << "first at fuse 88";
      const float* shot = Record(1990);
      const float a = 24 * 0.017453292f;
      EXPECT_NEAR(shot[kX], ShipX() + 12 * std::sin(a), 1e-3);
      EXPECT_NEAR(shot[kY], ShipY() - 12 * std::cos(a), 1e-3);
      EXPECT_NEAR(shot[kVX], 12 * std::sin(a), 1e-4);
      EXPECT_NEAR(shot[kVY], -12 * std::cos(a), 1e-4);
      EXPECT_EQ(shot[kStrength], 6);
    }
    fired += now;
  }
  EXPECT_EQ(fired, 12);
  EXPECT_EQ(Record(2000)[kKind], kFree);
}

TEST_F(Weapons, OrbitBlasterTakesAFreeRecordWhenItHasNone) {
  const struct {
    float record, after;
  } cases[] = {{-1, 2000}, {0, 0}, {500, 500}, {12345, 2000}, {7.5f, 2000}, {kNaN, 2000}};
  for (const auto& c : cases) {
    app().Player[player::kOrbitRecord] = c.record;
    app().Player[player::kOrbitAngle] = 100;
    app().StartOrbitBlaster();
    EXPECT_EQ(app().Player[player::kOrbitRecord], c.after) << c.record;
    EXPECT_EQ(app().Player[player::kOrbitFrames], 450);
    EXPECT_EQ(app().Player[player::kOrbitAngle], 0);
  }
  FillPoolExcept({});
  app().Player[player::kOrbitFrames] = 0;
  app().StartOrbitBlaster();
  EXPECT_EQ(app().Player[player::kOrbitFrames], 0) << "no free record, no blaster";
}

// The ball circles the ship 64 pixels out for 450 updates; hitting an enemy costs it nothing
// because it is rebuilt every update.
TEST_F(Weapons, OrbitBlasterCirclesTheShipAndSurvivesHits) {
  app().Player[player::kOrbitRecord] = -1;
  app().StartOrbitBlaster();
  // An indestructible barrier on the ball's circle.
  Put(0, kBarrier, ShipX() + 64, ShipY(), 0, 0, 100, 0);
  int hits = 0;
  for (int frame = 1; frame <= 449; ++frame) {
    app().UpdateOrbitBlaster();
    const int start = static_cast<int>(app().Player[player::kOrbitRecord]);
    const float* ball = Record(start);
    ASSERT_EQ(ball[kKind], kOrbitBall) << frame;
    ASSERT_NEAR(std::hypot(ball[kX] - ShipX(), ball[kY] - ShipY()), 64, 1e-3) << frame;
    ASSERT_EQ(ball[kAngle], 8.0f * frame);
    ASSERT_EQ(Live(kOrbitBall).size(), 1u);
    const int score = app().Score;
    app().UpdateObjects();
    hits += app().Score > score;
  }
  EXPECT_GT(hits, 0);
  app().UpdateOrbitBlaster();
  EXPECT_EQ(app().Player[player::kOrbitRecord], -1);
  EXPECT_EQ(app().Player[player::kOrbitFrames], 0);
  EXPECT_TRUE(Live(kOrbitBall).empty());
}

// Another object may take the ball's record while it is freed; that object stays and the ball
// moves to a free record. A destroyed ship takes its ball with it.
TEST_F(Weapons, OrbitBlasterKeepsOtherObjectsAndEndsWithTheShip) {
  app().Player[player::kOrbitRecord] = -1;
  app().StartOrbitBlaster();
  app().UpdateOrbitBlaster();
  ASSERT_EQ(app().Player[player::kOrbitRecord], 2000);
  Put(200, kWalker, TileX(2), TileY(2), 0, 0, 3, 60);
  app().UpdateOrbitBlaster();
  EXPECT_EQ(Record(2000)[kKind], kWalker);
  EXPECT_EQ(app().Player[player::kOrbitRecord], 1990);
  EXPECT_EQ(Record(1990)[kKind], kOrbitBall);

  app().ExitState = 1;
  app().UpdateOrbitBlaster();
  EXPECT_EQ(app().Player[player::kOrbitFrames], 0);
  EXPECT_EQ(app().Player[player::kOrbitRecord], -1);
  EXPECT_TRUE(Live(kOrbitBall).empty());
  EXPECT_EQ(Record(2000)[kKind], kWalker);

  // Play may stop the blaster itself while the ship is destroyed; the ball left behind goes
  // at the next update.
  app().ExitState = 0;
  app().StartOrbitBlaster();
  app().UpdateOrbitBlaster();
  app().Player[player::kOrbitFrames] = 0;
  app().UpdateOrbitBlaster();
  EXPECT_TRUE(Live(kOrbitBall).empty());
  EXPECT_EQ(app().Player[player::kOrbitRecord], -1);
}

// A shot at a tile: the score, the tile left behind, the sounds and the debris.
TEST_F(Weapons, ShootShitDamagesBlocksAndReleasesWhatTheyHide) {
  const struct {
    int col, row, code, hitPoints, damage;
    int codeAfter, hitPointsAfter, score;
  } cases[] = {
      {0, 5, code::kBlock, 2, 9, code::kBlock, 2, 0},  // the room's left column
      {5, 0, code::kBlock, 2, 9, code::kBlock, 2, 0},  // its top row
      {5, 5, 26, 0, 9, 26, 0, 0},                      // a wall has no hit points
      {5, 5, code::kBlock, 2, 1, code::kBlock, 1, 5},
      {5, 5, code::kBlock, 2, 0, code::kBlock, 2, 5},
      {5, 5, code::kBlock, 2, INT_MIN, code::kBlock, INT_MAX, 5},
      {5, 5, code::kBlock, 1, 1, code::kEmpty, 0, 15},
      {15, 11, code::kBlock, 1, 1, code::kEmpty, 0, 15},  // right column, bottom row
      {5, 5, 200, 1, 1, 44, 0, 15},
      {5, 5, 215, 2, 6, 45, -4, 15},
      {5, 5, 229, 1, 1, 46, 0, 15},
      {5, 5, 308, 1, 1, 408, 0, 15},
      {5, 5, 352, 2, 2, 452, 0, 15},
  };
  for (const auto& c : cases) {
    SetTile(c.col, c.row, c.code, c.hitPoints);
    app().Score = 0;
    ClearParticles();
    SoundsPlayed();
    app().ShootShit(static_cast<int>(TileX(c.col)), static_cast<int>(TileY(c.row)), c.damage);
    EXPECT_EQ(Tile(c.col, c.row)[tile::kCode], c.codeAfter) << c.code << " at " << c.col;
    EXPECT_EQ(Tile(c.col, c.row)[tile::kHitPoints], c.hitPointsAfter) << c.code;
    EXPECT_EQ(app().Score, c.score) << c.code;
    const bool broke = c.score == 15;
    EXPECT_EQ(Collapsed(SoundsPlayed()),
              broke ? std::vector<int>{kBreakSound} : std::vector<int>{});
    EXPECT_EQ(LiveParticles(), broke ? 8 : 0);
    for (int i = 0; i <= particle::kMaxCount; ++i) {
      const float* spark = &app().Particles[i * particle::kFloats];
      if (spark[particle::kKind] == 0) continue;
      EXPECT_TRUE(spark[particle::kKind] == 1 || spark[particle::kKind] == 2);
      EXPECT_EQ(spark[particle::kColour], 3);
    }
  }
  const int score = app().Score;
  for (int x : {-5, -40, INT_MAX, INT_MIN}) app().ShootShit(x, 100, 9);
  for (int y : {-5, INT_MAX, INT_MIN}) app().ShootShit(100, y, 9);
  EXPECT_EQ(app().Score, score) << "nothing outside the world";
}

// One object update of a shot in a tile: shots and the ball break what they can; the ball is
// quiet when the tile stays filled; a shot that leaves its room is spent at the doorway.
TEST_F(Weapons, ShotsAgainstTiles) {
  const struct {
    const char* name;
    int kind, code, hitPoints;
    float strength;
    int codeAfter;
    std::vector<int> sounds;
    int sparks;
  } cases[] = {
      {"shot breaks a block", kShot, code::kBlock, 1, 1, code::kEmpty, {kBreakSound, 5}, 11},
      {"shot dents a block", kLowerShot, code::kBlock, 2, 1, code::kBlock, {5}, 3},
      {"shot hits a wall", kShot, 26, 0, 6, 26, {5}, 3},
      {"ball breaks a block", kOrbitBall, code::kBlock, 2, 2, code::kEmpty, {kBreakSound, 5}, 11},
      {"ball dents a block", kOrbitBall, code::kBlock, 3, 2, code::kBlock, {}, 0},
      {"ball opens an enemy block", kOrbitBall, 308, 1, 2, 408, {kBreakSound}, 8},
  };
  for (const auto& c : cases) {
    ClearPool();
    ClearParticles();
    SetTile(6, 6, c.code, c.hitPoints);
    Put(100, c.kind, TileX(6) - 8, TileY(6), 8, 0, c.strength);
    SoundsPlayed();
    app().UpdateObjects();
    EXPECT_EQ(Record(1000)[kKind], kFree) << c.name;
    EXPECT_EQ(*Tile(6, 6), c.codeAfter) << c.name;
    EXPECT_EQ(Collapsed(SoundsPlayed()), c.sounds) << c.name;
    EXPECT_EQ(LiveParticles(), c.sparks) << c.name;
  }
  // Through the doorway on the right into the next room.
  ClearPool();
  SetTile(15, 6, code::kEmpty, 0);
  float* shot = Put(100, kShot, TileX(15) + 10, TileY(6), 8, 0, 1);
  app().UpdateObjects();
  EXPECT_EQ(shot[kKind], kFree);
  EXPECT_EQ(SoundsPlayed(), std::vector<int>{5});
}

}  // namespace
