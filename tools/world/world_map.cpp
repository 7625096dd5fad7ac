#include "world_map.h"

#include <algorithm>
#include <cstdio>

#include "game/core/globals.h"
#include "game/core/records.h"
#include "game/my_app.h"

namespace {

using world::kPaths;
using world::kRoomHeight;
using world::kRooms;
using world::kRoomWidth;

// The Player entries generation sets, in index order; the item records follow them.
constexpr int kPlayerEntries[] = {
    player::kX,
    player::kY,
    player::kRoomX,
    player::kRoomY,
    player::kRoomRefX,
    player::kRoomRefY,
    player::kWeapon,
    player::kAmmo,
    player::kBackdropRed,
    player::kBackdropGreen,
    player::kBackdropBlue,
    player::kRespawnRoomX,
    player::kRespawnRoomY,
    player::kRespawnX,
    player::kRespawnY,
    player::kClearedAtStart,
    player::kClearedAtStart + 1,
    player::kClearedAtStart + 2,
};
constexpr int kItemEntries[] = {player::kItemState, player::kItemTileX, player::kItemTileY,
                                player::kItemRoomX, player::kItemRoomY};

const int* Tile(const MyApp& app, int rx, int ry, int x, int y) {
  return &app.world.Tiles[world::TileIndex(rx, ry, x, y)];
}

int PathMark(const MyApp& app, int rx, int ry, int path) {
  return Tile(app, rx, ry, 0, 0)[tile::PathMarkField(path)];
}

bool OnAnyPath(const MyApp& app, int rx, int ry) {
  for (int path = 0; path < kPaths; ++path)
    if (PathMark(app, rx, ry, path) != 0) return true;
  return false;
}

template <typename... Args>
void Append(std::string& out, const char* format, Args... args) {
  char buffer[64];
  const int length = std::snprintf(buffer, sizeof buffer, format, args...);
  out.append(buffer, std::clamp(length, 0, static_cast<int>(sizeof buffer) - 1));
}

bool Within(int value, int first, int last) {
  return value >= first && value <= last;
}

char Glyph(int tileCode, bool inLevel) {
  using namespace code;
  if (tileCode == kEmpty) return inLevel ? ' ' : '.';
  if (Within(tileCode, kFreeItem, kFreeItem + kPaths - 1)) return '*';
  if (Within(tileCode, kBlock, kLastBlockFrame)) return 'o';
  if (Within(tileCode, 1, kLastScenery)) return '#';
  if (Within(tileCode, kBase, kLastOpenBase)) return 'B';
  if (Within(tileCode, kBaseBottomRow, kLastBaseTile)) return '=';
  if (Within(tileCode, kItemBlock, kItemBlock + kPaths * kItemBlockStride - 1))
    return static_cast<char>('1' + (tileCode - kItemBlock) / kItemBlockStride);
  if (Within(tileCode, kHiddenBlock, kFirstWeaponBlock - 1)) return 'e';
  if (Within(tileCode, kFirstWeaponBlock, kLastHiddenBlock)) return 'w';
  if (tileCode == kBarrier) return '|';
  if (Within(tileCode, kWaitingEnemy, kLastWaitingEnemy)) return 'E';
  if (Within(tileCode, kParkedEnemy, kLastParkedEnemy)) return 'E';
  if (Within(tileCode, kFirstPickup, kLastPickup)) return 'W';
  return '?';
}

constexpr const char* kLegend =
    "legend: # wall  o block  1 2 3 block hiding item 1, 2, 3  e block hiding an enemy\n"
    "        w block hiding a weapon  B base  = landing pad  * item  E enemy  | barrier\n"
    "        W weapon pickup  (space) open floor  . room outside the level  ? other\n";

}  // namespace

std::string DescribeWorld(const MyApp& app) {
  std::string out;
  Append(out, "level %d maxbads %d maxweaps %d\nplayer", app.world.Level, app.world.MaxBads,
         app.world.MaxWeaps);
  auto appendEntry = [&](int i) {
    Append(out, " %d=%g", i, static_cast<double>(app.play.Player[i]));
  };
  for (int i : kPlayerEntries) appendEntry(i);
  for (int item = 0; item < kPaths; ++item) {
    for (int field : kItemEntries) appendEntry(player::Item(item, field));
  }
  out += '\n';
  for (int ry = 0; ry < kRooms; ++ry) {
    for (int rx = 0; rx < kRooms; ++rx) {
      Append(out, "room %d %d", rx, ry);
      for (int path = 0; path < kPaths; ++path) Append(out, " %d", PathMark(app, rx, ry, path));
      for (int y = 0; y < kRoomHeight; ++y) {
        for (int x = 0; x < kRoomWidth; ++x) {
          const int* tile = Tile(app, rx, ry, x, y);
          Append(out, " %d,%d,%d", tile[tile::kCode], tile[tile::kRotation],
                 tile[tile::kHitPoints]);
        }
      }
      out += '\n';
    }
  }
  return out;
}

std::string DrawWorldMap(const MyApp& app) {
  int left = kRooms, right = -1, top = kRooms, bottom = -1;
  for (int ry = 0; ry < kRooms; ++ry) {
    for (int rx = 0; rx < kRooms; ++rx) {
      if (!OnAnyPath(app, rx, ry)) continue;
      left = std::min(left, rx);
      right = std::max(right, rx);
      top = std::min(top, ry);
      bottom = std::max(bottom, ry);
    }
  }
  std::string out;
  Append(out, "level %d: rooms %d..%d across, ", app.world.Level, left, right);
  Append(out, "%d..%d down; start room %d,%d\n", top, bottom,
         static_cast<int>(app.play.Player[player::kRoomX]),
         static_cast<int>(app.play.Player[player::kRoomY]));
  for (int ry = top; ry <= bottom; ++ry) {
    for (int y = 0; y < kRoomHeight; ++y) {
      for (int rx = left; rx <= right; ++rx) {
        const bool inLevel = OnAnyPath(app, rx, ry);
        for (int x = 0; x < kRoomWidth; ++x)
          out += Glyph(Tile(app, rx, ry, x, y)[tile::kCode], inLevel);
      }
      out += '\n';
    }
  }
  out += kLegend;
  return out;
}
