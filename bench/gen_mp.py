#!/usr/bin/env python3
"""Writes a synthetic MP file for benchmarking Zelvatrix.

The file has the layout of a real file saved by the population model after a
simulation: version line, title and comments, settings up to line 44, one line
per habitat patch, the dispersal and correlation settings, and the results
(mean, st. dev., min and max over 1000 replications per year, for all patches
together, for every patch, and for occupancy).

The populations follow a species whose range moves south (towards larger y,
because map y grows southwards) over the simulated years: patches ahead of the
range are colonised a few years after the range reaches them, patches behind it
die out, some habitat is never colonised, and a few patches hold a short-lived
population for only one or two years, which is what patch cleaning removes.
The same arguments always give the same bytes.

Usage: gen_mp.py PATCHES YEARS OUTPUT [--seed N] [--median-capacity K]
"""

import argparse
import math
import os
import random
import sys

CRLF = "\r\n"  # most real files were saved on Windows
ZERO_LINE = "0 0 0 0"  # a patch that is empty in every replication

# Texts that open the patch section or set the resolution when they appear in
# a line. The free-text lines before the patch list must avoid them, as those
# of the real files do; only the resolution line carries "km" on purpose.
MARKERS = ("Pop", ".KCH", ".DCH", "km", "Migration")

# Real settings lines 9 to 44 of a version 5.1 file (catastrophes, density
# dependence, sex structure, ...). Their values do not matter to the reader,
# their number does: the patch list starts on line 45.
SETTINGS = [
    "TRUE", "1 FALSE", "Catastr.1", "0", "Regional", "Vital Rates",
    "not spread", "0.0000", "0.0000,0.0000,0.0000,0.0000", "Catastr.2", "0",
    "Local", "Vital Rates", "not spread", "0.0000",
    "0.0000,0.0000,0.0000,0.0000", "False,Zero", "all vital rates",
    "Lognormal,0", "0.000000", "count in total", "1 (F, S, K correlated)",
    "Yes", "AllStages", "No", "Ceiling", "", "1", "years", "OnlyFemale", "1",
    "Monogamous", "2.0", "2.0", "0.0000", "0",
]

# What a model with one stage and a distance-based dispersal function writes
# between the patch list and the results (no explicit dispersal matrix, which
# would add patches x patches numbers).
MIDDLE = [
    "Migration", "TRUE", "0.150,12.00000,1.00000,40.00000",
    "Correlation", "TRUE", "0.990,60.00000,1.00000",
    "1 type(s) of stage matrix", "default", "1.000000", "1.000000", "0",
    "1.120000", "1 type(s) of st.dev. matrix", "default", "0.150000",
    "Constraints Matrix", "0.000000", "1", "1.000000", "Adults", "0", "1",
    "TRUE", "0 (pop mgmnt)", "0", "0", "0",
    "Simulation results 3/14/2026 10:02:41", "1000 replications",
    " Mean  StDev Min Max",
]

NEVER_COLONISED = 0.08  # share of patches the species never reaches
SHORT_LIVED = 0.04      # share of patches occupied for only 1 or 2 years
LOCAL_EXTINCTION = 0.01  # yearly chance that an occupied patch is empty
EMPTY_MEAN = 0.005      # a mean below 1 in 200 replications is written as 0


def four_digits(value):
    """Formats a mean or st. dev. with about 4 significant digits, as the
    model writes them: 30680, 417.5, 45.27, 6.525, 0.0060."""
    if value >= 999.5:
        return "%.0f" % value
    if value >= 99.995:
        return "%.1f" % value
    if value >= 9.9995:
        return "%.2f" % value
    if value >= 0.99995:
        return "%.3f" % value
    return "%.4f" % value


def value_line(mean, sd, low_tail, high_tail):
    """One result line: mean, st. dev., min and max over the replications.
    Replicate populations are skewed: a few crashes pull the minimum far
    below the mean while the ceiling keeps the maximum close to it."""
    low = max(0, int(mean - low_tail * sd))
    high = max(1, int(mean + high_tail * sd + 0.5))
    return "%s %s %d %d" % (four_digits(mean), four_digits(sd), low, high)


def normal(rng):
    """A standard normal deviate by Box-Muller from rng.random() alone, so
    that the output does not depend on how a Python version draws normals."""
    u = 1.0 - rng.random()
    return math.sqrt(-2.0 * math.log(u)) * math.cos(2.0 * math.pi * rng.random())


def landscape(rng, patches):
    """Places the patches on cells of a grid three times as long (y) as wide
    (x), about 60 % of the cells being habitat, numbered row by row as a GIS
    numbers patches found in a raster. Coordinates are in cell units; a
    patch's centroid need not be a cell centre when it spans several cells."""
    cells = math.ceil(patches / 0.6)
    cols = max(1, round(math.sqrt(cells / 3.0)))
    rows = math.ceil(cells / cols)
    offsets = (0.5, 0.5, 0.5, 0.25, 0.333, 0.667, 0.75)
    places = []
    for cell in sorted(rng.sample(range(rows * cols), patches)):
        row, col = divmod(cell, cols)
        places.append((col + rng.choice(offsets), row + rng.choice(offsets)))
    return places, cols, rows


def patch_years(rng, y, capacity, years, rows, totals, variances, occupied):
    """The result lines of one patch, year by year, and its share of the
    yearly totals. Returns the lines and the initial abundance."""
    lines = [ZERO_LINE] * years
    kind = rng.random()
    if kind < NEVER_COLONISED:
        return lines, 0

    cv = 0.12 + 0.15 * rng.random()  # spread between replications
    low_tail = 3.0 + 3.0 * rng.random()
    high_tail = 0.8 + 1.2 * rng.random()

    def put(t, mean):
        variance = mean + (cv * mean) ** 2  # demographic plus environmental
        lines[t] = value_line(mean, math.sqrt(variance), low_tail, high_tail)
        totals[t] += mean
        variances[t] += variance
        occupied[t] += 1

    if kind < NEVER_COLONISED + SHORT_LIVED:
        # A colonisation that fails after a year or two.
        length = 1 if years < 2 or rng.random() < 0.5 else 2
        start = rng.randrange(years - length + 1)
        for t in range(start, start + length):
            put(t, 0.02 + 3.0 * rng.random())
        return lines, 0

    # The occupied range is a band of half-width `half` whose centre moves from
    # 30 % to 70 % of the map's length. Inside it abundance is near carrying
    # capacity, falling off towards both edges.
    half = 0.4 * rows
    start_centre, end_centre = 0.3 * rows, 0.7 * rows
    step = (end_centre - start_centre) / max(1, years - 1)
    lag = rng.randrange(7)  # years between the range arriving and settlement
    phase = rng.random() * 2.0 * math.pi
    first = None
    initial = 0
    for t in range(years):
        d = (y - (start_centre + step * t)) / half
        if not -1.0 < d < 1.0:
            continue
        if first is None:
            # Patches inside the range from the start are long settled.
            first = -4 if t == 0 else t + lag
        if t < first or rng.random() < LOCAL_EXTINCTION:
            continue
        growth = min(1.0, (t - first + 1) / 4.0)  # a new population builds up
        weather = 1.0 + 0.12 * math.sin(2.0 * math.pi * t / 11.0 + phase)
        noise = 0.85 + 0.3 * rng.random()
        mean = capacity * (1.0 - d ** 4) * growth * weather * noise
        if mean < EMPTY_MEAN:
            continue
        put(t, mean)
        if t == 0:
            initial = int(mean + 0.5)
    return lines, initial


def generate(patches, years, seed, out, median_capacity=8000):
    rng = random.Random(seed)
    places, cols, rows = landscape(rng, patches)

    head = [
        "Metapopulation input file (5.1) map=\xff",  # byte 0xFF, as in 5.1 files
        "Synthetic range shift, seed %d" % seed,
        "Cell length 2.5 km",
        "Habitat on a %d x %d cell grid" % (cols, rows),
        "Range moves south over the simulation",
        "",
        "1000",
        str(years),
    ] + SETTINGS
    assert len(head) == 44
    for line in head[:6]:
        assert line == "Cell length 2.5 km" or not any(m in line for m in MARKERS), line

    totals = [0.0] * years
    variances = [0.0] * years
    occupied = [0] * years
    patch_lines = []
    blocks = []
    for k, (x, y) in enumerate(places, start=1):
        capacity = min(25 * median_capacity, max(10, int(math.exp(
            math.log(median_capacity) + 1.1 * normal(rng)))))
        lines, initial = patch_years(rng, y, capacity, years, rows,
                                     totals, variances, occupied)
        patch_lines.append(
            "Pop %d,%.3f,%.3f,%d,Ceiling,1.12,%d,0,0,pop%d.KCH,0,1,0,TRUE,1,1,1,"
            "0,1,0,1,%d,0,0,1,1,1," % (k, x, y, initial, capacity, k, capacity))
        blocks.append("Pop. %d%s%s%s" % (k, CRLF, CRLF.join(lines), CRLF))

    # Replicates of neighbouring patches rise and fall together, so the
    # spread of the total is wider than that of independent patches.
    all_lines = []
    occupancy_lines = []
    for t in range(years):
        if totals[t] > 0:
            all_lines.append(value_line(totals[t], 2.0 * math.sqrt(variances[t]), 3.5, 1.5))
        else:
            all_lines.append(ZERO_LINE)
        n = occupied[t]
        if n > 0:
            spread = 0.1 * math.sqrt(n)
            occupancy_lines.append("%s %s %d %d" % (
                four_digits(n - 0.5 * spread), four_digits(spread),
                max(0, int(n - 4 * spread)), min(patches, int(n + 2 * spread + 0.5))))
        else:
            occupancy_lines.append(ZERO_LINE)

    front = head + patch_lines + MIDDLE + ["Pop. ALL"] + all_lines
    back = ["Occupancy"] + occupancy_lines + ["-End of file-"]

    # Write to a temporary name first, so that an interrupted run never leaves
    # a truncated file that a later run would take as finished.
    temporary = out + ".part"
    with open(temporary, "wb") as f:
        f.write((CRLF.join(front) + CRLF).encode("latin-1"))
        chunk, size = [], 0
        for block in blocks:
            chunk.append(block)
            size += len(block)
            if size >= 1 << 23:
                f.write("".join(chunk).encode("ascii"))
                chunk, size = [], 0
        chunk.append(CRLF.join(back) + CRLF)
        f.write("".join(chunk).encode("ascii"))
    os.replace(temporary, out)


def main():
    parser = argparse.ArgumentParser(
        description="Write a synthetic MP file with a shifting species range.")
    parser.add_argument("patches", type=int, help="number of habitat patches")
    parser.add_argument("years", type=int, help="number of simulated years")
    parser.add_argument("output", help="path of the MP file to write")
    parser.add_argument("--seed", type=int, default=1,
                        help="random seed (default 1)")
    parser.add_argument("--median-capacity", type=int, default=8000,
                        help="median carrying capacity of a patch (default "
                             "8000); stage-structured models of abundant "
                             "species reach millions")
    args = parser.parse_args()
    if args.patches < 1 or args.years < 1:
        parser.error("PATCHES and YEARS must be at least 1")
    if args.median_capacity < 10:
        parser.error("--median-capacity must be at least 10")
    generate(args.patches, args.years, args.seed, args.output,
             args.median_capacity)


if __name__ == "__main__":
    sys.exit(main())
