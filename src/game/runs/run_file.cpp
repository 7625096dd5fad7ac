#include "game/runs/run_file.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>

#include "base/random.h"
#include "game/core/records.h"

namespace {

constexpr int kMaxScreenSide = 16384;
constexpr int kMaxCarriedPadValue = 2;  // held by the iCade
constexpr int kMaxCharCode = 0x7fffffff;
// Latches hold small flags; any value of this size is harmless to the game.
constexpr int kMaxFlag = 1000;

// One line's words, and what went wrong with them.
class Words {
 public:
  explicit Words(std::string_view line) {
    size_t at = 0;
    while (at < line.size()) {
      while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
      const size_t start = at;
      while (at < line.size() && line[at] != ' ' && line[at] != '\t') ++at;
      if (at > start) words_.push_back(line.substr(start, at - start));
    }
  }
  size_t size() const { return words_.size(); }
  std::string_view operator[](size_t i) const { return words_[i]; }

 private:
  std::vector<std::string_view> words_;
};

template <typename T>
bool ParseNumber(std::string_view text, T& value) {
  if (text.empty() || text.front() == '+') return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

bool ParseInt(std::string_view text, int low, int high, int& value) {
  return ParseNumber(text, value) && value >= low && value <= high;
}

bool ParseFloat(std::string_view text, float bound, float& value) {
  return ParseNumber(text, value) && std::isfinite(value) && std::fabs(value) <= bound;
}

// Splits "a,b,c" into exactly `count` parts.
bool SplitList(std::string_view text, char separator, size_t count,
               std::vector<std::string_view>& parts) {
  parts.clear();
  size_t start = 0;
  for (;;) {
    const size_t at = text.find(separator, start);
    parts.push_back(text.substr(start, at == std::string_view::npos ? at : at - start));
    if (at == std::string_view::npos) break;
    start = at + 1;
  }
  return count == 0 || parts.size() == count;
}

bool ParseInts(std::string_view text, int low, int high, std::initializer_list<int*> values) {
  std::vector<std::string_view> parts;
  if (!SplitList(text, ',', values.size(), parts)) return false;
  size_t i = 0;
  for (int* value : values)
    if (!ParseInt(parts[i++], low, high, *value)) return false;
  return true;
}

bool ParseFloats(std::string_view text, float bound, float* values, size_t count) {
  std::vector<std::string_view> parts;
  if (!SplitList(text, ',', count, parts)) return false;
  for (size_t i = 0; i < count; ++i)
    if (!ParseFloat(parts[i], bound, values[i])) return false;
  return true;
}

// "name=value": the value when the word starts with the name and '='.
bool FieldValue(std::string_view word, std::string_view name, std::string_view& value) {
  if (word.size() <= name.size() || word.substr(0, name.size()) != name || word[name.size()] != '=')
    return false;
  value = word.substr(name.size() + 1);
  return true;
}

// ---- The level line ----

struct HeaderField {
  std::string_view name;
  const char* expected;
  bool (*parse)(std::string_view value, RunHeader& header);
};

bool ParseSeed(std::string_view value, RunHeader& header) {
  return ParseNumber(value, header.seed) && value.front() != '-';
}

bool ParseScreen(std::string_view value, RunHeader& header) {
  return ParseInts(value, 1, kMaxScreenSide, {&header.screenWidth, &header.screenHeight});
}

bool ParseLatch(std::string_view value, RunHeader& header) {
  return ParseInt(value, -kMaxFlag, kMaxFlag, header.carry.keyLatch);
}

bool ParseRamp(std::string_view value, RunHeader& header) {
  float ramp[2];
  if (!ParseFloats(value, kMaxStickAxis, ramp, 2)) return false;
  header.carry.rampX = ramp[0];
  header.carry.rampY = ramp[1];
  return true;
}

bool ParseHud(std::string_view value, RunHeader& header) {
  return ParseInt(value, 0, 1, header.carry.hudHidden);
}

bool ParseICade(std::string_view value, RunHeader& header) {
  return ParseInt(value, 0, 1, header.carry.icade);
}

bool ParsePads(std::string_view value, RunHeader& header) {
  header.carry.padKeys.fill(0);
  if (value == "-") return true;
  std::vector<std::string_view> entries;
  SplitList(value, ',', 0, entries);
  for (std::string_view entry : entries) {
    int index = 0, held = 0;
    std::vector<std::string_view> parts;
    if (!SplitList(entry, ':', 2, parts) || !ParseInt(parts[0], 0, kCarriedPadKeys - 1, index) ||
        !ParseInt(parts[1], 0, kMaxCarriedPadValue, held))
      return false;
    header.carry.padKeys[index] = held;
  }
  return true;
}

constexpr int kMaxPointerInt = static_cast<int>(kMaxPointer);

bool ParseStick(std::string_view value, RunHeader& header) {
  return ParseInts(value, -kMaxPointerInt, kMaxPointerInt,
                   {&header.carry.stickX, &header.carry.stickY});
}

bool ParsePointer(std::string_view value, RunHeader& header) {
  RunCarry& c = header.carry;
  std::vector<std::string_view> parts;
  return SplitList(value, ',', 4, parts) &&
         ParseInt(parts[0], -kMaxPointerInt, kMaxPointerInt, c.pointerX) &&
         ParseInt(parts[1], -kMaxPointerInt, kMaxPointerInt, c.pointerY) &&
         ParseInt(parts[2], 0, 1, c.pointerWasDown) &&
         ParseInt(parts[3], -kMaxFlag, kMaxFlag, c.pointerActive);
}

constexpr HeaderField kHeaderFields[] = {
    {"seed", "seed=S with S from 0 to 4294967295", ParseSeed},
    {"screen", "screen=W,H with sides from 1 to 16384", ParseScreen},
    {"latch", "latch=N with N from -1000 to 1000", ParseLatch},
    {"ramp", "ramp=X,Y with X and Y from -1 to 1", ParseRamp},
    {"hud", "hud=0 or hud=1", ParseHud},
    {"icade", "icade=0 or icade=1", ParseICade},
    {"pads", "pads=- or pads=I:V,... with I from 0 to 18 and V from 0 to 2", ParsePads},
    {"stick", "stick=X,Y (whole numbers)", ParseStick},
    {"pointer", "pointer=X,Y,DOWN,ACTIVE (whole numbers, DOWN 0 or 1, ACTIVE -1000 to 1000)",
     ParsePointer},
};

// ---- Input lines ----

// The KEYS letters as the bits of RunLine::letters.
bool ParseKeyLetters(std::string_view word, std::uint8_t& letters) {
  if (word == "-") return true;
  for (char letter : word) {
    bool known = false;
    for (size_t i = 0; i < kKeyLetters.size(); ++i) {
      if (kKeyLetters[i].letter != letter) continue;
      letters |= static_cast<std::uint8_t>(1u << i);
      known = true;
    }
    if (!known) return false;
  }
  return !word.empty();
}

void AddEntry(RunInput& input, LineEntry::Kind kind, int key, int value, int device = 0) {
  input.entries.push_back({kind, static_cast<std::uint8_t>(device), static_cast<std::uint16_t>(key),
                           static_cast<std::int32_t>(value)});
}

bool ParseHeldKeys(std::string_view value, int, RunInput& input) {
  std::vector<std::string_view> parts;
  SplitList(value, ',', 0, parts);
  for (std::string_view part : parts) {
    int key = 0;
    if (!ParseInt(part, 1, kKeyCount - 1, key)) return false;
    AddEntry(input, LineEntry::kHeld, key, 0);
  }
  return true;
}

bool ParseHits(std::string_view value, int, RunInput& input) {
  std::vector<std::string_view> entries, parts;
  SplitList(value, ',', 0, entries);
  for (std::string_view entry : entries) {
    int key = 0, count = 0;
    if (!SplitList(entry, ':', 2, parts) || !ParseInt(parts[0], 1, kKeyCount - 1, key) ||
        !ParseInt(parts[1], 0, kHitQueueSize, count))
      return false;
    AddEntry(input, LineEntry::kHit, key, count);
  }
  return true;
}

bool ParseChars(std::string_view value, int, RunInput& input) {
  std::vector<std::string_view> parts;
  SplitList(value, ',', 0, parts);
  if (parts.size() > static_cast<size_t>(kCharQueueSize)) return false;
  for (std::string_view part : parts) {
    int character = 0;
    if (!ParseInt(part, 0, kMaxCharCode, character)) return false;
    AddEntry(input, LineEntry::kChar, 0, character);
  }
  return true;
}

// A position or axes: their values go to the run's axis values, the entry says where.
// The bound is a reference: Clang 14 takes no float template arguments.
template <LineEntry::Kind kKind, size_t kCount, const float& kBound>
bool ParseAxes(std::string_view value, int device, RunInput& input) {
  float values[kCount];
  if (!ParseFloats(value, kBound, values, kCount)) return false;
  AddEntry(input, kKind, 0, static_cast<int>(input.axisValues.size()), device);
  input.axisValues.insert(input.axisValues.end(), values, values + kCount);
  return true;
}

// "touchN" and "joyN": the device number after the name.
bool NumberedField(std::string_view word, std::string_view name, int count, int& index,
                   std::string_view& value) {
  if (word.substr(0, name.size()) != name) return false;
  const size_t equals = word.find('=');
  if (equals == std::string_view::npos) return false;
  if (!ParseInt(word.substr(name.size(), equals - name.size()), 0, count - 1, index)) return false;
  value = word.substr(equals + 1);
  return true;
}

struct InputField {
  std::string_view name;
  int devices;  // how many numbered fields "nameN=" there are; 0 for the one field "name="
  const char* expected;
  bool (*parse)(std::string_view value, int device, RunInput& input);
};

constexpr InputField kInputFields[] = {
    {"k", 0, "k=C,... with key codes from 1 to 511", ParseHeldKeys},
    {"hit", 0, "hit=C:N,... with key codes from 1 to 511, N 0 to 33", ParseHits},
    {"ch", 0, "ch=C,... with at most 32 character codes", ParseChars},
    {"mouse", 0, "mouse=X,Y with numbers from -1e6 to 1e6",
     ParseAxes<LineEntry::kMouse, 2, kMaxPointer>},
    {"accel", 0, "accel=X,Y,Z with numbers from -100 to 100",
     ParseAxes<LineEntry::kAccel, kAccelAxes, kMaxAccel>},
    {"touch", kTouchCount, "touchN=X,Y with numbers from -1e6 to 1e6",
     ParseAxes<LineEntry::kTouch, 2, kMaxPointer>},
    {"joy", kJoystickCount, "joyN=X0,Y0,Z0,X1,Y1,Z1 with numbers from -1 to 1",
     ParseAxes<LineEntry::kJoy, kJoyAxes, kMaxStickAxis>},
};

// Every field of an input line by a number of its own, for noticing one given twice.
constexpr int kMaxDevices = std::max(kTouchCount, kJoystickCount);
using GivenInputFields = std::bitset<std::size(kInputFields) * kMaxDevices>;

// The field a word gives, its number among all fields and its value; null for none.
const InputField* FindInputField(std::string_view word, size_t& number, std::string_view& value) {
  for (size_t row = 0; row < std::size(kInputFields); ++row) {
    const InputField& field = kInputFields[row];
    int device = 0;
    if (field.devices == 0 ? FieldValue(word, field.name, value)
                           : NumberedField(word, field.name, field.devices, device, value)) {
      number = row * kMaxDevices + static_cast<size_t>(device);
      return &field;
    }
  }
  return nullptr;
}

bool IsFormatLine(const Words& words) {
  const size_t space = kRunFileFormat.find(' ');
  return words.size() == 2 && words[0] == kRunFileFormat.substr(0, space) &&
         words[1] == kRunFileFormat.substr(space + 1);
}

std::string_view WithoutComment(std::string_view text) {
  return text.substr(0, text.find('#'));
}

// ---- The whole file ----

class Parser {
 public:
  Parser(std::vector<RecordedRun>& runs, std::string& message) : runs_(runs), message_(message) {}

  bool Line(std::string_view text, int number) {
    number_ = number;
    if (text.size() > static_cast<size_t>(kMaxRunLineBytes))
      return Fail("at most 16384 bytes on a line");
    text = WithoutComment(text);
    Words words(text);
    if (words.size() == 0) return true;
    if (!sawMagic_) {
      sawMagic_ = true;
      return IsFormatLine(words) || Fail("the first line \"" + std::string(kRunFileFormat) + "\"");
    }
    if (words[0] == "level") return LevelLine(words);
    if (words[0] == "end") return EndLine(text) && EndFrames(words);
    return InputLine(words);
  }

  // A file without the format line is refused at its first line.
  bool Finish() {
    number_ = 1;
    return sawMagic_ || Fail("the first line \"" + std::string(kRunFileFormat) + "\"");
  }

 private:
  bool Fail(const std::string& expected) {
    message_ = std::to_string(number_) + ": expected " + expected;
    return false;
  }

  bool LevelLine(const Words& words) {
    RecordedRun run;
    run.fileLine = number_;
    if (words.size() < 2 || !ParseInt(words[1], 1, world::kLevels, run.header.level))
      return Fail("\"level L\" with L from 1 to 1000");
    std::bitset<std::size(kHeaderFields)> given;
    for (size_t i = 2; i < words.size(); ++i)
      if (!HeaderWord(words[i], given, run.header)) return false;
    runs_.push_back(std::move(run));
    updates_ = 0;
    return true;
  }

  bool HeaderWord(std::string_view word, std::bitset<std::size(kHeaderFields)>& given,
                  RunHeader& header) {
    std::string_view value;
    for (size_t i = 0; i < std::size(kHeaderFields); ++i) {
      const HeaderField& field = kHeaderFields[i];
      if (!FieldValue(word, field.name, value)) continue;
      if (given[i]) return Repeated(word);
      given[i] = true;
      return field.parse(value, header) || Fail(field.expected);
    }
    return Fail(
        "a level field seed=, screen=, latch=, ramp=, hud=, icade=, pads=, stick= or "
        "pointer=");
  }

  bool EndLine(std::string_view text) {
    if (runs_.empty() || !runs_.back().endLine.empty()) return Fail("a level line before the end");
    Words words(text);
    std::string line(words[0]);
    for (size_t i = 1; i < words.size(); ++i) line.append(" ").append(words[i]);
    runs_.back().endLine = line;
    return true;
  }

  bool InputLine(const Words& words) {
    if (runs_.empty()) return Fail("\"level L\" before the first input line");
    if (!runs_.back().endLine.empty()) return Fail("a level line after the end line");
    RunInput& input = runs_.back().input;
    RunLine line;
    if (!ParseInt(words[0], 1, kMaxLineCount, line.count))
      return Fail("an input line \"COUNT KEYS\" with COUNT from 1 to 10000000");
    if (words.size() < 2 || !ParseKeyLetters(words[1], line.letters))
      return Fail("KEYS after the count: letters from U D L R A B, or - for none");
    line.firstEntry = static_cast<std::uint32_t>(input.entries.size());
    GivenInputFields given;
    for (size_t i = 2; i < words.size(); ++i)
      if (!InputWord(words[i], given, input)) return false;
    line.entryCount = static_cast<std::uint16_t>(input.entries.size() - line.firstEntry);
    updates_ += line.count;
    if (updates_ > kMaxRunUpdates) return Fail("at most 100000000 updates in one run");
    input.lines.push_back(line);
    return true;
  }

  bool InputWord(std::string_view word, GivenInputFields& given, RunInput& input) {
    size_t number = 0;
    std::string_view value;
    const InputField* field = FindInputField(word, number, value);
    if (!field) return Fail("a field k=, hit=, ch=, mouse=, touchN=, joyN= or accel=");
    if (given[number]) return Repeated(word);
    given[number] = true;
    return field->parse(value, static_cast<int>(number % kMaxDevices), input) ||
           Fail(field->expected);
  }

  // A replay stops where the end line says the recording stopped.
  bool EndFrames(const Words& words) {
    std::string_view value;
    for (size_t i = 1; i < words.size(); ++i) {
      if (!FieldValue(words[i], "frames", value)) continue;
      if (runs_.back().endFrames) return Repeated(words[i]);
      int frames = 0;
      if (!ParseInt(value, 0, static_cast<int>(kMaxRunUpdates), frames))
        return Fail("frames=F with F from 0 to 100000000 on the end line");
      runs_.back().endFrames = frames;
    }
    return true;
  }

  // Applying a field twice would leave one of the two unused, or cost once per update.
  bool Repeated(std::string_view word) {
    return Fail(std::string(word.substr(0, word.find('=') + 1)) + " at most once on a line");
  }

  std::vector<RecordedRun>& runs_;
  std::string& message_;
  int number_ = 0;
  bool sawMagic_ = false;
  long long updates_ = 0;
};

// ---- Lines ----

// A stream's lines one at a time in one buffer, so that memory follows the longest line and
// not the file. A longer line than a file may hold comes back cut, still too long.
class StreamLines {
 public:
  explicit StreamLines(std::FILE* file) : file_(file) { line_.reserve(kKept); }

  // The next line without its end; false after the last or past kMaxRunFileBytes.
  bool Next(std::string_view& line) {
    line_.clear();
    bool any = false;
    for (int c; (c = getc_unlocked(file_)) != EOF;) {
      if (++bytes_ > kMaxRunFileBytes) return false;
      any = true;
      if (c == '\n') break;
      if (line_.size() < kKept) line_.push_back(static_cast<char>(c));
    }
    line = line_;
    return any;
  }
  bool TooLarge() const { return bytes_ > kMaxRunFileBytes; }

 private:
  // Two bytes more than a line may hold: one for its '\r', one to tell it is too long.
  static constexpr size_t kKept = kMaxRunLineBytes + 2;
  std::FILE* file_;
  std::string line_;
  long long bytes_ = 0;
};

std::string_view WithoutCarriageReturn(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

// Parses the lines `next` gives (false after the last) into `runs`.
template <typename NextLine>
bool ParseLines(NextLine next, std::vector<RecordedRun>& runs, std::string& message) {
  Parser parser(runs, message);
  std::string_view line;
  for (int number = 1; next(line); ++number)
    if (!parser.Line(WithoutCarriageReturn(line), number)) return false;
  return parser.Finish();
}

}  // namespace

bool ParseRuns(std::string_view text, std::vector<RecordedRun>& runs, std::string& message) {
  std::vector<RecordedRun> parsed;
  size_t start = 0;
  const auto next = [&text, &start](std::string_view& line) {
    if (start >= text.size()) return false;
    const size_t end = std::min(text.find('\n', start), text.size());
    line = text.substr(start, end - start);
    start = end + 1;
    return true;
  };
  if (!ParseLines(next, parsed, message)) return false;
  runs = std::move(parsed);
  return true;
}

bool ReadRunFile(const std::string& path, std::vector<RecordedRun>& runs, std::string& message) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) {
    message = path + ": cannot be read";
    return false;
  }
  StreamLines lines(file.get());
  std::vector<RecordedRun> parsed;
  const bool read =
      ParseLines([&lines](std::string_view& line) { return lines.Next(line); }, parsed, message);
  if (lines.TooLarge()) {
    message = path + ": larger than 64 MiB";
    return false;
  }
  if (std::ferror(file.get())) {
    message = path + ": cannot be read";
    return false;
  }
  if (!read) {
    message = path + ":" + message;
    return false;
  }
  runs = std::move(parsed);
  return true;
}

RunFileStart ReadRunFileStart(std::FILE* file) {
  StreamLines lines(file);
  std::string_view line;
  while (lines.Next(line)) {
    line = WithoutCarriageReturn(line);
    const Words words(WithoutComment(line));
    if (words.size() == 0) continue;
    return line.size() <= static_cast<size_t>(kMaxRunLineBytes) && IsFormatLine(words)
               ? RunFileStart::kFormatLine
               : RunFileStart::kOtherLine;
  }
  return RunFileStart::kNoLine;
}

bool ParseKeyScript(std::string_view script, RunInput& input, std::string& message) {
  RunInput parsed;
  Words words(script);
  long long updates = 0;
  for (size_t i = 0; i < words.size(); ++i) {
    std::vector<std::string_view> parts;
    RunLine line;
    if (!SplitList(words[i], ':', 2, parts) || !ParseInt(parts[0], 1, kMaxLineCount, line.count) ||
        !ParseKeyLetters(parts[1], line.letters)) {
      message = "item " + std::to_string(i + 1) + " \"" + std::string(words[i]) +
                "\": expected COUNT:KEYS with COUNT from 1 to 10000000 and KEYS letters from "
                "U D L R A B, or - for none";
      return false;
    }
    updates += line.count;
    if (updates > kMaxRunUpdates) {
      message = "more than 100000000 updates";
      return false;
    }
    parsed.lines.push_back(line);
  }
  input = std::move(parsed);
  return true;
}
