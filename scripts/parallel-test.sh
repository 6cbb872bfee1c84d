#!/usr/bin/env bash
# Converts a folder tree with GNU parallel, by the README's command for several machines, with
# this machine as the only login (":" runs without ssh): every drawing must get exactly one
# document beside it, holding geometry, and no temporary file may be left behind.
set -uo pipefail
cd "$(dirname "$0")/.."
SAMPLES=${TESSARO_SAMPLES:-$PWD/../shared/samples/jww}
failures=0
fail() { printf 'FAIL: %s\n' "$*" >&2; failures=$((failures + 1)); }
die() { printf 'FAIL: %s\n' "$*" >&2; exit 1; }

command -v parallel >/dev/null || die "GNU parallel is not installed (scripts/setup.sh installs it)"
cmake --build build --target tessaro >/dev/null || die "build tessaro"

# A home of its own: the settings file of the runs, and parallel's citation notice answered.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export HOME=$scratch/home PATH=$PWD/build:$PATH
mkdir -p "$HOME/.parallel" "$HOME/shared/archive/2019/site A" "$HOME/shared/archive/2020"
touch "$HOME/.parallel/will-cite"

# The tree: the samples (when there) in one folder, the example drawing under other names and
# letter cases in others, and a file that is no drawing.
archive=$HOME/shared/archive
[ -d "$SAMPLES" ] && cp "$SAMPLES"/*.jww "$archive/2019/"
cp examples/plan.jww "$archive/2019/site A/plan 1.JWW"
cp examples/plan.jww "$archive/2020/plan.Jww"
cp examples/plan.jww "$archive/plan.jww"
echo "not a drawing" >"$archive/2020/notes.txt"

cd "$HOME/shared" || die "no shared folder"
echo : >machines.txt
find archive -iname '*.jw[wsck]' | parallel --sshloginfile machines.txt --workdir . tessaro --beside {} >/dev/null \
  || fail "parallel reported failed jobs"

drawings=0
while IFS= read -r -d '' drawing; do
  drawings=$((drawings + 1))
  grep -q '<geometry ' "${drawing%.*}.dae" 2>/dev/null || fail "no document with geometry beside $drawing"
done < <(find archive -iname '*.jw[wsck]' -print0)
documents=$(find archive -type f ! -iname '*.jw[wsck]' ! -name notes.txt | wc -l)
[ "$drawings" -ge 3 ] || fail "only $drawings drawings in the tree"
[ "$documents" = "$drawings" ] || fail "$documents files written for $drawings drawings: $(find archive -type f ! -iname '*.jw[wsck]')"

printf '== parallel checks: %d drawings, %d failure(s)\n' "$drawings" "$failures"
[ "$failures" -eq 0 ]
