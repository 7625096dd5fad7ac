// The level's tiles as a ship meets them, and the static check that a level can be won: the
// three items and the pad reached from the base over tiles the ship can pass or the main gun
// can break. The gun fires sideways, so a block is broken from the tile to its left or right.
#pragma once

#include <array>
#include <vector>

#include "game/core/records.h"
#include "game/play/play.h"
#include "game/world/world_map.h"

namespace reach {

constexpr int kTiles = world::kTilesX * world::kTilesY;
// The tiles above the pad, in the start room: a ship there settles onto it.
constexpr int kPadRow = 7, kPadFirstX = 6, kPadLastX = 9;

bool InWorld(int tx, int ty);
// Global tiles (room * 16 + x, room * 12 + y); 42 outside the world.
int Code(const WorldMap& world, int tx, int ty);
int HitPoints(const WorldMap& world, int tx, int ty);
// In a room of the level: on a path, and within rooms 1..30, where the ship survives.
bool InLevel(const WorldMap& world, int tx, int ty);
// A block that shots still damage.
bool IsBlock(const WorldMap& world, int tx, int ty);
bool Open(const WorldMap& world, int tx, int ty);
// Whether a ship moving into the tile from a neighbour gets there: open tiles from any side,
// blocks only sideways.
bool CanEnter(const WorldMap& world, int tx, int ty, bool sideways);
// Where item k lies: its hiding place while it is there, else the loose item in the level.
bool FindItem(const WorldMap& world, const Play& play, int item, int& tx, int& ty);
// The start room's tile column tx and row ty of its upper left corner.
void StartRoomCorner(const Play& play, int& tx, int& ty);

}  // namespace reach

struct LevelCheck {
  std::array<bool, world::kPaths> itemReached{};
  bool padReached = false;
  bool Won() const;
};

// Searches the level as built, from the ship's start tile.
LevelCheck CheckLevel(const WorldMap& world, const Play& play);
