#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, address and undefined-behaviour sanitizers) in their own
# build folder and runs each for a while on a scratch copy of its seed corpus, so the repository
# never gains corpus files. Exits non-zero when a target fails to build, crashes, leaks or hangs.
# Safe to run again. MONITOR_FUZZ_SECONDS sets the time per target (default 30).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${MONITOR_BUILD_DIR:-$root/build}-fuzz
seconds=${MONITOR_FUZZ_SECONDS:-30}
targets=(reader save)

for tool in clang clang++ cmake ninja; do
    if ! command -v "$tool" >/dev/null; then
        echo "fuzz.sh: $tool is missing; run scripts/install-packages.sh first." >&2
        exit 1
    fi
done
case $seconds in
'' | *[!0-9]*)
    echo "fuzz.sh: MONITOR_FUZZ_SECONDS must be a whole number of seconds." >&2
    exit 1
    ;;
esac

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DMONITOR_BUILD_FUZZERS=ON \
    -DBUILD_TESTING=OFF \
    -DMONITOR_BUILD_BENCHMARKS=OFF \
    -DMONITOR_SANITIZERS=address,undefined
cmake --build "$build" --target "${targets[@]/#/fuzz_}"

scratch=$(mktemp -d "${TMPDIR:-/tmp}/monitor-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
# Crashing inputs are kept in the build folder, where they outlive the scratch copy.
artifacts=$build/fuzz-artifacts
rm -rf "$artifacts"
mkdir -p "$artifacts"

# A smaller quarantine than ASan's 256 MB keeps long runs well under the RSS limit, and faster.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=64}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

failed=()
for target in "${targets[@]}"; do
    corpus=$scratch/$target
    mkdir -p "$corpus"
    cp "$root/fuzz/corpus/$target/"* "$corpus/"
    log=$build/fuzz_$target.log

    echo "fuzz_$target: running for $seconds s (log: $log)"
    status=0
    started=$(date +%s)
    "$build/fuzz/fuzz_$target" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -dict="$root/fuzz/monitor.dict" -print_final_stats=1 \
        -artifact_prefix="$artifacts/$target-" \
        "$corpus" >"$log" 2>&1 || status=$?
    elapsed=$(($(date +%s) - started))

    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    [ -n "$runs" ] || runs=$({ grep -o '^#[0-9]*' "$log" || true; } | tail -n 1 | tr -d '#')
    echo "fuzz_$target: ran $elapsed s, ${runs:-unknown} runs, exit status $status"
    if [ "$status" -ne 0 ]; then
        tail -n 80 "$log"
        failed+=("fuzz_$target")
    fi
done

if [ ${#failed[@]} -ne 0 ]; then
    echo "Fuzzing failed: ${failed[*]}; inputs kept in $artifacts" >&2
    exit 1
fi
echo "Fuzzing passed."
