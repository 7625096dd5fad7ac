# Shared by the end-to-end scripts: a work folder, one program under test in $pid, its
# window in $wid, and failures that show the program's output.
set -uo pipefail
export ALSOFT_DRIVERS=null

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

[ -n "${DISPLAY:-}" ] || skip "DISPLAY is unset, no X server to open a window on"
need xdotool

work=$(mktemp -d)
# The game saves in its work folder, never in the user's own.
export ZORVANE_STATE_DIR=$work
pid=
wid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  echo "--- program output:"
  cat "$work/out.txt" 2>/dev/null
  exit 1
}

# start PROGRAM: runs it in the work folder with its output in $work/out.txt.
start() {
  (cd "$work" && exec "$1") >"$work/out.txt" 2>&1 &
  pid=$!
}

# find_window TITLE: waits up to 4 s for a window with exactly that title; sets $wid.
find_window() {
  wid=
  for _ in $(seq 200); do
    wid=$(xdotool search --name "^$1\$" 2>/dev/null | head -n1)
    [ -n "$wid" ] && return 0
    sleep 0.02
  done
  fail "no window titled '$1'"
}

# focus: gives the window the focus (nobody else does without a window manager); a window
# that was just opened may not be mapped yet, so this is retried.
focus() {
  for _ in $(seq 30); do
    [ -n "$wid" ] && xdotool windowfocus --sync "$wid" 2>/dev/null && { sleep 0.3; return 0; }
    sleep 0.1
  done
  fail "could not focus the window"
}

# wait_exit SECONDS: waits for the program to end and returns its exit status.
wait_exit() {
  for _ in $(seq $(($1 * 10))); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      local status=$?
      pid=
      return $status
    fi
    sleep 0.1
  done
  fail "the program is still running after $1 s"
}
