// The save record: settings, badges and per-level records as one line of "|"-terminated
// decimal numbers, each block followed by its checksum, kept in the host's state file.
//
// A block whose checksum fails is reset on its own, so damage costs only that block. A field
// that Save cannot have written (anything but an optional "-" and digits, or a number that
// does not fit an int) makes its block invalid just as a wrong checksum does: read leniently,
// junk reads as zeros, and a block of zeros matches its checksum of 0. The damaged file is
// kept beside the state file before the next save replaces it.
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/runtime.h"
#include "game/save/save.h"

namespace {

constexpr int kBadgeWords = 8;
constexpr int kBadgeWordBits = 32;
constexpr int kSavedLevels = 1005;
constexpr int kLevelBlockFields = 2 * SaveData::kBestScores + 1;
constexpr int kFieldReadLimit = 63;  // a longer field is not read

constexpr int kPadMinimum = 64;
constexpr int kPadSizeMinimum = 8, kPadSizeDefault = 10;
constexpr int kOverscanDefault = 64, kOverscanOff = 1;

// Checksums add up in 32-bit wrap-around.
class Checksum {
 public:
  void Add(int value, int weight = 1) {
    sum_ += static_cast<uint32_t>(value) * static_cast<uint32_t>(weight);
  }
  int Value() const { return static_cast<int>(sum_); }

 private:
  uint32_t sum_ = 0;
};

class RecordWriter {
 public:
  void Add(int value) {
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    text_.append(digits, end);
    text_ += '|';
  }
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

// An optional "-" and at least one digit, as Save writes numbers.
bool IsPlainNumber(const String& field) {
  const int digitsFrom = field[0] == '-' ? 1 : 0;
  if (field.Length() <= digitsFrom || field.Length() > kFieldReadLimit) return false;
  for (int i = digitsFrom; i < field.Length(); ++i) {
    if (field[i] < '0' || field[i] > '9') return false;
  }
  return true;
}

// The field's number; nothing when Save cannot have written it.
std::optional<int> ReadField(const String& field) {
  if (!IsPlainNumber(field)) return std::nullopt;
  return field.ToIntExact();
}

// The fields of a loaded record and the block reader's position in them.
class RecordReader {
 public:
  explicit RecordReader(const String& text) : fields_(text.Split("|")), empty_(text.Empty()) {}

  // True when the block of count fields plus its checksum lies wholly inside the text. A text
  // that ends before a block is cut short, and damaged like a block whose checksum fails;
  // an empty text is no save at all.
  bool HasBlock(int count) {
    const bool inside = position_ + count < static_cast<int>(fields_.size());
    if (!inside && !empty_) anyBlockReset_ = true;
    return inside;
  }

  // The next field; one that is not a number marks the current block damaged and reads as 0.
  int Next() {
    const std::optional<int> value = ReadField(fields_[position_++]);
    if (!value) damaged_ = true;
    return value.value_or(0);
  }
  // Reads the checksum field and tells whether the block is intact; starts the next block.
  bool CheckBlock(const Checksum& sum) {
    const int stored = Next();
    const bool intact = !damaged_ && stored == sum.Value();
    damaged_ = false;
    if (!intact) anyBlockReset_ = true;
    return intact;
  }
  bool AnyBlockReset() const { return anyBlockReset_; }

 private:
  std::vector<String> fields_;
  bool empty_;
  int position_ = 0;
  bool damaged_ = false;
  bool anyBlockReset_ = false;
};

}  // namespace

String SaveText(const SaveData& save) {
  RecordWriter record;
  Checksum settingsSum;
  for (int i = 0; i < kSettings; ++i) {
    record.Add(save.Settings[i]);
    settingsSum.Add(save.Settings[i], i);
  }
  record.Add(settingsSum.Value());

  Checksum badgeSum;
  for (int b = 0; b < kBadgeWords; ++b) {
    uint32_t word = 0;
    for (int j = 0; j < kBadgeWordBits; ++j)
      if (save.BadgeGot[b * kBadgeWordBits + j]) word |= uint32_t{1} << j;
    record.Add(static_cast<int>(word));
    badgeSum.Add(static_cast<int>(word));
  }
  record.Add(badgeSum.Value());

  for (int level = 0; level < kSavedLevels; ++level) {
    Checksum levelSum;
    for (int k = 0; k < SaveData::kBestScores; ++k) {
      const int best = save.LevelRecords[level * SaveData::kBestScores + k];
      const int done =
          save.LevelRecords[SaveData::kCompletionRecords + level * SaveData::kBestScores + k];
      record.Add(best);
      record.Add(done);
      levelSum.Add(best, k + 4);
      levelSum.Add(done, k + 3 + level);
    }
    record.Add(levelSum.Value());
  }

  return String(record.Text());
}

void LoadSaveText(SaveData& save, const String& text) {
  RecordReader record(text);

  if (record.HasBlock(kSettings)) {
    std::array<int, kSettings> values{};
    Checksum sum;
    for (int i = 0; i < kSettings; ++i) {
      values[i] = record.Next();
      sum.Add(values[i], i);
    }
    if (record.CheckBlock(sum)) {
      save.Settings = values;
      kvPrint("Settings Loaded");
    } else {
      kvPrint("Settings Checksum Invalid");
      save.Settings.fill(0);
      save.Settings[kSoundModeSetting] = 1;
    }
  }

  if (record.HasBlock(kBadgeWords)) {
    std::array<uint32_t, kBadgeWords> words{};
    Checksum sum;
    for (auto& word : words) {
      const int value = record.Next();
      word = static_cast<uint32_t>(value);
      sum.Add(value);
    }
    const bool intact = record.CheckBlock(sum);
    kvPrint(intact ? "Badges Loaded" : "Badge Checksum Invalid");
    for (int b = 0; b < kBadgeWords; ++b) {
      for (int j = 0; j < kBadgeWordBits; ++j)
        save.BadgeGot[b * kBadgeWordBits + j] = intact && (words[b] >> j & 1) != 0;
    }
  }

  for (int level = 0; level < world::kLevels && record.HasBlock(kLevelBlockFields - 1); ++level) {
    std::array<int, SaveData::kBestScores> best{}, done{};
    Checksum sum;
    for (int k = 0; k < SaveData::kBestScores; ++k) {
      best[k] = record.Next();
      done[k] = record.Next();
      sum.Add(best[k], k + 4);
      sum.Add(done[k], k + 3 + level);
    }
    if (!record.CheckBlock(sum)) {
      kvPrint("Highscore " + String::FromInt(level) + " Checksum Invalid");
      best.fill(0);
      done.fill(0);
    }
    std::copy(best.begin(), best.end(), save.LevelRecords.begin() + level * SaveData::kBestScores);
    std::copy(
        done.begin(), done.end(),
        save.LevelRecords.begin() + SaveData::kCompletionRecords + level * SaveData::kBestScores);
  }
  save.StateDamaged = record.AnyBlockReset();
}

void RepairSettings(SaveData& save, bool console) {
  if (save.Settings[kPadXSetting] < kPadMinimum) save.Settings[kPadXSetting] = kPadMinimum;
  if (save.Settings[kPadYSetting] < kPadMinimum) save.Settings[kPadYSetting] = kPadMinimum;
  if (save.Settings[kPadSizeSetting] < kPadSizeMinimum)
    save.Settings[kPadSizeSetting] = kPadSizeDefault;
  if (save.Settings[kOverscanSetting] < 1) save.Settings[kOverscanSetting] = kOverscanDefault;
  if (!console) save.Settings[kOverscanSetting] = kOverscanOff;
}
