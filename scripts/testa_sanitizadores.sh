#!/usr/bin/env bash
# Builds the whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer (the
# `asan` preset: GCC, -O1, -fno-sanitize-recover=undefined, so that any report fails its
# test) and runs it, window tests included, without a display. Leaks are reported too.
set -euo pipefail
cd "$(dirname "$0")/.."

JOBS=${JOBS:-$(nproc 2>/dev/null || echo 2)}
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:check_initialization_order=1:strict_init_order=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

echo "== Testes sob AddressSanitizer e UndefinedBehaviorSanitizer (build/asan)"
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$JOBS"
ctest --preset asan -j "$JOBS"
