#!/usr/bin/env bash
# Installs the Debian 12 packages Harvestor needs to build and test, when any
# is missing: scripts/setup.sh [--with-calc] [PACKAGE...]
#
# --with-calc adds LibreOffice Calc with its Python bridge, which only the LOH
# workbook's tests, the demo and the desktop's LOH Analysis need. Further
# arguments are extra packages. It says what it installs before installing;
# run as another user than root it installs through sudo, or, without sudo,
# names the missing packages and stops with status 1.
set -euo pipefail

packages=(cmake make g++ pkg-config libgtest-dev libcli11-dev libgmock-dev libsqlite3-dev sqlite3
  zlib1g-dev libpq-dev postgresql-15 python3 groff-base
  qt6-base-dev qt6-qpa-plugins xvfb xauth fonts-dejavu-core)
calc=(libreoffice-calc python3-uno libreoffice-script-provider-python)
for arg in "$@"; do
  case "$arg" in
    --with-calc) packages+=("${calc[@]}") ;;
    -*)
      echo "usage: scripts/setup.sh [--with-calc] [PACKAGE...]" >&2
      exit 2
      ;;
    *) packages+=("$arg") ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    {
      echo "setup.sh: these packages are missing: ${missing[*]}"
      echo "setup.sh: installing them needs root, and sudo is not installed; as root run:"
      echo "  apt-get update && apt-get install --no-install-recommends ${missing[*]}"
    } >&2
    exit 1
  fi
  as_root=(sudo)
fi
echo "Installing${as_root:+ through sudo}: ${missing[*]}"
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
