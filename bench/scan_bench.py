#!/usr/bin/env python3
"""gravix --scan on generated pages (scripts/pages/make_pages.py), held against the listings
the pages were drawn from. One table: for each face and look, at both resolutions, the share of
lines read exactly, the lines that add up with bytes the page does not hold, the lines left to
check, the lines not found, and the seconds a page took.
Usage: scan_bench.py GRAVIX PAGES_DIR [bench|tune]"""

import collections
import os
import subprocess
import sys
import tempfile
import time

GOALS = {"clean": 97, "scanned": 97, "photo": 60, "phone": 60}  # % exact, for the typewriter-like faces


def adds_up(data, checksum):
    if len(data) != 20 or not checksum.isdigit() or any(c not in "0123456789ABCDEF" for c in data):
        return False
    return sum(int(data[i:i + 2], 16) for i in range(0, 20, 2)) == int(checksum)


def listing(path):
    lines = {}
    for line in open(path):
        fields = line.rstrip("\n").split(" ")
        lines[int(fields[0])] = (fields[1], fields[2] if len(fields) > 2 else "")
    return lines


def main():
    gravix, pages = sys.argv[1], sys.argv[2]
    which = sys.argv[3] if len(sys.argv) > 3 else "bench"
    here = os.path.dirname(os.path.abspath(__file__))
    if not os.path.exists(os.path.join(pages, "groups.txt")):
        # Debian's interpreter: python3-pil and python3-numpy are its packages.
        subprocess.run(["/usr/bin/python3", os.path.join(here, "..", "scripts", "pages",
                                                         "make_pages.py"), which, pages],
                       check=True)
    figures = collections.defaultdict(collections.Counter)
    for group in open(os.path.join(pages, "groups.txt")):
        name, *images = group.split()
        face, look, dpi = name.split("-")
        truth = listing(os.path.join(pages, name + ".txt"))
        with tempfile.TemporaryDirectory() as scratch:
            out = os.path.join(scratch, "listado.txt")
            start = time.monotonic()
            subprocess.run([gravix, "--scan", *[os.path.join(pages, i) for i in images], out],
                           stdout=subprocess.DEVNULL, check=False)
            seconds = time.monotonic() - start
            read = listing(out) if os.path.exists(out) else {}
        f = figures[(face, look, dpi)]
        f["lines"] += len(truth)
        f["pages"] += len(images)
        f["seconds"] += seconds
        f["missing"] += sum(1 for n in truth if n not in read)
        for number, (data, checksum) in read.items():
            if (data, checksum) == truth.get(number):
                f["exact"] += 1
            elif adds_up(data, checksum):
                f["wrong"] += 1
                print(f"  adds up but wrong: {name} {number} {data} {checksum}", file=sys.stderr)
            else:
                f["check"] += 1
    print(f"\ngravix --scan on {which} pages (2 pages of 30 lines a row)")
    print(f"{'face':<11}{'look':<9}{'dpi':>4}{'exact':>8}{'wrong':>7}{'check':>7}{'missing':>9}"
          f"{'s/page':>8}  goal")
    totals = collections.Counter()
    missed = []
    for (face, look, dpi), f in figures.items():
        totals.update(f)
        share = 100 * f["exact"] / f["lines"]
        goal = ""
        if face != "dots":
            met = share >= GOALS[look]
            goal = f">= {GOALS[look]}%: {'met' if met else 'NOT MET'}"
            if not met:
                missed.append(f"{face}-{look}-{dpi}")
        print(f"{face:<11}{look:<9}{dpi:>4}{share:>7.1f}%{f['wrong']:>7}{f['check']:>7}"
              f"{f['missing']:>9}{f['seconds'] / f['pages']:>8.2f}  {goal}")
    print(f"{'all':<24}{100 * totals['exact'] / totals['lines']:>7.1f}%{totals['wrong']:>7}"
          f"{totals['check']:>7}{totals['missing']:>9}{totals['seconds'] / totals['pages']:>8.2f}"
          f"  wrong: 0 goal {'met' if totals['wrong'] == 0 else 'NOT MET'}")
    if missed:
        print(f"Goals not met: {', '.join(missed)}")


if __name__ == "__main__":
    main()
