#!/usr/bin/env bash
# Packs the Blender add-on as build/tessaro-blender-<version>.zip: blender/tessaro/ with the
# project's version in its bl_info, and the converter's shared library of every platform built
# (build/ for Linux x64, build-win/ for Windows x64 when the MinGW build made its DLL;
# REQUIRE_WINDOWS=1 makes its absence an error) in tessaro/lib/. Prints the zip's path. BUILD
# and BUILD_WIN name the build folders.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
BUILD_WIN=${BUILD_WIN:-build-win}

version=$(sed -n 's/^project(Tessaro VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
linux=$(find "$BUILD" -maxdepth 1 -name 'libtessaro.so.*.*.*' -type f | head -n 1)
[ -n "$linux" ] || { echo "no $BUILD/libtessaro.so.*: build the tessaro_c target first" >&2; exit 1; }
windows=""
[ -f "$BUILD_WIN/libtessaro.dll" ] && windows="$BUILD_WIN/libtessaro.dll"
if [ -z "$windows" ] && [ "${REQUIRE_WINDOWS:-0}" = 1 ]; then
  echo "no $BUILD_WIN/libtessaro.dll: build the tessaro_c target of the MinGW build first" >&2
  exit 1
fi
zip="$BUILD/tessaro-blender-$version.zip"

# The libraries go in without their symbols where a strip tool is at hand.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
strip_copy() {  # TOOL FILE: prints the file to pack
  local copy=$scratch/$(basename "$2")
  if command -v "$1" >/dev/null && "$1" --strip-unneeded -o "$copy" "$2" 2>/dev/null; then echo "$copy"; else echo "$2"; fi
}
linux=$(strip_copy strip "$linux")
[ -z "$windows" ] || windows=$(strip_copy x86_64-w64-mingw32-strip "$windows")

python3 - "$zip" "$version" "$linux" "$windows" <<'EOF'
import pathlib, re, sys, zipfile
zip_path, version, linux, windows = sys.argv[1:5]
source = pathlib.Path("blender/tessaro")
numbers = ", ".join(version.split("."))
with zipfile.ZipFile(zip_path + ".part", "w", zipfile.ZIP_DEFLATED) as archive:
    for path in sorted(source.glob("*.py")):
        text = path.read_text(encoding="utf-8")
        if path.name == "__init__.py":
            text = re.sub(r'"version": \([0-9, ]*\)', f'"version": ({numbers})', text, count=1)
        archive.writestr(f"tessaro/{path.name}", text)
    archive.write(linux, "tessaro/lib/libtessaro.so")
    if windows:
        archive.write(windows, "tessaro/lib/libtessaro.dll")
pathlib.Path(zip_path + ".part").replace(zip_path)
EOF
echo "$zip"
