// Year span, totals and centroids of a patch collection.

#include <gtest/gtest.h>

#include <cmath>

#include "TCentroidTools.h"
#include "TError.h"
#include "TestSupport.h"

namespace {

const double kNaN = std::nan("");

void ExpectPoint(const TPoint& point, double x, double y) {
  if (std::isnan(x)) {
    EXPECT_TRUE(std::isnan(point.X())) << point.X();
  } else {
    EXPECT_DOUBLE_EQ(point.X(), x);
  }
  if (std::isnan(y)) {
    EXPECT_TRUE(std::isnan(point.Y())) << point.Y();
  } else {
    EXPECT_DOUBLE_EQ(point.Y(), y);
  }
}

}  // namespace

TEST(PopulationCentroidsTest, MeansWeightedMeansAndTotal) {
  auto patches =
      MakePatches({{"a", 0, 0, {{2000, 1}}}, {"b", 10, 0, {{2000, 3}}}});
  ExpectPoint(TCentroidTools::WeightedMeans(*patches, 2000), 7.5, 0);
  ExpectPoint(TCentroidTools::Means(*patches, 2000), 5, 0);
  EXPECT_EQ(TCentroidTools::SumPopulations(*patches, 2000), 4);
}

TEST(PopulationCentroidsTest, ZeroNegativeAndNaNPopulations) {
  // Only a is occupied; b's zero and c's negative population count in the
  // total and the weights but not in the plain mean; d's NaN is unoccupied.
  auto patches = MakePatches({{"a", 2, 2, {{2000, 4}}},
                              {"b", 10, 10, {{2000, 0}}},
                              {"c", 4, 0, {{2000, -2}}}});
  ExpectPoint(TCentroidTools::Means(*patches, 2000), 2, 2);
  EXPECT_EQ(TCentroidTools::SumPopulations(*patches, 2000), 2);
  // (2*4 + 10*0 + 4*-2) / 2 = 0, (2*4 + 0 + 0) / 2 = 4
  ExpectPoint(TCentroidTools::WeightedMeans(*patches, 2000), 0, 4);
  const std::vector<TPoint> points =
      TCentroidTools::GetNonzeroPoints(*patches, 2000);
  ASSERT_EQ(points.size(), 1u);
  ExpectPoint(points[0], 2, 2);

  auto with_nan = MakePatches({{"d", 1, 1, {{2000, kNaN}}}});
  EXPECT_TRUE(TCentroidTools::GetNonzeroPoints(*with_nan, 2000).empty());
  ExpectPoint(TCentroidTools::Means(*with_nan, 2000), kNaN, kNaN);
}

TEST(PopulationCentroidsTest, YearNobodyHoldsGivesNaNAndNothing) {
  auto patches = MakePatches({{"a", 1, 1, {{2000, 5}}}});
  EXPECT_EQ(TCentroidTools::SumPopulations(*patches, 1999), 0);
  EXPECT_TRUE(TCentroidTools::GetNonzeroPoints(*patches, 1999).empty());
  ExpectPoint(TCentroidTools::Means(*patches, 1999), kNaN, kNaN);
  ExpectPoint(TCentroidTools::WeightedMeans(*patches, 1999), kNaN, kNaN);
}

TEST(PopulationCentroidsTest, YearSpanCoversGapsAndBothEnds) {
  const struct {
    std::vector<PatchData> patches;
    std::vector<int32_t> span;
  } cases[] = {
      {{{"a", 0, 0, {{2000, 1}, {2001, 1}, {2002, 1}}},
        {"b", 0, 0, {{2005, 1}, {2006, 1}}}},
       {2000, 2001, 2002, 2003, 2004, 2005, 2006}},
      // Both ends widen through a patch that is not the first by name.
      {{{"a", 0, 0, {{2001, 1}, {2005, 1}}},
        {"b", 0, 0, {{1999, 1}, {2008, 1}}}},
       {1999, 2000, 2001, 2002, 2003, 2004, 2005, 2006, 2007, 2008}},
      // The maximum year starts at 0: negative years stretch to 0.
      {{{"a", 0, 0, {{-3, 1}, {-2, 1}}}}, {-3, -2, -1, 0}},
      // Patches without years change neither end.
      {{{"a", 0, 0, {}}, {"b", 0, 0, {{7, 1}}}}, {7}},
      {{{"a", 0, 0, {}}}, {}},
      {{}, {}},
  };
  for (const auto& c : cases) {
    auto patches = MakePatches(c.patches);
    EXPECT_EQ(TCentroidTools::MakeYearList(*patches), c.span)
        << c.patches.size() << " patches";
  }
}

TEST(PopulationCentroidsTest, OverlongYearSpanIsRejected) {
  auto ok = MakePatches({{"a", 0, 0, {{-999999, 1}}}});
  EXPECT_EQ(TCentroidTools::MakeYearList(*ok).size(), 1000000u);
  auto too_long = MakePatches({{"a", 0, 0, {{-1000000, 1}}}});
  EXPECT_THROW(TCentroidTools::MakeYearList(*too_long), TError);
}

TEST(PopulationCentroidsTest, SeriesHaveAnEntryForEveryYearOfTheSpan) {
  auto patches = MakePatches({{"a", 0, 0, {{2000, 1}, {2002, 1}}},
                              {"b", 4, 2, {{2000, 1}, {2002, 3}}}});
  const std::unique_ptr<TCentroids> means = TCentroidTools::Means(*patches);
  const std::unique_ptr<TCentroids> weighted =
      TCentroidTools::WeightedMeans(*patches);
  EXPECT_EQ(means->GetYearList(), (std::vector<int32_t>{2000, 2001, 2002}));
  EXPECT_EQ(means->GetName(), "");
  ExpectPoint(means->GetCoords(2000), 2, 1);
  ExpectPoint(means->GetCoords(2001), kNaN, kNaN);
  ExpectPoint(weighted->GetCoords(2002), 3, 1.5);
  EXPECT_TRUE(TCentroidTools::Means(*MakePatches({}))->GetYearList().empty());
}

// Sums run in name order whatever order the patches were added in, so the
// bits of a mean do not depend on it.
TEST(PopulationCentroidsTest, ResultsDependOnNamesNotOnInsertionOrder) {
  std::vector<PatchData> landscape = {{"c", 0.1, 1, {{1, 1}}},
                                      {"a", 0.2, 1e17, {{1, 1}}},
                                      {"b", 0.3, -1e17, {{1, 1}}}};
  const TPoint forward = TCentroidTools::Means(*MakePatches(landscape), 1);
  std::swap(landscape[0], landscape[2]);
  const TPoint backward = TCentroidTools::Means(*MakePatches(landscape), 1);
  EXPECT_EQ(forward.X(), backward.X());
  EXPECT_EQ(forward.Y(), backward.Y());
  // a + b first: (1e17 - 1e17) + 1 = 1, whereas (1 - 1e17) + 1e17 = 0.
  EXPECT_EQ(forward.Y(), 1.0 / 3.0);
}
