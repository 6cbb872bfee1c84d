#!/usr/bin/env bash
# The Blender add-on in Blender 3.4 (Debian's), in background mode on a virtual display (Eevee
# needs OpenGL): its zip (scripts/blender-package.sh) installed into a scratch user folder under
# build/, then tests/blender/test_addon.py: the samples, hidden layers, bad files and a render
# saved as build/blender-render.png. BUILD names the build folder (default build/).
set -uo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
SAMPLES=${TESSARO_SAMPLES:-$PWD/../shared/samples/jww}
die() { printf 'FAIL: %s\n' "$*" >&2; exit 1; }

if [ ! -d "$SAMPLES" ]; then
  echo "== Blender add-on: no sample drawings in $SAMPLES: skipped"
  exit 0
fi
command -v blender >/dev/null || die "blender is not installed (TESSARO_BLENDER=1 scripts/setup.sh)"
cmake --build "$BUILD" -j "${JOBS:-2}" --target tessaro_c tessaro >/dev/null || die "build tessaro_c in $BUILD"
zip=$(BUILD=$BUILD scripts/blender-package.sh) || die "packing the add-on"

user=$PWD/$BUILD/blender-user
rm -rf "$user"
mkdir -p "$user/config" "$user/scripts"
export BLENDER_USER_CONFIG=$user/config BLENDER_USER_SCRIPTS=$user/scripts
run=(blender --background --factory-startup --python-exit-code 1
     --python tests/blender/test_addon.py -- "$PWD/$zip" "$PWD/$BUILD/tessaro" "$SAMPLES" "$PWD/$BUILD/blender-render.png")
command -v xvfb-run >/dev/null && run=(xvfb-run -a -s "-screen 0 1280x1024x24" "${run[@]}")
log=$BUILD/blender-test.log
"${run[@]}" >"$log" 2>&1
status=$?
grep -E '^(FAIL|render|== Blender)' "$log"
[ $status -eq 0 ] || die "the add-on's tests in Blender (log: $log)"
