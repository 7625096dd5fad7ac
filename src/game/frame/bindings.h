// The player's bindings: the keyboard keys and controller buttons that hold each of the seven
// actions, as the Controls panel sets them and controls.txt keeps them. The game itself reads
// actions through the default keys: the input device delivers a bound key as its action's
// default key, so recorded runs hold actions and replay alike under any binding.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/key_codes.h"
#include "input/input_device.h"

enum Action { kThrust, kSteerLeft, kSteerRight, kSteerDown, kFire, kSpecial, kPause };
constexpr int kActions = kPause + 1;

constexpr int kKeySlots = 4;
constexpr int kButtonSlots = 3;
constexpr int kNoKey = 0;
constexpr int kNoButton = -1;

struct ActionKeys {
  std::array<int, kKeySlots> keys{};
  std::array<int, kButtonSlots> buttons{kNoButton, kNoButton, kNoButton};
  bool operator==(const ActionKeys&) const = default;
};
using BindingTable = std::array<ActionKeys, kActions>;

// The table in the README; each action's first key and button is the one the game reads.
constexpr BindingTable kDefaultBindings = {{
    {{key::kUp, 'W'}, {9, kNoButton, kNoButton}},
    {{key::kLeft, 'A'}, {8, kNoButton, kNoButton}},
    {{key::kRight, 'D'}, {10, kNoButton, kNoButton}},
    {{key::kDown, 'S'}, {11, kNoButton, kNoButton}},
    {{'Z', 'J', key::kSpace, key::kEnter}, {0, kNoButton, kNoButton}},
    {{'X', 'K', key::kCtrl}, {1, kNoButton, kNoButton}},
    {{key::kEscape, key::kBackquote, key::kDelete, key::kBackspace}, {6, 7, 14}},
}};

// The word of each action in controls.txt and on the panel.
const char* ActionName(int action);
// "Up", "W", "Space"...; nullptr for a code no key of the keyboard brings.
const char* KeyName(int key);
// "A", "DpadUp", "Button17"...; "" for no button.
const char* ButtonName(int button);
// Keys the game keeps for itself (F1, F2, F4, F11) and codes of no key cannot be bound.
bool BindableKey(int key);

enum class BindOutcome { kBound, kSwapped, kRefused };
struct BindResult {
  BindOutcome outcome = BindOutcome::kBound;
  int other = -1;  // the action the code came from (swapped), or that would lose its last key
};

// Puts the key (or button) into the action's slot. A code held by another action is swapped:
// that action gets back what the slot held. Refused when the code cannot be bound, or when
// the swap would leave the other action with no key at all.
BindResult BindKey(BindingTable& table, int action, int slot, int key);
BindResult BindButton(BindingTable& table, int action, int slot, int button);

// controls.txt: a line per action, "thrust Up W pad DpadUp". Lines of other words are kept by
// their owners (`otherWords`). A damaged or repeated action line gives that action its defaults
// (less any key a good line took) and one entry in `problems`; a missing one, its defaults.
BindingTable ParseBindings(std::string_view text, std::span<const std::string_view> otherWords,
                           std::vector<std::string>& problems);
std::string FormatBindings(const BindingTable& table);

// controls.txt's colour-blind line, "colour-blind-marks on|off". Off when there is none; a
// damaged one is off too, with one entry in `problems`.
constexpr std::string_view kItemMarksWord = "colour-blind-marks";
bool ParseItemMarks(std::string_view text, std::vector<std::string>& problems);
std::string FormatItemMarks(bool on);

// Keys and buttons delivered as the actions they are bound to; inactive for the defaults.
void BuildKeyMap(const BindingTable& table, KeyMap& map);
