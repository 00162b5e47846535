#!/usr/bin/env bash
# Runs every benchmark in a release build and writes docs/performance.md:
# each figure beside its reference, all measured in this one run.
#
#   bench/run-benchmarks.sh            # 200 frames for the batch
#   FRAMES=50 bench/run-benchmarks.sh  # a quicker batch
#
# Installs what is missing first (scripts/install-deps.sh --bench). Works in
# build/release/bench-run, which it empties first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --bench

frames=${FRAMES:-200}
python=/usr/bin/python3 # Debian's own, which python3-numpy and python3-pil serve
build=build/release
work=$build/bench-run

cmake --preset release >/dev/null
cmake --build --preset release
for b in bench_imageops bench_fit bench_window bench_startup bench_mainroad bench_bare_window \
    bench_text_window; do
    [[ -x $build/bench/$b ]] || { echo "missing $build/bench/$b (is libbenchmark-dev installed?)" >&2; exit 1; }
done

rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd)
log=$work/stderr.log
export QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=1 LC_ALL=C.UTF-8
if [[ -z ${XDG_RUNTIME_DIR:-} ]]; then
    export XDG_RUNTIME_DIR=$work/runtime
    mkdir -m 700 "$XDG_RUNTIME_DIR"
fi

{
    echo "cpu=$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
    echo "cores=$(nproc)"
    echo "os=$(. /etc/os-release && echo "$PRETTY_NAME"), Linux $(uname -r)"
    echo "date=$(date -u '+%Y-%m-%d %H:%M UTC')"
    echo "load=$(cut -d' ' -f1-3 /proc/loadavg)"
    echo "compiler=$(c++ --version | head -1)"
    echo "qt=$(qtpaths6 --qt-version 2>/dev/null || echo 6)"
    echo "frames=$frames"
} >"$work/machine.txt"

echo "== Google Benchmark suites =="
for suite in imageops fit window; do
    echo "bench_$suite"
    "$build/bench/bench_$suite" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
        --benchmark_out="$work/$suite.json" --benchmark_out_format=json >/dev/null 2>>"$log"
done

echo "== Start-up to the first painted window =="
timer=("$python" bench/time_processes.py)
"${timer[@]}" "$work/startup.json" 30 3 \
    "startup=$build/bench/bench_startup" \
    "bare=$build/bench/bench_bare_window" \
    "text=$build/bench/bench_text_window"

echo "== Peak memory =="
example=examples/parabola-24bit.bmp
for run in 1 2 3 4 5; do
    for name in mainroad startup bare text; do
        case $name in
        mainroad) command=("$build/bench/bench_mainroad" "$example") ;;
        startup) command=("$build/bench/bench_startup") ;;
        bare) command=("$build/bench/bench_bare_window") ;;
        text) command=("$build/bench/bench_text_window") ;;
        esac
        /usr/bin/time -f "$name %M" -a -o "$work/memory.txt" "${command[@]}" 2>>"$log"
    done
done
cat "$work/memory.txt"

outputs_differ=0
cli=$build/src/cli/rowshift-cli
if [[ -x $cli ]]; then
    echo "== Batch: $frames BMP files =="
    mkdir "$work/frames"
    "$python" bench/make_frames.py "$frames" "$work/frames"
    table=$work/parabola.table
    "$cli" fit --points examples/parabola-24bit.points -o "$table"
    # rowshift-cli syncs every file it writes before it counts it as done;
    # cp followed by sync --data of the copies is the limit for that. numpy
    # runs without the machine's OpenBLAS tuning, which slows it down.
    "${timer[@]}" "$work/batch.json" 5 1 \
        "ours:rm -rf '$work/out-ours' && mkdir '$work/out-ours'=$cli apply --table '$table' -o '$work/out-ours' '$work'/frames/*.bmp" \
        "cp:rm -rf '$work/out-cp' && mkdir '$work/out-cp'=cp '$work'/frames/*.bmp '$work/out-cp/'" \
        "cp+sync:rm -rf '$work/out-cp' && mkdir '$work/out-cp'=cp '$work'/frames/*.bmp '$work/out-cp/' && sync --data '$work'/out-cp/*.bmp" \
        "numpy:rm -rf '$work/out-numpy' && mkdir '$work/out-numpy'=env -u OPENBLAS_CORETYPE -u OPENBLAS_L2_SIZE $python bench/numpy_apply.py '$table' '$work/out-numpy' '$work'/frames/*.bmp"
    "$python" bench/compare_outputs.py "$work/out-ours" "$work/out-numpy" "$frames" \
        >"$work/batch-check.txt" || outputs_differ=1
    cat "$work/batch-check.txt"
else
    echo "== Batch: skipped, $cli is not built =="
fi

"$python" bench/write_report.py "$work" docs/performance.md
echo "Wrote docs/performance.md"
if ((outputs_differ)); then
    echo "rowshift-cli and the numpy script disagree: see docs/performance.md" >&2
    exit 1
fi
