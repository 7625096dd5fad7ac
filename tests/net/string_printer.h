// Shows String values as UTF-8 text in test failures.
#pragma once

#include <ostream>

#include "base/string.h"

static inline void PrintTo(const String& text, std::ostream* out) {
  *out << '"' << text.ToUtf8() << '"';
}
