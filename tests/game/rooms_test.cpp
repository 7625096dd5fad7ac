// Rooms and backdrops: what drawing a room collects and hands over, and the star field.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "base/random.h"
#include "game/globals.h"
#include "game/records.h"
#include "headless_game.h"

namespace {

constexpr float kTile = 31.0f;
constexpr int kSpriteSlot = 1;
constexpr int kStarSlot = 96;

class RoomsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app.Level = 1;
    app.LoadGame();
    rx = static_cast<int>(app.Player[player::kRespawnRoomX]);
    ry = static_cast<int>(app.Player[player::kRespawnRoomY]);
    app.CamX = kTile * 16 * rx;
    app.CamY = kTile * 12 * ry;
    app.Objects.fill(0);
    app.ResetParticles(particle::kDefaultCount);
  }
  int& Tile(int roomX, int roomY, int x, int y) {
    return app.World[world::TileIndex(roomX, roomY, x, y) + tile::kCode];
  }
  // Ship at a pixel offset from the centre of a tile of the start room.
  void ShipAt(int x, int y, float dx = 0, float dy = 0) {
    app.Player[player::kX] = kTile * (16 * rx + x + 0.5f) + dx;
    app.Player[player::kY] = kTile * (12 * ry + y + 0.5f) + dy;
  }
  int Objects() const {
    int n = 0;
    for (int r = 0; r < object::kRecords; ++r)
      if (app.Objects[r * object::kFloats + object::kKind] > 0) ++n;
    return n;
  }
  int LiveParticles() const {
    int n = 0;
    for (int i = 0; i <= app.ParticleCount; ++i)
      if (app.Particles[i * particle::kFloats + particle::kKind] > 0) ++n;
    return n;
  }

  HeadlessGame game;
  MyApp& app = game.app();
  int rx = 0, ry = 0;
};

TEST_F(RoomsTest, PickupsAreTakenWithin28PixelsEvenAcrossADoorway) {
  // The pickup lies in the room to the right, on its first column; the ship stands on the
  // current room's last column, one tile (31 px) away, and moves closer.
  if (app.isCol(kTile * 16 * (rx + 1), kTile * 12 * ry) == 0) {
    // Give the neighbour a path mark so it is drawn.
    app.World[world::TileIndex(rx + 1, ry, 0, 0) + tile::PathMarkField(0)] = 1;
  }
  struct Case {
    int code;
    float dx;
    bool taken;
    float weapon, ammo;
  };
  const Case cases[] = {
      {451, 0, false, 50, 4},
      {451, 3.5f, true, 51, 4},
      {452, 2.9f, false, 50, 4},
      {452, 3.1f, true, 52, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.code << " at " << 31 - c.dx);
    app.Player[player::kWeapon] = 50;
    app.Player[player::kAmmo] = 2;
    app.Score = 0;
    app.ResetParticles(particle::kDefaultCount);
    Tile(rx + 1, ry, 0, 5) = c.code;
    ShipAt(15, 5, c.dx);
    app.DrawCount = 0;
    app.DrawRoom(rx + 1, ry, 0);
    EXPECT_EQ(Tile(rx + 1, ry, 0, 5), c.taken ? 0 : c.code);
    EXPECT_EQ(app.Player[player::kWeapon], c.weapon);
    EXPECT_EQ(app.Player[player::kAmmo], c.taken ? 4 : 2);
    EXPECT_EQ(app.Score, c.taken ? 10 : 0);
    EXPECT_EQ(LiveParticles(), c.taken ? 24 : 0);
  }
}

TEST_F(RoomsTest, OrbitBlasterPickupStartsTheBallAndKeepsTheWeapon) {
  Tile(rx, ry, 3, 3) = 453;
  ShipAt(3, 3);
  app.DrawRoom(rx, ry, 1);
  EXPECT_EQ(Tile(rx, ry, 3, 3), 0);
  EXPECT_EQ(app.Player[player::kWeapon], 50);
  EXPECT_EQ(app.Player[player::kOrbitFrames], 450);
  EXPECT_EQ(app.Player[player::kOrbitAngle], 0);
  EXPECT_GE(app.Player[player::kOrbitRecord], 0);
}

TEST_F(RoomsTest, LooseItemsAreCarriedFromWithin48Pixels) {
  for (const auto& [dx, taken] : {std::pair{47.5f, true}, {48.0f, false}}) {
    app.Player[player::Item(2, player::kItemState)] = player::kItemInWorld;
    app.ResetParticles(particle::kDefaultCount);
    Tile(rx, ry, 3, 3) = code::kFreeItem + 2;
    ShipAt(3, 3, dx, -dx);
    app.DrawRoom(rx, ry, 1);
    EXPECT_EQ(app.Player[player::Item(2, player::kItemState)],
              taken ? player::kItemCarried : player::kItemInWorld)
        << dx;
    EXPECT_EQ(LiveParticles(), taken ? 12 : 0);
  }
}

TEST_F(RoomsTest, EnemiesInTheMapEnterOnlyFromTheCurrentRoom) {
  struct Case {
    const char* what;
    int code;
    int active;
    float shipDx;  // ship's distance from the tile, in pixels along x
    bool enters;
  };
  const Case cases[] = {
      {"waiting enemy in a drawn neighbour", 408, 0, 200, false},
      {"waiting enemy in the current room enters at once", 408, 1, 0, true},
      {"parked enemy waits while the ship is near", 509, 1, 128, false},
      {"parked enemy enters once the ship is 128 px away", 509, 1, 128.5f, true},
      {"parked enemy in a neighbour stays", 509, 0, 300, false},
      {"parked barrier enters even beside the ship", 512, 1, 10, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    app.Objects.fill(0);
    Tile(rx, ry, 4, 4) = c.code;
    ShipAt(4, 4, c.shipDx);
    app.DrawCount = 0;
    app.DrawRoom(rx, ry, c.active);
    EXPECT_EQ(Tile(rx, ry, 4, 4), c.enters ? 0 : c.code);
    EXPECT_EQ(Objects(), c.enters ? 1 : 0);
    // Enemies in the map are never drawn as tiles.
    for (int at = 0; at < app.DrawCount; at += drawrec::kFloats) {
      const bool sprite = app.DrawList[at + drawrec::kSlot] == kSpriteSlot;
      EXPECT_FALSE(sprite && app.DrawList[at + drawrec::kFrame] == c.code % 100);
    }
  }
  // With the pool full an enemy stays in the map, to try again on a later frame.
  for (int r = 0; r < object::kRecords; ++r) app.Objects[r * object::kFloats] = 1;
  Tile(rx, ry, 4, 4) = 408;
  app.DrawRoom(rx, ry, 1);
  EXPECT_EQ(Tile(rx, ry, 4, 4), 408);
}

TEST_F(RoomsTest, TilesDrawFromTheirImagesAndUnmarkedRoomsNotAtAll) {
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 16; ++x) {
      Tile(rx, ry, x, y) = 0;
    }
  app.World[world::TileIndex(rx, ry, 1, 1) + tile::kRotation] = 90;
  const int codes[] = {27, 101, 215, 330, 460};
  for (int i = 0; i < 5; ++i) Tile(rx, ry, 1, 1 + i) = codes[i];
  app.Player[player::Item(0, player::kItemState)] = player::kItemDelivered;
  ShipAt(12, 10);
  app.DrawCount = 0;
  app.DrawRoom(rx, ry, 1);
  // slot, x, y, rotation, frame for each record
  std::vector<std::array<float, 5>> got;
  for (int at = 0; at < app.DrawCount; at += drawrec::kFloats) {
    const float* r = &app.DrawList[at];
    got.push_back(
        {r[drawrec::kSlot], r[drawrec::kX], r[drawrec::kY], r[drawrec::kRot], r[drawrec::kFrame]});
  }
  const float x = 1.5f * kTile;
  const std::vector<std::array<float, 5>> expected = {
      {kSpriteSlot, x, 1.5f * kTile, -90, 27},
      {2, x, 2.5f * kTile, 0, 1},
      {kSpriteSlot, x - kTile / 2, 2.5f * kTile, 0, 40},  // delivered item 0 beside its shelf
      {kSpriteSlot, x, 3.5f * kTile, 0, 53},
      {kSpriteSlot, x, 4.5f * kTile, 0, 48},
      {kSpriteSlot, x, 5.5f * kTile, 0, 60},
  };
  EXPECT_EQ(got, expected);
  EXPECT_EQ(app.DrawRot, 0);

  app.DrawCount = 0;
  app.DrawRoom(0, 0, 1);
  app.DrawRoom(-1, 5, 1);
  app.DrawRoom(32, 5, 1);
  EXPECT_EQ(app.DrawCount, 0);
}

// ---- Stars ----

class StarsTest : public ::testing::Test {
 protected:
  float* Star(int i) { return &app.Stars[i * star::kFloats]; }
  HeadlessGame game;
  MyApp& app = game.app();
};

TEST_F(StarsTest, ResetKeepsTheCountOutsideItsRangeAndRefillsEveryStar) {
  for (const auto& [count, expected] : {std::pair{0, 100}, {500, 100}, {-4, 100}, {20, 20}}) {
    SCOPED_TRACE(count);
    app.StarCount = 100;
    app.Stars.fill(-1);
    Seed = 42;
    app.ResetStars(count);
    EXPECT_EQ(app.StarCount, expected);
    // Six draws per star: frame, x, y, depth and two more.
    Seed = 42;
    for (int i = 0; i <= expected; ++i) {
      const double frame = std::floor(255.99 * Rnd());
      const double x = (jscrw + 16) * Rnd() - 8, y = (jscrh + 16) * Rnd() - 8;
      const double depth = 0.2 + 0.6 * Rnd();
      Rnd();
      Rnd();
      EXPECT_EQ(Star(i)[star::kFrame], static_cast<float>(frame));
      EXPECT_FLOAT_EQ(Star(i)[star::kX], static_cast<float>(x));
      EXPECT_FLOAT_EQ(Star(i)[star::kY], static_cast<float>(y));
      EXPECT_FLOAT_EQ(Star(i)[star::kDepth], static_cast<float>(depth));
    }
    EXPECT_EQ(Star(expected + 1)[star::kDepth], -1);
  }
}

TEST_F(StarsTest, StarsWrapAtEachSideAndComeBackRenewed) {
  const float m = overscan + 16;
  const float spanX = jscrw + 2 * overscan + 32, spanY = jscrh + 2 * overscan + 32;
  struct Case {
    const char* what;
    float x, y;
    float dx, dy;
    bool horizontal;
    float wrappedX, wrappedY;  // the coordinate that wrapped, after the move
  };
  const Case cases[] = {
      {"left", -m + 3, 100, -4, 0, true, -m - 1 + spanX, 0},
      {"right", jscrw + m - 3, 100, 4, 0, true, jscrw + m + 1 - spanX, 0},
      {"top", 100, -m + 3, 0, -4, false, 0, -m - 1 + spanY},
      {"bottom", 100, jscrh + m - 3, 0, 4, false, 0, jscrh + m + 1 - spanY},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    app.ResetStars(1);
    Star(0)[star::kX] = c.x;
    Star(0)[star::kY] = c.y;
    Star(0)[star::kDepth] = 0.5f;
    Star(1)[star::kX] = Star(1)[star::kY] = 200;  // stays put, draws nothing
    Seed = 9;
    app.DoStars(c.dx * 2, c.dy * 2);
    const int seedAfter = Seed;
    // Renewal: the other coordinate, depth, then the frame as an integer draw.
    Seed = 9;
    const double other = (c.horizontal ? jscrh + 16 : jscrw + 16) * Rnd() - 8;
    const double depth = 0.2 + 0.6 * Rnd();
    const int frame = app.Rand(0, 255);
    const float* s = Star(0);
    EXPECT_FLOAT_EQ(c.horizontal ? s[star::kX] : s[star::kY],
                    c.horizontal ? c.wrappedX : c.wrappedY);
    EXPECT_FLOAT_EQ(c.horizontal ? s[star::kY] : s[star::kX], static_cast<float>(other));
    EXPECT_FLOAT_EQ(s[star::kDepth], static_cast<float>(depth));
    EXPECT_EQ(s[star::kFrame], frame);
    EXPECT_EQ(Seed, seedAfter) << "no other star drew";
  }
}

TEST_F(StarsTest, EachStarIsDrawnAtItsDepthAndMovesByIt) {
  app.ResetStars(3);
  std::array<float, 4> xs{};
  for (int i = 0; i < 4; ++i) {
    Star(i)[star::kX] = 100 + i;
    xs[i] = 100 + i - 10 * Star(i)[star::kDepth];
  }
  app.DrawCount = 0;
  app.DoStars(-10, 0);
  ASSERT_EQ(app.DrawCount, 4 * drawrec::kFloats);
  for (int i = 0; i < 4; ++i) {
    const float* r = &app.DrawList[i * drawrec::kFloats];
    EXPECT_EQ(r[drawrec::kSlot], kStarSlot);
    EXPECT_FLOAT_EQ(r[drawrec::kX], xs[i]);
    EXPECT_EQ(r[drawrec::kAlpha], Star(i)[star::kDepth]);
    EXPECT_EQ(r[drawrec::kSizeX], 1);
    EXPECT_EQ(r[drawrec::kFrame], Star(i)[star::kFrame]);
  }
  EXPECT_EQ(app.DrawAlpha, 1);
}

}  // namespace
