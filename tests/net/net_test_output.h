// How the networking tests show String values and expect the host's runtime errors.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <ostream>

#include "base/string.h"

static inline void PrintTo(const String& text, std::ostream* out) {
  *out << '"' << text.ToUtf8() << '"';
}

// A runtime error prints on standard output and exits with 255; death tests read standard
// error, so the child sends one to the other.
#define EXPECT_RUNTIME_ERROR(message, ...)  \
  EXPECT_EXIT(                              \
      {                                     \
        dup2(STDERR_FILENO, STDOUT_FILENO); \
        __VA_ARGS__;                        \
      },                                    \
      testing::ExitedWithCode(255), "Brisko Runtime Error : " message)
