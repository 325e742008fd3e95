#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time (PYX_FUZZ_SECONDS, 30 by default,
# so the five stay within about two and a half minutes) on seeds the library's own writers and the simulated
# reader produce. Any crash, leak, time-out or sanitizer report fails the run; the executions of each target
# are printed at the end.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v clang++ >/dev/null 2>&1; then
  echo "clang++ not found: fuzzing skipped"
  exit 0
fi

seconds=${PYX_FUZZ_SECONDS:-30}
build=build-fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DPYX_BUILD_FUZZERS=ON -DPYX_BUILD_TESTS=OFF -DPYX_BUILD_BENCH=OFF -DPYX_SANITIZE= \
  -DPYX_WARNINGS_AS_ERRORS=ON
cmake --build "$build" -j "${PYX_JOBS:-$(nproc)}" --target pyx_fuzzers

work="$build/run"
rm -rf "$work"
mkdir -p "$work"
"$build/fuzz/FuzzSeeds" "$work/seeds"

# The targets write each input to a file; a memory-backed folder keeps that fast.
inputs=$(mktemp -d "${PYX_FUZZ_TMP:-/dev/shm}/pyx-fuzz.XXXXXX" 2>/dev/null || mktemp -d)
trap 'rm -rf "$inputs"' EXIT
export TMPDIR="$inputs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

summary=()
for pair in HwgFileFuzzer:hwg BleHwgFileFuzzer:ble SmartCardIniFuzzer:ini ReaderConfigurationFuzzer:config \
  ReaderReplyFuzzer:replies; do
  target=${pair%%:*}
  seeds=${pair##*:}
  mkdir -p "$work/corpus-$seeds"
  echo "== fuzzing $target for ${seconds}s"
  "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/$target-" "$work/corpus-$seeds" "$work/seeds/$seeds" >"$work/$target.log" 2>&1 || {
    tail -n 60 "$work/$target.log"
    echo "$target: finding (input saved under $work)"
    exit 1
  }
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$target.log")
  summary+=("$target: $runs executions, no finding")
done
printf '%s\n' "${summary[@]}"
