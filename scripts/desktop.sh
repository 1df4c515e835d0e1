#!/usr/bin/env bash
# Builds Harvestor and starts the desktop workstation on the demo study
# (built first by 'harvestor demo' when it is missing). Needs a display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --with-calc
cmake --preset default >/dev/null
cmake --build --preset default --target harvestor_command harvestor_desktop demo_tables loh_template
# Calc runs the LOH workbook's own script only from a trusted location.
python3 scripts/trust-loh-templates.py build/ReportTemplates
[ -f build/Demo/Demo.db ] || build/bin/harvestor demo >/dev/null
exec build/bin/harvestor-desktop build/Demo/Demo.db
