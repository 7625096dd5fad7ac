// The ship's weapons: the main gun's cadence, special fire, each special weapon over its
// life, the orbiting ball, shots against tiles and what broken blocks release.
#include <climits>
#include <cmath>
#include <tuple>

#include "base/angles.h"
#include "combat_arena.h"

namespace {

using namespace object;

constexpr int kFire = 'Z', kSpecialFire = 'X';

class Weapons : public Arena {
 protected:
  void Hold(int key) { game().KeyDown(key); }
  void Release(int key) { game().KeyUp(key); }
  void Arm(int weapon, float ammo = 4) {
    app().play.Player[player::kWeapon] = static_cast<float>(weapon);
    app().play.Player[player::kAmmo] = ammo;
  }
  float Ammo() { return app().play.Player[player::kAmmo]; }
  // One press of special fire, held for `updates`.
  void Special(int updates = 1) {
    Hold(kSpecialFire);
    for (int i = 0; i < updates; ++i) app().level.FireWeapons();
    Release(kSpecialFire);
    app().level.FireWeapons();
  }
  int CountShots() { return static_cast<int>(Live(kShot).size() + Live(kLowerShot).size()); }
  // Shots in records first, first - 10, ... leaving (x, y) `radius` out along angles
  // angle0, angle0 + step, ... at `speed`, with `strength`.
  void ExpectRing(int first, int count, float x, float y, float radius, float speed, float angle0,
                  float step, float strength) {
    for (int i = 0; i < count; ++i) {
      SCOPED_TRACE(i);
      const float* shot = Record(first - i * kFloats);
      const float a = angle0 + step * i;
      EXPECT_NEAR(shot[kX], x + radius * SinDeg(a), 1e-3);
      EXPECT_NEAR(shot[kY], y - radius * CosDeg(a), 1e-3);
      EXPECT_NEAR(shot[kVX], speed * SinDeg(a), 1e-4);
      EXPECT_NEAR(shot[kVY], -speed * CosDeg(a), 1e-4);
      EXPECT_EQ(shot[kStrength], strength);
    }
  }
};

// Fires at once and then every fifteen updates while held; one update released starts the
// cadence again. The shot leaves along the facing (right unless it is -1).
TEST_F(Weapons, MainGunFiresOnItsCadenceAlongTheFacing) {
  Hold(kFire);
  std::vector<int> firing;
  for (int frame = 0; frame <= 45; ++frame) {
    app().level.FireWeapons();
    if (SoundsPlayed() == std::vector<int>{2}) firing.push_back(frame);
  }
  EXPECT_EQ(firing, (std::vector<int>{0, 15, 30, 45}));
  app().level.FireWeapons();
  Release(kFire);
  app().level.FireWeapons();
  Hold(kFire);
  app().level.FireWeapons();
  EXPECT_EQ(CountShots(), 5);
  for (const auto& [facing, vx] : {std::pair{-1.0f, -8.0f}, {0.0f, 8.0f}}) {
    ClearPool();
    app().play.Player[player::kFacing] = facing;
    app().play.Player[player::kFireCooldown] = 0;
    app().level.FireWeapons();
    const float* shot = Record(2000);
    EXPECT_EQ(Fields<10>(shot), (std::array<float, 10>{kShot, ShipX(), ShipY(), vx, 0, 0,
                                                       shot[kSpin], 1, 0, kArenaRoom}));
    EXPECT_TRUE(shot[kSpin] >= -8 && shot[kSpin] <= 8 && shot[kSpin] == std::trunc(shot[kSpin]));
  }
}

// Nothing fires while a menu key is latched, the ship is destroyed or taking off, or the
// level is starting; special fire keeps its ammunition then.
TEST_F(Weapons, FiringWaitsForPlay) {
  Arm(weapon::kBomb);
  Hold(kFire);
  Hold(kSpecialFire);
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

// With the pool full the main gun and the thrown weapons spend nothing; the Big Lazer still
// spends its ammunition. Record 0 serves the main gun but no special weapon.
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
    if (fire) Hold(kFire);
    Hold(kSpecialFire);
    app().level.FireWeapons();
    Release(kFire);
    Release(kSpecialFire);
    EXPECT_EQ(Ammo(), ammoAfter);
    EXPECT_EQ(Record(0)[kKind], recordZero);
    for (int r = 1; r < kRecords; ++r) ASSERT_EQ(Record(r * kFloats)[kKind], 99);
    EXPECT_EQ(app().play.Player[player::kFireCooldown], recordZero == kShot ? 15 : -1);
  }
}

// A press, however long held, throws one weapon from the ship its own way for one round;
// without ammunition, none.
TEST_F(Weapons, EachSpecialWeaponLeavesTheShipItsOwnWayOncePerPress) {
  for (const auto& [weapon, facing, vx, vy, timer] :
       {std::tuple{weapon::kBomb, -1.0f, 0.0f, 0.0f, 90.0f},
        {weapon::kGrenade, -1, -6, -2, 90},
        {weapon::kTracker, 1, 0, 0, 180},
        {weapon::kTurret, -1, 0, 0, 90}}) {
    SCOPED_TRACE(weapon);
    ClearPool();
    Arm(weapon, 2);
    app().play.Player[player::kFacing] = facing;
    SoundsPlayed();
    Special(20);
    EXPECT_EQ(Ammo(), 1);
    EXPECT_EQ(SoundsPlayed(), std::vector<int>{100 + weapon});
    EXPECT_EQ(Live(weapon).size(), 1u);
    EXPECT_EQ(Fields<10>(Record(2000)),
              (std::array<float, 10>{static_cast<float>(weapon), ShipX(), ShipY(), vx, vy, 0, 0, 0,
                                     timer, kArenaRoom}));
  }
  ClearPool();
  Arm(weapon::kGrenade, 0);
  Special();
  EXPECT_EQ(app().level.FreeSlot(), 2000);
}

// Sixteen columns four pixels apart along the facing, in two rows 32 apart; a ship that has
// never turned stacks every column at its own position and shoots right.
TEST_F(Weapons, BigLazerSendsTwoRowsAlongTheFacing) {
  for (float facing : {0.0f, -1.0f}) {
    ClearPool();
    Arm(weapon::kBigLazer, 1);
    app().play.Player[player::kFacing] = facing;
    SoundsPlayed();
    Special();
    EXPECT_EQ(SoundsPlayed(), std::vector<int>{154});
    EXPECT_EQ(CountShots(), 32);
    for (int i = 0; i < 32; ++i) {
      const int column = i / 2, row = i % 2;
      EXPECT_EQ(Fields<10>(Record(2000 - i * kFloats)),
                (std::array<float, 10>{static_cast<float>(kShot + row),
                                       ShipX() + 4 * column * facing, ShipY() - 16 + 32 * row,
                                       facing == -1 ? -12.0f : 12.0f, 0, 0, 0, 6, 90, kArenaRoom}))
          << "facing " << facing << " shot " << i;
    }
  }
  Special();
  EXPECT_EQ(CountShots(), 32) << "no ammunition left";
}

// The bomb bursts into eight shots at fuse 12 and at fuse 0, when it is gone (and no longer
// drawn).
TEST_F(Weapons, BombBurstsTwice) {
  Arm(weapon::kBomb);
  Special();
  std::vector<int> bursts;
  for (int frame = 1; frame <= 91; ++frame) {
    const int before = CountShots();
    app().frame.DrawCount = 0;
    app().level.UpdateObjects();
    if (CountShots() > before) bursts.push_back(frame);
    if (frame == 79) ExpectRing(1990, 8, ShipX(), ShipY(), 24, 8, 0, 45, 3);
  }
  EXPECT_EQ(bursts, (std::vector<int>{79, 91}));
  EXPECT_EQ(Record(2000)[kKind], kFree);
  for (int i = 0; i < app().frame.DrawCount; i += drawrec::kFloats) {
    const float frame = app().frame.DrawList[i + drawrec::kFrame];
    EXPECT_FALSE(app().frame.DrawList[i + drawrec::kSlot] == 1 &&
                 (frame == 0 || frame == weapon::kBomb))
        << "the spent bomb is drawn";
  }
}

// The turret turns 8 degrees an update and fires along its angle (sound 8) on every eighth
// update of its fuse, first at fuse 88: twelve shots of strength 6.
TEST_F(Weapons, TurretFiresTwelveShotsWhileTurning) {
  Arm(weapon::kTurret);
  Special();
  std::vector<int> firing;
  for (int frame = 1; frame <= 91; ++frame) {
    app().level.UpdateObjects();
    const std::vector<int> sounds = SoundsPlayed();
    if (std::count(sounds.begin(), sounds.end(), 8) == 1) firing.push_back(frame);
    if (frame == 3) ExpectRing(1990, 1, ShipX(), ShipY(), 12, 12, 24, 0, 6);
  }
  EXPECT_EQ(firing, (std::vector<int>{3, 11, 19, 27, 35, 43, 51, 59, 67, 75, 83, 91}));
  EXPECT_EQ(Record(2000)[kKind], kFree);
}

// A grenade arcs under gravity, bursts at once inside a block, and its ring of sixteen
// (strength 2) breaks the sturdiest blocks it reaches.
TEST_F(Weapons, GrenadeArcsAndBreaksBlocksAroundIt) {
  SetTile(10, 6, code::kBlock, 2);
  SetTile(10, 4, code::kBlock, 2);
  Arm(weapon::kGrenade);
  app().play.Player[player::kFacing] = 1;
  Special();
  const float* grenade = Record(2000);
  app().level.UpdateObjects();
  EXPECT_FLOAT_EQ(grenade[kY], ShipY() - 2);
  EXPECT_FLOAT_EQ(grenade[kVY], -1.8f);
  int updates = 1;
  for (; grenade[kKind] == weapon::kGrenade && updates < 90; ++updates) app().level.UpdateObjects();
  EXPECT_EQ(updates, 8);
  EXPECT_EQ(CountShots(), 16);
  for (int start : Live(kShot)) EXPECT_EQ(Record(start)[kStrength], 2);
  for (int frame = 0; frame < 10; ++frame) app().level.UpdateObjects();
  EXPECT_EQ(*Tile(10, 6), code::kEmpty);
  EXPECT_EQ(*Tile(10, 4), code::kEmpty);
}

// The tracker flies through a wall to the enemy at 6 at most, bites it once (down to 0, so
// it dies at its own update) and bursts into four shots.
TEST_F(Weapons, TrackerHomesThroughWallsAndBitesTheEnemy) {
  for (int y = 3; y <= 9; ++y) SetTile(10, y, code::kBlock, 0);
  float* walker = Put(200, kWalker, TileX(12), TileY(6) - 20, 0, 0, 3, 400);
  Arm(weapon::kTracker);
  Special();
  const float* tracker = Record(Live(weapon::kTracker).front());
  bool throughWall = false;
  std::vector<int> sounds;
  for (int frame = 0; frame < 180 && tracker[kKind] == weapon::kTracker; ++frame) {
    app().level.UpdateObjects();
    const std::vector<int> played = SoundsPlayed();
    sounds.insert(sounds.end(), played.begin(), played.end());
    throughWall |= WorldMap::isSolid(app().world.CodeAtPixel(tracker[kX], tracker[kY]));
    ASSERT_LE(std::max(std::abs(tracker[kVX]), std::abs(tracker[kVY])), 6);
  }
  EXPECT_EQ(tracker[kKind], kFree);
  EXPECT_LT(std::max(std::abs(tracker[kX] - walker[kX]), std::abs(tracker[kY] - walker[kY])), 15);
  EXPECT_TRUE(throughWall);
  EXPECT_EQ(std::count(sounds.begin(), sounds.end(), 14), 1);
  EXPECT_EQ(walker[kStrength], 0);
  EXPECT_EQ(CountShots(), 4);
  for (int shot : Live(kShot)) EXPECT_EQ(Record(shot)[kStrength], 1);
  EXPECT_EQ(walker[kKind], kFree);
}

// A record that is not the start of one in the pool (negative, past the end, between
// records, not a number) is replaced by a free one.
TEST_F(Weapons, OrbitBlasterTakesAFreeRecordWhenItHasNone) {
  for (const float record : {-1.0f, -10.0f, 0.0f, 500.0f, 2010.0f, 12345.0f, 7.5f, kNaN}) {
    app().play.Player[player::kOrbitRecord] = record;
    app().play.Player[player::kOrbitAngle] = 100;
    app().level.StartOrbitBlaster();
    EXPECT_EQ(app().play.Player[player::kOrbitRecord], record == 0 || record == 500 ? record : 2000)
        << record;
    EXPECT_EQ(app().play.Player[player::kOrbitFrames], 450);
    EXPECT_EQ(app().play.Player[player::kOrbitAngle], 0);
  }
  FillPoolExcept({});
  app().play.Player[player::kOrbitFrames] = 0;
  app().level.StartOrbitBlaster();
  EXPECT_EQ(app().play.Player[player::kOrbitFrames], 0) << "no free record, no blaster";
}

// The ball circles the ship 64 pixels out for 450 updates; hitting an enemy costs it nothing
// because it is rebuilt every update. Another object may take its record while it is freed:
// that object stays and the ball moves to a free record. A destroyed ship takes its ball with
// it, and a ball left behind when play stops the blaster itself goes at the next update.
TEST_F(Weapons, OrbitBlasterCirclesTheShipSurvivesHitsAndEndsWithTheShip) {
  app().play.Player[player::kOrbitRecord] = -1;
  app().level.StartOrbitBlaster();
  Put(0, kBarrier, ShipX() + 64, ShipY(), 0, 0, 100, 0);  // indestructible, on the circle
  int hits = 0;
  for (int frame = 1; frame <= 449; ++frame) {
    app().level.UpdateOrbitBlaster();
    const float* ball = Record(static_cast<int>(app().play.Player[player::kOrbitRecord]));
    ASSERT_EQ(ball[kKind], kOrbitBall) << frame;
    ASSERT_NEAR(std::hypot(ball[kX] - ShipX(), ball[kY] - ShipY()), 64, 1e-3) << frame;
    ASSERT_EQ(ball[kAngle], 8.0f * frame);
    ASSERT_EQ(Live(kOrbitBall).size(), 1u);
    const int score = app().play.Score;
    app().level.UpdateObjects();
    hits += app().play.Score > score;
  }
  EXPECT_GT(hits, 0);
  app().level.UpdateOrbitBlaster();
  EXPECT_EQ(app().play.Player[player::kOrbitFrames], 0);
  const auto ended = [&] {
    EXPECT_EQ(app().play.Player[player::kOrbitRecord], -1);
    EXPECT_TRUE(Live(kOrbitBall).empty());
  };
  ended();

  ClearPool();
  app().level.StartOrbitBlaster();
  app().level.UpdateOrbitBlaster();
  ASSERT_EQ(app().play.Player[player::kOrbitRecord], 2000);
  Put(200, kWalker, TileX(2), TileY(2), 0, 0, 3, 60);
  app().level.UpdateOrbitBlaster();
  EXPECT_EQ(app().play.Player[player::kOrbitRecord], 1990);
  EXPECT_EQ(Record(1990)[kKind], kOrbitBall);
  app().play.ExitState = 1;
  app().level.UpdateOrbitBlaster();
  EXPECT_EQ(app().play.Player[player::kOrbitFrames], 0);
  ended();
  EXPECT_EQ(Record(2000)[kKind], kWalker);

  app().play.ExitState = 0;
  app().level.StartOrbitBlaster();
  app().level.UpdateOrbitBlaster();
  app().play.Player[player::kOrbitFrames] = 0;
  app().level.UpdateOrbitBlaster();
  ended();
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
      {5, 5, code::kBlock, 2, INT_MIN, code::kBlock, INT_MAX, 5},
      {5, 5, code::kBlock, 1, 1, code::kEmpty, 0, 15},
      {15, 11, code::kBlock, 1, 1, code::kEmpty, 0, 15},  // right column, bottom row
      {5, 5, 215, 2, 6, 45, -4, 15},
      {5, 5, 308, 1, 1, 408, 0, 15},
      {5, 5, 352, 2, 2, 452, 0, 15},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.code << " at " << c.col << "," << c.row);
    SetTile(c.col, c.row, c.code, c.hitPoints);
    app().play.Score = 0;
    ClearParticles();
    SoundsPlayed();
    app().level.ShootShit(static_cast<int>(TileX(c.col)), static_cast<int>(TileY(c.row)), c.damage);
    EXPECT_EQ(Tile(c.col, c.row)[tile::kCode], c.codeAfter);
    EXPECT_EQ(Tile(c.col, c.row)[tile::kHitPoints], c.hitPointsAfter);
    EXPECT_EQ(app().play.Score, c.score);
    const bool broke = c.score == 15;
    EXPECT_EQ(SoundsPlayed(), broke ? std::vector{kBreakSound} : std::vector<int>{});
    EXPECT_EQ(LiveParticles(), broke ? 8 : 0);
  }
  const int score = app().play.Score;
  for (int x : {-5, -40, INT_MAX, INT_MIN}) app().level.ShootShit(x, 100, 9);
  for (int y : {-5, INT_MAX, INT_MIN}) app().level.ShootShit(100, y, 9);
  EXPECT_EQ(app().play.Score, score) << "nothing outside the world";
}

// One object update of a shot in a tile: shots and the ball break what they can; the ball is
// quiet when the tile stays filled; a shot that leaves its room is spent at the doorway.
TEST_F(Weapons, ShotsAgainstTiles) {
  const struct {
    const char* name;
    int kind, col, code, hitPoints;
    float strength;
    int codeAfter;
    std::vector<int> sounds;
    int sparks;
  } cases[] = {
      {"shot breaks a block", kShot, 6, code::kBlock, 1, 1, code::kEmpty, {kBreakSound, 5}, 11},
      {"shot dents a block", kLowerShot, 6, code::kBlock, 2, 1, code::kBlock, {5}, 3},
      {"shot hits a wall", kShot, 6, 26, 0, 6, 26, {5}, 3},
      {"ball breaks one", kOrbitBall, 6, code::kBlock, 2, 2, code::kEmpty, {kBreakSound, 5}, 11},
      {"ball dents one", kOrbitBall, 6, code::kBlock, 3, 2, code::kBlock, {}, 0},
      {"shot through the doorway", kShot, 15, code::kEmpty, 0, 1, code::kEmpty, {5}, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ClearPool();
    ClearParticles();
    SetTile(c.col, 6, c.code, c.hitPoints);
    // The doorway's shot starts past the tile's centre and so leaves the room this update.
    Put(100, c.kind, TileX(c.col) + (c.col == 15 ? 10 : -8), TileY(6), 8, 0, c.strength);
    SoundsPlayed();
    app().level.UpdateObjects();
    EXPECT_EQ(Record(1000)[kKind], kFree);
    EXPECT_EQ(*Tile(c.col, 6), c.codeAfter);
    EXPECT_EQ(SoundsPlayed(), c.sounds);
    EXPECT_EQ(LiveParticles(), c.sparks);
  }
}

}  // namespace
