# shellcheck shell=bash
# Shared by the end-to-end scripts: a work folder, one program under test in $pid, its
# window in $wid, and failures that show the program's output.
set -uo pipefail
export ALSOFT_DRIVERS=null

source "$(dirname "${BASH_SOURCE[0]}")/../support/skip.sh"

need Xvfb xdotool

work=$(mktemp -d)
# The game saves in its work folder, never in the user's own.
export ZORVANE_STATE_DIR=$work
pid=
wid=
x_servers=()
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  [ ${#x_servers[@]} -eq 0 ] || kill "${x_servers[@]}" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  echo "--- program output:"
  cat "$work/out.txt" 2>/dev/null
  exit 1
}

# open_x_server [XVFB-OPTION...]: starts an X server of this test's own on a display number
# the server itself found free, and sets $x_display (":N") to it. -noreset: by default the
# server resets when its last client leaves, and a window opened during the reset fails.
# shellcheck disable=SC2120  # window_e2e.sh passes options; the call below needs none
open_x_server() {
  local display_fd number
  exec {display_fd}<> <(:)
  Xvfb -displayfd "$display_fd" -screen 0 1280x1024x24 -nolisten tcp -noreset "$@" \
    >/dev/null 2>&1 &
  x_servers+=($!)
  read -r -t 10 -u "$display_fd" number || fail "the X server did not start"
  exec {display_fd}>&-
  x_display=:$number
}

# Each test has a display of its own: no window, focus or key left down by another test, or
# by anything else on the machine, can reach the program under test.
open_x_server
export DISPLAY=$x_display

# fresh_save: the first save of a fresh desktop game: the settings with their repairs and
# checksum 1483, no badges, and 1005 level blocks of zeros.
fresh_save() {
  printf '0|0|0|0|0|1|0|0|0|0|64|64|10|0|1|'
  printf '0|%.0s' $(seq 10)
  printf '1483|'
  printf '0|%.0s' $(seq $((9 + 1005 * 21)))
}

# start PROGRAM [ARG...]: runs it in the work folder with its output in $work/out.txt.
start() {
  (cd "$work" && exec "$@") >"$work/out.txt" 2>&1 &
  pid=$!
}

# find_window TITLE: waits up to 4 s for a window with exactly that title; sets $wid. The
# program under test's own window is preferred, so that a window left by an earlier program
# that is still going away is not taken for it.
find_window() {
  wid=
  for _ in $(seq 200); do
    [ -n "$pid" ] && wid=$(xdotool search --pid "$pid" --name "^$1\$" 2>/dev/null | head -n1)
    [ -n "$wid" ] || wid=$(xdotool search --name "^$1\$" 2>/dev/null | tail -n1)
    [ -n "$wid" ] && return 0
    sleep 0.02
  done
  fail "no window titled '$1'"
}

# focus: gives the window the focus (nobody else does without a window manager); a window
# that was just opened may not be mapped yet, so this is retried, a hundred times on a busy
# machine.
focus() {
  for _ in $(seq 100); do
    # --sync waits for the focus to arrive, for as long as it takes: bounded here.
    [ -n "$wid" ] && timeout 2 xdotool windowfocus --sync "$wid" 2>/dev/null &&
      { sleep 0.3; return 0; }
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

# quit_by_f4 [WHAT]: F4 to the game's window ends it with status 0 within ten seconds.
quit_by_f4() {
  xdotool key --window "$wid" F4 2>/dev/null
  wait_exit 10
  local status=$?
  [ $status -eq 0 ] || fail "${1:+$1: }F4 ended the game with status $status"
}

# shoot FILE: a picture of the window; the window may take a moment to be mapped.
shoot() {
  for _ in $(seq 50); do
    import -window "$wid" "$1" 2>/dev/null && return 0
    sleep 0.02
  done
  fail "no screenshot $1"
}

# average FILE WxH+X+Y: the mean "r,g,b" (0..255) of that part of a picture.
average() {
  convert "$1" -crop "$2" +repage -resize 1x1\! \
    -format '%[fx:int(255*r+0.5)],%[fx:int(255*g+0.5)],%[fx:int(255*b+0.5)]' info:
}

# expect_colour FILE WxH+X+Y WHAT R G B: that part of the picture is about that colour.
expect_colour() {
  local got r g b
  got=$(average "$1" "$2")
  IFS=, read -r r g b <<<"$got"
  local close=$(( (r - $4) * (r - $4) + (g - $5) * (g - $5) + (b - $6) * (b - $6) ))
  [ "$close" -le 300 ] || fail "$3 ($2 of $(basename "$1")) is $got, not about $4,$5,$6"
}

# expect_drawn FILE WxH+X+Y WHAT: that part of the picture is not black.
expect_drawn() {
  local got
  got=$(average "$1" "$2")
  [ "$got" != "0,0,0" ] || fail "$3 ($2 of $(basename "$1")) is black"
}

# pixel FILE X Y: "r,g,b" of one pixel, 0..255.
pixel() {
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r+0.5)],%[fx:int(255*p{$2,$3}.g+0.5)],%[fx:int(255*p{$2,$3}.b+0.5)]" info:
}

# changed A B WxH+X+Y: how many pixels of that part of two pictures differ clearly.
changed() {
  compare -metric AE -fuzz 15% -extract "$3" "$1" "$2" null: 2>&1 | cut -d' ' -f1
}

# hold KEY SECONDS: the key down for that long (updates read held keys, not presses).
hold() {
  xdotool keydown --window "$wid" "$1"
  sleep "$2"
  xdotool keyup --window "$wid" "$1"
}

# press_keys KEY...: each key held long enough for several updates to see it, then released.
# Screens read held keys, so a press shorter than a slow frame on a loaded machine would go
# down and up between two updates and never be seen.
press_keys() {
  for k in "$@"; do
    xdotool keydown "$k"
    sleep 0.25
    xdotool keyup "$k"
    sleep 0.15
  done
}

# above VALUE LIMIT: true when VALUE > LIMIT (decimals, or sums of them).
above() {
  awk "BEGIN { exit !(($1) > ($2)) }"
}
