#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running need, and
# only those that are missing (a second run does nothing).
set -euo pipefail

packages=(
    cmake ninja-build g++ lld pkg-config ccache python3 clang-format-14
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-translations-l10n libgl-dev fonts-dejavu-core
    libmariadb-dev mariadb-server mariadb-client
    zlib1g-dev libxlsxwriter-dev
    # the report pane; a real browser reads saved pages in the tests and the bench
    qt6-webengine-dev qt6-pdf-dev chromium
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" = 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
# The server package must not start a system-wide instance of its own where
# no init system runs; ours is private (scripts/mariadb-private.sh).
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
