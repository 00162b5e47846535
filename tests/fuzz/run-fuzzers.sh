#!/usr/bin/env bash
# Runs fuzz targets for a given time each, one after the other, and prints
# how many inputs each one tried.
#
#   tests/fuzz/run-fuzzers.sh [seconds] [target...]
#
# seconds defaults to 30; targets default to all of them (imageload,
# shifttable, ordertext, ...: the names without "fuzz_"). The targets come
# from the fuzz preset's build (FUZZ_BUILD_DIR, default build/fuzz). Each run
# starts from the seed corpus in tests/fuzz/corpus/<target>; the inputs it
# finds worth keeping go to <build>/fuzz-corpus/<target>, and the input of
# a crash, leak, timeout or broken promise to <build>/fuzz-artifacts/. Exits
# non-zero if any target found one.
set -euo pipefail
cd "$(dirname "$0")/../.."

seconds=${1:-30}
shift || true
build=${FUZZ_BUILD_DIR:-build/fuzz}
targets=("$@")
if [[ ${#targets[@]} -eq 0 ]]; then
    for seeds in tests/fuzz/corpus/*/; do
        targets+=("$(basename "$seeds")")
    done
fi

export QT_QPA_PLATFORM=offscreen
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp"
export UBSAN_OPTIONS="print_stacktrace=1"
mkdir -p "$build/fuzz-artifacts" "$build/fuzz-logs"

failed=()
for target in "${targets[@]}"; do
    exe="$build/tests/fuzz/fuzz_$target"
    seeds="tests/fuzz/corpus/$target"
    if [[ ! -x "$exe" || ! -d "$seeds" ]]; then
        echo "fuzz_$target: no such target (build the fuzz preset first)" >&2
        failed+=("$target")
        continue
    fi
    found="$build/fuzz-corpus/$target"
    log="$build/fuzz-logs/$target.log"
    mkdir -p "$found"
    # Timeouts and memory are generous: the machine may be shared, and a
    # picture at the size limit legitimately takes a few hundred megabytes.
    if "$exe" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=3072 \
        -print_final_stats=1 -artifact_prefix="$build/fuzz-artifacts/$target-" \
        "$found" "$seeds" >"$log" 2>&1; then
        status=ok
    else
        status=FAILED
        failed+=("$target")
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    corpus=$(find "$found" -type f | wc -l)
    printf 'fuzz_%-12s %-6s %12s executions in %ss, %s inputs found\n' \
        "$target" "$status" "${runs:-?}" "$seconds" "$corpus"
    if [[ $status != ok ]]; then
        grep -E 'ERROR|SUMMARY|runtime error|broken promise|Test unit written' "$log" | head -n 20 >&2
        echo "full log: $log" >&2
    fi
done

if [[ ${#failed[@]} -ne 0 ]]; then
    echo "fuzzing found problems in: ${failed[*]}" >&2
    exit 1
fi
