#!/usr/bin/env bash
# Installs what is needed, builds Settings and its tests, and runs every test:
#  1. a normal build: unit and widget tests (offscreen), driver-library tests, end-to-end tests
#     in a real X server with a window manager;
#  2. a clang build with AddressSanitizer + UndefinedBehaviorSanitizer (LeakSanitizer on): the
#     same suite again, then each libFuzzer target for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs="$(nproc)"
export DBUS_SESSION_BUS_ADDRESS=disabled:

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")

if [ "${SETTINGS_SKIP_SANITIZERS:-0}" != 1 ]; then
  CC=clang CXX=clang++ cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DSETTINGS_SANITIZE=ON \
    -DSETTINGS_FUZZ=ON -DSETTINGS_DISCOVER_TESTS=OFF >/dev/null
  cmake --build build-asan -j"$jobs"
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  (cd build-asan && ctest --output-on-failure -j"$jobs")
  fuzz/run-fuzzers.sh build-asan "${SETTINGS_FUZZ_SECONDS:-60}"
fi
