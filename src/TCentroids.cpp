#include "TCentroids.h"

#include <utility>

#include "TError.h"

TCentroids::TCentroids(std::string name) : name_(std::move(name)) {}

bool TCentroids::YearExists(int32_t year) const {
  return points_.find(year) != points_.end();
}

std::vector<int32_t> TCentroids::GetYearList() const {
  std::vector<int32_t> years;
  years.reserve(points_.size());
  for (const auto& entry : points_) years.push_back(entry.first);
  return years;
}

TPoint TCentroids::GetCoords(int32_t year) const {
  auto it = points_.find(year);
  // The full stop tells this error from the patch model's "Year does not
  // exist".
  if (it == points_.end())
    throw TError("Year does not exist.", TError::Kind::kInternal);
  return it->second;
}

void TCentroids::SetCoords(int32_t year, TPoint point) {
  // The analyses store their years ascending; with the end as the hint each
  // such store takes constant time, which counts for year spans of up to a
  // million years. Any other order is stored as well, only slower.
  points_.insert_or_assign(points_.end(), year, point);
}
