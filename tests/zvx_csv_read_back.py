#!/usr/bin/env python3
"""Reads every zvx table back with Python's csv module, as an analyst
would, and checks that each column has one type: text for names, whole
numbers for years and counts, and floats elsewhere, with NA read as
missing and Inf as infinity, as R's read.csv does.

Usage: zvx_csv_read_back.py ZVX DATA_DIR
"""
import csv
import io
import math
import os
import subprocess
import sys

TEXT = {"file", "baseline", "edge", "patch"}
INTEGER = {"year", "occupied"}


def read_float(text):
    if text == "NA":
        return None
    value = float(text)  # "Inf" and "-Inf" are read as infinities
    if text in ("Inf", "-Inf"):
        assert math.isinf(value), text
    return value


def check(zvx, args, data_dir):
    result = subprocess.run([zvx] + args, cwd=data_dir, capture_output=True,
                            text=True, check=True)
    rows = list(csv.DictReader(io.StringIO(result.stdout, newline="")))
    assert rows, args
    seen = set()
    for row in rows:
        for column, text in row.items():
            assert column is not None and text is not None, (args, row)
            if column in TEXT:
                assert text != "", (args, column)
            elif column in INTEGER:
                int(text)
            else:
                value = read_float(text)
                seen.add("NA" if value is None else
                         "Inf" if math.isinf(value) else "number")
    return rows, seen


def main():
    zvx, data_dir = os.path.abspath(sys.argv[1]), sys.argv[2]
    share = ["--share", "0.25"]
    runs = [
        ["edges"] + share + ["band,1.mp", "band2.mp"],
        ["members"] + share + ["band,1.mp"],
        ["years", "band,1.mp", "drift.mp"],
        ["compare"] + share + ["--burn-in", "1", "band,1.mp", "band2.mp"],
    ]
    seen = set()
    for args in runs:
        rows, kinds = check(zvx, args, data_dir)
        seen |= kinds
        if args[0] in ("edges", "members", "years"):
            # The quoted name with its comma comes back whole.
            assert rows[0]["file"] == "band,1.mp", rows[0]["file"]
    # The fixtures hold every kind of value that a float column may carry.
    assert seen == {"NA", "Inf", "number"}, seen
    print("ok: %d tables read back" % len(runs))


if __name__ == "__main__":
    main()
