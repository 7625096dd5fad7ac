// The object pool and the enemies: free records, room entry, the hand-over from the map,
// shots against enemies, each kind's movement, contact with the ship and parking.
#include <cmath>
#include <limits>
#include <set>

#include "combat_arena.h"
#include "game/globals.h"

namespace {

using namespace object;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr int kBreakSound = 10;  // 10..13, picked at random

// Break sounds collapsed to one id, so a played list can be compared whole.
std::vector<int> Collapsed(std::vector<int> ids) {
  for (int& id : ids)
    if (id > kBreakSound && id <= kBreakSound + 3) id = kBreakSound;
  return ids;
}

TEST_F(Arena, FreeSlotTakesTheHighestFreeRecordAndEnemiesNeverTakeRecordZero) {
  const struct {
    std::initializer_list<int> free;
    int slot;
  } cases[] = {{{}, -1}, {{0}, 0}, {{0, 7}, 70}, {{3, 150, 12}, 1500}, {{200}, 2000}};
  for (const auto& c : cases) {
    FillPoolExcept(c.free);
    EXPECT_EQ(app().FreeSlot(), c.slot);
    const bool enemyFits = c.slot > 0;
    app().AddABad(kRoomX, kRoomY);
    EXPECT_EQ(app().FreeSlot() != c.slot, enemyFits) << "room entry, slot " << c.slot;
    FillPoolExcept(c.free);
    EXPECT_EQ(app().HandOverEnemy(408, TileX(3), TileY(3)), enemyFits) << c.slot;
    EXPECT_EQ(app().FreeSlot() != c.slot, enemyFits) << "hand-over, slot " << c.slot;
  }
}

// Every enemy of a full pool of room-entry enemies, for ships in the middle, in corners and
// outside the room; the map is left exactly as it was.
TEST_F(Arena, RoomEntryFillsThePoolWithRestingEnemiesAwayFromTheShip) {
  const float left = kRoomX * 16 * kTile, top = kRoomY * 12 * kTile;
  const struct {
    float shipTileX, shipTileY;
    int maxBads;
    std::set<int> kinds;
  } cases[] = {{8, 6, 2, {8, 9}},
               {1, 1, 5, {8, 9, 10, 11}},
               {14, 10, 5, {8, 9, 10, 11}},
               {40, -20, 3, {8, 9, 10}}};
  const std::vector<int> world(app().World.begin(), app().World.end());
  for (const auto& c : cases) {
    ClearPool();
    PutShip(c.shipTileX, c.shipTileY);
    MaxBads = c.maxBads;
    for (int i = 0; i <= kRecords; ++i) app().AddABad(kRoomX, kRoomY);
    EXPECT_EQ(app().FreeSlot(), 0) << "all but record 0 taken";
    std::set<int> kinds;
    for (int r = 1; r < kRecords; ++r) {
      const float* enemy = Record(r * kFloats);
      kinds.insert(static_cast<int>(enemy[kKind]));
      EXPECT_GE(std::abs(enemy[kX] - ShipX()), 96);
      EXPECT_GE(std::abs(enemy[kY] - ShipY()), 96);
      EXPECT_TRUE(enemy[kX] >= left + 32 && enemy[kX] <= left + 448) << enemy[kX];
      EXPECT_TRUE(enemy[kY] >= top + 32 && enemy[kY] <= top + 320) << enemy[kY];
      EXPECT_EQ(Fields<7>(enemy + kVX), (std::array<float, 7>{0, 0, 0, 0, 3, 30, kArenaRoom}));
    }
    EXPECT_EQ(kinds, c.kinds) << "MaxBads " << c.maxBads;
  }
  EXPECT_TRUE(std::equal(world.begin(), world.end(), app().World.begin()));
}

TEST_F(Arena, RoomEntryGivesUpOnAShipItCannotAvoidAndOnRoomsOutsideTheWorld) {
  const struct {
    float shipX, shipY;
    int rx, ry;
  } cases[] = {{kNaN, TileY(6), kRoomX, kRoomY}, {TileX(8), kNaN, kRoomX, kRoomY},
               {kNaN, kNaN, kRoomX, kRoomY},     {TileX(8), TileY(6), -1, kRoomY},
               {TileX(8), TileY(6), 32, 0},      {TileX(8), TileY(6), 0, 1 << 30},
               {kInf, kInf, -(1 << 30), 3}};
  for (const auto& c : cases) {
    app().Player[player::kX] = c.shipX;
    app().Player[player::kY] = c.shipY;
    app().AddABad(c.rx, c.ry);
    EXPECT_EQ(app().FreeSlot(), 2000) << c.rx << "," << c.ry << " ship " << c.shipX;
  }
}

TEST_F(Arena, TheMapHandsOverWaitingAndParkedEnemies) {
  const struct {
    int code;
    bool placed;
    int kind;
    float timer, minSpeed, maxSpeed;
  } cases[] = {{408, true, 8, 60, 0, 0}, {411, true, 11, 60, 0, 0}, {508, true, 8, 5, 0, 0},
               {510, true, 10, 5, 0, 0}, {412, true, 12, 0, 3, 4},  {512, true, 12, 0, 3, 6},
               {399, false, 0, 0, 0, 0}, {449, false, 0, 0, 0, 0},  {600, false, 0, 0, 0, 0}};
  for (const auto& c : cases) {
    ClearPool();
    EXPECT_EQ(app().HandOverEnemy(c.code, TileX(4), TileY(7)), c.placed) << c.code;
    if (!c.placed) {
      EXPECT_EQ(app().FreeSlot(), 2000) << c.code;
      continue;
    }
    const float* enemy = Record(2000);
    const std::array<float, 8> fields = {enemy[kKind],     enemy[kX],     enemy[kY],
                                         enemy[kVX],       enemy[kAngle], enemy[kSpin],
                                         enemy[kStrength], enemy[kTimer]};
    EXPECT_EQ(fields, (std::array<float, 8>{static_cast<float>(c.kind), TileX(4), TileY(7), 0, 0, 0,
                                            3, c.timer}))
        << c.code;
    EXPECT_EQ(enemy[kRoom], kArenaRoom);
    const float speed = std::abs(enemy[kVY]);
    EXPECT_TRUE(speed >= c.minSpeed && speed <= c.maxSpeed) << c.code << " speed " << speed;
  }
  // Barriers set off either way.
  std::set<bool> upward;
  for (int i = 0; i < 40; ++i) {
    ClearPool();
    app().HandOverEnemy(412, TileX(4), TileY(7));
    upward.insert(Record(2000)[kVY] < 0);
  }
  EXPECT_EQ(upward.size(), 2u);
}

// One update of an enemy with shots on it: what it takes, what the player scores, what
// sounds and sparks follow.
TEST_F(Arena, ShotsAgainstEnemies) {
  const struct {
    const char* name;
    int kind;
    float timer, strength;
    std::vector<float> shots;
    float reach;  // how far off the enemy the shots lie, in both axes
    bool destroyed;
    float strengthAfter;
    int score, shotsLeft;
    std::vector<int> sounds;
  } cases[] = {
      {"warm-up", 8, 10, 3, {1}, 0, false, 3, 5, 0, {5}},
      {"last warm-up update", 8, 1, 3, {1}, 0, false, 2, 10, 0, {5}},
      {"after warm-up", 9, 0, 3, {1}, 20, false, 2, 10, 0, {5}},
      {"a weak shot still hurts", 10, 0, 3, {0.4f}, 0, false, 2, 10, 0, {5}},
      {"two shots", 11, 0, 3, {1, 1.5f}, 0, false, 1, 20, 0, {5, 5}},
      {"out of reach", 8, 0, 3, {6}, 23.5f, false, 3, 0, 1, {}},
      {"killed", 8, 0, 3, {6}, 0, true, 0, 10, 0, {5, kBreakSound}},
      {"killed by the first of three", 8, 0, 1, {1, 1, 1}, 0, true, 0, 10, 2, {5, kBreakSound}},
      // Twenty shots of 6 would wear down 100 points in one update.
      {"barrier", 12, 0, 100, std::vector<float>(20, 6), 0, false, 100, 200, 0,
       std::vector<int>(20, 5)},
  };
  for (const auto& c : cases) {
    ClearPool();
    app().Score = 0;
    ClearParticles();
    // Standing still and far from the ship, so only the shots act on it.
    float* enemy = Put(200, c.kind, TileX(3), TileY(3), 0, 0, c.strength, c.timer);
    for (size_t i = 0; i < c.shots.size(); ++i)
      Put(static_cast<int>(i), kShot, TileX(3) + c.reach, TileY(3) - c.reach, 0, 0, c.shots[i]);
    SoundsPlayed();
    app().UpdateObjects();
    EXPECT_EQ(enemy[kKind] == kFree, c.destroyed) << c.name;
    if (!c.destroyed) {
      EXPECT_FLOAT_EQ(enemy[kStrength], c.strengthAfter) << c.name;
    }
    EXPECT_EQ(app().Score, c.score) << c.name;
    EXPECT_EQ(static_cast<int>(Live(kShot).size()), c.shotsLeft) << c.name;
    EXPECT_EQ(Collapsed(SoundsPlayed()), c.sounds) << c.name;
    const int hits = static_cast<int>(c.shots.size()) - c.shotsLeft;
    EXPECT_EQ(LiveParticles(), 3 * hits + (c.destroyed ? 5 : 0)) << c.name;
  }
}

// One update of an enemy that moves by rule alone (no random draw), against the tiles
// around it.
TEST_F(Arena, EnemyMovesByKind) {
  struct Motion {
    float dx, dy, vx, vy, angle;
  };
  enum Solid { kNone, kLeft, kRight, kAbove, kBelow };
  const struct {
    const char* name;
    int kind;
    float timer;
    Solid solid;
    Motion before, after;
  } cases[] = {
      {"walker on its way", 8, 0, kLeft, {0, 0, 2, 0, 0}, {2, 0, 2, 0, 0}},
      {"walker stops at a wall", 8, 0, kRight, {0, 0, 2, 0, 0}, {2, 0, 0, 0, 0}},
      {"walker stops under a wall", 8, 0, kAbove, {0, 0, 0, -2, 0}, {0, -2, 0, 0, 0}},
      {"walker waits out its warm-up", 8, 5, kNone, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}},
      {"chaser bounces off the left", 9, 5, kLeft, {0, 0, -1, 0.5f, 0}, {-1, 0.5f, 1, 0.5f, 0}},
      {"chaser bounces off the floor", 9, 5, kBelow, {0, 0, 0, 1.5f, 0}, {0, 1.5f, 0, -1.5f, 0}},
      {"clockwise crawler turns down", 10, 0, kNone, {0, 0, 0, 0, 60}, {0, 0, 0, 2, 90}},
      {"clockwise crawler wraps to 0", 10, 0, kNone, {0, 0, 0, 0, 330}, {0, 0, 2, 0, 0}},
      {"clockwise crawler steps back", 10, 0, kRight, {0, 0, 2, 0, 0}, {0, 0, 0, 0, 0}},
      {"clockwise crawler in warm-up", 10, 30, kNone, {0, 0, 0, 0, 150}, {0, 0, -2, 0, 180}},
      {"anticlockwise crawler wraps to 330", 11, 0, kNone, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 330}},
      {"anticlockwise crawler turns down", 11, 0, kNone, {0, 0, 0, 0, 300}, {0, 0, 0, 2, 270}},
      {"anticlockwise crawler turns up", 11, 0, kNone, {0, 0, 0, 0, 120}, {0, 0, 0, -2, 90}},
      {"anticlockwise crawler turns right", 11, 0, kNone, {0, 0, 0, 0, 210}, {0, 0, 2, 0, 180}},
      {"anticlockwise crawler steps back", 11, 0, kAbove, {0, 0, 0, -2, 90}, {0, 0, 0, 0, 90}},
      // Barriers: y offsets are from the top of the tile, measured after the move.
      {"barrier turns short of the wall above", 12, 0, kAbove, {0, 13, 0, -3, 0}, {0, 10, 0, 3, 0}},
      {"barrier keeps on upward", 12, 0, kAbove, {0, 15, 0, -3, 0}, {0, 12, 0, -3, 0}},
      {"barrier turns short of the floor", 12, 0, kBelow, {0, 19, 0, 3, 0}, {0, 22, 0, -3, 0}},
      {"barrier keeps on downward", 12, 0, kBelow, {0, 17, 0, 3, 0}, {0, 20, 0, 3, 0}},
      {"barrier in the open", 12, 0, kNone, {0, 5, 0, -3, 0}, {0, 2, 0, -3, 0}},
  };
  constexpr int kX0 = 4, kY0 = 4;
  for (const auto& c : cases) {
    ClearPool();
    for (int x = 3; x <= 5; ++x)
      for (int y = 3; y <= 5; ++y) SetTile(x, y, code::kEmpty, 0);
    const int sx[] = {0, -1, 1, 0, 0}, sy[] = {0, 0, 0, -1, 1};
    if (c.solid != kNone) SetTile(kX0 + sx[c.solid], kY0 + sy[c.solid], code::kBlock, 1);
    const bool barrier = c.kind == kBarrier;
    const float x0 = TileX(kX0), y0 = barrier ? (kRoomY * 12 + kY0) * kTile : TileY(kY0);
    float* enemy =
        Put(200, c.kind, x0 + c.before.dx, y0 + c.before.dy, c.before.vx, c.before.vy, 3, c.timer);
    enemy[kAngle] = c.before.angle;
    app().UpdateObjects();
    const std::array<float, 5> after = {enemy[kX] - x0, enemy[kY] - y0, enemy[kVX], enemy[kVY],
                                        enemy[kAngle]};
    EXPECT_EQ(after,
              (std::array<float, 5>{c.after.dx, c.after.dy, c.after.vx, c.after.vy, c.after.angle}))
        << c.name;
    if (barrier) {
      EXPECT_EQ(enemy[kStrength], 100) << c.name;
    }
  }
}

TEST_F(Arena, AStandingWalkerSetsOffInOneOfFourDirections) {
  std::set<std::pair<float, float>> directions;
  for (int i = 0; i < 60; ++i) {
    ClearPool();
    float* walker = Put(200, kWalker, TileX(4), TileY(4));
    app().UpdateObjects();
    directions.insert({walker[kVX], walker[kVY]});
  }
  EXPECT_EQ(directions, (std::set<std::pair<float, float>>{{0, -2}, {2, 0}, {0, 2}, {-2, 0}}));
}

// A chaser left to itself in a closed room for a long while: it speeds toward the ship, spins
// with its speed, never beyond 2 a frame, and the walls keep it in.
TEST_F(Arena, AChaserHeadsForTheShipAndStaysInsideTheRoom) {
  PutShip(12, 8);
  float* chaser = Put(200, kChaser, TileX(3), TileY(3), 0, 0, 3, 0);
  app().UpdateObjects();
  EXPECT_TRUE(chaser[kVX] >= 0.01f && chaser[kVX] <= 0.05f) << chaser[kVX];
  EXPECT_TRUE(chaser[kVY] >= 0.01f && chaser[kVY] <= 0.05f) << chaser[kVY];
  EXPECT_FLOAT_EQ(chaser[kSpin], (chaser[kVX] + chaser[kVY]) / 16);
  // Level with the ship on both axes: no pull either way.
  Put(200, kChaser, ShipX(), ShipY(), 0, 0, 3, 0);
  app().UpdateObjects();
  EXPECT_EQ(chaser[kVX], 0);
  EXPECT_EQ(chaser[kVY], 0);

  PutShip(40, 6);  // out of reach in the next room: it keeps pressing against the wall
  for (int frame = 0; frame < 3000; ++frame) {
    app().UpdateObjects();
    ASSERT_LE(std::abs(chaser[kVX]), 2) << frame;
    ASSERT_LE(std::abs(chaser[kVY]), 2) << frame;
    ASSERT_FALSE(MyApp::isSolid(app().isAt(chaser[kX], chaser[kY]))) << frame;
  }
}

TEST_F(Arena, TouchingAnEnemyDestroysTheShipOnlyWhilePlaying) {
  const struct {
    float dx, dy;
    int exitState, exitAfter;
  } cases[] = {{23, -23, 0, 1}, {0, 0, 0, 1}, {24, 0, 0, 0},
               {0, 24, 0, 0},   {5, 5, 7, 7}, {5, 5, -3, -3}};
  for (const auto& c : cases) {
    ClearPool();
    app().ExitState = c.exitState;
    Put(200, kWalker, ShipX() + c.dx, ShipY() + c.dy, 0, 0, 3, 5);
    SoundsPlayed();
    app().UpdateObjects();
    EXPECT_EQ(app().ExitState, c.exitAfter) << c.dx << "," << c.dy << " from " << c.exitState;
    EXPECT_EQ(SoundsPlayed(),
              c.exitAfter == 1 && c.exitState == 0 ? std::vector<int>{3} : std::vector<int>{})
        << c.dx << "," << c.dy;
  }
}

// The ship has moved on to the next room: everything of the old room leaves the pool, and
// enemies wait in the map where the tile is free.
TEST_F(Arena, LeavingARoomParksItsEnemiesAndClearsThePool) {
  const struct {
    int kind, tileUnder, tileAfter, sparks;
  } cases[] = {{kWalker, code::kEmpty, 508, 0},
               {kBarrier, code::kEmpty, 512, 0},
               {kChaser, 44, 44, 0},
               {kWalker, 452, 452, 0},
               {kShot, code::kEmpty, 0, 3},
               {kOrbitBall, code::kEmpty, 0, 3},
               {weapon::kBomb, code::kEmpty, 0, 0}};
  for (const auto& c : cases) {
    ClearPool();
    ClearParticles();
    SetTile(6, 4, c.tileUnder, 0);
    Put(100, c.kind, TileX(6), TileY(4), 0, 0, 3, 50);
    app().Player[player::kRoomX] = kRoomX + 1;
    app().UpdateObjects();
    EXPECT_EQ(app().FreeSlot(), 2000) << c.kind;
    EXPECT_EQ(Live(c.kind).size(), 0u) << c.kind;
    EXPECT_EQ(*Tile(6, 4), c.tileAfter) << c.kind;
    EXPECT_EQ(LiveParticles(), c.sparks) << c.kind;
  }
}

// A walker leaves the room's pool for the map and comes back once the room is current again
// and the ship is more than 128 pixels away; a barrier comes back at once.
TEST_F(Arena, ParkedEnemiesComeBackWhenTheShipIsAway) {
  const struct {
    int kind;
    float shipTileX;
    bool back;
  } cases[] = {{kWalker, 6, false}, {kWalker, 10.2f, true}, {kBarrier, 6, true}};
  for (const auto& c : cases) {
    ClearPool();
    SetTile(6, 4, code::kEmpty, 0);
    Put(200, c.kind, TileX(6), TileY(4), 0, 0, 1, 0);
    app().Player[player::kRoomX] = kRoomX + 1;
    app().UpdateObjects();
    ASSERT_EQ(*Tile(6, 4), code::kParkedEnemy + c.kind);
    app().Player[player::kRoomX] = kRoomX;
    PutShip(c.shipTileX, 4);
    app().DrawRoom(kRoomX, kRoomY, 0);
    EXPECT_EQ(*Tile(6, 4), code::kParkedEnemy + c.kind) << "a neighbouring room keeps it";
    app().DrawRoom(kRoomX, kRoomY, 1);
    EXPECT_EQ(*Tile(6, 4) == code::kEmpty, c.back) << c.kind << " ship at " << c.shipTileX;
    const float* enemy = Record(2000);
    EXPECT_EQ(enemy[kKind] == c.kind, c.back);
    if (c.back) {
      EXPECT_EQ(Fields<3>(enemy),
                (std::array<float, 3>{static_cast<float>(c.kind), TileX(6), TileY(4)}));
      EXPECT_EQ(enemy[kStrength], 3) << "back at full strength";
      EXPECT_EQ(enemy[kTimer], c.kind == kBarrier ? 0 : 5);
    }
  }
}

TEST_F(Arena, ABrokenBlockReleasesItsWalkerWhenTheRoomIsDrawn) {
  SetTile(6, 4, 308, 1);
  app().ShootShit(static_cast<int>(TileX(6)), static_cast<int>(TileY(4)), 1);
  EXPECT_EQ(*Tile(6, 4), 408);
  app().DrawRoom(kRoomX, kRoomY, 1);
  EXPECT_EQ(*Tile(6, 4), code::kEmpty);
  const float* walker = Record(2000);
  EXPECT_EQ(Fields<3>(walker), (std::array<float, 3>{kWalker, TileX(6), TileY(4)}));
  EXPECT_EQ(walker[kTimer], 60);
  // A full pool leaves it waiting in the map.
  SetTile(7, 4, 408, 0);
  FillPoolExcept({0});
  app().DrawRoom(kRoomX, kRoomY, 1);
  EXPECT_EQ(*Tile(7, 4), 408);
}

}  // namespace
