#!/usr/bin/env bash
# frame_cpu.sh [BUILD_DIR]: CPU use of the software-drawn frame (Mesa llvmpipe under a private
# Xvfb), as % of one core over 10 s, for the menu, play at rest, play while firing and the
# pause screen, at 640x480 (a window) and 1280x1024 (full screen), beside the floor: a window
# that only clears and presents 60 times a second, measured in the same run.
# Figures move with the machine's other load: run it on a quiet machine, and with ROUNDS=3 or
# more where a figure decides something (each figure is then the median of that many runs).
set -uo pipefail
build=$(realpath "${1:-build}")
game=$build/zorvane
floor=$build/bench/clear_present
for tool in Xvfb xdotool xwininfo "$game" "$floor"; do
  command -v "$tool" >/dev/null || { echo "frame_cpu.sh: $tool is missing" >&2; exit 1; }
done
readonly settle_seconds=${SETTLE_SECONDS:-4}
readonly measure_seconds=${MEASURE_SECONDS:-10}
# Each figure is the median of this many runs: they vary by a few points from run to run.
readonly rounds=${ROUNDS:-1}
export ALSOFT_DRIVERS=null LIBGL_ALWAYS_SOFTWARE=1

work=$(mktemp -d)
xvfb=
program=
cleanup() {
  [ -n "$program" ] && kill "$program" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

open_x_server() {
  local display_fd number
  exec {display_fd}<> <(:)
  Xvfb -displayfd "$display_fd" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb=$!
  read -r -t 10 -u "$display_fd" number || { echo "frame_cpu.sh: no X server" >&2; exit 1; }
  exec {display_fd}>&-
  export DISPLAY=:$number
}

# focused TITLE: waits for the window and gives it the focus (a game without focus pauses).
focused() {
  local wid=
  for _ in $(seq 100); do
    wid=$(xdotool search --pid "$program" --name "^$1\$" 2>/dev/null | head -n1)
    [ -n "$wid" ] && timeout 2 xdotool windowfocus --sync "$wid" 2>/dev/null && return 0
    sleep 0.1
  done
  echo "frame_cpu.sh: no window '$1'" >&2
  exit 1
}

# cpu_percent: the program's CPU time (all its threads) over the measuring time.
cpu_percent() {
  local before after ticks
  ticks=$(getconf CLK_TCK)
  before=$(awk '{print $14 + $15}' "/proc/$program/stat")
  sleep "$measure_seconds"
  after=$(awk '{print $14 + $15}' "/proc/$program/stat")
  awk -v d=$((after - before)) -v t="$ticks" -v s="$measure_seconds" \
    'BEGIN { printf "%.1f", 100 * d / t / s }'
}

# measure TITLE KEYS COMMAND...: starts the command, focuses its window, presses the keys
# ("hold:K" keeps K down while measuring, "away" gives the focus to the root window), lets it
# settle and prints its CPU %.
measure() {
  local title=$1 keys=$2 key held=
  shift 2
  rm -rf "$work/state" && mkdir "$work/state"
  ZORVANE_STATE_DIR=$work/state "$@" >/dev/null 2>&1 &
  program=$!
  focused "$title"
  # The level has loaded and its intro has begun.
  sleep 3
  for key in $keys; do
    case $key in
      hold:*) held=${key#hold:} && xdotool keydown "$held" ;;
      away) xdotool windowfocus "$(xwininfo -root | awk '/Window id/ {print $4}')" ;;
      *) xdotool keydown "$key" && sleep 0.25 && xdotool keyup "$key" && sleep 0.3 ;;
    esac
  done
  sleep "$settle_seconds"
  cpu_percent
  [ -n "$held" ] && xdotool keyup "$held"
  kill "$program" 2>/dev/null
  wait "$program" 2>/dev/null
  program=
}

# median VALUES...: the middle value (the mean of the two middle ones for an even count).
median() {
  printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { printf "%.1f", (v[int((NR + 1) / 2)] + v[int(NR / 2) + 1]) / 2 }'
}

# screen_cpu SCREEN MODE: one measurement of the screen.
screen_cpu() {
  case $1 in
    floor) measure clear_present "" "$floor" ${2:+"$2"} ;;
    menu) measure Zorvane "" "$game" ${2:+"$2"} ;;
    play) measure Zorvane "" "$game" ${2:+"$2"} --level 1 ;;
    firing) measure Zorvane "hold:z" "$game" ${2:+"$2"} --level 1 ;;
    pause) measure Zorvane "Escape" "$game" ${2:+"$2"} --level 1 ;;
    away) measure Zorvane "away" "$game" ${2:+"$2"} --level 1 ;;
  esac
}

open_x_server
screens=(floor menu play firing pause away)
printf '%-10s' size && printf ' %6s' "${screens[@]}" && echo
for size in 640x480 1280x1024; do
  mode=
  [ "$size" = 1280x1024 ] && mode=--fullscreen
  declare -A taken=()
  # Rounds go through every screen in turn, so a slow spell of the machine is shared out.
  for _ in $(seq "$rounds"); do
    for screen in "${screens[@]}"; do taken[$screen]+=" $(screen_cpu "$screen" "$mode")"; done
  done
  printf '%-10s' "$size"
  for screen in "${screens[@]}"; do
    # shellcheck disable=SC2086  # the values are words
    printf ' %6s' "$(median ${taken[$screen]})"
  done
  echo
done
