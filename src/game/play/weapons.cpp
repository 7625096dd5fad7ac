// The ship's weapons: the main gun, the special weapons thrown into the pool (bomb,
// grenade, tracker, turret), the Big Lazer's volley and the orbiting ball, what each weapon
// does every update, and the damage shots do to blocks.
#include <algorithm>
#include <climits>
#include <cmath>

#include "base/angles.h"
#include "base/random.h"
#include "game/core/records.h"
#include "game/frame/sound_table.h"
#include "game/play/level.h"

using namespace object;

namespace {

constexpr int kPoolFloats = kRecords * kFloats;

constexpr float kGunInterval = 15;  // updates between shots while fire is held
constexpr float kGunSpeed = 8;
constexpr float kGunSpin = 8;  // shots spin at up to this many degrees a frame either way
constexpr float kGunDamage = 1;

constexpr float kThrowSpeed = 4;
constexpr float kGrenadeThrow = 1.5f, kGrenadeLift = -2, kGrenadeGravity = 0.2f;
constexpr float kFuse = 90, kTrackerFuse = 180;

constexpr int kLazerColumns = 16, kLazerRows = 2;
constexpr float kLazerColumnGap = 4, kLazerRowGap = 32, kLazerTop = -16;
constexpr float kLazerSpeed = 12, kLazerDamage = 6;

// The bomb and grenade spin up as their fuse runs down.
constexpr float kSpinUpFuse = 120, kSpinUpRate = 12;
// The bomb bursts at fuse 12 and 0.
constexpr float kBombBurstBelow = 20, kBombBurstEvery = 12;
constexpr float kFullTurn = 360;
constexpr float kTurnRate = 8;  // tracker and turret, degrees a frame
constexpr float kTrackerReach = 15, kTrackerBite = 3;
constexpr float kTrackerBase = 0.4f, kTrackerRange = 0.1f, kTrackerTopSpeed = 6;
constexpr float kTurretEvery = 8;
constexpr float kTurretReach = 12, kTurretSpeed = 12, kTurretDamage = 6;

constexpr float kOrbitFrames = 450, kOrbitStep = 8, kOrbitRadius = 64, kOrbitDamage = 2;
constexpr int kOrbitSparkKind = 3, kLastOrbitSparkColour = 9;

constexpr int kBlockHitScore = 5, kBlockBreakScore = 10;
constexpr int kBreakSparks = 8;
constexpr int kBreakSparkColour = 3;

constexpr float kTrackerHitVolume = 0.3f;

float Facing(float facing) {
  return facing == -1 ? -1.0f : 1.0f;
}

// What a broken block leaves: a hidden item lies free, a hidden enemy or pickup comes out.
int ReleasedCode(int code) {
  if (code >= code::kItemBlock && code <= code::kLastItemBlock)
    return code::kFreeItem + (code - code::kItemBlock) / code::kItemBlockStride;
  if (code >= code::kHiddenBlock && code <= code::kLastHiddenBlock)
    return code + code::kHiddenToReleased;
  return code::kEmpty;
}

}  // namespace

void Level::FireWeapons() {
  FireMainGun();
  FireSpecial();
}

bool Level::MayFire() const {
  return controls.KeyLatch == 0 && play.ExitState == 0 && play.LevelIntro == 0;
}

// One shot at once, then one every 15 updates while fire is held.
void Level::FireMainGun() {
  const bool held = io.PlayKey(kGameA, 1, 0) != 0;
  float& cooldown = play.Player[player::kFireCooldown];
  cooldown = held ? cooldown - 1 : -1;
  if (!held || !(cooldown < 1) || !MayFire()) return;
  const int start = FreeSlot();
  if (start < 0) return;
  cooldown = kGunInterval;
  io.PlaySFX(sfx::kGun);
  const float spin = static_cast<float>(Rand(-kGunSpin, kGunSpin));
  PlaceObject(start, {.kind = kShot,
                      .x = play.Player[player::kX],
                      .y = play.Player[player::kY],
                      .vx = kGunSpeed * Facing(play.Player[player::kFacing]),
                      .spin = spin,
                      .strength = kGunDamage});
}

// One action per press of the special-fire key.
void Level::FireSpecial() {
  float& latch = play.Player[player::kSpecialLatch];
  if (!io.PlayKey(kGameB, 1, 0)) {
    latch = 0;
    return;
  }
  if (latch != 0 || !MayFire()) return;
  latch = 1;
  const int held = Truncate(play.Player[player::kWeapon]);
  if (held == weapon::kBigLazer) FireBigLazer();
  if (held >= weapon::kBomb && held <= weapon::kTurret) LaunchWeapon(held);
}

void Level::LaunchWeapon(int kind) {
  float& ammo = play.Player[player::kAmmo];
  if (!(ammo > 0)) return;
  const int start = FreeSlot();
  if (start <= 0) return;
  ammo -= 1;
  io.PlaySFX(sfx::WeaponFire(kind));
  NewObject thrown{.kind = kind,
                   .x = play.Player[player::kX],
                   .y = play.Player[player::kY],
                   .vx = kThrowSpeed * Facing(play.Player[player::kFacing]),
                   .timer = kFuse};
  if (kind == weapon::kGrenade) {
    thrown.vx *= kGrenadeThrow;
    thrown.vy = kGrenadeLift;
  } else {
    thrown.vx = 0;  // the others stay where they are put
  }
  if (kind == weapon::kTracker) thrown.timer = kTrackerFuse;
  PlaceObject(start, thrown);
}

// Two rows of shots from the ship, spread along its facing; the ammunition is spent even
// when the pool has no room for them.
void Level::FireBigLazer() {
  float& ammo = play.Player[player::kAmmo];
  if (!(ammo > 0)) return;
  ammo -= 1;
  io.PlaySFX(sfx::WeaponFire(weapon::kBigLazer));
  const float facing = play.Player[player::kFacing];
  for (int column = 0; column < kLazerColumns; ++column) {
    for (int row = 0; row < kLazerRows; ++row) {
      const int start = FreeSlot();
      if (start <= 0) continue;
      PlaceObject(start, {.kind = kShot + row,
                          .x = play.Player[player::kX] + kLazerColumnGap * column * facing,
                          .y = play.Player[player::kY] + kLazerTop + kLazerRowGap * row,
                          .vx = kLazerSpeed * Facing(facing),
                          .strength = kLazerDamage,
                          .timer = kFuse});
    }
  }
}

bool Level::UpdateWeapon(float* thrown, int kind) {
  switch (kind) {
    case weapon::kBomb:
      UpdateBomb(thrown);
      break;
    case weapon::kGrenade:
      UpdateGrenade(thrown);
      break;
    case weapon::kTracker:
      UpdateTracker(thrown);
      break;
    default:
      UpdateTurret(thrown);
      break;
  }
  if (thrown[kTimer] < 1) thrown[kKind] = kFree;
  return thrown[kKind] != kFree;
}

void Level::UpdateBomb(float* bomb) {
  constexpr Ring kBombRing{.shots = 8, .radius = 24, .speed = 8, .strength = 3};
  bomb[kAngle] += (kSpinUpFuse - bomb[kTimer]) / kSpinUpRate;
  const float fuse = std::floor(bomb[kTimer]);
  if (bomb[kTimer] < kBombBurstBelow && std::fmod(fuse, kBombBurstEvery) == 0)
    FireRing(bomb, kBombRing);
}

// Falls in an arc and bursts when it runs into something solid or its fuse ends.
void Level::UpdateGrenade(float* grenade) {
  constexpr Ring kGrenadeRing{.shots = 16, .radius = 24, .speed = 6, .strength = 2};
  grenade[kAngle] += (kSpinUpFuse - grenade[kTimer]) / kSpinUpRate;
  grenade[kVY] += kGrenadeGravity;
  if (WorldMap::isSolid(world.Matrix[matrix::kCentre])) grenade[kTimer] = 0;
  if (grenade[kTimer] < 1) FireRing(grenade, kGrenadeRing);
}

// Bites every enemy it touches and homes on the last one in the pool; it bursts on a bite.
void Level::UpdateTracker(float* tracker) {
  constexpr Ring kTrackerRing{.shots = 4, .radius = 20, .speed = 10, .strength = 1};
  tracker[kAngle] += kTurnRate;
  int target = -1;
  bool bit = false;
  for (int start = 0; start < kPoolFloats; start += kFloats) {
    float* other = &play.Objects[start];
    const int kind = Truncate(other[kKind]);
    if (kind < kFirstEnemy || kind > kLastTrackable) continue;
    target = start;
    if (!Near(other, tracker[kX], tracker[kY], kTrackerReach)) continue;
    other[kStrength] -= kTrackerBite;
    tracker[kTimer] = 0;
    bit = true;
  }
  // Record 0 is never an enemy's, so it does not count as a target.
  if (target > 0) {
    SteerToward(tracker[kVX], tracker[kX], play.Objects[target + kX], kTrackerBase, kTrackerRange);
    SteerToward(tracker[kVY], tracker[kY], play.Objects[target + kY], kTrackerBase, kTrackerRange);
    tracker[kVX] = std::clamp(tracker[kVX], -kTrackerTopSpeed, kTrackerTopSpeed);
    tracker[kVY] = std::clamp(tracker[kVY], -kTrackerTopSpeed, kTrackerTopSpeed);
  }
  if (bit) io.PlaySFX(sfx::kTrackerHit, 1.0f, kTrackerHitVolume);
  if (tracker[kTimer] < 1) FireRing(tracker, kTrackerRing);
}

// Turns on the spot, firing along its angle every eighth update of its fuse.
void Level::UpdateTurret(float* turret) {
  turret[kAngle] += kTurnRate;
  if (std::fmod(std::floor(turret[kTimer]), kTurretEvery) != 0 || FreeSlot() < 0) return;
  io.PlaySFX(sfx::kTurretShot);
  FireShot(turret[kX], turret[kY], turret[kAngle], kTurretReach, kTurretSpeed, kTurretDamage);
}

void Level::FireRing(const float* from, const Ring& ring) {
  for (int i = 0; i < ring.shots; ++i) {
    const float angle = kFullTurn * static_cast<float>(i) / static_cast<float>(ring.shots);
    FireShot(from[kX], from[kY], angle, ring.radius, ring.speed, ring.strength);
  }
}

void Level::FireShot(float x, float y, float angle, float radius, float speed, float strength) {
  const int start = FreeSlot();
  if (start < 0) return;
  const float sin = SinDeg(angle), cos = CosDeg(angle);
  const float spin = static_cast<float>(Rand(-kGunSpin, kGunSpin));
  PlaceObject(start, {.kind = kShot,
                      .x = x + radius * sin,
                      .y = y - radius * cos,
                      .vx = speed * sin,
                      .vy = -speed * cos,
                      .spin = spin,
                      .strength = strength});
}

int Level::OrbitRecord() const {
  const float record = play.Player[player::kOrbitRecord];
  if (!(record >= 0 && record < kPoolFloats)) return -1;
  const int start = static_cast<int>(record);
  return start == record && start % kFloats == 0 ? start : -1;
}

void Level::StartOrbitBlaster() {
  const int start = FreeSlot();
  if (start < 0) return;
  play.Player[player::kOrbitAngle] = 0;
  play.Player[player::kOrbitFrames] = kOrbitFrames;
  if (OrbitRecord() < 0) play.Player[player::kOrbitRecord] = static_cast<float>(start);
}

// The ball's record is freed whenever it hits something, and another object may take it
// before the next rebuild; that object is kept and the ball moves to a free record.
int Level::BallRecord() {
  int start = OrbitRecord();
  if (start >= 0) {
    const float kind = play.Objects[start + kKind];
    if (kind == kFree || kind == kOrbitBall) return start;
  }
  start = FreeSlot();
  if (start >= 0) play.Player[player::kOrbitRecord] = static_cast<float>(start);
  return start;
}

void Level::UpdateOrbitBlaster() {
  float& frames = play.Player[player::kOrbitFrames];
  if (play.ExitState != 0 || !(frames > 0)) {
    StopOrbitBlaster();
    return;
  }
  frames -= 1;
  const float angle = play.Player[player::kOrbitAngle] += kOrbitStep;
  const int start = BallRecord();
  if (start >= 0) {
    const float x = play.Player[player::kX] + kOrbitRadius * SinDeg(angle);
    const float y = play.Player[player::kY] - kOrbitRadius * CosDeg(angle);
    PlaceObject(start,
                {.kind = kOrbitBall, .x = x, .y = y, .angle = angle, .strength = kOrbitDamage});
    const int colour = Rand(0, kLastOrbitSparkColour);
    play.ThrowParticle(x, y, kOrbitSparkKind, colour, kNoArg, 0);
  }
  if (frames < 1) StopOrbitBlaster();
}

// Also while the ship is destroyed, and once the blaster has been stopped from outside (play
// stops it when the ship is destroyed): a ball left behind goes rather than staying in the
// room as a mine.
void Level::StopOrbitBlaster() {
  play.Player[player::kOrbitFrames] = 0;
  const int start = OrbitRecord();
  if (start >= 0 && play.Objects[start + kKind] == kOrbitBall) play.Objects[start + kKind] = kFree;
  play.Player[player::kOrbitRecord] = -1;
}

int Level::BreakableTile(int x, int y) const {
  if (x < 0 || y < 0) return -1;
  const auto tx = static_cast<int>(static_cast<float>(x) / world.TileSize);
  const auto ty = static_cast<int>(static_cast<float>(y) / world.TileSize);
  if (tx >= world::kTilesX || ty >= world::kTilesY) return -1;
  const int col = tx % world::kRoomWidth, row = ty % world::kRoomHeight;
  // The room's top row and left column are its walls and doorways, never blocks.
  if (col == 0 || row == 0) return -1;
  return world::TileIndex(tx / world::kRoomWidth, ty / world::kRoomHeight, col, row);
}

void Level::ShootShit(int x, int y, int damage) {
  const int index = BreakableTile(x, y);
  if (index < 0 || world.Tiles[index + tile::kHitPoints] <= 0) return;
  int& hitPoints = world.Tiles[index + tile::kHitPoints];
  play.Score += kBlockHitScore;
  hitPoints = static_cast<int>(std::clamp(static_cast<long long>(hitPoints) - damage,
                                          static_cast<long long>(INT_MIN),
                                          static_cast<long long>(INT_MAX)));
  if (hitPoints >= 1) return;
  play.Score += kBlockBreakScore;
  const float rate = RandomRate();
  io.PlaySFX(Rand(0, sfx::kBreaks - 1) + sfx::kFirstBreak, rate);
  for (int i = 0; i < kBreakSparks; ++i) {
    const double speed = 6 + 4 * Rnd();
    const double angle = 360 * Rnd();
    const auto kind = static_cast<int>(std::floor(1 + 1.99 * Rnd()));
    play.ThrowParticle(static_cast<float>(x), static_cast<float>(y), kind, kBreakSparkColour,
                       static_cast<float>(angle), static_cast<float>(speed));
  }
  world.Tiles[index + tile::kCode] = ReleasedCode(world.Tiles[index + tile::kCode]);
}
