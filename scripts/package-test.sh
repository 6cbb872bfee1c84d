#!/usr/bin/env bash
# Checks the Debian package as a user would get it:
#   1. it builds (cpack in build/), depends on the shared libraries it links, and holds the
#      program, the manual page and the README;
#   2. unpacked into a scratch root (dpkg -x), its tessaro converts a sample with HOME at a
#      scratch folder and keeps its settings under that folder's .config/tessaro/;
#   3. its manual page renders without warnings and names every option of --help.
set -uo pipefail
cd "$(dirname "$0")/.."
SAMPLE=${TESSARO_SAMPLE:-$PWD/../shared/samples/jww/Test1.jww}
[ -f "$SAMPLE" ] || SAMPLE=$PWD/examples/plan.jww
failures=0
fail() { printf 'FAIL: %s\n' "$*" >&2; failures=$((failures + 1)); }
die() { printf 'FAIL: %s\n' "$*" >&2; exit 1; }

cmake --build build --target tessaro >/dev/null || die "build tessaro"
output=$(cd build && cpack -G DEB 2>&1) || die "cpack -G DEB: $output"
version=$(build/tessaro --version | cut -d' ' -f2)
deb=build/tessaro_${version}_amd64.deb
[ -f "$deb" ] || die "$deb was not made"

dpkg-deb --field "$deb" Depends | grep -q 'libstdc++6' || fail "Depends names no libstdc++6: $(dpkg-deb --field "$deb" Depends)"
contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
for f in ./usr/bin/tessaro ./usr/share/man/man1/tessaro.1.gz ./usr/share/doc/tessaro/README.md; do
  grep -qx -- "$f" <<<"$contents" || fail "$deb does not hold $f"
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg -x "$deb" "$scratch/root" || die "dpkg -x"
mkdir -p "$scratch/home" "$scratch/out"
tessaro=$scratch/root/usr/bin/tessaro
env -i HOME="$scratch/home" PATH=/usr/bin:/bin LANG=C.UTF-8 "$tessaro" --out "$scratch/out" "$SAMPLE" >/dev/null \
  || fail "the packaged tessaro failed on $SAMPLE"
document=$scratch/out/$(basename "${SAMPLE%.*}").dae
grep -q '<geometry ' "$document" 2>/dev/null || fail "no document with geometry from $SAMPLE"
settings=$scratch/home/.config/tessaro/tessaro.dat
[ "$(grep -c $'\r$' "$settings" 2>/dev/null)" = 31 ] || fail "no 31-line settings file at $settings"
[ -e "$tessaro.dat" ] && fail "settings written beside the installed program"

manual=$scratch/root/usr/share/man/man1/tessaro.1.gz
for locale in C.UTF-8 C; do
  warnings=$(LC_ALL=$locale MANWIDTH=80 man --warnings -l "$manual" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "the manual page warns ($locale): $warnings"
done
page=$(LC_ALL=C.UTF-8 MANWIDTH=1000 man -l "$manual" 2>/dev/null)
for option in $("$tessaro" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
  grep -q -- "$option" <<<"$page" || fail "the manual page does not name $option"
done
for option in $("$tessaro" --help | grep -oE -- '^ +-[a-z],' | tr -d ' ,'); do
  grep -qE -- "(^|[^-[:alnum:]])$option([^[:alnum:]]|\$)" <<<"$page" || fail "the manual page does not name $option"
done
grep -q 'tessaro/tessaro.dat' <<<"$page" || fail "the manual page does not name the settings file"

printf '== package checks: %d failure(s)\n' "$failures"
[ "$failures" -eq 0 ]
