#!/usr/bin/env bash
# Builds Harvestor and runs the demo: the demo study exported in every format
# into build/Export.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --with-calc
cmake --preset default >/dev/null
cmake --build --preset default --target harvestor_command demo_tables
build/bin/harvestor demo
