#!/usr/bin/env bash
# Non-blank lines of the tests (C++, C, shell, Python; golden data and CMake files left out)
# against those of the product code in src/ and tools/. The project keeps tests at about a
# quarter to a third of the code.
set -euo pipefail
cd "$(dirname "$0")/.."
count() {
  find "$@" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' -o -name '*.sh' -o -name '*.py' \) \
    -print0 | xargs -0 cat | grep -cv '^\s*$'
}
tests=$(count tests)
code=$(count src tools)
echo "tests $tests, code $code: $((100 * tests / code)) %"
