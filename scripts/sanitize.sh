#!/usr/bin/env bash
# Builds the tree with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-sanitize/ and runs the window tests under them: every test registered
# with WIDGETS (label "widgets": the window and widget tests, the user paths,
# the command sweep, the data paths, the report guard). A ctest -R pattern
# given as $1 runs those tests instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
build=${KELDA_SANITIZE_DIR:-build-sanitize}
jobs=${KELDA_JOBS:-$(nproc)}
if [ ! -f "$build/build.ninja" ]; then
    # Unoptimised with line tables only: the instrumented compile is the slow
    # part (about half the time of -O2 -g), the run is spent in Qt and the
    # server, and a report still names file and line.
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELDA_SANITIZE=ON \
        "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O0 -g1 -DNDEBUG" \
        "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O0 -g1 -DNDEBUG"
else
    # Picks up tests added since the tree was configured.
    cmake "$build" >/dev/null
fi
if [ $# -gt 0 ]; then
    select=(-R "$1")
else
    select=(-L widgets)
fi
# Only the selected test programs and the fixtures they need are built (each
# test is named after its program; the server fixture is a script): an
# instrumented build of the whole tree, benchmarks included, takes far longer
# than the run.
mapfile -t targets < <(ctest --test-dir "$build" -N "${select[@]}" 2>/dev/null |
    sed -n 's/^ *Test *#[0-9]*: //p' | grep -v '^mariadb_')
if [ ${#targets[@]} -eq 0 ]; then
    echo "No test matches ${select[*]}" >&2
    exit 1
fi
cmake --build "$build" -j "$jobs" --target "${targets[@]}"
# Qt and the system libraries keep objects alive until exit by design; leaks
# are not what this build looks for.
# Debian's Qt WebEngine (its Chromium) frees its own objects by a smaller
# type in teardown; that mismatch is theirs and would stop every report
# window's test before it reaches our code.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1:new_delete_type_mismatch=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --test-dir "$build" "${select[@]}" -j "$jobs" --output-on-failure
