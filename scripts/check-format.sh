#!/usr/bin/env bash
# Fails when a tracked C++ file is not in the form that .clang-format gives
# it, naming the file and the lines. Mend with: clang-format-14 -i FILE...
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' |
    xargs -0 -n 64 -P "$(nproc)" clang-format-14 --dry-run --Werror
