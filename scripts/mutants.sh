#!/usr/bin/env bash
# Plants small faults in the product code one at a time, builds, runs the unit tests, the
# display ones (the renderer is checked on a real GL under Xvfb) and the simulator's kept traces,
# and says which test caught each. Every fault must be caught: the status is the number that were not.
#   scripts/mutants.sh            every fault
#   scripts/mutants.sh 3 7        only faults 3 and 7 (numbered as printed)
# The work tree must be clean in src/ and tools/; each file is restored after its fault, also
# when the script is stopped.
set -uo pipefail
cd "$(dirname "$0")/.." || exit

# One fault per line: what it breaks | file | text as it is (exactly once in the file) | text
# planted instead.
mutants=(
  "world generation: doorways start a tile later|src/game/world/world.cpp|constexpr int kDoorFirst = 2;|constexpr int kDoorFirst = 3;"
  "flight: gravity also pulls under thrust|src/game/core/flight.h|if (ay > kThrustStick && gravity) vy += kGravity;|if (gravity) vy += kGravity;"
  "combat: walkers move at 3 instead of 2|src/game/play/objects.cpp|constexpr float kWalkSpeed = 2;|constexpr float kWalkSpeed = 3;"
  "combat: the main gun fires every 16 updates, not 15|src/game/play/weapons.cpp|constexpr float kGunInterval = 15;|constexpr float kGunInterval = 16;"
  "combat: enemies in the map wake a pixel nearer|src/game/play/rooms.cpp|constexpr float kParkedEnemyDistance = 128;|constexpr float kParkedEnemyDistance = 127;"
  "particles: a bouncing spark falls faster|src/game/play/particles.cpp|constexpr float kBounceGravity = 0.2f;|constexpr float kBounceGravity = 0.3f;"
  "save record: a score block's checksum weighs its scores wrongly|src/game/save/save_data.cpp|      sum.Add(best[k], k + 4);|      sum.Add(best[k], k + 5);"
  "save record: a score that ties is filed before the tie|src/game/save/level_records.cpp|if (score > best[k]) return k + 1;|if (score >= best[k]) return k + 1;"
  "run files: only two key letters are read|src/game/runs/run_file.cpp|for (size_t i = 0; i < kKeyLetters.size(); ++i) {|for (size_t i = 0; i < 2; ++i) {"
  "frame: windows up to 2.5:1 are filled without bars|src/game/frame/draw_list.cpp|constexpr float kWidestAspect = 2.0f;|constexpr float kWidestAspect = 2.5f;"
  "renderer: additive and alpha blending swapped|src/graphics/renderer.cpp|blend == kBlendAdditive ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA|blend == kBlendAdditive ? GL_ONE_MINUS_SRC_ALPHA : GL_ONE"
  "renderer: a surface write beyond its source is not refused|src/graphics/surface.cpp|  if (static_cast<size_t>(height - 1) * pitch + width > pixels.size()) return;|"
  "audio decoding: an odd WAV chunk's pad byte is not skipped|src/audio/wav_decode.cpp|return uint64_t{size} + (size & 1);|return uint64_t{size};"
  "URL: a '?' after the '#' starts a query|src/net/url.cpp|if (q != kNotFound && h != kNotFound && h < q) q = kNotFound;|if (q != kNotFound && h != kNotFound && h > q) q = kNotFound;"
  "HTTP: a status of 0 is refused|src/net/http_request.cpp|  if (code < 0) return false;|  if (code <= 0) return false;"
  "state file: the size limit is 2 MiB|src/host/state_file.cpp|constexpr size_t kLargestStateFile = 1u << 20;|constexpr size_t kLargestStateFile = 2u << 20;"
  "menu: Up and Down turn the wheel the wrong way|src/game/screens/menu.cpp|StepWheel(io, controls, menu, up ? -1 : 1, last);|StepWheel(io, controls, menu, up ? 1 : -1, last);"
  "credits: the final line scrolls with the others|src/game/screens/credits.cpp|const int scrolled = lineCount - 1;|const int scrolled = lineCount;"
  "badges: a notification stays one update too long|src/game/screens/badges.cpp|ToastTimer[slot] = age >= Screens::kToastLife ? 0 : age + 1;|ToastTimer[slot] = age > Screens::kToastLife ? 0 : age + 1;"
  "controls: the iCade's J and K pad keys swapped|src/game/frame/controls.cpp|{'J', 'N', 11}, {'K', 'P', 12}|{'K', 'N', 11}, {'J', 'P', 12}"
)

restore=
cleanup() { [ -n "$restore" ] && git checkout -q -- "$restore"; }
trap cleanup EXIT INT TERM

if [ -n "$(git status --porcelain -- src tools)" ]; then
  echo "mutants: src/ or tools/ has changes; commit or stash them first" >&2
  exit 2
fi

# plant FILE OLD NEW: replaces the one occurrence of OLD; fails when it is not there once.
plant() {
  python3 - "$@" <<'EOF'
import sys
path, old, new = sys.argv[1:4]
text = open(path).read()
if text.count(old) != 1:
    sys.exit(f"mutants: {path} holds {text.count(old)} copies of: {old}")
open(path, "w").write(text.replace(old, new))
EOF
}

missed=0
number=0
ran=0
for mutant in "${mutants[@]}"; do
  number=$((number + 1))
  if [ $# -gt 0 ] && [[ " $* " != *" $number "* ]]; then continue; fi
  ran=$((ran + 1))
  IFS='|' read -r what file old new <<<"$mutant"
  restore=$file
  plant "$file" "$old" "$new" || exit 2
  log=$(mktemp)
  ./test.sh -L "unit|gl|sim" --stop-on-failure >"$log" 2>&1
  status=$?
  caught=$(grep -oE '[0-9]+ - [A-Za-z0-9_.]+ \((Failed|SEGFAULT|Subprocess aborted|Timeout|Exception)' "$log" |
    head -n1 | cut -d' ' -f3)
  if [ $status -eq 0 ]; then
    echo "$number. MISSED  $what"
    missed=$((missed + 1))
  elif [ -z "$caught" ]; then
    echo "$number. BUILD   $what (the build failed: not a fault the tests can see)"
    missed=$((missed + 1))
  else
    echo "$number. caught  $what  <- $caught"
  fi
  rm -f "$log"
  git checkout -q -- "$file"
  restore=
done
echo "$missed of $ran faults not caught"
exit $missed
