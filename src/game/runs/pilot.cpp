#include "game/runs/pilot.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "game/core/flight.h"
#include "game/core/records.h"
#include "game/my_app.h"
#include "game/play/reach.h"

namespace {

using world::kRoomHeight;
using world::kRoomWidth;
using world::kTilesX;
using world::kTilesY;
using namespace reach;

constexpr int kUnreached = std::numeric_limits<int>::max();

// Route costs: open floor, a tile beside a wall, and blocks by what they hide.
constexpr int kOpenCost = 2, kBesideWallCost = 1;
constexpr int kPlainBlockCost = 12, kWeaponBlockCost = 8, kEnemyBlockCost = 40, kItemBlockCost = 2;
constexpr int kReplanEvery = 15;
constexpr int kMaxCarrotSteps = 12;
constexpr int kStandOff = 3;  // tiles between the ship and a block hiding an enemy
constexpr float kSightStep = 6;

// The forecast: frames ahead, and the first actions tried.
constexpr int kHorizon = Pilot::kForecastFrames;
constexpr int kFirstFrames[] = {1, 3, 6, 10};
constexpr float kHomingGain = 0.12f, kHomingRise = 3, kHomingFall = 3, kHomingSide = 4;
constexpr float kHomingSlack = 0.5f;
constexpr float kStopWeight = 6;
// Contact destroys the ship within 24 pixels. The forecast keeps a wide margin, and a narrow one
// once the ship has made no headway for a while (enemies that never leave its way, such as
// barriers sweeping a corridor).
constexpr float kEnemyReach = 40, kBoldEnemyReach = 28, kEnemyCost = 5000;
constexpr int kPatience = 300;     // updates without getting closer to the goal
constexpr float kEngageRange = 5;  // tiles
constexpr float kChaserPull = 0.03f, kChaserSpeed = 2;
constexpr double kOutsideCost = 1e9;
constexpr double kTurnAwayCost = 2000;  // less than one forecast contact
constexpr int kFireRowTolerance = 14;
constexpr float kFireReach = 8;  // tiles
constexpr int kFireKey = KeyOfLetter('A');

enum GoalKind { kNoGoal, kItemGoal, kPadGoal };

int TileIndex(int tx, int ty) {
  return ty * kTilesX + tx;
}

int BlockCost(int c) {
  if (c >= code::kItemBlock && c <= code::kLastItemBlock) return kItemBlockCost;
  if (c >= code::kFirstWeaponBlock && c <= code::kLastHiddenBlock) return kWeaponBlockCost;
  if (c >= code::kHiddenBlock && c < code::kFirstWeaponBlock) return kEnemyBlockCost;
  return kPlainBlockCost;
}

// The cost of moving into a tile, or kUnreached when the ship cannot go there that way.
int EnterCost(const MyApp& app, int tx, int ty, bool sideways) {
  if (!CanEnter(app.world, tx, ty, sideways)) return kUnreached;
  if (IsBlock(app.world, tx, ty)) return BlockCost(Code(app.world, tx, ty));
  int cost = kOpenCost;
  if (!Open(app.world, tx - 1, ty) || !Open(app.world, tx + 1, ty) ||
      !Open(app.world, tx, ty - 1) || !Open(app.world, tx, ty + 1))
    cost += kBesideWallCost;
  return cost;
}

constexpr int kSteps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};

int PixelToTile(float pixel, float tileSize) {
  const float t = pixel / tileSize;
  if (!(t >= 0)) return -1;
  if (t >= kTilesX) return kTilesX;
  return static_cast<int>(t);
}

float Centre(int t, float tileSize) {
  return (static_cast<float>(t) + 0.5f) * tileSize;
}

// A straight flight from one point to another passes only open tiles of the level.
bool ClearSight(const MyApp& app, float x0, float y0, float x1, float y1) {
  const float dx = x1 - x0, dy = y1 - y0;
  const int steps = static_cast<int>(std::max(std::fabs(dx), std::fabs(dy)) / kSightStep) + 1;
  for (int i = 1; i <= steps; ++i) {
    const float t = static_cast<float>(i) / static_cast<float>(steps);
    const int tx = PixelToTile(x0 + dx * t, app.world.TileSize);
    const int ty = PixelToTile(y0 + dy * t, app.world.TileSize);
    if (!InLevel(app.world, tx, ty) || !Open(app.world, tx, ty)) return false;
  }
  return true;
}

bool IsEnemy(float kind) {
  return kind >= object::kFirstEnemy && kind <= object::kLastEnemy;
}

}  // namespace

Pilot::Pilot() : distance_(kTiles, kUnreached) {
  queue_.reserve(4 * static_cast<size_t>(kTiles));
  enemies_.reserve(object::kRecords);
}

void Pilot::Forecast(const MyApp& app, const Keys& keys, Ship& s) {
  using flight::ClampUnit;
  float ax = 0, ay = 0;
  flight::RampAxis(keys.up, false, s.rampY, ay);
  flight::RampAxis(keys.left, keys.right, s.rampX, ax);
  s.rampX = ClampUnit(s.rampX);
  s.rampY = ClampUnit(s.rampY);
  flight::Accelerate(ClampUnit(ax), ClampUnit(ay), true, s.vx, s.vy);
  const int tx = PixelToTile(s.x, app.world.TileSize), ty = PixelToTile(s.y, app.world.TileSize);
  const auto solid = [&](int dx, int dy) {
    return WorldMap::isSolid(Code(app.world, tx + dx, ty + dy));
  };
  flight::StopAtWalls({solid(-1, 0), solid(1, 0), solid(0, -1), solid(0, 1)},
                      flight::OffsetInTile(s.x, app.world.TileSize),
                      flight::OffsetInTile(s.y, app.world.TileSize), s.vx, s.vy);
  s.x += s.vx / 2;
  s.y += s.vy / 2;
}

Pilot::Goal Pilot::ChooseGoal(const MyApp& app) {
  Goal goal;
  bool carrying = false;
  for (int item = 0; item < world::kPaths; ++item) {
    const float state = app.play.Player[player::Item(item, player::kItemState)];
    if (state == player::kItemCarried) carrying = true;
    if (state != player::kItemInWorld || goal.kind == kItemGoal) continue;
    // The items in order: the current one stays the goal until it is taken.
    if (planned_.kind == kItemGoal && planned_.item != item &&
        app.play.Player[player::Item(planned_.item, player::kItemState)] == player::kItemInWorld)
      continue;
    int tx = 0, ty = 0;
    if (!FindItem(app.world, app.play, item, tx, ty)) continue;
    goal = {kItemGoal, item, tx, ty};
  }
  if (goal.kind == kNoGoal && carrying) {
    goal.kind = kPadGoal;
    StartRoomCorner(app.play, goal.tx, goal.ty);
  }
  return goal;
}

// Costs to the goal from every tile of the level, searching back from the goal.
void Pilot::PlanTo(const MyApp& app, const Goal& goal) {
  std::fill(distance_.begin(), distance_.end(), kUnreached);
  queue_.clear();
  const auto push = [&](int tx, int ty, int cost) {
    distance_[static_cast<size_t>(TileIndex(tx, ty))] = cost;
    queue_.push_back(static_cast<std::uint32_t>(cost) << 18 |
                     static_cast<std::uint32_t>(TileIndex(tx, ty)));
    std::push_heap(queue_.begin(), queue_.end(), std::greater<>());
  };
  if (goal.kind == kPadGoal) {
    // Anywhere above the pad: from there the ship settles onto it.
    for (int x = kPadFirstX; x <= kPadLastX; ++x) push(goal.tx + x, goal.ty + kPadRow, 0);
  } else {
    push(goal.tx, goal.ty, 0);
  }
  while (!queue_.empty()) {
    std::pop_heap(queue_.begin(), queue_.end(), std::greater<>());
    const std::uint32_t top = queue_.back();
    queue_.pop_back();
    const int cost = static_cast<int>(top >> 18);
    const int index = static_cast<int>(top & ((1u << 18) - 1));
    if (cost > distance_[static_cast<size_t>(index)]) continue;
    const int bx = index % kTilesX, by = index / kTilesX;
    // Moving from a neighbour into this tile costs what entering this tile costs.
    for (const auto& step : kSteps) {
      const int ax = bx + step[0], ay = by + step[1];
      if (!InLevel(app.world, ax, ay) || (!Open(app.world, ax, ay) && !IsBlock(app.world, ax, ay)))
        continue;
      const bool isGoal = cost == 0;
      const int enter = isGoal && goal.kind == kItemGoal && IsBlock(app.world, bx, by)
                            ? (step[1] == 0 ? kItemBlockCost : kUnreached)
                            : EnterCost(app, bx, by, step[1] == 0);
      if (enter == kUnreached) continue;
      const int next = cost + enter;
      if (next < distance_[static_cast<size_t>(TileIndex(ax, ay))]) push(ax, ay, next);
    }
  }
  planned_ = goal;
}

Pilot::Target Pilot::Steer(const MyApp& app, int shipTx, int shipTy) {
  const float ts = app.world.TileSize;
  const float x = app.play.Player[player::kX], y = app.play.Player[player::kY];
  Target target{Centre(shipTx, ts), Centre(shipTy, ts)};
  if (!InWorld(shipTx, shipTy)) return target;
  if (Distance(shipTx, shipTy) == kUnreached) {
    // Slipped into a wall past a corner (the ship is stopped by the walls beside it, not by
    // those across a corner): back to the nearest tile on a route.
    int best = kUnreached;
    for (const auto& step : kSteps) {
      const int d = Distance(shipTx + step[0], shipTy + step[1]);
      if (d >= best) continue;
      best = d;
      target = {Centre(shipTx + step[0], ts), Centre(shipTy + step[1], ts)};
    }
    return target;
  }
  if (planned_.kind == kPadGoal && distance_[static_cast<size_t>(TileIndex(shipTx, shipTy))] == 0) {
    // Over the pad: settle down onto it.
    target.y += ts;
    target.stop = true;
    return target;
  }
  int tx = shipTx, ty = shipTy;
  bool alongRow = true;  // the route so far keeps to the ship's row
  for (int i = 0; i < kMaxCarrotSteps; ++i) {
    const int here = distance_[static_cast<size_t>(TileIndex(tx, ty))];
    if (here == 0) break;
    int bestX = -1, bestY = -1, best = here;
    for (const auto& step : kSteps) {
      const int nx = tx + step[0], ny = ty + step[1];
      if (!InWorld(nx, ny)) continue;
      const int there = distance_[static_cast<size_t>(TileIndex(nx, ny))];
      if (there >= best) continue;
      if (IsBlock(app.world, nx, ny) && step[1] != 0) continue;
      best = there;
      bestX = nx;
      bestY = ny;
    }
    if (bestX < 0) break;
    if (IsBlock(app.world, bestX, bestY)) {
      // Shots end at the room's edge: a block in the next room is shot from inside that room.
      if (alongRow && bestY == shipTy && bestX / kRoomWidth == shipTx / kRoomWidth)
        AimAtBlock(app, shipTx, shipTy, bestX, target);
      break;
    }
    alongRow = alongRow && bestY == shipTy;
    tx = bestX;
    ty = bestY;
    if (i == 0 || ClearSight(app, x, y, Centre(tx, ts), Centre(ty, ts))) {
      target.x = Centre(tx, ts);
      target.y = Centre(ty, ts);
    }
  }
  return target;
}

// A block in the ship's row with open tiles between: shoot it. One that hides an enemy is shot
// from a few tiles away, since the enemy comes out where the block was.
void Pilot::AimAtBlock(const MyApp& app, int shipTx, int shipTy, int blockX, Target& target) {
  const float ts = app.world.TileSize;
  const int side = blockX < shipTx ? -1 : 1;
  const int gap = std::abs(blockX - shipTx);
  target.blockSide = side;
  const int c = Code(app.world, blockX, shipTy);
  if (c < code::kHiddenBlock || c >= code::kFirstWeaponBlock) {
    target.fire = true;
    if (gap == 1) {
      target.x = Centre(shipTx, ts);
      target.y = Centre(shipTy, ts);
      target.stop = true;
    }
    return;
  }
  // Backing off stays in the block's room, from where the shots can reach it.
  int standX = shipTx;
  for (int k = 1; k <= kStandOff - gap; ++k) {
    const int x = shipTx - side * k;
    if (x / kRoomWidth != blockX / kRoomWidth || !InLevel(app.world, x, shipTy) ||
        !Open(app.world, x, shipTy))
      break;
    standX = x;
  }
  target.x = Centre(standX, ts);
  target.y = Centre(shipTy, ts);
  target.stop = true;
  target.fire = standX == shipTx;
}

// A chaser closing in from beside the ship, a little above or below: level with it, so that
// the gun can reach it before it reaches the ship. (Levelling with the other kinds, which
// keep to their own ways, loses more ships than it saves.)
void Pilot::LevelWithChaser(const MyApp& app, Target& target) const {
  const float x = app.play.Player[player::kX], y = app.play.Player[player::kY];
  const float range = kEngageRange * app.world.TileSize;
  for (const Enemy& e : enemies_) {
    const float dx = std::fabs(e.x - x), dy = std::fabs(e.y - y);
    if (e.kind != object::kChaser || dx < kEnemyReach || dx > range || dy > range) continue;
    if (!ClearSight(app, x, e.y, e.x, e.y) || !ClearSight(app, x, y, x, e.y)) continue;
    target = Target{x, e.y};
    return;
  }
}

void Pilot::TrackHeadway(int distance) {
  if (distance < bestDistance_) {
    bestDistance_ = distance;
    stalled_ = 0;
  } else {
    ++stalled_;
  }
}

int Pilot::Distance(int tx, int ty) const {
  return InWorld(tx, ty) ? distance_[static_cast<size_t>(TileIndex(tx, ty))] : kUnreached;
}

// Where an enemy will be over the next updates, by the rules it moves by: barriers turn at
// walls, chasers close in on the ship and bounce, the others stop at walls. The walkers'
// and crawlers' turns are left out: the forecast is remade every update.
void Pilot::ForecastEnemy(const MyApp& app, const float* record, Enemy& enemy) const {
  const float ts = app.world.TileSize;
  const float shipX = app.play.Player[player::kX], shipY = app.play.Player[player::kY];
  const auto kind = static_cast<int>(record[object::kKind]);
  float x = record[object::kX], y = record[object::kY];
  float vx = record[object::kVX], vy = record[object::kVY];
  float timer = record[object::kTimer];
  const int roomX = static_cast<int>(app.play.Player[player::kRoomX]);
  const int roomY = static_cast<int>(app.play.Player[player::kRoomY]);
  // Enemies see the tiles of their own room only; the rest reads as wall.
  const auto solid = [&](float px, float py) {
    const int tx = PixelToTile(px, ts), ty = PixelToTile(py, ts);
    if (tx / kRoomWidth != roomX || ty / kRoomHeight != roomY) return true;
    return WorldMap::isSolid(Code(app.world, tx, ty));
  };
  for (int t = 0; t < kHorizon; ++t) {
    x += vx;
    y += vy;
    const bool left = solid(x - ts, y), right = solid(x + ts, y);
    const bool up = solid(x, y - ts), down = solid(x, y + ts);
    if (kind == object::kBarrier) {
      if (up && vy < 0 && std::fmod(y, ts) < object::kBarrierTurnAbove) vy = std::fabs(vy);
      if (down && vy > 0 && std::fmod(y, ts) > object::kBarrierTurnBelow) vy = -std::fabs(vy);
    } else if (kind == object::kChaser) {
      if (timer < 1) {
        vx = std::clamp(vx + (shipX > x ? kChaserPull : -kChaserPull), -kChaserSpeed, kChaserSpeed);
        vy = std::clamp(vy + (shipY > y ? kChaserPull : -kChaserPull), -kChaserSpeed, kChaserSpeed);
      }
      if ((left && vx < 0) || (right && vx > 0)) vx = -vx;
      if ((up && vy < 0) || (down && vy > 0)) vy = -vy;
    } else if ((left && vx < 0) || (right && vx > 0) || (up && vy < 0) || (down && vy > 0)) {
      vx = vy = 0;
    }
    if (timer > 0) --timer;
    enemy.at[static_cast<size_t>(t)] = {x, y};
  }
}

void Pilot::SeeEnemies(const MyApp& app) {
  enemies_.clear();
  for (int r = 0; r < object::kRecords; ++r) {
    const float* o = &app.play.Objects[static_cast<size_t>(r * object::kFloats)];
    if (!IsEnemy(o[object::kKind])) continue;
    enemies_.emplace_back();
    enemies_.back().kind = static_cast<int>(o[object::kKind]);
    enemies_.back().x = o[object::kX];
    enemies_.back().y = o[object::kY];
    ForecastEnemy(app, o, enemies_.back());
  }
}

// The side (-1 left, 1 right) of the nearest enemy in the ship's row with nothing between, that
// shots can destroy; 0 when there is none.
int Pilot::EnemyInLine(const MyApp& app) const {
  const float x = app.play.Player[player::kX], y = app.play.Player[player::kY];
  float nearest = kFireReach * app.world.TileSize;
  int side = 0;
  for (const Enemy& e : enemies_) {
    const float away = std::fabs(e.x - x);
    if (e.kind == object::kBarrier || std::fabs(e.y - y) >= kFireRowTolerance || away >= nearest ||
        !ClearSight(app, x, y, e.x, y))
      continue;
    nearest = away;
    side = e.x < x ? -1 : 1;
  }
  return side;
}

// Keys that steer the ship toward a point: thrust while it falls faster than it should, a
// push to the side while it drifts slower than it should; the wanted speeds shrink near the
// point, so the ship slows down to stop there.
Pilot::Keys Pilot::Homing(const Ship& s, float x, float y) {
  Keys keys;
  const float wantVy = std::clamp((y - s.y) * kHomingGain, -kHomingRise, kHomingFall);
  keys.up = s.vy > wantVy;
  const float wantVx = std::clamp((x - s.x) * kHomingGain, -kHomingSide, kHomingSide);
  keys.left = s.vx > wantVx + kHomingSlack;
  keys.right = s.vx < wantVx - kHomingSlack;
  return keys;
}

// The given keys for some frames from now, then homing on the target: how far from the
// target that flight keeps the ship, and how close it comes to the enemies.
double Pilot::RolloutCost(const MyApp& app, Keys first, int firstFrames,
                          const Target& target) const {
  Ship s{app.play.Player[player::kX],  app.play.Player[player::kY], app.play.Player[player::kVX],
         app.play.Player[player::kVY], app.controls.KeyAnalogX,     app.controls.KeyAnalogY};
  const float reach = stalled_ > kPatience ? kBoldEnemyReach : kEnemyReach;
  double cost = 0;
  for (int t = 0; t < kHorizon; ++t) {
    Forecast(app, t < firstFrames ? first : Homing(s, target.x, target.y), s);
    const int tx = PixelToTile(s.x, app.world.TileSize), ty = PixelToTile(s.y, app.world.TileSize);
    if (!InLevel(app.world, tx, ty)) cost += kOutsideCost;
    cost += std::hypot(s.x - target.x, s.y - target.y);
    for (const Enemy& e : enemies_) {
      const auto& [ex, ey] = e.at[static_cast<size_t>(t)];
      const float near = std::max(std::fabs(ex - s.x), std::fabs(ey - s.y));
      if (near < reach) cost += kEnemyCost * (kHorizon - t);
    }
  }
  if (target.stop) cost += kStopWeight * (std::fabs(s.vx) + std::fabs(s.vy)) * kHorizon;
  return cost;
}

// Keys chosen by their forecast cost. While the gun is aimed (aim -1 left, 1 right), a push
// the other way would turn the ship before the shot: it is taken only to escape a contact.
Pilot::Keys Pilot::ChooseKeys(const MyApp& app, const Target& target, int aim) const {
  const Ship now{app.play.Player[player::kX],  app.play.Player[player::kY],
                 app.play.Player[player::kVX], app.play.Player[player::kVY],
                 app.controls.KeyAnalogX,      app.controls.KeyAnalogY};
  const auto cost = [&](const Keys& keys, int frames) {
    const bool turnsAway = (aim < 0 && keys.right) || (aim > 0 && keys.left);
    return RolloutCost(app, keys, frames, target) + (turnsAway ? kTurnAwayCost : 0);
  };
  Keys best = Homing(now, target.x, target.y);
  double bestCost = cost(best, 1);
  for (int frames : kFirstFrames) {
    for (int up = 0; up <= 1; ++up) {
      for (int side = -1; side <= 1; ++side) {
        Keys keys;
        keys.up = up == 1;
        keys.left = side < 0;
        keys.right = side > 0;
        const double c = cost(keys, frames);
        if (c >= bestCost) continue;
        bestCost = c;
        best = keys;
      }
    }
  }
  return best;
}

void Pilot::Next(const MyApp& app, InputFrame& frame) {
  frame = InputFrame();
  const Keys keys = Decide(app);
  // Fire is tapped, not held: a fresh press shoots at once, a held key only every 15 updates.
  frame.held[kFireKey] = keys.fire && !held_[kFireKey];
  frame.held[key::kUp] = keys.up;
  frame.held[key::kLeft] = keys.left;
  frame.held[key::kRight] = keys.right;
  DeriveHits(held_, frame);
  held_ = frame.held;
}

Pilot::Keys Pilot::Decide(const MyApp& app) {
  Keys keys;
  if (app.play.LevelIntro > 0 || app.play.ExitState != 0 || app.play.GameOverTimer > 0) {
    // A new life starts at the base: its headway counts afresh.
    bestDistance_ = std::numeric_limits<int>::max();
    return keys;
  }
  const Goal goal = ChooseGoal(app);
  if (goal.kind == kNoGoal) return keys;
  const bool newGoal = goal.kind != planned_.kind || goal.item != planned_.item ||
                       goal.tx != planned_.tx || goal.ty != planned_.ty;
  if (newGoal) bestDistance_ = std::numeric_limits<int>::max();
  if (--replanIn_ <= 0 || newGoal) {
    PlanTo(app, goal);
    replanIn_ = kReplanEvery;
  }
  SeeEnemies(app);
  const int shipTx = PixelToTile(app.play.Player[player::kX], app.world.TileSize);
  const int shipTy = PixelToTile(app.play.Player[player::kY], app.world.TileSize);
  TrackHeadway(Distance(shipTx, shipTy));
  Target target = Steer(app, shipTx, shipTy);
  LevelWithChaser(app, target);
  // An enemy in the row comes first, then a block to break.
  int aim = EnemyInLine(app);
  if (aim == 0 && target.fire) aim = target.blockSide;
  keys = ChooseKeys(app, target, aim);
  if (aim == 0) return keys;
  const float facing = app.play.Player[player::kFacing] == -1 ? -1.0f : 1.0f;
  if (facing == static_cast<float>(aim)) {
    keys.fire = true;
  } else {
    // Turn that way: a short push.
    keys.left = aim < 0;
    keys.right = aim > 0;
  }
  return keys;
}
