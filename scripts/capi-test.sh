#!/usr/bin/env bash
# Checks the C library as another program gets it:
#   1. installed from a build (cmake --install --component capi) into a scratch prefix, it
#      exports the tessaro_* functions and nothing else;
#   2. a scratch CMake project finds it with find_package(Tessaro), builds tests/capi/convert.c
#      against Tessaro::tessaro as C99 and compiles tessaro.h as C++;
#   3. that program converts a sample in memory in every format and checks the statuses.
# BUILD names the build folder (default build/; configured when it is not yet).
set -uo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
SAMPLE=${TESSARO_SAMPLE:-$PWD/../shared/samples/jww/Test1.jww}
die() { printf 'FAIL: %s\n' "$*" >&2; exit 1; }

if [ ! -f "$SAMPLE" ]; then
  echo "== C interface: no sample drawing at $SAMPLE: skipped"
  exit 0
fi
if [ ! -f "$BUILD/CMakeCache.txt" ]; then
  cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Release >/dev/null || die "configure $BUILD"
fi
cmake --build "$BUILD" -j "${JOBS:-2}" --target tessaro_c >/dev/null || die "build tessaro_c in $BUILD"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/prefix
cmake --install "$BUILD" --prefix "$prefix" --component capi >/dev/null || die "cmake --install --component capi"
library=$(find "$prefix" -name 'libtessaro.so.*' -type f | head -n 1)
[ -n "$library" ] || die "no libtessaro.so.* under $prefix"
others=$(nm -D --defined-only "$library" | awk '$2 ~ /^[TDBRVW]$/ && $3 !~ /^tessaro_/ {print $3}')
[ -z "$others" ] || die "$library exports more than tessaro_*: $(head -n 5 <<<"$others" | tr '\n' ' ')"

project=$scratch/project
mkdir -p "$project"
printf '#include <tessaro.h>\nconst char* Version() { return tessaro_version(); }\n' >"$project/header.cpp"
cat >"$project/CMakeLists.txt" <<EOF
cmake_minimum_required(VERSION 3.25)
project(tessaro_capi_check LANGUAGES C CXX)
find_package(Tessaro REQUIRED)
add_executable(convert "$PWD/tests/capi/convert.c")
set_target_properties(convert PROPERTIES C_STANDARD 99 C_STANDARD_REQUIRED ON C_EXTENSIONS OFF)
add_library(header_as_cxx OBJECT header.cpp)
foreach(target convert header_as_cxx)
  target_compile_options(\${target} PRIVATE -Wall -Wextra -pedantic -Werror)
  target_link_libraries(\${target} PRIVATE Tessaro::tessaro)
endforeach()
EOF
output=$(cmake -S "$project" -B "$project/build" -DCMAKE_PREFIX_PATH="$prefix" 2>&1) \
  || die "the scratch project did not configure: $output"
output=$(cmake --build "$project/build" 2>&1) || die "the scratch project did not build: $output"

"$project/build/convert" "$SAMPLE" /usr/share/fonts/opentype/ipaexfont-gothic/ipaexg.ttf || die "the C program's checks failed on $SAMPLE"
echo "== C interface checks passed"
