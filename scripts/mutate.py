#!/usr/bin/env python3
"""A mutation run of the test suite: does it notice a small fault in the logic?

One simple change at a time goes into a copy of the tree: a comparison flipped, an arithmetic
operator changed, a constant moved by one, a condition negated, a statement deleted. The copy is
rebuilt (only what changed) and the fast tests run: the unit tests, then the Linux end-to-end
tests (not wine, not the sanitizers). A mutant some test fails on is killed; one every test
passes survived, and is either a gap in the tests or an equivalent mutant that no test could
tell from the original (those are listed in scripts/mutate-equivalent.txt and left out of the
score). A fixed seed picks a fixed sample, so two runs compare.

With --matrix every test runs on every mutant (no stop at the first failure), and the run ends
with which mutants each test kills: a test that kills none that no other test kills is one the
suite could do without, as far as these mutants tell.

Usage: scripts/mutate.py [--count 150] [--seed 20261207] [--build build/mutate] [--list]
                         [--only REGEX] [--matrix]
"""

import argparse
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
# Every floor's logic: all of src/ but the Windows bindings (not built here) and the in-memory
# console, which is the tests' own seam.
LOGIC = ["src/*/*.cc", "src/*/linux/*.cc", "src/*/tesseract/*.cc"]
NOT_LOGIC = re.compile(r"^src/(console|platform)/(windows|memory)/")
EQUIVALENT = ROOT / "scripts" / "mutate-equivalent.txt"
# Statements that declare something: deleting them only stops the build.
DECLARATION = re.compile(r"^(const|constexpr|static|auto|bool|char|int|size_t|uint\w*|int\w*|"
                         r"std::|struct|using|namespace|enum|[A-Z]\w*(&|\s+\w+\s*[=({;]))")


def Masked(line):
    """The line with string and character literals and comments blanked, positions kept."""
    out, i, quote = [], 0, None
    while i < len(line):
        c = line[i]
        if quote:
            out.append(" ")
            if c == "\\":
                out.append(" ")
                i += 1
            elif c == quote:
                quote = None
        elif c in "\"'":
            quote = c
            out.append(" ")
        elif line.startswith("//", i):
            out.append(" " * (len(line) - i))
            break
        else:
            out.append(c)
        i += 1
    return "".join(out)


def ClosingParen(text, start):
    depth = 0
    for i in range(start, len(text)):
        depth += {"(": 1, ")": -1}.get(text[i], 0)
        if depth == 0:
            return i
    return -1


def MutantsOf(path):
    """(line number, description, mutated line) for every mutation of one file, in order."""
    mutants = []
    lines = path.read_text().split("\n")
    swaps = {" < ": " <= ", " <= ": " < ", " > ": " >= ", " >= ": " > ", " == ": " != ",
             " != ": " == ", " + ": " - ", " - ": " + ", " * ": " / ", " += ": " -= ",
             " -= ": " += ", "++": "--", "--": "++"}
    for number, line in enumerate(lines, 1):
        stripped = line.strip()
        if not stripped or stripped.startswith(("#", "//", "*", "/*")):
            continue
        masked = Masked(line)
        for old, new in swaps.items():
            for match in re.finditer(re.escape(old), masked):
                at = match.start()
                if old in ("++", "--") and masked[at:at + 3] in ("+++", "---"):
                    continue
                if old in (" + ", " - ") and masked[at:at + 4] in (" += ", " -= "):
                    continue
                mutants.append((number, f"'{old.strip()}' -> '{new.strip()}'",
                                line[:at] + new + line[at + len(old):]))
        for match in re.finditer(r"(?<![\w.])(\d+)(?![\w.])", masked):
            value = int(match.group(1))
            for moved in (value + 1, value - 1):
                if moved >= 0:
                    mutants.append((number, f"{value} -> {moved}",
                                    line[:match.start()] + str(moved) + line[match.end():]))
        for match in re.finditer(r"\b(if|while) \(", masked):
            open_at = match.end() - 1
            close_at = ClosingParen(masked, open_at)
            if close_at > 0:
                condition = line[open_at + 1:close_at]
                mutants.append((number, f"{match.group(1)} negated",
                                line[:open_at + 1] + "!(" + condition + ")" + line[close_at:]))
        if (masked.rstrip().endswith(";") and not DECLARATION.match(stripped)
                and not stripped.startswith(("return", "}", "{")) and stripped.count(";") == 1
                and lines[number - 2].rstrip().endswith((";", "{", "}", ":"))):
            indent = line[:len(line) - len(line.lstrip())]
            mutants.append((number, "statement deleted", indent + ";"))
    return mutants


def Equivalents():
    if not EQUIVALENT.exists():
        return set()
    keys = set()
    for entry in EQUIVALENT.read_text().split("\n"):
        if entry.strip() and not entry.startswith("#"):
            keys.add(entry.split(" # ")[0].strip())
    return keys


def Key(file, description, lines, number):
    """file | mutation | original line; a line that repeats an earlier one adds | its place."""
    text = lines[number - 1].strip()
    place = 1 + [line.strip() for line in lines[:number - 1]].count(text)
    return f"{file} | {description} | {text}" + (f" | {place}" if place > 1 else "")


def Run(command, cwd, timeout, log, env=None):
    process = subprocess.Popen(command, cwd=cwd, stdout=log, stderr=subprocess.STDOUT,
                               start_new_session=True, env=env)
    try:
        return process.wait(timeout=timeout) == 0
    except subprocess.TimeoutExpired:
        # A mutant that hangs a test's forked child hangs it with end signals blocked; the
        # program in its own terminal session may spin on after its test is gone.
        os.killpg(process.pid, signal.SIGKILL)
        process.wait()
        for entry in Path("/proc").glob("[0-9]*"):
            try:
                if Path(cwd, "gravix").resolve() == (entry / "exe").resolve():
                    os.kill(int(entry.name), signal.SIGKILL)
            except OSError:
                pass
        return False


def CopyTree(tree):
    files = subprocess.run(["git", "ls-files", "--cached", "--others", "--exclude-standard"],
                           cwd=ROOT, check=True, capture_output=True, text=True).stdout.split()
    for name in files:
        source, target = ROOT / name, tree / name
        if source.is_file() and (not target.exists() or
                                 target.read_bytes() != source.read_bytes()):
            target.parent.mkdir(parents=True, exist_ok=True)
            shutil.copyfile(source, target)  # a fresh time, so make rebuilds it
    kept = {tree / name for name in files}
    for target in [path for path in tree.rglob("*") if path.is_file() and path not in kept]:
        target.unlink()  # gone from the tree since the last run


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--count", type=int, default=100)
    parser.add_argument("--seed", type=int, default=20261207)
    parser.add_argument("--build", default="build/mutate")
    parser.add_argument("--list", action="store_true", help="only list the sample")
    parser.add_argument("--only", metavar="REGEX",
                        help="instead of the sample, every mutant whose 'file:line: mutation' matches")
    parser.add_argument("--matrix", action="store_true",
                        help="run every test on every mutant and report each test's kills")
    options = parser.parse_args()

    files = sorted({p for pattern in LOGIC for p in ROOT.glob(pattern)
                    if not NOT_LOGIC.match(p.relative_to(ROOT).as_posix())})
    everything = [(f.relative_to(ROOT).as_posix(), *m) for f in files for m in MutantsOf(f)]
    sample = random.Random(options.seed).sample(everything, min(options.count, len(everything)))
    if options.only:
        sample = [m for m in everything if re.search(options.only, f"{m[0]}:{m[1]}: {m[2]}")]
    sample.sort()
    if options.list:
        for file, number, description, _ in sample:
            print(f"{file}:{number}: {description}")
        print(f"{len(sample)} of {len(everything)} mutants")
        return 0

    work = (ROOT / options.build).resolve()
    tree, build = work / "tree", work / "build"
    tree.mkdir(parents=True, exist_ok=True)
    CopyTree(tree)
    log = open(work / "mutate.log", "w")
    jobs = str(os.cpu_count() or 2)
    configure = ["cmake", "-S", str(tree), "-B", str(build), "-DCMAKE_BUILD_TYPE=Debug",
                 "-DCMAKE_CXX_FLAGS=-O0 -g0", "-DGRAVIX_TESTS=ON", "-DGRAVIX_WERROR=OFF"]
    targets = ["--target", "gravix", "gravix_tests", "gravix_e2e"]
    fast = [] if options.matrix else ["--gtest_fail_fast"]
    unit = [str(build / "gravix_tests"), "--gtest_brief=1"] + fast
    e2e = [str(build / "gravix_e2e"), "--gtest_brief=1", "--gtest_filter=-Wine.*"] + fast
    # A test a mutant ends midway leaves its temporary folder behind: they go here, emptied after.
    scratch = work / "tmp"
    tests = dict(os.environ, TMPDIR=str(scratch))

    failed = set()  # the tests that failed on the current mutant, for --matrix

    def Passes(command, timeout):
        scratch.mkdir(exist_ok=True)
        output = work / "test-output.log"
        try:
            with open(output, "w") as out:
                passed = Run(command, build, timeout, out, tests)
            text = output.read_text(errors="replace")
            log.write(text)
            named = set(re.findall(r"^\[  FAILED  \] (\S+) \(", text, re.M))
            if not named and not passed:  # a crash or a hang names no test
                named = {Path(command[0]).name + " (crash or hang)"}
            failed.update(named)
            return passed
        finally:
            shutil.rmtree(scratch, ignore_errors=True)

    if not (Run(configure, tree, 600, log) and
            Run(["cmake", "--build", str(build), "-j", jobs] + targets, tree, 1800, log) and
            Passes(unit, 300) and Passes(e2e, 600)):
        print(f"The unmutated tree does not build or pass its tests: see {work}/mutate.log")
        return 1

    def AllPass():  # the unit tests, then e2e: skipped once a unit test failed, but for --matrix
        failed.clear()
        unitPassed = Passes(unit, 120)
        if not unitPassed and not options.matrix:
            return False
        return Passes(e2e, 300) and unitPassed

    equivalent = Equivalents()
    results = {}  # file -> [killed, survived, not compiled, equivalent]
    kills = {}  # test -> the mutants it failed on
    survivors = []
    started = time.monotonic()
    for k, (file, number, description, mutated) in enumerate(sample, 1):
        path = tree / file
        original = path.read_text()
        lines = original.split("\n")
        key = Key(file, description, lines, number)
        lines[number - 1] = mutated
        path.write_text("\n".join(lines))
        print(f"[{k}/{len(sample)}] {file}:{number}: {description} ... ", end="", flush=True)
        log.write(f"\n=== {file}:{number}: {description}\n{mutated}\n")
        log.flush()
        counts = results.setdefault(file, [0, 0, 0, 0])
        if not Run(["cmake", "--build", str(build), "-j", jobs] + targets, tree, 600, log):
            outcome, slot = "not compiled", 2
        elif not AllPass():
            outcome, slot = "killed", 0
            for test in failed:
                kills.setdefault(test, set()).add(k)
        elif key in equivalent:
            outcome, slot = "equivalent", 3
        else:
            outcome, slot = "SURVIVED", 1
            survivors.append(f"{file}:{number}: {description}: {mutated.strip()}")
        counts[slot] += 1
        print(outcome, flush=True)
        path.write_text(original)
    # Leave the copy built as the tree is, for the next run.
    Run(["cmake", "--build", str(build), "-j", jobs] + targets, tree, 600, log)

    minutes = (time.monotonic() - started) / 60
    print(f"\n{'file':44} killed survived not-compiled equivalent")
    total = [0, 0, 0, 0]
    for file, counts in sorted(results.items()):
        print(f"{file:44} {counts[0]:6} {counts[1]:8} {counts[2]:12} {counts[3]:10}")
        total = [a + b for a, b in zip(total, counts)]
    print(f"{'all':44} {total[0]:6} {total[1]:8} {total[2]:12} {total[3]:10}")
    if survivors:
        print("\nSurvivors:")
        for survivor in survivors:
            print("  " + survivor)
    if options.matrix:
        alone = {test: {m for m in mutants if not any(m in other for t, other in kills.items()
                                                      if t != test)}
                 for test, mutants in kills.items()}
        print(f"\n{'test':70} kills alone")
        for test in sorted(kills, key=lambda t: (len(alone[t]), len(kills[t]))):
            print(f"{test:70} {len(kills[test]):5} {len(alone[test]):5}")
        print("A test not listed failed on no mutant.")
    checked = total[0] + total[1]
    score = total[0] / checked if checked else 1.0
    print(f"\nScore {score:.2f} ({total[0]} killed of {checked}), {minutes:.0f} minutes")
    return 0


if __name__ == "__main__":
    sys.exit(main())
