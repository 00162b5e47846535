#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every
# test: once in a debug build, once under AddressSanitizer and
# UndefinedBehaviorSanitizer with leak detection. Then the main-road test
# under valgrind's memcheck, and a short run of every fuzz target
# (FUZZ_SECONDS each, default 30) so that they keep working; last, the Debian
# package is built, unpacked and checked.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test

for preset in debug asan; do
    echo "== $preset build =="
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    ctest --preset "$preset"
done

echo "== memcheck: main road =="
scripts/memcheck.sh build/debug >build/debug/memcheck.log 2>&1 ||
    { tail -n 60 build/debug/memcheck.log; exit 1; }
grep -E 'ERROR SUMMARY|definitely lost' build/debug/memcheck.log

echo "== fuzz build =="
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
tests/fuzz/run-fuzzers.sh "${FUZZ_SECONDS:-30}"

echo "== Debian package =="
scripts/test-package.sh
