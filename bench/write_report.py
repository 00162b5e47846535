#!/usr/bin/python3
"""Turns the results of one run of bench/run-benchmarks.sh into the table of
docs/performance.md.

usage: write_report.py WORKDIR OUTPUT

WORKDIR holds what the run left: Google Benchmark JSON (imageops.json,
fit.json, window.json), the process timings of time_processes.py
(startup.json and, when the command-line tool was there, batch.json),
memory.txt ("name kilobytes" lines, one per run), batch-check.txt and
machine.txt.
"""
import json
import os
import statistics
import sys


def load(path):
    with open(path) as f:
        return json.load(f)


def benchmark_medians(path):
    """Median CPU time per benchmark, in microseconds."""
    out = {}
    for b in load(path)["benchmarks"]:
        if b.get("aggregate_name") != "median":
            continue
        scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}[b["time_unit"]]
        out[b["run_name"]] = b["cpu_time"] * scale
    return out


def process_medians(path):
    """Median wall-clock and CPU time per command name, in milliseconds."""
    return load(path)


def memory_medians(path):
    runs = {}
    with open(path) as f:
        for line in f:
            name, kilobytes = line.split()
            runs.setdefault(name, []).append(int(kilobytes))
    return {name: statistics.median(v) / 1024 for name, v in runs.items()}


def us(v):
    return f"{v:.1f} µs" if v < 100 else f"{v:.0f} µs"


def ms(v):
    return f"{v:.1f} ms" if v < 100 else f"{v:.0f} ms"


def mib(v):
    return f"{v:.1f} MiB"


def verdict(ok):
    return "met" if ok else "**missed**"


def main():
    work, output = sys.argv[1], sys.argv[2]
    gb = {}
    for name in ("imageops", "fit", "window"):
        gb.update(benchmark_medians(os.path.join(work, f"{name}.json")))
    startup = process_medians(os.path.join(work, "startup.json"))
    memory = memory_medians(os.path.join(work, "memory.txt"))
    batch_path = os.path.join(work, "batch.json")
    batch = process_medians(batch_path) if os.path.exists(batch_path) else None
    with open(os.path.join(work, "machine.txt")) as f:
        machine = dict(line.rstrip("\n").split("=", 1) for line in f if "=" in line)
    check_path = os.path.join(work, "batch-check.txt")
    check = open(check_path).read().strip() if os.path.exists(check_path) else ""

    rows = []  # operation, ours, reference, reference figure, ratio, target, verdict

    def versus(operation, ours, reference_name, reference, fmt, limit):
        ratio = ours / reference
        rows.append((operation, fmt(ours), reference_name, fmt(reference), f"{ratio:.2f} ×",
                     f"≤ {limit:g} ×", verdict(ratio <= limit)))

    versus("CORRECT, pixel work (`shiftRows`)", gb["BM_Correct_ShiftRows"],
           "plain copy of the image (`memcpy`)", gb["BM_Correct_PlainCopy"], us, 2)
    versus("Vertical Average, pixel work (`columnProfile`)", gb["BM_Profile_ColumnSums"],
           "plain sum of the same pixels", gb["BM_Profile_PlainSum"], us, 3)
    drag = gb["BM_DragStep"]
    rows.append(("One drag step: clear, `DrawPoints`, repaint of the canvas", us(drag), "—", "—",
                 "—", "≤ 1 ms", verdict(drag <= 1000)))
    for order in (4, 6):
        rows.append((f"CALCULATE(LSM), order {order}", us(gb[f"BM_Calculate/order:{order}"]),
                     "—", "—", "—", "—", "—"))
    versus("Start-up to the first painted window", startup["startup"]["wall_ms"],
           "bare Qt window, one empty widget", startup["bare"]["wall_ms"], ms, 1.5)
    if batch:
        ours, cp, numpy = (batch[name]["wall_ms"] for name in ("ours", "cp", "numpy"))
        frames = machine.get("frames", "200")
        versus(f"`rowshift-cli apply`, {frames} BMP files", ours,
               "`cp` of the same files", cp, ms, 3)
        speedup = numpy / ours
        rows.append((f"`rowshift-cli apply`, {frames} BMP files", ms(ours),
                     "numpy + Pillow script", ms(numpy), f"{speedup:.1f} × faster",
                     "≥ 5 × faster", verdict(speedup >= 5)))
    else:
        rows.append(("`rowshift-cli apply`, 200 BMP files", "not measured", "`cp`, numpy script",
                     "—", "—", "≤ 3 × `cp`, ≥ 5 × faster than numpy",
                     "not measured: no `rowshift-cli` in this build"))
    versus("Peak memory after the main road", memory["mainroad"],
           "bare Qt window, one empty widget", memory["bare"], mib, 1.5)

    context = [
        ("CORRECT in the window (clear from the picture, then the shifts)",
         us(gb["BM_Correct_OnCanvas"])),
        ("Vertical Average in the window (clear, sums, red graph)",
         us(gb["BM_Profile_VerticalAverageOnCanvas"])),
        ("Drag step, handler only (clear and `DrawPoints` into the overlay)",
         us(gb["BM_DragStep_HandlerOnly"])),
        ("Drag step, repaint only (image layer and overlay onto the widget)",
         us(gb["BM_DragStep_RepaintOnly"])),
        ("Drag step before any image is loaded (rebuilds the image layer)",
         us(gb["BM_DragStep_BeforeLoad"])),
        ("Whole click on CORRECT in the window (busy pointer, progress bar, repaint)",
         us(gb["BM_Click_Correct"])),
        ("Whole click on Vertical Average in the window", us(gb["BM_Click_VerticalAverage"])),
        ("Profile export text (510 lines)", us(gb["BM_ProfileText"])),
        ("Start-up, CPU time (user + system): rowshift / bare window",
         f"{startup['startup']['cpu_ms']:.1f} ms / {startup['bare']['cpu_ms']:.1f} ms"),
        ("Start-up of a Qt window with a menu bar and one label (Qt's own cost of text and a"
         " menu)", f"{startup['text']['wall_ms']:.1f} ms "
         f"({startup['text']['wall_ms'] / startup['bare']['wall_ms']:.2f} × the bare window)"),
        ("Peak memory of the window at start-up", mib(memory["startup"])),
        ("Peak memory of a Qt window with a menu bar and one label",
         f"{mib(memory['text'])} ({memory['text'] / memory['bare']:.2f} × the bare window)"),
    ]
    if batch:
        synced = batch["cp+sync"]["wall_ms"]
        context += [
            ("Batch: `cp`, then `sync --data` of every copy (the limit for files that are on"
             " disk when the tool reports them done)",
             f"{ms(synced)}; rowshift-cli takes {batch['ours']['wall_ms'] / synced:.2f} × that"),
            ("Batch, CPU time (user + system): rowshift-cli / cp / numpy",
             " / ".join(f"{batch[n]['cpu_ms']:.0f} ms" for n in ("ours", "cp", "numpy"))),
        ]

    lines = [
        "# Performance",
        "",
        "Written by `bench/run-benchmarks.sh` from one run; every figure stands beside its",
        "reference, measured in the same run on the same machine. Do not edit by hand: run",
        "the script again.",
        "",
        f"- Machine: {machine['cpu']}, {machine['cores']} cores; {machine['os']}",
        f"- Date: {machine['date']}; load average at the start: {machine['load']}",
        f"- Build: release (`cmake --preset release`), {machine['compiler']}, Qt {machine['qt']}",
        "",
        "In-process figures (µs) are the median CPU time of five repetitions of a Google",
        "Benchmark run on a 512 × 512 image, with the row-shift table that",
        "`examples/parabola-24bit.points` gives at order 4 (0 in the middle, up to 60 at the",
        "ends). Whole processes (ms) are the median wall-clock time of repeated runs (30 for",
        "start-up, 5 for the batch), taken in turn with their references so that a change in",
        "the machine's load falls on both alike, on the offscreen platform. Peak memory is the",
        "median maximum resident set size that GNU time reports over five runs.",
        "",
        "| Operation | rowshift | Reference | Reference figure | Ratio | Target | |",
        "|---|---|---|---|---|---|---|",
    ]
    lines += ["| " + " | ".join(r) + " |" for r in rows]
    lines += ["", "For context (no target):", "", "| Measure | Figure |", "|---|---|"]
    lines += [f"| {name} | {value} |" for name, value in context]
    if check:
        lines += ["", f"Output check: {check}"]
    notes_path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "performance-notes.md")
    if os.path.exists(notes_path):
        lines += ["", open(notes_path).read().strip()]
    with open(output, "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
