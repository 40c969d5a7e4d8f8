#!/usr/bin/env bash
# Installs the Debian packages that cmake/deps.cmake lists on its "# apt:" lines, and the
# German locale the number-format test needs. Does nothing when everything is there.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
mapfile -t pkgs < <(sed -n 's/^# apt: *//p' "$root/cmake/deps.cmake" | tr ' ' '\n' | sed '/^$/d')

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get -o DPkg::Lock::Timeout=300 update -q
  $sudo apt-get -o DPkg::Lock::Timeout=300 install -y -q --no-install-recommends "${missing[@]}"
fi

# npm comes with some builds of nodejs and is a package of its own in Debian's.
if ! command -v npm >/dev/null 2>&1; then
  echo "Installing: npm"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get -o DPkg::Lock::Timeout=300 install -y -q --no-install-recommends npm
fi
# SheetJS, pinned by tests/package-lock.json.
if [ ! -d "$root/tests/node_modules/xlsx" ]; then
  echo "Installing the test tools of tests/package.json"
  (cd "$root/tests" && npm ci --no-audit --no-fund)
fi

if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  echo "Making the locale de_DE.UTF-8"
  $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
