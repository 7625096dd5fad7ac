#include "host/state_file.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "base/runtime.h"
#include "host/files.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kGameFolder = "zorvane";
constexpr const char* kDataHomeBelowHome = "/.local/share";
constexpr const char* kDamagedSuffix = ".damaged";
// Where earlier builds kept the state: the folder the game was started from.
constexpr const char* kEarlierStateFile = "./.briskostate";
constexpr mode_t kPrivateFolderMode = 0700;
constexpr std::time_t kDamagedCopyLifetime = 24 * 60 * 60;  // seconds
// A full save is about 250 KB; a larger file is not one the game wrote.
constexpr size_t kLargestStateFile = 1u << 20;
// The controls file holds a few dozen short lines.
constexpr size_t kLargestControlsFile = 64u << 10;
constexpr std::string_view kControlsHeading =
    "# Zorvane controls: each action's keys, then \"pad\" and its controller buttons; the\n"
    "# window as it was left. Edit freely (key names: README, \"Your own keys\").\n";
// Links followed to find where the state really lives, as many as the system follows.
constexpr int kMostLinks = 40;

// What this run has learnt about saving; each failure is told once.
struct SaveHealth {
  bool unreadableStateTold = false;  // also: nothing may be saved over that file
  bool saveFailureTold = false;
};
SaveHealth health;

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string HomeFolder() {
  std::string home = Variable("HOME");
  if (home.empty()) {
    if (const passwd* user = getpwuid(getuid()); user && user->pw_dir) home = user->pw_dir;
  }
  return home;
}

ReadResult ReadStateBytes(const std::string& path, std::string& bytes, std::string& reason) {
  return ReadPlainFile(path, kLargestStateFile, bytes, reason);
}

// The file a path names once its links are followed, so that a save replaces the link's target
// and leaves the link in place; the path itself when it is no link, or is a broken loop.
std::string LinkTarget(const std::string& path) {
  fs::path target = path;
  std::error_code error;
  for (int hop = 0; hop < kMostLinks && fs::is_symlink(target, error); ++hop) {
    const fs::path next = fs::read_symlink(target, error);
    if (error) break;
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  return fs::is_symlink(target, error) ? path : target.string();
}

// Creates the folder and any missing parents, each private to the user.
bool MakeFolder(const std::string& folder, std::string& reason) {
  std::string path;
  for (const auto& part : fs::path(folder)) {
    path = (fs::path(path) / part).string();
    // Only missing folders are made: not every system answers EEXIST for its root.
    std::error_code error;
    if (fs::is_directory(path, error)) continue;
    if (mkdir(path.c_str(), kPrivateFolderMode) != 0 && errno != EEXIST) {
      reason = std::strerror(errno);
      return false;
    }
  }
  if (!fs::is_directory(folder)) {
    reason = std::strerror(ENOTDIR);
    return false;
  }
  return true;
}

bool SameFolder(const std::string& a, const std::string& b) {
  std::error_code error;
  return fs::equivalent(a, b, error);
}

// Copies the state kept in the working folder by earlier builds into the state folder, once.
// False when there is one but it could not be copied; the caller then reads it where it is.
bool MoveEarlierStateAcross(const std::string& folder, const std::string& path) {
  std::string bytes, reason;
  if (SameFolder(folder, ".") ||
      ReadStateBytes(kEarlierStateFile, bytes, reason) != ReadResult::kRead) {
    return true;
  }
  if (!MakeFolder(folder, reason) || ReplaceFile(path, bytes, reason) != 0) {
    kvWarn(String("cannot copy the saved game in ") + kEarlierStateFile + " to " + String(path) +
           ": " + String(reason) + "; it is read where it is");
    return false;
  }
  kvWarn(String("the saved game in ") + kEarlierStateFile + " is now kept in " + String(path) +
         " (the original stays where it was)");
  return true;
}

bool ModifiedWithin(const std::string& path, std::time_t seconds) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0) return false;
  return info.st_mtime > std::time(nullptr) - seconds;
}

}  // namespace

std::string StateFolder() {
  if (std::string dir = Variable(kStateDirVariable); !dir.empty()) return dir;
  if (std::string dataHome = Variable("XDG_DATA_HOME"); dataHome.starts_with("/"))
    return dataHome + "/" + kGameFolder;
  const std::string home = HomeFolder();
  if (home.empty()) return ".";
  return home + kDataHomeBelowHome + "/" + kGameFolder;
}

std::string StateFilePath() {
  return StateFolder() + "/" + kStateFileName;
}

std::string DamagedStateFilePath() {
  return StateFilePath() + kDamagedSuffix;
}

String ReadStateFile() {
  const std::string folder = StateFolder();
  std::string path = StateFilePath();
  std::string bytes, reason;
  ReadResult result = ReadStateBytes(path, bytes, reason);
  if (result == ReadResult::kMissing && !MoveEarlierStateAcross(folder, path)) {
    path = kEarlierStateFile;
  }
  if (result == ReadResult::kMissing) result = ReadStateBytes(path, bytes, reason);
  if (result == ReadResult::kUnreadable && !health.unreadableStateTold) {
    health.unreadableStateTold = true;
    kvWarn("cannot read the saved game in " + String(path) + ": " + String(reason) +
           "; the game plays on and saves nothing over it");
  }
  if (result != ReadResult::kRead) return String();
  return DecodeText(reinterpret_cast<const unsigned char*>(bytes.data()),
                    static_cast<int>(bytes.size()));
}

int WriteStateFile(const String& state) {
  if (health.unreadableStateTold) return kSaveCannotCreate;
  const std::string folder = StateFolder();
  const std::string path = StateFilePath();
  std::string reason;
  int result = kSaveCannotCreate;
  String what;
  if (!MakeFolder(folder, reason)) {
    what = "cannot create the save folder " + String(folder) + ": " + String(reason) +
           "; the game plays on without saving";
  } else if ((result = ReplaceFile(LinkTarget(path), state.ToUtf8(), reason)) != 0) {
    what = "cannot save the game in " + String(path) + ": " + String(reason);
  }
  if (result == 0) {
    health.saveFailureTold = false;
  } else if (!health.saveFailureTold) {
    health.saveFailureTold = true;
    kvWarn(what);
  }
  return result;
}

void KeepDamagedStateFile() {
  const std::string path = StateFilePath();
  const std::string damagedPath = DamagedStateFilePath();
  std::string damaged, reason;
  if (ReadStateBytes(path, damaged, reason) != ReadResult::kRead) return;
  const String damagedName(damagedPath);
  const String what = "the state file " + String(path) + " was damaged and its bad blocks reset";
  if (ModifiedWithin(damagedPath, kDamagedCopyLifetime)) {
    kvWarn(what + "; an earlier damaged copy, less than a day old, stays in " + damagedName);
    return;
  }
  if (ReplaceFile(damagedPath, damaged, reason) != 0) {
    kvWarn(what + "; it could not be kept as " + damagedName + ": " + String(reason));
    return;
  }
  kvWarn(what + "; it is kept as " + damagedName + " to recover scores by hand");
}

std::string ControlsFilePath() {
  return StateFolder() + "/" + kControlsFileName;
}

std::string ReadControlsFile() {
  const std::string path = ControlsFilePath();
  std::string bytes, reason;
  const ReadResult result = ReadPlainFile(path, kLargestControlsFile, bytes, reason);
  if (result == ReadResult::kUnreadable)
    kvWarn("cannot read the controls in " + String(path) + ": " + String(reason) +
           "; the default controls are used");
  return result == ReadResult::kRead ? bytes : std::string();
}

std::string ReplaceControlsLines(std::string_view text, std::span<const std::string_view> words,
                                 std::string_view lines) {
  std::string out = text.empty() ? std::string(kControlsHeading) : std::string();
  bool placed = false;
  while (!text.empty()) {
    const size_t end = std::min(text.find('\n'), text.size());
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    const size_t start = line.find_first_not_of(" \t");
    const std::string_view first =
        start == std::string_view::npos
            ? std::string_view()
            : line.substr(start, line.find_first_of(" \t\r", start) - start);
    if (std::find(words.begin(), words.end(), first) == words.end()) {
      (out += line) += '\n';
    } else if (!placed) {
      out += lines;
      placed = true;
    }
  }
  if (!placed) out += lines;
  return out;
}

bool WriteControlsLines(std::span<const std::string_view> words, std::string_view lines) {
  const std::string folder = StateFolder();
  const std::string path = ControlsFilePath();
  std::string bytes, reason;
  const ReadResult read = ReadPlainFile(path, kLargestControlsFile, bytes, reason);
  if (read == ReadResult::kUnreadable) {
    kvWarn("cannot read the controls in " + String(path) + ": " + String(reason) +
           "; nothing is saved over them");
    return false;
  }
  if (!MakeFolder(folder, reason) ||
      ReplaceFile(LinkTarget(path), ReplaceControlsLines(bytes, words, lines), reason) != 0) {
    kvWarn("cannot save the controls in " + String(path) + ": " + String(reason));
    return false;
  }
  return true;
}
