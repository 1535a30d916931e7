#!/usr/bin/env bash
# Pictures of the program's windows, for a look by eye: PNG files in the given
# folder (default build/pictures), taken offscreen on a small generated
# database in a private MariaDB instance in build/pictures-db, with settings
# and configuration in a temporary folder (the user's own stay untouched).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
build=${KELDA_BUILD_DIR:-build}
out=${1:-$build/pictures}
db=$build/pictures-db
config=$(mktemp -d)
sock=$(scripts/mariadb-private.sh start "$db")
trap 'scripts/mariadb-private.sh stop "$db"; rm -rf "$config"' EXIT
unset KELDA2_SERVER
KELDA2_SOCKET=$sock "$build/bin/kelda_datagen" --database app_kelda --recreate --points 5 \
    --clients 300 --years 1 --visits 5000 --history 3
KELDA2_SOCKET=$sock XDG_CONFIG_HOME=$config QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} \
    "$build/bin/kelda2_window_pictures" "$out"
