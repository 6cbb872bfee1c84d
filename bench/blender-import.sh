#!/usr/bin/env bash
# The add-on's import of the 1,000,000-line drawing (bench_convert_jww's) against Blender's
# own glTF importer on the converter's glb of it, side by side in one Blender run
# (bench/blender_import.py; best of RUNS, default 2). Goals: at most 1.5 times the glTF
# importer's time, and under 10 s.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
RUNS=${RUNS:-2}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

"$BUILD/bench_convert_jww" --write-drawing "$scratch/large.jww"
"$BUILD/tessaro" -f glb --out "$scratch" "$scratch/large.jww" >/dev/null
zip=$(BUILD=$BUILD scripts/blender-package.sh)
mkdir -p "$scratch/config" "$scratch/scripts"
export BLENDER_USER_CONFIG=$scratch/config BLENDER_USER_SCRIPTS=$scratch/scripts
blender --background --factory-startup --python-expr \
  "import bpy; bpy.ops.preferences.addon_install(filepath='$PWD/$zip'); bpy.ops.preferences.addon_enable(module='tessaro'); bpy.ops.wm.save_userpref()" \
  >/dev/null 2>&1
blender --background --python-exit-code 1 --python bench/blender_import.py -- \
  "$scratch/large.jww" "$scratch/large.glb" "$RUNS" 2>&1 | grep -E "^(add-on|Blender|==)"
