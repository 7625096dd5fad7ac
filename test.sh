#!/usr/bin/env bash
# Installs what is missing, builds and runs every test; exits non-zero on any failure.
#   ./test.sh            everything: unit, gl, audio, net, e2e (build/), the page in headless
#                        Chromium (web: ./web.sh into build-web/), unit under ASan+UBSan
#                        (build-asan/), fuzz (build-fuzz/, clang)
#   ./test.sh -L unit    only the tests with that CTest label, in build/
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh

JOBS=$(nproc)
export ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null}
export CTEST_OUTPUT_ON_FAILURE=1

# Our own builds treat warnings as errors; other builds (a packager's) only show them.
configure_and_build() {  # dir, then cmake options
  local dir=$1
  shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_COMPILE_WARNING_AS_ERROR=ON "$@" \
    >/dev/null
  cmake --build "$dir" -j"$JOBS"
}

# Tests that need a display get a private Xvfb server. -noreset: by default the server resets
# when its last client leaves, and a test connecting during the reset fails to open a window.
with_display() {
  xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" "$@"
}

status=0
configure_and_build build
if [ $# -gt 0 ]; then
  with_display ctest --test-dir build --timeout 300 "$@" || status=1
  exit $status
fi

# The sanitizer build (build-asan/) and the fuzz build (build-fuzz/, clang) compile while the
# tests run, at idle priority: they take only what the tests leave of the processors, so the
# window tests, which time their keys, keep theirs.
side_builds() {
  chrt --idle -p 0 "$BASHPID" >/dev/null 2>&1 || renice -n 19 -p "$BASHPID" >/dev/null || true
  # -O1 and line tables only: the sanitizers' reports still name file and line, and the build
  # takes two thirds of the time.
  local flags="-O1 -g1 -DNDEBUG"
  configure_and_build build-asan -DZV_SANITIZE=ON -DZV_BENCH=OFF \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$flags" -DCMAKE_C_FLAGS_RELWITHDEBINFO="$flags"
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -DZV_FUZZ=ON -DZV_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
  cmake --build build-fuzz -j"$JOBS" --target fuzz_all
}
side_log=$(mktemp)
# A process group of their own, so that a run stopped early stops the compilers too.
set -m
side_builds >"$side_log" 2>&1 &
side=$!
set +m
trap 'kill -- -"$side" 2>/dev/null || true; rm -f "$side_log"' EXIT

echo "== all tests =="
with_display ctest --test-dir build --timeout 300 -j"$JOBS" || status=1

echo "== the sanitizer and fuzz builds, made meanwhile =="
if wait "$side"; then
  echo "== unit tests under AddressSanitizer and UndefinedBehaviorSanitizer =="
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan -L unit --timeout 300 -j"$JOBS" || status=1

  echo "== fuzz targets (bounded runs) =="
  # Each run is bounded in time and keeps to one core: two side by side fuzz as long each.
  ctest --test-dir build-fuzz -L fuzz --timeout 300 -j"$JOBS" || status=1
else
  cat "$side_log"
  echo "the sanitizer or fuzz build failed (its output is above)"
  status=1
fi

if [ $status -ne 0 ]; then
  echo "Some tests FAILED"
else
  echo "All tests passed"
fi
exit $status
