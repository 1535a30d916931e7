#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy) over the compile commands of a built tree:
# the whole tree, or the files matching the regular expression given as $1.
# A build with precompiled headers made by GCC (-DKELDA_PCH=ON) force-includes
# them, and clang cannot read them, so the commands are handed to clang-tidy
# without them: each file is then read with exactly the headers it includes.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${KELDA_BUILD_DIR:-build}
mkdir -p "$build/tidy"
sed -E 's# -include [^ ]*/cmake_pch\.hxx##g' "$build/compile_commands.json" \
    >"$build/tidy/compile_commands.json"
run-clang-tidy-14 -p "$build/tidy" -quiet "$@"
