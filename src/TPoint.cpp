#include "TPoint.h"

#include <cmath>

TPoint::TPoint(double x, double y) : x_(x), y_(y) {}

TPoint TPoint::Diff(const TPoint& other) const {
  return TPoint(x_ - other.x_, y_ - other.y_);
}

TPoint TPoint::Clone() const { return *this; }

double TPoint::Distance(const TPoint& other) const {
  const double dx = x_ - other.x_;
  const double dy = y_ - other.y_;
  return std::sqrt(dx * dx + dy * dy);
}
