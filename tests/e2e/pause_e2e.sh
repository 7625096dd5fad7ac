#!/usr/bin/env bash
# The real game paused and ended by keys: level 1 started from the menu, Escape opens the
# pause panel with its world map, Escape closes it; Escape, Up, Z ends the run, "GAME OVER"
# shows, the menu returns and the state file it writes is the fresh save, byte for byte
# (a run that scored nothing changes no record). Screenshots go to the build's screenshots/.
game=$(realpath "$1")
shots=$2
source "$(dirname "$0")/e2e_lib.sh"
need import convert
mkdir -p "$shots"

# share NAME WxH+X+Y FX: the share (0..1) of that part of a screenshot whose pixels pass FX.
share() {
  convert "$shots/$1.png" -crop "$2" -fx "$3" -colorspace Gray -format '%[fx:mean]' info:
}

# The first save of a fresh desktop game: the settings with their repairs and checksum 1483,
# no badges, and 1005 level blocks of zeros.
fresh_save() {
  local text="0|0|0|0|0|1|0|0|0|0|64|64|10|0|1|" block="" i
  for i in $(seq 10); do text+="0|"; done
  text+="1483|"
  for i in $(seq 9); do text+="0|"; done
  for i in $(seq 21); do block+="0|"; done
  for i in $(seq 1005); do text+="$block"; done
  printf '%s' "$text"
}

# In a 640 x 480 window the 720 x 540 screen is drawn at 8/9 scale: the map's 32 x 32 cells
# fill x 185..640, y 57..398, in pale path colours.
map=455x341+185+57
pale='r>0.78 && g>0.78 && b>0.78'
# The panel's three blue buttons stand in a column at the left edge.
buttons=120x300+0+50
blue='b>0.7 && r<0.45 && g<0.45'
# "GAME" and "OVER" in pink around (252, 243) and (468, 297) once the bars have stopped.
game_word=110x40+170+196
over_word=110x40+362+244
pink='r>0.85 && g>0.55 && g<0.85 && b>0.55 && b<0.85'
title=200x40+160+45

# await NAME SECONDS CHECK...: screenshots NAME until CHECK passes, for at most SECONDS; a
# loaded machine only makes the game slower, not the test wrong.
await() {
  local name=$1 seconds=$2
  shift 2
  for _ in $(seq $((seconds * 4))); do
    shoot "$shots/$name.png"
    "$@" "$name" && return 0
    sleep 0.25
  done
  return 1
}

menu_shown() { above "$(share "$1" "$title" 'r+g+b>1.5')" 0.05; }
map_shown() { above "$(share "$1" "$map" "$pale")" 0.003; }
buttons_shown() { above "$(share "$1" "$buttons" "$blue")" 0.05; }
# Compared with the level before the pause, whatever the level shows there.
buttons_gone() { above "$(share pause_level "$buttons" "$blue") + 0.01" "$(share "$1" "$buttons" "$blue")"; }
game_over_shown() {
  above "$(share "$1" "$game_word" "$pink")" 0.03 && above "$(share "$1" "$over_word" "$pink")" 0.03
}
game_over_gone() { ! above "$(share "$1" "$game_word" "$pink")" 0.01; }
saved() { [ -s "$work/.briskostate" ]; }

start "$game"
find_window Zorvane
focus
await pause_menu 20 menu_shown || fail "the menu did not show"
sleep 1 # the wheel settles
press_keys z
sleep 1
kill -0 "$pid" 2>/dev/null || fail "the game ended when the level started"
shoot "$shots/pause_level.png"

press_keys Escape
await pause_panel 5 buttons_shown || fail "Escape did not open the pause panel"
map_shown pause_panel || fail "the pause panel shows no world map"

press_keys Escape
await pause_resumed 5 buttons_gone || fail "the panel stayed after Escape resumed"

rm -f "$work/.briskostate"
press_keys Escape
await pause_panel_again 5 buttons_shown || fail "Escape did not pause again"
press_keys Up z
await pause_game_over 5 game_over_shown || fail "no GAME OVER after ending the run"

await pause_menu_after_run 15 menu_shown || fail "the menu did not return"
await pause_menu_after_run 5 saved || fail "the menu did not save on return"
cmp -s "$work/.briskostate" <(fresh_save) ||
  fail "the state file is not the fresh save: $(head -c 120 "$work/.briskostate")"

# Once the overlay has faded, the back key on the menu ends the program.
await pause_menu_after_run 5 game_over_gone || fail "the game-over overlay did not fade"
press_keys Escape
wait_exit 5 || fail "the back key on the menu ended the program with status $?"
echo "PASS: pause, resume, ending the run and the return to the menu work; screenshots in $shots"
