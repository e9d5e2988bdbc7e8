#!/usr/bin/env bash
# Installs whatever of the named lists in tools/ is missing (tools/debian-packages.txt when
# none is named), unattended; quick when nothing is.
#   tools/install-deps.sh [list.txt ...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
lists=("$@")
[ ${#lists[@]} -gt 0 ] || lists=(debian-packages.txt)
mapfile -t wanted < <(cat "${lists[@]/#/$here/}" | grep -vE '^\s*(#|$)')
missing=()
for pkg in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true)
  [ "$status" = installed ] || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
echo "Installing: ${missing[*]}"
# The package lists are refreshed first: on a fresh machine they may be empty or old.
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
