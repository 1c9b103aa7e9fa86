#!/usr/bin/env python3
"""Times zvx on an ensemble: `zvx edges --jobs 2` over many copies of one
real MP file, against running Zelvatrix once per file (a shell loop, as a
study would script it) and against `cat FILES | wc -l`, the floor of reading
the files at all. Prints the medians and the ratios with their targets.
Called by bench/run.sh, which builds the tools.

Usage: ensemble.py --zvx PATH --zelvatrix PATH --file MP --copies N --runs N

Exit status 0 whatever the figures are; 1 only when a command failed.
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import time

# The same analysis in both tools: axis y, a tenth of the population per
# edge, burn-in 10, cleaning at 3 years.
ZELVATRIX_ARGS = ["2000", "Y", "0.1", ",", "10", "3"]
ZVX_ARGS = ["--start-year", "2000", "--share", "0.1", "--burn-in", "10",
            "--clean", "3"]

# (label, numerator, denominator, target)
TARGETS = [
    ("zvx edges --jobs 2 / Zelvatrix once per file", "zvx", "loop", 0.5),
    ("zvx edges --jobs 2 / cat FILES | wc -l", "zvx", "wc", 1.0),
]


def make_copies(source, folder, copies):
    """The ensemble: real copies, not links, so that each file is read from
    the page cache on its own as in a real study."""
    os.makedirs(folder, exist_ok=True)
    paths = []
    for i in range(copies):
        path = os.path.join(folder, "replicate_%04d.mp" % i)
        if not os.path.exists(path) or os.path.getsize(path) != os.path.getsize(source):
            shutil.copyfile(source, path)
        paths.append(path)
    return paths


def timed(argv):
    start = time.perf_counter()
    result = subprocess.run(argv, stdout=subprocess.DEVNULL,
                            stderr=subprocess.PIPE)
    elapsed = time.perf_counter() - start
    if result.returncode != 0:
        sys.stderr.write("bench: %s failed (%d): %s\n" % (
            argv[0], result.returncode, result.stderr.decode(errors="replace")[:500]))
        sys.exit(1)
    return elapsed


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--zvx", required=True)
    parser.add_argument("--zelvatrix", required=True)
    parser.add_argument("--file", required=True)
    parser.add_argument("--copies", type=int, default=200)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--data", default="bench/data/ensemble")
    parser.add_argument("--smoke", action="store_true",
                        help="a few copies only: show the ratios, judge none")
    args = parser.parse_args()

    files = make_copies(args.file, args.data, args.copies)
    loop = ('z="$1"; shift; for f in "$@"; do "$z" "$f" %s >/dev/null || exit 1; done'
            % " ".join("'%s'" % a for a in ZELVATRIX_ARGS))
    commands = {
        "zvx": [args.zvx, "edges", "--jobs", "2", "-q"] + ZVX_ARGS + files,
        "loop": ["sh", "-c", loop, "sh", args.zelvatrix] + files,
        "wc": ["sh", "-c", 'cat "$@" | wc -l', "sh"] + files,
    }
    medians = {}
    for name, argv in commands.items():
        timed(argv)  # warm-up: page cache and binaries
        medians[name] = statistics.median(timed(argv) for _ in range(args.runs))

    size = sum(os.path.getsize(f) for f in files)
    print("Ensemble: %d copies of %s (%.1f MB in all); median of %d runs "
          "after one warm-up run, %d CPUs." % (
              len(files), os.path.basename(args.file), size / 1e6, args.runs,
              os.cpu_count() or 1))
    print()
    labels = {"zvx": "zvx edges --jobs 2", "loop": "Zelvatrix once per file",
              "wc": "cat FILES | wc -l"}
    print("%-28s %12s" % ("command", "median time"))
    for name in commands:
        print("%-28s %9.1f ms" % (labels[name], medians[name] * 1000))
    print()
    print("%-46s %8s %8s  %s" % ("ratio", "value", "target", "result"))
    for label, numerator, denominator, target in TARGETS:
        value = medians[numerator] / medians[denominator]
        verdict = "PASS" if value <= target else "MISS"
        if args.smoke:
            verdict = "not judged (smoke)"
        print("%-46s %8.3f %8s  %s" % (label, value, "<= %g" % target, verdict))


if __name__ == "__main__":
    main()
