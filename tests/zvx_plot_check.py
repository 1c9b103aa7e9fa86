#!/usr/bin/env python3
"""Reads the SVG of zvx plot as a program would: it must parse as XML, each
line must have one point per year with a value and a gap where the table
says NA, its points must sit where the axes put the values, and the band of
--ensemble must carry the numbers of the --ensemble tables.

Usage: zvx_plot_check.py ZVX SOURCE_DIR WORK_DIR
"""

import csv
import io
import os
import shutil
import subprocess
import sys
import unittest
import xml.etree.ElementTree as ET

ZVX, SOURCE, WORK = sys.argv[1:4]
SVG = "{http://www.w3.org/2000/svg}"
DATA = os.path.join(SOURCE, "tests", "data")
FIXTURES = [os.path.join(DATA, "ensemble_%s.mp" % k) for k in "abcd"]


def zvx(*args):
    return subprocess.run([ZVX, *args, "-q"], capture_output=True, text=True)


def table(*args):
    result = zvx(*args)
    assert result.returncode == 0, result.stderr
    return list(csv.DictReader(io.StringIO(result.stdout)))


def plot(name, *args):
    path = os.path.join(WORK, name)
    result = zvx("plot", "--output", path, *args)
    return result, ET.parse(path).getroot()


def segments(group):
    """The runs of a line or band: (years, element), in drawing order."""
    for element in group:
        years = [int(y) for y in element.get("data-years").split()]
        yield years, element


def points(element):
    if element.tag == SVG + "circle":
        return [(float(element.get("cx")), float(element.get("cy")))]
    return [tuple(map(float, p.split(","))) for p in element.get("points").split()]


class AffineCheck:
    """Pixel = a + b * value must hold for every point of a panel."""

    def __init__(self):
        self.pairs = []

    def add(self, value, pixel):
        self.pairs.append((value, pixel))

    def check(self, test):
        lo = min(self.pairs)
        hi = max(self.pairs)
        test.assertNotEqual(lo[0], hi[0])
        b = (hi[1] - lo[1]) / (hi[0] - lo[0])
        for value, pixel in self.pairs:
            test.assertAlmostEqual(pixel, lo[1] + b * (value - lo[0]), delta=0.011)


class PerFilePlot(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        # A file name that XML must escape.
        cls.odd = os.path.join(WORK, 'a&b <"c">.mp')
        shutil.copy(FIXTURES[3], cls.odd)
        cls.files = FIXTURES[:3] + [cls.odd]
        cls.result, cls.root = plot("files.svg", *cls.files)

    def test_every_line_matches_its_table_with_gaps_at_na(self):
        self.assertEqual(self.result.returncode, 0, self.result.stderr)
        rows = table("edges", *self.files)
        areas = table("years", *self.files)
        seen = set()
        for panel in self.root.iter(SVG + "g"):
            if panel.get("class") != "panel":
                continue
            xs, ys = AffineCheck(), AffineCheck()
            for group in panel.iter(SVG + "g"):
                if group.get("class") != "line":
                    continue
                file, series = group.get("data-file"), group.get("data-series")
                seen.add((file, series))
                if series == "area":
                    expected = {int(r["year"]): r["area_km2"] for r in areas
                                if r["file"] == file}
                else:
                    expected = {int(r["year"]): r["y"] for r in rows
                                if r["file"] == file and r["edge"] == series}
                drawn = {}
                runs = list(segments(group))
                for years, element in runs:
                    values = element.get("data-values").split()
                    self.assertEqual(len(years), len(values))
                    self.assertEqual(len(points(element)), len(years))
                    # A run is consecutive years.
                    self.assertEqual(years, list(range(years[0], years[-1] + 1)))
                    for year, value, (x, y) in zip(years, values, points(element)):
                        drawn[year] = value
                        xs.add(year, x)
                        ys.add(float(value), y)
                # One point per year with a value, none for NA ...
                self.assertEqual(drawn, {y: v for y, v in expected.items() if v != "NA"},
                                 (file, series))
                # ... and the runs break exactly where a year is NA.
                for (before, _), (after, _) in zip(runs, runs[1:]):
                    gap = range(before[-1] + 1, after[0])
                    self.assertTrue(gap and all(expected[y] == "NA" for y in gap))
            xs.check(self)
            ys.check(self)
        self.assertEqual(seen, {(f, s) for f in self.files
                                for s in ("north", "south", "area")})

    def test_lone_year_between_gaps_is_a_dot(self):
        # ensemble_d: north 40, 1, NA, 40: a polyline for 1-2, a dot for 4.
        groups = [g for g in self.root.iter(SVG + "g")
                  if g.get("data-file") == self.odd and g.get("data-series") == "north"]
        self.assertEqual([(y, e.tag) for y, e in segments(groups[0])],
                         [([1, 2], SVG + "polyline"), ([4], SVG + "circle")])

    def test_title_states_the_options(self):
        texts = [t.text for t in self.root.iter(SVG + "text")]
        self.assertIn("Range edges and occupied area of 4 files", texts)
        self.assertIn("axis y, share 0.1, burn-in 0, cleaning none, smoothing none, "
                      "plain edge centroids", texts)


class EnsemblePlot(unittest.TestCase):
    def test_band_and_median_carry_the_ensemble_tables(self):
        result, root = plot("ensemble.svg", "--ensemble", *FIXTURES)
        self.assertEqual(result.returncode, 0, result.stderr)
        expected = {}
        for r in table("edges", "--ensemble", *FIXTURES):
            expected[(r["edge"], int(r["year"]))] = r
        for r in table("years", "--ensemble", *FIXTURES):
            expected[("area", int(r["year"]))] = r
        drawn = {}
        for group in root.iter(SVG + "g"):
            kind, series = group.get("class"), group.get("data-series")
            if kind not in ("band", "line"):
                continue
            for years, element in segments(group):
                if kind == "band":
                    lows = element.get("data-lower").split()
                    ups = element.get("data-upper").split()
                    for year, low, up in zip(years, lows, ups):
                        drawn.setdefault((series, year), {}).update(lower=low, upper=up)
                else:
                    for year, median in zip(years, element.get("data-values").split()):
                        drawn.setdefault((series, year), {})["median"] = median
        want = {key: {k: r[k] for k in ("median", "lower", "upper")}
                for key, r in expected.items() if r["n"] != "0"}
        self.assertEqual(drawn, want)
        # Year 3 has no edge value in any file: a gap in both band and line.
        self.assertNotIn(("north", 3), drawn)
        legend = " ".join(t.text for t in root.iter(SVG + "text"))
        self.assertIn("across n = 1 to 4 files per year", legend)


class FailedFile(unittest.TestCase):
    def test_plot_of_the_others_is_written_with_status_1(self):
        missing = os.path.join(WORK, "missing.mp")
        result, root = plot("failed.svg", FIXTURES[0], missing)
        self.assertEqual(result.returncode, 1)
        self.assertIn(missing + ": ", result.stderr)
        self.assertIn("zvx plot: 1 of 2 files failed", result.stderr)
        texts = [t.text for t in root.iter(SVG + "text")]
        self.assertIn("Range edges and occupied area of 1 file (1 failed)", texts)


if __name__ == "__main__":
    os.makedirs(WORK, exist_ok=True)
    unittest.main(argv=sys.argv[:1], verbosity=2)
