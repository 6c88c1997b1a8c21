#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ (or $BUILD_DIR) and
# runs each for a bounded time (FUZZ_SECONDS, 20 by default), starting from the
# seed corpus in fuzz/corpus/<target>/. New inputs go to the build tree, never
# into the committed seeds. A crash leaves its input in build-fuzz/crashes/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
build=${BUILD_DIR:-build-fuzz}
seconds=${FUZZ_SECONDS:-20}

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAMSAVIK_FUZZ=ON -DTAMSAVIK_WERROR=ON >/dev/null
cmake --build "$build"

mkdir -p "$build/crashes"
for target in fuzz_text fuzz_evaluate fuzz_plist; do
    work="$build/corpus/$target"
    mkdir -p "$work"
    log="$build/$target.log"
    echo "== $target (${seconds}s)"
    status=0
    "$build/bin/$target" "$work" "fuzz/corpus/$target" \
        -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$build/crashes/$target-" -print_final_stats=1 >"$log" 2>&1 ||
        status=$?
    if ((status != 0)); then
        tail -n 60 "$log" >&2
        echo "$target failed (status $status); its input is in $build/crashes/" >&2
        exit "$status"
    fi
    grep -E '^stat::(number_of_executed_units|peak_rss_mb)' "$log" || true
done
