// The gameplay loop: ship physics and collision, deliveries and take-off, destruction and
// respawn, room entry, the HUD, and that a frame of play allocates nothing.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <new>
#include <vector>

#include "allocation_counter.h"
#include "base/random.h"
#include "game/asset_table.h"
#include "game/globals.h"
#include "game/glyphs.h"
#include "game/records.h"
#include "headless_game.h"
#include "input/input_device.h"

namespace {

constexpr float kTile = 31.0f;

class PlayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app.Level = 1;
    app.LoadGame();
    app.LevelIntro = 0;
    app.Settings[kSoundModeSetting] = 1;  // effects on, so effects advance the rotation
    Stick(0, 0);
  }

  float& P(int index) { return app.Player[index]; }
  int StartRoomX() const { return static_cast<int>(app.Player[player::kRespawnRoomX]); }
  int StartRoomY() const { return static_cast<int>(app.Player[player::kRespawnRoomY]); }
  int& Tile(int rx, int ry, int x, int y) {
    return app.World[world::TileIndex(rx, ry, x, y) + tile::kCode];
  }
  // Puts the ship at a pixel offset from the centre of a tile of the start room.
  void PlaceShip(int x, int y, float dx = 0, float dy = 0) {
    P(player::kX) = kTile * (16 * StartRoomX() + x + 0.5f) + dx;
    P(player::kY) = kTile * (12 * StartRoomY() + y + 0.5f) + dy;
  }
  // Joystick 0 as the stick: y is up-positive here, as the stick reads it.
  void Stick(float x, float y) {
    GetInputDevice()->joyStates[0].axisX[0] = x;
    GetInputDevice()->joyStates[0].axisY[0] = y;
  }
  int EffectsPlayed(int before) const { return (app.NextChannel - before + 24) % 24; }
  void Frames(int n) {
    for (int i = 0; i < n; ++i) app.Game();
  }

  HeadlessGame game;
  MyApp& app = game.app();
};

TEST_F(PlayTest, SteeringDragGravityAndThrustPerFrame) {
  struct Case {
    const char* what;
    float stickX, stickY;
    float vx, vy;               // at the start
    std::vector<float> expect;  // vx then vy after each frame
  };
  const Case cases[] = {
      {"released stick slows vx by 0.5 without crossing 0",
       0,
       0,
       1.2f,
       0,
       {0.7f, 0.35f, 0.2f, 0.7f, 0, 1.05f}},
      {"leftward drift stops at 0 too", 0, 0, -0.7f, 0, {-0.2f, 0.35f, 0, 0.7f}},
      {"full stick accelerates to 8", 1, 0, 6.5f, 0, {7.5f, 0.35f, 8, 0.7f, 8, 1.05f}},
      {"gravity stops at 5 down", 0, 0, 0, 4.5f, {0, 4.85f, 0, 5, 0, 5}},
      {"thrust rises by 1 to 6 up", 0, 1, 0, -4.5f, {0, -5.5f, 0, -6, 0, -6}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PlaceShip(3, 2);
    Stick(c.stickX, c.stickY);
    P(player::kVX) = c.vx;
    P(player::kVY) = c.vy;
    std::vector<float> got;
    for (size_t i = 0; i < c.expect.size(); i += 2) {
      const float x = P(player::kX), y = P(player::kY);
      app.Game();
      got.push_back(P(player::kVX));
      got.push_back(P(player::kVY));
      EXPECT_NEAR(P(player::kX) - x, P(player::kVX) / 2, 1e-3) << "moves by half its velocity";
      EXPECT_NEAR(P(player::kY) - y, P(player::kVY) / 2, 1e-3);
    }
    ASSERT_EQ(got.size(), c.expect.size());
    for (size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], c.expect[i], 1e-5) << i;
  }
  Stick(-1, 0);
  app.Game();
  EXPECT_EQ(P(player::kFacing), -1);
  Stick(0.2f, 0);
  app.Game();
  EXPECT_EQ(P(player::kFacing), -1) << "a small push keeps the facing";
}

TEST_F(PlayTest, SolidNeighboursStopOnlyMotionTowardThem) {
  struct Case {
    int dx, dy;        // the solid neighbour
    float offX, offY;  // ship offset from its tile's centre
    float vx, vy;      // velocity before the frame
    bool stopsX, stopsY;
  };
  const Case cases[] = {
      {-1, 0, -5, 0, -3, 0, true, false}, {-1, 0, 5, 0, -3, 0, false, false},
      {-1, 0, -5, 0, 3, 0, false, false}, {1, 0, 5, 0, 3, 0, true, false},
      {1, 0, -5, 0, 3, 0, false, false},  {0, -1, 0, -5, 0, -3, false, true},
      {0, -1, 0, 5, 0, -3, false, false}, {0, 1, 0, 5, 0, 3, false, true},
      {0, 1, 0, -5, 0, 3, false, false},  {0, 1, 0, 5, 0, -3, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.dx << "," << c.dy << " off " << c.offX << "," << c.offY
                                    << " v " << c.vx << "," << c.vy);
    const int rx = StartRoomX(), ry = StartRoomY();
    Tile(rx, ry, 3 + c.dx, 2 + c.dy) = code::kBlock;
    PlaceShip(3, 2, c.offX, c.offY);
    P(player::kVX) = c.vx;
    P(player::kVY) = c.vy;
    app.Game();
    const float freeVX = c.vx > 0 ? c.vx - 0.5f : c.vx < 0 ? c.vx + 0.5f : 0;
    EXPECT_NEAR(P(player::kVX), c.stopsX ? 0 : freeVX, 1e-5);
    EXPECT_NEAR(P(player::kVY), c.stopsY ? 0 : c.vy + 0.35f, 1e-5);
    Tile(rx, ry, 3 + c.dx, 2 + c.dy) = code::kEmpty;
  }
}

TEST_F(PlayTest, DeliveriesScoreOnceAndTheThirdStartsTakeOff) {
  Frames(40);  // settle on the pad
  ASSERT_EQ(P(player::kVY), 0);
  struct Step {
    std::vector<int> carried;
    int score, effects, exitState;
  };
  const Step steps[] = {
      {{}, 0, 0, 0},
      {{0, 2}, 100, 1, 0},
      {{}, 0, 0, 0},
      {{1}, 50 + 250, 2, -1},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.score);
    for (int item : s.carried) P(player::Item(item, player::kItemState)) = player::kItemCarried;
    const int score = app.Score, channel = app.NextChannel;
    Frames(3);
    EXPECT_EQ(app.Score - score, s.score);
    EXPECT_EQ(EffectsPlayed(channel), s.effects);
    EXPECT_LE(app.ExitState, s.exitState);
    for (int item : s.carried)
      EXPECT_EQ(P(player::Item(item, player::kItemState)), player::kItemDelivered);
  }
  // Take-off: with the stick released the ship rises ever faster, and the level ends at -91.
  Stick(0, 0);
  const float y = P(player::kY);
  app.MenuLevel = 4;
  while (app.ExitState > -90) app.Game();
  EXPECT_EQ(app.GameOverTimer, 0);
  EXPECT_LT(P(player::kY), y - 100);
  app.Game();
  EXPECT_EQ(app.ExitState, -91);
  EXPECT_EQ(app.GameOverTimer, 1);
  EXPECT_EQ(app.MenuLevel, 5);
  EXPECT_EQ(app.MenuScroll, -160);
  Frames(10);
  EXPECT_EQ(app.MenuLevel, 5) << "the menu moves on once";
}

// A marked room of the level other than the start room, and a tile centre inside it.
struct Spot {
  int rx, ry;
};

std::vector<Spot> LevelRooms(MyApp& app, bool includeStart) {
  std::vector<Spot> rooms;
  for (int ry = 1; ry < 31; ++ry)
    for (int rx = 1; rx < 31; ++rx) {
      const bool start =
          rx == app.Player[player::kRespawnRoomX] && ry == app.Player[player::kRespawnRoomY];
      if (app.isCol(kTile * 16 * rx, kTile * 12 * ry) != 0 && (includeStart || !start))
        rooms.push_back({rx, ry});
    }
  return rooms;
}

TEST_F(PlayTest, DestroyedShipDropsItsItemsNearbyAndRespawns) {
  const Spot room = LevelRooms(app, false).front();
  // Clear the room's inside so the drop has room, then wreck the ship there carrying item 1.
  for (int y = 1; y < 11; ++y)
    for (int x = 1; x < 15; ++x) Tile(room.rx, room.ry, x, y) = 0;
  P(player::kRoomX) = room.rx;
  P(player::kRoomY) = room.ry;
  P(player::kX) = kTile * (16 * room.rx + 7.5f);
  P(player::kY) = kTile * (12 * room.ry + 6.5f);
  P(player::Item(1, player::kItemState)) = player::kItemCarried;
  app.ExitState = 1;
  Frames(59);
  EXPECT_EQ(app.Lives, 3);
  EXPECT_EQ(app.ExitState, 60);
  app.Game();
  EXPECT_EQ(app.Lives, 2);
  EXPECT_EQ(app.ExitState, 0);
  EXPECT_EQ(P(player::Item(1, player::kItemState)), player::kItemInWorld);
  int found = 0;
  for (int y = 1; y < 11; ++y)
    for (int x = 1; x < 15; ++x)
      if (Tile(room.rx, room.ry, x, y) == code::kFreeItem + 1) {
        ++found;
        EXPECT_LE(std::abs(x - 7), 2);
        EXPECT_LE(std::abs(y - 6), 2);
      }
  EXPECT_EQ(found, 1);
  // Back at the base at rest; the rest of the frame's physics has already begun to act.
  EXPECT_EQ(P(player::kX), P(player::kRespawnX));
  EXPECT_NEAR(P(player::kY), P(player::kRespawnY), 0.2f);
  EXPECT_EQ(P(player::kRoomX), P(player::kRespawnRoomX));
  EXPECT_EQ(P(player::kVX), 0);
  EXPECT_LE(P(player::kVY), 0.35f);
}

int CountCode(MyApp& app, int code) {
  int n = 0;
  for (int i = 0; i < world::kUsedInts; i += world::kTileInts)
    if (app.World[i] == code) ++n;
  return n;
}

TEST_F(PlayTest, DroppedItemsNeverVanish) {
  const Spot room = LevelRooms(app, false).front();
  struct Case {
    const char* what;
    int rx, ry;
    bool crowded;
  };
  // A room off the level: the one left of the world's first column of rooms is never marked.
  const Case cases[] = {
      {"a crowded spot widens the search", room.rx, room.ry, true},
      {"a room off the level sends it back to its hiding place", 0, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    app.LoadGame();
    app.LevelIntro = 0;
    if (c.crowded) {
      for (int y = 1; y < 11; ++y)
        for (int x = 1; x < 15; ++x) Tile(c.rx, c.ry, x, y) = code::kBlock;
      Tile(c.rx, c.ry, 14, 10) = 0;  // the only free tile, far from the wreck
    }
    const int blocks = CountCode(app, code::kBlock);
    P(player::kRoomX) = c.rx;
    P(player::kRoomY) = c.ry;
    P(player::kX) = kTile * (16 * c.rx + 3.5f);
    P(player::kY) = kTile * (12 * c.ry + 3.5f);
    for (int item = 0; item < 3; ++item)
      P(player::Item(item, player::kItemState)) = player::kItemCarried;
    app.ExitState = 1;
    Frames(60);
    ASSERT_EQ(app.Lives, 2);
    for (int item = 0; item < 3; ++item)
      EXPECT_EQ(CountCode(app, code::kFreeItem + item), 1) << "item " << item;
    EXPECT_EQ(CountCode(app, code::kBlock), blocks) << "nothing was overwritten";
    if (c.crowded) {
      EXPECT_GE(Tile(c.rx, c.ry, 14, 10), code::kFreeItem);
    }
    // Each item is then in a room of the level, where the ship can reach it.
    for (int i = 0; i < world::kUsedInts; i += world::kTileInts) {
      const int code = app.World[i];
      if (code < code::kFreeItem || code > code::kFreeItem + 2) continue;
      const int room = i / world::kRoomInts;
      EXPECT_NE(app.isCol(kTile * 16 * (room % 32), kTile * 12 * (room / 32)), 0);
    }
  }
}

TEST_F(PlayTest, LastLifeEndsTheRunAndTheHudShowsNoLives) {
  app.Lives = 1;
  app.ExitState = 1;
  Frames(60);
  EXPECT_EQ(app.GameOverTimer, 1);
  EXPECT_EQ(app.Lives, 0);
  EXPECT_GT(app.ExitState, 60) << "the ship stays destroyed";
  app.Lives = -2;  // however far the count falls, the HUD shows 0
  app.FontImage = kFontSlot;
  app.ImageInfo[imageinfo::Index(kFontSlot, imageinfo::kFrameW)] = kGlyphW;
  app.ImageInfo[imageinfo::Index(kFontSlot, imageinfo::kFrameH)] = kGlyphH;
  app.Game();
  // The lives count: one glyph, "0", centred on (jscrw - 128, 16) at the dimmed alpha.
  int zeros = 0;
  for (int at = 0; at < app.DrawCount; at += drawrec::kFloats) {
    const float* r = &app.DrawList[at];
    if (r[drawrec::kSlot] == kFontSlot && std::fabs(r[drawrec::kX] - (jscrw - 128)) < 16 &&
        r[drawrec::kY] < 32) {
      EXPECT_EQ(r[drawrec::kFrame], '0' - 32);
      EXPECT_FLOAT_EQ(r[drawrec::kAlpha], 0.3f);
      ++zeros;
    }
  }
  EXPECT_EQ(zeros, 1);
}

// Enemies that entered the pool for a room: kinds 8..11, as room entry creates them.
int EnemiesIn(MyApp& app, int rx, int ry) {
  int n = 0;
  for (int r = 0; r < object::kRecords; ++r) {
    const float* o = &app.Objects[r * object::kFloats];
    if (o[object::kKind] >= 8 && o[object::kKind] <= 11 &&
        o[object::kRoom] == world::RoomIndex(rx, ry))
      ++n;
  }
  return n;
}

TEST_F(PlayTest, EnteringARoomBringsEnemiesByLevelButNeverIntoTheStartRoom) {
  for (const auto& [level, limit] : {std::pair{1, 1}, {30, 2}, {60, 3}}) {
    SCOPED_TRACE(level);
    app.Level = level;
    app.LoadGame();
    app.LevelIntro = 0;
    std::vector<int> seen(limit + 1, 0);
    for (const Spot& room : LevelRooms(app, false)) {
      for (const Spot& at : {room, Spot{StartRoomX(), StartRoomY()}}) {
        app.Objects.fill(0);
        P(player::kX) = kTile * (16 * at.rx + 3.5f);
        P(player::kY) = kTile * (12 * at.ry + 2.5f);
        app.Game();
        ASSERT_EQ(P(player::kRoomX), at.rx);
        const int n = EnemiesIn(app, at.rx, at.ry);
        if (at.rx == StartRoomX() && at.ry == StartRoomY()) {
          EXPECT_EQ(n, 0);
        } else {
          ASSERT_LE(n, limit);
          ++seen[n];
        }
      }
    }
    for (int n = 0; n <= limit; ++n) EXPECT_GT(seen[n], 0) << n << " enemies never came";
  }
}

TEST_F(PlayTest, LeavingTheLevelsRoomsDestroysTheShip) {
  // Outside the world or in a room with no path mark; also a position that is not a number.
  const float nan = std::nanf("");
  const std::array<std::array<float, 2>, 3> spots = {
      {{kTile * 16 * 0 + 100, kTile * 12 * 5 + 100}, {-50, -50}, {nan, nan}}};
  for (const auto& spot : spots) {
    app.ExitState = 0;
    P(player::kRoomX) = P(player::kRespawnRoomX);
    P(player::kRoomY) = P(player::kRespawnRoomY);
    P(player::kX) = spot[0];
    P(player::kY) = spot[1];
    app.Game();
    EXPECT_EQ(app.ExitState, 1) << spot[0];
  }
  // A joystick reading NaN or infinity leaves the ship's motion finite.
  for (const float bad : {nan, std::numeric_limits<float>::infinity()}) {
    app.ExitState = 0;
    PlaceShip(3, 2);
    Stick(bad, bad);
    app.Game();
    EXPECT_TRUE(std::isfinite(P(player::kVX)) && std::isfinite(P(player::kVY)));
    EXPECT_TRUE(std::isfinite(P(player::kX)) && std::isfinite(P(player::kY)));
  }
}

TEST_F(PlayTest, IntroSwirlsThenBurstsAndRevealsTheShip) {
  P(player::kOrbitRecord) = 40;
  app.LoadGame();
  EXPECT_EQ(P(player::kOrbitRecord), -1) << "a new level has no orbiting ball";
  const auto live = [&] {
    std::vector<const float*> records;
    for (int i = 0; i <= app.ParticleCount; ++i)
      if (app.Particles[i * particle::kFloats + particle::kKind] > 0)
        records.push_back(&app.Particles[i * particle::kFloats]);
    return records;
  };
  app.Game();
  // Three sparks 200 - 89 pixels out, each already one step of 2 on its way in.
  ASSERT_EQ(live().size(), 3u);
  for (const float* p : live()) {
    EXPECT_NEAR(std::hypot(p[particle::kX] - P(player::kX), p[particle::kY] - P(player::kY)), 109,
                1e-3);
    EXPECT_EQ(p[particle::kColour], 4);
  }
  int shipFrames = 0;
  for (int frame = 1; frame < 90; ++frame) {
    const auto before = app.Particles;
    app.Game();
    if (app.LevelIntro == 3) {
      // The burst: every spark turns back outward, faster, in a colour of 4..6.
      for (const float* p : live()) {
        const float vx = before[p - app.Particles.data() + particle::kVX];
        if (std::fabs(vx) > 0.1f) {
          EXPECT_TRUE(p[particle::kVX] / vx <= -1.4f && p[particle::kVX] / vx >= -1.8f);
        }
        EXPECT_GE(p[particle::kColour], 4);
        EXPECT_LE(p[particle::kColour], 6);
      }
    }
    for (int at = 0; at < app.DrawCount; at += drawrec::kFloats)
      if (app.DrawList[at + drawrec::kSlot] == 1 && app.DrawList[at + drawrec::kFrame] == 0 &&
          app.DrawList[at + drawrec::kY] > 32)
        ++shipFrames;
  }
  EXPECT_EQ(app.LevelIntro, 0);
  EXPECT_EQ(shipFrames, 0) << "the ship is hidden during the intro";
  EXPECT_EQ(app.MusicPlaying, 1) << "the tune starts as the intro ends";
  app.Game();
  bool shipDrawn = false;
  for (int at = 0; at < app.DrawCount; at += drawrec::kFloats)
    shipDrawn |= app.DrawList[at + drawrec::kSlot] == 1 && app.DrawList[at + drawrec::kFrame] == 0;
  EXPECT_TRUE(shipDrawn);
}

TEST_F(PlayTest, AFrameOfPlayAllocatesNothing) {
  Frames(5);
  for (int i = 0; i < 300; ++i) app.ThrowParticle(P(player::kX), P(player::kY), 2, 3);
  app.Score = 12345678;  // the HUD's score counts up every frame
  const int before = ThreadAllocations();
  Frames(60);
  EXPECT_EQ(ThreadAllocations(), before);
  EXPECT_NE(app.ShownScore, 0);
}

}  // namespace
