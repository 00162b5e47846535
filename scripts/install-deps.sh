#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need,
# and only those that are missing. Safe to run again; never asks anything.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-image-formats-plugins libgl-dev
    fonts-dejavu-core
)
# Testing adds clang with its libFuzzer and sanitizer runtimes (the fuzz
# targets) and valgrind (memcheck).
if [[ "${1:-}" == "--test" ]]; then
    packages+=(clang libclang-rt-14-dev valgrind)
fi
# Building and checking the Debian package (scripts/package.sh and
# scripts/test-package.sh); --test brings them too, so a test run can check it.
if [[ "${1:-}" == "--test" || "${1:-}" == "--package" ]]; then
    packages+=(dpkg-dev file gzip appstream desktop-file-utils groff-base)
fi
# Running the benchmarks (bench/run-benchmarks.sh): Google Benchmark, GNU time
# for peak memory, and numpy with Pillow for the reference script.
if [[ "${1:-}" == "--bench" ]]; then
    packages+=(libbenchmark-dev time python3 python3-numpy python3-pil)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

as_root=()
[[ $(id -u) -eq 0 ]] || as_root=(sudo)
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
