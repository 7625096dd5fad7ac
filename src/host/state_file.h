// The state file: where it lives, reading it, saving it whole and keeping a damaged copy.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "base/string.h"

constexpr const char* kStateFileName = ".briskostate";
// Names the state folder, overriding the desktop's data folder (tests and portable setups).
constexpr const char* kStateDirVariable = "ZORVANE_STATE_DIR";

// $ZORVANE_STATE_DIR; else $XDG_DATA_HOME/zorvane (an absolute XDG_DATA_HOME only); else
// $HOME/.local/share/zorvane; the working folder when there is no home at all.
std::string StateFolder();
std::string StateFilePath();
std::string DamagedStateFilePath();

// The saved state, decoded as text; the empty string when there is none. When the state folder
// has no state file but the working folder holds one (where earlier builds kept it), it is
// copied across first and the original left in place. A state file that exists but cannot be
// read (a folder, no permission) is told once on standard error, and from then on nothing is
// saved over it.
String ReadStateFile();

// The state as UTF-8 through ReplaceFile, creating the state folder (mode 0700) when missing.
// A failure is told on standard error once until a save succeeds again; the game plays on.
int WriteStateFile(const String& state);

// Copies the state file to the damaged copy beside it before a save replaces it, so a player
// can recover what the checks threw away, and says so on standard error. A damaged copy less
// than a day old is kept instead: the first damage is the one worth recovering.
void KeepDamagedStateFile();

// The player's controls and window, kept apart from the state file in a small text file beside
// it that a person can read and edit: one line per setting, its first word naming it.
constexpr const char* kControlsFileName = "controls.txt";
std::string ControlsFilePath();
// Its text; empty when there is none. One that cannot be read (a folder, too large for what it
// holds) is told in one line on standard error.
std::string ReadControlsFile();
// Replaces the file's lines that start with one of `words` by `lines` (where the first of them
// stood, else at the end), keeping every other line, and writes it whole through ReplaceFile.
// A failure is told in one line on standard error; false then, and the file is left as it was.
bool WriteControlsLines(std::span<const std::string_view> words, std::string_view lines);
// The same replacement on text, for the writer above and its tests.
std::string ReplaceControlsLines(std::string_view text, std::span<const std::string_view> words,
                                 std::string_view lines);
