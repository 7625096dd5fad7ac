#include "game/frame/bindings.h"

#include <algorithm>

namespace {

constexpr const char* kActionNames[kActions] = {"thrust", "left",    "right", "down",
                                                "fire",   "special", "pause"};
constexpr std::string_view kPadWord = "pad";

struct NamedKey {
  int key;
  const char* name;
};

// Every key the keyboard brings besides letters, digits and the keypad's digits.
constexpr NamedKey kKeyNames[] = {
    {key::kBackspace, "Backspace"},
    {key::kTab, "Tab"},
    {key::kEnter, "Enter"},
    {key::kShift, "Shift"},
    {key::kCtrl, "Ctrl"},
    {key::kEscape, "Escape"},
    {key::kSpace, "Space"},
    {key::kPageUp, "PageUp"},
    {key::kPageDown, "PageDown"},
    {key::kEnd, "End"},
    {key::kHome, "Home"},
    {key::kLeft, "Left"},
    {key::kUp, "Up"},
    {key::kRight, "Right"},
    {key::kDown, "Down"},
    {key::kInsert, "Insert"},
    {key::kDelete, "Delete"},
    {key::kKeypadMultiply, "Pad*"},
    {key::kKeypadAdd, "Pad+"},
    {key::kKeypadSubtract, "Pad-"},
    {key::kKeypadDecimal, "Pad."},
    {key::kKeypadDivide, "Pad/"},
    {key::kSemicolon, ";"},
    {key::kEquals, "="},
    {key::kComma, ","},
    {key::kMinus, "-"},
    {key::kPeriod, "."},
    {key::kSlash, "/"},
    {key::kBackquote, "`"},
    {key::kOpenBracket, "["},
    {key::kBackslash, "\\"},
    {key::kCloseBracket, "]"},
    {key::kQuote, "'"},
};

// The letters' and digits' names are themselves; the keypad's digits are "Pad0".."Pad9".
constexpr const char* kLetterNames[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I",
                                        "J", "K", "L", "M", "N", "O", "P", "Q", "R",
                                        "S", "T", "U", "V", "W", "X", "Y", "Z"};
constexpr const char* kDigitNames[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
constexpr const char* kPadDigitNames[] = {"Pad0", "Pad1", "Pad2", "Pad3", "Pad4",
                                          "Pad5", "Pad6", "Pad7", "Pad8", "Pad9"};
constexpr int kKeyF3 = key::kF1 + 2, kKeyF12 = key::kF1 + 11;
constexpr const char* kFunctionNames[] = {"F3", "F5", "F6", "F7", "F8", "F9", "F10", "F12"};
constexpr int kFreeFunctionKeys[] = {kKeyF3,       key::kF4 + 1, key::kF4 + 2, key::kF4 + 3,
                                     key::kF4 + 4, key::kF4 + 5, key::kF4 + 6, kKeyF12};

// The controller's buttons as the input device numbers a standard pad's, then the rest.
constexpr const char* kButtonNames[key::kJoyButtons] = {
    "A",        "B",        "X",        "Y",         "LB",       "RB",       "Back",
    "Start",    "DpadLeft", "DpadUp",   "DpadRight", "DpadDown", "LStick",   "RStick",
    "Guide",    "Button15", "Button16", "Button17",  "Button18", "Button19", "Button20",
    "Button21", "Button22", "Button23", "Button24",  "Button25", "Button26", "Button27",
    "Button28", "Button29", "Button30", "Button31"};

bool IsLetter(int key) {
  return key >= 'A' && key <= 'Z';
}
bool IsDigit(int key) {
  return key >= '0' && key <= '9';
}
bool IsPadDigit(int key) {
  return key >= key::kKeypad0 && key < key::kKeypad0 + 10;
}

int KeyByName(std::string_view name) {
  for (int key = 1; key < key::kJoyBase; ++key)
    if (const char* known = KeyName(key); known && name == known) return key;
  return kNoKey;
}

int ButtonByName(std::string_view name) {
  for (int b = 0; b < key::kJoyButtons; ++b)
    if (name == kButtonNames[b]) return b;
  return kNoButton;
}

template <size_t N>
int SlotOf(const std::array<int, N>& slots, int code) {
  const auto at = std::find(slots.begin(), slots.end(), code);
  return at == slots.end() ? -1 : static_cast<int>(at - slots.begin());
}

int KeyCount(const ActionKeys& action) {
  return static_cast<int>(
      std::count_if(action.keys.begin(), action.keys.end(), [](int k) { return k != kNoKey; }));
}

// Keys and buttons first, the empty slots after them.
void Pack(ActionKeys& keys) {
  std::stable_partition(keys.keys.begin(), keys.keys.end(), [](int k) { return k != kNoKey; });
  std::stable_partition(keys.buttons.begin(), keys.buttons.end(),
                        [](int b) { return b != kNoButton; });
}

// The shared work of BindKey and BindButton over the keys or the buttons of every action; only
// keys must never run out.
template <size_t N>
BindResult Bind(BindingTable& table, std::array<int, N> ActionKeys::*slots, int action, int slot,
                int code, bool keys) {
  if (action < 0 || action >= kActions || slot < 0 || slot >= static_cast<int>(N))
    return {BindOutcome::kRefused, -1};
  int& place = (table[action].*slots)[slot];
  const int old = place;
  for (int other = 0; other < kActions; ++other) {
    const int at = SlotOf(table[other].*slots, code);
    if (at < 0 || (other == action && at == slot)) continue;
    const bool lastKey = keys && old == kNoKey && other != action && KeyCount(table[other]) == 1;
    if (lastKey) return {BindOutcome::kRefused, other};
    (table[other].*slots)[at] = old;
    place = code;
    Pack(table[other]);
    Pack(table[action]);
    return {other == action ? BindOutcome::kBound : BindOutcome::kSwapped, other};
  }
  place = code;
  Pack(table[action]);
  return {BindOutcome::kBound, -1};
}

// Takes the first line off the text.
std::string_view NextLine(std::string_view& text) {
  const size_t end = std::min(text.find('\n'), text.size());
  const std::string_view line = text.substr(0, end);
  text.remove_prefix(std::min(end + 1, text.size()));
  return line;
}

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  size_t at = 0;
  while (at < line.size()) {
    const size_t start = line.find_first_not_of(" \t\r", at);
    if (start == std::string_view::npos) break;
    const size_t end = std::min(line.find_first_of(" \t\r", start), line.size());
    words.push_back(line.substr(start, end - start));
    at = end;
  }
  return words;
}

int ActionByName(std::string_view name) {
  for (int a = 0; a < kActions; ++a)
    if (name == kActionNames[a]) return a;
  return -1;
}

// One action line's keys and buttons; false with what is wrong.
bool ParseActionLine(const std::vector<std::string_view>& words, ActionKeys& out,
                     std::string& wrong) {
  out = ActionKeys();
  int keys = 0, buttons = 0;
  bool inPad = false;
  for (size_t i = 1; i < words.size(); ++i) {
    const std::string_view word = words[i];
    if (word == kPadWord && !inPad) {
      inPad = true;
      continue;
    }
    const int code = inPad ? ButtonByName(word) : KeyByName(word);
    const bool known = inPad ? code != kNoButton : BindableKey(code);
    if (!known) {
      wrong = "\"" + std::string(word) + "\" is no " + (inPad ? "button" : "key") + " it can use";
      return false;
    }
    const bool repeated = inPad ? SlotOf(out.buttons, code) >= 0 : SlotOf(out.keys, code) >= 0;
    if (repeated) continue;
    if ((inPad ? buttons : keys) == (inPad ? kButtonSlots : kKeySlots)) {
      wrong = std::string("more than ") + std::to_string(inPad ? kButtonSlots : kKeySlots) +
              (inPad ? " buttons" : " keys");
      return false;
    }
    if (inPad) {
      out.buttons[buttons++] = code;
    } else {
      out.keys[keys++] = code;
    }
  }
  if (keys == 0) wrong = "no key";
  return keys > 0;
}

// Takes out of `keys` every key and button that a good line of the table already holds.
void DropTaken(const BindingTable& table, const std::array<bool, kActions>& good,
               ActionKeys& keys) {
  for (int other = 0; other < kActions; ++other) {
    if (!good[other]) continue;
    for (int& k : keys.keys)
      if (SlotOf(table[other].keys, k) >= 0) k = kNoKey;
    for (int& b : keys.buttons)
      if (SlotOf(table[other].buttons, b) >= 0) b = kNoButton;
  }
  Pack(keys);
}

}  // namespace

const char* ActionName(int action) {
  return action >= 0 && action < kActions ? kActionNames[action] : "";
}

const char* KeyName(int key) {
  if (IsLetter(key)) return kLetterNames[key - 'A'];
  if (IsDigit(key)) return kDigitNames[key - '0'];
  if (IsPadDigit(key)) return kPadDigitNames[key - key::kKeypad0];
  for (size_t i = 0; i < std::size(kFreeFunctionKeys); ++i)
    if (key == kFreeFunctionKeys[i]) return kFunctionNames[i];
  for (const NamedKey& named : kKeyNames)
    if (named.key == key) return named.name;
  return nullptr;
}

const char* ButtonName(int button) {
  return button >= 0 && button < key::kJoyButtons ? kButtonNames[button] : "";
}

bool BindableKey(int key) {
  return KeyName(key) != nullptr;
}

BindResult BindKey(BindingTable& table, int action, int slot, int key) {
  if (!BindableKey(key)) return {BindOutcome::kRefused, -1};
  return Bind(table, &ActionKeys::keys, action, slot, key, true);
}

BindResult BindButton(BindingTable& table, int action, int slot, int button) {
  if (button < 0 || button >= key::kJoyButtons) return {BindOutcome::kRefused, -1};
  return Bind(table, &ActionKeys::buttons, action, slot, button, false);
}

BindingTable ParseBindings(std::string_view text, std::span<const std::string_view> otherWords,
                           std::vector<std::string>& problems) {
  BindingTable table = kDefaultBindings;
  std::array<bool, kActions> good{};
  std::array<int, kActions> lineOf{};
  int lineNumber = 0;
  while (!text.empty()) {
    ++lineNumber;
    const std::vector<std::string_view> words = Words(NextLine(text));
    if (words.empty() || words[0].starts_with('#')) continue;
    if (std::find(otherWords.begin(), otherWords.end(), words[0]) != otherWords.end()) continue;
    const int action = ActionByName(words[0]);
    const std::string where = "line " + std::to_string(lineNumber) + ": ";
    if (action < 0) {
      problems.push_back(where + "\"" + std::string(words[0]) + "\" is no action; line ignored");
      continue;
    }
    std::string wrong;
    ActionKeys keys;
    if (lineOf[action] != 0) {
      wrong = "a second line for it";
    } else if (ParseActionLine(words, keys, wrong)) {
      DropTaken(table, good, keys);
      if (KeyCount(keys) == 0) wrong = "its keys belong to other actions";
    }
    if (!wrong.empty()) {
      problems.push_back(where + ActionName(action) + ": " + wrong + "; its default keys are used");
      if (lineOf[action] == 0) lineOf[action] = lineNumber;
      continue;
    }
    table[action] = keys;
    good[action] = true;
    lineOf[action] = lineNumber;
  }
  for (int action = 0; action < kActions; ++action) {
    if (good[action]) continue;
    ActionKeys keys = kDefaultBindings[action];
    DropTaken(table, good, keys);
    table[action] = keys;
    good[action] = true;
  }
  // Defaults that lost every key to hand-edited lines: the whole table is the defaults again.
  if (std::any_of(table.begin(), table.end(),
                  [](const ActionKeys& a) { return KeyCount(a) == 0; })) {
    problems.push_back("an action was left with no key; all the default keys are used");
    table = kDefaultBindings;
  }
  return table;
}

std::string FormatBindings(const BindingTable& table) {
  std::string text;
  for (int action = 0; action < kActions; ++action) {
    text += ActionName(action);
    for (const int k : table[action].keys)
      if (k != kNoKey) (text += ' ') += KeyName(k);
    if (table[action].buttons[0] != kNoButton) (text += ' ') += kPadWord;
    for (const int b : table[action].buttons)
      if (b != kNoButton) (text += ' ') += ButtonName(b);
    text += '\n';
  }
  return text;
}

bool ParseItemMarks(std::string_view text, std::vector<std::string>& problems) {
  bool on = false;
  while (!text.empty()) {
    const std::string_view line = NextLine(text);
    const std::vector<std::string_view> words = Words(line);
    if (words.empty() || words[0] != kItemMarksWord) continue;
    if (words.size() != 2 || (words[1] != "on" && words[1] != "off")) {
      problems.push_back("\"" + std::string(line.substr(0, 80)) + "\" is not \"" +
                         std::string(kItemMarksWord) + " on|off\"; the marks are off");
      return false;
    }
    on = words[1] == "on";
  }
  return on;
}

std::string FormatItemMarks(bool on) {
  return std::string(kItemMarksWord) + (on ? " on\n" : " off\n");
}

void BuildKeyMap(const BindingTable& table, KeyMap& map) {
  map.active = table != kDefaultBindings;
  for (int k = 0; k < kKeyCount; ++k) map.keys[k] = static_cast<short>(k);
  for (int b = 0; b < key::kJoyButtons; ++b) map.buttons[b] = static_cast<signed char>(b);
  // A default key or button the player moved away means nothing, unless bound again below.
  for (const ActionKeys& defaults : kDefaultBindings) {
    for (const int k : defaults.keys)
      if (k != kNoKey) map.keys[k] = kNoKey;
    for (const int b : defaults.buttons)
      if (b != kNoButton) map.buttons[b] = kNoButton;
  }
  for (int action = 0; action < kActions; ++action) {
    const ActionKeys& defaults = kDefaultBindings[action];
    for (const int k : table[action].keys) {
      if (k == kNoKey) continue;
      map.keys[k] = static_cast<short>(SlotOf(defaults.keys, k) >= 0 ? k : defaults.keys[0]);
    }
    for (const int b : table[action].buttons) {
      if (b == kNoButton) continue;
      map.buttons[b] =
          static_cast<signed char>(SlotOf(defaults.buttons, b) >= 0 ? b : defaults.buttons[0]);
    }
  }
}
