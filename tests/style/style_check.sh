#!/usr/bin/env bash
# Every C and C++ file is as clang-format leaves it, and every shell script passes shellcheck
# at warning level (following the files it sources). Lists the files that do not. Without git
# or a checker it skips (77), and fails under CI=true, where scripts/deps.sh installed them.
set -uo pipefail
source "$(dirname "$0")/../support/skip.sh"
cd "$1" || exit 1

need git clang-format shellcheck
git rev-parse --is-inside-work-tree >/dev/null 2>&1 || skip "not a git work tree"

status=0
mapfile -t sources < <(git ls-files '*.cpp' '*.h' '*.c')
# clang-format names each file that differs, with the first place.
unformatted=$(clang-format --dry-run --Werror "${sources[@]}" 2>&1 | grep -F 'error:')
[ -n "$unformatted" ] && echo "$unformatted" && status=1

mapfile -t scripts < <(git ls-files '*.sh' .ci/run)
# Sourced files are found beside the script that sources them.
shellcheck -x -P SCRIPTDIR -S warning "${scripts[@]}" || status=1
exit $status
