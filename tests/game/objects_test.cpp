// The object pool and the enemies in a bare room: free records, room entry, a walker setting off
// and parking. Shots against enemies, their movement and contact with the ship are in the traces.
#include <set>
#include <tuple>

#include "combat_arena.h"
#include "game/core/globals.h"

namespace {

using namespace object;

TEST_F(Arena, FreeSlotTakesTheHighestFreeRecordAndEnemiesNeverTakeRecordZero) {
  for (const auto& [free, slot] :
       {std::pair{std::vector<int>{}, -1}, {{0}, 0}, {{3, 150, 12}, 1500}}) {
    FillPoolExcept(free);
    EXPECT_EQ(app().level.FreeSlot(), slot);
    app().level.AddABad(kRoomX, kRoomY);
    EXPECT_EQ(app().level.FreeSlot() != slot, slot > 0) << "room entry " << slot;
    FillPoolExcept(free);
    EXPECT_EQ(app().level.HandOverEnemy(408, TileX(3), TileY(3)), slot > 0);
    EXPECT_EQ(app().level.FreeSlot() != slot, slot > 0) << "hand-over " << slot;
  }
}

// A ship position that is not a number leaves no place to avoid; rooms outside the world have
// no floor: both end the search at once with nothing placed.
TEST_F(Arena, RoomEntryGivesUpOnAShipItCannotAvoidAndOnRoomsOutsideTheWorld) {
  for (const auto& [x, y, rx, ry] : {std::tuple{kNaN, TileY(6), kRoomX, kRoomY},
                                     {TileX(8), kNaN, kRoomX, kRoomY},
                                     {TileX(8), TileY(6), -1, kRoomY},
                                     {TileX(8), TileY(6), 0, 1 << 30}}) {
    PutShip(x, y);
    app().level.AddABad(rx, ry);
    EXPECT_EQ(app().level.FreeSlot(), 2000) << rx << "," << ry << " ship " << x;
  }
}

TEST_F(Arena, AStandingWalkerSetsOffAnyWayAtTwo) {
  std::set<std::pair<float, float>> directions;
  for (int i = 0; i < 60; ++i) {
    float* walker = Put(200, kWalker, TileX(4), TileY(4));
    app().level.UpdateObjects();
    directions.insert({walker[kVX], walker[kVY]});
  }
  EXPECT_EQ(directions, (std::set<std::pair<float, float>>{{0, -2}, {2, 0}, {0, 2}, {-2, 0}}));
}

// The ship has moved on: everything of the old room leaves the pool, and enemies wait in the
// map where the tile is free.
TEST_F(Arena, LeavingARoomParksItsEnemiesAndClearsThePool) {
  for (const auto& [kind, under, after] : {std::tuple{kWalker, 0, 508},
                                           {kBarrier, 0, 512},
                                           {kWalker, 452, 452},
                                           {weapon::kBomb, 0, 0}}) {
    ClearPool();
    SetTile(6, 4, under, 0);
    Put(100, kind, TileX(6), TileY(4), 0, 0, 3, 50);
    app().play.Player[player::kRoomX] = kRoomX + 1;
    app().level.UpdateObjects();
    EXPECT_TRUE(Live(kind).empty()) << kind;
    EXPECT_EQ(*Tile(6, 4), after) << kind;
  }
}

}  // namespace
