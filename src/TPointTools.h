#ifndef ZELVATRIX_TPOINTTOOLS_H_
#define ZELVATRIX_TPOINTTOOLS_H_

#include <vector>

#include "TPoint.h"

// Planar geometry on map points: the mean point, a pseudo-angle for
// directions, the area of a triangle and of a convex polygon, and the convex
// hull (the minimum convex polygon around a set of patches). A class of
// static operations without state; the points and lists given are only read
// and every result holds new points.
// Thread safety: stateless; safe to call from several threads at once.
class TPointTools {
 public:
  TPointTools() = delete;

  // The mean point of `points`, summed in list order; a point listed twice
  // counts twice. An empty list gives (NaN, NaN).
  static TPoint FindCentroid(const std::vector<TPoint>& points);

  // The pseudo-angle of the direction from `p2` to `p1`: 0 towards +x,
  // growing counterclockwise by 90 per quadrant, equal to the true angle in
  // degrees at every multiple of 45 degrees ((2, 1) gives 30, not 26.57).
  // One division, no trigonometry. Equal points give 0.
  static double Theta(const TPoint& p1, const TPoint& p2);

  // The area of the triangle `a`, `b`, `c` by Heron's formula from its side
  // lengths. Not clamped: for three points on a line, rounding can make the
  // product under the root negative and the result NaN.
  static double Heron(const TPoint& a, const TPoint& b, const TPoint& c);

  // The area of a convex polygon given as a closed vertex list (the first
  // vertex repeated as the last), summed as a fan of triangles around the
  // mean of the listed vertices. Fewer than two elements give 0.
  static double FindConvexPolygonArea(const std::vector<TPoint>& vertices);

  // The convex hull of `points` as a closed vertex list, counterclockwise
  // from the first point in list order with the smallest y, found by
  // wrapping: each next vertex is the first candidate in the working list
  // with the smallest pseudo-angle strictly above the previous step's. So a
  // point level with the start on its right is never taken, a point on an
  // edge is left out when the farther one comes first, and a second copy of
  // the start closes the walk and appears twice. No points give an empty
  // list, one point p gives p, p.
  static std::vector<TPoint> FindConvexHull(const std::vector<TPoint>& points);
};

#endif  // ZELVATRIX_TPOINTTOOLS_H_
