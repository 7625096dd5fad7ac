// The gameplay loop: ship physics and collision, deliveries and take-off, destruction and
// respawn, room entry, the intro, the HUD, and that a frame of play allocates nothing.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <tuple>
#include <vector>

#include "allocation_counter.h"
#include "game/core/globals.h"
#include "game/core/records.h"
#include "game/frame/asset_table.h"
#include "game/frame/glyphs.h"
#include "input/input_device.h"
#include "sim/headless_game.h"

namespace {

constexpr float kTile = 31.0f;

struct Room {
  int rx, ry;
  bool operator==(const Room&) const = default;
};

class PlayTest : public ::testing::Test {
 protected:
  void SetUp() override { StartLevel(1); }

  void StartLevel(int level) {
    app.world.Level = level;
    app.LoadGame();
    app.play.LevelIntro = 0;
    app.save.Settings[kSoundModeSetting] = 1;  // effects on, so effects advance the rotation
    Stick(0, 0);
  }
  float& P(int index) { return app.play.Player[index]; }
  Room Start() const {
    return {static_cast<int>(app.play.Player[player::kRespawnRoomX]),
            static_cast<int>(app.play.Player[player::kRespawnRoomY])};
  }
  int& Tile(Room room, int x, int y) {
    return app.world.Tiles[world::TileIndex(room.rx, room.ry, x, y) + tile::kCode];
  }
  // Puts the ship at a pixel offset from the centre of a tile of a room.
  void PlaceShip(Room room, int x, int y, float dx = 0, float dy = 0) {
    P(player::kX) = kTile * (16 * room.rx + x + 0.5f) + dx;
    P(player::kY) = kTile * (12 * room.ry + y + 0.5f) + dy;
  }
  // Joystick 0 as the stick: y is up-positive here, as the stick reads it.
  static void Stick(float x, float y) {
    GetInputDevice()->joyStates[0].axisX[0] = x;
    GetInputDevice()->joyStates[0].axisY[0] = y;
  }
  void Frames(int n) {
    for (int i = 0; i < n; ++i) app.level.Game();
  }
  bool InLevel(Room room) {
    return app.world.RoomPathMarks(kTile * 16 * room.rx, kTile * 12 * room.ry) != 0;
  }
  // The marked rooms of the level other than the start room.
  std::vector<Room> OtherRooms() {
    std::vector<Room> rooms;
    for (int ry = 1; ry < 31; ++ry)
      for (int rx = 1; rx < 31; ++rx)
        if (InLevel({rx, ry}) && !(Room{rx, ry} == Start())) rooms.push_back({rx, ry});
    return rooms;
  }
  int CountCode(int code) {
    int n = 0;
    for (int i = 0; i < world::kUsedInts; i += world::kTileInts) n += app.world.Tiles[i] == code;
    return n;
  }
  bool ShipDrawn() {
    bool drawn = false;
    for (int at = 0; at < app.frame.DrawCount; at += drawrec::kFloats)
      drawn |= app.frame.DrawList[at + drawrec::kSlot] == 1 &&
               app.frame.DrawList[at + drawrec::kFrame] == 0 &&
               app.frame.DrawList[at + drawrec::kY] > 32;
    return drawn;
  }

  HeadlessGame game;
  MyApp& app = game.app();
};

// A solid neighbour stops only motion toward it, and only from the half of the tile next to
// it; a small push of the stick keeps the facing. (Drag, gravity and thrust are held by the
// pilot's forecast, which follows the flight update by update.)
TEST_F(PlayTest, WallsStopMotionTowardThemAndTheStickTurnsTheShip) {
  // The solid neighbour, the ship's offset from its tile's centre, its velocity, what stops.
  for (const auto& [dx, dy, offX, offY, vx, vy, stopsX, stopsY] :
       {std::tuple{-1, 0, -5.0f, 0.0f, -3.0f, 0.0f, true, false},
        {-1, 0, 5, 0, -3, 0, false, false},
        {-1, 0, -5, 0, 3, 0, false, false},
        {1, 0, 5, 0, 3, 0, true, false},
        {0, -1, 0, -5, 0, -3, false, true},
        {0, 1, 0, 5, 0, 3, false, true},
        {0, 1, 0, -5, 0, 3, false, false},
        {0, 1, 0, 5, 0, -3, false, false}}) {
    SCOPED_TRACE(testing::Message() << dx << "," << dy << " off " << offX << "," << offY);
    Tile(Start(), 3 + dx, 2 + dy) = code::kBlock;
    PlaceShip(Start(), 3, 2, offX, offY);
    P(player::kVX) = vx;
    P(player::kVY) = vy;
    app.level.Game();
    EXPECT_NEAR(P(player::kVX), stopsX ? 0 : vx > 0 ? vx - 0.5f : vx < 0 ? vx + 0.5f : 0, 1e-5);
    EXPECT_NEAR(P(player::kVY), stopsY ? 0 : vy + 0.35f, 1e-5);
    Tile(Start(), 3 + dx, 2 + dy) = code::kEmpty;
  }
  for (const auto& [stick, facing] : {std::pair{-1.0f, -1.0f}, {0.24f, -1.0f}, {0.5f, 1.0f}}) {
    Stick(stick, 0);
    app.level.Game();
    EXPECT_EQ(P(player::kFacing), facing) << stick << ": a small push keeps the facing";
  }
}

// Delivery scores and take-off are held by the delivery trace of tests/sim; here, the level
// ends at -91 and the screen flow moves the menu on to the next level once.
TEST_F(PlayTest, TakeOffFinishesTheLevelOnce) {
  Frames(40);  // settle on the pad
  for (int item = 0; item < 3; ++item)
    P(player::Item(item, player::kItemState)) = player::kItemCarried;
  app.menu.MenuLevel = 4;
  while (app.play.ExitState > -90) app.level.Game();
  EXPECT_EQ(app.play.GameOverTimer, 0);
  app.frame.LoadStep = 0;  // nothing to load: the update runs the play screen
  app.OnUpdate();
  EXPECT_EQ(app.play.ExitState, -91);
  EXPECT_GE(app.play.GameOverTimer, 1);
  EXPECT_EQ(app.menu.MenuLevel, 5);
  for (int i = 0; i < 10; ++i) EXPECT_FALSE(app.level.Game()) << "finished once";
}

// A wrecked ship drops what it carries near the wreck, widening the search in a crowded room,
// and sends it back to its hiding place from a room off the level (the world's first column
// of rooms is never marked); no item is ever lost or written over a block. The ship respawns
// at rest on the base; the last life ends the run instead.
TEST_F(PlayTest, DestroyedShipDropsItsItemsWhereTheyCanBeReachedAndRespawns) {
  const Room room = OtherRooms().front();
  enum Inside { kOpen, kCrowded, kOffLevel };
  for (const Inside inside : {kOpen, kCrowded, kOffLevel}) {
    SCOPED_TRACE(inside);
    StartLevel(1);
    const Room at = inside == kOffLevel ? Room{0, 0} : room;
    for (int y = 1; y < 11 && inside != kOffLevel; ++y)
      for (int x = 1; x < 15; ++x) Tile(at, x, y) = inside == kCrowded ? code::kBlock : 0;
    if (inside != kOffLevel) Tile(at, 14, 10) = 0;  // when crowded, the only free tile
    const int blocks = CountCode(code::kBlock);
    P(player::kRoomX) = at.rx;
    P(player::kRoomY) = at.ry;
    PlaceShip(at, 7, 6);
    for (int item = 0; item < 3; ++item)
      P(player::Item(item, player::kItemState)) = player::kItemCarried;
    app.play.ExitState = 1;
    Frames(59);
    EXPECT_EQ(app.play.Lives, 3);
    app.level.Game();
    EXPECT_EQ(app.play.Lives, 2);
    EXPECT_EQ(app.play.ExitState, 0);
    EXPECT_EQ(CountCode(code::kBlock), blocks) << "nothing was overwritten";
    for (int item = 0; item < 3; ++item) {
      EXPECT_EQ(P(player::Item(item, player::kItemState)), player::kItemInWorld);
      EXPECT_EQ(CountCode(code::kFreeItem + item), 1) << "item " << item;
    }
    for (int i = 0; i < world::kUsedInts; i += world::kTileInts) {
      if (app.world.Tiles[i] < code::kFreeItem || app.world.Tiles[i] > code::kFreeItem + 2)
        continue;
      const int index = i / world::kRoomInts, x = i / world::kTileInts % 16;
      const int y = i % world::kRoomInts / world::kTileRowInts;
      EXPECT_TRUE(InLevel({index % 32, index / 32})) << "dropped where the ship can reach it";
      EXPECT_TRUE(inside != kOpen || (std::abs(x - 7) <= 2 && std::abs(y - 6) <= 2));
    }
    EXPECT_TRUE(inside != kCrowded || Tile(at, 14, 10) >= code::kFreeItem);
    // The rest of the frame's physics has already begun to act.
    EXPECT_EQ(P(player::kX), P(player::kRespawnX));
    EXPECT_NEAR(P(player::kY), P(player::kRespawnY), 0.2f);
    EXPECT_EQ(P(player::kRoomX), P(player::kRespawnRoomX));
    EXPECT_EQ(P(player::kVX), 0);
    EXPECT_LE(P(player::kVY), 0.35f);
  }
  app.play.Lives = 1;
  app.play.ExitState = 1;
  Frames(60);
  EXPECT_EQ(app.play.GameOverTimer, 1);
  EXPECT_EQ(app.play.Lives, 0);
  EXPECT_GT(app.play.ExitState, 60) << "the ship stays destroyed";
}

// However far the count falls, the HUD's lives count is one glyph, "0", centred on
// (screen width - 128, 16) at the dimmed alpha.
TEST_F(PlayTest, TheHudShowsNoLivesBelowZero) {
  app.play.Lives = -2;
  app.frame.FontImage = kFontSlot;
  app.frame.ImageInfo[imageinfo::Index(kFontSlot, imageinfo::kFrameW)] = kGlyphW;
  app.frame.ImageInfo[imageinfo::Index(kFontSlot, imageinfo::kFrameH)] = kGlyphH;
  app.level.Game();
  std::vector<std::pair<float, float>> glyphs;  // frame, alpha
  for (const float* r = app.frame.DrawList.data();
       r < app.frame.DrawList.data() + app.frame.DrawCount; r += drawrec::kFloats)
    if (r[drawrec::kSlot] == kFontSlot &&
        std::fabs(r[drawrec::kX] - (app.frame.ScreenWidth - 128)) < 16 && r[drawrec::kY] < 32)
      glyphs.emplace_back(r[drawrec::kFrame], r[drawrec::kAlpha]);
  EXPECT_EQ(glyphs, (std::vector<std::pair<float, float>>{{'0' - 32, 0.3f}}));
}

// Room entry brings 0..1 enemies on level 1, up to 2 on level 30 and 3 on level 60, every
// count of them somewhere, and never any into the start room.
TEST_F(PlayTest, EnteringARoomBringsEnemiesByLevelButNeverIntoTheStartRoom) {
  for (const auto& [level, limit] : {std::pair{1, 1}, {30, 2}, {60, 3}}) {
    SCOPED_TRACE(level);
    StartLevel(level);
    std::vector<int> seen(limit + 1, 0);
    for (const Room& room : OtherRooms()) {
      for (const Room& at : {room, Start()}) {
        app.play.Objects.fill(0);
        PlaceShip(at, 3, 2);
        app.level.Game();
        ASSERT_EQ(P(player::kRoomX), at.rx);
        int n = 0;  // enemies of room entry: kinds 8..11
        for (int r = 0; r < object::kRecords; ++r) {
          const float* o = &app.play.Objects[r * object::kFloats];
          n += o[object::kKind] >= object::kWalker &&
               o[object::kKind] <= object::kAnticlockwiseCrawler &&
               o[object::kRoom] == world::RoomIndex(at.rx, at.ry);
        }
        ASSERT_LE(n, at == Start() ? 0 : limit);
        if (!(at == Start())) ++seen[n];
      }
    }
    for (int n = 0; n <= limit; ++n) EXPECT_GT(seen[n], 0) << n << " enemies never came";
  }
}

// Outside the world, in a room with no path mark or at a position that is not a number, the
// ship is destroyed; a joystick reading NaN or infinity leaves its motion finite.
TEST_F(PlayTest, LeavingTheLevelsRoomsDestroysTheShipAndBadSticksAreIgnored) {
  const float nan = std::nanf("");
  for (const auto& [x, y] :
       {std::pair{100.0f, kTile * 12 * 5 + 100}, {-50.0f, -50.0f}, {nan, nan}}) {
    app.play.ExitState = 0;
    P(player::kRoomX) = P(player::kRespawnRoomX);
    P(player::kRoomY) = P(player::kRespawnRoomY);
    P(player::kX) = x;
    P(player::kY) = y;
    app.level.Game();
    EXPECT_EQ(app.play.ExitState, 1) << x;
  }
  for (const float bad : {nan, std::numeric_limits<float>::infinity()}) {
    app.play.ExitState = 0;
    PlaceShip(Start(), 3, 2);
    Stick(bad, bad);
    app.level.Game();
    EXPECT_TRUE(std::isfinite(P(player::kVX)) && std::isfinite(P(player::kVY)));
    EXPECT_TRUE(std::isfinite(P(player::kX)) && std::isfinite(P(player::kY)));
  }
}

// A new level has no orbiting ball; the ship shows and the tune starts only once the intro
// ends.
TEST_F(PlayTest, TheIntroHidesTheShipUntilItEnds) {
  P(player::kOrbitRecord) = 40;
  app.LoadGame();
  EXPECT_EQ(P(player::kOrbitRecord), -1);
  for (int frame = 0; frame < 90; ++frame) {
    app.level.Game();
    EXPECT_FALSE(ShipDrawn()) << frame;
  }
  EXPECT_EQ((std::array{app.play.LevelIntro, app.audio.MusicPlaying}), (std::array{0, 1}));
  app.level.Game();
  EXPECT_TRUE(ShipDrawn());
}

TEST_F(PlayTest, AFrameOfPlayAllocatesNothing) {
  Frames(5);
  for (int i = 0; i < 300; ++i) app.play.ThrowParticle(P(player::kX), P(player::kY), 2, 3);
  app.play.Score = 12345678;  // the HUD's score counts up every frame
  const int before = ThreadAllocations();
  Frames(60);
  EXPECT_EQ(ThreadAllocations(), before);
  EXPECT_NE(app.play.ShownScore, 0);
}

}  // namespace
