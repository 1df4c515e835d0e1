#!/usr/bin/env bash
# Writes a PNG of the LOH workbook's sheet Results as Calc shows it on the
# demo study: scripts/loh-picture.sh OUTPUT.png. Needs LibreOffice with its
# Python bridge and pdftoppm (poppler-utils); no display.
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:?usage: scripts/loh-picture.sh OUTPUT.png}"
scripts/setup.sh --with-calc poppler-utils
cmake --preset default >/dev/null
cmake --build --preset default --target harvestor_command demo_tables loh_template
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# A workstation of its own, so that the build's Export folder is left as it is.
mkdir -p "$work/App/bin" "$work/App/Export" "$work/App/ReportTemplates"
cp build/ReportTemplates/LOH.xls "$work/App/ReportTemplates/"
HARVESTOR_COMPONENT_DIR="$work/App/bin" build/bin/harvestor demo >/dev/null
/usr/bin/python3 scripts/trust-loh-templates.py "$work/App/ReportTemplates" \
  --profile "$work/profile" >/dev/null
/usr/bin/python3 tests/spreadsheet/open_workbook.py "$work/profile" \
  "$work/App/ReportTemplates/LOH.xls" --only Summary \
  --picture "Results.A1:K27=$work/results.pdf" >/dev/null
pdftoppm -png -r 100 -x 60 -y 70 -W 1000 -H 320 -singlefile "$work/results.pdf" "$work/results"
mv "$work/results.png" "$out"
echo "Wrote $out"
