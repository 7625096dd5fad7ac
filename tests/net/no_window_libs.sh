#!/usr/bin/env bash
# The network layer stands on base alone: the test binary, linked without --as-needed so that
# it records every shared library on its link line, needs no window library and no OpenGL.
set -euo pipefail
needed=$(readelf -d "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
[ -n "$needed" ] || { echo "FAIL: readelf lists no shared library of $1"; exit 1; }
window=$(grep -E '^lib(glfw|GL|GLX|OpenGL|EGL|X11)\b' <<<"$needed" || true)
[ -z "$window" ] || { echo "FAIL: $1 links" $window; exit 1; }
echo "PASS: $1 needs only" $needed
