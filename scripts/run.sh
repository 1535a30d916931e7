#!/usr/bin/env bash
# Installs what is missing, builds, and starts Kelda2. Without a configured
# server (KELDA2_SERVER or KELDA2_SOCKET in the environment) the program gets a
# private MariaDB instance of its own in ~/.local/share/Kelda2/mariadb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
if [ -z "${KELDA2_SERVER:-}" ] && [ -z "${KELDA2_SOCKET:-}" ]; then
    data=${XDG_DATA_HOME:-$HOME/.local/share}/Kelda2/mariadb
    KELDA2_SOCKET=$(scripts/mariadb-private.sh start "$data")
    export KELDA2_SOCKET
fi
exec "${KELDA_BUILD_DIR:-build}/bin/Kelda2" "$@"
