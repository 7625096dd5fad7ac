// The game-play loop where the traces of tests/sim do not reach: walls met from each side, the
// level finishing once, items dropped into crowded or foreign rooms, the HUD, room entry by
// level, positions that are not numbers, the intro, and that a frame of play allocates nothing.
#include <gtest/gtest.h>

#include <cmath>
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
    LoadGame(app.frame, app.io, app.world, app.play, app.level, app.screens, app.pause);
    app.play.LevelIntro = 0;
    Stick(0, 0);
  }
  float& P(int index) { return app.play.Player[index]; }
  Room Start() {
    return {static_cast<int>(P(player::kRespawnRoomX)), static_cast<int>(P(player::kRespawnRoomY))};
  }
  int& Tile(Room room, int x, int y) {
    return app.world.Tiles[world::TileIndex(room.rx, room.ry, x, y)];
  }
  // The ship at a pixel offset from the centre of a tile.
  void PlaceShip(Room room, int x, int y, float dx = 0, float dy = 0) {
    P(player::kX) = kTile * (16 * room.rx + x + 0.5f) + dx;
    P(player::kY) = kTile * (12 * room.ry + y + 0.5f) + dy;
  }
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
  void CarryAll() {
    for (int item = 0; item < 3; ++item)
      P(player::Item(item, player::kItemState)) = player::kItemCarried;
  }

  HeadlessGame game;
  MyApp& app = game.app();
};

// A small push of the stick keeps the facing. (The traces hold flight against the walls.)
TEST_F(PlayTest, TheStickTurnsTheShipPastAQuarter) {
  for (const auto& [stick, facing] : {std::pair{-1.0f, -1.0f}, {0.24f, -1.0f}, {0.5f, 1.0f}}) {
    Stick(stick, 0);
    app.level.Game();
    EXPECT_EQ(P(player::kFacing), facing) << stick;
  }
}

// The level ends at -91 and the menu moves on to the next level once.
TEST_F(PlayTest, TakeOffFinishesTheLevelOnce) {
  Frames(40);
  CarryAll();
  app.menu.MenuLevel = 4;
  while (app.play.ExitState > -90) app.level.Game();
  app.frame.LoadStep = 0;
  app.OnUpdate();
  EXPECT_EQ(app.play.ExitState, -91);
  EXPECT_EQ(app.menu.MenuLevel, 5);
  for (int i = 0; i < 10; ++i) EXPECT_FALSE(app.level.Game());
}

// A wrecked ship drops its items near the wreck, searching wider in a crowded room and sending
// them back to their hiding places from a room off the level; none is lost or written over a
// block. The last life ends the run instead.
TEST_F(PlayTest, DestroyedShipDropsItsItemsWhereTheyCanBeReached) {
  enum Inside { kOpen, kCrowded, kOffLevel };
  for (const Inside inside : {kOpen, kCrowded, kOffLevel}) {
    SCOPED_TRACE(inside);
    StartLevel(1);
    const Room at = inside == kOffLevel ? Room{0, 0} : OtherRooms().front();
    for (int y = 1; y < 11 && inside != kOffLevel; ++y)
      for (int x = 1; x < 15; ++x) Tile(at, x, y) = inside == kCrowded && x + y < 24 ? 48 : 0;
    const int blocks = CountCode(code::kBlock);
    P(player::kRoomX) = at.rx;
    P(player::kRoomY) = at.ry;
    PlaceShip(at, 7, 6);
    CarryAll();
    app.play.ExitState = 1;
    Frames(60);
    EXPECT_EQ(app.play.Lives, 2);
    EXPECT_EQ(CountCode(code::kBlock), blocks);
    for (int item = 0; item < 3; ++item) EXPECT_EQ(CountCode(code::kFreeItem + item), 1) << item;
    for (int i = 0; i < world::kUsedInts; i += world::kTileInts) {
      if (app.world.Tiles[i] < code::kFreeItem || app.world.Tiles[i] > code::kFreeItem + 2)
        continue;
      const int room = i / world::kRoomInts, x = i / world::kTileInts % 16;
      const int y = i % world::kRoomInts / world::kTileRowInts;
      EXPECT_TRUE(InLevel({room % 32, room / 32}));
      EXPECT_TRUE(inside != kOpen || (std::abs(x - 7) <= 2 && std::abs(y - 6) <= 2));
    }
  }
  app.play.Lives = 1;
  app.play.ExitState = 1;
  Frames(60);
  EXPECT_EQ(app.play.GameOverTimer, 1);
  EXPECT_GT(app.play.ExitState, 60) << "the ship stays destroyed";
}

// However far the count falls, the lives count is one dimmed "0".
TEST_F(PlayTest, TheHudShowsNoLivesBelowZero) {
  app.play.Lives = -2;
  app.frame.FontImage = kFontSlot;
  app.frame.ImageInfo[imageinfo::Index(kFontSlot, imageinfo::kFrameW)] = kGlyphW;
  app.frame.ImageInfo[imageinfo::Index(kFontSlot, imageinfo::kFrameH)] = kGlyphH;
  app.level.Game();
  std::vector<std::pair<float, float>> glyphs;  // frame, alpha
  for (int at = 0; at < app.frame.DrawCount; at += drawrec::kFloats) {
    const float* r = &app.frame.DrawList[at];
    if (r[drawrec::kSlot] == kFontSlot && r[drawrec::kY] < 32 &&
        std::fabs(r[drawrec::kX] - (app.frame.ScreenWidth - 128)) < 16)
      glyphs.emplace_back(r[drawrec::kFrame], r[drawrec::kAlpha]);
  }
  EXPECT_EQ(glyphs, (std::vector<std::pair<float, float>>{{'0' - 32, 0.3f}}));
}

// Outside the world, in an unmarked room or at a position that is not a number, the ship is
// destroyed; a stick reading NaN or infinity leaves its motion finite.
TEST_F(PlayTest, LeavingTheLevelsRoomsDestroysTheShipAndBadSticksAreIgnored) {
  const float nan = std::nanf(""), inf = std::numeric_limits<float>::infinity();
  for (const auto& [x, y] : {std::pair{100.0f, kTile * 60 + 100}, {-50.0f, -50.0f}, {nan, nan}}) {
    app.play.ExitState = 0;
    P(player::kRoomX) = P(player::kRespawnRoomX);
    P(player::kRoomY) = P(player::kRespawnRoomY);
    P(player::kX) = x;
    P(player::kY) = y;
    app.level.Game();
    EXPECT_EQ(app.play.ExitState, 1) << x;
  }
  for (const float bad : {nan, inf}) {
    app.play.ExitState = 0;
    PlaceShip(Start(), 3, 2);
    Stick(bad, bad);
    app.level.Game();
    EXPECT_TRUE(std::isfinite(P(player::kVX) + P(player::kVY) + P(player::kX) + P(player::kY)));
  }
}

// A new level has no orbiting ball; the ship shows and the tune starts once the intro ends.
TEST_F(PlayTest, LoadGameClearsTheBallAndTheIntroHidesTheShip) {
  P(player::kOrbitRecord) = 40;
  app.save.Settings[kSoundModeSetting] = 1;
  LoadGame(app.frame, app.io, app.world, app.play, app.level, app.screens, app.pause);
  EXPECT_EQ(P(player::kOrbitRecord), -1);
  const auto shipDrawn = [this] {
    for (int at = 0; at < app.frame.DrawCount; at += drawrec::kFloats)
      if (app.frame.DrawList[at + drawrec::kSlot] == 1 &&
          app.frame.DrawList[at + drawrec::kFrame] == 0 &&
          app.frame.DrawList[at + drawrec::kY] > 32)
        return true;
    return false;
  };
  for (int frame = 0; frame < 90; ++frame) {
    app.level.Game();
    ASSERT_FALSE(shipDrawn()) << frame;
  }
  EXPECT_EQ(app.audio.MusicPlaying, 1);
  app.level.Game();
  EXPECT_TRUE(shipDrawn());
}

TEST_F(PlayTest, AFrameOfPlayAllocatesNothing) {
  app.save.Settings[kSoundModeSetting] = 1;
  Frames(5);
  for (int i = 0; i < 300; ++i) app.play.ThrowParticle(P(player::kX), P(player::kY), 2, 3);
  app.play.Score = 12345678;  // the HUD's score counts up every frame
  const int before = ThreadAllocations();
  Frames(60);
  EXPECT_EQ(ThreadAllocations(), before);
}

}  // namespace
