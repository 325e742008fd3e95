#!/usr/bin/env bash
# Installs what the build needs when it is missing, builds, and runs every test: once plainly, once under
# AddressSanitizer with UndefinedBehaviorSanitizer, and the threaded tests once more under ThreadSanitizer;
# then, with clang, the fuzz targets for a bounded time each (scripts/fuzz.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh

jobs=$(nproc)

echo "== plain build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== AddressSanitizer + UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPYX_SANITIZE=address,undefined -DPYX_BUILD_BENCH=OFF
cmake --build build-asan -j "$jobs"
ctest --test-dir build-asan --output-on-failure -j "$jobs"

if [ -n "$(ctest --test-dir build -N -L threaded | grep -E '^ *Test +#')" ]; then
  echo "== ThreadSanitizer (threaded tests)"
  cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPYX_SANITIZE=thread -DPYX_BUILD_BENCH=OFF
  cmake --build build-tsan -j "$jobs" --target pyx_threaded_tests
  ctest --test-dir build-tsan --output-on-failure -j "$jobs" -L threaded
fi

if command -v clang++ >/dev/null 2>&1; then
  echo "== fuzzing (clang, libFuzzer)"
  bash scripts/fuzz.sh
fi
