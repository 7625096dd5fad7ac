#!/usr/bin/env bash
# The real game started the way a careless user might: with standard descriptors closed, with
# an unrelated empty data folder in the working folder, and with no data anywhere. Each time
# it reaches its window, says what is wrong on standard error only, and quits on F4.
game=$(realpath "$1")
source "$(dirname "$0")/e2e_lib.sh"

# A saved game to load, whose loading is told on standard output.
fresh_save >"$work/.briskostate"

# quit WHAT: once loading is over and the menu shows, F4 ends the game with status 0.
quit() {
  find_window Zorvane
  sleep 1.5
  quit_by_f4 "$1"
}

# descriptors_on_dev_null WHAT: 0, 1 and 2 of the running game are /dev/null.
descriptors_on_dev_null() {
  find_window Zorvane
  for fd in 0 1 2; do
    target=$(readlink "/proc/$pid/fd/$fd")
    [ "$target" = /dev/null ] || fail "$1: descriptor $fd is $target"
  done
}

# Standard output closed: the X connection must not take descriptor 1 and receive "Settings
# Loaded". Then all three closed.
(cd "$work" && exec "$game" >&-) </dev/null 2>"$work/out.txt" &
pid=$!
find_window Zorvane
target=$(readlink "/proc/$pid/fd/1")
[ "$target" = /dev/null ] || fail "standard output closed: descriptor 1 is $target"
quit "standard output closed"

(cd "$work" && exec "$game" <&- >&- 2>&-) &
pid=$!
descriptors_on_dev_null "all three closed"
quit "all three closed"

# An empty data folder here does not hide the game's data beside the program.
mkdir "$work/data"
start "$game"
quit "an empty data folder"
grep -q '^zorvane:' "$work/out.txt" && fail "an empty data folder: $(grep '^zorvane:' "$work/out.txt")"

# No data anywhere: one line names the places searched, and the game still runs.
mkdir "$work/bin"
cp "$game" "$work/bin/zorvane"
start "$work/bin/zorvane"
quit "no data"
[ "$(grep -c '^zorvane:' "$work/out.txt")" -eq 1 ] || fail "no data: expected one line"
grep -q "^zorvane: no game data found .* in ./data, $work/share/zorvane, $work/bin/data)" \
  "$work/out.txt" ||
  fail "no data: the line does not name the places searched"
echo "PASS"
