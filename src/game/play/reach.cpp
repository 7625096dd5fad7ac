#include "game/play/reach.h"

#include <vector>

namespace reach {

namespace {

using world::kRoomHeight;
using world::kRoomWidth;
constexpr int kFirstLevelRoom = 1, kLastLevelRoom = 30;
constexpr int kSteps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};

const int* Record(const WorldMap& world, int tx, int ty) {
  return &world.Tiles[world::TileIndex(tx / kRoomWidth, ty / kRoomHeight, tx % kRoomWidth,
                                       ty % kRoomHeight)];
}

bool Within(int value, int first, int last) {
  return value >= first && value <= last;
}

}  // namespace

bool InWorld(int tx, int ty) {
  return tx >= 0 && tx < world::kTilesX && ty >= 0 && ty < world::kTilesY;
}

int Code(const WorldMap& world, int tx, int ty) {
  return InWorld(tx, ty) ? Record(world, tx, ty)[tile::kCode] : code::kOutside;
}

int HitPoints(const WorldMap& world, int tx, int ty) {
  return InWorld(tx, ty) ? Record(world, tx, ty)[tile::kHitPoints] : 0;
}

bool InLevel(const WorldMap& world, int tx, int ty) {
  if (!InWorld(tx, ty)) return false;
  const int rx = tx / kRoomWidth, ry = ty / kRoomHeight;
  if (!Within(rx, kFirstLevelRoom, kLastLevelRoom) || !Within(ry, kFirstLevelRoom, kLastLevelRoom))
    return false;
  const int* corner = &world.Tiles[world::TileIndex(rx, ry, 0, 0)];
  for (int path = 0; path < world::kPaths; ++path)
    if (corner[tile::PathMarkField(path)] != 0) return true;
  return false;
}

bool IsBlock(const WorldMap& world, int tx, int ty) {
  const int c = Code(world, tx, ty);
  const bool blockCode = Within(c, code::kBlock, code::kLastBlockFrame) ||
                         Within(c, code::kItemBlock, code::kLastHiddenBlock);
  return blockCode && HitPoints(world, tx, ty) > 0;
}

bool Open(const WorldMap& world, int tx, int ty) {
  return !WorldMap::isSolid(Code(world, tx, ty));
}

bool CanEnter(const WorldMap& world, int tx, int ty, bool sideways) {
  if (!InLevel(world, tx, ty)) return false;
  return Open(world, tx, ty) || (sideways && IsBlock(world, tx, ty));
}

bool FindItem(const WorldMap& world, const Play& play, int item, int& tx, int& ty) {
  const auto entry = [&](int field) {
    return static_cast<int>(play.Player[player::Item(item, field)]);
  };
  const int rx = entry(player::kItemRoomX), ry = entry(player::kItemRoomY);
  // The hiding place is kept as room * 32 + tile in each axis.
  tx = rx * kRoomWidth + entry(player::kItemTileX) - rx * world::kRooms;
  ty = ry * kRoomHeight + entry(player::kItemTileY) - ry * world::kRooms;
  const int hidden = code::kItemBlock + item * code::kItemBlockStride;
  const int c = Code(world, tx, ty);
  if (Within(c, hidden, hidden + code::kItemBlockStride - 1) || c == code::kFreeItem + item)
    return true;
  // Dropped where the ship was destroyed.
  for (ty = 0; ty < world::kTilesY; ++ty)
    for (tx = 0; tx < world::kTilesX; ++tx)
      if (Code(world, tx, ty) == code::kFreeItem + item && InLevel(world, tx, ty)) return true;
  return false;
}

void StartRoomCorner(const Play& play, int& tx, int& ty) {
  tx = static_cast<int>(play.Player[player::kRespawnRoomX]) * kRoomWidth;
  ty = static_cast<int>(play.Player[player::kRespawnRoomY]) * kRoomHeight;
}

}  // namespace reach

bool LevelCheck::Won() const {
  for (bool reached : itemReached)
    if (!reached) return false;
  return padReached;
}

LevelCheck CheckLevel(const WorldMap& world, const Play& play) {
  using namespace reach;
  std::vector<bool> reached(kTiles, false);
  std::vector<int> queue;
  const auto tileOf = [&world, &play](int player) {
    return static_cast<int>(play.Player[player] / world.TileSize);
  };
  const int startX = tileOf(player::kX), startY = tileOf(player::kY);
  if (InLevel(world, startX, startY)) {
    reached[startY * world::kTilesX + startX] = true;
    queue.push_back(startY * world::kTilesX + startX);
  }
  for (size_t next = 0; next < queue.size(); ++next) {
    const int ax = queue[next] % world::kTilesX, ay = queue[next] / world::kTilesX;
    for (const auto& step : kSteps) {
      const int bx = ax + step[0], by = ay + step[1];
      if (!InWorld(bx, by) || reached[by * world::kTilesX + bx]) continue;
      if (!CanEnter(world, bx, by, step[1] == 0)) continue;
      reached[by * world::kTilesX + bx] = true;
      queue.push_back(by * world::kTilesX + bx);
    }
  }
  LevelCheck check;
  for (int item = 0; item < world::kPaths; ++item) {
    int tx = 0, ty = 0;
    check.itemReached[item] =
        FindItem(world, play, item, tx, ty) && reached[ty * world::kTilesX + tx];
  }
  int cornerX = 0, cornerY = 0;
  StartRoomCorner(play, cornerX, cornerY);
  for (int x = kPadFirstX; x <= kPadLastX; ++x)
    check.padReached =
        check.padReached || reached[(cornerY + kPadRow) * world::kTilesX + cornerX + x];
  return check;
}
