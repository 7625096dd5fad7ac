#!/usr/bin/env bash
# The real game paused and ended by keys: level 1 started from the menu, Escape opens the
# pause panel with its world map, Escape closes it; Escape, Up, Z ends the run, "GAME OVER"
# shows, the menu returns and the state file it writes is the fresh save, byte for byte
# (a run that scored nothing changes no record). Screenshots go to the build's screenshots/.
game=$(realpath "$1")
shots=$2
source "$(dirname "$0")/e2e_lib.sh"
mkdir -p "$shots"

# press KEY...: each key held long enough for several updates to see it, then released.
press() {
  for k in "$@"; do
    xdotool keydown "$k"
    sleep 0.1
    xdotool keyup "$k"
    sleep 0.15
  done
}

shoot() {
  import -window "$wid" "$shots/$1.png" 2>/dev/null || fail "no screenshot $1"
}

# share NAME WxH+X+Y FX: the share (0..1) of that part of a screenshot whose pixels pass FX.
share() {
  convert "$shots/$1.png" -crop "$2" -fx "$3" -colorspace Gray -format '%[fx:mean]' info:
}

# above VALUE LIMIT: true when VALUE > LIMIT (decimals, or a sum of them).
above() {
  awk "BEGIN { exit !(($1) > ($2)) }"
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

start "$game"
find_window Zorvane
focus
sleep 3.5 # loading, then the menu slides in and the wheel settles
press z
sleep 1.5
kill -0 "$pid" 2>/dev/null || fail "the game ended when the level started"
shoot level

press Escape
sleep 1
shoot pause
above "$(share pause "$map" "$pale")" 0.003 || fail "the pause panel shows no world map"
above "$(share pause "$buttons" "$blue")" 0.05 || fail "the pause panel shows no buttons"

press Escape
sleep 1
shoot resumed
# Compared with the level before the pause, whatever the level shows there.
above "$(share level "$buttons" "$blue") + 0.01" "$(share resumed "$buttons" "$blue")" ||
  fail "the panel stayed after Escape resumed"

rm -f "$work/.briskostate"
press Escape
sleep 0.8
press Up z
sleep 0.8
shoot game_over
above "$(share game_over "$game_word" "$pink")" 0.03 || fail "no GAME on the game-over screen"
above "$(share game_over "$over_word" "$pink")" 0.03 || fail "no OVER on the game-over screen"
[ -e "$work/.briskostate" ] && fail "the state file was written before the menu returned"

sleep 3 # the rest of the 90 frames, then the overlay fades on the menu
shoot menu_after_run
above "$(share menu_after_run "$title" 'r+g+b>1.5')" 0.05 || fail "the menu did not return"
[ -s "$work/.briskostate" ] || fail "the menu did not save on return"
cmp -s "$work/.briskostate" <(fresh_save) ||
  fail "the state file is not the fresh save: $(head -c 120 "$work/.briskostate")"

# On the menu again, the back key ends the program.
press Escape
wait_exit 5 || fail "the back key on the menu ended the program with status $?"
echo "PASS: pause, resume, ending the run and the return to the menu work; screenshots in $shots"
