#!/usr/bin/env bash
# Converts every sample drawing into the three document formats and checks them in real
# clients (tests/js/check_outputs.mjs): the Khronos glTF validator, and three.js loading the
# .glb and the compact .dae with the expected segment and triangle counts, the compact one's
# colours as the .glb's whatever the lights. Solids and filled point markers are included so the
# documents hold triangles too, and texts so that the .glb has its "text" nodes.
set -euo pipefail
cd "$(dirname "$0")/.."
samples=(../shared/samples/jww/*.jww)
if [ ! -e "${samples[0]}" ]; then
  echo "check-outputs: no sample drawings in ../shared/samples/jww; nothing checked"
  exit 0
fi
work=build/output-check
rm -rf "$work"
for format in dae dae-compact glb; do
  mkdir -p "$work/$format"
  build/tessaro --format "$format" --include solids,points,texts --marker 7 --out "$work/$format" "${samples[@]}" >/dev/null
done
node tests/js/check_outputs.mjs "$work"
