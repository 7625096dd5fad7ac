#include "host/signals.h"

#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "base/runtime.h"

namespace {
volatile std::sig_atomic_t stopRequested = 0;

void OnStop(int) {
  stopRequested = 1;
}

// The handler may have interrupted anything, the allocator or stdio holding its lock
// included, so it reports with write(2) and _exit alone: nothing that allocates or locks.
void WriteAll(std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = write(STDOUT_FILENO, text.data(), text.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    text.remove_prefix(static_cast<size_t>(written));
  }
}

// The same two lines and exit status as kvError.
void OnSignal(int signal) {
  WriteAll(kRuntimeErrorPrefix);
  WriteAll(SignalMessage(signal));
  WriteAll("\n\n");  // the end of the message, then the empty call-stack line
  _exit(kExitError);
}
}  // namespace

std::string_view SignalMessage(int signal) {
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

void InstallStopHandlers() {
  struct sigaction action {};
  action.sa_handler = OnStop;
  sigemptyset(&action.sa_mask);
  // SA_RESTART: a read or write the signal interrupts goes on instead of failing.
  action.sa_flags = SA_RESETHAND | SA_RESTART;
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    struct sigaction old {};
    if (sigaction(signal, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
    sigaction(signal, &action, nullptr);
  }
}

bool StopRequested() {
  return stopRequested != 0;
}
