#!/usr/bin/env python3
"""Fails when a source file includes a header of a layer above its own.

The layers, lowest first, are those of docs/ARCHITECTURE.md: a file may include
headers of its own layer and of the layers below. Tests and benchmarks stand
on top of everything and are not checked.
"""
import os
import re
import sys

LAYERS = [
    "loader",
    "expr",
    "framework/core",
    "framework/widgets",
    "base",
    "db",
    "model",
    "diary",
    "clients",
    "reports",
    "exchange",
    "app",
]
# Headers without Qt and without a library of their own, which the archive
# reader and the expression runtime share with the framework below which they
# otherwise stand.
SHARED_LEAVES = {"framework/core/checksum.h", "framework/core/text/cp1251.h"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def layer_of(path):
    for rank, layer in enumerate(LAYERS):
        if path.startswith(layer + "/"):
            return rank
    return None


def exempt(path):
    parts = path.split("/")
    return "tests" in parts or "fuzz" in parts


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    faults = []
    for layer in LAYERS:
        for folder, _, files in os.walk(os.path.join(root, layer)):
            for name in files:
                if not name.endswith((".cpp", ".h")):
                    continue
                path = os.path.relpath(os.path.join(folder, name), root)
                if exempt(path):
                    continue
                own = layer_of(path)
                with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
                    text = f.read()
                for included in INCLUDE.findall(text):
                    if included in SHARED_LEAVES:
                        continue
                    rank = layer_of(included)
                    if rank is not None and rank > own:
                        faults.append(f"{path}: includes {included} ({LAYERS[rank]} is above "
                                      f"{LAYERS[own]})")
    for fault in sorted(faults):
        print(fault)
    if faults:
        print(f"{len(faults)} include(s) against the order of the layers", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
