#!/usr/bin/env bash
# Builds everything with the address and undefined-behaviour sanitizers into
# build-asan/ (or $BUILD_DIR), warnings as errors, and runs every test there
# with no display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
build=${BUILD_DIR:-build-asan}

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTAMSAVIK_SANITIZE=ON -DTAMSAVIK_WERROR=ON -DTAMSAVIK_BENCH=OFF >/dev/null
cmake --build "$build"

# Leaks inside the system's font, display and message-bus libraries are theirs
# to fix, not ours; every other leak fails the run.
supp="$(cd "$build" && pwd)/lsan.supp"
cat >"$supp" <<'SUPP'
leak:libfontconfig.so
leak:libdbus-1.so
leak:libglib-2.0.so
leak:libX11.so
leak:libxcb.so
SUPP
# The X keyboard library reads past a string's end in strndup when the real
# program starts on an X display: a fault of that library, not ours, so
# strndup is left unchecked.
export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:intercept_strndup=0
export LSAN_OPTIONS=suppressions=$supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen

cd "$build"
ctest --output-on-failure -j"$(nproc)"
