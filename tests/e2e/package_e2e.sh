#!/usr/bin/env bash
# `cpack -G DEB` makes a Debian package holding the installed files under /usr (the programs in
# /usr/games), depending on the libraries the game links, that lintian finds no error or warning
# in; the game unpacked from it runs its command line.
cpack=$1
build=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*"
  exit 1
}
for tool in dpkg-deb dpkg-shlibdeps desktop-file-validate lintian; do
  if ! command -v "$tool" >/dev/null; then
    [ "${CI:-}" = true ] && fail "$tool is not installed (CI=true: must not skip)"
    echo "SKIP: $tool is not installed"
    exit 77
  fi
done
id=org.zorvane.Zorvane

(cd "$build" && "$cpack" -G DEB -B "$work") >"$work/cpack.txt" 2>&1 ||
  { cat "$work/cpack.txt"; fail "cpack failed"; }
deb=$(ls "$work"/zorvane_*.deb 2>/dev/null | head -n1)
[ -n "$deb" ] || { cat "$work/cpack.txt"; fail "no package made"; }
echo "package: $(basename "$deb")"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
names=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/[ (].*//')
for library in libc6 libglfw3 libopenal1 libstdc++6; do
  grep -qx "$library" <<<"$names" || fail "the package does not depend on $library"
done
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "section"

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for file in ./usr/games/zorvane ./usr/games/zorvane-sim ./usr/share/zorvane/zorvane-data.txt \
  ./usr/share/applications/$id.desktop ./usr/share/metainfo/$id.metainfo.xml \
  ./usr/share/man/man6/zorvane.6.gz ./usr/share/man/man6/zorvane-sim.6.gz \
  ./usr/share/doc/zorvane/copyright ./usr/share/doc/zorvane/changelog.gz \
  ./usr/share/icons/hicolor/256x256/apps/$id.png; do
  grep -qx "$file" <<<"$contents" || fail "the package lacks $file"
done

# Errors and warnings fail; the info lines it prints are for reading. Run as root (the tests
# are, here and in CI) lintian only warns about that, which is not about the package.
lintian --display-info "$deb" 2>&1 | grep -v 'running with root privileges' | tee "$work/lintian.txt"
! grep -q '^[EW]: ' "$work/lintian.txt" || fail "lintian reports errors or warnings"

dpkg-deb -x "$deb" "$work/root"
desktop-file-validate "$work/root/usr/share/applications/$id.desktop" || fail "desktop entry"
out=$("$work/root/usr/games/zorvane" --version) || fail "the packaged game does not run"
[[ "$out" == "zorvane "* ]] || fail "--version says: $out"
# The simulator finds the data beside /usr/games as the game does.
out=$("$work/root/usr/games/zorvane-sim" --level 1 --frames 1 2>"$work/sim.txt") ||
  fail "the packaged simulator: $(cat "$work/sim.txt")"
[[ "$out" == "end level=1 frames=1 "* ]] || fail "zorvane-sim says: $out"
! grep -q 'no game data' "$work/sim.txt" || fail "the packaged simulator found no data"
version=$(dpkg-deb -f "$deb" Version)
zcat "$work/root/usr/share/doc/zorvane/changelog.gz" | head -n1 | grep -q "^zorvane ($version) " ||
  fail "the changelog's newest entry is not $version"
echo "PASS"
