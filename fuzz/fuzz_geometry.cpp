// Fuzzes the planar geometry and the smoothing and shift operations on
// centroid series. Input: a window size and a burn-in (4 bytes each) and a
// smoothing factor (8 bytes), then records of 17 bytes: a year step (1
// byte, added to the year of the record before) and the point's x and y (8
// bytes each). Coordinates take any bit pattern: NaN, infinities, subnormals.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "TCentroidTools.h"
#include "TCentroids.h"
#include "TError.h"
#include "TPointTools.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

template <typename T>
T Take(const uint8_t** data, std::size_t* size) {
  T value{};
  if (*size >= sizeof value) {
    std::memcpy(&value, *data, sizeof value);
    *data += sizeof value;
    *size -= sizeof value;
  }
  return value;
}

bool SameBits(const TPoint& a, const TPoint& b) {
  const double ax = a.X(), ay = a.Y(), bx = b.X(), by = b.Y();
  return std::memcmp(&ax, &bx, sizeof ax) == 0 &&
         std::memcmp(&ay, &by, sizeof ay) == 0;
}

bool IsInputPoint(const TPoint& p, const std::vector<TPoint>& points) {
  for (const TPoint& q : points) {
    if (SameBits(p, q)) return true;
  }
  return false;
}

// The hull is closed, made only of input points, and no longer than the
// input plus the closing vertex and a second copy of the start.
void CheckHull(const std::vector<TPoint>& points) {
  const std::vector<TPoint> hull = TPointTools::FindConvexHull(points);
  if (points.empty()) {
    Require(hull.empty());
    return;
  }
  Require(hull.size() >= 2 && hull.size() <= points.size() + 2);
  Require(SameBits(hull.front(), hull.back()));
  for (const TPoint& vertex : hull) Require(IsInputPoint(vertex, points));
  TPointTools::FindConvexPolygonArea(hull);
  TPointTools::FindConvexPolygonArea(points);
}

// Each operation either rejects its arguments with TError or returns.
template <typename Operation>
void Tolerate(const Operation& operation) {
  try {
    operation();
  } catch (const TError&) {
  }
}

void CheckSeries(const TCentroids& series, int32_t window, int32_t burn_in,
                 double alpha) {
  const std::size_t n = series.GetNumYears();
  Tolerate([&] {
    const std::size_t windows =
        TCentroidTools::MovingAverage(series, window)->GetNumYears();
    Require(windows == (n >= static_cast<std::size_t>(window)
                            ? n - static_cast<std::size_t>(window) + 1
                            : 0));
  });
  Tolerate([&] { TCentroidTools::MedianSmoothing(series, window); });
  Require(TCentroidTools::ExponentialSmoothing(series, alpha)->GetNumYears() ==
          n);
  Tolerate([&] { TCentroidTools::GetRangeCoordShifts(series, burn_in); });
  Tolerate([&] {
    TCentroidTools::GetPropInitialRangeCoordShifts(series, series, burn_in);
  });
  Tolerate(
      [&] { TCentroidTools::GetPropYearlyRangeCoordShifts(series, series); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const int32_t window = Take<int32_t>(&data, &size);
  const int32_t burn_in = Take<int32_t>(&data, &size);
  const double alpha = Take<double>(&data, &size);
  std::vector<TPoint> points;
  TCentroids series("");
  int64_t year = 0;
  while (size >= 17) {
    year += Take<uint8_t>(&data, &size);
    const double x = Take<double>(&data, &size);
    const double y = Take<double>(&data, &size);
    points.emplace_back(x, y);
    if (year <= std::numeric_limits<int32_t>::max()) {
      series.SetCoords(static_cast<int32_t>(year), points.back());
    }
  }
  CheckHull(points);
  CheckSeries(series, window, burn_in, alpha);
  return 0;
}
