// Moving average, exponential and median smoothing.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cmath>

#include "TCentroidTools.h"
#include "TError.h"

namespace {

std::unique_ptr<TCentroids> Series(const std::vector<int32_t>& years,
                                   const std::vector<double>& xs,
                                   const std::vector<double>& ys) {
  auto series = std::make_unique<TCentroids>("in");
  for (std::size_t i = 0; i < years.size(); ++i) {
    series->SetCoords(years[i], TPoint(xs[i], ys[i]));
  }
  return series;
}

// year -> (x, y) of a series, for comparison.
std::vector<std::tuple<int32_t, double, double>> Entries(
    const TCentroids& series) {
  std::vector<std::tuple<int32_t, double, double>> entries;
  for (int32_t year : series.GetYearList()) {
    const TPoint p = series.GetCoords(year);
    entries.emplace_back(year, p.X(), p.Y());
  }
  return entries;
}

using E = std::vector<std::tuple<int32_t, double, double>>;

}  // namespace

TEST(SmoothingTest, MovingAverageCentresItsWindows) {
  auto input =
      Series({2000, 2001, 2002, 2003, 2004}, {1, 2, 3, 4, 5}, {0, 0, 0, 0, 10});
  const struct {
    int32_t window;
    E expected;
  } cases[] = {
      {3, {{2001, 2, 0}, {2002, 3, 0}, {2003, 4, 10.0 / 3}}},
      {4, {{2001, 2.5, 0}, {2002, 3.5, 2.5}}},
      {1,
       {{2000, 1, 0}, {2001, 2, 0}, {2002, 3, 0}, {2003, 4, 0}, {2004, 5, 10}}},
      {5, {{2002, 3, 2}}},
      {6, {}},
  };
  for (const auto& c : cases) {
    auto smoothed = TCentroidTools::MovingAverage(*input, c.window);
    EXPECT_EQ(Entries(*smoothed), c.expected) << "window " << c.window;
    EXPECT_EQ(smoothed->GetName(), "");
  }
  // Windows count entries, not calendar years.
  auto sparse = Series({2000, 2005, 2010}, {0, 3, 9}, {1, 1, 1});
  EXPECT_EQ(Entries(*TCentroidTools::MovingAverage(*sparse, 3)),
            (E{{2005, 4, 1}}));
}

TEST(SmoothingTest, ExponentialSmoothingMovesTowardsEachNewValue) {
  auto input = Series({1, 2, 3}, {0, 10, 10}, {4, 4, 0});
  EXPECT_EQ(Entries(*TCentroidTools::ExponentialSmoothing(*input, 0.5)),
            (E{{1, 0, 4}, {2, 5, 4}, {3, 7.5, 2}}));
  EXPECT_EQ(Entries(*TCentroidTools::ExponentialSmoothing(*input, 1.0)),
            Entries(*input));
  EXPECT_EQ(Entries(*TCentroidTools::ExponentialSmoothing(*input, 0.0)),
            (E{{1, 0, 4}, {2, 0, 4}, {3, 0, 4}}));
  auto single = Series({7}, {1}, {2});
  EXPECT_EQ(Entries(*TCentroidTools::ExponentialSmoothing(*single, 0.3)),
            (E{{7, 1, 2}}));
  EXPECT_TRUE(TCentroidTools::ExponentialSmoothing(TCentroids(""), 0.5)
                  ->GetYearList()
                  .empty());
}

// Each step is (current - previous) * alpha + previous. The algebraically
// equal current * alpha + previous * (1 - alpha) rounds differently: with
// alpha 0.2 it gives 0.8600000000000001 for 1 then 0.3, and
// 2.4200000000000004 for 3 then 0.1, where the report needs 0.86 and 2.42.
TEST(SmoothingTest, ExponentialSmoothingKeepsItsOrderOfOperations) {
  const double alpha = 2.0 / (9 + 1);
  auto input = Series({1, 2}, {1, 0.3}, {3, 0.1});
  EXPECT_EQ(Entries(*TCentroidTools::ExponentialSmoothing(*input, alpha)),
            (E{{1, 1, 3}, {2, 0.86, 2.42}}));
  EXPECT_EQ(TCentroidTools::ExponentialSmoothing({1, 0.3}, alpha),
            (std::vector<double>{1, 0.86}));
  EXPECT_EQ(TCentroidTools::ExponentialSmoothing({3, 0.1}, alpha),
            (std::vector<double>{3, 2.42}));
}

TEST(SmoothingTest, MedianSmoothingTakesTheLowerMedianOfEachCoordinate) {
  auto input = Series({1, 2, 3}, {1, 2, 3}, {30, 10, 20});
  EXPECT_EQ(Entries(*TCentroidTools::MedianSmoothing(*input, 3)),
            (E{{2, 2, 20}}));
  auto four = Series({1, 2, 3, 4}, {4, 1, 3, 2}, {0, 0, 0, 0});
  // Sorted 1 2 3 4: the lower median 2, stored under the second year.
  EXPECT_EQ(Entries(*TCentroidTools::MedianSmoothing(*four, 4)),
            (E{{2, 2, 0}}));
  // NaN sorts last and cannot upset the sort.
  auto with_nan = Series({1, 2, 3}, {std::nan(""), 5, 1}, {0, 0, 0});
  EXPECT_EQ(Entries(*TCentroidTools::MedianSmoothing(*with_nan, 3)),
            (E{{2, 5, 0}}));
}

TEST(SmoothingTest, SequenceSmoothing) {
  const std::vector<double> values = {1, 2, 3, 4};
  EXPECT_EQ(TCentroidTools::MovingAverageSmoothing(values, 2),
            (std::vector<double>{1.5, 2.5, 3.5}));
  EXPECT_EQ(TCentroidTools::MovingAverageSmoothing(values, 4),
            (std::vector<double>{2.5}));
  EXPECT_TRUE(TCentroidTools::MovingAverageSmoothing(values, 5).empty());
  EXPECT_EQ(TCentroidTools::MovingAverageSmoothing(values, 1), values);
  EXPECT_EQ(TCentroidTools::ExponentialSmoothing({0, 10, 10}, 0.5),
            (std::vector<double>{0, 5, 7.5}));
  EXPECT_TRUE(TCentroidTools::ExponentialSmoothing({}, 0.5).empty());
}

TEST(SmoothingTest, WindowBelowOneIsAnError) {
  auto input = Series({1, 2}, {1, 2}, {1, 2});
  for (int32_t window : {0, -1, -2147483647 - 1}) {
    EXPECT_THROW(TCentroidTools::MovingAverage(*input, window), TError);
    EXPECT_THROW(TCentroidTools::MedianSmoothing(*input, window), TError);
    EXPECT_THROW(TCentroidTools::MovingAverageSmoothing({1, 2}, window),
                 TError);
  }
  // A huge window is no error, just nothing to average.
  EXPECT_TRUE(
      TCentroidTools::MovingAverage(*input, 2147483647)->GetYearList().empty());
}

// Regression: a start year far in the past stretches the year span to up to
// a million years, all but the file's own with NaN centroids. Each window
// added up all its terms, so a window of half the span took many minutes;
// now the sum stops once it is NaN, which changes no result.
TEST(SmoothingTest, MovingAverageOverALongRunOfNaNYearsIsQuickAndExact) {
  const double nan = std::nan("");
  TCentroids input("in");
  const double ys[] = {0.1, 0.2, 0.3, 0.4, 0.5};
  for (int32_t year = 0; year < 1000000; ++year) {
    input.SetCoords(year,
                    year < 5 ? TPoint(year + 1, ys[year]) : TPoint(nan, nan));
  }
  const std::unique_ptr<TCentroids> three =
      TCentroidTools::MovingAverage(input, 3);
  EXPECT_EQ(three->GetCoords(1).X(), 2);
  // Summed left to right, to the bit.
  EXPECT_EQ(three->GetCoords(1).Y(), ((0.1 + 0.2) + 0.3) / 3);
  EXPECT_EQ(three->GetCoords(3).Y(), ((0.3 + 0.4) + 0.5) / 3);
  EXPECT_TRUE(std::isnan(three->GetCoords(4).X()));

  const std::unique_ptr<TCentroids> half =
      TCentroidTools::MovingAverage(input, 500000);
  ASSERT_EQ(half->GetNumYears(), 500001u);
  EXPECT_TRUE(std::isnan(half->GetCoords(249999).Y()));
  EXPECT_TRUE(std::isnan(half->GetCoords(749999).X()));

  // A NaN in one coordinate leaves the other's sums whole.
  auto x_only = Series({1, 2, 3}, {nan, 1, 2}, {1, 2, 6});
  const TPoint mean = TCentroidTools::MovingAverage(*x_only, 3)->GetCoords(2);
  EXPECT_TRUE(std::isnan(mean.X()));
  EXPECT_EQ(mean.Y(), 3);
}

// Regression: the two work lists were made window-sized before checking
// that any window fits, so a huge window on a short series asked for
// gigabytes.
TEST(SmoothingTest, MedianSmoothingWithAWindowBeyondTheSeriesAllocatesNothing) {
  auto input = Series({1, 2}, {1, 2}, {1, 2});
  const auto peak_kilobytes = [] {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
  };
  const long before = peak_kilobytes();
  EXPECT_TRUE(
      TCentroidTools::MedianSmoothing(*input, 1 << 28)->GetYearList().empty());
  // Two lists of 2^28 doubles would have raised the peak by 4 GiB.
  EXPECT_LT(peak_kilobytes() - before, 1L << 20);
}
