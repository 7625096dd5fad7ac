// zorvane_assetgen <data dir> [--contact <dir>] [--threads <n>]
// zorvane_assetgen --icons <dir>      the desktop icons only
#include <cairo.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "app_icon.h"
#include "generate.h"

namespace {

int WriteIcons(const char* dir) {
  const std::string error = assets::WriteAppIcons(dir, ZV_APP_ID);
  cairo_debug_reset_static_data();
  if (error.empty()) return 0;
  std::fprintf(stderr, "icon generation failed: %s\n", error.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--icons") == 0) return WriteIcons(argv[2]);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <data dir> [--contact <dir>] [--threads <n>]\n", argv[0]);
    std::fprintf(stderr, "       %s --icons <dir>\n", argv[0]);
    return 2;
  }
  assets::GenerateOptions options;
  options.dataDir = argv[1];
  for (int i = 2; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--contact") == 0) {
      options.contactDir = argv[i + 1];
    } else if (std::strcmp(argv[i], "--threads") == 0) {
      options.threads = std::atoi(argv[i + 1]);
    } else {
      std::fprintf(stderr, "unknown option %s\n", argv[i]);
      return 2;
    }
  }
  auto start = std::chrono::steady_clock::now();
  std::string error = assets::GenerateAll(options);
  cairo_debug_reset_static_data();
  if (!error.empty()) {
    std::fprintf(stderr, "asset generation failed: %s\n", error.c_str());
    return 1;
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("assets written to %s in %.1f s\n", options.dataDir.c_str(), seconds);
  return 0;
}
