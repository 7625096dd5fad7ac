// The object pool: the ship's shots, the special weapons, the orbiting ball and the enemies
// are records of ten floats in one fixed array. Only the current room's objects exist: the
// update moves, draws and resolves each of them, and enemies the ship leaves behind wait in
// the map until their room is current again.
#include <algorithm>
#include <climits>
#include <cmath>

#include "base/random.h"
#include "game/core/globals.h"
#include "game/core/records.h"
#include "game/frame/asset_table.h"
#include "game/frame/sound_table.h"
#include "game/play/level.h"

using namespace object;

namespace {

constexpr int kPoolFloats = kRecords * kFloats;

constexpr float kEnemyStrength = 3;
constexpr float kEntryWarmUp = 30;     // enemies added on room entry
constexpr float kReleasedWarmUp = 60;  // enemies waiting in the map, e.g. out of a block
constexpr float kParkedWarmUp = 5;     // enemies coming back to a room
// Room entry keeps enemies at least this far from the ship in both axes.
constexpr float kShipClearance = 96;
// Misses the ship's surroundings with near certainty; a ship position that no place can
// satisfy (not finite) gives up instead of looping forever.
constexpr int kPlacementTries = 1000;
// Room entry places enemies this far in from the room's corner, plus up to the span.
constexpr double kPlacementMargin = 32, kPlacementSpanX = 416.99, kPlacementSpanY = 288.99;
// Barriers move up and down at 3 + u, or 3 + 3 u when coming back from the map.
constexpr double kBarrierBaseSpeed = 3;
constexpr int kBarrierTurnChance = 5;  // out of 10: starts upward

constexpr float kHitReach = 0.75f;  // of a tile: shots this close in both axes hit an enemy
constexpr int kHitScore = 10, kWarmUpHitScore = 5;
constexpr int kHitSparks = 3, kDeathSparks = 5, kPuffSparks = 3;
constexpr float kSparkSpeed = 3;
constexpr int kFirstSparkColour = 3, kLastSparkColour = 6;
constexpr float kContactReach = 24;

constexpr float kWalkSpeed = 2;
constexpr float kChaseBase = 0.01f, kChaseRange = 0.04f, kChaseTopSpeed = 2, kChaseSpinEase = 16;
constexpr float kCrawlTurn = 30, kHeadingTolerance = 10;
constexpr float kFullTurn = 360;
// A crawler turns until it faces one of these, then moves that way at 2 (clockwise) or the
// opposite way (anticlockwise).
constexpr struct {
  float angle, vx, vy;
} kCrawlHeadings[] = {{0, 2, 0}, {90, 0, 2}, {180, -2, 0}, {270, 0, -2}};
// Barriers turn this close to the wall they approach, in pixels into their tile, and can
// never be worn down.
constexpr float kBarrierStrength = 100;

bool IsEnemy(int kind) {
  return kind >= kFirstEnemy && kind <= kLastEnemy;
}

bool IsShot(int kind) {
  return kind >= kShot && kind <= kLastShot;
}

bool IsWeapon(int kind) {
  return kind >= weapon::kBomb && kind <= weapon::kTurret;
}

}  // namespace

bool Level::Near(const float* object, float x, float y, float reach) {
  return std::abs(object[kX] - x) < reach && std::abs(object[kY] - y) < reach;
}

int Level::Truncate(float value) {
  if (std::isnan(value)) return 0;
  if (value >= static_cast<float>(INT_MAX)) return INT_MAX;
  if (value <= static_cast<float>(INT_MIN)) return INT_MIN;
  return static_cast<int>(value);
}

int Level::CurrentRoom() const {
  const float rx = play.Player[player::kRoomX], ry = play.Player[player::kRoomY];
  if (!(rx >= 0 && rx < world::kRooms && ry >= 0 && ry < world::kRooms)) return -1;
  return world::RoomIndex(static_cast<int>(rx), static_cast<int>(ry));
}

int Level::FreeSlot() {
  for (int start = kPoolFloats - kFloats; start >= 0; start -= kFloats)
    if (play.Objects[start + kKind] == kFree) return start;
  return -1;
}

void Level::PlaceObject(int start, const NewObject& object) {
  float* record = &play.Objects[start];
  record[kKind] = static_cast<float>(object.kind);
  record[kX] = object.x;
  record[kY] = object.y;
  record[kVX] = object.vx;
  record[kVY] = object.vy;
  record[kAngle] = object.angle;
  record[kSpin] = object.spin;
  record[kStrength] = object.strength;
  record[kTimer] = object.timer;
  record[kRoom] = static_cast<float>(CurrentRoom());
}

// The map is left alone here: the tile the ship entered over may hold a loose item or a
// pickup, and emptying it would lose that item for good.
void Level::AddABad(int rx, int ry) {
  if (rx < 0 || rx >= world::kRooms || ry < 0 || ry >= world::kRooms) return;
  const int start = FreeSlot();
  if (start <= 0) return;
  int kind = Rand(1, world.MaxBads) + kFirstEnemy - 1;
  // Barriers belong to corridors; room entry sends a chaser instead.
  if (kind == kBarrier) kind = kChaser;
  const double left = world::kRoomWidth * world.TileSize * rx + kPlacementMargin;
  const double top = world::kRoomHeight * world.TileSize * ry + kPlacementMargin;
  for (int tries = 0; tries < kPlacementTries; ++tries) {
    const auto x = static_cast<float>(left + std::floor(kPlacementSpanX * Rnd()));
    const auto y = static_cast<float>(top + std::floor(kPlacementSpanY * Rnd()));
    if (std::abs(x - play.Player[player::kX]) >= kShipClearance &&
        std::abs(y - play.Player[player::kY]) >= kShipClearance) {
      PlaceObject(
          start, {.kind = kind, .x = x, .y = y, .strength = kEnemyStrength, .timer = kEntryWarmUp});
      return;
    }
  }
}

bool Level::HandOverEnemy(int code, float x, float y) {
  const bool waiting = code >= code::kWaitingEnemy && code <= code::kLastWaitingEnemy;
  const bool parked = code >= code::kParkedEnemy && code <= code::kLastParkedEnemy;
  if (!waiting && !parked) return false;
  const int start = FreeSlot();
  if (start <= 0) return false;
  NewObject enemy{.kind = code - (parked ? code::kParkedEnemy : code::kWaitingEnemy),
                  .x = x,
                  .y = y,
                  .strength = kEnemyStrength,
                  .timer = parked ? kParkedWarmUp : kReleasedWarmUp};
  if (enemy.kind == kBarrier) {
    // A barrier coming back from the map moves faster.
    const double spread = code == code::kParkedEnemy + kBarrier ? 3 : 1;
    enemy.timer = 0;
    enemy.vy = static_cast<float>(kBarrierBaseSpeed + spread * Rnd());
    if (10 * Rnd() < kBarrierTurnChance)
      enemy.vy = static_cast<float>(-(kBarrierBaseSpeed + spread * Rnd()));
  }
  PlaceObject(start, enemy);
  return true;
}

void Level::UpdateObjects() {
  for (int start = 0; start < kPoolFloats; start += kFloats)
    if (play.Objects[start + kKind] > kFree) UpdateObject(start);
}

// One object's update, in a fixed order; an object freed on the way takes no further part.
void Level::UpdateObject(int start) {
  float* object = &play.Objects[start];
  object[kX] += object[kVX];
  object[kY] += object[kVY];
  object[kAngle] = std::fmod(object[kAngle] + object[kSpin], kFullTurn);
  world.GetMatrixInRoom(object[kX], object[kY], play.Player[player::kRoomX],
                        play.Player[player::kRoomY]);
  const int kind = Truncate(object[kKind]);
  const bool crawler = kind == kClockwiseCrawler || kind == kAnticlockwiseCrawler;
  frame.SetSize(object[kVX] < 0 && !crawler ? -1.0f : 1.0f, 1.0f);
  frame.SetRot(object[kAngle]);
  if (IsWeapon(kind) && !UpdateWeapon(object, kind)) return;
  frame.DrawImg(kSpriteSlot, object[kX] - play.CamX, object[kY] - play.CamY, kind);
  if (object[kTimer] > 0) object[kTimer] -= 1;
  if (IsEnemy(kind)) {
    if (!TakeHits(start)) return;
    MoveEnemy(object, kind);
    TouchShip(object);
  }
  if (LeaveRoom(object, kind)) return;
  if (IsShot(kind)) StrikeTiles(object, kind);
}

float Level::RandomRate() {
  return static_cast<float>(0.7 + 0.6 * Rnd());
}

void Level::ThrowSparks(float x, float y, int count) {
  for (int i = 0; i < count; ++i) {
    const int kind = Rand(1, 2);
    const int colour = Rand(kFirstSparkColour, kLastSparkColour);
    play.ThrowParticle(x, y, kind, colour, kNoArg, kSparkSpeed);
  }
}

bool Level::TakeHits(int start) {
  float* enemy = &play.Objects[start];
  const bool barrier = Truncate(enemy[kKind]) == kBarrier;
  for (int j = 0; j < kPoolFloats && enemy[kStrength] > 0; j += kFloats) {
    float* shot = &play.Objects[j];
    // Kinds 1..7 tested on the float itself: this scan runs 201 times per enemy.
    const float kind = shot[kKind];
    if (!(kind >= kShot && kind < kLastShot + 1)) continue;
    if (!Near(shot, enemy[kX], enemy[kY], kHitReach * world.TileSize)) continue;
    shot[kKind] = kFree;
    if (enemy[kTimer] < 1) {
      if (!barrier) enemy[kStrength] -= static_cast<float>(std::max(1, Truncate(shot[kStrength])));
      play.Score += kHitScore;
    } else {
      play.Score += kWarmUpHitScore;
    }
    ThrowSparks(shot[kX], shot[kY], kHitSparks);
    io.PlaySFX(sfx::kShotHit, RandomRate());
  }
  if (enemy[kStrength] >= 1) return true;
  const int sound = Rand(0, sfx::kBreaks - 1) + sfx::kFirstBreak;
  io.PlaySFX(sound, RandomRate());
  enemy[kKind] = kFree;
  ThrowSparks(enemy[kX], enemy[kY], kDeathSparks);
  return false;
}

void Level::SteerToward(float& velocity, float from, float to, float base, float range) {
  if (to == from) return;
  const auto step = static_cast<float>(base + range * Rnd());
  velocity += to > from ? step : -step;
}

// A solid tile in the direction of motion, from the Matrix around the object.
bool Level::BlockedAcross(const float* object) const {
  return (object[kVX] < 0 && WorldMap::isSolid(world.Matrix[matrix::kLeft])) ||
         (object[kVX] > 0 && WorldMap::isSolid(world.Matrix[matrix::kRight]));
}

bool Level::BlockedDown(const float* object) const {
  return (object[kVY] < 0 && WorldMap::isSolid(world.Matrix[matrix::kUp])) ||
         (object[kVY] > 0 && WorldMap::isSolid(world.Matrix[matrix::kDown]));
}

void Level::MoveEnemy(float* enemy, int kind) {
  switch (kind) {
    case kWalker:
      Walk(enemy);
      break;
    case kChaser:
      Chase(enemy);
      break;
    case kClockwiseCrawler:
      Crawl(enemy, 1);
      break;
    case kAnticlockwiseCrawler:
      Crawl(enemy, -1);
      break;
    case kBarrier:
      Patrol(enemy);
      break;
    default:
      break;
  }
}

// Picks one of four directions when standing after its warm-up; stops at walls.
void Level::Walk(float* enemy) {
  if (enemy[kVX] == 0 && enemy[kVY] == 0 && enemy[kTimer] < 1) {
    switch (Rand(1, 4)) {
      case 1:
        enemy[kVY] = -kWalkSpeed;
        break;
      case 2:
        enemy[kVX] = kWalkSpeed;
        break;
      case 3:
        enemy[kVY] = kWalkSpeed;
        break;
      default:
        enemy[kVX] = -kWalkSpeed;
        break;
    }
  }
  if (BlockedAcross(enemy) || BlockedDown(enemy)) enemy[kVX] = enemy[kVY] = 0;
}

// Accelerates toward the ship after its warm-up, spinning with its speed; bounces off walls.
void Level::Chase(float* enemy) {
  if (enemy[kTimer] < 1) {
    SteerToward(enemy[kVX], enemy[kX], play.Player[player::kX], kChaseBase, kChaseRange);
    SteerToward(enemy[kVY], enemy[kY], play.Player[player::kY], kChaseBase, kChaseRange);
    enemy[kSpin] += (enemy[kVX] + enemy[kVY] - enemy[kSpin]) / kChaseSpinEase;
    enemy[kVX] = std::clamp(enemy[kVX], -kChaseTopSpeed, kChaseTopSpeed);
    enemy[kVY] = std::clamp(enemy[kVY], -kChaseTopSpeed, kChaseTopSpeed);
  }
  if (BlockedAcross(enemy)) enemy[kVX] = -enemy[kVX];
  if (BlockedDown(enemy)) enemy[kVY] = -enemy[kVY];
}

// Turns by 30 degrees a frame while standing (turn 1 clockwise, -1 anticlockwise) until it
// faces one of the four directions, then crawls that way; a wall ahead sends it back a step.
void Level::Crawl(float* enemy, int turn) {
  if (enemy[kVX] == 0 && enemy[kVY] == 0) {
    float& angle = enemy[kAngle];
    angle += kCrawlTurn * static_cast<float>(turn);
    if (turn > 0 && angle > kFullTurn - kHeadingTolerance) angle = 0;
    if (turn < 0 && angle < 0) angle = kFullTurn - kCrawlTurn;
    for (const auto& heading : kCrawlHeadings) {
      if (std::abs(angle - heading.angle) > kHeadingTolerance) continue;
      enemy[kVX] = heading.vx * static_cast<float>(turn);
      enemy[kVY] = heading.vy * static_cast<float>(turn);
    }
  }
  if (BlockedAcross(enemy)) {
    enemy[kX] -= enemy[kVX];
    enemy[kVX] = enemy[kVY] = 0;
  }
  if (BlockedDown(enemy)) {
    enemy[kY] -= enemy[kVY];
    enemy[kVX] = enemy[kVY] = 0;
  }
}

// Moves up and down, turning short of the walls above and below.
void Level::Patrol(float* barrier) {
  const float inTile = std::fmod(barrier[kY], world.TileSize);
  if (WorldMap::isSolid(world.Matrix[matrix::kUp]) && barrier[kVY] < 0 &&
      inTile < object::kBarrierTurnAbove) {
    barrier[kVX] = 0;
    barrier[kVY] = std::abs(barrier[kVY]);
  }
  if (WorldMap::isSolid(world.Matrix[matrix::kDown]) && barrier[kVY] > 0 &&
      inTile > object::kBarrierTurnBelow) {
    barrier[kVX] = 0;
    barrier[kVY] = -std::abs(barrier[kVY]);
  }
  barrier[kStrength] = kBarrierStrength;
}

void Level::TouchShip(const float* enemy) {
  if (play.ExitState != 0 ||
      !Near(enemy, play.Player[player::kX], play.Player[player::kY], kContactReach))
    return;
  play.ExitState = 1;
  io.PlaySFX(sfx::kShipDestroyed);
}

bool Level::LeaveRoom(float* object, int kind) {
  if (object[kRoom] == static_cast<float>(CurrentRoom())) return false;
  if (kind < kFirstEnemy) ThrowSparks(object[kX], object[kY], kPuffSparks);
  if (IsEnemy(kind) && world.CodeAtPixel(object[kX], object[kY]) == code::kEmpty)
    world.PutAt(object[kX], object[kY], code::kParkedEnemy + kind);
  object[kKind] = kFree;
  return true;
}

// A shot in a solid tile, or one that left its room, damages the tile and is spent. The
// orbiting ball does the same, but makes its sound only when it broke the tile open.
void Level::StrikeTiles(float* shot, int kind) {
  const bool solid = WorldMap::isSolid(world.Matrix[matrix::kCentre]);
  if (!solid && static_cast<float>(world.Matrix[matrix::kRoom]) == shot[kRoom]) return;
  ShootShit(Truncate(shot[kX]), Truncate(shot[kY]), Truncate(shot[kStrength]));
  if (kind != kOrbitBall || world.CodeAtPixel(shot[kX], shot[kY]) == code::kEmpty) {
    io.PlaySFX(sfx::kShotHit, RandomRate());
    ThrowSparks(shot[kX], shot[kY], kPuffSparks);
  }
  shot[kKind] = kFree;
}
