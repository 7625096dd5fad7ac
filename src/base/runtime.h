// Output and fatal errors shared by every layer.
#pragma once

#include <string_view>

#include "base/string.h"

// Marks an omitted optional numeric argument, and the coordinates of a touch that is up.
constexpr int kNoArg = -3717;

constexpr int kExitQuit = 0;
constexpr int kExitError = -1;
// The program could not go on: no window could be opened, or memory ran out.
constexpr int kExitFailure = 1;

// The start of every runtime-error report.
constexpr std::string_view kRuntimeErrorPrefix = "Brisko Runtime Error : ";

// The text as UTF-8 plus a newline on standard output, flushed.
void kvPrint(const String& text);
void kvDebugLog(const String& text);
// A failure the user can act on: "zorvane: " + text and a newline on standard error.
void kvWarn(const String& text);

// An empty text ends the process at once with status 0 (the quit path); any other text is
// reported as kRuntimeErrorPrefix + text, then an empty call-stack line, and ends the process
// with status -1.
[[noreturn]] void kvError(const String& text);

// Says on standard error that memory ran out and ends the process with kExitFailure; the
// game cannot go on without the memory, and half-made state must not be saved.
[[noreturn]] void kvOutOfMemory();

// Flushes the output and ends the process with the status, running no destructors: worker
// threads and device libraries may still be running.
[[noreturn]] void kvExit(int status);

// The program's throwable type; one escaping a host event ends the program through Die.
struct BriskoThrowable {
  virtual ~BriskoThrowable() = default;
};
