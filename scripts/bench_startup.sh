#!/usr/bin/env bash
# Start-up benchmark, run by hand (not by CI).
#
# Builds Tamsavik (Release, with the repository's CMake) and, beside it, a
# minimal Qt Widgets program showing a window like Tamsavik's first one
# (bench/startup/minimal_window.cpp). Then, on a private Xvfb display with no
# window manager, starts the two alternately, RUNS times each, and measures
#   - the time from launch to the first window mapped on the display,
#   - the peak resident memory half a second after that,
# and reports the medians and the ratio Tamsavik/minimal (the goal: 1.25 at
# most on both). Last, times a press on the Compute picture until the result
# is set, in-process on the offscreen platform (the goal: under 1 ms).
#
#   scripts/bench_startup.sh            RUNS=20 by default
#   RUNS=50 BUILD_DIR=build-rel scripts/bench_startup.sh
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${RUNS:-20}
build=${BUILD_DIR:-build-startup-bench}
out=$build/startup-bench
mkdir -p "$out"

for tool in Xvfb cmake ninja; do
    command -v "$tool" >/dev/null || {
        echo "bench_startup: $tool is missing (scripts/deps.sh installs it)" >&2
        exit 1
    }
done

echo "Building (Release) into $build ..."
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAMSAVIK_TESTS=OFF \
    -DTAMSAVIK_BENCH=ON >/dev/null
cmake --build "$build" --target tamsavik minimal_window map_waiter compute_click_bench >/dev/null
bin=$build/bin

# A private display; Xvfb picks a free number and writes it to fd 3.
coproc XVFB { exec Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>&1 2>/dev/null; }
# shellcheck disable=SC2153  # XVFB_PID is set by coproc
xvfb_pid=$XVFB_PID
trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT
read -r -t 15 -u "${XVFB[0]}" display_number
export DISPLAY=:$display_number QT_QPA_PLATFORM=xcb
runtime=$(mktemp -d)
export XDG_RUNTIME_DIR=$runtime
trap 'kill "$xvfb_pid" 2>/dev/null || true; rm -rf "$runtime"' EXIT

program=$build/bin/tamsavik
minimal=$bin/minimal_window
picture=resources/pictures/CirclesSmall.png

measure() {
    "$bin/map_waiter" -- "$@" | sed -E 's/map_ms=([0-9.]+) peak_kb=([0-9]+)/\1 \2/'
}

median() {
    sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# One run of each first, to warm the caches; then the two alternately.
measure "$program" >/dev/null
measure "$minimal" "$picture" >/dev/null
: >"$out/program.txt"
: >"$out/minimal.txt"
for ((i = 1; i <= runs; i++)); do
    measure "$program" >>"$out/program.txt"
    measure "$minimal" "$picture" >>"$out/minimal.txt"
done

p_ms=$(cut -d' ' -f1 "$out/program.txt" | median)
m_ms=$(cut -d' ' -f1 "$out/minimal.txt" | median)
p_kb=$(cut -d' ' -f2 "$out/program.txt" | median)
m_kb=$(cut -d' ' -f2 "$out/minimal.txt" | median)

echo
echo "Start-up on $DISPLAY (Xvfb, no window manager), medians of $runs runs each:"
awk -v pm="$p_ms" -v mm="$m_ms" -v pk="$p_kb" -v mk="$m_kb" 'BEGIN {
    printf "  %-26s %10s %10s %8s\n", "", "Tamsavik", "minimal", "ratio"
    printf "  %-26s %10.1f %10.1f %8.2f\n", "launch to window mapped, ms", pm, mm, pm / mm
    printf "  %-26s %10.0f %10.0f %8.2f\n", "peak resident memory, kB", pk, mk, pk / mk
}'
echo "  (each run: $out/program.txt and $out/minimal.txt, \"ms kB\" per line)"
echo
if ! QT_QPA_PLATFORM=offscreen "$bin/compute_click_bench" resources/pictures 5000 \
    2>"$out/compute_click_bench.log"; then
    cat "$out/compute_click_bench.log" >&2
    exit 1
fi
