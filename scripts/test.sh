#!/usr/bin/env bash
# Builds Harvestor and runs every test: the normal build, the build with
# AddressSanitizer and UndefinedBehaviorSanitizer, then the fuzz build, whose
# tests run each reader's fuzz target a fixed number of times from a fixed seed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --with-calc clang clang-format libclang-rt-14-dev
scripts/check-format.sh
for preset in default asan fuzz; do
  echo "== $preset build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
