#!/usr/bin/env bash
# Runs in the real game. A level played by keys with --record and ended from the pause panel
# replays in the simulator, and with --replay in the window, to the end line the recording
# wrote. The demo plays a level in the window, recorded; the simulator replays that run to
# the demo's end; a key gives the menu back, and F4 still quits. A level left by F4, by closing
# the window or by a stop signal is recorded to that point, end line included.
game=$(realpath "$1")
sim=$(realpath "$2")
source "$(dirname "$0")/e2e_lib.sh"

# start_with ARGS...: the game with options, in the work folder.
start_with() {
  (cd "$work" && exec "$game" "$@") >"$work/out.txt" 2>&1 &
  pid=$!
}

# first_end SECONDS: waits for the game's first end line on standard output and prints it.
first_end() {
  for _ in $(seq $(($1 * 10))); do
    line=$(grep -m1 '^end level=' "$work/out.txt")
    [ -n "$line" ] && { echo "$line"; return 0; }
    sleep 0.1
  done
  fail "no end line within $1 s"
}

# A level played by hand, recorded, and ended from the pause panel.
start_with --record run.txt
find_window Zorvane
focus
sleep 3  # the loader, then the menu
press_keys z
sleep 2  # the level's intro
hold Up 0.5
hold Right 0.3
hold z 0.4
hold Left 0.3
press_keys Escape
sleep 0.5
press_keys Up z
sleep 1
quit_by_f4
recorded=$(grep '^end ' "$work/run.txt") || fail "the run file has no end line: $(cat "$work/run.txt")"
echo "recorded: $recorded"
replayed=$("$sim" --replay "$work/run.txt" 2>/dev/null | tail -n1)
[ "$replayed" = "$recorded" ] || fail "the simulator's replay ended with '$replayed'"

# The same run shown in the window.
start_with --replay run.txt
find_window Zorvane
shown=$(first_end 60)
[ "$shown" = "$recorded" ] || fail "the window's replay ended with '$shown'"
quit_by_f4

# The demo, recorded: its first level in the window, then the simulator's replay of it.
start_with --demo --record demo.txt
find_window Zorvane
focus
demo=$(first_end 120)
echo "demo: $demo"
press_keys q
sleep 1
kill -0 "$pid" 2>/dev/null || fail "a key ended the program instead of the demo"
quit_by_f4
grep -qx "$demo" "$work/demo.txt" || fail "the demo's run file has no end line '$demo'"
replayed=$("$sim" --replay "$work/demo.txt" --level 1 2>/dev/null | head -n1)
[ "$replayed" = "$demo" ] || fail "the simulator's replay of the demo ended with '$replayed'"
# end_by WAY: F4, the window's close request, or the signal WAY ends the game with status 0;
# "unfocused" is SIGTERM while a second game's window has the focus and this one waits for
# events, suspended.
end_by() {
  local other=
  case $1 in
    F4) xdotool key --window "$wid" F4 2>/dev/null ;;
    close) /usr/bin/python3 "$(dirname "$0")/close_window.py" "$wid" ;;
    unfocused)
      (cd "$work" && exec timeout 30 "$game") >/dev/null 2>&1 &
      other=$!
      sleep 3
      kill -s TERM "$pid"
      ;;
    *) kill -s "$1" "$pid" ;;
  esac
  wait_exit 10
  local status=$?
  [ -n "$other" ] && kill "$other"
  [ $status -eq 0 ] || fail "$1 ended the game with status $status"
}

for way in F4 close TERM HUP unfocused; do
  rm -f "$work/cut.txt"
  start_with --level 1 --record cut.txt
  find_window Zorvane
  focus
  sleep 3  # the loader, then the level's intro
  hold Up 0.5
  end_by "$way"
  cut=$(grep '^end .*result=running' "$work/cut.txt") || fail "$way: no end line in $(cat "$work/cut.txt")"
  replayed=$("$sim" --replay "$work/cut.txt" 2>&1)
  [ "$replayed" = "$cut" ] || fail "$way: the simulator's replay ended with '$replayed', not '$cut'"
done
echo "PASS"
