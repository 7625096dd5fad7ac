// Run files: the input the game read in every update of a level, as text that a person can
// read and write. A file starts with the line "zorvane-run 1" and holds runs one after
// another, each one level played from its start:
//
//   level L [seed=S] [screen=W,H] [latch=N] [ramp=X,Y] [hud=0|1] [icade=0|1]
//           [pads=I:V,...] [stick=X,Y] [pointer=X,Y,DOWN,ACTIVE]
//   COUNT KEYS [k=C,...] [hit=C:N,...] [ch=C,...] [mouse=X,Y] [touchN=X,Y]
//              [joyN=X0,Y0,Z0,X1,Y1,Z1] [accel=X,Y,Z]
//   ...
//   end level=L frames=F result=R score=S lives=N items=ABC
//
// The level line starts the level as the menu does. Its optional fields are what the level
// inherits from before it started: the random seed before the level was built (it places the
// star field), the window size, the fire latch, the key-driven stick, whether the HUD is
// hidden, the iCade mode, the pad keys it holds, the mouse-drag anchor and the pointer.
// Each input line holds COUNT updates with the same input: KEYS are letters from U D L R A B
// (the arrow keys, Z and X) or "-" for none, k= adds other held key codes; a key held now
// and not in the previous update counts one press, and hit= gives the presses of keys that
// differ from that. ch= queues characters. Positions and axes keep their values until a line
// changes them; a field stands at most once on a line. The end line is the outcome the
// recording saw, whether the level ended or the recording stopped in it (result=running); a
// replay stops after its frames= updates. '#' starts a comment.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/random.h"
#include "game/frame/input_frame.h"

// The first line of every run file.
constexpr std::string_view kRunFileFormat = "zorvane-run 1";
constexpr int kCarriedPadKeys = 19;  // PadKeys 0..18; entry 19 is read anew every update
constexpr int kDefaultScreenWidth = 640;
constexpr int kDefaultScreenHeight = 480;

// The game's control state a level inherits from the screens before it.
struct RunCarry {
  int keyLatch = 0;
  float rampX = 0, rampY = 0;
  int hudHidden = 0;
  int icade = 0;
  std::array<int, kCarriedPadKeys> padKeys{};
  int stickX = 0, stickY = 0;
  int pointerX = 0, pointerY = 0, pointerWasDown = 0, pointerActive = 0;
  bool operator==(const RunCarry&) const = default;
};

struct RunHeader {
  int level = 1;
  std::uint32_t seed = kInitialSeed;
  int screenWidth = kDefaultScreenWidth, screenHeight = kDefaultScreenHeight;
  RunCarry carry;
  bool operator==(const RunHeader&) const = default;
};

// What an input line holds beyond its KEYS letters, one entry each: a held key code (k=), a
// key's presses (hit=), a character (ch=), or a position or axes (mouse=, touchN=, joyN=,
// accel=), whose values stand in the run's axis values.
struct LineEntry {
  enum Kind : std::uint8_t { kHeld, kHit, kChar, kMouse, kTouch, kJoy, kAccel };
  Kind kind = kHeld;
  std::uint8_t device = 0;  // the touch or joystick number
  std::uint16_t key = 0;    // kHeld and kHit
  std::int32_t value = 0;   // kHit: the presses; kChar: the character; else the first axis value
};

// COUNT updates with the same input: the KEYS letters held, and `entryCount` of the run's
// entries from `firstEntry` (a line of at most kMaxRunLineBytes holds far fewer than 65536).
struct RunLine {
  std::int32_t count = 1;
  std::uint8_t letters = 0;  // bit i: kKeyLetters[i] is held
  std::uint16_t entryCount = 0;
  std::uint32_t firstEntry = 0;
};

// The input lines of a run or a key script, kept in a few bytes a line however long the file.
struct RunInput {
  std::vector<RunLine> lines;
  std::vector<LineEntry> entries;
  std::vector<float> axisValues;
};

struct RecordedRun {
  RunHeader header;
  RunInput input;
  std::string endLine;           // empty when the file gives none
  std::optional<int> endFrames;  // the end line's frames=: where a replay of the run stops
  int fileLine = 0;              // where the level line stands, for messages
};

// Limits that keep a hostile file from running the program out of memory or time.
constexpr int kMaxLineCount = 10'000'000;
constexpr long long kMaxRunUpdates = 100'000'000;
constexpr long long kMaxRunFileBytes = 64LL << 20;
// The longest line a file may hold; the writer's longest line is well within it.
constexpr int kMaxRunLineBytes = 16384;

// Parses a whole file. On failure `message` reads "LINE: expected ..." and nothing is kept.
bool ParseRuns(std::string_view text, std::vector<RecordedRun>& runs, std::string& message);
// Reads and parses a file line by line; messages start with the path.
bool ReadRunFile(const std::string& path, std::vector<RecordedRun>& runs, std::string& message);
// A key script: COUNT:KEYS items separated by spaces, e.g. "90:- 30:U 60:RA".
bool ParseKeyScript(std::string_view script, RunInput& input, std::string& message);

// What a file holds before runs are appended to it: no line but blanks and comments, the
// format line first, or another line first (it is not a run file).
enum class RunFileStart { kNoLine, kFormatLine, kOtherLine };
RunFileStart ReadRunFileStart(std::FILE* file);

// The keyboard key each KEYS letter holds.
struct KeyLetter {
  char letter;
  int key;
};
constexpr std::array<KeyLetter, 6> kKeyLetters = {{{'U', key::kUp},
                                                   {'D', key::kDown},
                                                   {'L', key::kLeft},
                                                   {'R', key::kRight},
                                                   {'A', 'Z'},
                                                   {'B', 'X'}}};

// The keyboard key a letter stands for; 0 for none.
constexpr int KeyOfLetter(char letter) {
  for (const KeyLetter& k : kKeyLetters)
    if (k.letter == letter) return k.key;
  return 0;
}

// Axis bounds a file may hold: the window library gives sticks within -1..1.
constexpr float kMaxPointer = 1e6f;
constexpr float kMaxStickAxis = 1;
constexpr float kMaxAccel = 100;
