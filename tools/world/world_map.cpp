#include "world_map.h"

#include <algorithm>
#include <cstdio>

#include "game/globals.h"
#include "game/my_app.h"

namespace {

constexpr int kRooms = 32;
constexpr int kRoomWidth = 16;
constexpr int kRoomHeight = 12;
constexpr int kTileInts = 10;
constexpr int kRoomInts = kRoomWidth * kRoomHeight * kTileInts;
constexpr int kHitPointsField = 7;
constexpr int kPathMarkField = 9;  // path k at 9 - k of a room's tile (0, 0)
constexpr int kPaths = 3;
constexpr int kPlayerEntries[] = {1,  2,  11, 12, 13, 14, 17, 18, 27, 28, 29,
                                  51, 52, 53, 54, 55, 56, 57, 60, 61, 62, 63,
                                  64, 70, 71, 72, 73, 74, 80, 81, 82, 83, 84};

const int* Tile(const MyApp& app, int rx, int ry, int x, int y) {
  return &app.World[(ry * kRooms + rx) * kRoomInts + (y * kRoomWidth + x) * kTileInts];
}

int PathMark(const MyApp& app, int rx, int ry, int path) {
  return Tile(app, rx, ry, 0, 0)[kPathMarkField - path];
}

bool OnAnyPath(const MyApp& app, int rx, int ry) {
  for (int path = 0; path < kPaths; ++path)
    if (PathMark(app, rx, ry, path) != 0) return true;
  return false;
}

template <typename... Args>
void Append(std::string& out, const char* format, Args... args) {
  char buffer[64];
  const int length = std::snprintf(buffer, sizeof buffer, format, args...);
  out.append(buffer, std::clamp(length, 0, static_cast<int>(sizeof buffer) - 1));
}

char Glyph(int code, bool inLevel) {
  if (code == 0) return inLevel ? ' ' : '.';
  if (code >= 44 && code <= 46) return '*';
  if (code >= 48 && code <= 51) return 'o';
  if (code >= 1 && code <= 99) return '#';
  if (code >= 100 && code <= 111) return 'B';
  if (code >= 112 && code <= 115) return '=';
  if (code >= 200 && code <= 229) return static_cast<char>('1' + (code - 200) / 10);
  if (code >= 300 && code <= 348) return 'e';
  if (code >= 349 && code <= 399) return 'w';
  if (code == 412) return '|';
  if ((code >= 400 && code <= 447) || (code >= 500 && code <= 599)) return 'E';
  if (code >= 449 && code <= 463) return 'W';
  return '?';
}

constexpr const char* kLegend =
    "legend: # wall  o block  1 2 3 block hiding item 1, 2, 3  e block hiding an enemy\n"
    "        w block hiding a weapon  B base  = landing pad  * item  E enemy  | barrier\n"
    "        W weapon pickup  (space) open floor  . room outside the level  ? other\n";

}  // namespace

std::string DescribeWorld(const MyApp& app) {
  std::string out;
  Append(out, "level %d maxbads %d maxweaps %d\nplayer", app.Level, MaxBads, MaxWeaps);
  for (int i : kPlayerEntries) Append(out, " %d=%g", i, static_cast<double>(app.Player[i]));
  out += '\n';
  for (int ry = 0; ry < kRooms; ++ry) {
    for (int rx = 0; rx < kRooms; ++rx) {
      Append(out, "room %d %d", rx, ry);
      for (int path = 0; path < kPaths; ++path) Append(out, " %d", PathMark(app, rx, ry, path));
      for (int y = 0; y < kRoomHeight; ++y) {
        for (int x = 0; x < kRoomWidth; ++x) {
          const int* tile = Tile(app, rx, ry, x, y);
          Append(out, " %d,%d,%d", tile[0], tile[1], tile[kHitPointsField]);
        }
      }
      out += '\n';
    }
  }
  return out;
}

std::string DrawWorldMap(const MyApp& app) {
  int left = kRooms, right = -1, top = kRooms, bottom = -1;
  for (int ry = 0; ry < kRooms; ++ry) {
    for (int rx = 0; rx < kRooms; ++rx) {
      if (!OnAnyPath(app, rx, ry)) continue;
      left = std::min(left, rx);
      right = std::max(right, rx);
      top = std::min(top, ry);
      bottom = std::max(bottom, ry);
    }
  }
  std::string out;
  Append(out, "level %d: rooms %d..%d across, ", app.Level, left, right);
  Append(out, "%d..%d down; start room %d,%d\n", top, bottom, static_cast<int>(app.Player[11]),
         static_cast<int>(app.Player[12]));
  for (int ry = top; ry <= bottom; ++ry) {
    for (int y = 0; y < kRoomHeight; ++y) {
      for (int rx = left; rx <= right; ++rx) {
        const bool inLevel = OnAnyPath(app, rx, ry);
        for (int x = 0; x < kRoomWidth; ++x) out += Glyph(Tile(app, rx, ry, x, y)[0], inLevel);
      }
      out += '\n';
    }
  }
  out += kLegend;
  return out;
}
