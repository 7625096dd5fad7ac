// The object pool and the enemies where the traces of tests/sim do not reach: free records,
// room entry, the hand-over from the map, shots against enemies, movement by kind, contact with
// the ship and parking.
#include <cmath>
#include <set>
#include <tuple>

#include "combat_arena.h"
#include "game/core/globals.h"

namespace {

using namespace object;

TEST_F(Arena, FreeSlotTakesTheHighestFreeRecordAndEnemiesNeverTakeRecordZero) {
  for (const auto& [free, slot] :
       {std::pair{std::vector<int>{}, -1}, {{0}, 0}, {{3, 150, 12}, 1500}}) {
    SCOPED_TRACE(slot);
    FillPoolExcept(free);
    EXPECT_EQ(app().level.FreeSlot(), slot);
    app().level.AddABad(kRoomX, kRoomY);
    EXPECT_EQ(app().level.FreeSlot() != slot, slot > 0) << "room entry";
    FillPoolExcept(free);
    EXPECT_EQ(app().level.HandOverEnemy(408, TileX(3), TileY(3)), slot > 0);
    EXPECT_EQ(app().level.FreeSlot() != slot, slot > 0) << "hand-over";
  }
}

// A ship position that is not a number leaves no place to avoid; rooms outside the world have
// no floor: both end the search at once with nothing placed.
TEST_F(Arena, RoomEntryGivesUpOnAShipItCannotAvoidAndOnRoomsOutsideTheWorld) {
  const float inf = std::numeric_limits<float>::infinity();
  for (const auto& [x, y, rx, ry] : {std::tuple{kNaN, TileY(6), kRoomX, kRoomY},
                                     {TileX(8), kNaN, kRoomX, kRoomY},
                                     {TileX(8), TileY(6), -1, kRoomY},
                                     {TileX(8), TileY(6), 32, 0},
                                     {TileX(8), TileY(6), 0, 1 << 30},
                                     {inf, inf, -(1 << 30), 3}}) {
    app().play.Player[player::kX] = x;
    app().play.Player[player::kY] = y;
    app().level.AddABad(rx, ry);
    EXPECT_EQ(app().level.FreeSlot(), 2000) << rx << "," << ry << " ship " << x;
  }
}

// Waiting enemies (4xx) warm up for 60 updates, parked ones (5xx) for 5; barriers set off
// up or down at once. Other codes are not enemies.
TEST_F(Arena, TheMapHandsOverWaitingAndParkedEnemies) {
  std::set<bool> upward;
  for (const auto& [code, kind, timer, maxSpeed] : {std::tuple{408, 8, 60.0f, 0.0f},
                                                    {411, 11, 60, 0},
                                                    {508, 8, 5, 0},
                                                    {510, 10, 5, 0},
                                                    {412, 12, 0, 4},
                                                    {512, 12, 0, 6}}) {
    for (int i = 0; i < (kind == kBarrier ? 20 : 1); ++i) {
      SCOPED_TRACE(code);
      ClearPool();
      ASSERT_TRUE(app().level.HandOverEnemy(code, TileX(4), TileY(7)));
      const float* enemy = Record(2000);
      EXPECT_EQ((std::array{enemy[kKind], enemy[kTimer]}),
                (std::array{static_cast<float>(kind), timer}));
      EXPECT_TRUE(std::abs(enemy[kVY]) >= (maxSpeed > 0 ? 3 : 0) &&
                  std::abs(enemy[kVY]) <= maxSpeed);
      if (kind == kBarrier) upward.insert(enemy[kVY] < 0);
    }
  }
  EXPECT_EQ(upward.size(), 2u);
  for (const int code : {399, 449, 600}) {
    ClearPool();
    EXPECT_FALSE(app().level.HandOverEnemy(code, TileX(4), TileY(7))) << code;
  }
}

// One update of an enemy with shots on it: what it takes, the score, the sounds and sparks.
TEST_F(Arena, ShotsAgainstEnemies) {
  const struct {
    int kind;
    float timer, strength;
    std::vector<float> shots;
    float reach;  // how far off the enemy the shots lie, in both axes
    float strengthAfter;
    int score, shotsLeft;
    std::vector<int> sounds;
  } cases[] = {
      {8, 10, 3, {1}, 0, 3, 5, 0, {5}},   // warming up: unhurt, half the score
      {9, 0, 3, {1}, 20, 2, 10, 0, {5}},  // a weak shot still hurts
      {11, 0, 3, {1, 1.5f}, 0, 1, 20, 0, {5, 5}},
      {8, 0, 3, {6}, 23.5f, 3, 0, 1, {}},  // out of reach
      {8, 0, 1, {1, 1, 1}, 0, 0, 10, 2, {5, kBreakSound}},
      // Twenty shots of 6 would wear down 100 points in one update.
      {12, 0, 100, std::vector<float>(20, 6), 0, 100, 200, 0, std::vector<int>(20, 5)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.kind << " strength " << c.strength);
    ClearPool();
    app().play.Score = 0;
    ClearParticles();
    float* enemy = Put(200, c.kind, TileX(3), TileY(3), 0, 0, c.strength, c.timer);
    for (size_t i = 0; i < c.shots.size(); ++i)
      Put(static_cast<int>(i), kShot, TileX(3) + c.reach, TileY(3) - c.reach, 0, 0, c.shots[i]);
    SoundsPlayed();
    app().level.UpdateObjects();
    const bool destroyed = c.strengthAfter == 0;
    EXPECT_EQ(enemy[kKind] == kFree, destroyed);
    EXPECT_FLOAT_EQ(destroyed ? 0 : enemy[kStrength], c.strengthAfter);
    EXPECT_EQ(app().play.Score, c.score);
    EXPECT_EQ(static_cast<int>(Live(kShot).size()), c.shotsLeft);
    EXPECT_EQ(SoundsPlayed(), c.sounds);
    EXPECT_EQ(LiveParticles(), 3 * (int(c.shots.size()) - c.shotsLeft) + (destroyed ? 5 : 0));
  }
}

// One update of an enemy that moves by rule alone, against the tiles around it: dx, dy (from
// the tile's centre, for barriers from its top), vx, vy, angle.
TEST_F(Arena, EnemyMovesByKind) {
  enum Solid { kNone, kLeft, kRight, kAbove, kBelow };
  const struct {
    int kind;
    float timer;
    Solid solid;
    std::array<float, 5> before, after;
  } cases[] = {
      {8, 0, kRight, {0, 0, 2, 0, 0}, {2, 0, 0, 0, 0}},            // walker stops at a wall
      {8, 5, kNone, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}},             // walker warming up
      {9, 5, kBelow, {0, 0, 0, 1.5f, 0}, {0, 1.5f, 0, -1.5f, 0}},  // chaser bounces
      {10, 0, kNone, {0, 0, 0, 0, 330}, {0, 0, 2, 0, 0}},          // crawler wraps to 0
      {10, 0, kRight, {0, 0, 2, 0, 0}, {0, 0, 0, 0, 0}},           // crawler steps back
      {11, 0, kNone, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 330}},          // wraps to 330
      {11, 0, kNone, {0, 0, 0, 0, 120}, {0, 0, 0, -2, 90}},        // turns up
      {12, 0, kAbove, {0, 13, 0, -3, 0}, {0, 10, 0, 3, 0}},        // barrier turns short of it
      {12, 0, kBelow, {0, 19, 0, 3, 0}, {0, 22, 0, -3, 0}},
  };
  constexpr int kX0 = 4, kY0 = 4;
  const int sx[] = {0, -1, 1, 0, 0}, sy[] = {0, 0, 0, -1, 1};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.kind << " at " << c.before[4]);
    ClearPool();
    for (int x = 3; x <= 5; ++x)
      for (int y = 3; y <= 5; ++y) SetTile(x, y, code::kEmpty, 0);
    if (c.solid != kNone) SetTile(kX0 + sx[c.solid], kY0 + sy[c.solid], code::kBlock, 1);
    const float x0 = TileX(kX0), y0 = c.kind == kBarrier ? TileY(kY0) - kTile / 2 : TileY(kY0);
    const auto& [dx, dy, vx, vy, angle] = c.before;
    float* enemy = Put(200, c.kind, x0 + dx, y0 + dy, vx, vy, 3, c.timer);
    enemy[kAngle] = angle;
    app().level.UpdateObjects();
    EXPECT_EQ((std::array{enemy[kX] - x0, enemy[kY] - y0, enemy[kVX], enemy[kVY], enemy[kAngle]}),
              c.after);
    EXPECT_EQ(enemy[kStrength], c.kind == kBarrier ? 100 : 3) << "barriers cannot be worn down";
  }
}

// A standing walker sets off in one of four directions; a chaser speeds toward the ship,
// spins with its speed, never beyond 2 a frame, and the walls keep it in however long it
// presses against them.
TEST_F(Arena, WalkersSetOffAnyWayAndChasersHeadForTheShipInsideTheRoom) {
  std::set<std::pair<float, float>> directions;
  for (int i = 0; i < 60; ++i) {
    float* walker = Put(200, kWalker, TileX(4), TileY(4));
    app().level.UpdateObjects();
    directions.insert({walker[kVX], walker[kVY]});
  }
  EXPECT_EQ(directions, (std::set<std::pair<float, float>>{{0, -2}, {2, 0}, {0, 2}, {-2, 0}}));

  PutShip(12, 8);
  float* chaser = Put(200, kChaser, TileX(3), TileY(3), 0, 0, 3, 0);
  app().level.UpdateObjects();
  EXPECT_TRUE(chaser[kVX] >= 0.01f && chaser[kVX] <= 0.05f) << chaser[kVX];
  EXPECT_TRUE(chaser[kVY] >= 0.01f && chaser[kVY] <= 0.05f) << chaser[kVY];
  EXPECT_FLOAT_EQ(chaser[kSpin], (chaser[kVX] + chaser[kVY]) / 16);
  Put(200, kChaser, ShipX(), ShipY(), 0, 0, 3, 0);  // level with the ship: no pull
  app().level.UpdateObjects();
  EXPECT_EQ((std::array{chaser[kVX], chaser[kVY]}), (std::array<float, 2>{0, 0}));
  PutShip(40, 6);  // out of reach in the next room
  for (int frame = 0; frame < 3000; ++frame) {
    app().level.UpdateObjects();
    ASSERT_LE(std::max(std::abs(chaser[kVX]), std::abs(chaser[kVY])), 2) << frame;
    ASSERT_FALSE(WorldMap::isSolid(app().world.CodeAtPixel(chaser[kX], chaser[kY]))) << frame;
  }
}

// Within 24 pixels on both axes an enemy destroys the ship, but only while it plays.
TEST_F(Arena, TouchingAnEnemyDestroysTheShipOnlyWhilePlaying) {
  for (const auto& [dx, dy, exitState, exitAfter] :
       {std::tuple{23.0f, -23.0f, 0, 1}, {24, 0, 0, 0}, {0, 24, 0, 0}, {5, 5, -3, -3}}) {
    SCOPED_TRACE(testing::Message() << dx << "," << dy << " from " << exitState);
    ClearPool();
    app().play.ExitState = exitState;
    Put(200, kWalker, ShipX() + dx, ShipY() + dy, 0, 0, 3, 5);
    SoundsPlayed();
    app().level.UpdateObjects();
    EXPECT_EQ(app().play.ExitState, exitAfter);
    EXPECT_EQ(SoundsPlayed(), exitAfter != exitState ? std::vector{3} : std::vector<int>{});
  }
}

// The ship has moved on to the next room: everything of the old room leaves the pool (shots
// and the ball with a puff of sparks), and enemies wait in the map where the tile is free.
TEST_F(Arena, LeavingARoomParksItsEnemiesAndClearsThePool) {
  for (const auto& [kind, under, after, sparks] : {std::tuple{kWalker, 0, 508, 0},
                                                   {kBarrier, 0, 512, 0},
                                                   {kWalker, 452, 452, 0},
                                                   {kOrbitBall, 0, 0, 3},
                                                   {weapon::kBomb, 0, 0, 0}}) {
    SCOPED_TRACE(kind);
    ClearPool();
    ClearParticles();
    SetTile(6, 4, under, 0);
    Put(100, kind, TileX(6), TileY(4), 0, 0, 3, 50);
    app().play.Player[player::kRoomX] = kRoomX + 1;
    app().level.UpdateObjects();
    EXPECT_TRUE(Live(kind).empty());
    EXPECT_EQ(*Tile(6, 4), after);
    EXPECT_EQ(LiveParticles(), sparks);
  }
}

}  // namespace
