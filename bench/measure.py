#!/usr/bin/env python3
"""Times Zelvatrix against wc and awk on the benchmark MP files and prints
the report table with the targets. Called by bench/run.sh, which builds the
tool and prepares the files.

Usage: measure.py --zelvatrix PATH [--floor PATH] --runs N NAME=FILE ...

Case names with a meaning for the targets: S (a real file), R (a large file),
W and N (wide and narrow files for the scaling in the number of patches).

Exit status 0 whatever the figures are; 1 only when a command failed, because
the time of a run that ended in an error says nothing about the tool.
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

# The analysis a user would ask for: axis Y, edges holding a tenth of the
# population, 10 burn-in years, patches occupied for fewer than 3 consecutive
# years dropped; once without and once with smoothing.
ZELVATRIX_ARGS = ["2000", "Y", "0.1", ",", "10", "3"]
SMOOTHING_ARGS = ["sma", "5"]

# Ratios checked, as (label, numerator, denominator, target). A figure is
# (case, command, "time" | "memory") or (case, "size").
TARGETS = [
    ("R: Zelvatrix time / awk time",
     ("R", "Zelvatrix", "time"), ("R", "awk", "time"), 0.15),
    ("R: Zelvatrix time / wc -l time",
     ("R", "Zelvatrix", "time"), ("R", "wc -l", "time"), 4.0),
    ("R: instructions per input byte",
     ("R", "instructions"), ("R", "size"), 6.0),
    ("S: Zelvatrix time / awk time",
     ("S", "Zelvatrix", "time"), ("S", "awk", "time"), 1.0),
    ("R: Zelvatrix peak memory / file size",
     ("R", "Zelvatrix", "memory"), ("R", "size"), 0.5),
    ("Scaling: Zelvatrix time W / time N",
     ("W", "Zelvatrix", "time"), ("N", "Zelvatrix", "time"), 12.0),
]

# Ratios shown for reference, without a target: where the floor lies.
REFERENCES = [
    ("R: read + keep floor / wc -l time",
     ("R", "read + keep floor", "time"), ("R", "wc -l", "time")),
    ("R: Zelvatrix time / floor time",
     ("R", "Zelvatrix", "time"), ("R", "read + keep floor", "time")),
]


def commands(zelvatrix, floor, path):
    """The commands run on one file, by name, in table order. wc -l is the
    floor of reading the file at all; the read + keep floor (bench/
    read_floor.cpp) reads it as Zelvatrix does and holds a double per line,
    parsing nothing; awk summing the first column is what a user could do
    by hand with the value lines."""
    chosen = [
        ("Zelvatrix", [zelvatrix, path] + ZELVATRIX_ARGS),
        ("Zelvatrix sma 5", [zelvatrix, path] + ZELVATRIX_ARGS + SMOOTHING_ARGS),
        ("wc -l", ["wc", "-l", path]),
    ]
    if floor is not None:
        chosen.append(("read + keep floor", [floor, path]))
    chosen.append(("awk", ["awk", "{s+=$1} END {print s}", path]))
    return chosen


class CommandFailed(Exception):
    pass


def peak_memory(argv):
    """Runs the command once under GNU time and returns its maximum resident
    set size in bytes. This is also the warm-up run: afterwards the file is in
    the page cache for every timed run."""
    with tempfile.NamedTemporaryFile(mode="r", suffix=".time") as report:
        done = subprocess.run(["/usr/bin/time", "-f", "%M", "-o", report.name] + argv,
                              stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                              stderr=subprocess.PIPE)
        if done.returncode != 0:
            raise CommandFailed("%s exited with status %d: %s" % (
                " ".join(argv), done.returncode,
                done.stderr.decode("utf-8", "replace").strip()[:500]))
        # GNU time puts a status note before the figure when the command
        # fails; the figure is always the last line.
        return int(report.read().split()[-1]) * 1024


def wall_time(argv):
    """One timed run, in seconds. Not under GNU time, whose own start-up
    would be counted on the small files."""
    start = time.perf_counter()
    done = subprocess.run(argv, stdin=subprocess.DEVNULL,
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    elapsed = time.perf_counter() - start
    if done.returncode != 0:
        raise CommandFailed("%s exited with status %d" % (" ".join(argv), done.returncode))
    return elapsed


def measure_case(zelvatrix, floor, path, runs):
    """Median wall time and peak memory of every command on one file.
    The timed runs of the commands are interleaved, so that a slow spell of
    the machine (another job, frequency scaling) spreads over all commands
    instead of spoiling the ratio between two of them."""
    cmds = commands(zelvatrix, floor, path)
    memory = {name: peak_memory(argv) for name, argv in cmds}
    times = {name: [] for name, _ in cmds}
    for run in range(runs):
        # Each round starts one command further on: a command run right
        # after a long one (awk) is slower by a few milliseconds on a
        # shared machine, and the rotation spreads that over all of them.
        start = run % len(cmds)
        for name, argv in cmds[start:] + cmds[:start]:
            times[name].append(wall_time(argv))
    return {name: (statistics.median(times[name]), memory[name]) for name, _ in cmds}


def megabytes(n):
    return "%.1f MB" % (n / 1e6) if n >= 1e6 else "%.1f kB" % (n / 1e3)


def milliseconds(seconds):
    return "%.1f ms" % (seconds * 1e3)


def instructions(zelvatrix, path):
    """The exact number of instructions one run executes, counted by
    valgrind's callgrind: unlike a time it does not move with the machine's
    load. None when valgrind is not installed."""
    if shutil.which("valgrind") is None:
        return None
    with tempfile.TemporaryDirectory() as folder:
        done = subprocess.run(
            ["valgrind", "--tool=callgrind",
             "--callgrind-out-file=" + os.path.join(folder, "callgrind.out"),
             zelvatrix, path] + ZELVATRIX_ARGS,
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.PIPE)
        if done.returncode != 0:
            raise CommandFailed("callgrind run exited with status %d" % done.returncode)
        for line in done.stderr.decode("utf-8", "replace").splitlines():
            if "Collected :" in line:
                return int(line.split(":")[-1])
    raise CommandFailed("callgrind reported no instruction count")


def figure(results, sizes, key):
    if key[1] == "size":
        return sizes.get(key[0])
    if key[1] == "instructions":
        return sizes.get(key[0] + " instructions")
    case, command, kind = key
    if case not in results:
        return None
    median, memory = results[case][command]
    return median if kind == "time" else memory


def awk_name():
    """Which awk answered: mawk and gawk differ by a factor of several."""
    path = shutil.which("awk")
    return os.path.basename(os.path.realpath(path)) if path else "awk"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--zelvatrix", required=True, help="the Zelvatrix binary")
    parser.add_argument("--floor", help="the read_floor binary (bench/read_floor.cpp)")
    parser.add_argument("--runs", type=int, default=5, help="timed runs per command")
    parser.add_argument("--smoke", action="store_true",
                        help="tiny files: show the ratios without judging them")
    parser.add_argument("cases", nargs="+", metavar="NAME=FILE")
    args = parser.parse_args()

    cases = [c.split("=", 1) for c in args.cases]
    sizes = {name: os.path.getsize(path) for name, path in cases}
    results = {}
    failures = []
    print("Median of %d timed runs after one warm-up run; peak memory is the "
          "maximum resident set size. awk is %s, %d CPUs."
          % (args.runs, awk_name(), os.cpu_count() or 0))
    print("Zelvatrix arguments: FILE %s [%s]" % (" ".join(ZELVATRIX_ARGS), " ".join(SMOOTHING_ARGS)))
    print()
    row = "%-5s %-10s %-18s %12s %12s"  # case, size, command, time, memory
    print(row % ("case", "file size", "command", "median time", "peak memory"))
    for name, path in cases:
        try:
            results[name] = measure_case(args.zelvatrix, args.floor, path, args.runs)
        except CommandFailed as failure:
            failures.append("%s: %s" % (name, failure))
            print(row % (name, megabytes(sizes[name]), "(failed)", "-", "-"))
            continue
        for i, (command, (median, memory)) in enumerate(results[name].items()):
            print(row % (name if i == 0 else "", megabytes(sizes[name]) if i == 0 else "",
                         command, milliseconds(median), megabytes(memory)))
        sys.stdout.flush()  # the large cases take a while; show each as it ends

    if "R" in results:
        try:
            count = instructions(args.zelvatrix, dict(cases)["R"])
        except CommandFailed as failure:
            failures.append("R: %s" % failure)
            count = None
        print()
        if count is None:
            print("R: instruction count skipped (valgrind not found or failed)")
        else:
            sizes["R instructions"] = count
            print("R: %d instructions by callgrind for %d bytes: %.2f per byte"
                  % (count, sizes["R"], count / sizes["R"]))

    print()
    line = "%-38s %8s %8s  %s"
    print(line % ("ratio", "value", "target", "result"))
    for label, top, bottom, target in TARGETS:
        a, b = figure(results, sizes, top), figure(results, sizes, bottom)
        if a is None or b is None:
            print(line % (label, "n/a", "<= %g" % target, "SKIPPED"))
            continue
        value = a / b
        # On tiny files start-up dominates and the ratios mean nothing.
        verdict = ("not judged (smoke)" if args.smoke
                   else "PASS" if value <= target else "FAIL")
        print(line % (label, "%.3f" % value, "<= %g" % target, verdict))
    for label, top, bottom in REFERENCES:
        a, b = figure(results, sizes, top), figure(results, sizes, bottom)
        if a is not None and b is not None:
            print(line % (label, "%.3f" % (a / b), "-", "for reference"))

    sys.stdout.flush()  # keep the errors after the table they refer to
    for failure in failures:
        print("error: " + failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
