#!/usr/bin/env bash
# Tests write into build folders only. `start` keeps what `git status --porcelain` says of the
# source tree before `make test` runs its checks; `end` fails when the run left anything the
# start did not show (in CI, where the clone is clean, anything at all). The build folders are
# ignored (.gitignore), so what they hold never shows. Outside a git checkout it checks nothing.
set -uo pipefail
cd "$(dirname "$0")/.."
state=build/source-tree-before.txt
git rev-parse --is-inside-work-tree >/dev/null 2>&1 || { echo "== source tree: not a git checkout; not checked"; exit 0; }
case "${1:-}" in
  start)
    mkdir -p build
    git status --porcelain --untracked-files=all >"$state"
    ;;
  end)
    [ -f "$state" ] || { echo "FAIL: $state is missing: run '$0 start' first" >&2; exit 1; }
    left=$(git status --porcelain --untracked-files=all | grep -vxF -f "$state")
    if [ -n "$left" ]; then
      printf 'FAIL: the tests left these in the source tree (they write into build folders only):\n%s\n' "$left" >&2
      exit 1
    fi
    echo "== source tree: the tests left nothing in it"
    ;;
  *) echo "usage: $0 start|end" >&2; exit 2 ;;
esac
