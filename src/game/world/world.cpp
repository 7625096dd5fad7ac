// World generation and the grid accessors every gameplay screen uses.
//
// The world is one flat int array: 32 x 32 rooms of 16 x 12 tiles, each tile a record of ten
// ints. A level is a pure function of Level, MaxBads and MaxWeaps because generation reseeds
// the shared random sequence; every draw below is made in a fixed order, so reordering any of
// them changes every level.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/random.h"
#include "game/core/globals.h"
#include "game/core/records.h"
#include "game/world/world_map.h"

namespace {

using world::kPaths;
using world::kRoomHeight;
using world::kRoomInts;
using world::kRooms;
using world::kRoomWidth;
using world::TileIndex;
constexpr int kWorldTilesX = world::kTilesX;
constexpr int kWorldTilesY = world::kTilesY;
constexpr int kClearedWorldInts = 2000001;

using tile::kCode;
using tile::kHitPoints;
using tile::kRotation;

constexpr int kSeedMultiplier = 1234, kSeedOffset = 123, kSeedWarmUpDraws = 16;

// Wall sets: each 2 x 2 block of rooms uses one base code; a tile is base + one of these.
using code::kFirstWallBase;
using code::kWallCorner;
using code::kWallEndCap;
using code::kWallSets;
using code::kWallSetStride;
using code::kWallStraight;

constexpr int kBaseLeft = 6, kBaseTop = 5, kBaseSize = 4;

enum Direction { kStay = 0, kUp = 1, kRight = 2, kDown = 3, kLeft = 4 };

// Doorways keep the corner and its neighbour at each end of a wall.
constexpr int kDoorFirst = 2;
constexpr int kDoorLastAcross = 13;  // along top and bottom walls
constexpr int kDoorLastDown = 9;     // along left and right walls
constexpr int kWholeWallWidth = 2;   // a doorway of this width opens the whole wall

using code::kFirstEnemyBlock;
using code::kFirstWeaponBlock;
constexpr int kShunnedEnemyBlock = 312, kEnemyBlockStandIn = 309;
// Block codes carry their frame in code mod 8.
constexpr int kBlockFrames = 8;
constexpr int kItemRoomDistanceStart = 256;
constexpr int kItemTileTries = 500;
constexpr int kStubbornBlockHitPoints = 2;

constexpr int kBarriersFromLevel = 9;
constexpr int kBarrierSlots = 3;

bool InWorld(int tx, int ty) {
  return tx >= 0 && tx < kWorldTilesX && ty >= 0 && ty < kWorldTilesY;
}

bool InRoom(int x, int y) {
  return x >= 0 && x < kRoomWidth && y >= 0 && y < kRoomHeight;
}

int GlobalTileIndex(int tx, int ty) {
  return TileIndex(tx / kRoomWidth, ty / kRoomHeight, tx % kRoomWidth, ty % kRoomHeight);
}

// Room index ry * 32 + rx of a global tile, -1 outside the world.
int RoomOfTile(int tx, int ty) {
  return InWorld(tx, ty) ? world::RoomIndex(tx / kRoomWidth, ty / kRoomHeight) : -1;
}

// Pixel to tile by truncation. Pixels left of or above the world give -1 (truncation alone
// would fold them into the first tile), and far-off or NaN pixels land outside the world
// without an out-of-range float-to-int conversion.
int PixelToTile(float pixel, float tileSize) {
  const float tile = pixel / tileSize;
  if (!(tile >= 0)) return -1;
  if (tile >= kWorldTilesX) return kWorldTilesX;
  return static_cast<int>(tile);
}

int ToRoomCoord(float value) {
  return value >= 0 && value < kRooms ? static_cast<int>(value) : -1;
}

// Steps per path: rises every five levels within each run of 25, and by two per 25 levels.
int PathSteps(int level) {
  return (level - 1) % 25 / 5 + 4 + level / 25 * 2;
}

// Chance out of 10 that a block hides something; cycles every 12 levels.
int BlockChance(int level) {
  const int m = (level - 1) % 12;
  if (m <= 1) return 2;
  if (m <= 3) return 3;
  if (m <= 5) return 4;
  return 5;
}

bool IsStraightWall(int code) {
  return code >= kFirstWallBase && code < kFirstWallBase + kWallSets * kWallSetStride &&
         (code - kFirstWallBase) % kWallSetStride == kWallStraight;
}

void Step(int direction, int& rx, int& ry) {
  if (direction == kUp) --ry;
  if (direction == kRight) ++rx;
  if (direction == kDown) ++ry;
  if (direction == kLeft) --rx;
}

// One level's generation; every method draws from the shared sequence in build order.
class WorldBuilder {
 public:
  explicit WorldBuilder(WorldMap& world) : map_(world), world_(world.Tiles) {}

  void Build();

 private:
  int* Tile(int rx, int ry, int x, int y) { return &world_[TileIndex(rx, ry, x, y)]; }
  int& PathMark(int rx, int ry, int path) { return Tile(rx, ry, 0, 0)[tile::PathMarkField(path)]; }
  bool OnAnyPath(int rx, int ry) {
    for (int path = 0; path < kPaths; ++path)
      if (PathMark(rx, ry, path) != 0) return true;
    return false;
  }
  bool IsStartRoom(int rx, int ry) const { return rx == map_.StartRoomX && ry == map_.StartRoomY; }
  bool EmptyInRoom(int rx, int ry, int x, int y) {
    return InRoom(x, y) && Tile(rx, ry, x, y)[kCode] == 0;
  }
  // A roll out of 10 below n: one draw.
  bool Roll(int n) { return 10 * Rnd() < n; }

  void LayWalls();
  void LayRoomWalls(int rx, int ry, int wallBase);
  void PlaceStart();
  void LayBase();
  void WalkPaths();
  bool CanStep(int path, int rx, int ry, int direction);
  void CutDoorway(int fromX, int fromY, int direction);
  void CutAcross(int upperX, int upperY, int lowerX, int lowerY, int a, int w);
  void CutDown(int leftX, int leftY, int rightX, int rightY, int a, int w);
  void FillRooms();
  void PlaceBlocks(int rx, int ry);
  int HiddenBlockCode();
  void CapWallEnds(int rx, int ry);
  void HideItems();
  void HideItem(int item);
  void PlaceBarriers();
  bool IsCorridor(int rx, int ry);

  WorldMap& map_;
  std::array<int, kWorldInts>& world_;
};

void WorldBuilder::Build() {
  std::fill_n(world_.begin(), kClearedWorldInts, 0);
  LayWalls();
  PlaceStart();
  LayBase();
  WalkPaths();
  FillRooms();
  HideItems();
  PlaceBarriers();
}

void WorldBuilder::LayWalls() {
  const int t = Rand(0, 3);
  for (int rx = 0; rx < kRooms; ++rx) {
    for (int ry = 0; ry < kRooms; ++ry) {
      const int wallSet = (t + ry / 2 + rx / 2) % kWallSets;
      LayRoomWalls(rx, ry, wallSet * kWallSetStride + kFirstWallBase);
    }
  }
}

void WorldBuilder::LayRoomWalls(int rx, int ry, int wallBase) {
  constexpr int right = kRoomWidth - 1, bottom = kRoomHeight - 1;
  for (int x = 0; x < kRoomWidth; ++x) {
    for (int y = 0; y < kRoomHeight; ++y) {
      int* tile = Tile(rx, ry, x, y);
      const bool side = x == 0 || x == right;
      const bool topOrBottom = y == 0 || y == bottom;
      tile[kCode] = 0;
      tile[kRotation] = 0;
      if (side && topOrBottom) {
        tile[kCode] = wallBase + kWallCorner;
        if (x == right) tile[kRotation] = y == 0 ? 90 : 180;
        if (x == 0 && y == bottom) tile[kRotation] = -90;
      } else if (side || topOrBottom) {
        tile[kCode] = wallBase + kWallStraight;
        tile[kRotation] = side ? 90 : (y == 0 ? 0 : 180);
      }
      tile[tile::kRoomX] = rx;
      tile[tile::kRoomY] = ry;
    }
  }
  for (int path = 0; path < kPaths; ++path) PathMark(rx, ry, path) = 0;
}

void WorldBuilder::PlaceStart() {
  map_.StartRoomX = Rand(12, 20);
  map_.StartRoomY = Rand(12, 20);
}

void WorldBuilder::LayBase() {
  for (int y = 0; y < kBaseSize; ++y) {
    for (int x = 0; x < kBaseSize; ++x)
      Tile(map_.StartRoomX, map_.StartRoomY, kBaseLeft + x, kBaseTop + y)[kCode] =
          code::kBase + y * kBaseSize + x;
  }
}

// Three random walks from the start room. The direction carries over from one path to the
// next, so a later path opens by repeating the last step of the one before.
void WorldBuilder::WalkPaths() {
  const int steps = PathSteps(map_.Level);
  int direction = kStay;
  for (int path = 0; path < kPaths; ++path) {
    int rx = map_.StartRoomX, ry = map_.StartRoomY;
    for (int s = 0; s <= steps; ++s) {
      if (s > 0) {
        direction = Rand(1, 4);
        if (!CanStep(path, rx, ry, direction)) {
          direction = kStay;
          continue;
        }
      }
      const int fromX = rx, fromY = ry;
      Step(direction, rx, ry);
      PathMark(rx, ry, path) = s == 0 ? 1 : direction;
      CutDoorway(fromX, fromY, direction);
    }
  }
}

// A step stays inside rooms 1..30 and never enters a room its own path has already marked.
bool WorldBuilder::CanStep(int path, int rx, int ry, int direction) {
  Step(direction, rx, ry);
  if (rx < 1 || rx > kRooms - 2 || ry < 1 || ry > kRooms - 2) return false;
  return PathMark(rx, ry, path) == 0;
}

// Draws the doorway's centre a and half-width w (also when there is no step), then opens the
// wall between the room left and the room entered.
void WorldBuilder::CutDoorway(int fromX, int fromY, int direction) {
  int a = Rand(0, 15);
  if (direction == kUp || direction == kDown) a = Rand(0, 11);
  const int w = Rand(2, 4);
  if (w >= 3) {
    if (a <= w) a = w + 1;
    if (a > 14 - w) a = 14 - w;
    if ((direction == kRight || direction == kLeft) && a > 10 - w) a = 10 - w;
  }
  int toX = fromX, toY = fromY;
  Step(direction, toX, toY);
  if (direction == kUp) CutAcross(toX, toY, fromX, fromY, a, w);
  if (direction == kDown) CutAcross(fromX, fromY, toX, toY, a, w);
  if (direction == kRight) CutDown(fromX, fromY, toX, toY, a, w);
  if (direction == kLeft) CutDown(toX, toY, fromX, fromY, a, w);
}

bool InDoorway(int p, int a, int w) {
  return w == kWholeWallWidth || std::abs(p - a) < w;
}

// Opens the bottom wall of the upper room and the top wall of the lower one.
void WorldBuilder::CutAcross(int upperX, int upperY, int lowerX, int lowerY, int a, int w) {
  for (int p = kDoorFirst; p <= kDoorLastAcross; ++p) {
    if (!InDoorway(p, a, w)) continue;
    Tile(upperX, upperY, p, kRoomHeight - 1)[kCode] = 0;
    Tile(lowerX, lowerY, p, 0)[kCode] = 0;
  }
}

// Opens the right wall of the left room and the left wall of the right one.
void WorldBuilder::CutDown(int leftX, int leftY, int rightX, int rightY, int a, int w) {
  for (int p = kDoorFirst; p <= kDoorLastDown; ++p) {
    if (!InDoorway(p, a, w)) continue;
    Tile(leftX, leftY, kRoomWidth - 1, p)[kCode] = 0;
    Tile(rightX, rightY, 0, p)[kCode] = 0;
  }
}

void WorldBuilder::FillRooms() {
  for (int rx = 1; rx < kRooms - 1; ++rx) {
    for (int ry = 1; ry < kRooms - 1; ++ry) {
      if (OnAnyPath(rx, ry) && !IsStartRoom(rx, ry)) PlaceBlocks(rx, ry);
      CapWallEnds(rx, ry);
    }
  }
}

// A cluster of up to 5 x 5 blocks around a random centre.
void WorldBuilder::PlaceBlocks(int rx, int ry) {
  const int cx = Rand(4, 12);
  const int cy = Rand(4, 8);
  int hw = 0, hh = 0;
  while (hw == 0 && hh == 0) {
    hw = Rand(0, 2);
    hh = Rand(0, 2);
  }
  const int chance = BlockChance(map_.Level);
  for (int x = cx - hw; x <= cx + hw; ++x) {
    for (int y = cy - hh; y <= cy + hh; ++y) {
      int* tile = Tile(rx, ry, x, y);
      if (tile[kCode] != 0 || !Roll(7)) continue;
      tile[kCode] = code::kBlock;
      const int hidden = HiddenBlockCode();
      if (Rand(0, 10) < chance) tile[kCode] = hidden;
      tile[kHitPoints] = Rand(1, 2);
    }
  }
}

// A weapon block, or four times in nine an enemy block; enemy kind 4 is never hidden.
int WorldBuilder::HiddenBlockCode() {
  int code = Rand(kFirstWeaponBlock, map_.MaxWeaps + kFirstWeaponBlock - 1);
  if (Rand(0, 8) < 4) {
    code = Rand(kFirstEnemyBlock, map_.MaxBads + kFirstEnemyBlock - 1);
    if (code == kShunnedEnemyBlock) code = kEnemyBlockStandIn;
  }
  return code;
}

// A straight wall beside a doorway becomes an end cap turned toward the opening.
void WorldBuilder::CapWallEnds(int rx, int ry) {
  for (int x = 0; x < kRoomWidth; ++x) {
    for (int y = 0; y < kRoomHeight; ++y) {
      int* tile = Tile(rx, ry, x, y);
      if (!IsStraightWall(tile[kCode])) continue;
      const int rotation = tile[kRotation];
      const bool across = rotation == 0 || rotation == 180;
      const bool down = rotation == 90 || rotation == -90;
      int capRotation;
      if (across && EmptyInRoom(rx, ry, x + 1, y)) {
        capRotation = 0;
      } else if (across && EmptyInRoom(rx, ry, x - 1, y)) {
        capRotation = 180;
      } else if (down && EmptyInRoom(rx, ry, x, y - 1)) {
        capRotation = -90;
      } else if (down && EmptyInRoom(rx, ry, x, y + 1)) {
        capRotation = 90;
      } else {
        continue;
      }
      tile[kCode] += kWallEndCap - kWallStraight;
      tile[kRotation] = capRotation;
    }
  }
}

void WorldBuilder::HideItems() {
  for (int item = 0; item < kPaths; ++item) HideItem(item);
}

// Item k goes into a far room of path k: the demanded distance from the start room starts
// beyond the world and shrinks by a quarter room per try. Inside the room it takes a plain
// block; after 500 tries without one, the next tile tried becomes a sturdy item block
// whatever it holds (on the game's 1000 levels that is never an earlier item's block).
void WorldBuilder::HideItem(int item) {
  int rx = 0, ry = 0;
  for (int demand = kItemRoomDistanceStart;;) {
    demand = std::max(demand - 1, 0);
    rx = Rand(0, kRooms - 1);
    ry = Rand(0, kRooms - 1);
    const int distance = std::max(std::abs(rx - map_.StartRoomX), std::abs(ry - map_.StartRoomY));
    if (4 * distance > demand && PathMark(rx, ry, item) != 0) break;
  }
  const int itemBase = code::kItemBlock + item * code::kItemBlockStride;
  for (int attempt = 1;; ++attempt) {
    const int tx = Rand(1, kRoomWidth - 2);
    const int ty = Rand(1, kRoomHeight - 2);
    int* tile = Tile(rx, ry, tx, ty);
    bool hidden = false;
    if (tile[kCode] >= code::kBlock && tile[kCode] <= code::kLastBlockFrame) {
      tile[kCode] = tile[kCode] % kBlockFrames + itemBase;
      hidden = true;
    }
    if (attempt > kItemTileTries) {
      tile[kCode] = tile[kCode] % kBlockFrames + itemBase;
      tile[kHitPoints] = kStubbornBlockHitPoints;
      hidden = true;
    }
    map_.Items[static_cast<size_t>(item)] = {rx * kRooms + tx, ry * kRooms + ty, rx, ry};
    if (hidden) return;
  }
}

// Corridors (walls closed above and below, open at both sides) may get barrier enemies.
void WorldBuilder::PlaceBarriers() {
  for (int rx = 0; rx < kRooms; ++rx) {
    for (int ry = 0; ry < kRooms; ++ry) {
      if (!OnAnyPath(rx, ry) || !IsCorridor(rx, ry)) continue;
      if (map_.Level < kBarriersFromLevel || !Roll(6)) continue;
      for (int i = 1; i <= kBarrierSlots; ++i) {
        const int x = 4 * i - 1;
        const int y = Rand(2, 8);
        int* tile = Tile(rx, ry, x, y);
        if (tile[kCode] == 0) tile[kCode] = code::kBarrier;
      }
    }
  }
}

bool WorldBuilder::IsCorridor(int rx, int ry) {
  for (int x = 0; x < kRoomWidth; ++x) {
    if (EmptyInRoom(rx, ry, x, 0) || EmptyInRoom(rx, ry, x, kRoomHeight - 1)) return false;
  }
  bool leftOpen = false, rightOpen = false;
  for (int y = 0; y < kRoomHeight; ++y) {
    leftOpen |= EmptyInRoom(rx, ry, 0, y);
    rightOpen |= EmptyInRoom(rx, ry, kRoomWidth - 1, y);
  }
  return leftOpen && rightOpen;
}

}  // namespace

void WorldMap::Build() {
  // Unsigned arithmetic: the seed wraps modulo 2^32 for any level.
  Seed = static_cast<int>(static_cast<unsigned>(Level) * kSeedMultiplier + kSeedOffset);
  for (int i = 0; i < kSeedWarmUpDraws; ++i) Rnd();
  WorldBuilder(*this).Build();
}

int WorldMap::CodeAtPixel(float x, float y) const {
  return CodeAtTile(PixelToTile(x, TileSize), PixelToTile(y, TileSize));
}

int WorldMap::CodeAtTile(int tx, int ty) const {
  return InWorld(tx, ty) ? Tiles[GlobalTileIndex(tx, ty)] : code::kOutside;
}

void WorldMap::PutAt(float x, float y, int code) {
  const int tx = PixelToTile(x, TileSize);
  const int ty = PixelToTile(y, TileSize);
  if (InWorld(tx, ty)) Tiles[GlobalTileIndex(tx, ty)] = code;
}

// Up to 251 random tiles within two of the start tile (kept off the room's walls); the first
// empty one takes the code, or the last one tried when none was empty.
void WorldMap::PutAround(float x, float y, int code) {
  constexpr int kTries = 251;
  const int tx = PixelToTile(x, TileSize);
  const int ty = PixelToTile(y, TileSize);
  if (!InWorld(tx, ty)) return;
  const int rx = tx / kRoomWidth, ry = ty / kRoomHeight;
  int index = 0;
  for (int i = 0; i < kTries; ++i) {
    const int dx = Rand(-2, 2);
    const int dy = Rand(-2, 2);
    const int x = std::clamp(tx % kRoomWidth + dx, 1, kRoomWidth - 2);
    const int y = std::clamp(ty % kRoomHeight + dy, 1, kRoomHeight - 2);
    index = TileIndex(rx, ry, x, y);
    if (Tiles[index] == 0) break;
  }
  Tiles[index] = code;
}

bool WorldMap::isSolid(int code) {
  if (code >= code::kBase && code <= code::kLastOpenBase) return false;
  if (code >= code::kFreeItem && code < code::kFreeItem + world::kPaths) return false;
  return code >= 1 && code < code::kWaitingEnemy;
}

int WorldMap::RoomPathMarks(float x, float y) const {
  const int tx = PixelToTile(x, TileSize);
  const int ty = PixelToTile(y, TileSize);
  if (!InWorld(tx, ty)) return 0;
  const int* corner = &Tiles[TileIndex(tx / kRoomWidth, ty / kRoomHeight, 0, 0)];
  int marks = 0;
  for (int path = 0; path < kPaths; ++path) marks += corner[tile::PathMarkField(path)];
  return marks;
}

void WorldMap::GetMatrix(float x, float y) {
  FillMatrix(x, y, 0, 0, 0);
}

void WorldMap::GetMatrixInRoom(float x, float y, float roomX, float roomY) {
  FillMatrix(x, y, 1, roomX, roomY);
}

void WorldMap::FillMatrix(float x, float y, int mode, float roomX, float roomY) {
  const int tx = PixelToTile(x, TileSize);
  const int ty = PixelToTile(y, TileSize);
  const int rx = ToRoomCoord(roomX);
  const int ry = ToRoomCoord(roomY);
  const int currentRoom = rx < 0 || ry < 0 ? -1 : world::RoomIndex(rx, ry);
  int entry = matrix::kUpLeft;
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx, ++entry) {
      const bool hidden = mode == 1 && RoomOfTile(tx + dx, ty + dy) != currentRoom;
      Matrix[entry] = hidden ? code::kOutside : CodeAtTile(tx + dx, ty + dy);
    }
  }
  Matrix[matrix::kRoom] = RoomOfTile(tx, ty);
}
