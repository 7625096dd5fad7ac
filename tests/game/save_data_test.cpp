// The save record in the state file, and filing scores into the level records.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <algorithm>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "child_process.h"
#include "game/core/globals.h"
#include "scratch_folder.h"
#include "sim/headless_game.h"

namespace {

constexpr char kState[] = ".briskostate";
// Field of a level block: 35 fields come first, then 21 to a level.
int LevelField(int level, int offset) {
  return 35 + level * 21 + offset;
}

std::vector<std::string> Split(const std::string& text) {
  std::vector<std::string> fields;
  std::stringstream stream(text);
  for (std::string field; std::getline(stream, field, '|');) fields.push_back(field);
  return fields;
}

std::string Join(const std::vector<std::string>& fields) {
  std::string text;
  for (const auto& field : fields) text += field + "|";
  return text;
}

std::string FileText(const char* path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

class SaveRecord : public ::testing::Test {
 protected:
  // Loads the text as the state file and returns what Load printed.
  std::string Load(const std::string& text) {
    std::ofstream(kState, std::ios::binary) << text;
    testing::internal::CaptureStdout();
    LoadProgress(app().platform, app().frame, app().screens, app().save);
    return testing::internal::GetCapturedStdout();
  }
  MyApp& app() { return game_.app(); }
  SaveData& data() { return game_.app().save; }
  // Sound mode, pad x, y and size, overscan.
  std::vector<int> Settings() {
    const auto& s = data().Settings;
    return {s[kSoundModeSetting], s[kPadXSetting], s[kPadYSetting], s[kPadSizeSetting],
            s[kOverscanSetting]};
  }
  const std::vector<int> kRepaired = {1, 64, 64, 10, 1};

  // Every saved value distinct, with negatives and both int extremes.
  void FillEverything() {
    for (int i = 0; i < kSettings; ++i) data().Settings[i] = (i % 2 ? -1 : 1) * (i * 1013 + 7);
    data().Settings[kPadXSetting] = 300;
    data().Settings[kPadYSetting] = 64;
    data().Settings[kPadSizeSetting] = 8;
    data().Settings[kOverscanSetting] = 1;
    for (int i = 0; i < kBadgeSlots; ++i) data().BadgeGot[i] = (i * 7) % 3 == 0;
    for (int i = 0; i < 20000; ++i) data().LevelRecords[i] = int(i * 2654435761u);
    data().LevelRecords[17] = INT_MIN;
  }

  ScratchFolder folder_{"save_test"};
  HeadlessGame game_;
};

}  // namespace

// The new record runs out of room partway: the file size limit stops it after 4 KiB.
TEST_F(SaveRecord, AFailedSaveLeavesThePreviousRecord) {
  SaveProgress(app().play, app().screens, app().save);
  const std::string before = FileText(kState);
  data().LevelRecords[0] = 5;
  RunInChild([&] {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    SaveProgress(app().play, app().screens, app().save);
  });
  EXPECT_EQ(FileText(kState), before);
}

// Junk used to read as zeros that matched their checksum of 0, turning all sound off. Too
// short a text reads nothing; only an empty one is no save yet rather than damage.
TEST_F(SaveRecord, EmptyShortAndJunkStatesLoadNoBlock) {
  std::string noise(1 << 20, '\0');
  std::mt19937 random(12);
  for (char& byte : noise) byte = static_cast<char>(random());
  for (const std::string& text :
       {std::string(), std::string("1|2|3|"), std::string(26, '|'), std::string(400, '|'), noise}) {
    SCOPED_TRACE(text.size());
    data().BadgeGot.fill(true);
    data().LevelRecords.fill(7);
    const std::string printed = Load(text);
    EXPECT_EQ(printed.find("Loaded"), std::string::npos);
    EXPECT_EQ(printed.empty(), text.size() < 26);
    EXPECT_EQ(Settings(), kRepaired);
    EXPECT_EQ(data().BadgeGot[0], text.size() < 35);
    EXPECT_EQ(data().LevelRecords[0], text.size() < 56 ? 7 : 0);
    EXPECT_EQ(data().StateDamaged, !text.empty());
  }
}

// Every value comes back; a record cut short loads the blocks it holds, leaves the rest and is
// damaged like a block whose checksum fails.
TEST_F(SaveRecord, EveryValueSurvivesASaveAndALoad) {
  FillEverything();
  const SaveData filled = data();
  SaveProgress(app().play, app().screens, app().save);
  data().Settings.fill(0);
  data().BadgeGot.fill(false);
  data().LevelRecords.fill(0);
  const std::string saved = FileText(kState);
  EXPECT_EQ(Load(saved), "Settings Loaded\nBadges Loaded\n");
  EXPECT_EQ(data().Settings, filled.Settings);
  EXPECT_EQ(data().BadgeGot, filled.BadgeGot);
  EXPECT_TRUE(std::equal(data().LevelRecords.begin(), data().LevelRecords.begin() + 20000,
                         filled.LevelRecords.begin()));
  SaveProgress(app().play, app().screens, app().save);
  EXPECT_EQ(FileText(kState), saved);
  EXPECT_FALSE(std::filesystem::exists(".briskostate.damaged"));

  std::vector<std::string> fields = Split(saved);
  fields.resize(LevelField(5, 19));
  data().LevelRecords.fill(-9);
  EXPECT_EQ(Load(Join(fields)), "Settings Loaded\nBadges Loaded\n");
  for (int entry : {0, 49, 10049})
    EXPECT_EQ(data().LevelRecords[entry], filled.LevelRecords[entry]);
  for (int entry : {50, 10050}) EXPECT_EQ(data().LevelRecords[entry], -9);
  EXPECT_TRUE(data().StateDamaged);
}

// Only an optional "-" and digits within an int count as a number. Each field stands in a
// level block whose checksum fits what atoi would read, so its form alone decides.
TEST_F(SaveRecord, AFieldThatIsNotAPlainNumberInvalidatesItsBlock) {
  const std::vector<std::pair<std::string, int>> fields = {{"0", 0},
                                                           {"-0", 0},
                                                           {"007", 7},
                                                           {"2147483647", INT_MAX},
                                                           {"-2147483648", INT_MIN},
                                                           {"", 0},
                                                           {"-", 0},
                                                           {"12ab", 0},
                                                           {"2147483648", 0},
                                                           {"-2147483649", 0},
                                                           {"+7", 0},
                                                           {" 7", 0},
                                                           {"7 ", 0},
                                                           {"0x10", 0},
                                                           {std::string(63, '0') + "9", 0}};
  SaveProgress(app().play, app().screens, app().save);
  std::vector<std::string> record = Split(FileText(kState));
  std::string expected = "Settings Loaded\nBadges Loaded\n";
  for (int level = 0; level < static_cast<int>(fields.size()); ++level) {
    const long long leading = std::clamp<long long>(
        std::strtoll(fields[level].first.c_str(), nullptr, 10), INT_MIN, INT_MAX);
    record[LevelField(level, 0)] = fields[level].first;
    record[LevelField(level, 20)] = std::to_string(static_cast<int>(4u * uint32_t(leading)));
    if (level >= 5)  // the first five are numbers
      expected += "Highscore " + std::to_string(level) + " Checksum Invalid\n";
  }
  data().LevelRecords.fill(1);
  EXPECT_EQ(Load(Join(record)), expected);
  for (int level = 0; level < static_cast<int>(fields.size()); ++level)
    EXPECT_EQ(data().LevelRecords[level * 10], fields[level].second) << fields[level].first;
}

// A damaged file is kept once beside the new record, so that scores can be recovered by hand.
TEST_F(SaveRecord, TheDamagedFileIsKeptBeforeASaveReplacesIt) {
  FillEverything();
  SaveProgress(app().play, app().screens, app().save);
  std::string damaged = FileText(kState);
  damaged[damaged.find('|')] = '#';
  EXPECT_EQ(Load(damaged).find("Loaded"), std::string::npos);
  testing::internal::CaptureStderr();
  SaveProgress(app().play, app().screens, app().save);
  SaveProgress(app().play, app().screens, app().save);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "zorvane: the state file ./.briskostate was damaged and its bad blocks reset; it is "
            "kept as ./.briskostate.damaged to recover scores by hand\n");
  EXPECT_EQ(FileText(".briskostate.damaged"), damaged);
  EXPECT_EQ(Load(FileText(kState)), "Settings Loaded\nBadges Loaded\n");
}
