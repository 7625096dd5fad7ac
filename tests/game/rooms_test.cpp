// Rooms and backdrops: what drawing a room collects and hands over, and the star field's wrap.
// The frame golden holds how tiles and stars are drawn.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <tuple>

#include "game/core/globals.h"
#include "game/core/records.h"
#include "sim/headless_game.h"

namespace {

constexpr float kTile = 31.0f;

class RoomsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app.world.Level = 1;
    LoadGame(app.frame, app.io, app.world, app.play, app.level, app.screens, app.pause);
    rx = static_cast<int>(app.play.Player[player::kRespawnRoomX]);
    ry = static_cast<int>(app.play.Player[player::kRespawnRoomY]);
    app.play.CamX = kTile * 16 * rx;
    app.play.CamY = kTile * 12 * ry;
    app.play.Objects.fill(0);
  }
  int& Tile(int roomX, int x, int y) { return app.world.Tiles[world::TileIndex(roomX, ry, x, y)]; }
  // The ship at a pixel offset from the centre of a tile of the start room.
  void ShipAt(int x, int y, float dx = 0, float dy = 0) {
    app.play.Player[player::kX] = kTile * (16 * rx + x + 0.5f) + dx;
    app.play.Player[player::kY] = kTile * (12 * ry + y + 0.5f) + dy;
  }
  static int Live(const float* pool, int records, int floats) {
    int n = 0;
    for (int i = 0; i < records; ++i) n += pool[i * floats] > 0;
    return n;
  }

  HeadlessGame game;
  MyApp& app = game.app();
  int rx = 0, ry = 0;
};

// Pickups are taken within 28 pixels, even from the room beyond a doorway (a weapon on the
// first column of the room to the right, the ship on the last of the start room); the orbit
// blaster starts the ball and keeps the weapon; loose items are carried from within 48.
TEST_F(RoomsTest, PickupsAreTakenWithinTheirReach) {
  app.world.Tiles[world::TileIndex(rx + 1, ry, 0, 0) + tile::PathMarkField(0)] = 1;
  constexpr int kItem = code::kFreeItem + 2;
  for (const auto& [code, room, dx, dy, taken, weapon, sparks] :
       {std::tuple{451, 1, 0.0f, 0.0f, false, 50.0f, 0},
        {452, 1, 2.9f, 0, false, 50, 0},
        {452, 1, 3.1f, 0, true, 52, 24},
        {453, 0, 0, 0, true, 50, 24},
        {kItem, 0, 47.5f, -47.5f, true, 50, 12},
        {kItem, 0, 48, -48, false, 50, 0}}) {
    SCOPED_TRACE(testing::Message() << code << " at " << dx << "," << dy);
    app.play.Player[player::kWeapon] = 50;
    app.play.Player[player::kOrbitFrames] = 0;
    app.play.Player[player::Item(2, player::kItemState)] = player::kItemInWorld;
    app.play.ResetParticles(particle::kDefaultCount);
    int& tile = Tile(rx + room, room ? 0 : 15, 5);
    tile = code;
    ShipAt(15, 5, dx, dy);
    app.level.DrawRoom(rx + room, ry, 1 - room);
    EXPECT_EQ(tile, taken ? 0 : code);
    EXPECT_EQ(app.play.Player[player::kWeapon], weapon);
    EXPECT_EQ(Live(app.play.Particles.data(), app.play.ParticleCount + 1, particle::kFloats),
              sparks);
    EXPECT_EQ(app.play.Player[player::kOrbitFrames], code == 453 ? 450 : 0);
    EXPECT_EQ(app.play.Player[player::Item(2, player::kItemState)] == player::kItemCarried,
              code == kItem && taken);
    tile = 0;
  }
}

// Waiting enemies enter from the current room at once, parked ones once the ship is more than
// 128 away (barriers at once); a neighbouring room or a full pool keeps them in the map.
TEST_F(RoomsTest, EnemiesInTheMapEnterOnlyFromTheCurrentRoom) {
  for (const auto& [code, active, shipDx, full, enters] : {std::tuple{408, 0, 200.0f, false, false},
                                                           {408, 1, 0, false, true},
                                                           {408, 1, 0, true, false},
                                                           {509, 1, 128, false, false},
                                                           {509, 1, 128.5f, false, true},
                                                           {512, 1, 10, false, true}}) {
    SCOPED_TRACE(testing::Message() << code << " active " << active << " at " << shipDx);
    for (int r = 0; r < object::kRecords; ++r)
      app.play.Objects[r * object::kFloats + object::kKind] = full;
    Tile(rx, 4, 4) = code;
    ShipAt(4, 4, shipDx);
    app.level.DrawRoom(rx, ry, active);
    EXPECT_EQ(Tile(rx, 4, 4), enters ? 0 : code);
    EXPECT_EQ(Live(app.play.Objects.data(), object::kRecords, object::kFloats),
              full ? object::kRecords : enters);
  }
}

// A delivered item shows beside its shelf; unmarked rooms and rooms outside the world draw
// nothing.
TEST_F(RoomsTest, ADeliveredItemShowsBesideItsShelfAndUnmarkedRoomsDrawNothing) {
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 16; ++x) Tile(rx, x, y) = 0;
  Tile(rx, 1, 2) = code::kBase + 1;
  app.play.Player[player::Item(0, player::kItemState)] = player::kItemDelivered;
  app.frame.DrawCount = 0;
  app.level.DrawRoom(rx, ry, 1);
  ASSERT_EQ(app.frame.DrawCount, 2 * drawrec::kFloats);
  const float* r = &app.frame.DrawList[drawrec::kFloats];
  EXPECT_EQ((std::array{r[drawrec::kSlot], r[drawrec::kX], r[drawrec::kY], r[drawrec::kFrame]}),
            (std::array<float, 4>{1, kTile, 2.5f * kTile, 40}));
  app.frame.DrawCount = 0;
  for (const auto& [roomX, roomY] : {std::pair{0, 0}, {-1, 5}, {32, 5}})
    app.level.DrawRoom(roomX, roomY, 1);
  EXPECT_EQ(app.frame.DrawCount, 0);
}

// With the camera moving down a star leaving the bottom comes back at the top, renewed; no
// other star is renewed.
TEST(Stars, AStarLeavingTheBottomComesBackAtTheTopRenewed) {
  HeadlessGame game;
  MyApp& app = game.app();
  app.play.ResetStars(app.frame, 1);
  float* star = &app.play.Stars[0];
  float* other = &app.play.Stars[star::kFloats];
  const float margin = app.frame.Overscan + 16, height = app.frame.ScreenHeight;
  star[star::kX] = 100;
  star[star::kY] = height + margin - 3;
  star[star::kDepth] = 0.5f;
  other[star::kX] = other[star::kY] = 200;
  const std::array kept = {other[star::kDepth], other[star::kFrame]};
  app.play.DoStars(app.frame, 0, 8);
  EXPECT_FLOAT_EQ(star[star::kY], margin + 1 - 2 * app.frame.Overscan - 32);
  EXPECT_TRUE(star[star::kX] >= -8 && star[star::kX] < app.frame.ScreenWidth + 8);
  EXPECT_TRUE(star[star::kDepth] >= 0.2f && star[star::kDepth] < 0.8f);
  EXPECT_EQ((std::array{other[star::kDepth], other[star::kFrame]}), kept);
}

}  // namespace
