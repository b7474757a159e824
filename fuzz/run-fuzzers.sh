#!/usr/bin/env bash
# Runs every fuzz target for a bounded time on a scratch copy of its seed corpus (the corpus in
# the repository never grows) and fails on any crash, leak, timeout or out-of-memory.
#
#   fuzz/run-fuzzers.sh BUILD_DIR [SECONDS]
#
# BUILD_DIR is a clang tree configured with -DSETTINGS_FUZZ=ON and built; SECONDS is the time
# per target (default 60, so about three minutes in all). Prints one summary line per target.
# On failure the scratch directory is kept and named, with the input that failed in it.
#
# Inputs that once made a target fail are kept in corpus/regressions/<target>/ and replayed
# once per run. They are not fuzzed from: the slow ones would take most of the fuzzing time.
set -u

targets=(fuzz_layout fuzz_rtf fuzz_jpeg)

if [[ $# -lt 1 || $# -gt 2 ]]; then
    echo "usage: $0 BUILD_DIR [SECONDS]" >&2
    exit 2
fi
build_dir=$1
seconds=${2:-60}
if ! [[ $seconds =~ ^[1-9][0-9]*$ ]]; then
    echo "$0: SECONDS must be a positive whole number, not '$seconds'" >&2
    exit 2
fi

fuzz_dir=$(cd "$(dirname "$0")" && pwd)
repo_dir=$(dirname "$fuzz_dir")
for target in "${targets[@]}"; do
    if [[ ! -x $build_dir/fuzz/$target ]]; then
        echo "$0: $build_dir/fuzz/$target is missing; build it first:" >&2
        echo "  CC=clang CXX=clang++ cmake -S $repo_dir -B $build_dir -DSETTINGS_FUZZ=ON -DSETTINGS_TESTS=OFF" >&2
        echo "  cmake --build $build_dir -j2 --target ${targets[*]}" >&2
        exit 2
    fi
done

scratch=$(mktemp -d "${TMPDIR:-/tmp}/settings-fuzz.XXXXXX")

export QT_QPA_PLATFORM=offscreen
export DBUS_SESSION_BUS_ADDRESS=disabled:
# Only third-party leaks are suppressed; the file says which and why.
export LSAN_OPTIONS="suppressions=$repo_dir/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

# A field ("cov", "ft") of libFuzzer's last status line ("#1234  DONE  cov: 617 ft: 3300 ...").
last_status() {
    grep -E '^#[0-9]+' "$2" | tail -n 1 | grep -oE "(^| )$1: [0-9]+" | grep -oE '[0-9]+$'
}

executions() {
    grep -E '^stat::number_of_executed_units: ' "$1" | tail -n 1 | grep -oE '[0-9]+$'
}

# Names what went wrong from the sanitizer's or libFuzzer's own report.
failure_kind() {
    local log=$1
    if grep -q 'ERROR: libFuzzer: timeout' "$log"; then echo "timeout"
    elif grep -q 'ERROR: libFuzzer: out-of-memory' "$log"; then echo "out of memory"
    elif grep -q 'ERROR: LeakSanitizer' "$log"; then echo "leak"
    elif grep -q 'ERROR: AddressSanitizer' "$log"; then echo "memory error"
    elif grep -q 'runtime error:' "$log"; then echo "undefined behaviour"
    elif grep -q 'ERROR: libFuzzer' "$log"; then echo "crash"
    else echo "exit status $2"
    fi
}

failed=0
for target in "${targets[@]}"; do
    work=$scratch/$target
    mkdir -p "$work/corpus"
    cp -R "$fuzz_dir/corpus/$target/." "$work/corpus/"
    options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
             -artifact_prefix="$work/")
    [[ -f $fuzz_dir/$target.dict ]] && options+=(-dict="$fuzz_dir/$target.dict")

    regressions=("$fuzz_dir/corpus/regressions/$target"/*)
    [[ -e ${regressions[0]} ]] || regressions=()
    status=0
    if [[ ${#regressions[@]} -gt 0 ]]; then
        "$build_dir/fuzz/$target" -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$work/" \
            "${regressions[@]}" >"$work/log" 2>&1 || status=$?
    fi
    if [[ $status -eq 0 ]]; then
        "$build_dir/fuzz/$target" "${options[@]}" "$work/corpus" >>"$work/log" 2>&1 || status=$?
    fi
    artifacts=$(find "$work" -maxdepth 1 -type f \( -name 'crash-*' -o -name 'leak-*' \
                 -o -name 'timeout-*' -o -name 'oom-*' \) | sort)

    execs=$(executions "$work/log")
    cov=$(last_status cov "$work/log")
    ft=$(last_status ft "$work/log")
    summary=$(printf 'execs: %s  cov: %s  ft: %s  corpus: %s files  regressions: %s  %s s' \
        "${execs:--}" "${cov:--}" "${ft:--}" "$(ls "$work/corpus" | wc -l)" \
        "${#regressions[@]}" "$seconds")
    if [[ $status -eq 0 && -z $artifacts ]]; then
        printf '%-12s OK    %s\n' "$target" "$summary"
    else
        failed=1
        printf '%-12s FAIL  %s  (%s)\n' "$target" "$summary" "$(failure_kind "$work/log" "$status")"
        for artifact in $artifacts; do echo "    input: $artifact"; done
        echo "    log:   $work/log"
    fi
done

if [[ $failed -ne 0 ]]; then
    echo "Fuzzing found problems; scratch directory kept: $scratch"
    exit 1
fi
rm -rf "$scratch"
