#!/usr/bin/env python3
"""Start-up, first-idle-to-help and peak memory of Settings and of the baseline program.

Both programs run with the same LD_PRELOAD probe (paintprobe.cpp), which logs on
CLOCK_MONOTONIC every completed paint handed to the platform (QBackingStore::flush) with the
place of the photograph in the window, the entry into the event loop, the first times the loop
is about to block, the timers the program arms and the windows it shows. The harness reads the
same clock just before it starts a process, so

  start-up = end of the first flush of the window titled "Setup" that covers the whole window
             at its final size with the photograph at its final place
             -  the moment before the process was started  -  the probe's own time.

A window painted with the photograph out of place and then again in place has not finished
starting at the first paint; a heading or other content added later does not count. The first
full-window flush at the final size is recorded too.

Runs are interleaved (Settings, baseline, baseline, Settings, ...) after one discarded warm-up
run each, once with the offscreen platform and once in Xvfb with a window manager.
Prints nothing but errors; writes a JSON file for table.py.
"""

import argparse
import json
import os
import shutil
import signal
import subprocess
import tempfile
import time

MAIN_TITLE = "Setup"
HELP_TITLE = "Instructions for Settings utility"
HELP_INTERVAL_MS = 100
SETTLE_S = 0.8        # after the last window of interest painted, before memory is read
GIVE_UP_S = 15.0
# The row of the photograph the probe looks for: below both circles, in both programs.
SIGNATURE_Y, SIGNATURE_X, SIGNATURE_LENGTH = 400, 200, 64


def photo_signature(photo):
    """One row of the photograph as libjpeg decodes it, RRGGBB hex per pixel."""
    ppm = subprocess.run(["djpeg", "-pnm", photo], capture_output=True, check=True).stdout
    magic, size, _maxval, pixels = ppm.split(b"\n", 3)
    width, height = map(int, size.split())
    if magic != b"P6" or height <= SIGNATURE_Y or width < SIGNATURE_X + SIGNATURE_LENGTH:
        raise RuntimeError(f"{photo}: not a colour photograph of the expected size")
    start = (SIGNATURE_Y * width + SIGNATURE_X) * 3
    return pixels[start:start + SIGNATURE_LENGTH * 3].hex()


def parse_log(path):
    """The probe's events, with the probe's own time already taken off both clocks."""
    events = []
    try:
        with open(path, encoding="utf-8", errors="replace") as f:
            for line in f:
                if not line.endswith("\n"):
                    continue  # still being written
                parts = line.rstrip("\n").split(" ")
                kind, ns, cpu, probe_ns, probe_cpu = parts[0], *map(int, parts[1:5])
                fields = parts[5:]
                event = dict(kind=kind, ns=ns - probe_ns, cpu=cpu - probe_cpu)
                if kind == "flush":
                    w, h, rx, ry, rw, rh, px, py = map(int, fields[:8])
                    event.update(size=(w, h), region=(rx, ry, rw, rh), photo=(px, py),
                                 title=" ".join(fields[8:]))
                elif kind == "show":
                    event.update(title=" ".join(fields))
                elif kind == "timer":
                    event.update(interval=int(fields[0]), type=int(fields[1]))
                events.append(event)
    except FileNotFoundError:
        pass
    return events


def flushes(events, title):
    return [e for e in events if e["kind"] == "flush" and e["title"] == title]


def covers_window(e):
    rx, ry, rw, rh = e["region"]
    return rx <= 0 and ry <= 0 and rw >= e["size"][0] and rh >= e["size"][1]


def first_full_paint(events):
    """The first flush of the main window that covers all of it at its final size."""
    main = flushes(events, MAIN_TITLE)
    final = main[-1]["size"]
    return next((e for e in main if e["size"] == final and covers_window(e)),
                next(e for e in main if e["size"] == final))


def first_final_paint(events):
    """The first flush after which the main window has its final size and the photograph is
    where it stays."""
    main = flushes(events, MAIN_TITLE)
    final = main[-1]
    if final["photo"][0] < 0:
        raise RuntimeError("the photograph is not in the main window")
    return next(e for e in main if e["size"] == final["size"] and e["photo"] == final["photo"])


def peak_rss_kib(pid):
    """VmHWM: the most resident memory the process ever had (what time -v reports)."""
    with open(f"/proc/{pid}/status") as f:
        fields = dict(line.split(":", 1) for line in f if ":" in line)
    return int(fields["VmHWM"].split()[0]), int(fields["VmRSS"].split()[0])


def run_once(program, env, probe, expects_help):
    fd, log = tempfile.mkstemp(prefix="probe-", suffix=".log")
    os.close(fd)
    env = dict(env, LD_PRELOAD=probe, BENCH_PROBE_LOG=log)
    start_ns = time.monotonic_ns()
    proc = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    deadline = time.monotonic() + GIVE_UP_S
    settled_at = None
    try:
        while time.monotonic() < deadline:
            if proc.poll() is not None:
                raise RuntimeError(f"{program} ended with {proc.returncode} during start-up")
            events = parse_log(log)
            waited_for = flushes(events, HELP_TITLE if expects_help else MAIN_TITLE)
            if waited_for and settled_at is None:
                settled_at = time.monotonic() + SETTLE_S
            if settled_at is not None and time.monotonic() >= settled_at:
                break
            time.sleep(0.005)
        else:
            raise RuntimeError(f"{program} did not paint its windows within {GIVE_UP_S} s")
        hwm, rss = peak_rss_kib(proc.pid)
    finally:
        proc.send_signal(signal.SIGKILL)
        proc.wait()
    events = parse_log(log)
    os.unlink(log)
    return summarise(events, start_ns, hwm, rss, expects_help)


def ms(ns):
    return ns / 1e6


def summarise(events, start_ns, hwm, rss, expects_help):
    if not flushes(events, MAIN_TITLE):
        raise RuntimeError("the main window never painted")
    paint = first_final_paint(events)
    full = first_full_paint(events)
    execs = [e for e in events if e["kind"] == "exec"]
    blocks = [e for e in events if e["kind"] == "block"]
    result = dict(startup_ms=ms(paint["ns"] - start_ns), startup_cpu_ms=ms(paint["cpu"]),
                  first_paint_ms=ms(full["ns"] - start_ns),
                  photo_moved_after_first_paint=full["photo"] != paint["photo"],
                  peak_rss_kib=hwm, rss_kib=rss,
                  exec_ms=ms(execs[0]["ns"] - start_ns) if execs else None,
                  main_size=list(paint["size"]),
                  main_flushes_before=sum(1 for e in flushes(events, MAIN_TITLE)
                                          if e["ns"] < paint["ns"]))
    if blocks:
        result["first_idle_ms"] = ms(blocks[0]["ns"] - start_ns)
        result["idle_before_paint"] = blocks[0]["ns"] < paint["ns"]
    if expects_help:
        helps = flushes(events, HELP_TITLE)
        timers = [e for e in events if e["kind"] == "timer" and e["interval"] == HELP_INTERVAL_MS]
        if blocks and helps:
            result["idle_to_help_ms"] = ms(helps[0]["ns"] - blocks[0]["ns"])
        if blocks and timers:
            result["idle_to_timer_ms"] = ms(timers[0]["ns"] - blocks[0]["ns"])
            result["idle_to_timer_cpu_ms"] = ms(timers[0]["cpu"] - blocks[0]["cpu"])
        if timers and helps:
            result["timer_to_help_ms"] = ms(helps[0]["ns"] - timers[0]["ns"])
        shows = [e for e in events if e["kind"] == "show" and e["title"] == HELP_TITLE]
        if timers and shows:
            result["timer_to_show_ms"] = ms(shows[0]["ns"] - timers[0]["ns"])
        if shows and helps:
            result["show_to_help_ms"] = ms(helps[0]["ns"] - shows[0]["ns"])
            result["show_to_help_cpu_ms"] = ms(helps[0]["cpu"] - shows[0]["cpu"])
        if helps:
            result["paint_to_help_ms"] = ms(helps[0]["ns"] - paint["ns"])
    return result


class VirtualDesktop:
    """Xvfb with a window manager, so maximising works as on a desktop."""

    def __init__(self, width=1280, height=1024):
        self.width, self.height = width, height
        self.xvfb = self.wm = None

    def __enter__(self):
        read_fd, write_fd = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0",
             f"{self.width}x{self.height}x24", "-nolisten", "tcp"],
            pass_fds=[write_fd], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as f:
            number = f.readline().strip()
        self.display = f":{number}"
        env = dict(os.environ, DISPLAY=self.display)
        if shutil.which("openbox"):
            self.wm = subprocess.Popen(["openbox"], env=env, stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)
            time.sleep(0.5)
        return self

    def __exit__(self, *exc):
        for p in (self.wm, self.xvfb):
            if p and p.poll() is None:
                p.kill()
                p.wait()
        return False


def measure(platform_env, programs, probe, runs):
    results = {name: [] for name, _, _ in programs}
    for name, path, help_ in programs:  # warm the file cache and font cache: discarded
        run_once(path, platform_env, probe, help_)
    for i in range(runs):
        order = programs if i % 2 == 0 else list(reversed(programs))
        for name, path, help_ in order:
            results[name].append(run_once(path, platform_env, probe, help_))
    return results


def time_djpeg(photo, runs):
    """Wall time of one djpeg process decoding the photograph, and of /bin/true for scale."""
    out = {}
    for name, argv in (("djpeg", ["djpeg", "-outfile", os.devnull, photo]), ("true", ["true"])):
        samples = []
        for _ in range(runs):
            t = time.monotonic_ns()
            subprocess.run(argv, check=True, stdout=subprocess.DEVNULL)
            samples.append(ms(time.monotonic_ns() - t))
        out[name] = samples
    return out


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--settings", required=True)
    ap.add_argument("--baseline", required=True)
    ap.add_argument("--probe", required=True)
    ap.add_argument("--photo", required=True)
    ap.add_argument("--runs", type=int, default=12)
    ap.add_argument("--out", required=True)
    args = ap.parse_args()

    base_env = dict(os.environ, DBUS_SESSION_BUS_ADDRESS="disabled:")
    base_env.pop("QT_QPA_PLATFORM", None)
    base_env.pop("DISPLAY", None)
    base_env.pop("WAYLAND_DISPLAY", None)
    base_env["BENCH_PROBE_PHOTO_ROW"] = photo_signature(args.photo)
    programs = [("settings", os.path.abspath(args.settings), True),
                ("baseline", os.path.abspath(args.baseline), False)]
    probe = os.path.abspath(args.probe)
    report = {}
    report["offscreen"] = measure(dict(base_env, QT_QPA_PLATFORM="offscreen"), programs, probe,
                                  args.runs)
    with VirtualDesktop() as desk:
        report["xvfb"] = measure(dict(base_env, QT_QPA_PLATFORM="xcb", DISPLAY=desk.display),
                                 programs, probe, args.runs)
    report["process"] = time_djpeg(args.photo, max(args.runs, 20))
    with open(args.out, "w") as f:
        json.dump(report, f, indent=1)


if __name__ == "__main__":
    main()
