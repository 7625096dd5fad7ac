#include "base/runtime.h"

#include <cstdio>
#include <cstdlib>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

void kvPrint(const String& text) {
  std::string line = text.ToUtf8();
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fflush(stdout);
}

void kvDebugLog(const String& text) {
  kvPrint(text);
}

void kvWarn(const String& text) {
  const std::string line = "zorvane: " + text.ToUtf8() + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
}

void kvError(const String& text) {
  if (text.Empty()) kvExit(kExitQuit);
  const std::string narrow = text.ToLatin1();
  const auto* bytes = reinterpret_cast<const unsigned char*>(narrow.data());
  kvPrint(String(kRuntimeErrorPrefix) + String::FromBytes(bytes, static_cast<int>(narrow.size())));
  kvPrint(String());  // no call-stack description is recorded
  kvExit(kExitError);
}

void kvOutOfMemory() {
  // The line is written from a fixed text: there may be no memory for building one.
  static constexpr char kLine[] = "zorvane: out of memory\n";
  std::fwrite(kLine, 1, sizeof kLine - 1, stderr);
  kvExit(kExitFailure);
}

void kvExit(int status) {
  std::fflush(nullptr);
#ifdef __EMSCRIPTEN__
  // A page keeps a program with a frame loop running past exit; this ends it, frames and all.
  emscripten_force_exit(status);
#else
  std::_Exit(status);
#endif
}
