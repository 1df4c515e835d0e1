#!/usr/bin/env bash
# Installs the Debian packages Harvestor needs to build and test, when any is missing.
set -euo pipefail
packages=(cmake make g++ pkg-config libgtest-dev libcli11-dev libgmock-dev libsqlite3-dev sqlite3 zlib1g-dev libpq-dev postgresql-15 python3 libreoffice-calc
  python3-uno libreoffice-script-provider-python
  qt6-base-dev qt6-qpa-plugins xvfb xauth fonts-dejavu-core)
packages+=("$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
