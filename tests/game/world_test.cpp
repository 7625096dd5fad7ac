// World generation, the grid accessors and the world inspection tool.
#include <gtest/gtest.h>

#include <unistd.h>
#include <algorithm>
#include <cmath>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "base/random.h"
#include "child_process.h"
#include "game/core/globals.h"
#include "game/core/records.h"
#include "game/play/reach.h"
#include "sim/headless_game.h"

namespace {

using world::kRoomHeight;
using world::kRoomInts;
using world::kRooms;
using world::kRoomWidth;
using world::kTileInts;
using world::kUsedInts;
using world::TileIndex;
constexpr float kTile = 31.0f;

// Wall codes: the four wall sets 23, 27, 31, 35, each + 1 corner, + 2 straight, + 3 end cap.
bool IsWall(int code, int part) {
  return code >= 23 && code <= 38 && (code - 23) % 4 == part;
}
bool IsBlock(int code) {
  return code == 48 || (code >= 200 && code < 230) || (code >= 308 && code < 400);
}

// A built level and ways to look at it.
class BuiltLevel {
 public:
  BuiltLevel(MyApp& app, int level) : app_(app) {
    app.world.Level = level;
    app.LoadGame();
  }

  int Code(int rx, int ry, int x, int y) const { return app_.world.Tiles[TileIndex(rx, ry, x, y)]; }
  int HitPoints(int rx, int ry, int x, int y) const {
    return app_.world.Tiles[TileIndex(rx, ry, x, y) + tile::kHitPoints];
  }
  int Mark(int rx, int ry, int path) const {
    return app_.world.Tiles[TileIndex(rx, ry, 0, 0) + tile::PathMarkField(path)];
  }
  bool OnAnyPath(int rx, int ry) const {
    return Mark(rx, ry, 0) || Mark(rx, ry, 1) || Mark(rx, ry, 2);
  }
  int StartX() const { return static_cast<int>(app_.play.Player[player::kRoomX]); }
  int StartY() const { return static_cast<int>(app_.play.Player[player::kRoomY]); }
  int PathSteps() const { return (app_.world.Level - 1) % 25 / 5 + 4 + app_.world.Level / 25 * 2; }

 private:
  MyApp& app_;
};

// One wall read along its length: the corners and the tile beside each stay, and a straight
// piece never borders an opening (it would have become an end cap). A closed wall is all
// corners and straight pieces.
void ExpectWallSound(const std::function<int(int)>& at, int length, bool closed) {
  for (int p = 0; p < length; ++p) {
    SCOPED_TRACE(p);
    const int code = at(p);
    if (p == 0 || p == length - 1) {
      EXPECT_TRUE(IsWall(code, 1));
    } else if (closed || p == 1 || p == length - 2) {
      EXPECT_TRUE(IsWall(code, 2) || (!closed && IsWall(code, 3)));
    }
    EXPECT_TRUE(!IsWall(code, 2) || p == 0 || p == length - 1 || (at(p - 1) && at(p + 1)));
  }
}

// All four walls of a room, and doorways cut alike on both sides of a shared wall.
void ExpectWallsSound(const BuiltLevel& level, int rx, int ry, bool closed) {
  const int right = kRoomWidth - 1, bottom = kRoomHeight - 1;
  for (const int y : {0, bottom})
    ExpectWallSound([&](int p) { return level.Code(rx, ry, p, y); }, kRoomWidth, closed);
  for (const int x : {0, right})
    ExpectWallSound([&](int p) { return level.Code(rx, ry, x, p); }, kRoomHeight, closed);
  for (int y = 0; y < kRoomHeight && rx + 1 < kRooms; ++y)
    EXPECT_EQ(!level.Code(rx, ry, right, y), !level.Code(rx + 1, ry, 0, y)) << y;
  for (int x = 0; x < kRoomWidth && ry + 1 < kRooms; ++x)
    EXPECT_EQ(!level.Code(rx, ry, x, bottom), !level.Code(rx, ry + 1, x, 0)) << x;
}

// Inside a room: no 312; nothing at all off the paths; blocks not in the start room and with 1
// or 2 hit points; corridor barriers only from level 9 and only in their columns.
void ExpectRoomContentsSound(const MyApp& app, const BuiltLevel& level, int rx, int ry) {
  const bool start = rx == level.StartX() && ry == level.StartY();
  for (int x = 1; x < kRoomWidth - 1; ++x) {
    for (int y = 1; y < kRoomHeight - 1; ++y) {
      SCOPED_TRACE(testing::Message() << x << "," << y);
      const int code = level.Code(rx, ry, x, y), hitPoints = level.HitPoints(rx, ry, x, y);
      ASSERT_NE(code, 312);
      EXPECT_TRUE(code == 0 || level.OnAnyPath(rx, ry));
      EXPECT_FALSE(IsBlock(code) && start);
      EXPECT_TRUE(IsBlock(code) ? hitPoints == 1 || hitPoints == 2 : hitPoints == 0);
      EXPECT_TRUE(code != 412 || (app.world.Level >= 9 && (x == 3 || x == 7 || x == 11)));
    }
  }
}

void ExpectInvariants(const MyApp& app, const BuiltLevel& level) {
  for (int rx = 0; rx < kRooms; ++rx) {
    for (int ry = 0; ry < kRooms; ++ry) {
      SCOPED_TRACE(testing::Message() << "room " << rx << "," << ry);
      const bool ring = rx == 0 || ry == 0 || rx == kRooms - 1 || ry == kRooms - 1;
      EXPECT_FALSE(ring && level.OnAnyPath(rx, ry));
      ExpectWallsSound(level, rx, ry, ring);
      ExpectRoomContentsSound(app, level, rx, ry);
    }
  }
  EXPECT_EQ(level.Code(level.StartX(), level.StartY(), 6, 5), 100);
  EXPECT_EQ(level.Code(level.StartX(), level.StartY(), 9, 8), 115);

  // Paths stay within their length and hold their items, and every item can be reached.
  for (int path = 0; path < 3; ++path) {
    int rooms = 0;
    for (int r = 0; r < kRooms * kRooms; ++r)
      rooms += level.Mark(r % kRooms, r / kRooms, path) != 0;
    EXPECT_LE(rooms, level.PathSteps() + 1);
    const int rx = static_cast<int>(app.play.Player[player::Item(path, player::kItemRoomX)]);
    const int ry = static_cast<int>(app.play.Player[player::Item(path, player::kItemRoomY)]);
    EXPECT_NE(level.Mark(rx, ry, path), 0) << "item " << path;
  }
  EXPECT_TRUE(CheckLevel(app.world, app.play).Won());
}

// Each item lies in exactly one tile, the one its record in Player names: state 0 (in the
// world), global tile x and y, room x and y.
void ExpectItemsWhereRecorded(const MyApp& app) {
  int found = 0;
  for (int i = 0; i < kUsedInts; i += kTileInts) {
    const int code = app.world.Tiles[i + tile::kCode];
    if (code < 200 || code >= 230) continue;
    const int rx = i / kRoomInts % kRooms, ry = i / kRoomInts / kRooms;
    const int tile = i % kRoomInts / kTileInts;
    const int item = (code - 200) / 10;
    const float* start = &app.play.Player[player::Item(item, player::kItemState)];
    EXPECT_EQ(std::vector<float>(start, start + 5),
              (std::vector<float>{0, float(rx * kRooms + tile % kRoomWidth),
                                  float(ry * kRooms + tile / kRoomWidth), float(rx), float(ry)}))
        << "item " << item;
    ++found;
  }
  EXPECT_EQ(found, 3);
}

std::vector<int> UsedWorld(const MyApp& app) {
  return std::vector<int>(app.world.Tiles.begin(), app.world.Tiles.begin() + kUsedInts);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  return lines;
}

// The world tool's exit status and its output, error lines included.
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

class World : public ::testing::Test {
 protected:
  HeadlessGame game;
  MyApp& app = game.app();
};

}  // namespace

TEST_F(World, TheSameLevelComesOutTheSameWhateverCameBefore) {
  BuiltLevel(app, 17);
  const std::vector<int> first = UsedWorld(app);
  const auto player = app.play.Player;
  BuiltLevel(app, 1);
  BuiltLevel(app, 1000);
  for (int i = 0; i < 7; ++i) Rnd();
  BuiltLevel(app, 17);
  EXPECT_EQ(UsedWorld(app), first);
  EXPECT_EQ(app.play.Player, player);
}

// Every level hides its items where its records say (the item search's fallback may take any
// tile of its room, and on no level may that cost an item); a spread of levels is checked whole.
TEST_F(World, EveryLevelKeepsItsInvariants) {
  const std::set<int> checkedWhole = {1,  2,  3,  5,  8,  9,  10,  12,  13,  20,
                                      24, 25, 26, 37, 50, 99, 250, 777, 1000};
  bool barriers = false;
  for (int number = 1; number <= world::kLevels && !HasFailure(); ++number) {
    SCOPED_TRACE(testing::Message() << "level " << number);
    const BuiltLevel level(app, number);
    ExpectItemsWhereRecorded(app);
    if (!checkedWhole.count(number)) continue;
    ExpectInvariants(app, level);
    for (int i = 0; i < kUsedInts; i += kTileInts)
      barriers |= app.world.Tiles[i + tile::kCode] == 412;
  }
  EXPECT_TRUE(barriers) << "no corridor barrier on any level from 9 on";
}

TEST_F(World, ReadsOutsideTheWorldGive42AndWritesThereAreIgnored) {
  BuiltLevel(app, 3);
  for (const auto& [tx, ty] : {std::pair{-1, 5}, {512, 0}, {0, 384}})
    EXPECT_EQ(app.world.CodeAtTile(tx, ty), 42) << tx << "," << ty;
  EXPECT_EQ(app.world.CodeAtPixel(511 * kTile + 30, 383 * kTile), app.world.CodeAtTile(511, 383));
  EXPECT_EQ(app.world.CodeAtPixel(20 * kTile + 0.5f, 30 * kTile - 0.5f),
            app.world.CodeAtTile(20, 29));

  const std::vector<int> before = UsedWorld(app);
  // -1 and -0.5 would truncate to tile 0.
  for (const auto& [x, y] : {std::pair{-1.0f, 100.0f},
                             {100.0f, -0.5f},
                             {1e30f, 10.0f},
                             {NAN, 10.0f},
                             {512 * kTile, 0.0f},
                             {0.0f, 384 * kTile + 1}}) {
    EXPECT_EQ(app.world.CodeAtPixel(x, y), 42) << x << "," << y;
    EXPECT_EQ(app.world.RoomPathMarks(x, y), 0) << x << "," << y;
    app.world.PutAt(x, y, 7);
    app.world.PutAround(x, y, 7);
  }
  EXPECT_EQ(UsedWorld(app), before);
  app.world.PutAt(37 * kTile + 3, 50 * kTile + 3, 7);
  EXPECT_EQ(app.world.CodeAtTile(37, 50), 7);
}

TEST_F(World, PutAroundTakesAFreeTileNearbyOrTheLastOf251Tries) {
  BuiltLevel(app, 4);
  const int rx = 5, ry = 6;  // far from any path: an empty room
  for (int x = 1; x < kRoomWidth - 1; ++x)
    for (int y = 1; y < kRoomHeight - 1; ++y) app.world.Tiles[TileIndex(rx, ry, x, y)] = 48;

  // Every candidate occupied: 251 pairs of draws, then the last candidate is written over.
  Seed = 99;
  app.world.PutAround((rx * 16 + 7) * kTile + 5, (ry * 12 + 5) * kTile + 5, 777);
  const int after = Seed;
  Seed = 99;
  for (int i = 0; i < 2 * 251; ++i) Rnd();
  EXPECT_EQ(after, Seed);
  int written = 0;
  for (int x = 0; x < kRoomWidth; ++x) {
    for (int y = 0; y < kRoomHeight; ++y) {
      if (app.world.Tiles[TileIndex(rx, ry, x, y)] != 777) continue;
      ++written;
      EXPECT_TRUE(std::abs(x - 7) <= 2 && std::abs(y - 5) <= 2) << x << "," << y;
    }
  }
  EXPECT_EQ(written, 1);

  // From a wall corner the candidates are kept off the walls, inside the same room.
  app.world.Tiles[TileIndex(rx, ry, 1, 1)] = 0;
  app.world.PutAround((rx * 16) * kTile, (ry * 12) * kTile, 555);
  EXPECT_EQ(app.world.Tiles[TileIndex(rx, ry, 1, 1)], 555);
}

TEST_F(World, RoomMarksAndNeighbourhoods) {
  const BuiltLevel level(app, 6);
  const int sx = level.StartX(), sy = level.StartY();
  EXPECT_GE(app.world.RoomPathMarks((sx * 16 + 3) * kTile, (sy * 12 + 3) * kTile), 1);
  EXPECT_EQ(app.world.RoomPathMarks(0.0f, 0.0f), 0);

  // The tile on the start room's right wall: its right-hand neighbours lie in the next room,
  // which the room view (mode 1) hides even where a doorway would show it.
  const int tx = sx * 16 + 15, ty = sy * 12 + 6;
  app.world.Tiles[TileIndex(sx + 1, sy, 0, 6)] = 0;
  for (int mode : {0, 1}) {
    const float x = tx * kTile + 1, y = ty * kTile + 1;
    if (mode == 1) {
      app.world.GetMatrixInRoom(x, y, app.play.Player[player::kRoomX],
                                app.play.Player[player::kRoomY]);
    } else {
      app.world.GetMatrix(x, y);
    }
    for (int entry = matrix::kUpLeft; entry <= matrix::kDownRight; ++entry) {
      const int dx = (entry - 1) % 3 - 1, dy = (entry - 1) / 3 - 1;
      EXPECT_EQ(app.world.Matrix[entry],
                mode && dx == 1 ? 42 : app.world.CodeAtTile(tx + dx, ty + dy))
          << "mode " << mode << " entry " << entry;
    }
    EXPECT_EQ(app.world.Matrix[matrix::kRoom], world::RoomIndex(sx, sy));
  }
}

// Negative ranges too: PutAround and the guns draw from -2..2 and the like.
TEST_F(World, RandCoversItsWholeRangeAndNothingElse) {
  for (const auto& [lo, hi] : {std::pair{-2, 2}, {308, 312}, {5, 5}}) {
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i) seen.insert(Rand(lo, hi));
    EXPECT_EQ(static_cast<int>(seen.size()), hi - lo + 1);
    EXPECT_EQ(*seen.begin(), lo);
    EXPECT_EQ(*seen.rbegin(), hi);
  }
}

// Pins the whole of level 1 so that any change to the order of draws shows up; the first two
// lines are spelled out so that a failure says what moved.
TEST(WorldTool, PrintsLevelOneExactlyAndItsMap) {
  const ChildResult run = RunTool("1");
  ASSERT_EQ(run.status, 0) << run.output;
  const std::vector<std::string> lines = Lines(run.output);
  ASSERT_EQ(lines.size(), 2u + 32 * 32);
  EXPECT_EQ(lines[0], "level 1 maxbads 2 maxweaps 2");
  EXPECT_EQ(lines[1],
            "player 1=10168 2=6541 11=20 12=17 13=10168 14=6479 17=50 18=4 27=60 28=0 "
            "29=40 51=20 52=17 53=10168 54=6541 55=0 56=0 57=0 60=0 61=712 62=549 "
            "63=22 64=17 70=0 71=653 72=578 73=20 74=18 80=0 81=614 82=550 83=19 84=17");
  EXPECT_EQ(Fnv1a(run.output), 0x8fb8e8151379cf8full);

  // The map: rows of whole rooms with the base and each item drawn once, then the legend.
  const ChildResult map = RunTool("1 --map");
  ASSERT_EQ(map.status, 0);
  const std::vector<std::string> rows = Lines(map.output);
  ASSERT_GT(rows.size(), 12u);
  std::string drawn;
  for (size_t i = 1; i < rows.size() && rows[i].rfind("legend:", 0) != 0; ++i) {
    EXPECT_EQ(rows[i].size(), rows[1].size());
    drawn += rows[i];
  }
  EXPECT_EQ(rows[1].size() % 16, 0u);
  EXPECT_EQ(drawn.size() % (16 * 12), 0u);
  for (const char* part : {"BBBB", "====", "legend:"})
    EXPECT_NE(map.output.find(part), std::string::npos) << part;
  for (char item : {'1', '2', '3'}) EXPECT_EQ(std::count(drawn.begin(), drawn.end(), item), 1);
}

TEST(WorldTool, ChecksThatLevelsCanBeWon) {
  EXPECT_EQ(RunTool("1000").status, 0);
  const ChildResult run = RunTool("--check 1-40");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.output, "checked levels 1-40: 40 can be won, 0 cannot\n");
}

// Help is answered with the usage and status 0, bad arguments with the usage and a failure.
TEST(WorldTool, AnswersHelpAndBadArgumentsWithItsUsage) {
  for (const char* arguments :
       {"--help", "-h", "", "0", "1001", "abc", "-1", "+5", "12x", "1 --mop", "1 --map 2",
        "--check", "--check 5-3", "--check 1-1001", "--check 4"}) {
    const ChildResult run = RunTool(arguments);
    const std::string_view given = arguments;
    EXPECT_EQ(run.status != 0, given != "--help" && given != "-h") << arguments;
    EXPECT_EQ(run.output.rfind("usage: zorvane-world LEVEL [--map]", 0), 0u) << arguments;
  }
}
