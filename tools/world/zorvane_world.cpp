// zorvane-world: builds the world of one level without a window and prints it, either as
// every value generation decides or as a map drawn in text.
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "game/my_app.h"
#include "world_map.h"

namespace {

constexpr int kExitUsage = 2;

int Usage() {
  std::fprintf(stderr, "usage: zorvane-world LEVEL [--map]   (LEVEL from 1 to %d)\n",
               MyApp::kLevels);
  return kExitUsage;
}

// A level number: decimal digits only, within the levels the game offers.
bool ParseLevel(const char* text, int& level) {
  const char* end = text + std::strlen(text);
  const auto [stop, error] = std::from_chars(text, end, level);
  return error == std::errc() && stop == end && *text != '-' && level >= 1 &&
         level <= MyApp::kLevels;
}

}  // namespace

int main(int argc, char** argv) {
  int level = 0;
  if (argc < 2 || argc > 3 || !ParseLevel(argv[1], level)) return Usage();
  const bool map = argc == 3;
  if (map && std::strcmp(argv[2], "--map") != 0) return Usage();

  // The game object stands on a host but needs no window or devices to build a level.
  KvGame host;
  kvInit();
  auto app = std::make_unique<MyApp>();
  app->Settings[kSoundModeSetting] = 0;  // no audio device: keep sound off
  app->Level = level;
  app->LoadGame();  // sets the level's enemy and weapon caps, then builds the world

  const std::string text = map ? DrawWorldMap(*app) : DescribeWorld(*app);
  const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
  return written && std::fflush(stdout) == 0 ? 0 : 1;
}
