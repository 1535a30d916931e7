#!/usr/bin/env bash
# Builds the tree with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-sanitize/ and runs the window tests, the user paths and the command
# sweep under them (or the tests named by a ctest -R pattern given as $1).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
build=${KELDA_SANITIZE_DIR:-build-sanitize}
if [ ! -f "$build/build.ninja" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELDA_SANITIZE=ON
fi
cmake --build "$build" -j "${KELDA_JOBS:-$(nproc)}"
# Qt and the system libraries keep objects alive until exit by design; leaks
# are not what this build looks for.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
pattern=${1:-'widget|window|view|form|card|journal|paths|sweep|commands|shell|startup'}
ctest --test-dir "$build" -R "$pattern" -j "${KELDA_JOBS:-$(nproc)}" --output-on-failure
