#!/usr/bin/env bash
# Keys typed into a real window reach the input device as framework key codes: Z is key 90
# with character 'z', Left is 37 with character 65573, Enter is 13 with 13, and a left click
# is key 1 together with the first touch, 384, at the click position.
echo_bin=$(realpath "$1")
source "$(dirname "$0")/e2e_lib.sh"

start "$echo_bin"
for _ in $(seq 100); do
  grep -q '^ready$' "$work/out.txt" && break
  sleep 0.1
done
find_window "Zorvane key echo"

# Through the X test extension, like a keyboard, into the focused window.
focus
xdotool key z Left Return
xdotool mousemove --window "$wid" 50 60 click 1
sleep 0.5
xdotool key F4
wait_exit 5
status=$?
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
