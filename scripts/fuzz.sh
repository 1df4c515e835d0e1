#!/usr/bin/env bash
# Runs one fuzz target for longer than the test command does.
# Usage: scripts/fuzz.sh TARGET [SECONDS]   (TARGET: tsv_table, native_result,
# locus_list or file_name; SECONDS defaults to 600). The inputs it finds are
# kept in build-fuzz/corpus/TARGET for the next run; a crashing input is
# written to build-fuzz/fuzz-findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?usage: scripts/fuzz.sh TARGET [SECONDS]}
seconds=${2:-600}
[ -d "tests/fuzz/$target" ] || { echo "no fuzz target '$target'" >&2; exit 2; }
scripts/setup.sh clang libclang-rt-14-dev
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "fuzz_$target"
mkdir -p "build-fuzz/corpus/$target" build-fuzz/fuzz-findings
exec "build-fuzz/bin/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
  -artifact_prefix="build-fuzz/fuzz-findings/$target-" "build-fuzz/corpus/$target" "tests/fuzz/$target"
