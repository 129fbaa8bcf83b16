#!/usr/bin/env python3
"""Turns the driver's samples into the benchmark's table of figures.

    report.py RESULTS_DIR KOLVEK_EXE OBJDUMP RUNS WARMUP

Reads startup.txt, folders.txt, temp.txt and launch.txt from RESULTS_DIR (lines
"sample LABEL MS" and "count LABEL N"), measures KOLVEK_EXE's size and
imports, and prints a Markdown table: figure, raw medians, goal, PASS/MISS
(figures without a goal, such as the size, are only reported).
Exits 0 either way: the figures are for reading, not for failing a build.
"""

import os
import statistics
import sys

# The rule for the imports is the build's own check.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
import check_imports  # noqa: E402


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


def bits_of(program):
    """32 or 64, from the machine field of the PE header."""
    with open(program, "rb") as f:
        data = f.read(4096)
    pe = int.from_bytes(data[0x3C:0x40], "little")
    return 64 if int.from_bytes(data[pe + 4:pe + 6], "little") == 0x8664 else 32


def verdict(ok):
    return "PASS" if ok else "MISS"


def main(argv):
    results, exe, objdump, runs, warmup = argv[1], argv[2], argv[3], argv[4], argv[5]
    rows = []
    notes = []

    start, _ = read_samples(os.path.join(results, "startup.txt"))
    k, m = statistics.median(start["kolvek"]), statistics.median(start["minimal"])
    mm = statistics.median(start["manifest"])
    rows.append(("Start-up, KOLVEK.EXE / minimal dialog with KOLVEK's manifest", f"{k / mm:.2f}×",
                 f"{k:.0f} ms / {mm:.0f} ms", "≤ 1.15×", verdict(k / mm <= 1.15)))
    rows.append(("Start-up, KOLVEK.EXE / plain minimal dialog", f"{k / m:.2f}×",
                 f"{k:.0f} ms / {m:.0f} ms", "none", "—"))
    rows.append(("Start-up, the manifest's own cost (minimal dialog with / without)",
                 f"{mm / m:.2f}×", f"{mm:.0f} ms / {m:.0f} ms (+{mm - m:.0f} ms)", "none", "—"))

    folders, counts = read_samples(os.path.join(results, "folders.txt"))
    base = statistics.median(folders["maps0"])
    t10 = statistics.median(folders["maps10k"])
    t20 = statistics.median(folders["maps20k"])
    extra10, extra20 = t10 - base, t20 - base
    growth = extra20 / extra10 if extra10 > 0 else float("inf")
    rows.append(("Map folder, extra time 20,000 / 10,000 maps", f"{growth:.2f}×",
                 f"+{extra20:.0f} ms / +{extra10:.0f} ms (none: {base:.0f} ms)", "≤ 2.30×",
                 verdict(growth <= 2.3)))
    rows.append(("Map folder, extra time for 10,000 maps", f"{extra10 / 1000:.2f} s",
                 f"{t10:.0f} ms − {base:.0f} ms", "≤ 0.50 s", verdict(extra10 <= 500)))
    for label, expected in (("maps0", 0), ("maps10k", 10000), ("maps20k", 20000)):
        if counts.get(label) != expected:
            notes.append(f"the map list of {label} held {counts.get(label)} entries, "
                         f"not {expected}")

    temp, _ = read_samples(os.path.join(results, "temp.txt"))
    t0, t40 = statistics.median(temp["temp0"]), statistics.median(temp["temp40k"])
    rows.append(("Start-up with 40,000 files / none in the temporary folder", f"{t40 / t0:.2f}×",
                 f"{t40:.0f} ms / {t0:.0f} ms", "≤ 1.05×", verdict(t40 / t0 <= 1.05)))

    launch, _ = read_samples(os.path.join(results, "launch.txt"))
    kl, cl = statistics.median(launch["kolvek"]), statistics.median(launch["cmd"])
    rows.append(("Launch, OK to game started / cmd /c RunA2.bat", f"{kl / cl:.2f}×",
                 f"{kl:.0f} ms / {cl:.0f} ms", "≤ 1.10×", verdict(kl / cl <= 1.1)))

    size = os.path.getsize(exe)
    # Reported, with no goal: the picture alone is some 230 KB.
    rows.append(("Size of KOLVEK.EXE (Release, static runtime)", f"{size / 1024:.0f} KB",
                 f"{size} bytes", "none", "—"))
    found = check_imports.imports(objdump, exe)
    dlls = list(found)
    rows.append(("DLLs imported", f"{len(dlls)}", ", ".join(sorted(d.lower() for d in dlls)),
                 "system DLLs only, as the build checks",
                 verdict(not check_imports.problems(found))))

    print(f"Medians of {runs} runs after {warmup} warm-up round(s), under Wine, "
          f"of the {bits_of(exe)}-bit KOLVEK.EXE.\n")
    print("| Figure | Value | Raw medians | Goal | |")
    print("|---|---|---|---|---|")
    for row in rows:
        print("| " + " | ".join(row) + " |")
    for note in notes:
        print(f"\nNote: {note}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
