#!/usr/bin/env bash
# Runs a fuzz target over its seed corpus without ever writing to it: the
# inputs it finds go to a fresh temporary folder, removed afterwards.
# Usage: run_target.sh TARGET SEED_FOLDER [libFuzzer options...]
set -euo pipefail
target=$1 seeds=$2
shift 2
found=$(mktemp -d "${TMPDIR:-/tmp}/.harvestor-fuzz-corpus-XXXXXX")
trap 'rm -rf "$found"' EXIT
"$target" "$@" "$found" "$seeds"
