#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every
# test: once in a debug build, once under AddressSanitizer and
# UndefinedBehaviorSanitizer with leak detection.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test

for preset in debug asan; do
    echo "== $preset build =="
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    ctest --preset "$preset"
done
