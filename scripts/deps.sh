#!/usr/bin/env bash
# Installs the Debian packages that are missing: those that building the library and the demo needs, and with
# --tests also those that the tests, the benchmarks and fuzzing add.
#
#   bash scripts/deps.sh            the library, the demo and its simulated reader
#   bash scripts/deps.sh --tests    the same, and GoogleTest, Google Benchmark, umockdev, clang, setpriv
set -euo pipefail

build_packages=(cmake ninja-build g++ pkg-config libspdlog-dev libfmt-dev libhidapi-dev libudev-dev)
test_packages=(util-linux libgtest-dev libgmock-dev libbenchmark-dev umockdev libumockdev-dev clang
               libclang-rt-dev)

packages=("${build_packages[@]}")
case "${1:-}" in
  "") ;;
  --tests) packages+=("${test_packages[@]}") ;;
  *)
    echo "usage: $0 [--tests]" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y --no-install-recommends "${missing[@]}"
fi
