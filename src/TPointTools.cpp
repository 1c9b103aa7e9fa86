#include "TPointTools.h"

#include <cmath>
#include <cstddef>
#include <utility>

namespace {

// Every pseudo-angle lies below this bound.
constexpr double kFullTurn = 360;

// The first point in list order with the smallest y; x plays no part.
std::size_t LowestSlot(const std::vector<TPoint>& points) {
  std::size_t lowest = 0;
  for (std::size_t i = 1; i < points.size(); ++i) {
    if (points[lowest].Y() > points[i].Y()) lowest = i;
  }
  return lowest;
}

}  // namespace

TPoint TPointTools::FindCentroid(const std::vector<TPoint>& points) {
  double sum_x = 0;
  double sum_y = 0;
  for (const TPoint& point : points) {
    sum_x += point.X();
    sum_y += point.Y();
  }
  const double count = static_cast<double>(points.size());
  return TPoint(sum_x / count, sum_y / count);
}

double TPointTools::Theta(const TPoint& p1, const TPoint& p2) {
  const double dx = p1.X() - p2.X();
  const double dy = p1.Y() - p2.Y();
  // dy over the taxicab length runs from -1 to 1 through a half turn;
  // offsets of 2 and 4 quadrants spread it over the whole circle.
  const double t =
      (dx == 0 && dy == 0) ? 0.0 : dy / (std::fabs(dy) + std::fabs(dx));
  if (dx < 0) return (2 - t) * 90;
  if (dy < 0) return (4 + t) * 90;
  return t * 90;
}

double TPointTools::Heron(const TPoint& a, const TPoint& b, const TPoint& c) {
  const double d1 = a.Distance(b);
  const double d2 = a.Distance(c);
  const double d3 = b.Distance(c);
  const double s = (d1 + d2 + d3) * 0.5;
  return std::sqrt(s * (s - d1) * (s - d2) * (s - d3));
}

double TPointTools::FindConvexPolygonArea(const std::vector<TPoint>& vertices) {
  // The mean of a convex polygon's vertices lies inside it, so the triangles
  // from it to each edge tile the polygon. The list is closed, so the pairs
  // of neighbours already include the edge back to the first vertex.
  const TPoint centre = FindCentroid(vertices);
  double area = 0;
  for (std::size_t k = 1; k < vertices.size(); ++k) {
    area += Heron(vertices[k], vertices[k - 1], centre);
  }
  return area;
}

std::vector<TPoint> TPointTools::FindConvexHull(
    const std::vector<TPoint>& points) {
  const std::size_t count = points.size();
  if (count == 0) return {};
  // Wrapping in one working list: the vertices found so far gather at its
  // front, so each step scans only the slots behind them. The extra last
  // slot holds the start vertex again as the closing candidate.
  std::vector<TPoint> work(points);
  std::size_t chosen = LowestSlot(work);
  const TPoint start = work[chosen];
  work.push_back(start);
  double previous_angle = 0;
  std::size_t current = 0;
  for (;; ++current) {
    std::swap(work[current], work[chosen]);
    chosen = count;
    double best = kFullTurn;
    for (std::size_t i = current + 1; i <= count; ++i) {
      const double angle = Theta(work[i], work[current]);
      if (angle > previous_angle && angle < best) {
        chosen = i;
        best = angle;
      }
    }
    // The closing candidate won, or nothing qualified.
    if (chosen == count) break;
    previous_angle = best;
  }
  work.resize(current + 1, start);
  work.push_back(start);
  return work;
}
