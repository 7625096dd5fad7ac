// World generation, the grid accessors and the world inspection tool. The tool's exact print of
// level 1 and the frame golden pin generation; the checks here hold over every level.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "base/random.h"
#include "child_process.h"
#include "game/core/globals.h"
#include "game/core/records.h"
#include "game/play/reach.h"
#include "sim/headless_game.h"

namespace {

using namespace world;
constexpr float kTile = 31.0f;

bool IsBlock(int code) {
  return code == 48 || (code >= 200 && code < 230) || (code >= 308 && code < 400);
}

class World : public ::testing::Test {
 protected:
  void Build(int level) {
    app.world.Level = level;
    LoadGame(app.frame, app.io, app.world, app.play, app.level, app.screens, app.pause);
  }
  int& At(int rx, int ry, int x, int y, int field = 0) {
    return app.world.Tiles[TileIndex(rx, ry, x, y) + field];
  }
  bool OnPath(int rx, int ry) {
    int marks = 0;
    for (int path = 0; path < 3; ++path) marks |= At(rx, ry, 0, 0, tile::PathMarkField(path));
    return marks != 0;
  }
  std::vector<int> Used() { return {app.world.Tiles.begin(), app.world.Tiles.begin() + kUsedInts}; }

  // Ring rooms closed, doorways alike on both sides of a wall, nothing off the paths, blocks
  // of 1 or 2 hit points outside the start room, barriers only from level 9, items reachable.
  void ExpectSound() {
    const int sx = static_cast<int>(app.play.Player[player::kRoomX]);
    const int sy = static_cast<int>(app.play.Player[player::kRoomY]);
    for (int rx = 0; rx < kRooms; ++rx) {
      for (int ry = 0; ry < kRooms; ++ry) {
        SCOPED_TRACE(testing::Message() << "room " << rx << "," << ry);
        const bool ring = rx == 0 || ry == 0 || rx == kRooms - 1 || ry == kRooms - 1;
        EXPECT_FALSE(ring && OnPath(rx, ry));
        for (int p = 0; p < kRoomWidth; ++p) {
          const int y = p % kRoomHeight;
          EXPECT_TRUE(!ring || (At(rx, ry, p, 0) && At(rx, ry, 0, y))) << p;
          EXPECT_TRUE((p > 1 && p < kRoomWidth - 2) || At(rx, ry, p, 0)) << "corner " << p;
          EXPECT_TRUE((y > 1 && y < kRoomHeight - 2) || At(rx, ry, 0, y)) << "corner " << y;
          EXPECT_TRUE(rx + 1 == kRooms || !At(rx, ry, kRoomWidth - 1, y) == !At(rx + 1, ry, 0, y));
          EXPECT_TRUE(ry + 1 == kRooms || !At(rx, ry, p, kRoomHeight - 1) == !At(rx, ry + 1, p, 0));
        }
        for (int x = 1; x < kRoomWidth - 1; ++x) {
          for (int y = 1; y < kRoomHeight - 1; ++y) {
            const int code = At(rx, ry, x, y), hp = At(rx, ry, x, y, tile::kHitPoints);
            ASSERT_NE(code, 312);
            ASSERT_TRUE(code == 0 || OnPath(rx, ry)) << x << "," << y;
            ASSERT_FALSE(IsBlock(code) && rx == sx && ry == sy);
            ASSERT_TRUE(IsBlock(code) ? hp == 1 || hp == 2 : hp == 0) << x << "," << y;
            ASSERT_TRUE(code != 412 || (app.world.Level >= 9 && (x == 3 || x == 7 || x == 11)));
          }
        }
      }
    }
    EXPECT_EQ(At(sx, sy, 6, 5), 100);
    EXPECT_TRUE(CheckLevel(app.world, app.play).Won());
  }

  // Each item lies in exactly one tile, the one its record names.
  void ExpectItemsWhereRecorded() {
    int found = 0;
    for (int i = 0; i < kUsedInts; i += kTileInts) {
      const int code = app.world.Tiles[i], tileNo = i % kRoomInts / kTileInts;
      if (code < 200 || code >= 230) continue;
      const int rx = i / kRoomInts % kRooms, ry = i / kRoomInts / kRooms, item = (code - 200) / 10;
      const float* r = &app.play.Player[player::Item(item, player::kItemState)];
      EXPECT_EQ(
          std::vector<float>(r, r + 5),
          (std::vector<float>{0, float(rx * kRooms + tileNo % kRoomWidth),
                              float(ry * kRooms + tileNo / kRoomWidth), float(rx), float(ry)}))
          << "item " << item;
      ++found;
    }
    EXPECT_EQ(found, 3);
  }

  HeadlessGame game;
  MyApp& app = game.app();
};

// The world tool's exit status and output, error lines included.
ChildResult RunTool(const std::string& arguments) {
  const std::string command = std::string(ZV_WORLD_TOOL) + " " + arguments + " 2>&1";
  return RunInChild([&] {
    execl("/bin/sh", "sh", "-c", command.c_str(), nullptr);
    _exit(127);
  });
}

uint64_t Fnv1a(const std::string& text) {
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : text) hash = (hash ^ c) * 1099511628211ull;
  return hash;
}

}  // namespace

TEST_F(World, TheSameLevelComesOutTheSameWhateverCameBefore) {
  Build(17);
  const std::vector<int> first = Used();
  const auto player = app.play.Player;
  Build(1000);
  for (int i = 0; i < 7; ++i) Rnd();
  Build(17);
  EXPECT_EQ(Used(), first);
  EXPECT_EQ(app.play.Player, player);
}

TEST_F(World, EveryLevelKeepsItsInvariants) {
  const std::set<int> whole = {1, 2, 5, 9, 12, 24, 25, 26, 50, 99, 777, 1000};
  bool barriers = false;
  for (int level = 1; level <= kLevels && !HasFailure(); ++level) {
    SCOPED_TRACE(testing::Message() << "level " << level);
    Build(level);
    ExpectItemsWhereRecorded();
    if (!whole.count(level)) continue;
    ExpectSound();
    for (int i = 0; i < kUsedInts; i += kTileInts) barriers |= app.world.Tiles[i] == 412;
  }
  EXPECT_TRUE(barriers);
}

TEST_F(World, OutsideTheWorldReadsGive42AndWritesAreIgnored) {
  Build(3);
  EXPECT_EQ(app.world.CodeAtTile(512, 0), 42);
  EXPECT_EQ(app.world.CodeAtPixel(20 * kTile + 0.5f, 30 * kTile - 0.5f),
            app.world.CodeAtTile(20, 29));
  const std::vector<int> before = Used();
  // -1 and -0.5 would truncate to tile 0.
  for (const auto& [x, y] :
       {std::pair{-1.0f, 100.0f}, {100.0f, -0.5f}, {1e30f, 10.0f}, {NAN, 10.0f}, {0.0f, 11905.f}}) {
    EXPECT_EQ(app.world.CodeAtPixel(x, y), 42) << x << "," << y;
    EXPECT_EQ(app.world.RoomPathMarks(x, y), 0) << x << "," << y;
    app.world.PutAt(x, y, 7);
    app.world.PutAround(x, y, 7);
  }
  EXPECT_EQ(Used(), before);
}

// The whole of level 1 is pinned so that any change to the order of draws shows up.
TEST(WorldTool, PrintsLevelOneExactlyAndItsMap) {
  const ChildResult run = RunTool("1");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(run.output.substr(0, run.output.find('\n')), "level 1 maxbads 2 maxweaps 2");
  EXPECT_EQ(Fnv1a(run.output), 0x8fb8e8151379cf8full);
  const std::string map = RunTool("1 --map").output;
  for (const char* part : {"BBBB", "====", "legend:"})
    EXPECT_NE(map.find(part), std::string::npos) << part;
  for (char item : {'1', '2', '3'})
    EXPECT_EQ(std::count(map.begin() + map.find('\n'), map.begin() + map.find("legend:"), item), 1)
        << item;
}

TEST(WorldTool, ChecksThatLevelsCanBeWon) {
  EXPECT_EQ(RunTool("--check 1-40").output, "checked levels 1-40: 40 can be won, 0 cannot\n");
}

TEST(WorldTool, AnswersHelpAndBadArgumentsWithItsUsage) {
  for (const char* arguments : {"--help", "", "1001", "12x", "1 --mop", "--check 5-3"}) {
    const ChildResult run = RunTool(arguments);
    const std::string given = arguments;
    EXPECT_EQ(run.status != 0, given != "--help") << arguments;
    EXPECT_EQ(run.output.rfind("usage: zorvane-world LEVEL [--map]", 0), 0u) << arguments;
  }
}
