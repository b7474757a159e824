#!/usr/bin/env python3
"""Prints the machine and one table from the harness's JSON and the Google Benchmark JSON files."""

import argparse
import json
import os
import platform
import statistics
import subprocess
import textwrap


def sh(argv):
    try:
        return subprocess.run(argv, capture_output=True, text=True, check=True).stdout.strip()
    except (OSError, subprocess.CalledProcessError):
        return "?"


def machine():
    cpu = "?"
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                cpu = line.split(":", 1)[1].strip()
                break
    pkg = lambda name: sh(["dpkg-query", "-W", "-f=${Version}", name])
    with open("/proc/loadavg") as f:
        load = " ".join(f.read().split()[:3])
    return [
        f"machine: nproc {sh(['nproc'])}, {cpu}, Linux {platform.release()}, "
        f"load average now {load} (other builds share the CPUs)",
        f"Qt {pkg('libqt6core6')}, libjpeg-turbo {pkg('libjpeg62-turbo')}, "
        f"Google Benchmark {pkg('libbenchmark-dev')}, GCC {sh(['gcc', '-dumpfullversion'])}",
    ]


UNIT_US = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}


class Bench:
    """One Google Benchmark JSON file. Times are CPU time of the measuring thread unless asked
    for "real_time": on a machine shared with compilers the wall time mostly measures waiting."""

    def __init__(self, path):
        with open(path) as f:
            self.rows = json.load(f)["benchmarks"]
        # "BM_X/0/iterations:1/repeats:20" is "BM_X/0" here: settings are not part of the name.
        for r in self.rows:
            r["run_name"] = "/".join(p for p in r["run_name"].split("/") if ":" not in p)

    def time_us(self, name, which, field="cpu_time"):
        for r in self.rows:
            if r.get("run_name") == name and r.get("aggregate_name") == which:
                return r[field] * UNIT_US[r["time_unit"]]
        raise KeyError(f"{name} {which}")

    def first_repetition_us(self, name, field="cpu_time"):
        for r in self.rows:
            if r.get("run_name") == name and r.get("run_type") == "iteration":
                return r[field] * UNIT_US[r["time_unit"]]
        raise KeyError(name)

    def ns_per_item(self, name, which):
        # items_per_second is counted on CPU time; the least time per item is the highest rate.
        rates = [r["items_per_second"] for r in self.rows
                 if r.get("run_name") == name and r.get("run_type") == "iteration"]
        pick = {"median": statistics.median(rates), "min": max(rates)}[which]
        return 1e9 / pick


def med_min(samples):
    return statistics.median(samples), min(samples)


def field(runs, key):
    return [r[key] for r in runs if r.get(key) is not None]


class Table:
    def __init__(self):
        self.lines = []

    def row(self, name, value, reference, ratio, target, verdict, how):
        self.lines.append((name, value, reference, ratio, target, verdict))
        self.lines.append(("", "how: " + how, None, None, None, None))

    def print(self):
        head = ("row", "measured (median / min)", "reference (median / min)", "ratio med/min",
                "target", "")
        widths = [38, 28, 30, 14, 12, 4]
        def fmt(cells):
            return "  ".join(str(c).ljust(w) for c, w in zip(cells, widths)).rstrip()
        print(fmt(head))
        print("-" * (sum(widths) + 2 * (len(widths) - 1)))
        indent = " " * (widths[0] + 2)
        for cells in self.lines:
            if cells[2] is None:
                print(textwrap.fill(cells[1], width=len(indent) + 100, initial_indent=indent,
                                    subsequent_indent=indent + "     "))
            else:
                print(fmt(cells))


def verdict(ok):
    return "ok" if ok else "MISS"


PLATFORM_NAMES = {"offscreen": "offscreen", "xvfb": "Xvfb+openbox"}


def startup_rows(t, startup):
    for plat in ("offscreen", "xvfb"):
        s, b = startup[plat]["settings"], startup[plat]["baseline"]
        runs = len(s)
        sm, sn = med_min(field(s, "startup_ms"))
        bm, bn = med_min(field(b, "startup_ms"))
        fm, _ = med_min(field(s, "first_paint_ms"))
        em_s, _ = med_min(field(s, "exec_ms"))
        em_b, _ = med_min(field(b, "exec_ms"))
        idle_first = sum(1 for r in s if r.get("idle_before_paint"))
        moved = sum(1 for r in s if r.get("photo_moved_after_first_paint"))
        moved_b = sum(1 for r in b if r.get("photo_moved_after_first_paint"))
        size = "x".join(map(str, s[0]["main_size"]))
        t.row(f"start-up, {PLATFORM_NAMES[plat]} (wall)", f"{sm:.1f} / {sn:.1f} ms",
              f"baseline {bm:.1f} / {bn:.1f} ms", f"{sm / bm:.2f} / {sn / bn:.2f}", "<= 1.2x",
              verdict(sm / bm <= 1.2),
              f"process start -> end of the first QBackingStore::flush of the whole {size} "
              f"'Setup' window with the photograph (found by its pixels) at its final place; "
              f"LD_PRELOAD probe, CLOCK_MONOTONIC, probe time taken off; {runs} interleaved runs "
              f"each after a warm-up. Settings: event loop entered at {em_s:.1f} ms (baseline "
              f"{em_b:.1f}); first full paint {fm:.1f} ms, photograph moved after it in "
              f"{moved}/{runs} runs (baseline {moved_b}/{runs}); first idle ran before the first "
              f"paint in {idle_first}/{runs} runs")
        cm, cn = med_min(field(s, "startup_cpu_ms"))
        bcm, bcn = med_min(field(b, "startup_cpu_ms"))
        t.row(f"start-up, {PLATFORM_NAMES[plat]} (CPU)", f"{cm:.1f} / {cn:.1f} ms",
              f"baseline {bcm:.1f} / {bcn:.1f} ms", f"{cm / bcm:.2f} / {cn / bcn:.2f}", "<= 1.2x",
              verdict(cm / bcm <= 1.2),
              "same runs: CPU time of the process (all threads, CLOCK_PROCESS_CPUTIME_ID) at that "
              "flush; unlike wall time it does not grow while other work holds the CPUs")


def idle_rows(t, startup):
    for plat in ("xvfb", "offscreen"):
        s = startup[plat]["settings"]
        im, imin = med_min(field(s, "idle_to_help_ms"))
        tm, _ = med_min(field(s, "idle_to_timer_ms"))
        tc, _ = med_min(field(s, "idle_to_timer_cpu_ms"))
        sm, _ = med_min(field(s, "timer_to_show_ms"))
        pm, _ = med_min(field(s, "show_to_help_ms"))
        pc, _ = med_min(field(s, "show_to_help_cpu_ms"))
        wm, _ = med_min(field(s, "paint_to_help_ms"))
        t.row(f"first idle -> help shown, {PLATFORM_NAMES[plat]}", f"{im:.1f} / {imin:.1f} ms",
              "100 ms timer", "", "~100 ms", verdict(im <= 120),
              f"first aboutToBlock after exec() -> first flush of the help window, same runs. "
              f"Medians: to the 100 ms timer armed (main window painted, then the idle work) "
              f"{tm:.1f} ms (CPU {tc:.1f}), timer "
              f"armed -> QWidget::show() of the help window {sm:.1f} ms, show() -> help painted "
              f"{pm:.1f} ms (CPU {pc:.1f}; the rest is waiting for the window system). Settings raises "
              f"its idle event once the main window has painted; from that paint to the help window "
              f"{wm:.1f} ms")


def memory_rows(t, startup):
    for plat in ("offscreen", "xvfb"):
        s, b = startup[plat]["settings"], startup[plat]["baseline"]
        sm, sn = med_min([k / 1024 for k in field(s, "peak_rss_kib")])
        bm, bn = med_min([k / 1024 for k in field(b, "peak_rss_kib")])
        t.row(f"peak RSS, {PLATFORM_NAMES[plat]}", f"{sm:.1f} / {sn:.1f} MiB",
              f"baseline {bm:.1f} / {bn:.1f} MiB", f"{sm / bm:.2f} / {sn / bn:.2f}", "<= 1.2x",
              verdict(sm / bm <= 1.2),
              "VmHWM of /proc/<pid>/status (what time -v reports) 0.8 s after the last window "
              "painted (Settings: the help window; baseline: its main window), same runs")


def hover_rows(t, classlib):
    fm, fn = classlib.time_us("BM_HoverFirst", "median"), classlib.time_us("BM_HoverFirst", "min")
    fw = classlib.time_us("BM_HoverFirst", "median", "real_time")
    cold = classlib.first_repetition_us("BM_HoverFirst")
    t.row("hover, first time (popup built)", f"{fm / 1e3:.2f} / {fn / 1e3:.2f} ms", "", "",
          "<< 16 ms", verdict(fm < 8e3),
          f"Google Benchmark CPU time: real TMainForm shown offscreen, Perform(CM_MOUSEENTER) on "
          f"FilterHighlight + Qt events until the popup and the lit circle are flushed; a fresh "
          f"window per sample, 20 samples; first in the process {cold / 1e3:.2f} ms; wall median "
          f"{fw / 1e3:.2f} ms")
    am, an = classlib.time_us("BM_HoverAgain", "median"), classlib.time_us("BM_HoverAgain", "min")
    aw = classlib.time_us("BM_HoverAgain", "median", "real_time")
    t.row("hover, later times", f"{am:.0f} / {an:.0f} us", "", "", "< 1 ms", verdict(am < 1e3),
          f"as above on one window, popup already built; CM_MOUSELEAVE with the cursor hook "
          f"outside the popup between samples (not timed); 10 repetitions; wall median {aw:.0f} us")


def drawing_rows(t, classlib):
    for arg, size in ((0, "73x25"), (1, "89x249")):
        lm, ln = (classlib.ns_per_item(f"BM_BuildThreeLooks/{arg}", w) for w in ("median", "min"))
        cm, cn = (classlib.ns_per_item(f"BM_CopyThreeLooks/{arg}", w) for w in ("median", "min"))
        t.row(f"three looks, {size} circle", f"{lm:.2f} / {ln:.2f} ns/px",
              f"copy only {cm:.2f} / {cn:.2f} ns/px", f"{lm / cm:.0f} / {ln / cn:.0f}", "", "",
              f"per pixel of the 3 looks (CPU): copy of the photograph beneath the circle + "
              f"THighlightShader::Shade (plain, bright, raised) = {lm * 3 * (73 * 25 if arg == 0 else 89 * 249) / 1e3:.0f} us "
              f"per circle, vs the same row copies alone")
    for arg, size in ((0, "73x25"), (1, "89x249")):
        sm, sn = (classlib.ns_per_item(f"BM_ShadeOnly/{arg}", w) for w in ("median", "min"))
        cm, cn = (classlib.ns_per_item(f"BM_CopyThreeLooks/{arg}", w) for w in ("median", "min"))
        t.row(f"shading vs memcpy, {size}", f"{sm:.2f} / {sn:.2f} ns/px",
              f"memcpy {cm:.3f} / {cn:.3f} ns/px", f"{sm / cm:.0f} / {sn / cn:.0f}", "", "",
              "THighlightShader::Shade alone, in place on one bitmap (CPU), vs memcpy of its rows")
    bm, bn = classlib.time_us("BM_PaintBoard", "median"), classlib.time_us("BM_PaintBoard", "min")
    t.row("paint board image + circles", f"{bm:.0f} / {bn:.0f} us", "", "", "", "",
          "BoardImage1->PaintTo(bitmap) of the real main window, 600x425, looks already built (CPU)")
    dm, dn = classlib.time_us("BM_PaintDipSwitch", "median"), classlib.time_us("BM_PaintDipSwitch", "min")
    t.row("paint DIP switch, 8 switches", f"{dm:.1f} / {dn:.1f} us", "", "", "", "",
          "105x41 TDipSwitch on a TCustomPanel: value changed + panel PaintTo(bitmap) (CPU)")


def jpeg_rows(t, jpeg, startup):
    pm, pn = jpeg.time_us("BM_DecodeProgram", "median"), jpeg.time_us("BM_DecodeProgram", "min")
    lm, ln = jpeg.time_us("BM_DecodeLibjpeg", "median"), jpeg.time_us("BM_DecodeLibjpeg", "min")
    t.row("JPEG decode 600x425, in process", f"{pm:.0f} / {pn:.0f} us", f"libjpeg {lm:.0f} / {ln:.0f} us",
          f"{pm / lm:.2f} / {pn / ln:.2f}", "", "",
          "TJPEGDecoder::Decode vs plain libjpeg (jpeg_mem_src, JCS_EXT_BGRA: the same output) "
          "on the same bytes in memory, CPU time, 10 repetitions (the file is progressive)")
    dj, djn = med_min(startup["process"]["djpeg"])
    tr, trn = med_min(startup["process"]["true"])
    t.row("djpeg, one process per decode", f"{dj:.2f} / {djn:.2f} ms", f"/bin/true {tr:.2f} / {trn:.2f} ms",
          "", "", "", f"wall time of `djpeg -outfile /dev/null board.jpg`, process start "
          f"included, {len(startup['process']['djpeg'])} runs; /bin/true is the process cost alone")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--startup", required=True)
    ap.add_argument("--classlib", required=True)
    ap.add_argument("--jpeg", required=True)
    args = ap.parse_args()
    with open(args.startup) as f:
        startup = json.load(f)
    classlib, jpeg = Bench(args.classlib), Bench(args.jpeg)

    for line in machine():
        print(line)
    print()
    t = Table()
    startup_rows(t, startup)
    idle_rows(t, startup)
    memory_rows(t, startup)
    hover_rows(t, classlib)
    drawing_rows(t, classlib)
    jpeg_rows(t, jpeg, startup)
    t.print()


if __name__ == "__main__":
    main()
