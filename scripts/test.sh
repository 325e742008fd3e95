#!/usr/bin/env bash
# Installs what the build and the tests need when it is missing, builds, and runs every test: once plainly,
# once under AddressSanitizer with UndefinedBehaviorSanitizer, and the threaded tests once more under
# ThreadSanitizer; builds the Release configuration (library, tests and benchmarks, nothing run); then, with
# clang, runs the fuzz targets for a bounded time each (scripts/fuzz.sh). Warnings are errors throughout.
#
# Each stage has a build folder of its own, configured with every option it relies on, so a folder that a
# user configured differently (build/, say) never changes what is tested. Build progress goes to a log
# beside the build and is shown (its tail) only when the build fails. A stage that finds no test fails.
# The run ends with a summary of the stages and, alone on the last line, "<N> passed, <N> failed": the
# tests of every stage, each fuzz target counting as one and a build that fails as one failure.
set -uo pipefail
cd "$(dirname "$0")/.."

jobs=${PYX_JOBS:-$(nproc)}
summary=()
total_passed=0
total_failed=0

Finish() {
  echo
  echo "== summary"
  printf '%-28s %-24s %-7s %7s\n' stage tests result time
  printf '%s\n' "${summary[@]}"
  echo "$total_passed passed, $total_failed failed"
  if [ "$total_failed" -ne 0 ]; then
    exit 1
  fi
  exit 0
}

# Stage(name, count text, outcome, seconds): one line of the summary.
Stage() {
  summary+=("$(printf '%-28s %-24s %-7s %4dm%02ds' "$1" "$2" "$3" $(($4 / 60)) $(($4 % 60)))")
}

# Configure and build a folder, the output kept in <folder>/build.log; prints its tail when it fails.
Build() {
  local folder=$1 target=$2
  shift 2
  mkdir -p "$folder"
  if ! { cmake -S . -B "$folder" -G Ninja -DPYX_WARNINGS_AS_ERRORS=ON -DPYX_BUILD_FUZZERS=OFF "$@" &&
    cmake --build "$folder" -j "$jobs" --target "$target"; } >"$folder/build.log" 2>&1; then
    tail -n 60 "$folder/build.log"
    echo "build of $folder failed; the whole log is $folder/build.log"
    return 1
  fi
}

# TestStage(name, folder, target, ctest arguments, -- cmake arguments): builds and runs one stage.
TestStage() {
  local name=$1 folder=$2 target=$3 ctest_args=$4
  shift 5
  local start=$SECONDS
  echo "== $name"
  if ! Build "$folder" "$target" "$@"; then
    Stage "$name" "build failed" failed $((SECONDS - start))
    total_failed=$((total_failed + 1))
    Finish
  fi
  local log="$folder/ctest.log" status
  # shellcheck disable=SC2086 # the ctest arguments are words on purpose
  ctest --test-dir "$folder" --output-on-failure --no-tests=error -j "$jobs" $ctest_args 2>&1 | tee "$log"
  status=${PIPESTATUS[0]}
  local line count=0 failed=0
  line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -n "$line" ]; then
    count=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
    failed=$(sed -E 's/^[0-9]+% tests passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
  fi
  if [ "$status" -ne 0 ] && [ "$failed" -eq 0 ]; then
    # No test found, or ctest itself failed.
    failed=1
  fi
  total_passed=$((total_passed + count - (failed > count ? count : failed)))
  total_failed=$((total_failed + failed))
  if [ "$status" -ne 0 ]; then
    Stage "$name" "$count tests" failed $((SECONDS - start))
    Finish
  fi
  Stage "$name" "$count tests" passed $((SECONDS - start))
}

echo "== dependencies"
if ! bash scripts/deps.sh --tests; then
  summary+=("dependencies: could not be installed")
  total_failed=$((total_failed + 1))
  Finish
fi

TestStage "plain" build-tests all "" -- \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPYX_SANITIZE= -DPYX_BUILD_TESTS=ON -DPYX_BUILD_BENCH=ON

TestStage "AddressSanitizer+UBSan" build-asan all "" -- \
  -DCMAKE_BUILD_TYPE=Debug -DPYX_SANITIZE=address,undefined -DPYX_BUILD_TESTS=ON -DPYX_BUILD_BENCH=OFF

TestStage "ThreadSanitizer (threaded)" build-tsan pyx_threaded_tests "-L threaded" -- \
  -DCMAKE_BUILD_TYPE=Debug -DPYX_SANITIZE=thread -DPYX_BUILD_TESTS=ON -DPYX_BUILD_BENCH=OFF

# The configuration the README's benchmark command builds: it must compile without a warning too.
echo "== Release build"
start=$SECONDS
if Build build-release all -DCMAKE_BUILD_TYPE=Release -DPYX_SANITIZE= -DPYX_BUILD_TESTS=ON -DPYX_BUILD_BENCH=ON; then
  Stage "Release build" "built, none run" passed $((SECONDS - start))
else
  Stage "Release build" "build failed" failed $((SECONDS - start))
  total_failed=$((total_failed + 1))
  Finish
fi

echo "== fuzzing (clang, libFuzzer)"
start=$SECONDS
if ! command -v clang++ >/dev/null 2>&1; then
  Stage "fuzzing" "skipped: no clang++" passed 0
else
  mkdir -p build-fuzz
  fuzz_log=build-fuzz/fuzz.log
  if bash scripts/fuzz.sh >"$fuzz_log" 2>&1; then
    results=$(grep -E '^[A-Za-z]+: [0-9]+ executions, no finding$' "$fuzz_log")
    printf '%s\n' "$results"
    targets=$(grep -c . <<<"$results")
    executions=$(awk '{ sum += $2 } END { print sum + 0 }' <<<"$results")
    if [ "$targets" -gt 0 ]; then
      total_passed=$((total_passed + targets))
      Stage "fuzzing ($targets targets)" "$executions executions" passed $((SECONDS - start))
    else
      echo "fuzzing ran no target; the whole log is $fuzz_log"
      total_failed=$((total_failed + 1))
      Stage "fuzzing" "no target run" failed $((SECONDS - start))
    fi
  else
    tail -n 80 "$fuzz_log"
    echo "fuzzing failed; the whole log is $fuzz_log"
    total_failed=$((total_failed + 1))
    Stage "fuzzing" "finding or build failure" failed $((SECONDS - start))
  fi
fi

Finish
