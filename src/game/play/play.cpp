// The gameplay loop: one update of a level in play, with the ship, the camera and the HUD.
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <span>

#include "base/angles.h"
#include "base/random.h"
#include "game/core/app.h"
#include "game/core/flight.h"
#include "game/core/globals.h"
#include "game/core/records.h"
#include "game/frame/asset_table.h"
#include "game/frame/sound_table.h"
#include "game/play/level.h"

namespace {
using world::kRoomHeight;
using world::kRoomWidth;

// The ship starts each level with this weapon and ammunition, on this tile of the start room,
// the view showing the room from this tile row.
constexpr int kStartWeapon = 50, kStartAmmo = 4;
constexpr int kStartTileX = 8, kStartTileY = 7, kStartViewTileY = 5;

constexpr float kStarDrift = 0.4f;
// The camera closes a quarter of the gap each update, and jumps once the step would be small.
constexpr float kGlideShare = 4, kGlideSnap = 4;
constexpr float kHudBand = 64, kHudTop = 48;
constexpr float kFirstLevelRoom = 1, kLastLevelRoom = 30;

// Enemies that may meet the ship in each room it enters, by level band.
constexpr int kCalmLevels = 21, kBusyLevels = 41;

// Intro: particles swirl in around the ship, then burst outward as it appears.
constexpr int kSwirlUntil = 16;
constexpr int kBurstAt = 3;
constexpr float kSwirlRadius = 200;
constexpr int kSwirlArms = 3;
constexpr int kSwirlSpacing = 120;
constexpr int kSwirlSlowdown = 3;
constexpr float kSwirlSpeed = 2;
constexpr int kSwirlColour = 4;
constexpr double kBurstBase = 1.4, kBurstRange = 0.4;
constexpr int kFirstBurstColour = 4, kLastBurstColour = 6;
const char* const kTunes[] = {"Robust", "Trying", "Unknown", "Versatile", "Xeroxed"};
constexpr int kTuneCount = 5;

// Take-off and destruction.
constexpr float kLiftAcceleration = 0.25f;
constexpr float kExhaustWobble = 0.5f;
constexpr double kExhaustSpeedBase = 3, kExhaustSpeedRange = 5;
constexpr double kPadSparkSpeedBase = 2, kPadSparkSpeedRange = 4;
constexpr int kFirstExhaustColour = 3, kLastExhaustColour = 5;
constexpr int kTakeOffEnd = -91;
constexpr int kWreckEnd = 61;
constexpr float kDebrisSwing = 90;
constexpr float kDebrisSpeed = 3;
constexpr int kFirstDebrisColour = 1, kLastDebrisColour = 2;
constexpr int kFirstMixedKind = 1, kLastMixedKind = 2;
constexpr int kSparkKind = 1;

constexpr float kFacingStick = 0.25f;

// Scoring and sounds.
constexpr int kDeliveryScore = 50;
constexpr int kTakeOffScore = 250;
constexpr int kScoreChase = 6;
constexpr int kScoreSnap = 5;

// HUD.
constexpr int kBandLayers = 5;
constexpr float kHudAlpha = 0.8f, kHudDimAlpha = 0.3f, kWeaponNameAlpha = 0.75f;
constexpr float kFirstWeapon = 49;
const char* const kWeaponNames[] = {"Bomb",   "Grenade",       "Tracker",
                                    "Turret", "Orbit Blaster", "Big Lazer"};
constexpr float kItemBarX = 64, kItemBarGap = 8, kItemBarWidth = 4;
// The colour-blind marks sit in a row under the bars, wider apart than the bars so that they
// do not touch, centred on the middle bar.
constexpr float kItemMarkSize = 0.75f, kItemMarkGap = 12, kItemMarkY = 34;

struct Rgb {
  float red, green, blue;
};
// Per item: lying in the world, carried, delivered.
constexpr Rgb kItemColours[world::kPaths][3] = {
    {{100, 0, 0}, {200, 0, 0}, {255, 100, 100}},
    {{0, 100, 0}, {0, 200, 0}, {100, 255, 100}},
    {{0, 50, 100}, {0, 100, 200}, {100, 200, 255}},
};

float GlideStep(float gap) {
  const float step = gap / kGlideShare;
  return std::fabs(step) >= kGlideSnap ? step : gap;
}

bool IsLevelRoom(float room) {
  return room >= kFirstLevelRoom && room <= kLastLevelRoom;
}

int EntryEnemyLimit(int level) {
  if (level < kCalmLevels) return 1;
  return level < kBusyLevels ? 2 : 3;
}

// Degrees of the game clock, kept small so that float sines stay exact.
float ClockDegrees() {
  return static_cast<float>(Millisecs() % 360);
}

// The global tile under a pixel; false outside the world, also for NaN and infinite pixels.
bool TileAt(float x, float y, float tileSize, int& tx, int& ty) {
  const float fx = x / tileSize, fy = y / tileSize;
  if (!(fx >= 0 && fx < world::kTilesX && fy >= 0 && fy < world::kTilesY)) return false;
  tx = static_cast<int>(fx);
  ty = static_cast<int>(fy);
  return true;
}

int GlobalTileIndex(int tx, int ty) {
  return world::TileIndex(tx / kRoomWidth, ty / kRoomHeight, tx % kRoomWidth, ty % kRoomHeight);
}

float ItemState(const Level& app, int item) {
  return app.play.Player[player::Item(item, player::kItemState)];
}

void SetItemState(Level& app, int item, float state) {
  app.play.Player[player::Item(item, player::kItemState)] = state;
}

// ---- Dropping carried items ----

// The tiles a drop near (tx, ty) may use: within two tiles, off the room's walls.
struct DropWindow {
  int rx, ry, left, right, top, bottom;
};

DropWindow WindowAround(int tx, int ty) {
  constexpr int kReach = 2;
  const int x = tx % kRoomWidth, y = ty % kRoomHeight;
  return {tx / kRoomWidth,
          ty / kRoomHeight,
          std::clamp(x - kReach, 1, kRoomWidth - 2),
          std::clamp(x + kReach, 1, kRoomWidth - 2),
          std::clamp(y - kReach, 1, kRoomHeight - 2),
          std::clamp(y + kReach, 1, kRoomHeight - 2)};
}

// Drops near the wreck the usual way. PutAround writes over an occupied tile when its tries
// find no empty one, which would destroy what lay there; such a write is undone and refused.
bool DropNear(Level& app, float x, float y, int tx, int ty, int code) {
  const DropWindow w = WindowAround(tx, ty);
  constexpr int kWindowTiles = 25;
  std::array<int, kWindowTiles> before{};
  int n = 0, empty = 0;
  for (int wy = w.top; wy <= w.bottom; ++wy) {
    for (int wx = w.left; wx <= w.right; ++wx, ++n) {
      before[n] = app.world.Tiles[world::TileIndex(w.rx, w.ry, wx, wy)];
      if (before[n] == code::kEmpty) ++empty;
    }
  }
  if (empty == 0) return false;
  app.world.PutAround(x, y, code);
  n = 0;
  for (int wy = w.top; wy <= w.bottom; ++wy) {
    for (int wx = w.left; wx <= w.right; ++wx, ++n) {
      int& tile = app.world.Tiles[world::TileIndex(w.rx, w.ry, wx, wy)];
      if (tile == before[n]) continue;
      if (before[n] == code::kEmpty) return true;
      tile = before[n];
      return false;
    }
  }
  return false;
}

// The empty tile off the walls of (tx, ty)'s room nearest to it, which takes the code.
bool PutOnNearestEmpty(Level& app, int tx, int ty, int code) {
  const int rx = tx / kRoomWidth, ry = ty / kRoomHeight;
  const int x0 = tx % kRoomWidth, y0 = ty % kRoomHeight;
  int best = -1, bestDistance = std::numeric_limits<int>::max();
  for (int y = 1; y < kRoomHeight - 1; ++y) {
    for (int x = 1; x < kRoomWidth - 1; ++x) {
      const int index = world::TileIndex(rx, ry, x, y);
      const int distance = std::max(std::abs(x - x0), std::abs(y - y0));
      if (app.world.Tiles[index] == code::kEmpty && distance < bestDistance) {
        best = index;
        bestDistance = distance;
      }
    }
  }
  if (best < 0) return false;
  app.world.Tiles[best] = code;
  return true;
}

// A dropped item must stay reachable: near the wreck when that room belongs to the level,
// else (or when that room is full) back at its hiding place or the nearest free tile to it.
void DropItem(Level& app, int item, float x, float y) {
  const int code = code::kFreeItem + item;
  int tx = 0, ty = 0;
  if (app.world.RoomPathMarks(x, y) != 0 && TileAt(x, y, app.world.TileSize, tx, ty)) {
    if (DropNear(app, x, y, tx, ty, code)) return;
    if (PutOnNearestEmpty(app, tx, ty, code)) return;
  }
  const int rx = static_cast<int>(app.play.Player[player::Item(item, player::kItemRoomX)]);
  const int ry = static_cast<int>(app.play.Player[player::Item(item, player::kItemRoomY)]);
  const int hx = static_cast<int>(app.play.Player[player::Item(item, player::kItemTileX)]);
  const int hy = static_cast<int>(app.play.Player[player::Item(item, player::kItemTileY)]);
  // The hiding place is stored as room * 32 + tile in each axis.
  const int hideX = rx * kRoomWidth + (hx - rx * world::kRooms);
  const int hideY = ry * kRoomHeight + (hy - ry * world::kRooms);
  if (app.world.CodeAtTile(hideX, hideY) == code::kEmpty ||
      !PutOnNearestEmpty(app, hideX, hideY, code))
    app.world.Tiles[GlobalTileIndex(hideX, hideY)] = code;
}

void DropCarriedItems(Level& app) {
  const float x = app.play.Player[player::kX], y = app.play.Player[player::kY];
  for (int item = 0; item < world::kPaths; ++item) {
    if (ItemState(app, item) != player::kItemCarried) continue;
    // Item 0 falls just above the wreck, the others just below and to the right.
    if (item == 0) {
      DropItem(app, item, x, y - 1);
    } else {
      DropItem(app, item, x + 1, y + 1);
    }
    SetItemState(app, item, player::kItemInWorld);
  }
}

// ---- The steps of an update ----

void AimCamera(Level& app) {
  float* p = app.play.Player.data();
  app.play.CamTargetX = p[player::kRoomRefX] - app.frame.ScreenWidth / 2;
  app.play.CamTargetY =
      app.play.HudHidden == 1
          ? p[player::kRoomRefY] - app.frame.ScreenHeight / 2
          : p[player::kRoomRefY] - ((app.frame.ScreenHeight - kHudBand) / 2 + kHudTop);
  const float rx = p[player::kRoomX], ry = p[player::kRoomY];
  p[player::kRoomRefX] =
      app.world.TileSize * (static_cast<float>(kRoomWidth) * rx + kRoomWidth / 2);
  p[player::kRoomRefY] =
      app.world.TileSize * (static_cast<float>(kRoomHeight) * ry + kRoomHeight / 2);
}

// The current room first, then its four sides and four corners, fainter with distance.
struct RoomDrawn {
  int dx, dy;
  float alpha;
};
constexpr RoomDrawn kRoomsDrawn[] = {{0, 0, 1},     {-1, 0, 0.9f}, {1, 0, 0.9f},
                                     {0, -1, 0.9f}, {0, 1, 0.9f},  {-1, -1, 0.7f},
                                     {1, -1, 0.7f}, {-1, 1, 0.7f}, {1, 1, 0.7f}};

void DrawNineRooms(Level& app) {
  const int rx = static_cast<int>(app.play.Player[player::kRoomX]);
  const int ry = static_cast<int>(app.play.Player[player::kRoomY]);
  for (const RoomDrawn& room : kRoomsDrawn) {
    app.frame.Alpha(room.alpha);
    app.DrawRoom(rx + room.dx, ry + room.dy, room.dx == 0 && room.dy == 0 ? 1 : 0);
  }
}

// The room a tile belongs to is written in the tile, so a doorway crossing shows at once.
void TrackRoom(Level& app) {
  int tx = 0, ty = 0;
  if (!TileAt(app.play.Player[player::kX], app.play.Player[player::kY], app.world.TileSize, tx, ty))
    return;
  const int* tile = &app.world.Tiles[GlobalTileIndex(tx, ty)];
  const auto rx = static_cast<float>(tile[tile::kRoomX]);
  const auto ry = static_cast<float>(tile[tile::kRoomY]);
  if (rx == app.play.Player[player::kRoomX] && ry == app.play.Player[player::kRoomY]) return;
  app.play.Player[player::kRoomX] = rx;
  app.play.Player[player::kRoomY] = ry;
  const int enemies = Rand(0, static_cast<float>(EntryEnemyLimit(app.world.Level)));
  if (rx == app.play.Player[player::kRespawnRoomX] && ry == app.play.Player[player::kRespawnRoomY])
    return;
  for (int i = 0; i < enemies; ++i) app.AddABad(tile[tile::kRoomX], tile[tile::kRoomY]);
}

void RunIntro(Level& app) {
  --app.play.LevelIntro;
  if (app.play.LevelIntro > kSwirlUntil) {
    const int turn = (Millisecs() / kSwirlSlowdown) % 360;
    const float distance = kSwirlRadius - static_cast<float>(app.play.LevelIntro);
    for (int i = 0; i < kSwirlArms; ++i) {
      const auto angle = static_cast<float>(kSwirlSpacing * i + turn);
      app.play.ThrowParticle(app.play.Player[player::kX] + distance * SinDeg(angle),
                             app.play.Player[player::kY] - distance * CosDeg(angle), kSparkKind,
                             kSwirlColour, angle + 180, kSwirlSpeed);
    }
  }
  if (app.play.LevelIntro == kBurstAt) {
    for (int i = 0; i <= app.play.ParticleCount; ++i) {
      float* p = &app.play.Particles[static_cast<size_t>(i * particle::kFloats)];
      p[particle::kVX] = static_cast<float>(-p[particle::kVX] * (kBurstBase + kBurstRange * Rnd()));
      p[particle::kVY] = static_cast<float>(-p[particle::kVY] * (kBurstBase + kBurstRange * Rnd()));
      p[particle::kColour] = static_cast<float>(Rand(kFirstBurstColour, kLastBurstColour));
    }
  }
  if (app.play.LevelIntro == 0)
    app.io.PlayTune(kTunes[(app.world.Level % kTuneCount + kTuneCount) % kTuneCount], 1);
}

// True in the update the take-off ends and the level is finished.
bool TakeOff(Level& app) {
  float* p = app.play.Player.data();
  --app.play.ExitState;
  p[player::kY] += p[player::kVY];
  p[player::kVY] = std::min(p[player::kVY] - kLiftAcceleration, 0.0f);
  // Random draws in a fixed order: the shared sequence must not depend on the compiler.
  const int kind = Rand(kFirstMixedKind, kLastMixedKind);
  const int colour = Rand(kFirstExhaustColour, kLastExhaustColour);
  const auto speed = static_cast<float>(kExhaustSpeedBase + kExhaustSpeedRange * Rnd());
  app.play.ThrowParticle(p[player::kX], p[player::kY], kind, colour,
                         kExhaustWobble * SinDeg(ClockDegrees()), speed);
  const float baseX = p[player::kRespawnX] +
                      static_cast<float>(Rand(-2 * app.world.TileSize, 2 * app.world.TileSize));
  const int baseColour = Rand(kFirstExhaustColour, kLastExhaustColour);
  const auto baseSpeed = static_cast<float>(kPadSparkSpeedBase + kPadSparkSpeedRange * Rnd());
  app.play.ThrowParticle(baseX, p[player::kRespawnY] + app.world.TileSize, kSparkKind, baseColour,
                         0, baseSpeed);
  if (app.play.ExitState != kTakeOffEnd || app.play.GameOverTimer != 0) return false;
  app.play.GameOverTimer = 1;
  return true;
}

void Respawn(Level& app) {
  float* p = app.play.Player.data();
  p[player::kRoomX] = p[player::kRespawnRoomX];
  p[player::kRoomY] = p[player::kRespawnRoomY];
  p[player::kX] = p[player::kRespawnX];
  p[player::kY] = p[player::kRespawnY];
  p[player::kVX] = p[player::kVY] = 0;
  app.play.ExitState = 0;
}

void Wreck(Level& app) {
  ++app.play.ExitState;
  const int kind = Rand(kFirstMixedKind, kLastMixedKind);
  const int colour = Rand(kFirstDebrisColour, kLastDebrisColour);
  app.play.ThrowParticle(app.play.Player[player::kX], app.play.Player[player::kY], kind, colour,
                         kDebrisSwing * SinDeg(ClockDegrees()), kDebrisSpeed);
  if (app.play.ExitState != kWreckEnd) return;
  --app.play.Lives;
  if (app.play.Lives > 0) {
    DropCarriedItems(app);
    Respawn(app);
  } else {
    app.play.GameOverTimer = 1;
  }
}

void Steer(Level& app) {
  float* p = app.play.Player.data();
  const float ax = app.controls.AnalogX, ay = app.controls.AnalogY;
  if (ax < -kFacingStick) p[player::kFacing] = -1;
  if (ax > kFacingStick) p[player::kFacing] = 1;
  // A ship taking off is lifted, not pulled down: gravity outweighs the lift and would hold
  // it on the pad.
  const bool takingOff = app.play.ExitState < 0;
  flight::Accelerate(ax, ay, !takingOff, p[player::kVX], p[player::kVY]);
}

// Stops the ship against solid neighbours in the direction it moves; returns the code of the
// tile it came to rest on, or 0.
int Collide(Level& app) {
  float* p = app.play.Player.data();
  app.world.GetMatrix(p[player::kX], p[player::kY]);
  const auto solid = [&](int entry) { return WorldMap::isSolid(app.world.Matrix[entry]); };
  const flight::SolidNeighbours walls{solid(matrix::kLeft), solid(matrix::kRight),
                                      solid(matrix::kUp), solid(matrix::kDown)};
  const bool landed = flight::StopAtWalls(
      walls, flight::OffsetInTile(p[player::kX], app.world.TileSize),
      flight::OffsetInTile(p[player::kY], app.world.TileSize), p[player::kVX], p[player::kVY]);
  return landed ? app.world.Matrix[matrix::kDown] : code::kEmpty;
}

void Deliver(Level& app) {
  int delivered = 0;
  for (int item = 0; item < world::kPaths; ++item) {
    if (ItemState(app, item) != player::kItemCarried) continue;
    SetItemState(app, item, player::kItemDelivered);
    app.play.Score += kDeliveryScore;
    ++delivered;
  }
  if (delivered > 0) app.io.PlaySFX(sfx::kDelivery);
  for (int item = 0; item < world::kPaths; ++item)
    if (ItemState(app, item) != player::kItemDelivered) return;
  if (app.play.ExitState != 0) return;
  app.play.ExitState = -1;
  app.io.PlaySFX(sfx::kTakeOff);
  app.play.Score += kTakeOffScore;
}

void Move(Level& app) {
  float* p = app.play.Player.data();
  if (app.world.RoomPathMarks(p[player::kX], p[player::kY]) == 0) {
    if (app.play.ExitState == 0) app.play.ExitState = 1;
    return;
  }
  if (app.play.ExitState != 0 || app.play.LevelIntro != 0) return;
  p[player::kX] += p[player::kVX] / 2;
  p[player::kY] += p[player::kVY] / 2;
}

void ChaseScore(Level& app) {
  app.play.ShownScore -= (app.play.ShownScore - app.play.Score) / kScoreChase;
  if (std::abs(app.play.ShownScore - app.play.Score) <= kScoreSnap)
    app.play.ShownScore = app.play.Score;
}

const String& WeaponName(int weapon) {
  static const std::array<String, std::size(kWeaponNames)> names = [] {
    std::array<String, std::size(kWeaponNames)> all;
    for (size_t i = 0; i < all.size(); ++i) all[i] = kWeaponNames[i];
    return all;
  }();
  const int index = weapon - static_cast<int>(kFirstWeapon);
  return index >= 0 && index < static_cast<int>(names.size()) ? names[static_cast<size_t>(index)]
                                                              : names[0];
}

// The last digits.size() characters of the value's decimal form padded on the left with
// '0', as PaddedNumber gives them, written into a fixed buffer: the score changes every frame while
// it counts up, and building a string each time would allocate during play.
void RightAlignedDigits(int value, std::span<char16_t> digits) {
  char text[16];
  const auto end = std::to_chars(std::begin(text), std::end(text), value).ptr;
  const auto length = static_cast<size_t>(end - text);
  for (size_t i = 0; i < digits.size(); ++i)
    digits[digits.size() - 1 - i] = i < length ? static_cast<char16_t>(text[length - 1 - i]) : u'0';
}

void DrawScore(Level& app) {
  if (app.play.HudScoreValue != app.play.ShownScore) {
    app.play.HudScoreValue = app.play.ShownScore;
    RightAlignedDigits(app.play.ShownScore, app.play.HudScoreDigits);
  }
  app.frame.SetSize(2);
  app.frame.SetCol(100, 255, 100, kHudAlpha);
  app.frame.Text(
      app.frame.ScreenWidth / 2, 16,
      std::u16string_view(app.play.HudScoreDigits.data(), app.play.HudScoreDigits.size()), 1, 1);
}

void DrawWeapon(Level& app) {
  const auto weapon = static_cast<int>(app.play.Player[player::kWeapon]);
  if (weapon <= 0) return;
  const auto ammo = static_cast<int>(app.play.Player[player::kAmmo]);
  constexpr float kIconSize = 1.5f;
  const float x = app.frame.ScreenWidth - 16;
  app.frame.SetSize(kIconSize);
  app.frame.SetCol(255, 255, 255, ammo < 1 ? kHudDimAlpha : kHudAlpha);
  app.frame.DrawImg(kSpriteSlot, x, 16, weapon);
  app.frame.Text(x, 16, String::FromInt(std::max(ammo, 0)), 1, 1);
  if (ammo <= 0) return;
  app.frame.SetSize(1);
  app.frame.Alpha(kWeaponNameAlpha);
  app.frame.Text(app.frame.ScreenWidth - 24, 28, WeaponName(weapon), 2, 0);
}

void DrawLives(Level& app, float alpha) {
  const float x = app.frame.ScreenWidth - 128;
  app.frame.SetSize(1);
  app.frame.SetCol(255, 255, 255, alpha);
  app.frame.DrawImg(kSpriteSlot, x, 16, 0);
  app.frame.SetSize(2);
  app.frame.Text(x, 16, String::FromInt(std::max(app.play.Lives, 0)), 1, 1);
}

void DrawItemBars(Level& app, float firstAlpha) {
  for (int item = 0; item < world::kPaths; ++item) {
    const float x = kItemBarX + kItemBarGap * static_cast<float>(item);
    const float state = ItemState(app, item);
    const int shade = state == player::kItemCarried ? 1 : state == player::kItemDelivered ? 2 : 0;
    const Rgb c = kItemColours[item][shade];
    app.frame.SetCol(c.red, c.green, c.blue, item == 0 ? firstAlpha : 1);
    if (shade == 0) {
      app.frame.Rect(x, 12, kItemBarWidth, 8);
      continue;
    }
    app.frame.Rect(x, 8, kItemBarWidth, 16);
    if (shade == 2) {
      app.frame.Alpha(0.5f);
      app.frame.Oval(x + kItemBarWidth / 2, 16, 3, 9);
    }
  }
}

void DrawItemMarks(Level& app, float firstAlpha) {
  const float middle = kItemBarX + kItemBarGap + kItemBarWidth / 2;
  app.frame.SetSize(kItemMarkSize);
  for (int item = 0; item < world::kPaths; ++item) {
    app.frame.SetCol(255, 255, 255, item == 0 ? firstAlpha : 1);
    app.frame.DrawImg(kItemMarkSlot, middle + kItemMarkGap * static_cast<float>(item - 1),
                      kItemMarkY, item);
  }
}

void DrawHud(Level& app) {
  app.frame.ResetDraw();
  for (int i = 0; i < kBandLayers; ++i) {
    const auto shade = static_cast<float>(kBandLayers - 1 - i);
    app.frame.SetCol(20 * shade, 10 * shade, shade);
    app.frame.Rect(0, static_cast<float>(2 * i), app.frame.ScreenWidth,
                   static_cast<float>(32 - 6 * i));
  }
  DrawScore(app);
  DrawWeapon(app);
  const float livesAlpha = app.play.Lives < 1 ? kHudDimAlpha : kHudAlpha;
  DrawLives(app, livesAlpha);
  DrawItemBars(app, livesAlpha);
  if (app.controls.ItemMarks) DrawItemMarks(app, livesAlpha);
}
}  // namespace

void Level::ResetPlayers() {
  std::fill_n(play.Player.begin(), player::kResetEntries, 0.0f);
}

bool Level::Game() {
  play.DoBG(frame, static_cast<int>(play.Player[player::kBackdropRed]),
            static_cast<int>(play.Player[player::kBackdropGreen]),
            static_cast<int>(play.Player[player::kBackdropBlue]), Play::kOpaqueBackdrop);
  const float stepX = GlideStep(play.CamX - play.CamTargetX);
  const float stepY = GlideStep(play.CamY - play.CamTargetY);
  play.CamX -= stepX;
  play.CamY -= stepY;
  if (play.ExitState == 0 &&
      !(IsLevelRoom(play.Player[player::kRoomX]) && IsLevelRoom(play.Player[player::kRoomY])))
    play.ExitState = 1;
  AimCamera(*this);
  play.DoStars(frame, stepX - kStarDrift, stepY);
  controls.AnalogueControl(platform_.console, frame, debugMode_ == 1);
  DrawNineRooms(*this);
  TrackRoom(*this);
  frame.ResetDraw();
  if (play.Player[player::kFacing] == -1) frame.SetSize(-1, 1);
  if (play.ExitState < 0 || (play.ExitState > 0 && play.Lives < 1)) io.StopTune();
  if (play.ExitState == 0) {
    UpdateOrbitBlaster();
  } else {
    play.Player[player::kOrbitFrames] = 0;
  }
  if (play.ExitState == 0 && play.LevelIntro == 0)
    frame.DrawImg(kSpriteSlot, play.Player[player::kX] - play.CamX,
                  play.Player[player::kY] - play.CamY, 0);
  if (play.LevelIntro > 0) RunIntro(*this);
  const bool finished = play.ExitState < 0 && TakeOff(*this);
  if (play.ExitState > 0) Wreck(*this);
  Steer(*this);
  const int restingOn = Collide(*this);
  if (restingOn >= code::kFirstPad && restingOn <= code::kLastPad) Deliver(*this);
  Move(*this);
  FireWeapons();
  UpdateObjects();
  play.DoParticles(frame, world);
  ChaseScore(*this);
  if (play.HudHidden == 0) DrawHud(*this);
  return finished;
}

void Level::BuildWorld() {
  using namespace player;
  auto& record = play.Player;
  play.ExitState = 0;
  record[kWeapon] = kStartWeapon;
  record[kAmmo] = kStartAmmo;
  for (int r = 0; r < object::kRecords; ++r) play.Objects[r * object::kFloats + object::kKind] = 0;
  world.Build();
  const int startX = world.StartRoomX, startY = world.StartRoomY;
  const float size = world.TileSize;
  record[kX] = size * static_cast<float>(world::kRoomWidth * startX + kStartTileX);
  record[kY] = size * static_cast<float>(world::kRoomHeight * startY + kStartTileY);
  record[kRoomX] = static_cast<float>(startX);
  record[kRoomY] = static_cast<float>(startY);
  record[kRoomRefX] = record[kX];
  record[kRoomRefY] = size * static_cast<float>(world::kRoomHeight * startY + kStartViewTileY);
  record[kRespawnRoomX] = static_cast<float>(startX);
  record[kRespawnRoomY] = static_cast<float>(startY);
  record[kRespawnX] = record[kX];
  record[kRespawnY] = record[kY];
  std::fill_n(&record[kClearedAtStart], kClearedAtStartCount, 0.0f);
  for (int item = 0; item < world::kPaths; ++item) {
    const ItemPlace& place = world.Items[static_cast<size_t>(item)];
    record[Item(item, kItemState)] = 0;
    record[Item(item, kItemTileX)] = static_cast<float>(place.tileX);
    record[Item(item, kItemTileY)] = static_cast<float>(place.tileY);
    record[Item(item, kItemRoomX)] = static_cast<float>(place.roomX);
    record[Item(item, kItemRoomY)] = static_cast<float>(place.roomY);
  }
  for (int channel : {kBackdropRed, kBackdropGreen, kBackdropBlue})
    record[channel] = static_cast<float>(Rand(0, 3) * 20);
}
