#!/usr/bin/env bash
# Configures (once) and builds the tree in build/ with Ninja. A new build
# shows compiler warnings and goes on; KELDA_WERROR=ON (the test command sets
# it) makes them errors, and the build folder keeps that until KELDA_WERROR
# says otherwise, so switching between the two commands rebuilds nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${KELDA_BUILD_DIR:-build}
if [ ! -f "$build/build.ninja" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DKELDA_WERROR="${KELDA_WERROR:-OFF}" "$@"
elif [ -n "${KELDA_WERROR:-}" ] &&
    ! grep -qx "KELDA_WERROR:BOOL=$KELDA_WERROR" "$build/CMakeCache.txt"; then
    cmake -S . -B "$build" -DKELDA_WERROR="$KELDA_WERROR"
fi
cmake --build "$build" -j "${KELDA_JOBS:-$(nproc)}"
