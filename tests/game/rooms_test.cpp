// Rooms and backdrops: which enemies drawing a room hands over, and the star field's wrap. The
// frame golden holds how tiles and stars are drawn; pickups show in the corpus traces.
#include <gtest/gtest.h>

#include <array>
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
