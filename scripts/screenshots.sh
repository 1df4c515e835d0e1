#!/usr/bin/env bash
# Builds the desktop workstation and writes a PNG of each of its windows,
# drawn by the real widgets on the demo study: scripts/screenshots.sh OUTDIR.
# Windows are drawn on Qt's offscreen platform with the system's fonts
# (DejaVu), so no display is needed.
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:?usage: scripts/screenshots.sh OUTDIR}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target harvestor_command harvestor_desktop desktop_screenshots demo_tables
[ -f build/Demo/Demo.db ] || build/bin/harvestor demo >/dev/null
QT_QPA_PLATFORM=offscreen build/bin/desktop_screenshots build/Demo/Demo.db "$out"
