#include "host/signals.h"

#include <csignal>

#include "base/runtime.h"

namespace {
void OnSignal(int signal) {
  kvError(SignalMessage(signal));
}
}  // namespace

const char* SignalMessage(int signal) {
  switch (signal) {
    case SIGFPE:
      return "Floating point exception";
    case SIGSEGV:
      return "Memory access violation";
    case SIGILL:
      return "Illegal instruction";
    default:
      return "Unknown signal";
  }
}

void InstallSignalHandlers() {
  std::signal(SIGSEGV, OnSignal);
  std::signal(SIGILL, OnSignal);
  std::signal(SIGFPE, OnSignal);
}
