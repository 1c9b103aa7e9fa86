#ifndef ZELVATRIX_TPOINT_H_
#define ZELVATRIX_TPOINT_H_

// A point in the map plane, in the unit of the patch coordinates. A small
// value type: copied, passed and returned by value.
// Thread safety: immutable; safe to use from several threads at once.
class TPoint {
 public:
  // Makes the point (x, y).
  TPoint(double x, double y);

  // The x and the y coordinate.
  double X() const { return x_; }
  double Y() const { return y_; }

  // Returns this point minus `other`, component by component.
  TPoint Diff(const TPoint& other) const;

  // Returns a point with the same coordinates.
  TPoint Clone() const;

  // Returns the Euclidean distance to `other`: the square root of the sum of
  // the squared coordinate differences (not hypot, whose bits differ).
  double Distance(const TPoint& other) const;

 private:
  double x_;
  double y_;
};

#endif  // ZELVATRIX_TPOINT_H_
