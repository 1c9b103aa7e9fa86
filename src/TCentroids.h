#ifndef ZELVATRIX_TCENTROIDS_H_
#define ZELVATRIX_TCENTROIDS_H_

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "TPoint.h"

// A centroid series: one point in the map plane per year, such as the yearly
// position of a range edge, or its shift or smoothed value. Years are kept
// ascending, each at most once. The series owns its points and hands out
// copies only.
// Thread safety: safe to read from several threads at once, not to change.
class TCentroids {
 public:
  // An empty series with a label that nothing reads; every series the
  // analyses make is labelled "".
  explicit TCentroids(std::string name);
  TCentroids(const TCentroids&) = delete;
  TCentroids& operator=(const TCentroids&) = delete;

  const std::string& GetName() const { return name_; }
  // True when the series holds a point for `year`.
  bool YearExists(int32_t year) const;
  // All years held, ascending.
  std::vector<int32_t> GetYearList() const;
  // The number of years held.
  std::size_t GetNumYears() const { return points_.size(); }
  // A copy of the point held for `year`. Throws TError "Year does not
  // exist." (with the full stop) when the year is not held.
  TPoint GetCoords(int32_t year) const;
  // Stores `point` for `year`, replacing a point held before.
  void SetCoords(int32_t year, TPoint point);

 private:
  std::map<int32_t, TPoint> points_;
  std::string name_;
};

#endif  // ZELVATRIX_TCENTROIDS_H_
