#include <gtest/gtest.h>

#include "TCentroids.h"
#include "TError.h"

TEST(TCentroidsTest, NewSeriesIsEmpty) {
  TCentroids series("edge");
  EXPECT_EQ(series.GetName(), "edge");
  EXPECT_TRUE(series.GetYearList().empty());
  EXPECT_FALSE(series.YearExists(2000));
  try {
    series.GetCoords(2000);
    FAIL();
  } catch (const TError& error) {
    EXPECT_STREQ(error.what(), "Year does not exist.");
  }
  EXPECT_FALSE(series.YearExists(2000));
}

TEST(TCentroidsTest, YearsAscendNumericallyAndLaterPointsReplace) {
  TCentroids series("");
  series.SetCoords(2003, TPoint(3, 3));
  series.SetCoords(-5, TPoint(-5, -5));
  series.SetCoords(2001, TPoint(1, 1));
  series.SetCoords(2003, TPoint(33, 34));
  EXPECT_EQ(series.GetYearList(), (std::vector<int32_t>{-5, 2001, 2003}));
  EXPECT_EQ(series.GetCoords(2003).X(), 33);
  EXPECT_EQ(series.GetCoords(2003).Y(), 34);
}

TEST(TCentroidsTest, HandsOutCopies) {
  TCentroids series("");
  series.SetCoords(2000, TPoint(1, 2));
  TPoint copy = series.GetCoords(2000);
  copy = TPoint(9, 9);
  EXPECT_EQ(series.GetCoords(2000).X(), 1);
}
