#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/, writes their seed corpora with the
# fixture writers and runs each target for FUZZ_SECONDS (default 60), FUZZ_JOBS at a time
# (default 1); FUZZ_TARGETS names the formats (default "jww jws jwc jwk"). Corpora grow in
# build-fuzz/corpus/<format>/, findings land in build-fuzz/findings/<format>/, logs in
# build-fuzz/logs/. Ends with executions, speed, coverage and corpus size per target; exits 1
# when a target found a crash, a timeout or an out-of-memory, 2 when clang is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
jobs=${FUZZ_JOBS:-1}
targets=${FUZZ_TARGETS:-jww jws jwc jwk}
work=build-fuzz

if ! command -v clang++ >/dev/null; then
  echo "fuzz: clang++ with libFuzzer is needed (Debian: apt-get install clang libclang-rt-dev)" >&2
  exit 2
fi

# Longest input per format: a little over twice the largest seed of each.
max_len() {
  case $1 in
  jww) echo 40000 ;;
  jws | jwc) echo 12000 ;;
  *) echo 4096 ;;
  esac
}

cmake -S . -B "$work" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DTESSARO_FUZZ=ON \
  -DTESSARO_BUILD_TESTS=OFF -DTESSARO_BUILD_BENCH=OFF >/dev/null
names=()
for format in $targets; do names+=("Fuzz${format^}"); done
cmake --build "$work" -j "${JOBS:-2}" --target make_fuzz_seeds "${names[@]}"
"$work/tests/fuzz/make_fuzz_seeds" "$work/seeds"

run() {
  local format=$1
  mkdir -p "$work/corpus/$format" "$work/findings/$format" "$work/logs"
  "$work/tests/fuzz/Fuzz${format^}" "$work/corpus/$format" "$work/seeds/$format" \
    -max_total_time="$seconds" -max_len="$(max_len "$format")" -timeout=20 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$work/findings/$format/" >"$work/logs/$format.log" 2>&1 || true
}

echo "fuzz: $targets for ${seconds}s each, $jobs at a time"
for format in $targets; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
  run "$format" &
done
wait

found=0
printf '%-6s %12s %8s %7s %7s %8s %10s  %s\n' target executions exec/s cov ft corpus bytes findings
for format in $targets; do
  log="$work/logs/$format.log"
  stat() { sed -n "s/^stat::$1: *//p" "$log" | tail -1; }
  last=$(grep -E '^#[0-9]+' "$log" | grep -E 'cov: ' | tail -1)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  files=$(find "$work/corpus/$format" -type f | wc -l)
  bytes=$(du -sb "$work/corpus/$format" | cut -f1)
  findings=$(find "$work/findings/$format" -type f | wc -l)
  [ "$findings" -eq 0 ] || found=1
  printf '%-6s %12s %8s %7s %7s %8s %10s  %s\n' "$format" "$(stat number_of_executed_units)" \
    "$(stat average_exec_per_sec)" "$cov" "$ft" "$files" "$bytes" "$findings"
done
[ "$found" -eq 0 ] || echo "fuzz: findings in $work/findings/ (logs in $work/logs/)"
exit "$found"
