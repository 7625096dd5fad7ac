// zorvane-world: builds the world of one level without a window and prints it, either as
// every value generation decides or as a map drawn in text; or checks a range of levels
// for items or a pad that no ship can reach.
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "game/my_app.h"
#include "game/play/reach.h"
#include "world_map.h"

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitUnwinnable = 1;

// The usage on standard error for a command line that cannot be read, on standard output when
// asked for with --help.
int Usage(std::FILE* to = stderr, int status = kExitUsage) {
  std::fprintf(to,
               "usage: zorvane-world LEVEL [--map]   (LEVEL from 1 to %d)\n"
               "       zorvane-world --check A-B     (levels A to B)\n",
               world::kLevels);
  return status;
}

bool AsksForHelp(int argc, char** argv) {
  return argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0);
}

// A level number: decimal digits only, within the levels the game offers.
bool ParseLevel(std::string_view text, int& level) {
  const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), level);
  return error == std::errc() && stop == text.data() + text.size() && !text.empty() &&
         text.front() != '-' && level >= 1 && level <= world::kLevels;
}

bool ParseRange(std::string_view text, int& first, int& last) {
  const size_t dash = text.find('-');
  return dash != std::string_view::npos && ParseLevel(text.substr(0, dash), first) &&
         ParseLevel(text.substr(dash + 1), last) && first <= last;
}

// What a level that cannot be won lacks, e.g. "item 2, pad".
std::string Unreached(const LevelCheck& check) {
  std::string parts;
  for (int item = 0; item < world::kPaths; ++item) {
    if (check.itemReached[item]) continue;
    parts += (parts.empty() ? "item " : ", item ") + std::to_string(item);
  }
  if (!check.padReached) parts += parts.empty() ? "pad" : ", pad";
  return parts;
}

int CheckLevels(MyApp& app, int first, int last) {
  std::string failed;
  int count = 0;
  for (int level = first; level <= last; ++level) {
    app.world.Level = level;
    LoadGame(app.frame, app.io, app.world, app.play, app.level, app.screens, app.pause);
    const LevelCheck check = CheckLevel(app.world, app.play);
    if (check.Won()) continue;
    ++count;
    failed.append(" ").append(std::to_string(level));
    std::printf("level %d cannot be won: no way to %s\n", level, Unreached(check).c_str());
  }
  std::printf("checked levels %d-%d: %d can be won, %d cannot%s%s\n", first, last,
              last - first + 1 - count, count, count ? ":" : "", failed.c_str());
  return count == 0 ? 0 : kExitUnwinnable;
}

}  // namespace

int main(int argc, char** argv) {
  if (AsksForHelp(argc, argv)) return Usage(stdout, 0);
  int level = 0, last = 0;
  const bool check = argc == 3 && std::strcmp(argv[1], "--check") == 0;
  if (check ? !ParseRange(argv[2], level, last)
            : (argc < 2 || argc > 3 || !ParseLevel(argv[1], level)))
    return Usage();
  const bool map = !check && argc == 3;
  if (map && std::strcmp(argv[2], "--map") != 0) return Usage();

  // The game object stands on a host but needs no window or devices to build a level.
  KvGame host;
  kvInit();
  auto app = std::make_unique<MyApp>();
  app->save.Settings[kSoundModeSetting] = 0;  // no audio device: keep sound off
  if (check) return CheckLevels(*app, level, last);
  app->world.Level = level;
  LoadGame(app->frame, app->io, app->world, app->play, app->level, app->screens,
           app->pause);  // sets the level's enemy and weapon caps, then builds the world

  const std::string text = map ? DrawWorldMap(*app) : DescribeWorld(*app);
  const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
  return written && std::fflush(stdout) == 0 ? 0 : 1;
}
