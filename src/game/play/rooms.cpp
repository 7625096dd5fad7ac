// Backdrops, the parallax star field and the rooms around the ship: drawing them also lets
// the ship collect what lies within reach and brings the current room's enemies into play.
#include <algorithm>
#include <cmath>

#include "base/random.h"
#include "game/core/globals.h"
#include "game/core/records.h"
#include "game/frame/asset_table.h"
#include "game/frame/sound_table.h"
#include "game/play/level.h"

namespace {
constexpr float kBackdropEase = 30.0f;

constexpr float kStarWrapMargin = 16;
constexpr float kStarSpawnMargin = 8;
constexpr double kStarFrameRange = 255.99;
constexpr double kStarDepthBase = 0.2, kStarDepthRange = 0.6;
constexpr int kLastStarFrame = 255;

// Pickups are taken within this many pixels in both axes, loose items within the wider reach.
constexpr float kPickupReach = 28;
constexpr float kItemReach = 48;
// A parked enemy waits until the ship is this far away in some axis; the barrier does not.
constexpr float kParkedEnemyDistance = 128;
constexpr int kEagerParkedEnemy = code::kParkedEnemy + 12;
constexpr int kOrbitBlasterPickup = code::kPickupBase + 53;
constexpr int kPickupAmmo = 4;
constexpr int kCollectScore = 10;
constexpr int kSparkKind = 1;
constexpr int kPickupSparkColour = 3;
constexpr int kItemSparkColour = 5;
// Base tiles 101..103 show delivered item k beside them, as sprite frame 40 + k.
constexpr int kFirstItemShelf = code::kBase + 1;
constexpr int kDeliveredItemFrame = 40;
constexpr float kWaitingShelfMarkAlpha = 0.45f;

// The colour-blind mark of an item, upright, over the item drawn there.
void DrawItemMark(GameFrame& frame, int item, float x, float y) {
  frame.SetRot(0);
  frame.DrawImg(kItemMarkSlot, x, y, item);
}

// A shelf of the base: the item once it is delivered; with the colour-blind marks also its
// shape, faint while the shelf waits for it.
void DrawShelf(GameFrame& frame, const Controls& controls, const Play& play, int item, float x,
               float y) {
  const bool delivered =
      play.Player[player::Item(item, player::kItemState)] == player::kItemDelivered;
  if (delivered) frame.DrawImg(kSpriteSlot, x, y, kDeliveredItemFrame + item);
  if (!controls.ItemMarks) return;
  frame.Alpha(delivered ? 1 : kWaitingShelfMarkAlpha);
  DrawItemMark(frame, item, x, y);
  frame.Alpha(1);
}

float RandomSpan(float screen) {
  return static_cast<float>((screen + 2 * kStarSpawnMargin) * Rnd() - kStarSpawnMargin);
}

// A star that wrapped round comes back as a new one: the other coordinate, depth and frame
// are drawn anew, in that order.
void RenewStar(float* star, int freshAxis, float screen) {
  star[freshAxis] = RandomSpan(screen);
  star[star::kDepth] = static_cast<float>(kStarDepthBase + kStarDepthRange * Rnd());
  star[star::kFrame] = static_cast<float>(Rand(0, kLastStarFrame));
}

// Wraps one axis of a star across the screen and its margins.
void WrapStar(const GameFrame& frame, float* star, int axis, float screen, int freshAxis,
              float freshScreen) {
  const float margin = frame.Overscan + kStarWrapMargin;
  const float span = screen + 2 * frame.Overscan + 2 * kStarWrapMargin;
  if (star[axis] < -margin) {
    star[axis] += span;
    RenewStar(star, freshAxis, freshScreen);
  }
  if (star[axis] > screen + margin) {
    star[axis] -= span;
    RenewStar(star, freshAxis, freshScreen);
  }
}

bool Within(float dx, float dy, float reach) {
  return std::fabs(dx) < reach && std::fabs(dy) < reach;
}

bool IsPickup(int code) {
  return code >= code::kFirstPickup && code <= code::kLastPickup;
}

bool IsFreeItem(int code) {
  return code >= code::kFreeItem && code < code::kFreeItem + world::kPaths;
}

// A weapon pickup: the weapon (or the orbiting blaster), points and a ring of sparks.
void CollectPickup(Level& app, int& tileCode, float x, float y) {
  const int weapon = tileCode - code::kPickupBase;
  app.io.PlaySFX(sfx::WeaponPickup(weapon));
  if (tileCode == kOrbitBlasterPickup) {
    app.StartOrbitBlaster();
  } else {
    app.play.Player[player::kWeapon] = static_cast<float>(weapon);
    app.play.Player[player::kAmmo] = kPickupAmmo;
  }
  tileCode = code::kEmpty;
  app.play.Score += kCollectScore;
  constexpr int kRays = 8;
  constexpr float kRayAngle = 45, kHalfRay = 22.5f;
  for (int i = 0; i < kRays; ++i) {
    const float angle = kRayAngle * static_cast<float>(i);
    app.play.ThrowParticle(x, y, kSparkKind, kPickupSparkColour, angle, 2);
    app.play.ThrowParticle(x, y, kSparkKind, kPickupSparkColour, angle + kHalfRay, 3);
    app.play.ThrowParticle(x, y, kSparkKind, kPickupSparkColour, angle, 4);
  }
}

// A loose item: the ship carries it from now on.
void CollectItem(Level& app, int& tileCode, float x, float y) {
  const int item = tileCode - code::kFreeItem;
  app.play.Player[player::Item(item, player::kItemState)] = player::kItemCarried;
  app.play.Score += kCollectScore;
  app.io.PlaySFX(sfx::kItemCollect);
  tileCode = code::kEmpty;
  constexpr int kRays = 4;
  constexpr float kRayAngle = 90;
  for (int i = 0; i < kRays; ++i) {
    for (const float speed : {4.0f, 6.0f, 8.0f})
      app.play.ThrowParticle(x, y, kSparkKind, kItemSparkColour, kRayAngle * static_cast<float>(i),
                             speed);
  }
}
}  // namespace

void Play::DoBG(GameFrame& frame, int red, int green, int blue, float alpha) {
  const int targets[] = {red, green, blue};
  for (int i = 0; i < 3; ++i) {
    if (targets[i] >= kLowestBackdropTarget) BgTarget[i] = static_cast<float>(targets[i]);
    BgColour[i] += (BgTarget[i] - BgColour[i]) / kBackdropEase;
  }
  alpha = alpha == kOpaqueBackdrop ? 1.0f : std::clamp(alpha, 0.0f, 1.0f);
  if (red > kNoArg) {
    frame.CLS2D(BgColour[0], BgColour[1], BgColour[2], alpha);
  } else {
    frame.CLS2D();
  }
}

void Play::ResetStars(const GameFrame& frame, int count) {
  if (count >= 1 && count <= star::kMaxCount) StarCount = count;
  for (int i = 0; i <= StarCount; ++i) {
    float* record = &Stars[i * star::kFloats];
    record[star::kFrame] = static_cast<float>(std::floor(kStarFrameRange * Rnd()));
    record[star::kX] = RandomSpan(frame.ScreenWidth);
    record[star::kY] = RandomSpan(frame.ScreenHeight);
    record[star::kDepth] = static_cast<float>(kStarDepthBase + kStarDepthRange * Rnd());
    Rnd();
    Rnd();
  }
}

void Play::DoStars(GameFrame& frame, float dx, float dy) {
  frame.ResetDraw();
  for (int i = 0; i <= StarCount; ++i) {
    float* star = &Stars[static_cast<size_t>(i * star::kFloats)];
    star[star::kX] += dx * star[star::kDepth];
    star[star::kY] += dy * star[star::kDepth];
    WrapStar(frame, star, star::kX, frame.ScreenWidth, star::kY, frame.ScreenHeight);
    WrapStar(frame, star, star::kY, frame.ScreenHeight, star::kX, frame.ScreenWidth);
    frame.Alpha(star[star::kDepth]);
    frame.DrawImg(kStarSlot, star[star::kX], star[star::kY], static_cast<int>(star[star::kFrame]));
  }
  frame.ResetDraw();
}

void Level::DrawRoom(int rx, int ry, int active) {
  if (rx < 0 || rx >= world::kRooms || ry < 0 || ry >= world::kRooms) return;
  const float roomLeft = world.TileSize * static_cast<float>(rx * world::kRoomWidth);
  const float roomTop = world.TileSize * static_cast<float>(ry * world::kRoomHeight);
  if (world.RoomPathMarks(roomLeft, roomTop) == 0) return;
  const float shipX = play.Player[player::kX] - play.CamX;
  const float shipY = play.Player[player::kY] - play.CamY;
  for (int x = 0; x < world::kRoomWidth; ++x) {
    for (int y = 0; y < world::kRoomHeight; ++y) {
      int* tile = &world.Tiles[static_cast<size_t>(world::TileIndex(rx, ry, x, y))];
      const int code = tile[tile::kCode];
      if (code <= code::kEmpty) continue;
      // Centre of the tile in the world and on the screen.
      const float wx = roomLeft + world.TileSize * (static_cast<float>(x) + 0.5f);
      const float wy = roomTop + world.TileSize * (static_cast<float>(y) + 0.5f);
      const float sx = wx - play.CamX, sy = wy - play.CamY;
      if (IsPickup(code)) {
        frame.SetRot(0);
        frame.DrawImg(kSpriteSlot, sx, sy, code - code::kPickupBase);
        if (Within(shipX - sx, shipY - sy, kPickupReach)) CollectPickup(*this, *tile, wx, wy);
      } else if (code <= code::kLastScenery) {
        frame.SetRot(static_cast<float>(tile[tile::kRotation]));
        frame.DrawImg(kSpriteSlot, sx, sy, code);
        if (!IsFreeItem(code)) continue;
        if (controls.ItemMarks) DrawItemMark(frame, code - code::kFreeItem, sx, sy);
        if (Within(shipX - sx, shipY - sy, kItemReach)) CollectItem(*this, *tile, wx, wy);
      } else if (code <= code::kLastBase) {
        frame.SetRot(0);
        frame.DrawImg(kBaseSlot, sx, sy, code - code::kBase);
        const int item = code - kFirstItemShelf;
        if (item >= 0 && item < world::kPaths)
          DrawShelf(frame, controls, play, item, sx - world.TileSize / 2, sy);
      } else if (code <= code::kLastItemBlock) {
        frame.SetRot(0);
        frame.DrawImg(kSpriteSlot, sx, sy, code % code::kItemBlockStride + code::kBlock);
      } else if (code <= code::kLastHiddenBlock) {
        frame.SetRot(0);
        frame.DrawImg(kSpriteSlot, sx, sy, code::kBlock);
      } else if (active == 1 && code <= code::kLastWaitingEnemy) {
        if (HandOverEnemy(code, wx, wy)) tile[tile::kCode] = code::kEmpty;
      } else if (active == 1 && code >= code::kParkedEnemy && code <= code::kLastParkedEnemy) {
        const bool far = std::fabs(shipX - sx) > kParkedEnemyDistance ||
                         std::fabs(shipY - sy) > kParkedEnemyDistance;
        if ((far || code == kEagerParkedEnemy) && HandOverEnemy(code, wx, wy))
          tile[tile::kCode] = code::kEmpty;
      }
    }
  }
  frame.SetRot(0);
}
