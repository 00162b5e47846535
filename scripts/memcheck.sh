#!/usr/bin/env bash
# Runs the main-road test (load, drag, fit, correct, save) under valgrind's
# memcheck: any invalid read or write, use of uninitialised memory, bad free
# or definite leak fails the run. It needs no suppressions; should a Qt or
# fontconfig update bring reports of its own, suppress them narrowly in a
# file beside this script, each with the reason.
#
#   scripts/memcheck.sh [build-dir]     (default build/debug, already built)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/debug}
test_binary="$build/tests/tst_mainroad"
[[ -x "$test_binary" ]] || { echo "no $test_binary: build the debug preset first" >&2; exit 1; }

export QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=1 QT_ENABLE_HIGHDPI_SCALING=0 LC_ALL=C.UTF-8
valgrind --tool=memcheck --error-exitcode=1 --track-origins=yes \
    --leak-check=full --show-leak-kinds=definite,indirect --errors-for-leak-kinds=definite,indirect \
    --num-callers=30 "$test_binary"
