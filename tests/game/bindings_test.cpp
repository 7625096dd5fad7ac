// The player's bindings: binding with swaps, every action always bound, the controls file
// read back and its damaged lines, and the input device delivering bound keys as actions.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "game/frame/bindings.h"
#include "host/state_file.h"
#include "input/input_device.h"

namespace {

constexpr std::array<std::string_view, 1> kWindowWord = {"window"};

BindingTable Parsed(const std::string& text, int* problemCount = nullptr) {
  std::vector<std::string> problems;
  const BindingTable table = ParseBindings(text, kWindowWord, problems);
  if (problemCount) *problemCount = static_cast<int>(problems.size());
  return table;
}

// Every action holds a key, and no key or button is held by two actions.
::testing::AssertionResult Sound(const BindingTable& table) {
  std::vector<int> seen;
  for (int action = 0; action < kActions; ++action) {
    if (table[action].keys[0] == kNoKey)
      return ::testing::AssertionFailure() << ActionName(action) << " has no key";
    for (const int k : table[action].keys) {
      if (k == kNoKey) continue;
      if (std::find(seen.begin(), seen.end(), k) != seen.end())
        return ::testing::AssertionFailure() << KeyName(k) << " is bound twice";
      seen.push_back(k);
    }
  }
  return ::testing::AssertionSuccess();
}

}  // namespace

// A key or button goes into the slot; one another action held is swapped for what the slot
// held; the game's own keys and a swap that would leave an action keyless are refused.
TEST(Bindings, BindSwapsOnConflictAndRefusesWhatWouldBreak) {
  BindingTable oneKeyFire = kDefaultBindings;
  oneKeyFire[kFire].keys = {'Z'};
  // table, action, slot, key (negative: button -key-1), outcome, thrust's keys, fire's keys
  using Keys = std::array<int, kKeySlots>;
  for (const auto& [start, action, slot, code, outcome, thrust, fire] :
       {std::tuple{kDefaultBindings, kThrust, 0, int{'T'}, BindOutcome::kBound, Keys{'T', 'W'},
                   kDefaultBindings[kFire].keys},
        {kDefaultBindings, kThrust, 0, 'Z', BindOutcome::kSwapped, Keys{'Z', 'W'},
         Keys{key::kUp, 'J', key::kSpace, key::kEnter}},
        {kDefaultBindings, kThrust, 0, 'W', BindOutcome::kBound, Keys{'W', key::kUp},
         kDefaultBindings[kFire].keys},
        {kDefaultBindings, kThrust, 3, 'J', BindOutcome::kSwapped, Keys{key::kUp, 'W', 'J'},
         Keys{'Z', key::kSpace, key::kEnter}},
        {oneKeyFire, kThrust, 3, 'Z', BindOutcome::kRefused, kDefaultBindings[kThrust].keys,
         Keys{'Z'}},
        {kDefaultBindings, kThrust, 0, key::kF1, BindOutcome::kRefused,
         kDefaultBindings[kThrust].keys, kDefaultBindings[kFire].keys},
        {kDefaultBindings, kThrust, 0, key::kF11, BindOutcome::kRefused,
         kDefaultBindings[kThrust].keys, kDefaultBindings[kFire].keys},
        {kDefaultBindings, kThrust, 0, -1, BindOutcome::kSwapped, kDefaultBindings[kThrust].keys,
         kDefaultBindings[kFire].keys}}) {
    SCOPED_TRACE(testing::Message() << "code " << code << " into slot " << slot);
    BindingTable table = start;
    const BindResult result =
        code >= 0 ? BindKey(table, action, slot, code) : BindButton(table, action, 0, -code - 1);
    EXPECT_EQ(result.outcome, outcome);
    EXPECT_EQ((std::pair{table[kThrust].keys, table[kFire].keys}), (std::pair{thrust, fire}));
    if (code < 0) {
      EXPECT_EQ((std::pair{table[kThrust].buttons[0], table[kFire].buttons[0]}), (std::pair{0, 9}));
    }
  }
}

// Whatever a player presses into whichever slot, no action is left without a key, no key is
// bound twice, and the file keeps the table exactly; Defaults brings back the README's table.
TEST(Bindings, EveryActionStaysBoundAndTheFileRoundTrips) {
  std::vector<int> keys;
  for (int k = 1; k < key::kJoyBase; ++k)
    if (BindableKey(k)) keys.push_back(k);
  ASSERT_GT(keys.size(), 80u);  // most of the keyboard
  std::mt19937 random(2027);
  BindingTable table = kDefaultBindings;
  for (int i = 0; i < 3000; ++i) {
    const int action = static_cast<int>(random() % kActions);
    if (i % 5 == 0) {
      BindButton(table, action, static_cast<int>(random() % kButtonSlots),
                 static_cast<int>(random() % key::kJoyButtons));
    } else {
      BindKey(table, action, static_cast<int>(random() % kKeySlots), keys[random() % keys.size()]);
    }
    ASSERT_TRUE(Sound(table)) << "after bind " << i;
    int problems = 0;
    ASSERT_EQ(Parsed(FormatBindings(table), &problems), table) << FormatBindings(table);
    ASSERT_EQ(problems, 0);
  }
  EXPECT_EQ(Parsed(FormatBindings(kDefaultBindings)), kDefaultBindings);
}

// A damaged line gives its action the defaults (less keys good lines took), told once; other
// actions keep their lines; lines of the window's word are not the bindings' business.
TEST(Bindings, DamagedLinesFallBackPerAction) {
  const std::string good =
      "left Left A\nright Right D\ndown Down S\nfire Z J\nspecial X K\npause Escape\n";
  using Keys = std::array<int, kKeySlots>;
  for (const auto& [thrustLine, problems, thrust, fire] : {
           std::tuple{"thrust T pad A", 0, Keys{'T'}, Keys{'Z', 'J'}},
           {"thrust Foo W", 1, Keys{key::kUp, 'W'}, Keys{'Z', 'J'}},
           {"thrust", 1, Keys{key::kUp, 'W'}, Keys{'Z', 'J'}},
           {"thrust Z", 1, Keys{key::kUp, 'W'}, Keys{'Z', 'J'}},  // Z is fire's
           {"thrust T pad Bogus", 1, Keys{key::kUp, 'W'}, Keys{'Z', 'J'}},
           {"thrust 1 2 3 4 5", 1, Keys{key::kUp, 'W'}, Keys{'Z', 'J'}},
           {"thrust F4", 1, Keys{key::kUp, 'W'}, Keys{'Z', 'J'}},
           {"thrust T\nthrust Y", 1, Keys{'T'}, Keys{'Z', 'J'}},
           {"jump Q\nthrust T", 1, Keys{'T'}, Keys{'Z', 'J'}},
           {"window 640 480 0 0 0\nthrust T", 0, Keys{'T'}, Keys{'Z', 'J'}},
           {"# comment\n\n  thrust\tT  \r", 0, Keys{'T'}, Keys{'Z', 'J'}},
           {"", 0, Keys{key::kUp, 'W'}, Keys{'Z', 'J'}},
       }) {
    SCOPED_TRACE(thrustLine);
    int told = 0;
    const BindingTable table = Parsed(good + thrustLine + "\n", &told);
    EXPECT_EQ(told, problems);
    EXPECT_EQ((std::pair{table[kThrust].keys, table[kFire].keys}), (std::pair{thrust, fire}));
    EXPECT_TRUE(Sound(table));
  }
  // Hand-edited lines that took all of an action's default keys: the whole table is reset.
  int told = 0;
  EXPECT_EQ(Parsed("fire Up W\n", &told), kDefaultBindings);
  EXPECT_GE(told, 1);
}

// Saving the bindings rewrites their lines where they stood and keeps every other line.
TEST(Bindings, TheFileKeepsOtherLines) {
  const std::array<std::string_view, 2> words = {"thrust", "fire"};
  for (const auto& [before, after] : {
           std::pair{"# mine\nthrust Up\nwindow 1 2\nfire Z\n",
                     "# mine\nthrust T\nfire P\nwindow 1 2\n"},
           {"window 1 2", "window 1 2\nthrust T\nfire P\n"},
       }) {
    EXPECT_EQ(ReplaceControlsLines(before, words, "thrust T\nfire P\n"), after);
  }
  EXPECT_TRUE(ReplaceControlsLines("", words, "thrust T\n").ends_with("\nthrust T\n"));
}

// The device delivers a bound key as its action's default key, drops a default key the player
// moved away, lets other keys through, and releases an action only when its last key is up.
TEST(Bindings, TheDeviceDeliversActions) {
  BindingTable table = kDefaultBindings;
  BindKey(table, kThrust, 0, 'T');  // Up is free now
  BindKey(table, kFire, 1, 'W');    // W leaves thrust for fire; J goes to thrust
  BindButton(table, kFire, 0, 3);   // Y fires; fire's A is free
  KeyMap map;
  BuildKeyMap(table, map);
  InputDevice device;
  device.SetKeyMap(&map);
  const auto press = [&](int code) { device.KeyEvent(kEventKeyDown, code); };
  const auto lift = [&](int code) { device.KeyEvent(kEventKeyUp, code); };
  for (const auto& [code, delivered] : {std::pair{int{'T'}, int{key::kUp}},
                                        {key::kUp, 0},
                                        {'W', 'Z'},
                                        {'J', key::kUp},
                                        {'Z', 'Z'},
                                        {'C', 'C'},
                                        {key::kF1, key::kF1}}) {
    SCOPED_TRACE(code);
    press(code);
    if (delivered) {
      EXPECT_EQ(device.keyHit[delivered], 1);
    }
    EXPECT_EQ(device.keyHitQueueLength, delivered ? 1 : 0);
    lift(code);
    device.EndUpdate();
  }
  press('T');
  press('J');
  lift('T');
  EXPECT_TRUE(device.keyDown[key::kUp]) << "J still holds thrust";
  lift('J');
  EXPECT_FALSE(device.keyDown[key::kUp]);
  // A key held while the map changes keeps being held under its new meaning.
  press('T');
  device.SetKeyMap(nullptr);
  EXPECT_TRUE(device.keyDown['T'] && !device.keyDown[key::kUp]);
  // Buttons likewise: Y fires as A did; A, left without an action, is dropped.
  EXPECT_EQ((std::pair{int{map.buttons[3]}, int{map.buttons[0]}}), (std::pair{0, kNoButton}));
  BuildKeyMap(kDefaultBindings, map);
  EXPECT_FALSE(map.active);
}
