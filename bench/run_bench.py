#!/usr/bin/env python3
"""Runs the three benchmark programs of a bench build and prints one table: each figure beside
its reference from the same run, and the goal it is held to. Usage: run_bench.py BUILD_DIR"""

import json
import os
import re
import subprocess
import sys
import tempfile

build = sys.argv[1] if len(sys.argv) > 1 else "build/bench"
rows = []  # (figure, value, reference, goal)
missed = []


def run(command, stdout=subprocess.PIPE):
    result = subprocess.run(command, stdout=stdout, stderr=subprocess.PIPE, text=True)
    if result.returncode != 0:
        sys.exit(f"{' '.join(command)} failed:\n{result.stdout or ''}{result.stderr}")
    return result


def section(title):
    rows.append((title, None, None, None))


def row(figure, value, reference="", goal=""):
    rows.append((figure, value, reference, goal))


def check(goal, met):
    if not met:
        missed.append(goal)
    return f"{goal}: {'met' if met else 'NOT MET'}"


def time_text(nanoseconds):
    for unit, size in (("ms", 1e6), ("us", 1e3)):
        if nanoseconds >= size:
            return f"{nanoseconds / size:.3g} {unit}"
    return f"{nanoseconds:.3g} ns"


def micro():
    result = run([f"{build}/gravix_micro", "--benchmark_repetitions=5",
                  "--benchmark_report_aggregates_only=true", "--benchmark_min_time=0.1",
                  "--benchmark_format=json"])
    medians = {}
    for entry in json.loads(result.stdout)["benchmarks"]:
        if entry.get("aggregate_name") == "median":
            scale = {"ns": 1, "us": 1e3, "ms": 1e6}[entry["time_unit"]]
            medians[entry["run_name"]] = entry["real_time"] * scale
    return medians


def instructions(*arguments):
    with tempfile.TemporaryDirectory() as directory:
        out = os.path.join(directory, "callgrind.out")
        run(["valgrind", "--tool=callgrind", "--collect-atstart=no",
             f"--callgrind-out-file={out}", f"{build}/gravix_instructions", *arguments],
            stdout=subprocess.DEVNULL)
        with open(out) as profile:
            totals = re.search(r"^(?:summary|totals): (\d+)", profile.read(), re.M)
    return int(totals.group(1))


def terminal():
    result = run([f"{build}/gravix_terminal"])
    return {name: float(value) for name, value in
            (line.split() for line in result.stdout.splitlines() if line.strip())}


m = micro()
section("Google Benchmark, medians of 5 repetitions (in-memory console)")
row("SplitRawLine, a typed line with blanks", time_text(m["SplitRawLine"]),
    f"SplitStoredLine {time_text(m['SplitStoredLine'])}")
row("CheckLine, 20 digits and a sum", time_text(m["CheckLine"]),
    f"HexByte x10 {time_text(m['HexByte x10'])}")
for lines, name in ((5000, "5000"), (100000, "100 000")):
    row(f"LoadListing, {name} lines", time_text(m[f"LoadListing/{lines}"]),
        f"reading + backup only {time_text(m[f'ReadRawLine/{lines}'])}")
row("Compile 50 000 bytes in memory", time_text(m["Compile 50000 bytes"]),
    f"check of the 5000 lines {time_text(m['Check 5000 lines'])}")
row("Keystroke: DrawListingLine row 10", time_text(m["Keystroke (DrawListingLine)"]),
    f"line change {time_text(m['Line change (DrawEditorPage)'])}")
row("Line change: DrawEditorPage", time_text(m["Line change (DrawEditorPage)"]),
    f"whole editor screen {time_text(m['Whole editor screen'])}")

section("callgrind instruction counts (terminal binding)")
row("Loading 5000 lines", f"{instructions('load', '5000'):,}",
    f"1 line {instructions('load', '1'):,}")
row("One keystroke (digit typed)", f"{instructions('keystroke'):,}",
    f"line change {instructions('linechange'):,}")

t = terminal()
section("Whole program in a pseudo-terminal (tmpfs)")
ratio = t["start_5000"] / t["start_1"]
row("Start to editor, 5000 lines (median)", f"{t['start_5000']:.2f} ms",
    f"1 line {t['start_1']:.2f} ms (x{ratio:.2f})", check("<= 1.5x", ratio <= 1.5))
digit_goal = check("<= 150 B", t["digit_typical"] <= 150)
row("  the fastest of 21 runs", f"{t['start_5000_fastest']:.2f} ms",
    f"1 line {t['start_1_fastest']:.2f} ms (x{t['start_5000_fastest'] / t['start_1_fastest']:.2f})")
row("Output up to the editor, 5000 lines", f"{t['screen_5000']:.0f} B",
    f"1 line {t['screen_1']:.0f} B")
row("Typed digit, typical (line being retyped)", f"{t['digit_typical']:.0f} B",
    f"whole first screen {t['screen_1']:.0f} B", digit_goal)
row("Typed digit, 20th (completes the checksum)", f"{t['digit_20th']:.0f} B",
    f"typical {t['digit_typical']:.0f} B")
row("Typed digit, 21st (line too long)", f"{t['digit_21st']:.0f} B",
    f"typical {t['digit_typical']:.0f} B")
row("Typed digit, checksum field", f"{t['digit_checksum']:.0f} B",
    f"typical {t['digit_typical']:.0f} B")
row("Typed digit, worst (every other character faulty)", f"{t['digit_worst']:.0f} B",
    f"typical {t['digit_typical']:.0f} B", check("<= 256 B", t["digit_worst"] <= 256))
row("Line change (Down)", f"{t['line_change']:.0f} B",
    f"whole first screen {t['screen_1']:.0f} B", check("<= 1200 B", t["line_change"] <= 1200))
row("Page change (PageDown)", f"{t['page_change']:.0f} B", f"line change {t['line_change']:.0f} B")
extra = t["peak_5000"] - t["peak_1"]
row("Peak resident memory, 5000 lines", f"{t['peak_5000']:.0f} KiB",
    f"1 line {t['peak_1']:.0f} KiB (+{extra:.0f} KiB)", check("<= +1024 KiB", extra <= 1024))
row("Last compile answer to summary, 50 000 bytes", f"{t['compile_gravix']:.2f} ms",
    f"pasmo --tap {t['compile_pasmo']:.2f} ms",
    check("<= pasmo", t["compile_gravix"] <= t["compile_pasmo"]))

widths = [max(len(str(r[i])) for r in rows if r[1] is not None) for i in range(4)]
print()
for figure, value, reference, goal in rows:
    if value is None:
        print(f"\n{figure}")
        print("-" * len(figure))
        continue
    print(f"{figure:<{widths[0]}}  {value:>{widths[1]}}  {reference:<{widths[2]}}  {goal}".rstrip())
cpu = next((line.split(":", 1)[1].strip() for line in open("/proc/cpuinfo")
            if line.startswith("model name")), "unknown CPU")
print(f"\nMachine: {os.cpu_count()} x {cpu}")
if missed:
    print(f"Goals not met: {', '.join(missed)}")
