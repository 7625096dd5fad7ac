#include "host/files.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <thread>

#include "base/utf8.h"

extern char** environ;

namespace {

constexpr int kReadChunk = 4096;

struct Scheme {
  const char* prefix;
  const char* folder;
};
constexpr Scheme kSchemes[] = {
    {"brisko://data/", "data"},
    {"brisko://internal/", "internal"},
    {"brisko://external/", "external"},
};

std::string ExecutableDir() {
  std::error_code error;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : exe.parent_path().string();
}

// "./folder/" when the working directory has it, else the folder beside the executable.
String FolderPrefix(const char* folder) {
  if (std::filesystem::is_directory(folder)) return String("./") + folder + "/";
  static const std::string exeDir = ExecutableDir();
  const std::string beside = exeDir + "/" + folder;
  if (!exeDir.empty() && std::filesystem::is_directory(beside)) return String(beside + "/");
  return String("./") + folder + "/";
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

}  // namespace

String FixDataPath(const String& path) {
  const int schemeAt = path.Find(":/");
  if (schemeAt >= 0 && path.Find("/") == schemeAt + 1) return path;
  if (path.StartsWith("./") || path.StartsWith("/")) return path;
  return "brisko://data/" + path;
}

String PathToFilePath(const String& path) {
  if (!path.StartsWith("brisko:")) return path;
  for (const auto& scheme : kSchemes) {
    const String prefix(scheme.prefix);
    if (path.StartsWith(prefix)) return FolderPrefix(scheme.folder) + path.Slice(prefix.Length());
  }
  return String();
}

FILE* OpenFile(const String& path, const String& mode) {
  const String file = PathToFilePath(path);
  if (file.Empty()) return nullptr;
  return std::fopen(file.ToUtf8().c_str(), mode.ToUtf8().c_str());
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

std::optional<ByteBuffer> LoadData(const String& path) {
  FILE* file = OpenFile(path, "rb");
  if (!file) return std::nullopt;
  ByteBuffer bytes;
  for (;;) {
    const size_t at = bytes.size();
    bytes.resize(at + kReadChunk);
    const size_t got = std::fread(bytes.data() + at, 1, kReadChunk, file);
    bytes.resize(at + got);
    if (got < kReadChunk) break;
  }
  std::fclose(file);
  return bytes;
}

int WriteStateFile(const String& state) {
  const std::string temp = std::string(kStateFile) + ".tmp";
  const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return kSaveCannotCreate;
  const bool written = WriteAll(fd, state.ToUtf8()) && fsync(fd) == 0;
  const bool closed = close(fd) == 0;
  if (written && closed && std::rename(temp.c_str(), kStateFile) == 0) return 0;
  unlink(temp.c_str());
  return kSaveShortWrite;
}

String ReadStateFile() {
  return LoadString(kStateFile);
}

void OpenUrl(const String& url) {
  const std::string narrow = url.ToLatin1();
  // A leading dash would be read as an option by the opener.
  if (narrow.empty() || narrow[0] == '-' || narrow.find('\0') != std::string::npos) return;
  std::string program = "xdg-open";
  char* argv[] = {program.data(), const_cast<char*>(narrow.c_str()), nullptr};
  pid_t pid;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv, environ) != 0) return;
  std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
}
