// Level 1 played through the windowless game by a scripted pilot: shoot open the block that
// hides item 0, pick the item up, carry it to the base and land on the pad.
#include <algorithm>
#include <cmath>
#include <deque>
#include <vector>

#include "combat_arena.h"
#include "input/input_device.h"

namespace {

constexpr float kTile = 31.0f;
constexpr int kWide = world::kTilesX, kHigh = world::kTilesY;

struct TilePos {
  int x, y;
};

// Flies the ship by the joystick and the fire key, one update at a time, along the open
// tiles of the level's rooms; the sounds played are kept in `sounds`.
class Pilot {
 public:
  explicit Pilot(HeadlessGame& game) : game_(game), app_(game.app()), log_(app_) {}

  TilePos ShipTile() const {
    return {static_cast<int>(app_.Player[player::kX] / kTile),
            static_cast<int>(app_.Player[player::kY] / kTile)};
  }
  void Step() {
    game_.Step();
    const std::vector<int> played = log_.Played();
    sounds.insert(sounds.end(), played.begin(), played.end());
  }
  int Count(int id) const { return static_cast<int>(std::count(sounds.begin(), sounds.end(), id)); }
  // Flies to the centre of a tile; false when it is out of reach or takes too long.
  bool FlyTo(TilePos goal, int limit = 3000) {
    const std::vector<TilePos> path = Route(ShipTile(), goal);
    size_t next = 0;
    for (int frame = 0; frame < limit && next < path.size(); ++frame) {
      const float dx = Centre(path[next].x) - app_.Player[player::kX];
      const float dy = Centre(path[next].y) - app_.Player[player::kY];
      if (std::abs(dx) < 6 && std::abs(dy) < 6) {
        ++next;
        continue;
      }
      Steer(dx, dy);
      Step();
      if (app_.ExitState != 0) return false;
    }
    return !path.empty() && next == path.size();
  }
  // One update holding the ship at the centre of its tile, turned toward `facing`.
  void Hover(float facing) {
    const TilePos here = ShipTile();
    Steer(Centre(here.x) - app_.Player[player::kX], Centre(here.y) - app_.Player[player::kY],
          facing);
    Step();
  }

  static void Stick(float x, float y) {
    GetInputDevice()->joyStates[0].axisX[0] = x;
    GetInputDevice()->joyStates[0].axisY[0] = y;
  }

  std::vector<int> sounds;

 private:
  static float Centre(int tile) { return (static_cast<float>(tile) + 0.5f) * kTile; }

  bool Open(int tx, int ty) const {
    if (tx < 0 || ty < 0 || tx >= kWide || ty >= kHigh) return false;
    const int code = app_.World[world::TileIndex(tx / world::kRoomWidth, ty / world::kRoomHeight,
                                                 tx % world::kRoomWidth, ty % world::kRoomHeight)];
    return !MyApp::isSolid(code) && app_.isCol(Centre(tx), Centre(ty)) != 0;
  }

  // Shortest run of open tiles, four-connected, from one tile to another (start excluded).
  std::vector<TilePos> Route(TilePos from, TilePos to) const {
    const auto id = [](TilePos t) { return t.y * kWide + t.x; };
    std::vector<int> cameFrom(kWide * kHigh, -1);
    cameFrom[id(from)] = id(from);
    std::deque<TilePos> open{from};
    while (!open.empty() && cameFrom[id(to)] < 0) {
      const TilePos at = open.front();
      open.pop_front();
      for (const TilePos step : {TilePos{1, 0}, TilePos{-1, 0}, TilePos{0, 1}, TilePos{0, -1}}) {
        const TilePos n{at.x + step.x, at.y + step.y};
        if (!Open(n.x, n.y) || cameFrom[id(n)] >= 0) continue;
        cameFrom[id(n)] = id(at);
        open.push_back(n);
      }
    }
    std::vector<TilePos> path;
    for (int at = id(to); cameFrom[at] >= 0 && at != id(from); at = cameFrom[at])
      path.push_back({at % kWide, at / kWide});
    std::reverse(path.begin(), path.end());
    return path;
  }

  // The stick toward a point dx, dy away: speed proportional to the distance, thrust against
  // gravity whenever the ship sinks faster than it should. A facing of -1 or 1 turns the
  // ship that way when it is close.
  void Steer(float dx, float dy, float facing = 0) {
    const float vx = app_.Player[player::kVX], vy = app_.Player[player::kVY];
    const float wantX = std::clamp(dx * 0.3f, -4.0f, 4.0f);
    const float wantY = std::clamp(dy * 0.3f, -3.0f, 3.0f);
    float stickX = std::clamp((wantX - vx) * 0.5f, -1.0f, 1.0f);
    if (facing != 0 && std::abs(dx) < 4 && app_.Player[player::kFacing] != facing)
      stickX = 0.3f * facing;
    const float stickY = vy > wantY ? 1.0f : 0.0f;
    // The stick counts only beyond its dead zone; a small push still needs the key ramps off.
    Stick(std::abs(stickX) > 0.21f || stickY > 0 ? stickX : 0, stickY);
  }

  HeadlessGame& game_;
  MyApp& app_;
  SoundLog log_;
};

TEST(LevelRun, ShootItemZeroOutCarryItHomeAndLandOnThePad) {
  HeadlessGame game;
  MyApp& app = game.app();
  game.StepUntilLoaded();
  LoadPlayEffects(app);
  app.Level = 1;
  app.ScreenMode = ModeLoadGame;
  Pilot pilot(game);
  pilot.Step();
  ASSERT_EQ(app.ScreenMode, ModeInGame);
  while (app.LevelIntro > 0) pilot.Step();

  // Item 0's block, and a firing spot two tiles short of it along its row.
  const int itemX = static_cast<int>(app.Player[player::Item(0, player::kItemTileX)]);
  const int itemY = static_cast<int>(app.Player[player::Item(0, player::kItemTileY)]);
  const TilePos item{itemX / world::kRooms * world::kRoomWidth + itemX % world::kRooms,
                     itemY / world::kRooms * world::kRoomHeight + itemY % world::kRooms};
  int* block =
      &app.World[world::TileIndex(item.x / world::kRoomWidth, item.y / world::kRoomHeight,
                                  item.x % world::kRoomWidth, item.y % world::kRoomHeight)];
  ASSERT_GE(block[tile::kCode], code::kItemBlock);
  ASSERT_LT(block[tile::kCode], code::kItemBlock + code::kItemBlockStride);
  const int hitPoints = block[tile::kHitPoints];
  ASSERT_TRUE(pilot.FlyTo({item.x - 2, item.y}))
      << "ship at " << pilot.ShipTile().x << "," << pilot.ShipTile().y;

  const int scoreBefore = app.Score;
  pilot.sounds.clear();
  game.KeyDown('Z');
  for (int i = 0; i < 200 && block[tile::kCode] != code::kFreeItem; ++i) pilot.Hover(1);
  game.KeyUp('Z');
  ASSERT_EQ(block[tile::kCode], code::kFreeItem) << "the block opened on item 0";
  EXPECT_EQ(app.Score - scoreBefore, 5 * hitPoints + 10);
  EXPECT_EQ(pilot.Count(2), hitPoints) << "one shot per hit point";
  EXPECT_EQ(pilot.Count(5), hitPoints);
  EXPECT_EQ(pilot.Count(kBreakSound), 1);

  pilot.sounds.clear();
  ASSERT_TRUE(pilot.FlyTo(item));
  EXPECT_EQ(app.Player[player::Item(0, player::kItemState)], player::kItemCarried);
  EXPECT_EQ(block[tile::kCode], code::kEmpty);
  EXPECT_EQ(pilot.Count(7), 1);
  EXPECT_EQ(app.Score - scoreBefore, 5 * hitPoints + 20);

  // Home: above the pad in the start room, then down onto it.
  const int baseX = static_cast<int>(app.Player[player::kRespawnRoomX]) * world::kRoomWidth;
  const int baseY = static_cast<int>(app.Player[player::kRespawnRoomY]) * world::kRoomHeight;
  pilot.sounds.clear();
  ASSERT_TRUE(pilot.FlyTo({baseX + 7, baseY + 7}));
  Pilot::Stick(0, 0);  // let go: the ship settles on the pad
  for (int i = 0; i < 60; ++i) pilot.Step();
  EXPECT_EQ(app.Player[player::Item(0, player::kItemState)], player::kItemDelivered);
  EXPECT_EQ(pilot.Count(6), 1);
  EXPECT_EQ(app.Score - scoreBefore, 5 * hitPoints + 70);
  EXPECT_EQ(app.ExitState, 0);
  EXPECT_EQ(app.Lives, 3);
}

}  // namespace
