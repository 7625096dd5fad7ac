#include "base/runtime.h"

#include <cstdio>
#include <cstdlib>

namespace {
[[noreturn]] void EndProcess(int status) {
  std::fflush(nullptr);
  // No static destructors or atexit handlers: worker threads and device libraries may
  // still be running, and the state was already saved when it mattered.
  std::_Exit(status);
}
}  // namespace

void kvPrint(const String& text) {
  std::string line = text.ToUtf8();
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fflush(stdout);
}

void kvDebugLog(const String& text) {
  kvPrint(text);
}

void kvError(const String& text) {
  if (text.Empty()) EndProcess(kExitQuit);
  const std::string narrow = text.ToLatin1();
  const auto* bytes = reinterpret_cast<const unsigned char*>(narrow.data());
  kvPrint("Brisko Runtime Error : " + String::FromBytes(bytes, static_cast<int>(narrow.size())));
  kvPrint(String());  // no call-stack description is recorded
  EndProcess(kExitError);
}
