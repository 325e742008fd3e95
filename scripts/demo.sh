#!/usr/bin/env bash
# Installs what the build needs when it is missing, builds the library and the demo, and runs the demo
# against a simulated reader served on a pseudo-terminal: no hardware needed.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
cmake -S . -B build-demo -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPYX_BUILD_TESTS=OFF -DPYX_BUILD_BENCH=OFF
cmake --build build-demo --target pyxReaderDemo
exec build-demo/examples/pyxReaderDemo --simulate
