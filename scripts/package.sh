#!/usr/bin/env bash
# Installs what is missing, builds a release build of its own in
# build/package and makes the Debian package there
# (build/package/rowshift_VERSION_ARCH.deb). Install it with
#   sudo apt install ./build/package/rowshift_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --package

build=build/package
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DROWSHIFT_BUILD_TESTS=OFF -DROWSHIFT_WERROR=ON >/dev/null
cmake --build "$build" --parallel 2
# Only the package of this build may be left, so the next step finds it.
rm -f "$build"/rowshift_*.deb
(cd "$build" && cpack -G DEB 2>&1)
