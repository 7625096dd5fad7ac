// Arbitrary bytes as the state file, loaded and saved again: no crash, a damaged file is kept,
// and what Save writes is a whole record that loads back without a reset block, into the
// same values, and saves again to the same bytes.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "sim/headless_game.h"

namespace {

constexpr size_t kRecordFields = 35 + 1005 * 21;
constexpr const char* kState = ".briskostate";
constexpr const char* kDamaged = ".briskostate.damaged";

HeadlessGame* game = nullptr;
std::string folder;
std::filesystem::path home;

void RemoveFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

std::string ReadFile(const char* path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

// kRecordFields fields, each an optional "-" and digits followed by "|".
bool IsWholeRecord(const std::string& text) {
  size_t fields = 0, from = 0;
  for (size_t bar; (bar = text.find('|', from)) != std::string::npos; from = bar + 1, ++fields) {
    const size_t digits = from + (text[from] == '-' ? 1 : 0);
    if (bar == digits || text.find_first_not_of("0123456789", digits) < bar) return false;
  }
  return from == text.size() && fields == kRecordFields;
}

void Check(bool holds) {
  if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // A folder of the fuzzer's own, in memory where there is one: every input saves twice.
  const std::string base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
  folder = base + "/zv_save_fuzz_XXXXXX";
  if (!mkdtemp(folder.data())) std::abort();
  std::atexit(RemoveFolder);
  home = std::filesystem::current_path();
  game = new HeadlessGame();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The state file lies in the working folder; the fuzzer's own paths may be relative to home.
  std::filesystem::current_path(folder);
  MyApp& app = game->app();
  std::filesystem::remove(kDamaged);
  std::ofstream(kState, std::ios::binary).write(reinterpret_cast<const char*>(data), size);

  LoadProgress(app.platform, app.frame, app.screens, app.save);
  const bool damaged = app.save.StateDamaged;
  SaveProgress(app.play, app.screens, app.save);
  Check(std::filesystem::exists(kDamaged) == damaged);
  Check(!damaged || ReadFile(kDamaged) == std::string(data, data + size));
  const std::string saved = ReadFile(kState);
  Check(IsWholeRecord(saved));

  const auto settings = app.save.Settings;
  const auto badges = app.save.BadgeGot;
  const auto records = app.save.LevelRecords;
  LoadProgress(app.platform, app.frame, app.screens, app.save);
  Check(!app.save.StateDamaged);
  Check(app.save.Settings == settings && app.save.BadgeGot == badges &&
        app.save.LevelRecords == records);
  SaveProgress(app.play, app.screens, app.save);
  Check(ReadFile(kState) == saved);
  std::filesystem::current_path(home);
  return 0;
}
