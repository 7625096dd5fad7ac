// Behaviour kept while the game's insides are reorganised: the pilot's end lines over levels
// 1-50 and update-by-update traces of key scripts and recorded runs, against files written by
// the simulator and checked by eye once (corpus/*.txt). The seed column shows the update at
// which an order of random draws changed. Regenerate only on purpose: ZV_UPDATE_CORPUS=1.
// The pilot_run_*.txt files are input: runs the pilot played, recorded with --record.
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
  const std::string run1 = Corpus("pilot_run_level_1.txt"), run3 = Corpus("pilot_run_level_3.txt");
  const std::string run4 = Corpus("pilot_run_level_4.txt"), run5 = Corpus("pilot_run_level_5.txt");
  // Each run, the first update kept of its trace (the end line is always kept), its file.
  const struct {
    std::vector<const char*> args;
    int from;
    const char* file;
  } runs[] = {
      {{"--pilot", "--levels", "1-50"}, 1, "pilot_levels_1_50.txt"},
      {{"--level", "12", "--keys", "90:- 40:U 30:UR 60:RA 40:UL 80:DA 60:UB 100:LA", "--frames",
        "400", "--trace"},
       1,
       "level_12_keys.txt"},
      {{"--level", "437", "--keys", "60:- 50:U 40:RA 70:ULA 60:DB 120:URA", "--frames", "400",
        "--trace"},
       1,
       "level_437_keys.txt"},
      {{"--level", "996", "--keys", "45:- 80:U 50:LA 40:UB 90:RDA 95:A", "--frames", "400",
        "--trace"},
       1,
       "level_996_keys.txt"},
      // Flight: at 90 the intro ends and the ship, falling at 5, settles on the pad (96); thrust
      // takes vy to -6 at 1.5 an update (97-101), right thrust vx to 8 (112-123), left turns it
      // back (127-144); from 151 it falls, gravity adding 0.35 an update up to 5 (162).
      {{"--level", "1", "--keys", "90:- 20:U 15:UR 15:L 30:-", "--frames", "170", "--trace"},
       86,
       "flight_level_1.txt"},
      // The main gun held from 91: a shot at once (objects 0->1), the next at 106 and every 15
      // updates after; each is spent on the start room's wall (objects falls back).
      {{"--level", "1", "--keys", "90:- 46:A 20:-", "--frames", "156", "--trace"},
       88,
       "main_gun_level_1.txt"},
      // The grenade thrown at 91 (ammo 4->3, objects 0->1) arcs away and bursts against the
      // floor at 132 into a ring of 16 shots (objects 16), 13 of which are spent at once on
      // the walls around (objects 3 at 133).
      {{"--level", "1", "--keys", "90:- 1:B 60:-", "--frames", "150", "--trace"},
       88,
       "grenade_level_1.txt"},
      // Death and respawn: three enemies wait in the start room of level 33; one reaches the
      // ship still in its intro at 16 (exit 1, counting up to 60 at 75); at 76 the ship is
      // back at rest on its base, lives 3->2.
      {{"--level", "33", "--keys", "100:-", "--frames", "90", "--trace"}, 10, "death_level_33.txt"},
      // A weapon pickup: at 180 the ship flying left takes the bomb in room 12,20 (weapon
      // 50->49, ammo 4, score 20->30).
      {{"--replay", run4.c_str(), "--trace"}, 165, "weapon_pickup_level_4.txt"},
      // An item picked up: at 206 the ship flying right takes item 1 (items 000->100, score
      // 20->30).
      {{"--replay", run3.c_str(), "--trace"}, 195, "item_pickup_level_3.txt"},
      // A death carrying items: at 1075 an enemy destroys the ship holding items 1 and 2
      // (items 110, exit 1); at 1135 it is back on its base in room 20,15 with lives 2 and
      // the items dropped back into the world (items 000).
      {{"--replay", run5.c_str(), "--trace"}, 1065, "death_with_items_level_5.txt"},
      // Delivery and take-off: at 966 the three items are delivered on the pad (items
      // 111->222, score 335->735) and exit goes -1 and down; the ship rises 189 pixels and
      // the level is complete at exit -91 (1056).
      {{"--replay", run1.c_str(), "--trace"}, 955, "delivery_level_1.txt"},
  };
  const bool update = std::getenv("ZV_UPDATE_CORPUS") != nullptr;
  for (const auto& run : runs) {
    const SimRun result = Sim(run.args);
    ASSERT_EQ(result.status, kSimExitDone) << result.err;
    std::string got;
    for (const std::string& line : Lines(WithoutTimes(result.out)))
      if (line.rfind("f=", 0) != 0 || std::atoi(line.c_str() + 2) >= run.from) got += line + "\n";
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
