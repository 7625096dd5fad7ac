# shellcheck shell=bash
# Sourced by test scripts that may be unable to run here.

# CTest reports this status as skipped (SKIP_RETURN_CODE in CMakeLists.txt).
readonly skip_status=77

# skip REASON: the test cannot run here. Under CI=true that fails the run instead, so a CI
# machine that lost its display or a tool cannot pass with the test unseen.
skip() {
  if [ "${CI:-}" = true ]; then
    echo "FAIL: $* (CI=true: must not skip)"
    exit 1
  fi
  echo "SKIP: $*"
  exit $skip_status
}

# need TOOL...: skips unless every tool is installed.
need() {
  local tool
  for tool; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
  done
}
