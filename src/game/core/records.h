// Where every value lives in the game's flat records: the Player array, the object,
// particle, star and draw records, the tiles of the world grid and the codes they hold.
// Gameplay, tools and tests index those arrays through these names only; the numbers are
// the saved and dumped layout and must not change.
#pragma once

// ---- The world grid: 32 x 32 rooms of 16 x 12 tiles, each tile ten ints ----
namespace world {
constexpr int kLevels = 1000;  // numbered from 1; each generates its own world
constexpr int kRooms = 32;     // rooms across and down
constexpr int kRoomWidth = 16;
constexpr int kRoomHeight = 12;
constexpr int kTileInts = 10;
constexpr int kTileRowInts = kRoomWidth * kTileInts;
constexpr int kRoomInts = kRoomHeight * kTileRowInts;
constexpr int kRoomRowInts = kRooms * kRoomInts;
constexpr int kUsedInts = kRooms * kRoomRowInts;  // the rest of the array is spare
constexpr int kTilesX = kRooms * kRoomWidth;
constexpr int kTilesY = kRooms * kRoomHeight;
constexpr int kPaths = 3;  // also the number of items: item k lies on path k

// Start of tile (x, y) of room (rx, ry) in World.
constexpr int TileIndex(int rx, int ry, int x, int y) {
  return (ry * kRooms + rx) * kRoomInts + (y * kRoomWidth + x) * kTileInts;
}
// Room index ry * 32 + rx, as objects and the matrix record it.
constexpr int RoomIndex(int rx, int ry) {
  return ry * kRooms + rx;
}
}  // namespace world

// Fields of a tile record.
namespace tile {
constexpr int kCode = 0;
constexpr int kRotation = 1;
constexpr int kRoomX = 5;
constexpr int kRoomY = 6;
constexpr int kHitPoints = 7;
// Path k marks the room in field 9 - k of the room's tile (0, 0).
constexpr int kPathMark = 9;
constexpr int PathMarkField(int path) {
  return kPathMark - path;
}
}  // namespace tile

// Tile codes (field kCode).
namespace code {
constexpr int kEmpty = 0;
constexpr int kLastScenery = 99;  // 1..99 scenery frames of image slot 1
constexpr int kOutside = 42;      // what the accessors read outside the world; never stored
constexpr int kFreeItem = 44;     // + item: an uncovered or dropped item
constexpr int kBlock = 48;
constexpr int kLastBlockFrame = 51;
// Wall sets: base 23, 27, 31 or 35, plus one of the parts below.
constexpr int kFirstWallBase = 23;
constexpr int kWallSetStride = 4;
constexpr int kWallSets = 4;
constexpr int kLastWall = kFirstWallBase + kWallSets * kWallSetStride - 1;
constexpr int kWallCorner = 1, kWallStraight = 2, kWallEndCap = 3;
// The 4 x 4 base: 100..111 open, 112..115 its solid bottom row.
constexpr int kBase = 100;
constexpr int kLastOpenBase = 111;
constexpr int kBaseBottomRow = 112;
constexpr int kLastBaseTile = 115;
constexpr int kLastBase = 199;  // 100..199 are drawn from the base image
// Landing on the pad delivers items; 111 is open and so never stops the ship, which makes the
// range the same as the solid bottom row and beyond.
constexpr int kFirstPad = 111;
constexpr int kLastPad = 119;
// Blocks hiding item k: 200 + 10 k + block frame - 48.
constexpr int kItemBlock = 200;
constexpr int kItemBlockStride = 10;
constexpr int kLastItemBlock = 299;
// Blocks hiding an enemy (300 + kind) or a weapon pickup (300 + pickup code - 400).
constexpr int kHiddenBlock = 300;
constexpr int kLastHiddenBlock = 399;
constexpr int kFirstEnemyBlock = 308;
constexpr int kFirstWeaponBlock = 349;
constexpr int kHiddenToReleased = 100;  // a broken hidden block becomes its code + 100
// Enemies waiting in the map to enter play: 400 + kind.
constexpr int kWaitingEnemy = 400;
constexpr int kLastWaitingEnemy = 447;
constexpr int kBarrier = 412;
// Weapon pickups: 400 + weapon number.
constexpr int kPickupBase = 400;
constexpr int kFirstPickup = 449;
constexpr int kLastPickup = 463;
// Enemies parked when the ship left their room: 500 + kind.
constexpr int kParkedEnemy = 500;
constexpr int kLastParkedEnemy = 599;
}  // namespace code

// ---- Player: the per-level float record ----
namespace player {
constexpr int kX = 1, kY = 2;    // ship position in world pixels
constexpr int kVX = 3, kVY = 4;  // velocity; the ship moves by half of it per update
constexpr int kFacing = 5;       // -1 left, otherwise right
constexpr int kRoomX = 11, kRoomY = 12;
constexpr int kRoomRefX = 13, kRoomRefY = 14;  // reference point of the current room
constexpr int kWeapon = 17, kAmmo = 18;
constexpr int kBackdropRed = 27, kBackdropGreen = 28, kBackdropBlue = 29;  // colour targets
constexpr int kFireCooldown = 31;
constexpr int kSpecialLatch = 32;
constexpr int kRespawnRoomX = 51, kRespawnRoomY = 52;
constexpr int kRespawnX = 53, kRespawnY = 54;
constexpr int kClearedAtStart = 55;  // three entries generation zeroes and nothing reads
constexpr int kClearedAtStartCount = 3;
// Item k's record starts at kItems + k * kItemStride.
constexpr int kItems = 60;
constexpr int kItemStride = 10;
constexpr int kItemState = 0;                  // plus the record start; values below
constexpr int kItemTileX = 1, kItemTileY = 2;  // room * 32 + tile of its hiding place
constexpr int kItemRoomX = 3, kItemRoomY = 4;
constexpr int Item(int item, int field) {
  return kItems + item * kItemStride + field;
}
// Item states, as stored in the float record.
constexpr float kItemInWorld = 0, kItemCarried = 1, kItemDelivered = 2;
constexpr int kOrbitFrames = 101;
constexpr int kOrbitAngle = 102;
constexpr int kOrbitRecord = 103;   // object record start, -1 none
constexpr int kResetEntries = 500;  // entries cleared at every level start
}  // namespace player

// ---- Object pool: 201 records of ten floats ----
namespace object {
constexpr int kRecords = 201;
constexpr int kFloats = 10;
constexpr int kKind = 0;
constexpr int kX = 1, kY = 2;
constexpr int kVX = 3, kVY = 4;
constexpr int kAngle = 5;
constexpr int kSpin = 6;
constexpr int kStrength = 7;
constexpr int kTimer = 8;
constexpr int kRoom = 9;

// Kinds (field kKind); 0 is a free record.
constexpr int kFree = 0;
constexpr int kShot = 1;       // also the Big Lazer's upper row
constexpr int kLowerShot = 2;  // the Big Lazer's lower row
constexpr int kOrbitBall = 3;
constexpr int kLastShot = 7;  // kinds 1..7 hurt enemies
constexpr int kWalker = 8;
constexpr int kChaser = 9;
constexpr int kClockwiseCrawler = 10;
constexpr int kAnticlockwiseCrawler = 11;
constexpr int kBarrier = 12;
constexpr int kFirstEnemy = kWalker;
constexpr int kLastEnemy = 23;      // 13..23 are treated as enemies but never made
constexpr int kLastTrackable = 47;  // the tracker homes on kinds 8..47

// A barrier climbing under a solid tile turns back above this height in its tile, one falling
// onto a solid tile below this one (pixels from the tile's top).
constexpr float kBarrierTurnAbove = 12, kBarrierTurnBelow = 20;
}  // namespace object

// Special weapons: the numbers in Player kWeapon, and the object kinds of 49..52.
namespace weapon {
constexpr int kBomb = 49;
constexpr int kGrenade = 50;
constexpr int kTracker = 51;
constexpr int kTurret = 52;
constexpr int kOrbitBlaster = 53;  // started by its pickup, never held in Player kWeapon
constexpr int kBigLazer = 54;
}  // namespace weapon

// ---- Particle pool: records of ten floats; ParticleCount is the highest in use ----
namespace particle {
constexpr int kFloats = 10;
constexpr int kMaxCount = 499;  // ParticleCount never exceeds this
constexpr int kDefaultCount = 250;
constexpr int kKind = 0;
constexpr int kX = 1, kY = 2;
constexpr int kVX = 3, kVY = 4;
constexpr int kAngle = 5;
constexpr int kSpin = 6;
constexpr int kLife = 7;
constexpr int kColour = 8;
constexpr int kFrame = 9;
}  // namespace particle

// ---- Star field: records of ten floats; StarCount is the highest in use ----
namespace star {
constexpr int kFloats = 10;
constexpr int kMaxCount = 499;
constexpr int kFrame = 0;
constexpr int kX = 1, kY = 2;
constexpr int kDepth = 3;
}  // namespace star

// ---- Draw list: records of 15 floats ----
namespace drawrec {
constexpr int kFloats = 15;
constexpr int kSlot = 0;  // image slot, or one of the shape markers below
constexpr int kX = 1, kY = 2;
constexpr int kRot = 3;
constexpr int kSizeX = 4, kSizeY = 5;  // width/height, radii or the line's end for shapes
constexpr int kFrame = 6;
constexpr int kAlpha = 7;
constexpr int kRed = 10, kGreen = 11, kBlue = 12;
constexpr int kBlend = 13;
constexpr int kUnused = 8;  // 8, 9 and 14 are never written
constexpr float kRectMarker = -3717;
constexpr float kOvalMarker = -3716;
constexpr float kLineMarker = -3715;
}  // namespace drawrec

// ---- ImageInfo: three ints per image slot ----
namespace imageinfo {
constexpr int kInts = 3;
constexpr int kFrameW = 0, kFrameH = 1, kFrames = 2;
constexpr int Index(int slot, int field) {
  return slot * kInts + field;
}
}  // namespace imageinfo

// ---- Matrix: the 3 x 3 tile codes around a point, row by row, and its room ----
namespace matrix {
constexpr int kUpLeft = 1, kUp = 2, kUpRight = 3;
constexpr int kLeft = 4, kCentre = 5, kRight = 6;
constexpr int kDownLeft = 7, kDown = 8, kDownRight = 9;
constexpr int kRoom = 15;
}  // namespace matrix
