#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "TPointTools.h"

namespace {

using Coords = std::vector<std::pair<double, double>>;

std::vector<TPoint> Points(const Coords& coords) {
  std::vector<TPoint> points;
  for (const auto& [x, y] : coords) points.emplace_back(x, y);
  return points;
}

Coords CoordsOf(const std::vector<TPoint>& points) {
  Coords coords;
  for (const TPoint& point : points) coords.emplace_back(point.X(), point.Y());
  return coords;
}

// The coordinates as text, for failure messages.
std::string Describe(const Coords& coords) {
  std::ostringstream text;
  for (const auto& [x, y] : coords) text << '(' << x << ", " << y << ") ";
  return text.str();
}

}  // namespace

TEST(TPointToolsTest, ThetaGrowsCounterclockwiseFromTheXAxis) {
  const struct Row {
    double dx, dy, angle;
  } rows[] = {
      {1, 0, 0},    {2, 1, 30},   {1, 1, 45},   {1, 2, 60},    {0, 1, 90},
      {-1, 1, 135}, {-2, 1, 150}, {-1, 0, 180}, {-1, -1, 225}, {-1, -2, 240},
      {0, -1, 270}, {1, -1, 315}, {2, -1, 330}, {0, 0, 0},
  };
  // The base point is off the origin, so that p1 - p2 is really taken.
  const TPoint base(3, -7);
  for (const Row& row : rows) {
    const TPoint tip(base.X() + row.dx, base.Y() + row.dy);
    EXPECT_DOUBLE_EQ(TPointTools::Theta(tip, base), row.angle)
        << "vector (" << row.dx << ", " << row.dy << ")";
  }
}

TEST(TPointToolsTest, HeronGivesTheTriangleArea) {
  EXPECT_EQ(TPointTools::Heron(TPoint(0, 0), TPoint(3, 0), TPoint(0, 4)), 6);
  EXPECT_EQ(TPointTools::Heron(TPoint(0, 4), TPoint(0, 0), TPoint(3, 0)), 6);
}

TEST(TPointToolsTest, HeronIsNotClampedForFlatTriangles) {
  // Rounding of the side lengths leaves the product under the root a little
  // below 0 for these three points on a line.
  EXPECT_TRUE(
      std::isnan(TPointTools::Heron(TPoint(0, 0), TPoint(1, 1), TPoint(4, 4))));
  EXPECT_EQ(TPointTools::Heron(TPoint(0, 0), TPoint(0, 1), TPoint(0, 3)), 0);
}

TEST(TPointToolsTest, CentroidIsTheMeanOfEveryListedPoint) {
  const TPoint centre =
      TPointTools::FindCentroid(Points({{0, 0}, {0, 0}, {3, 6}}));
  EXPECT_EQ(centre.X(), 1);
  EXPECT_EQ(centre.Y(), 2);
}

TEST(TPointToolsTest, CentroidOfNoPointsIsNotANumber) {
  const TPoint centre = TPointTools::FindCentroid({});
  EXPECT_TRUE(std::isnan(centre.X()));
  EXPECT_TRUE(std::isnan(centre.Y()));
}

TEST(TPointToolsTest, PolygonAreaOfFewerThanTwoVerticesIsZero) {
  EXPECT_EQ(TPointTools::FindConvexPolygonArea({}), 0);
  EXPECT_EQ(TPointTools::FindConvexPolygonArea(Points({{2, 5}})), 0);
}

TEST(TPointToolsTest, HullIsTheClosedCounterclockwiseOutline) {
  const struct Case {
    Coords input;
    Coords hull;
    double area;
  } cases[] = {
      {{}, {}, 0},
      {{{2, 3}}, {{2, 3}, {2, 3}}, 0},
      {{{3, 2}, {1, 1}}, {{1, 1}, {3, 2}, {1, 1}}, 0},
      // A point level with the start on its right lies at angle 0, which
      // never exceeds the starting angle: the first point twice.
      {{{0, 0}, {1, 0}}, {{0, 0}, {0, 0}}, 0},
      {{{1, 0}, {0, 0}}, {{1, 0}, {0, 0}, {1, 0}}, 0},
      {{{0, 0}, {4, 0.5}, {1, 3}}, {{0, 0}, {4, 0.5}, {1, 3}, {0, 0}}, 5.75},
      {{{1, 1}, {0, 1}, {1, 0}, {2, 1}, {1, 2}, {1.2, 0.9}},
       {{1, 0}, {2, 1}, {1, 2}, {0, 1}, {1, 0}},
       2},
      // A point on an edge is left out when the farther point in the same
      // direction comes first in the working list; otherwise the nearer
      // one is taken and the farther one, at the same angle, never is.
      {{{0, 0}, {2, 2}, {1, 1}, {0, 3}}, {{0, 0}, {2, 2}, {0, 3}, {0, 0}}, 3},
      {{{0, 0}, {1, 1}, {2, 2}, {0, 3}}, {{0, 0}, {1, 1}, {0, 3}, {0, 0}}, 1.5},
      // Ties in the lowest y: the start is the first of them in input order.
      {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}, {{0, 0}, {1, 1}, {0, 1}, {0, 0}}, 0.5},
      {{{1, 0}, {1, 1}, {0, 1}, {0, 0}},
       {{1, 0}, {1, 1}, {0, 1}, {0, 0}, {1, 0}},
       1},
      // A second copy of the start comes before the closing slot and ends
      // the walk.
      {{{0, 0}, {4, 1}, {0, 0}, {1, 3}},
       {{0, 0}, {4, 1}, {1, 3}, {0, 0}, {0, 0}},
       5.5},
  };
  for (const Case& c : cases) {
    const std::vector<TPoint> input = Points(c.input);
    const std::vector<TPoint> hull = TPointTools::FindConvexHull(input);
    EXPECT_EQ(CoordsOf(hull), c.hull) << Describe(c.input);
    EXPECT_NEAR(TPointTools::FindConvexPolygonArea(hull), c.area, 1e-12)
        << Describe(c.input);
    EXPECT_EQ(CoordsOf(input), c.input);
  }
}
