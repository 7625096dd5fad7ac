// Behaviour kept while the game's insides are reorganised: the pilot's end lines over levels
// 1-50 and the update-by-update traces of key scripts on far levels, against files written by
// the simulator and checked by eye once (corpus/*.txt). The seed column shows the update at
// which an order of random draws changed. Regenerate only on purpose: ZV_UPDATE_CORPUS=1.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "sim_runs.h"

namespace {

std::string Corpus(const std::string& name) {
  return std::string(ZV_CORPUS_DIR) + "/" + name;
}

std::string ReadText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// The summary's seconds differ from run to run.
std::string WithoutTimes(std::string text) {
  for (size_t at; (at = text.find(" seconds=")) != std::string::npos;)
    text.erase(at, text.find('\n', at) - at);
  return text;
}

}  // namespace

TEST(Corpus, PilotEndLinesAndKeyScriptTracesStayTheSame) {
  const struct {
    std::vector<const char*> args;
    const char* file;
  } runs[] = {
      {{"--pilot", "--levels", "1-50"}, "pilot_levels_1_50.txt"},
      {{"--level", "12", "--keys", "90:- 40:U 30:UR 60:RA 40:UL 80:DA 60:UB 100:LA", "--frames",
        "400", "--trace"},
       "level_12_keys.txt"},
      {{"--level", "437", "--keys", "60:- 50:U 40:RA 70:ULA 60:DB 120:URA", "--frames", "400",
        "--trace"},
       "level_437_keys.txt"},
      {{"--level", "996", "--keys", "45:- 80:U 50:LA 40:UB 90:RDA 95:A", "--frames", "400",
        "--trace"},
       "level_996_keys.txt"},
  };
  const bool update = std::getenv("ZV_UPDATE_CORPUS") != nullptr;
  for (const auto& run : runs) {
    const SimRun result = Sim(run.args);
    ASSERT_EQ(result.status, kSimExitDone) << result.err;
    const std::string got = WithoutTimes(result.out);
    if (update) std::ofstream(Corpus(run.file), std::ios::binary) << got;
    const std::vector<std::string> want = Lines(ReadText(Corpus(run.file)));
    const std::vector<std::string> lines = Lines(got);
    ASSERT_FALSE(want.empty()) << run.file;
    for (size_t i = 0; i < std::max(want.size(), lines.size()); ++i) {
      ASSERT_EQ(i < lines.size() ? lines[i] : "(none)", i < want.size() ? want[i] : "(none)")
          << run.file << " line " << i + 1;
    }
  }
}
