#!/usr/bin/env bash
# `cmake --install` into a fresh prefix: every file where the desktop looks for it (the programs
# in bin/, the prefix not being under /usr), the desktop entry, metainfo and both man pages
# valid, and the installed game started from another folder finds
# its data, saves under XDG_DATA_HOME (copying across a state file it finds where earlier
# builds kept it) and quits on F4.
cmake=$1
build=$(realpath "$2")
docs=$(realpath "$3")
shots=$4
source "$(dirname "$0")/e2e_lib.sh"
need desktop-file-validate appstreamcli groff identify convert import
mkdir -p "$shots"
id=org.zorvane.Zorvane
prefix=$work/prefix

"$cmake" --install "$build" --prefix "$prefix" >"$work/install.txt" 2>&1 ||
  { cat "$work/install.txt"; fail "cmake --install failed"; }

for file in bin/zorvane share/zorvane/zorvane-data.txt share/zorvane/common/icons-hd.png \
  share/zorvane/sfx/001.wav share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
  share/man/man6/zorvane.6.gz share/man/man6/zorvane-sim.6.gz bin/zorvane-sim \
  share/doc/zorvane/copyright share/doc/zorvane/changelog.gz \
  share/icons/hicolor/scalable/apps/$id.svg; do
  [ -s "$prefix/$file" ] || fail "not installed: $file"
done
[ -x "$prefix/bin/zorvane" ] || fail "bin/zorvane is not executable"
[ ! -e "$prefix/share/zorvane/.generated" ] || fail "the build's stamp was installed"
for size in 48 128 256; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
  [ "$(identify -format '%wx%h' "$icon" 2>/dev/null)" = "${size}x${size}" ] ||
    fail "icon $size: $(identify "$icon" 2>&1)"
done
grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/$id.svg" || fail "the SVG icon"

desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop entry"
grep -qx "Icon=$id" "$prefix/share/applications/$id.desktop" || fail "desktop entry's icon"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" || fail "metainfo"
version=$("$prefix/bin/zorvane" --version | cut -d' ' -f2)
grep -q "<release version=\"$version\"" "$prefix/share/metainfo/$id.metainfo.xml" ||
  fail "the metainfo's release is not $version"
grep -q '<image>.*/docs/screenshot.png</image>' "$prefix/share/metainfo/$id.metainfo.xml" ||
  fail "the metainfo names no screenshot"
[ "$(identify -format '%wx%h' "$docs/screenshot.png")" = 640x480 ] || fail "docs/screenshot.png"
# check_man PROGRAM OPTION...: its man page is gzip, groff has nothing to warn about, and it
# describes every option given.
check_man() {
  local program=$1 man warnings option
  shift
  man=$(zcat "$prefix/share/man/man6/$program.6.gz") || fail "$program's man page is not gzip"
  warnings=$(LC_ALL=C.UTF-8 groff -man -ww -z <<<"$man" 2>&1)
  [ -z "$warnings" ] || fail "$program's man page: $warnings"
  for option; do
    grep -q "^\.B.* \\\\-\\\\-${option#--}\b" <<<"$man" ||
      fail "$program's man page does not describe $option"
  done
}
# shellcheck disable=SC2046  # one argument per option
check_man zorvane $("$prefix/bin/zorvane" --help | grep -o '^  --[a-z-]*')
# The options in the simulator's usage (after the line saying what was wrong, if any).
sim_options=$("$prefix/bin/zorvane-sim" --help 2>&1 | grep -v '^zorvane-sim:' | grep -o -- '--[a-z-]*')
[ -n "$sim_options" ] || fail "zorvane-sim --help names no option"
check_man zorvane-sim $sim_options

# The installed game from an unrelated folder, with a state file left there by an earlier build.
unset ZORVANE_STATE_DIR
export XDG_DATA_HOME=$work/xdg
elsewhere=$work/elsewhere
mkdir -p "$elsewhere"
printf 'kept scores' >"$elsewhere/.briskostate"
(cd "$elsewhere" && exec "$prefix/bin/zorvane") >"$work/out.txt" 2>&1 &
pid=$!
find_window Zorvane
focus
sleep 3
shoot "$shots/installed_menu.png"
quit_by_f4
expect_colour "$shots/installed_menu.png" 20x20+0+0 "the menu's backdrop (no data?)" 0 0 80
grep -q 'no game data' "$work/out.txt" && fail "the installed game found no data"
saved=$XDG_DATA_HOME/zorvane/.briskostate
[ "$(cat "$saved" 2>/dev/null)" = "kept scores" ] || fail "the earlier state was not copied to $saved"
[ "$(cat "$elsewhere/.briskostate")" = "kept scores" ] || fail "the earlier state file changed"
[ "$(stat -c %a "$XDG_DATA_HOME/zorvane")" = 700 ] || fail "the state folder is not private"
echo "PASS"
