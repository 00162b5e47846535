#!/usr/bin/env bash
# Remakes docs/images/window.png and docs/images/before-after.png from an
# example, with the real window under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
missing=()
for p in xvfb xauth; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [[ ${#missing[@]} -gt 0 ]]; then
    as_root=()
    [[ $(id -u) -eq 0 ]] || as_root=(sudo)
    "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake --preset release >/dev/null
cmake --build --preset release --target rowshift-screenshots
mkdir -p docs/images
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" \
    build/release/tools/rowshift-screenshots \
    examples/parabola-24bit.bmp examples/parabola-24bit.points docs/images
echo "written: docs/images/window.png docs/images/before-after.png"
