#!/usr/bin/env python3
"""Turns the driver's samples into the benchmark's table of figures.

    report.py RESULTS_DIR KOLVEK_EXE OBJDUMP ROUNDS WARMUP PRIORITY

Reads the samples of every run from RESULTS_DIR/run1, run2, ... (startup.txt,
folders.txt, temp.txt and launch.txt, with lines "sample LABEL MS" and
"count LABEL N"), measures KOLVEK_EXE's size and imports, and prints a
Markdown table. A run's value of a figure is the median of its rounds; the
table gives each figure's values over all runs, the raw medians of the run
with the middle value, the goal and the verdict, by the rule in
bench/README.md: "met" when the value is within the goal in every run,
otherwise "missed" and in how many runs it was within. Figures without a
goal, such as the size, are only reported.
Exits 0 either way: the figures are for reading, not for failing a build.
"""

import os
import re
import statistics
import sys

# The rule for the imports is the build's own check.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
import check_imports  # noqa: E402

# Entries each start-up's map list must hold: the floor lists nothing.
EXPECTED_COUNTS = {"kolvek": 5, "floor": 0, "maps0": 0, "maps10k": 10000, "maps20k": 20000}


class Figure:
    """One row: how a run's value is shown and, if it has a goal, the goal."""

    def __init__(self, name, unit, goal=None, limit=None):
        self.name, self.unit, self.goal, self.limit = name, unit, goal, limit

    def show(self, value):
        return f"{value:.2f}{self.unit}"


FIGURES = [
    Figure("Start-up, KOLVEK.EXE / its own dialog with nothing behind it (the floor)", "×",
           "≤ 1.05×", 1.05),
    Figure("Start-up, the floor / minimal dialog with KOLVEK's manifest", "×"),
    Figure("Start-up, KOLVEK.EXE / minimal dialog with KOLVEK's manifest", "×"),
    Figure("Start-up, the manifest's own cost (minimal dialog with / without)", "×"),
    Figure("Map folder, extra time 20,000 / 10,000 maps", "×", "≤ 2.30×", 2.3),
    Figure("Map folder, extra time for 10,000 maps", " s", "≤ 0.50 s", 0.5),
    Figure("Start-up with 40,000 files / none in the temporary folder", "×", "≤ 1.05×", 1.05),
    Figure("Launch, OK to game started / cmd /c RunA2.bat", "×", "≤ 1.10×", 1.1),
]


def read_samples(path):
    samples, counts = {}, {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            parts = line.split()
            if len(parts) == 3 and parts[0] == "sample":
                samples.setdefault(parts[1], []).append(float(parts[2]))
            elif len(parts) == 3 and parts[0] == "count":
                counts[parts[1]] = int(parts[2])
    return samples, counts


def medians(path, notes, run):
    samples, counts = read_samples(path)
    for label, count in counts.items():
        expected = EXPECTED_COUNTS.get(label)
        if expected is not None and count != expected:
            notes.append(f"run {run}: the map list of {label} held {count} entries, "
                         f"not {expected}")
    return {label: statistics.median(values) for label, values in samples.items()}


def measure(folder, run, notes):
    """One run's (value, raw medians) for each of FIGURES, in their order."""
    start = medians(os.path.join(folder, "startup.txt"), notes, run)
    k, f = start["kolvek"], start["floor"]
    m, mm = start["minimal"], start["manifest"]
    folders = medians(os.path.join(folder, "folders.txt"), notes, run)
    base, t10, t20 = folders["maps0"], folders["maps10k"], folders["maps20k"]
    extra10, extra20 = t10 - base, t20 - base
    temp = medians(os.path.join(folder, "temp.txt"), notes, run)
    t0, t40 = temp["temp0"], temp["temp40k"]
    launch = medians(os.path.join(folder, "launch.txt"), notes, run)
    kl, cl = launch["kolvek"], launch["cmd"]
    return [
        (k / f, f"{k:.0f} / {f:.0f} ms"),
        (f / mm, f"{f:.0f} / {mm:.0f} ms"),
        (k / mm, f"{k:.0f} / {mm:.0f} ms"),
        (mm / m, f"{mm:.0f} / {m:.0f} ms ({mm - m:+.0f} ms)"),
        (extra20 / extra10 if extra10 > 0 else float("inf"),
         f"+{extra20:.0f} / +{extra10:.0f} ms (none: {base:.0f} ms)"),
        (extra10 / 1000, f"{t10:.0f} − {base:.0f} ms"),
        (t40 / t0, f"{t40:.0f} / {t0:.0f} ms"),
        (kl / cl, f"{kl:.0f} / {cl:.0f} ms"),
    ]


def row(figure, measured):
    """The table's cells for one figure measured in every run."""
    values = sorted(measured, key=lambda entry: entry[0])
    low, high = figure.show(values[0][0]), figure.show(values[-1][0])
    shown = low if low == high else f"{low[:-len(figure.unit)]}–{high}"
    raw = values[len(values) // 2][1]
    if figure.limit is None:
        return figure.name, shown, raw, "none", "—"
    # Judged as shown: a value that shows as the goal is within it.
    within = sum(1 for value, _ in measured if round(value, 2) <= figure.limit)
    verdict = "met" if within == len(measured) else f"missed ({within} of {len(measured)} within)"
    return figure.name, shown, raw, figure.goal, verdict


def bits_of(program):
    """32 or 64, from the machine field of the PE header."""
    with open(program, "rb") as f:
        data = f.read(4096)
    pe = int.from_bytes(data[0x3C:0x40], "little")
    return 64 if int.from_bytes(data[pe + 4:pe + 6], "little") == 0x8664 else 32


def run_folders(results):
    numbered = [(int(m.group(1)), name) for name in os.listdir(results)
                if (m := re.fullmatch(r"run(\d+)", name))]
    return [os.path.join(results, name) for _, name in sorted(numbered)]


def main(argv):
    results, exe, objdump, rounds, warmup, priority = argv[1:7]
    notes = []
    runs = [measure(folder, number, notes)
            for number, folder in enumerate(run_folders(results), start=1)]
    if not runs:
        print(f"report: no runs in {results}", file=sys.stderr)
        return 0
    rows = [row(figure, [run[i] for run in runs]) for i, figure in enumerate(FIGURES)]

    size = os.path.getsize(exe)
    # Reported, with no goal: the picture alone is some 230 KB.
    rows.append(("Size of KOLVEK.EXE (Release, static runtime)", f"{size / 1024:.0f} KB",
                 f"{size} bytes", "none", "—"))
    found = check_imports.imports(objdump, exe)
    rows.append(("DLLs imported", f"{len(found)}",
                 ", ".join(sorted(d.lower() for d in found)),
                 "system DLLs only, as the build checks",
                 "missed" if check_imports.problems(found) else "met"))

    bits = bits_of(exe)
    print(f"{len(runs)} run(s) of {rounds} rounds after {warmup} warm-up round(s), under Wine, "
          f"at {priority}, of the {bits}-bit KOLVEK.EXE"
          + (" (a 64-bit build: not comparable with the 32-bit program's figures)."
             if bits == 64 else ".") + "\n")
    print("| Figure | Value over the runs | Raw medians of the middle run | Goal | Verdict |")
    print("|---|---|---|---|---|")
    for cells in rows:
        print("| " + " | ".join(cells) + " |")
    for note in notes:
        print(f"\nNote: {note}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
