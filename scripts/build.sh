#!/usr/bin/env bash
# Configures (once) and builds the tree in build/ with Ninja.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${KELDA_BUILD_DIR:-build}
if [ ! -f "$build/build.ninja" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
fi
cmake --build "$build" -j "${KELDA_JOBS:-$(nproc)}"
