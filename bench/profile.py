#!/usr/bin/env python3
"""Counts the instructions each program executes from process start to its start-up paint
(the same paint startup.py times), with callgrind, offscreen. Instruction counts do not depend
on how busy the machine is, so they show where a start-up difference comes from when wall and
CPU times are too noisy (no hardware counters on this machine: `perf stat -e instructions`
reports <not supported>).

  bench/profile.py --settings build/src/app/Settings --baseline build/bench/bench_baseline \\
      --probe build/bench/libpaintprobe.so --photo assets/board.jpg --out /tmp/profile

Prints the totals and each program's most expensive functions; the callgrind files stay in
--out for callgrind_annotate.
"""

import argparse
import os
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
import startup  # noqa: E402  (after the line above on purpose)


def start_up_flush_number(program, env):
    """How many flushes the program makes up to and including its start-up paint."""
    fd, log = tempfile.mkstemp(prefix="probe-", suffix=".log")
    os.close(fd)
    proc = subprocess.Popen([program], env=dict(env, BENCH_PROBE_LOG=log),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(3)  # long enough to settle even on a busy machine
    proc.kill()
    proc.wait()
    events = startup.parse_log(log)
    os.unlink(log)
    paint = startup.first_final_paint(events)
    return [e for e in events if e["kind"] == "flush"].index(paint) + 1


def instruction_count(program, env, flushes, out_file):
    env = dict(env, BENCH_PROBE_EXIT_AT_FLUSH=str(flushes))
    env.pop("BENCH_PROBE_PHOTO_ROW")  # counted: no looking for the photograph
    subprocess.run(["valgrind", "--tool=callgrind", f"--callgrind-out-file={out_file}", program],
                   env=env, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    report = subprocess.run(["callgrind_annotate", "--inclusive=yes", out_file],
                            capture_output=True, text=True, check=True).stdout
    total = next(int(line.split()[0].replace(",", "")) for line in report.splitlines()
                 if "PROGRAM TOTALS" in line)
    return total, report


def main():
    ap = argparse.ArgumentParser()
    for name in ("settings", "baseline", "probe", "photo", "out"):
        ap.add_argument(f"--{name}", required=True)
    ap.add_argument("--top", type=int, default=25)
    args = ap.parse_args()
    os.makedirs(args.out, exist_ok=True)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", DBUS_SESSION_BUS_ADDRESS="disabled:",
               LD_PRELOAD=os.path.abspath(args.probe),
               BENCH_PROBE_PHOTO_ROW=startup.photo_signature(args.photo))
    totals = {}
    for name, program in (("settings", args.settings), ("baseline", args.baseline)):
        program = os.path.abspath(program)
        flushes = start_up_flush_number(program, env)
        out_file = os.path.join(args.out, f"callgrind.{name}")
        totals[name], report = instruction_count(program, env, flushes, out_file)
        print(f"== {name}: {totals[name]:,} instructions to the start-up paint "
              f"(flush {flushes}); {out_file}")
        functions = report.split("file:function", 1)[1].splitlines()[2:2 + args.top]
        print("\n".join(line[:160] for line in functions))
    print(f"ratio settings / baseline: {totals['settings'] / totals['baseline']:.2f}")


if __name__ == "__main__":
    main()
