// The save record in the state file, and filing scores into the level records.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>

#include "child_process.h"
#include "game/core/globals.h"
#include "scratch_folder.h"
#include "sim/headless_game.h"

namespace {

constexpr int kLevelBlockFields = 21;
constexpr int kLevelsStart = 35;  // fields before the first level block

int LevelField(int level, int offset) {
  return kLevelsStart + level * kLevelBlockFields + offset;
}

std::vector<std::string> SplitFields(const std::string& text) {
  std::vector<std::string> fields;
  std::stringstream stream(text);
  for (std::string field; std::getline(stream, field, '|');) fields.push_back(field);
  return fields;
}

std::string JoinFields(const std::vector<std::string>& fields) {
  std::string text;
  for (const auto& field : fields) text += field + "|";
  return text;
}

// A fresh game in a folder of its own, so the state file is the test's alone.
class SaveRecord : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_.emplace("save_test");
    game_ = std::make_unique<HeadlessGame>();
  }

  void TearDown() override {
    game_.reset();
    folder_.reset();
  }

  MyApp& app() { return game_->app(); }

  static std::string FileText(const char* path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  }
  std::string StateText() { return FileText(".briskostate"); }

  // Loads the text as the state file and returns what Load printed.
  std::string LoadText(const std::string& text) {
    std::ofstream(".briskostate", std::ios::binary) << text;
    testing::internal::CaptureStdout();
    app().Load();
    return testing::internal::GetCapturedStdout();
  }

  // The settings with a meaning: sound mode, pad x, y and size, overscan.
  std::vector<int> MeaningfulSettings() {
    const auto& s = app().save.Settings;
    return {s[kSoundModeSetting], s[kPadXSetting], s[kPadYSetting], s[kPadSizeSetting],
            s[kOverscanSetting]};
  }

  // Every saved value set to something distinct, with negatives and both int extremes.
  void FillEverything() {
    for (int i = 0; i < kSettings; ++i) app().save.Settings[i] = (i % 2 ? -1 : 1) * (i * 1013 + 7);
    app().save.Settings[3] = INT_MIN;
    app().save.Settings[4] = INT_MAX;
    app().save.Settings[kPadXSetting] = 300;
    app().save.Settings[kPadYSetting] = 64;
    app().save.Settings[kPadSizeSetting] = 8;
    app().save.Settings[kOverscanSetting] = 1;  // what the repairs leave on the desktop
    for (int i = 0; i < kBadgeSlots; ++i) app().save.BadgeGot[i] = (i * 7) % 3 == 0 || i % 32 == 31;
    for (int i = 0; i < 20000; ++i)
      app().save.LevelRecords[i] =
          static_cast<int>(((i * 2654435761u) >> (i % 5)) - (i % 3) * 1000u);
    app().save.LevelRecords[17] = INT_MIN;
    app().save.LevelRecords[10017] = INT_MAX;
  }

  std::optional<ScratchFolder> folder_;
  std::unique_ptr<HeadlessGame> game_;
};

}  // namespace

TEST_F(SaveRecord, AFailedSaveLeavesThePreviousRecord) {
  app().Save();
  const std::string before = StateText();
  app().save.LevelRecords[0] = 5;
  // The new record runs out of room partway: the file size limit stops it after 4 KiB.
  RunInChild([&] {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    app().Save();
  });
  EXPECT_EQ(StateText(), before);
}

// Too short for a settings block (26 fields) or a badge block: nothing is read, and the
// settings are only repaired. Only a text cut short is damaged: an empty one is no save yet.
TEST_F(SaveRecord, AnEmptyOrShortStateLeavesTheRepairedDefaults) {
  app().save.BadgeGot[0] = true;
  for (const char* text : {"", "1|2|3|"}) {
    EXPECT_EQ(LoadText(text), "") << text;
    EXPECT_EQ(MeaningfulSettings(), (std::vector<int>{1, 64, 64, 10, 1})) << text;
    EXPECT_TRUE(app().save.BadgeGot[0]) << text;
    EXPECT_EQ(app().frame.Overscan, 0.0f);
    EXPECT_EQ(app().save.StateDamaged, *text != '\0') << text;
  }

  app().platform.console = true;  // the console keeps its overscan setting, repaired from 0 to 64
  LoadText("");
  EXPECT_EQ(app().save.Settings[kOverscanSetting], 1);
  app().save.Settings[kOverscanSetting] = 0;
  LoadText("");
  EXPECT_EQ(app().save.Settings[kOverscanSetting], 64);
  EXPECT_EQ(app().frame.Overscan, 64.0f);
  app().platform.console = false;
}

// Every value comes back; a record cut short loads the blocks it holds and leaves the rest, and
// is kept as damaged like a block whose checksum fails.
TEST_F(SaveRecord, EveryValueSurvivesASaveAndALoad) {
  FillEverything();
  const auto settings = app().save.Settings;
  const auto badges = app().save.BadgeGot;
  const auto records = app().save.LevelRecords;
  app().Save();
  app().save.Settings.fill(0);
  app().save.BadgeGot.fill(false);
  app().save.LevelRecords.fill(0);
  const std::string saved = StateText();
  EXPECT_EQ(LoadText(saved), "Settings Loaded\nBadges Loaded\n");
  EXPECT_EQ(app().save.Settings, settings);
  EXPECT_EQ(app().save.BadgeGot, badges);
  EXPECT_TRUE(
      std::equal(records.begin(), records.begin() + 20000, app().save.LevelRecords.begin()));
  app().Save();
  EXPECT_EQ(StateText(), saved);
  EXPECT_FALSE(std::filesystem::exists(".briskostate.damaged"));

  std::vector<std::string> fields = SplitFields(saved);
  fields.resize(LevelField(5, 19));  // level 5's block is cut short
  app().save.LevelRecords.fill(-9);
  EXPECT_EQ(LoadText(JoinFields(fields)), "Settings Loaded\nBadges Loaded\n");
  for (int entry : {0, 49, 10000, 10049}) EXPECT_EQ(app().save.LevelRecords[entry], records[entry]);
  for (int entry : {50, 9999, 10050, 19999}) EXPECT_EQ(app().save.LevelRecords[entry], -9);
  EXPECT_TRUE(app().save.StateDamaged);
}

TEST_F(SaveRecord, ADamagedBlockIsResetAlone) {
  FillEverything();
  const auto records = app().save.LevelRecords;
  const auto badges = app().save.BadgeGot;
  app().Save();
  const std::vector<std::string> saved = SplitFields(StateText());
  ASSERT_EQ(saved.size(), 35u + 1005 * kLevelBlockFields);

  std::vector<std::string> fields = saved;
  fields[2] = "12345";  // settings edited by hand
  EXPECT_EQ(LoadText(JoinFields(fields)), "Settings Checksum Invalid\nBadges Loaded\n");
  EXPECT_EQ(app().save.Settings[2], 0);
  EXPECT_EQ(MeaningfulSettings(), (std::vector<int>{1, 64, 64, 10, 1}));
  EXPECT_EQ(app().save.BadgeGot, badges);
  EXPECT_EQ(app().save.LevelRecords, records);

  fields = saved;
  fields[27] = "5";  // a badge word
  EXPECT_EQ(LoadText(JoinFields(fields)), "Settings Loaded\nBadge Checksum Invalid\n");
  EXPECT_EQ(app().save.BadgeGot, decltype(badges){});
  EXPECT_EQ(app().save.Settings[kPadXSetting], 300);

  // Two best scores of level 12 swapped: the weights tell them apart.
  fields = saved;
  std::swap(fields[LevelField(12, 0)], fields[LevelField(12, 2)]);
  EXPECT_EQ(LoadText(JoinFields(fields)),
            "Settings Loaded\nBadges Loaded\nHighscore 12 Checksum Invalid\n");
  auto expected = records;
  std::fill_n(expected.begin() + 120, 10, 0);
  std::fill_n(expected.begin() + 10120, 10, 0);
  EXPECT_EQ(app().save.LevelRecords, expected);
}

// Only what Save writes counts as a number: an optional "-" and digits within an int. Each
// field stands in a level block whose checksum fits the number atoi would read from it, so
// the form of the field alone decides.
TEST_F(SaveRecord, AFieldThatIsNotAPlainNumberInvalidatesItsBlock) {
  const std::vector<std::pair<std::string, int>> valid = {
      {"0", 0}, {"-0", 0}, {"007", 7}, {"2147483647", INT_MAX}, {"-2147483648", INT_MIN}};
  const std::vector<std::string> invalid = {
      "",   "-",  "12ab", "99999999999", "2147483648", "-2147483649", "zero",
      "+7", " 7", "7 ",   "0x10",        "1e3",        "--1",         std::string(63, '0') + "9"};
  std::vector<std::string> fields;
  for (const auto& entry : valid) fields.push_back(entry.first);
  fields.insert(fields.end(), invalid.begin(), invalid.end());

  app().Save();
  std::vector<std::string> record = SplitFields(StateText());
  std::string expected = "Settings Loaded\nBadges Loaded\n";
  for (int level = 0; level < static_cast<int>(fields.size()); ++level) {
    const long long leading =
        std::clamp<long long>(std::strtoll(fields[level].c_str(), nullptr, 10), INT_MIN, INT_MAX);
    record[LevelField(level, 0)] = fields[level];
    record[LevelField(level, 20)] = std::to_string(static_cast<int>(4u * uint32_t(leading)));
    if (level >= static_cast<int>(valid.size()))
      expected += "Highscore " + std::to_string(level) + " Checksum Invalid\n";
  }
  app().save.LevelRecords.fill(1);
  EXPECT_EQ(LoadText(JoinFields(record)), expected);
  for (int level = 0; level < static_cast<int>(fields.size()); ++level) {
    const bool isValid = level < static_cast<int>(valid.size());
    EXPECT_EQ(app().save.LevelRecords[level * 10], isValid ? valid[level].second : 0)
        << fields[level];
  }
  EXPECT_TRUE(app().save.StateDamaged);
}

// Junk reads as no block at all: it used to read as zeros that matched their checksum of 0,
// turning all sound off.
TEST_F(SaveRecord, JunkLoadsNoBlock) {
  std::string noise(1 << 20, '\0');
  std::mt19937 random(12);
  for (char& byte : noise) byte = static_cast<char>(random());
  for (const std::string& junk : {std::string(26, '|'), std::string(400, '|'), noise}) {
    app().save.Settings.fill(7);
    app().save.BadgeGot.fill(true);
    app().save.LevelRecords.fill(7);
    const std::string printed = LoadText(junk);
    EXPECT_EQ(printed.find("Loaded"), std::string::npos) << printed.substr(0, 200);
    EXPECT_EQ(printed.substr(0, 26), "Settings Checksum Invalid\n");
    EXPECT_EQ(MeaningfulSettings(), (std::vector<int>{1, 64, 64, 10, 1}));
    EXPECT_EQ(app().save.BadgeGot[0], junk.size() < 35) << "the badges need 35 fields";
    EXPECT_EQ(app().save.LevelRecords[0], junk.size() < 56 ? 7 : 0);
    EXPECT_TRUE(app().save.StateDamaged);
  }
}

// One damaged byte costs blocks, but the file holding them is kept beside the new record so
// that the scores can be recovered by hand; it is kept once, not replaced by later saves.
TEST_F(SaveRecord, TheDamagedFileIsKeptBeforeASaveReplacesIt) {
  FillEverything();
  app().Save();
  std::string damaged = StateText();
  damaged[damaged.find('|')] = '#';  // every later field moves one block position
  const std::string printed = LoadText(damaged);
  EXPECT_EQ(printed.find("Loaded"), std::string::npos);
  EXPECT_NE(printed.find("Highscore 999 Checksum Invalid"), std::string::npos);

  testing::internal::CaptureStderr();
  app().Save();
  app().Save();
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "zorvane: the state file ./.briskostate was damaged and its bad blocks reset; it is "
            "kept as ./.briskostate.damaged to recover scores by hand\n");
  EXPECT_EQ(FileText(".briskostate.damaged"), damaged);
  EXPECT_EQ(LoadText(StateText()), "Settings Loaded\nBadges Loaded\n");
  EXPECT_FALSE(app().save.StateDamaged);
}

TEST_F(SaveRecord, ScoresAreFiledInOrderAndCompletionIsMarked) {
  MyApp& game = app();
  game.world.Level = 3;  // its records start at entry 20
  auto best = [&game] {
    return std::vector<int>(&game.save.LevelRecords[20], &game.save.LevelRecords[30]);
  };
  game.play.Score = 0;
  game.play.ExitState = 0;
  game.FileScore();
  EXPECT_EQ(best(), std::vector<int>(10, 0)) << "a score of 0 never enters an empty table";
  EXPECT_EQ(game.save.LevelRecords[10020], 0);

  for (int score : {50, 30, 40, 40, 0}) {
    game.play.Score = score;
    game.FileScore();
  }
  EXPECT_EQ(best(), (std::vector<int>{50, 40, 40, 30, 0, 0, 0, 0, 0, 0}));
  for (game.play.Score = 100; game.play.Score < 110; ++game.play.Score) game.FileScore();
  EXPECT_EQ(best(), (std::vector<int>{109, 108, 107, 106, 105, 104, 103, 102, 101, 100}));
  EXPECT_EQ(game.save.LevelRecords[30], 0) << "the next level is untouched";

  game.play.ExitState = -1;
  game.FileScore();
  EXPECT_EQ(game.save.LevelRecords[10020], 1);

  const auto records = game.save.LevelRecords;
  for (int level : {0, 1001, -5}) {
    game.world.Level = level;
    game.FileScore();
  }
  EXPECT_EQ(game.save.LevelRecords, records);
}
