// Range shift measures: shifts from a reference, differences, year-on-year
// shifts and percentages.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "TCentroidTools.h"
#include "TError.h"

namespace {

std::unique_ptr<TCentroids> Series(
    const std::vector<std::tuple<int32_t, double, double>>& entries) {
  auto series = std::make_unique<TCentroids>("in");
  for (const auto& [year, x, y] : entries)
    series->SetCoords(year, TPoint(x, y));
  return series;
}

using E = std::vector<std::tuple<int32_t, double, double>>;

E Entries(const TCentroids& series) {
  E entries;
  for (int32_t year : series.GetYearList()) {
    const TPoint p = series.GetCoords(year);
    entries.emplace_back(year, p.X(), p.Y());
  }
  return entries;
}

void ExpectFailure(const std::function<void()>& action, const char* what) {
  EXPECT_THROW(action(), TError) << what;
}

}  // namespace

TEST(ShiftMeasuresTest, RangeShiftsAreReferenceMinusPosition) {
  // A centroid moving steadily towards larger x and y.
  auto series = Series({{1, 0, 0}, {2, 1, 2}, {3, 2, 4}, {4, 3, 6}, {5, 4, 8}});
  auto all = TCentroidTools::GetRangeCoordShifts(*series, 0);
  EXPECT_EQ(Entries(*all),
            (E{{1, 0, 0}, {2, -1, -2}, {3, -2, -4}, {4, -3, -6}, {5, -4, -8}}));
  EXPECT_EQ(all->GetName(), "");
  auto after_burn_in = TCentroidTools::GetRangeCoordShifts(*series, 2);
  EXPECT_EQ(Entries(*after_burn_in), (E{{3, 0, 0}, {4, -1, -2}, {5, -2, -4}}));
  // The burn-in counts entries, not calendar years.
  auto sparse = Series({{10, 5, 5}, {15, 1, 1}, {20, 0, 3}, {25, 2, 2}});
  EXPECT_EQ(Entries(*TCentroidTools::GetRangeCoordShifts(*sparse, 1)),
            (E{{15, 0, 0}, {20, 1, -2}, {25, -1, -1}}));
}

TEST(ShiftMeasuresTest, DiffInitialTakesTheLastBurnInYearAsReference) {
  auto a = Series({{1, 10, 10}, {2, 20, 20}, {3, 30, 30}});
  auto c = Series({{1, 1, 1}, {2, 2, 2}, {3, 3, 3}});
  EXPECT_EQ(Entries(*TCentroidTools::GetDiffInitial(*a, *c, 0)),
            (E{{1, 9, 9}, {2, 8, 8}, {3, 7, 7}}));
  // Burn-in 1 has the same reference year as 0 but leaves that year out.
  EXPECT_EQ(Entries(*TCentroidTools::GetDiffInitial(*a, *c, 1)),
            (E{{2, 8, 8}, {3, 7, 7}}));
  EXPECT_EQ(Entries(*TCentroidTools::GetDiffInitial(*a, *c, 2)),
            (E{{3, 17, 17}}));
  EXPECT_TRUE(TCentroidTools::GetDiffInitial(*a, *c, 3)->GetYearList().empty());
  // Of one series with itself, the first entry is generally not zero.
  EXPECT_EQ(Entries(*TCentroidTools::GetDiffInitial(*c, *c, 1)),
            (E{{2, -1, -1}, {3, -2, -2}}));
}

TEST(ShiftMeasuresTest, PropInitialGivesUnsignedPercentages) {
  auto a = Series({{1, 10, 0}, {2, 0, 0}, {3, 0, 0}});
  auto c = Series({{1, 8, 0}, {2, 5, 1}, {3, 14, 0}});
  // Differences from a's first point: (2, 0), (5, -1), (-4, 0).
  auto percentages = TCentroidTools::GetPropInitialRangeCoordShifts(*a, *c, 0);
  const E entries = Entries(*percentages);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(std::get<1>(entries[0]), 0);
  EXPECT_EQ(std::get<1>(entries[1]), 150);
  EXPECT_EQ(std::get<1>(entries[2]), 100);
  // A zero base: NaN where the size stays 0, infinity where it does not.
  EXPECT_TRUE(std::isnan(std::get<2>(entries[0])));
  EXPECT_EQ(std::get<2>(entries[1]), std::numeric_limits<double>::infinity());
  EXPECT_TRUE(std::isnan(std::get<2>(entries[2])));
}

TEST(ShiftMeasuresTest, DiffsAndYearlyShifts) {
  auto a = Series({{1, 5, 5}, {2, 6, 8}});
  auto c = Series({{1, 1, 2}, {2, 3, 3}, {3, 0, 0}});
  // c's extra year is ignored.
  EXPECT_EQ(Entries(*TCentroidTools::GetDiffs(*a, *c)),
            (E{{1, 4, 3}, {2, 3, 5}}));
  EXPECT_EQ(Entries(*TCentroidTools::GetYearlyRangeCoordShifts(*c)),
            (E{{2, 2, 1}, {3, -3, -3}}));
  EXPECT_TRUE(TCentroidTools::GetYearlyRangeCoordShifts(*Series({{1, 1, 1}}))
                  ->GetYearList()
                  .empty());
}

TEST(ShiftMeasuresTest, PropYearlyKeepsSigns) {
  auto a = Series({{1, 5, 5}, {2, 7, 2}, {3, 0, 9}});
  auto c = Series({{1, 1, 1}, {2, 3, 2}, {3, 0, 0}});
  // Differences a - c: (4, 4), (4, 0), (0, 9); yearly shifts of c: (2, 1)
  // at 2, (-3, -2) at 3.
  const E entries =
      Entries(*TCentroidTools::GetPropYearlyRangeCoordShifts(*a, *c));
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0], (std::tuple<int32_t, double, double>{
                            2, 50, std::numeric_limits<double>::infinity()}));
  EXPECT_EQ(std::get<1>(entries[1]), -std::numeric_limits<double>::infinity());
  EXPECT_DOUBLE_EQ(std::get<2>(entries[1]), -200.0 / 9.0);
}

TEST(ShiftMeasuresTest, MissingYearsAndBrokenLimitsAreErrors) {
  auto a = Series({{1, 1, 1}, {2, 2, 2}});
  auto gap = Series({{1, 1, 1}, {2, 2, 2}, {4, 4, 4}});
  auto late = Series({{2, 1, 1}, {3, 1, 1}});
  auto empty = Series({});
  try {
    TCentroidTools::GetYearlyRangeCoordShifts(*gap);
    FAIL();
  } catch (const TError& error) {
    EXPECT_STREQ(error.what(), "Year does not exist.");
  }
  ExpectFailure([&] { TCentroidTools::GetDiffs(*gap, *a); }, "c lacks year 4");
  ExpectFailure(
      [&] { TCentroidTools::GetPropYearlyRangeCoordShifts(*a, *gap); },
      "a lacks year 4");
  ExpectFailure([&] { TCentroidTools::GetDiffInitial(*late, *a, 0); },
                "a lacks the reference year");
  ExpectFailure([&] { TCentroidTools::GetDiffInitial(*a, *empty, 0); },
                "empty series");
  ExpectFailure([&] { TCentroidTools::GetDiffInitial(*a, *a, 3); },
                "burn-in beyond the list");
  ExpectFailure([&] { TCentroidTools::GetDiffInitial(*a, *a, -1); },
                "negative burn-in");
  for (int32_t burn_in : {-1, 2, 2147483647}) {
    ExpectFailure([&] { TCentroidTools::GetRangeCoordShifts(*a, burn_in); },
                  "shift burn-in");
    ExpectFailure(
        [&] {
          TCentroidTools::GetPropInitialRangeCoordShifts(*a, *a, burn_in);
        },
        "percentage burn-in");
  }
  ExpectFailure([&] { TCentroidTools::GetRangeCoordShifts(*empty, 0); },
                "empty series");
}
