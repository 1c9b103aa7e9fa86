#ifndef ZELVATRIX_TCENTROIDTOOLS_H_
#define ZELVATRIX_TCENTROIDTOOLS_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "TCentroids.h"
#include "TPatches.h"
#include "TPoint.h"

// The analyses over patch collections and centroid series: population
// centroids, patch cleaning, range-edge subpopulations, smoothing and range
// shift measures. All operations are static, read their inputs without
// changing them, and return new results owned by the caller. Loops over
// patches run in the collection's name order and sum in that order, so
// results are reproducible to the bit. A series made here is labelled "".
// Thread safety: stateless; safe to call from several threads at once.
class TCentroidTools {
 public:
  // The longest year span the analyses accept (see MakeYearList).
  static constexpr int64_t kMaxYearSpan = 1000000;

  // --- Population centroids ---

  // The year span: every year from the smallest minimum year to the largest
  // maximum year over the patches, ascending, held or not. Empty for a
  // collection without patches or without years. Throws TError when the
  // span holds more than kMaxYearSpan years.
  static std::vector<int32_t> MakeYearList(const TPatches& patches);
  // The total population of `year` over the patches that hold it, whatever
  // its sign.
  static double SumPopulations(const TPatches& patches, int32_t year);
  // The position of every patch occupied in `year` (population above 0), in
  // name order.
  static std::vector<TPoint> GetNonzeroPoints(const TPatches& patches,
                                              int32_t year);
  // The mean position of the patches occupied in `year`; each counts the
  // same. (NaN, NaN) when none is occupied.
  static TPoint Means(const TPatches& patches, int32_t year);
  // The population-weighted centroid of the patches that hold `year`,
  // zero and negative populations included. NaN when the weights sum to 0.
  static TPoint WeightedMeans(const TPatches& patches, int32_t year);
  // Means(patches, y) for every year y of the year span.
  static std::unique_ptr<TCentroids> Means(const TPatches& patches);
  // WeightedMeans(patches, y) for every year y of the year span.
  static std::unique_ptr<TCentroids> WeightedMeans(const TPatches& patches);

  // --- Patch cleaning ---

  // A new collection with a copy of every patch whose populations differ
  // from 0 in at least `threshold` consecutive entries of its year list
  // (negative and NaN populations count as occupied here). Threshold 0 keeps
  // every patch, a negative one none. The resolution is copied.
  static std::unique_ptr<TPatches> CleanPatches(const TPatches& patches,
                                                int32_t threshold);

  // --- Range-edge subpopulations ---

  // The patch names in ascending order of their x coordinate (axis 'X') or
  // y coordinate (any other axis character), with ties in the order an
  // exchange selection sort over the name-ordered list leaves them: names
  // a, b, c at 2, 2, 1 give c, b, a.
  static std::vector<std::string> SortOnOrdinate(const TPatches& patches,
                                                 char axis);
  // The edge subpopulation of `year`: walking `names` from the start
  // (fromStart) or the end, the patches that hold the year are taken until
  // their populations reach share x the year's total; the patch that crosses
  // the target keeps only the remainder. Returns a new collection of
  // population-only copies (resolution 1) holding that one year. The walk
  // stops at the end of the list. Throws TError "Patch does not exist" for a
  // name the collection does not hold.
  static std::unique_ptr<TPatches> GetSubpopulation(
      const TPatches& patches, std::vector<std::string> names, double share,
      int32_t year, bool fromStart);
  // For every year of the year span, Means of that year's edge
  // subpopulation (names ordered by SortOnOrdinate on `axis`).
  static std::unique_ptr<TCentroids> GetSubpopulationMeans(
      const TPatches& patches, double share, char axis, bool fromStart);
  // The same with WeightedMeans: each taken patch weighs with its
  // population in the subpopulation, the crossing patch with its remainder.
  static std::unique_ptr<TCentroids> GetSubpopulationWeightedMeans(
      const TPatches& patches, double share, char axis, bool fromStart);

  // --- Smoothing ---

  // Centred simple moving average: the mean of every window of `window`
  // consecutive entries, stored under the window's entry (window - 1) / 2.
  // Empty when the series is shorter than the window. Throws TError for a
  // window below 1.
  static std::unique_ptr<TCentroids> MovingAverage(const TCentroids& series,
                                                   int32_t window);
  // Exponential smoothing with factor `alpha`, the weight of the newest
  // value; the first entry is taken over unsmoothed. Same years as the input.
  static std::unique_ptr<TCentroids> ExponentialSmoothing(
      const TCentroids& series, double alpha);
  // Running median: x and y of every window sorted separately, the lower
  // median (rank (window - 1) / 2) stored where MovingAverage stores the
  // mean. Throws TError for a window below 1.
  static std::unique_ptr<TCentroids> MedianSmoothing(const TCentroids& series,
                                                     int32_t window);
  // The mean of every full window of `window` values, not centred:
  // values.size() - window + 1 means, none when the input is shorter. Throws
  // TError for a window below 1.
  static std::vector<double> MovingAverageSmoothing(std::vector<double> values,
                                                    int32_t window);
  // Exponential smoothing of a sequence; as long as the input.
  static std::vector<double> ExponentialSmoothing(std::vector<double> values,
                                                  double alpha);

  // --- Range shift measures ---

  // Reference minus position, the reference being the point of the first
  // year after `burnIn` entries; for that year and every later one. Throws
  // TError unless 0 <= burnIn < the number of years.
  static std::unique_ptr<TCentroids> GetRangeCoordShifts(
      const TCentroids& series, int32_t burnIn);
  // a's point in the last burn-in year (the first year when burnIn is 0)
  // minus c's point, for the years of c from position burnIn on. Throws
  // TError for an empty c or unless 0 <= burnIn <= its number of years, and
  // "Year does not exist." when a lacks the reference year.
  static std::unique_ptr<TCentroids> GetDiffInitial(const TCentroids& a,
                                                    const TCentroids& c,
                                                    int32_t burnIn);
  // Per component, the per cent by which the size of GetDiffInitial(a, c,
  // burnIn) departs from its size in the first reported year: always 0 or
  // more, infinite or NaN where that first size is 0. Throws TError unless
  // 0 <= burnIn < the number of years of c.
  static std::unique_ptr<TCentroids> GetPropInitialRangeCoordShifts(
      const TCentroids& a, const TCentroids& c, int32_t burnIn);
  // a's point minus c's point for every year of a. Throws "Year does not
  // exist." when c lacks one of them.
  static std::unique_ptr<TCentroids> GetDiffs(const TCentroids& a,
                                              const TCentroids& c);
  // The point of each year minus the point of the calendar year before it,
  // for every year but the first. Throws "Year does not exist." when the
  // years have a gap.
  static std::unique_ptr<TCentroids> GetYearlyRangeCoordShifts(
      const TCentroids& series);
  // GetYearlyRangeCoordShifts(c) as a per cent of GetDiffs(a, c), component
  // by component, signs kept. Throws "Year does not exist." as those do.
  static std::unique_ptr<TCentroids> GetPropYearlyRangeCoordShifts(
      const TCentroids& a, const TCentroids& c);

  // --- Occupied area ---

  // The area of the minimum convex polygon around the patches occupied in
  // `year` (population above 0), in square coordinate units; the resolution
  // is not applied. 0 when no patch is occupied; 0 up to rounding, or NaN,
  // for fewer than three occupied positions or positions on one line.
  static double GetMCPArea(const TPatches& patches, int32_t year);
  // GetMCPArea for every year of the year span, ascending; empty for a
  // collection without patches or years.
  static std::vector<double> GetMCPAreas(const TPatches& patches);
};

#endif  // ZELVATRIX_TCENTROIDTOOLS_H_
