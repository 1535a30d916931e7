#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite (the tests
# start and stop their own private MariaDB instance in the build tree).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# Includes against the order of the layers fail before anything is built.
scripts/check-includes.py
# So is a file that is not in the form .clang-format gives it.
scripts/check-format.sh
# Warnings fail the build here, so none reaches the main line.
KELDA_WERROR=ON scripts/build.sh
ctest --test-dir "${KELDA_BUILD_DIR:-build}" -j "${KELDA_JOBS:-$(nproc)}" --output-on-failure
