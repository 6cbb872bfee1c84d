#!/usr/bin/env bash
# Converts every sample drawing into DXF and, with the same options, into glTF, prints each
# DXF with LibreCAD (headless), and checks them with ezdxf (tests/dxf/check_dxf.py). Solids
# and points are included so that the documents hold SOLID, HATCH and POINT entities too, and
# texts so that the glb's drawing covers what the DXF's print does; the
# example drawing adds arc-shaped solids, tilted ellipses, a dimension and nested blocks.
set -euo pipefail
cd "$(dirname "$0")/.."
samples=(../shared/samples/jww/*.jww)
if [ ! -e "${samples[0]}" ]; then
  echo "dxf-test: no sample drawings in ../shared/samples/jww; only the example drawing is checked"
  samples=()
fi
samples+=(examples/plan.jww)
work=build/dxf-check
rm -rf "$work"
mkdir -p "$work"
options=(--include solids,points,texts --out "$work")
build/tessaro --format dxf "${options[@]}" "${samples[@]}" >/dev/null
build/tessaro --format glb "${options[@]}" "${samples[@]}" >/dev/null
names=()
for sample in "${samples[@]}"; do
  name=$(basename "$sample" .jww)
  names+=("$name")
  (cd "$work" && QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$PWD" librecad dxf2pdf -a "$name.dxf" >/dev/null 2>&1)
done
/usr/bin/python3 tests/dxf/check_dxf.py "$work" "${names[@]}"
# With heights, the lifted lines and their 3DFACEs: a sample with height texts, audited and
# its LINEs checked against its glb's segments in plan.
lifted=../shared/samples/jww/Test5.jww
if [ -e "$lifted" ]; then
  mkdir -p "$work/heights"
  build/tessaro --format dxf --heights --out "$work/heights" "$lifted" >/dev/null
  build/tessaro --format glb --heights --out "$work/heights" "$lifted" >/dev/null
  (cd "$work/heights" && QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$PWD" librecad dxf2pdf -a Test5.dxf >/dev/null 2>&1)
  /usr/bin/python3 tests/dxf/check_dxf.py "$work/heights" Test5
fi
