// World generation, the grid accessors and the world inspection tool.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cmath>
#include <cstdio>
#include <queue>
#include <set>
#include <string>
#include <vector>

#include "base/random.h"
#include "game/globals.h"
#include "headless_game.h"

namespace {

constexpr int kRooms = 32;
constexpr int kRoomWidth = 16;
constexpr int kRoomHeight = 12;
constexpr int kRoomInts = kRoomWidth * kRoomHeight * 10;
constexpr int kWorldUsedInts = kRooms * kRooms * kRoomInts;
constexpr float kTile = 31.0f;

int Index(int rx, int ry, int x, int y) {
  return (ry * kRooms + rx) * kRoomInts + (y * kRoomWidth + x) * 10;
}

// A built level and ways to look at it.
class Level {
 public:
  explicit Level(MyApp& app, int level) : app_(app) {
    app.Level = level;
    app.LoadGame();
  }

  int Code(int rx, int ry, int x, int y) const { return app_.World[Index(rx, ry, x, y)]; }
  int Rotation(int rx, int ry, int x, int y) const { return app_.World[Index(rx, ry, x, y) + 1]; }
  int HitPoints(int rx, int ry, int x, int y) const { return app_.World[Index(rx, ry, x, y) + 7]; }
  int Mark(int rx, int ry, int path) const { return app_.World[Index(rx, ry, 0, 0) + 9 - path]; }
  bool OnAnyPath(int rx, int ry) const {
    return Mark(rx, ry, 0) || Mark(rx, ry, 1) || Mark(rx, ry, 2);
  }
  int StartX() const { return static_cast<int>(app_.Player[11]); }
  int StartY() const { return static_cast<int>(app_.Player[12]); }
  int PathSteps() const { return (app_.Level - 1) % 25 / 5 + 4 + app_.Level / 25 * 2; }

  // Rooms reachable from the start room through openings in their shared walls.
  std::set<int> ReachableRooms() const {
    std::set<int> seen{StartY() * kRooms + StartX()};
    std::queue<int> open;
    open.push(*seen.begin());
    while (!open.empty()) {
      const int rx = open.front() % kRooms, ry = open.front() / kRooms;
      open.pop();
      auto visit = [&](int nx, int ny) {
        if (seen.insert(ny * kRooms + nx).second) open.push(ny * kRooms + nx);
      };
      if (rx + 1 < kRooms && OpenRight(rx, ry)) visit(rx + 1, ry);
      if (rx > 0 && OpenRight(rx - 1, ry)) visit(rx - 1, ry);
      if (ry + 1 < kRooms && OpenBelow(rx, ry)) visit(rx, ry + 1);
      if (ry > 0 && OpenBelow(rx, ry - 1)) visit(rx, ry - 1);
    }
    return seen;
  }

  bool OpenRight(int rx, int ry) const {
    for (int y = 0; y < kRoomHeight; ++y)
      if (Code(rx, ry, kRoomWidth - 1, y) == 0 && Code(rx + 1, ry, 0, y) == 0) return true;
    return false;
  }
  bool OpenBelow(int rx, int ry) const {
    for (int x = 0; x < kRoomWidth; ++x)
      if (Code(rx, ry, x, kRoomHeight - 1) == 0 && Code(rx, ry + 1, x, 0) == 0) return true;
    return false;
  }

 private:
  MyApp& app_;
};

bool IsWall(int code, int offset) {
  return code >= 23 && code <= 38 && (code - 23) % 4 == offset;
}
bool IsCorner(int code) {
  return IsWall(code, 1);
}
bool IsStraightOrCap(int code) {
  return IsWall(code, 2) || IsWall(code, 3);
}
bool IsBlock(int code) {
  return code == 48 || (code >= 200 && code < 230) || (code >= 308 && code < 400);
}
bool OnBorder(int x, int y) {
  return x == 0 || y == 0 || x == kRoomWidth - 1 || y == kRoomHeight - 1;
}

void ExpectRingUntouched(const Level& level, int rx, int ry) {
  EXPECT_FALSE(level.OnAnyPath(rx, ry)) << rx << "," << ry;
  for (int x = 0; x < kRoomWidth; ++x) {
    for (int y = 0; y < kRoomHeight; ++y) {
      const int code = level.Code(rx, ry, x, y);
      const bool corner = (x == 0 || x == kRoomWidth - 1) && (y == 0 || y == kRoomHeight - 1);
      if (!OnBorder(x, y)) {
        EXPECT_EQ(code, 0) << rx << "," << ry << " " << x << "," << y;
      } else {
        EXPECT_TRUE(corner ? IsCorner(code) : IsWall(code, 2)) << rx << "," << ry;
      }
    }
  }
}

// Corners and their neighbours stay; a doorway is cut on both sides of a wall alike; every
// straight wall beside an opening became an end cap.
void ExpectWallsSound(const Level& level, int rx, int ry) {
  for (int x : {0, kRoomWidth - 1}) {
    for (int y : {0, kRoomHeight - 1}) EXPECT_TRUE(IsCorner(level.Code(rx, ry, x, y)));
    for (int y : {1, kRoomHeight - 2})
      EXPECT_TRUE(IsStraightOrCap(level.Code(rx, ry, x, y))) << rx << "," << ry << " " << x;
  }
  for (int y : {0, kRoomHeight - 1}) {
    for (int x : {1, kRoomWidth - 2})
      EXPECT_TRUE(IsStraightOrCap(level.Code(rx, ry, x, y))) << rx << "," << ry << " " << x;
  }
  for (int y = 0; y < kRoomHeight && rx + 1 < kRooms; ++y) {
    EXPECT_EQ(level.Code(rx, ry, kRoomWidth - 1, y) == 0, level.Code(rx + 1, ry, 0, y) == 0);
  }
  for (int x = 0; x < kRoomWidth && ry + 1 < kRooms; ++x) {
    EXPECT_EQ(level.Code(rx, ry, x, kRoomHeight - 1) == 0, level.Code(rx, ry + 1, x, 0) == 0);
  }
  for (int x = 1; x < kRoomWidth - 1; ++x) {
    for (int y : {0, kRoomHeight - 1}) {
      if (!IsWall(level.Code(rx, ry, x, y), 2)) continue;
      EXPECT_NE(level.Code(rx, ry, x - 1, y), 0) << rx << "," << ry << " " << x << "," << y;
      EXPECT_NE(level.Code(rx, ry, x + 1, y), 0) << rx << "," << ry << " " << x << "," << y;
    }
  }
  for (int y = 1; y < kRoomHeight - 1; ++y) {
    for (int x : {0, kRoomWidth - 1}) {
      if (!IsWall(level.Code(rx, ry, x, y), 2)) continue;
      EXPECT_NE(level.Code(rx, ry, x, y - 1), 0) << rx << "," << ry << " " << x << "," << y;
      EXPECT_NE(level.Code(rx, ry, x, y + 1), 0) << rx << "," << ry << " " << x << "," << y;
    }
  }
}

void ExpectInvariants(MyApp& app, const Level& level) {
  std::vector<int> itemTiles(3, 0);
  for (int rx = 0; rx < kRooms; ++rx) {
    for (int ry = 0; ry < kRooms; ++ry) {
      if (rx == 0 || ry == 0 || rx == kRooms - 1 || ry == kRooms - 1) {
        ExpectRingUntouched(level, rx, ry);
        continue;
      }
      ExpectWallsSound(level, rx, ry);
      const bool start = rx == level.StartX() && ry == level.StartY();
      for (int x = 0; x < kRoomWidth; ++x) {
        for (int y = 0; y < kRoomHeight; ++y) {
          const int code = level.Code(rx, ry, x, y);
          ASSERT_NE(code, 312);
          if (code >= 200 && code < 230) ++itemTiles[(code - 200) / 10];
          if (IsBlock(code)) {
            EXPECT_TRUE(level.OnAnyPath(rx, ry) && !start) << rx << "," << ry;
            EXPECT_GE(level.HitPoints(rx, ry, x, y), 1);
            EXPECT_LE(level.HitPoints(rx, ry, x, y), 2);
          } else if (x || y) {
            EXPECT_EQ(level.HitPoints(rx, ry, x, y), 0);
          }
          if (code == 412) {
            EXPECT_GE(app.Level, 9);
            EXPECT_TRUE(x == 3 || x == 7 || x == 11) << x;
          }
        }
      }
    }
  }
  EXPECT_EQ(itemTiles, std::vector<int>(3, 1));
  EXPECT_EQ(level.Code(level.StartX(), level.StartY(), 6, 5), 100);
  EXPECT_EQ(level.Code(level.StartX(), level.StartY(), 9, 8), 115);

  const std::set<int> reachable = level.ReachableRooms();
  for (int path = 0; path < 3; ++path) {
    int rooms = 0;
    for (int r = 0; r < kRooms * kRooms; ++r) {
      if (!level.Mark(r % kRooms, r / kRooms, path)) continue;
      ++rooms;
      EXPECT_TRUE(reachable.count(r)) << "path " << path << " room " << r;
    }
    EXPECT_LE(rooms, level.PathSteps() + 1);
    const float* item = &app.Player[60 + 10 * path];
    const int rx = static_cast<int>(item[3]), ry = static_cast<int>(item[4]);
    const int tx = static_cast<int>(item[1]) - rx * kRooms;
    const int ty = static_cast<int>(item[2]) - ry * kRooms;
    EXPECT_EQ(item[0], 0.0f);
    EXPECT_NE(level.Mark(rx, ry, path), 0) << "item " << path;
    EXPECT_TRUE(reachable.count(ry * kRooms + rx)) << "item " << path;
    EXPECT_EQ((level.Code(rx, ry, tx, ty) - 200) / 10, path) << "item " << path;
  }
}

std::vector<int> UsedWorld(const MyApp& app) {
  return std::vector<int>(app.World.begin(), app.World.begin() + kWorldUsedInts);
}

struct ToolRun {
  int status = -1;
  std::string output;
};

ToolRun RunTool(const std::string& arguments) {
  const std::string command = std::string(ZV_WORLD_TOOL) + " " + arguments + " 2>&1";
  ToolRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[65536];
  size_t count;
  while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, count);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

uint64_t Fnv1a(const std::string& text) {
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : text) hash = (hash ^ c) * 1099511628211ull;
  return hash;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  return lines;
}

}  // namespace

TEST(World, TheSameLevelComesOutTheSameWhateverCameBefore) {
  HeadlessGame game;
  MyApp& app = game.app();
  Level(app, 17);
  const std::vector<int> first = UsedWorld(app);
  const auto player = app.Player;
  Level(app, 1);
  Level(app, 1000);
  for (int i = 0; i < 7; ++i) Rnd();
  Level(app, 17);
  EXPECT_EQ(UsedWorld(app), first);
  EXPECT_EQ(app.Player, player);
}

TEST(World, LevelsKeepTheirInvariants) {
  HeadlessGame game;
  MyApp& app = game.app();
  bool barriers = false;
  for (int number : {1, 2, 3, 5, 8, 9, 10, 12, 13, 20, 24, 25, 26, 37, 50, 99, 250, 777, 1000}) {
    SCOPED_TRACE(number);
    const Level level(app, number);
    ExpectInvariants(app, level);
    for (int i = 0; i < kWorldUsedInts; i += 10) barriers |= app.World[i] == 412;
    if (HasFailure()) break;
  }
  EXPECT_TRUE(barriers) << "no corridor barrier on any level from 9 on";
}

// The item search may fall back to any tile of its room; on no level may that cost an item.
TEST(World, EveryLevelHidesItsThreeItemsWhereItsRecordsSay) {
  HeadlessGame game;
  MyApp& app = game.app();
  for (int number = 1; number <= MyApp::kLevels; ++number) {
    Level(app, number);
    int found = 0;
    for (int i = 0; i < kWorldUsedInts; i += 10) {
      const int code = app.World[i];
      if (code < 200 || code >= 230) continue;
      const int item = (code - 200) / 10;
      const int room = i / kRoomInts, tile = i % kRoomInts / 10;
      const float* record = &app.Player[60 + 10 * item];
      ASSERT_EQ(record[1], room % kRooms * kRooms + tile % kRoomWidth) << number;
      ASSERT_EQ(record[2], room / kRooms * kRooms + tile / kRoomWidth) << number;
      ++found;
    }
    ASSERT_EQ(found, 3) << number;
  }
}

TEST(World, ReadsOutsideTheWorldGive42AndWritesThereAreIgnored) {
  HeadlessGame game;
  MyApp& app = game.app();
  Level(app, 3);
  EXPECT_EQ(app.isAt2(-1, 5), 42);
  EXPECT_EQ(app.isAt2(512, 0), 42);
  EXPECT_EQ(app.isAt2(0, 384), 42);
  EXPECT_EQ(app.isAt2(0, 0), app.World[0]);
  EXPECT_EQ(app.isAt(-1.0f, 100.0f), 42);  // truncation alone would give tile 0
  EXPECT_EQ(app.isAt(100.0f, -0.5f), 42);
  EXPECT_EQ(app.isAt(1e30f, 10.0f), 42);
  EXPECT_EQ(app.isAt(NAN, 10.0f), 42);
  EXPECT_EQ(app.isAt(511 * kTile + 30, 383 * kTile), app.isAt2(511, 383));
  EXPECT_EQ(app.isAt(20 * kTile + 0.5f, 30 * kTile - 0.5f), app.isAt2(20, 29));

  const std::vector<int> before = UsedWorld(app);
  app.PutAt(-5.0f, 10.0f, 7);
  app.PutAt(512 * kTile, 0.0f, 7);
  app.PutAt(0.0f, 384 * kTile + 1, 7);
  app.PutAt(NAN, 0.0f, 7);
  app.PutAround(-100.0f, 40.0f, 7);
  EXPECT_EQ(UsedWorld(app), before);
  EXPECT_EQ(app.isCol(-1.0f, 0.0f), 0);

  app.PutAt(37 * kTile + 3, 50 * kTile + 3, 7);
  EXPECT_EQ(app.isAt2(37, 50), 7);
}

TEST(World, PutAroundTakesAFreeTileNearbyOrTheLastOf251Tries) {
  HeadlessGame game;
  MyApp& app = game.app();
  Level(app, 4);
  const int rx = 5, ry = 6;  // far from any path: an empty room
  for (int x = 1; x < kRoomWidth - 1; ++x)
    for (int y = 1; y < kRoomHeight - 1; ++y) app.World[Index(rx, ry, x, y)] = 48;

  // Every candidate occupied: 251 pairs of draws, then the last candidate is written over.
  const float px = (rx * 16 + 7) * kTile + 5, py = (ry * 12 + 5) * kTile + 5;
  Seed = 99;
  app.PutAround(px, py, 777);
  const int after = Seed;
  Seed = 99;
  for (int i = 0; i < 2 * 251; ++i) Rnd();
  EXPECT_EQ(after, Seed);
  int written = 0;
  for (int x = 0; x < kRoomWidth; ++x) {
    for (int y = 0; y < kRoomHeight; ++y) {
      if (app.World[Index(rx, ry, x, y)] != 777) continue;
      ++written;
      EXPECT_LE(std::abs(x - 7), 2);
      EXPECT_LE(std::abs(y - 5), 2);
    }
  }
  EXPECT_EQ(written, 1);

  // From a wall corner the candidates are kept off the walls, inside the same room.
  app.World[Index(rx, ry, 1, 1)] = 0;
  app.PutAround((rx * 16) * kTile, (ry * 12) * kTile, 555);
  EXPECT_EQ(app.World[Index(rx, ry, 1, 1)], 555);
}

TEST(World, SolidityRoomMarksAndNeighbourhoods) {
  for (int code : {1, 24, 43, 47, 48, 99, 112, 115, 200, 308, 349, 399})
    EXPECT_TRUE(MyApp::isSolid(code)) << code;
  for (int code : {-1, 0, 44, 45, 46, 100, 111, 400, 412, 449, 500, 599})
    EXPECT_FALSE(MyApp::isSolid(code)) << code;

  HeadlessGame game;
  MyApp& app = game.app();
  const Level level(app, 6);
  const int sx = level.StartX(), sy = level.StartY();
  EXPECT_GE(app.isCol((sx * 16 + 3) * kTile, (sy * 12 + 3) * kTile), 1);
  EXPECT_EQ(app.isCol(0.0f, 0.0f), 0);

  // The tile on the start room's right wall: its right-hand neighbours lie in the next room.
  const float px = (sx * 16 + 15) * kTile + 1, py = (sy * 12 + 6) * kTile + 1;
  const int tx = sx * 16 + 15, ty = sy * 12 + 6;
  app.GetMatrix(px, py, 0);
  EXPECT_EQ(app.Matrix[1], app.isAt2(tx - 1, ty - 1));
  EXPECT_EQ(app.Matrix[5], app.isAt2(tx, ty));
  EXPECT_EQ(app.Matrix[6], app.isAt2(tx + 1, ty));
  EXPECT_EQ(app.Matrix[9], app.isAt2(tx + 1, ty + 1));
  EXPECT_EQ(app.Matrix[15], sy * 32 + sx);
  app.World[Index(sx + 1, sy, 0, 6)] = 0;
  app.GetMatrix(px, py, 1);
  EXPECT_EQ(app.Matrix[6], 42);
  EXPECT_EQ(app.Matrix[3], 42);
  EXPECT_EQ(app.Matrix[5], app.isAt2(tx, ty));
  EXPECT_EQ(app.Matrix[4], app.isAt2(tx - 1, ty));
}

TEST(World, RandCoversItsWholeRangeAndNothingElse) {
  HeadlessGame game;
  MyApp& app = game.app();
  for (const auto& [lo, hi] : {std::pair{-2, 2}, {308, 312}, {0, 31}, {5, 5}}) {
    std::set<int> seen;
    for (int i = 0; i < 5000; ++i) seen.insert(app.Rand(lo, hi));
    EXPECT_EQ(static_cast<int>(seen.size()), hi - lo + 1);
    EXPECT_EQ(*seen.begin(), lo);
    EXPECT_EQ(*seen.rbegin(), hi);
  }
}

// Pins the whole of level 1 so that any change to the order of draws shows up.
TEST(WorldTool, PrintsLevelOneExactly) {
  const ToolRun run = RunTool("1");
  ASSERT_EQ(run.status, 0) << run.output;
  const std::vector<std::string> lines = Lines(run.output);
  ASSERT_EQ(lines.size(), 2u + 32 * 32);
  EXPECT_EQ(lines[0], "level 1 maxbads 2 maxweaps 2");
  EXPECT_EQ(lines[1],
            "player 1=10168 2=6541 11=20 12=17 13=10168 14=6479 17=50 18=4 27=60 28=0 "
            "29=40 51=20 52=17 53=10168 54=6541 55=0 56=0 57=0 60=0 61=712 62=549 "
            "63=22 64=17 70=0 71=653 72=578 73=20 74=18 80=0 81=614 82=550 83=19 84=17");
  EXPECT_EQ(lines[2].substr(0, 40), "room 0 0 0 0 0 32,0,0 33,0,0 33,0,0 33,0");
  EXPECT_EQ(Fnv1a(run.output), 0x8fb8e8151379cf8full);
}

TEST(WorldTool, PrintsTheLastLevelAndDrawsMaps) {
  const ToolRun last = RunTool("1000");
  ASSERT_EQ(last.status, 0);
  const std::vector<std::string> lines = Lines(last.output);
  ASSERT_EQ(lines.size(), 2u + 32 * 32);
  EXPECT_EQ(lines[0], "level 1000 maxbads 5 maxweaps 6");
  EXPECT_EQ(lines.back().substr(0, 17), "room 31 31 0 0 0 ");

  const ToolRun map = RunTool("1 --map");
  ASSERT_EQ(map.status, 0);
  const std::vector<std::string> rows = Lines(map.output);
  ASSERT_GT(rows.size(), 12u);
  EXPECT_NE(map.output.find("legend:"), std::string::npos);
  EXPECT_NE(map.output.find("BBBB"), std::string::npos);
  EXPECT_NE(map.output.find("===="), std::string::npos);
  EXPECT_EQ(rows[1].size() % 16, 0u);
  std::string drawn;
  for (size_t i = 1; i < rows.size() && rows[i].rfind("legend", 0) != 0; ++i) {
    EXPECT_EQ(rows[i].size(), rows[1].size());
    drawn += rows[i];
  }
  EXPECT_EQ(drawn.size() % (16 * 12), 0u);
  for (char item : {'1', '2', '3'}) EXPECT_EQ(std::count(drawn.begin(), drawn.end(), item), 1);
}

TEST(WorldTool, RejectsBadArguments) {
  for (const char* arguments :
       {"", "0", "1001", "abc", "-1", "+5", "12x", "1 --mop", "1 --map 2"}) {
    const ToolRun run = RunTool(arguments);
    EXPECT_NE(run.status, 0) << arguments;
    EXPECT_EQ(run.output.rfind("usage: zorvane-world LEVEL [--map]", 0), 0u) << arguments;
  }
}
