#!/usr/bin/env bash
# `cpack -G DEB` makes a Debian package holding the installed files under /usr, depending on
# the libraries the game links; the game unpacked from it runs its command line.
cpack=$1
build=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*"
  exit 1
}
for tool in dpkg-deb dpkg-shlibdeps file desktop-file-validate; do
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
for file in ./usr/bin/zorvane ./usr/share/zorvane/zorvane-data.txt \
  ./usr/share/applications/$id.desktop ./usr/share/metainfo/$id.metainfo.xml \
  ./usr/share/man/man6/zorvane.6.gz ./usr/share/icons/hicolor/256x256/apps/$id.png; do
  grep -qx "$file" <<<"$contents" || fail "the package lacks $file"
done

dpkg-deb -x "$deb" "$work/root"
desktop-file-validate "$work/root/usr/share/applications/$id.desktop" || fail "desktop entry"
file -b "$work/root/usr/bin/zorvane" | grep -q 'not stripped' && fail "the program is not stripped"
out=$("$work/root/usr/bin/zorvane" --version) || fail "the packaged game does not run"
[[ "$out" == "zorvane "* ]] || fail "--version says: $out"
echo "PASS"
