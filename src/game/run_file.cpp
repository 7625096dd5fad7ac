#include "game/run_file.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>

#include "base/random.h"
#include "game/my_app.h"

namespace {

constexpr std::string_view kMagic = "zorvane-run 1";
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

bool ParseKeyLetters(std::string_view word, std::bitset<kKeyCount>& held) {
  if (word == "-") return true;
  for (char letter : word) {
    bool known = false;
    for (const KeyLetter& k : kKeyLetters) {
      if (k.letter != letter) continue;
      held[k.key] = true;
      known = true;
    }
    if (!known) return false;
  }
  return !word.empty();
}

bool ParseHeldKeys(std::string_view value, RunLine& line) {
  std::vector<std::string_view> parts;
  SplitList(value, ',', 0, parts);
  for (std::string_view part : parts) {
    int key = 0;
    if (!ParseInt(part, 1, kKeyCount - 1, key)) return false;
    line.held[key] = true;
  }
  return true;
}

bool ParseHits(std::string_view value, RunLine& line) {
  std::vector<std::string_view> entries, parts;
  SplitList(value, ',', 0, entries);
  for (std::string_view entry : entries) {
    int key = 0, count = 0;
    if (!SplitList(entry, ':', 2, parts) || !ParseInt(parts[0], 1, kKeyCount - 1, key) ||
        !ParseInt(parts[1], 0, kHitQueueSize, count))
      return false;
    line.hits.emplace_back(key, count);
  }
  return true;
}

bool ParseChars(std::string_view value, RunLine& line) {
  std::vector<std::string_view> parts;
  SplitList(value, ',', 0, parts);
  if (parts.size() > static_cast<size_t>(kCharQueueSize)) return false;
  for (std::string_view part : parts) {
    int character = 0;
    if (!ParseInt(part, 0, kMaxCharCode, character)) return false;
    line.chars.push_back(character);
  }
  return true;
}

bool ParseChange(std::string_view value, AxisChange::Kind kind, int index, size_t count,
                 float bound, RunLine& line) {
  AxisChange change;
  change.kind = kind;
  change.index = index;
  if (!ParseFloats(value, bound, change.values.data(), count)) return false;
  line.changes.push_back(change);
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

// One field of an input line; "" when it parsed, else what was expected.
const char* ParseInputField(std::string_view word, RunLine& line) {
  std::string_view value;
  int index = 0;
  if (FieldValue(word, "k", value))
    return ParseHeldKeys(value, line) ? "" : "k=C,... with key codes from 1 to 511";
  if (FieldValue(word, "hit", value))
    return ParseHits(value, line) ? "" : "hit=C:N,... with key codes from 1 to 511, N 0 to 33";
  if (FieldValue(word, "ch", value))
    return ParseChars(value, line) ? "" : "ch=C,... with at most 32 character codes";
  if (FieldValue(word, "mouse", value))
    return ParseChange(value, AxisChange::kMouse, 0, 2, kMaxPointer, line)
               ? ""
               : "mouse=X,Y with numbers from -1e6 to 1e6";
  if (FieldValue(word, "accel", value))
    return ParseChange(value, AxisChange::kAccel, 0, kAccelAxes, kMaxAccel, line)
               ? ""
               : "accel=X,Y,Z with numbers from -100 to 100";
  if (NumberedField(word, "touch", kTouchCount, index, value))
    return ParseChange(value, AxisChange::kTouch, index, 2, kMaxPointer, line)
               ? ""
               : "touchN=X,Y with numbers from -1e6 to 1e6";
  if (NumberedField(word, "joy", kJoystickCount, index, value))
    return ParseChange(value, AxisChange::kJoy, index, kJoyAxes, kMaxStickAxis, line)
               ? ""
               : "joyN=X0,Y0,Z0,X1,Y1,Z1 with numbers from -1 to 1";
  return "a field k=, hit=, ch=, mouse=, touchN=, joyN= or accel=";
}

// ---- The whole file ----

class Parser {
 public:
  Parser(std::vector<RecordedRun>& runs, std::string& message) : runs_(runs), message_(message) {}

  bool Line(std::string_view text, int number) {
    number_ = number;
    const size_t comment = text.find('#');
    if (comment != std::string_view::npos) text = text.substr(0, comment);
    Words words(text);
    if (words.size() == 0) return true;
    if (!sawMagic_) {
      sawMagic_ = true;
      return (words.size() == 2 && words[0] == "zorvane-run" && words[1] == "1") ||
             Fail("the first line \"" + std::string(kMagic) + "\"");
    }
    if (words[0] == "level") return LevelLine(words);
    if (words[0] == "end") return EndLine(text);
    return InputLine(words);
  }

  // A file without the format line is refused at its first line.
  bool Finish() {
    number_ = 1;
    return sawMagic_ || Fail("the first line \"" + std::string(kMagic) + "\"");
  }

 private:
  bool Fail(const std::string& expected) {
    message_ = std::to_string(number_) + ": expected " + expected;
    return false;
  }

  bool LevelLine(const Words& words) {
    RecordedRun run;
    run.fileLine = number_;
    if (words.size() < 2 || !ParseInt(words[1], 1, MyApp::kLevels, run.header.level))
      return Fail("\"level L\" with L from 1 to 1000");
    for (size_t i = 2; i < words.size(); ++i)
      if (!HeaderWord(words[i], run.header)) return false;
    runs_.push_back(std::move(run));
    updates_ = 0;
    return true;
  }

  bool HeaderWord(std::string_view word, RunHeader& header) {
    std::string_view value;
    for (const HeaderField& field : kHeaderFields) {
      if (!FieldValue(word, field.name, value)) continue;
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
    RunLine line;
    if (!ParseInt(words[0], 1, kMaxLineCount, line.count))
      return Fail("an input line \"COUNT KEYS\" with COUNT from 1 to 10000000");
    if (words.size() < 2 || !ParseKeyLetters(words[1], line.held))
      return Fail("KEYS after the count: letters from U D L R A B, or - for none");
    for (size_t i = 2; i < words.size(); ++i) {
      const char* expected = ParseInputField(words[i], line);
      if (*expected) return Fail(expected);
    }
    updates_ += line.count;
    if (updates_ > kMaxRunUpdates) return Fail("at most 100000000 updates in one run");
    runs_.back().lines.push_back(std::move(line));
    return true;
  }

  std::vector<RecordedRun>& runs_;
  std::string& message_;
  int number_ = 0;
  bool sawMagic_ = false;
  long long updates_ = 0;
};

}  // namespace

bool ParseRuns(std::string_view text, std::vector<RecordedRun>& runs, std::string& message) {
  std::vector<RecordedRun> parsed;
  Parser parser(parsed, message);
  int number = 0;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!parser.Line(line, ++number)) return false;
    start = end + 1;
  }
  if (!parser.Finish()) return false;
  runs = std::move(parsed);
  return true;
}

bool ReadRunFile(const std::string& path, std::vector<RecordedRun>& runs, std::string& message) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) {
    message = path + ": cannot be read";
    return false;
  }
  std::string text;
  char buffer[1 << 16];
  for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;) {
    text.append(buffer, got);
    if (static_cast<long long>(text.size()) > kMaxRunFileBytes) {
      message = path + ": larger than 64 MiB";
      return false;
    }
  }
  if (std::ferror(file.get())) {
    message = path + ": cannot be read";
    return false;
  }
  if (ParseRuns(text, runs, message)) return true;
  message = path + ":" + message;
  return false;
}

bool ParseKeyScript(std::string_view script, std::vector<RunLine>& lines, std::string& message) {
  std::vector<RunLine> parsed;
  Words words(script);
  long long updates = 0;
  for (size_t i = 0; i < words.size(); ++i) {
    std::vector<std::string_view> parts;
    RunLine line;
    if (!SplitList(words[i], ':', 2, parts) || !ParseInt(parts[0], 1, kMaxLineCount, line.count) ||
        !ParseKeyLetters(parts[1], line.held)) {
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
    parsed.push_back(std::move(line));
  }
  lines = std::move(parsed);
  return true;
}
