#!/usr/bin/env bash
# Keys typed into a real window reach the input device as framework key codes: Z is key 90
# with character 'z', Left is 37 with character 65573, Enter is 13 with 13, and a left click
# is key 1 together with the first touch, 384, at the click position.
set -uo pipefail
echo_bin=$(realpath "$1")
[ -n "${DISPLAY:-}" ] || { echo "SKIP: DISPLAY is unset, no X server to type into"; exit 0; }
work=$(mktemp -d)
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; echo "--- harness output:"; cat "$work/out.txt"; exit 1; }

"$echo_bin" >"$work/out.txt" 2>&1 &
pid=$!
wid=
for _ in $(seq 100); do
  grep -q '^ready$' "$work/out.txt" && wid=$(xdotool search --name '^Zorvane key echo$' | head -n1)
  [ -n "$wid" ] && break
  sleep 0.1
done
[ -n "$wid" ] || fail "no window titled 'Zorvane key echo'"

# Through the X test extension, like a keyboard, into the focused window.
xdotool windowfocus --sync "$wid" || fail "could not focus the window"
sleep 0.3
xdotool key z Left Return
xdotool mousemove --window "$wid" 50 60 click 1
sleep 0.5
xdotool key F4
for _ in $(seq 50); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "F4 did not end the harness"
wait "$pid"
status=$?
pid=
[ $status -eq 0 ] || fail "harness ended with status $status"

expect() { grep -qx "$1" "$work/out.txt" || fail "expected the line '$1'"; }
expect "key 90"
expect "char 122"
expect "key 37"
expect "char 65573"
expect "key 13"
expect "char 13"
expect "key 1"
expect "key 384"
expect "mouse 50 60"
echo "PASS"
