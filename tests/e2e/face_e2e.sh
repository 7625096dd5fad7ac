#!/usr/bin/env bash
# The project's face: the real game started with --level 1 goes straight into the level, and a
# 640 x 480 screenshot of it in play is taken. With ZV_UPDATE_SCREENSHOT=1 in the environment
# it replaces docs/screenshot.png (the README's picture, listed by the metainfo); otherwise the
# committed picture is only checked to be there and of the right size.
game=$(realpath "$1")
docs=$(realpath "$2")
shots=$3
source "$(dirname "$0")/e2e_lib.sh"
need import convert identify
mkdir -p "$shots"

start "$game" --level 1
find_window Zorvane
focus
sleep 3  # the loader, then the level's intro
# Taken under thrust, so the picture shows the ship rising from the pad on its flame.
xdotool keydown --window "$wid" Up
sleep 0.25
shoot "$shots/level1.png"
xdotool keyup --window "$wid" Up
quit_by_f4

[ "$(identify -format '%wx%h' "$shots/level1.png")" = 640x480 ] || fail "screenshot size"
# In play the HUD band runs along the top; the menu would show its dark blue there.
band=$(average "$shots/level1.png" 640x2+0+0)
[ "$band" != "0,0,80" ] && [ "$(identify -format '%k' "$shots/level1.png")" -gt 500 ] ||
  fail "not a level in play (top band $band)"
grep -q "^zorvane:" "$work/out.txt" && fail "the game told: $(grep '^zorvane:' "$work/out.txt")"

if [ "${ZV_UPDATE_SCREENSHOT:-}" = 1 ]; then
  cp "$shots/level1.png" "$docs/screenshot.png"
  echo "docs/screenshot.png replaced"
fi
[ "$(identify -format '%wx%h' "$docs/screenshot.png")" = 640x480 ] ||
  fail "docs/screenshot.png is missing or not 640 x 480"
echo "PASS: $shots/level1.png"
