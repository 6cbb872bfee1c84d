#!/usr/bin/env bash
# Runs the given make targets at the same time, each into its own log (build/logs/TARGET.log),
# then prints every log in the order given and fails when any target failed. The slow checks
# wait mostly on things other than the processor (Wine, Blender, a browser, the linker), so side
# by side they end far sooner than one after another.
set -uo pipefail
cd "$(dirname "$0")/.."
mkdir -p build/logs
declare -A pids
start=$SECONDS
for target in "$@"; do
  make --no-print-directory BUILD_FIRST= "$target" >"build/logs/$target.log" 2>&1 &
  pids[$target]=$!
done
failed=()
for target in "$@"; do
  if wait "${pids[$target]}"; then status=passed; else status=FAILED; failed+=("$target"); fi
  echo "== make $target: $status (log: build/logs/$target.log)"
  cat "build/logs/$target.log"
done
echo "== side by side: $* in $((SECONDS - start)) s"
[ ${#failed[@]} -eq 0 ] || { echo "FAILED: ${failed[*]}"; exit 1; }
