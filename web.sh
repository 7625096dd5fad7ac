#!/usr/bin/env bash
# The game in the browser.
#   ./web.sh          install what is missing, build the page into build-web/, print its address
#   ./web.sh serve    the same, then serve build-web/ on 127.0.0.1 until stopped
#   ./web.sh build    build only (the tests)
# The images and sounds come from the desktop build's asset generator (build/data).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh

readonly port=${ZV_WEB_PORT:-8080}
readonly web_dir=build-web
# Debian's emscripten finds Debian's JavaScript modules (acorn) only through this.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
if command -v ccache >/dev/null; then
  export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}
  export CMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER:-ccache}
fi

[ -f build/CMakeCache.txt ] || cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target zorvane_assets
emcmake cmake -S . -B "$web_dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
  -DZV_WEB_ASSETS="$PWD/build/data" >/dev/null
cmake --build "$web_dir" -j"$(nproc)" --target zorvane

case ${1:-} in
  build) ;;
  serve)
    echo "Serving the game at http://127.0.0.1:$port/zorvane.html (Ctrl+C stops)"
    exec python3 -m http.server "$port" --bind 127.0.0.1 --directory "$web_dir"
    ;;
  *)
    echo "Built: $web_dir/zorvane.html; ./web.sh serve plays it at http://127.0.0.1:$port/zorvane.html"
    ;;
esac
