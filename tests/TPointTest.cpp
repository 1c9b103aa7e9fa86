#include <gtest/gtest.h>

#include "TPoint.h"

TEST(TPointTest, DiffIsThisMinusOther) {
  const TPoint d = TPoint(5, 1).Diff(TPoint(2, 4));
  EXPECT_EQ(d.X(), 3);
  EXPECT_EQ(d.Y(), -3);
}

TEST(TPointTest, DistanceIsEuclidean) {
  EXPECT_EQ(TPoint(0, 0).Distance(TPoint(3, 4)), 5);
  EXPECT_EQ(TPoint(-1, 2).Distance(TPoint(-1, 2)), 0);
}

TEST(TPointTest, CloneIsAnIndependentCopy) {
  TPoint original(1.5, -2.5);
  TPoint copy = original.Clone();
  original = TPoint(9, 9);
  EXPECT_EQ(copy.X(), 1.5);
  EXPECT_EQ(copy.Y(), -2.5);
}
