#include "host/files.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <set>
#include <thread>

#include "base/runtime.h"
#include "base/utf8.h"
#include "host/data_marker.h"

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

extern char** environ;

namespace {

std::string SystemReason() {
  return std::strerror(errno);
}

std::string TooLargeReason(size_t limit) {
  return "larger than " + std::to_string(limit) + " bytes";
}

// Opens the plain file at path for reading. O_NONBLOCK lets the open of a pipe return at once,
// so that it is refused instead of waited on; reads block again once the file is known plain.
ReadResult OpenPlainFile(const std::string& path, size_t limit, int& fd, std::string& reason) {
  fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    reason = SystemReason();
    // A folder on the way that is not one yet is a file that does not exist yet.
    return errno == ENOENT || errno == ENOTDIR ? ReadResult::kMissing : ReadResult::kUnreadable;
  }
  struct stat info {};
  if (fstat(fd, &info) != 0) {
    reason = SystemReason();
  } else if (S_ISDIR(info.st_mode)) {
    reason = std::strerror(EISDIR);
  } else if (!S_ISREG(info.st_mode)) {
    reason = "not a plain file";
  } else if (static_cast<uintmax_t>(info.st_size) > limit) {
    reason = TooLargeReason(limit);
  } else if (fcntl(fd, F_SETFL, 0) != 0) {
    reason = SystemReason();
  } else {
    return ReadResult::kRead;
  }
  close(fd);
  fd = -1;
  return ReadResult::kUnreadable;
}

// A stream over the plain file at path, opened for reading; null with the reason otherwise.
FILE* OpenPlainStream(const std::string& path, const std::string& mode, std::string& reason) {
  int fd = -1;
  if (OpenPlainFile(path, kLargestDataFile, fd, reason) != ReadResult::kRead) return nullptr;
  FILE* stream = fdopen(fd, mode.c_str());
  if (!stream) {
    reason = SystemReason();
    close(fd);
  }
  return stream;
}

constexpr size_t kReadChunk = 4096;
// The marker holds one short line.
constexpr size_t kLargestMarkerFile = 4096;
constexpr int kStandardDescriptors = 3;
constexpr const char* kDataScheme = "brisko://data/";
constexpr const char* kDataFolder = "data";
constexpr const char* kInstalledDataFolder = "share/zorvane";

struct Scheme {
  const char* prefix;
  const char* folder;
  bool marked;  // only a folder holding the data marker counts
};
constexpr Scheme kSchemes[] = {
    {kDataScheme, kDataFolder, true},
    {"brisko://internal/", "internal", false},
    {"brisko://external/", "external", false},
};

std::string ExecutableDir() {
  std::error_code error;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : exe.parent_path().string();
}

// Where a folder is looked for, in order: the working directory, then beside the executable.
std::vector<std::string> FolderCandidates(const char* folder) {
  static const std::string exeDir = ExecutableDir();
  std::vector<std::string> candidates{std::string("./") + folder};
  if (!exeDir.empty()) candidates.push_back(exeDir + "/" + folder);
  return candidates;
}

// True when the folder's marker names this version. The first marker that cannot be read (too
// many open files, no permission) is named in unreadable, so the cause can be told.
bool HoldsGameData(const std::string& folder, std::string& unreadable) {
  const std::string marker = folder + "/" + kDataMarkerFile;
  std::string text, reason;
  const ReadResult result = ReadPlainFile(marker, kLargestMarkerFile, text, reason);
  if (result == ReadResult::kUnreadable && unreadable.empty())
    unreadable = "; " + marker + " cannot be read: " + reason;
  return result == ReadResult::kRead && text.substr(0, text.find('\n')) == kDataVersion;
}

void ReportMissingDataOnce(const std::vector<std::string>& searched,
                           const std::string& unreadable) {
  static std::once_flag reported;
  std::call_once(reported, [&] {
    std::string places;
    for (const auto& folder : searched) places += (places.empty() ? "" : ", ") + folder;
    kvWarn(String("no game data found (no ") + kDataMarkerFile + " of \"" + kDataVersion +
           "\" in " + String(places) + String(unreadable) +
           "); the game runs without its images and sounds");
  });
}

// The data folder, or nothing when no candidate holds the game's data.
std::optional<std::string> FindDataFolder() {
  static const std::string exeDir = ExecutableDir();
  const std::vector<std::string> candidates = DataFolderCandidates(exeDir);
  std::string unreadable;
  for (const auto& folder : candidates)
    if (HoldsGameData(folder, unreadable)) return folder;
  ReportMissingDataOnce(candidates, unreadable);
  return std::nullopt;
}

std::optional<std::string> FindFolder(const char* folder) {
  for (const auto& candidate : FolderCandidates(folder))
    if (std::filesystem::is_directory(candidate)) return candidate;
  return std::nullopt;
}

// The scheme's folder as a path prefix ending in "/"; "./folder/" when no candidate fits.
String FolderPrefix(const Scheme& scheme) {
  const auto folder = scheme.marked ? FindDataFolder() : FindFolder(scheme.folder);
  return String(folder.value_or(std::string("./") + scheme.folder) + "/");
}

String DecodeUtf16(const unsigned char* bytes, int count, bool bigEndian) {
  std::u16string units;
  units.reserve(count / 2);
  for (int i = 0; i + 1 < count; i += 2) {
    const int high = bigEndian ? bytes[i] : bytes[i + 1];
    const int low = bigEndian ? bytes[i + 1] : bytes[i];
    units += static_cast<char16_t>(high << 8 | low);
  }
  return String(std::move(units));
}

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t wrote = write(fd, bytes.data() + done, bytes.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;
    done += static_cast<size_t>(wrote);
  }
  return true;
}

// After a rename the folder entry itself must reach the disk; a file system that cannot sync
// a folder still has the complete file under one of the two names.
void SyncFolderOf(const std::string& path) {
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

std::vector<std::string> DataFolderCandidates(const std::string& exeDir) {
  std::vector<std::string> candidates{std::string("./") + kDataFolder};
  if (exeDir.empty()) return candidates;
  candidates.push_back(std::filesystem::path(exeDir).parent_path() / kInstalledDataFolder);
  candidates.push_back(exeDir + "/" + kDataFolder);
  return candidates;
}

String FixDataPath(const String& path) {
  const int schemeAt = path.Find(":/");
  if (schemeAt >= 0 && path.Find("/") == schemeAt + 1) return path;
  if (path.StartsWith("./") || path.StartsWith("/")) return path;
  return kDataScheme + path;
}

String PathToFilePath(const String& path) {
  if (!path.StartsWith("brisko:")) return path;
  for (const auto& scheme : kSchemes) {
    const String prefix(scheme.prefix);
    if (path.StartsWith(prefix)) return FolderPrefix(scheme) + path.Slice(prefix.Length());
  }
  return String();
}

FILE* OpenFile(const String& path, const String& mode, std::string* whyNot) {
  const std::string file = PathToFilePath(path).ToUtf8();
  if (file.empty()) {
    if (whyNot) *whyNot = std::strerror(ENOENT);
    return nullptr;
  }
  const std::string how = mode.ToUtf8();
  std::string reason;
  FILE* opened = how.starts_with('r') ? OpenPlainStream(file, how, reason)
                                      : std::fopen(file.c_str(), how.c_str());
  if (!opened && whyNot) *whyNot = reason.empty() ? SystemReason() : reason;
  return opened;
}

String DecodeText(const unsigned char* bytes, int count) {
  if (count >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
    return DecodeUtf16(bytes + 2, count - 2, false);
  if (count >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF)
    return DecodeUtf16(bytes + 2, count - 2, true);
  int skip = 0;
  if (count >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) skip = 3;
  std::u16string units;
  if (DecodeUtf8(bytes + skip, count - skip, units)) return String(std::move(units));
  return String::FromBytes(bytes, count);
}

String LoadString(const String& path) {
  auto data = LoadData(path);
  if (!data) return String();
  return DecodeText(data->data(), static_cast<int>(data->size()));
}

std::optional<ByteBuffer> LoadData(const String& path, std::string* whyNot) {
  FILE* file = OpenFile(path, "rb", whyNot);
  if (!file) return std::nullopt;
  ByteBuffer bytes;
  // A file that grows while it is read stops at the limit.
  while (bytes.size() < kLargestDataFile) {
    const size_t at = bytes.size();
    bytes.resize(at + kReadChunk);
    const size_t got = std::fread(bytes.data() + at, 1, kReadChunk, file);
    bytes.resize(at + got);
    if (got < kReadChunk) break;
  }
  std::fclose(file);
  return bytes;
}

ReadResult ReadPlainFile(const std::string& path, size_t limit, std::string& bytes,
                         std::string& reason) {
  int fd = -1;
  if (const ReadResult opened = OpenPlainFile(path, limit, fd, reason); opened != ReadResult::kRead)
    return opened;
  ReadResult result = ReadResult::kRead;
  char chunk[kReadChunk];
  for (;;) {
    const ssize_t got = read(fd, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      reason = SystemReason();
      result = ReadResult::kUnreadable;
    } else if (bytes.size() + static_cast<size_t>(got) > limit) {
      reason = TooLargeReason(limit);
      result = ReadResult::kUnreadable;
    }
    if (got <= 0 || result != ReadResult::kRead) break;
    bytes.append(chunk, static_cast<size_t>(got));
  }
  close(fd);
  if (result != ReadResult::kRead) bytes.clear();
  return result;
}

void ReportUnloadableAsset(const String& path, const String& reason) {
  if (path.StartsWith(kDataScheme) && !FindDataFolder()) return;
  static std::mutex lock;
  static std::set<std::string> reported;
  const std::string file = PathToFilePath(path).ToUtf8();
  std::lock_guard<std::mutex> hold(lock);
  if (reported.insert(file).second) kvWarn("cannot load " + String(file) + ": " + reason);
}

int ReplaceFile(const std::string& path, const std::string& bytes, std::string& reason) {
  // mkostemp creates the name exclusively with mode 0600: an existing file or link there
  // makes it pick another name.
  std::string temp = path + ".XXXXXX";
  const int fd = mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) {
    reason = SystemReason();
    return kSaveCannotCreate;
  }
  bool done = WriteAll(fd, bytes) && fsync(fd) == 0;
  if (!done) reason = SystemReason();
  if (close(fd) != 0 && done) {
    done = false;
    reason = SystemReason();
  }
  if (done && std::rename(temp.c_str(), path.c_str()) != 0) {
    done = false;
    reason = SystemReason();
  }
  if (!done) {
    unlink(temp.c_str());
    return kSaveShortWrite;
  }
  SyncFolderOf(path);
  return 0;
}

void OpenClosedStandardDescriptors() {
  for (int fd = 0; fd < kStandardDescriptors; ++fd) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    // The lowest free descriptor is this one, as those below it are open by now.
    const int opened = open("/dev/null", O_RDWR);
    if (opened >= 0 && opened != fd) {
      dup2(opened, fd);
      close(opened);
    }
  }
}

#ifdef __EMSCRIPTEN__
namespace {
EM_JS(void, OpenInNewTab, (const char* url),
      { window.open(UTF8ToString(url), "_blank", "noopener"); });
}  // namespace
#endif

void OpenUrl(const String& url) {
  const std::string narrow = url.ToLatin1();
  // A leading dash would be read as an option by the opener.
  if (narrow.empty() || narrow[0] == '-' || narrow.find('\0') != std::string::npos) return;
#ifdef __EMSCRIPTEN__
  // The page's browser is the opener.
  OpenInNewTab(narrow.c_str());
#else
  std::string program = "xdg-open";
  char* argv[] = {program.data(), const_cast<char*>(narrow.c_str()), nullptr};
  pid_t pid;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv, environ) != 0) return;
  std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
#endif
}
