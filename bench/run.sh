#!/usr/bin/env bash
# Builds Settings and the benchmarks in release mode in their own build directory, runs every
# measurement and prints the machine's description and one table.
#   BENCH_BUILD_DIR  build directory (default: <source>/build-bench)
#   BENCH_RUNS       start-up runs per program and platform (default 15, at least 10)
#   BENCH_JOBS       parallel compile jobs (default 2)
#   BENCH_KEEP       a directory to keep the raw JSON results and logs in
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source_dir="$(dirname "$here")"
build="${BENCH_BUILD_DIR:-$source_dir/build-bench}"
runs="${BENCH_RUNS:-15}"
[ "$runs" -ge 10 ] || runs=10
jobs="${BENCH_JOBS:-2}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

{
  cmake -S "$source_dir" -B "$build" -DCMAKE_BUILD_TYPE=Release -DSETTINGS_BENCH=ON -DSETTINGS_TESTS=OFF
  cmake --build "$build" -j"$jobs" --target Settings bench_baseline paintprobe bench_classlib bench_jpeg
} >"$work/build.log" 2>&1 || { cat "$work/build.log" >&2; exit 1; }

export DBUS_SESSION_BUS_ADDRESS=disabled:
# Console output of the benchmark programs is not the table: it goes to a log.
QT_QPA_PLATFORM=offscreen "$build/bench/bench_classlib" --benchmark_out="$work/classlib.json" \
  --benchmark_out_format=json >"$work/classlib.log" 2>&1 || { cat "$work/classlib.log" >&2; exit 1; }
"$build/bench/bench_jpeg" --benchmark_out="$work/jpeg.json" --benchmark_out_format=json \
  >"$work/jpeg.log" 2>&1 || { cat "$work/jpeg.log" >&2; exit 1; }
python3 "$here/startup.py" --settings "$build/src/app/Settings" --baseline "$build/bench/bench_baseline" \
  --probe "$build/bench/libpaintprobe.so" --photo "$source_dir/assets/board.jpg" --runs "$runs" \
  --out "$work/startup.json"
if [ -n "${BENCH_KEEP:-}" ]; then mkdir -p "$BENCH_KEEP" && cp "$work"/*.json "$work"/*.log "$BENCH_KEEP"/; fi
python3 "$here/table.py" --startup "$work/startup.json" --classlib "$work/classlib.json" --jpeg "$work/jpeg.json"
