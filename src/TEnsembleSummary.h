#ifndef ZELVATRIX_TENSEMBLESUMMARY_H_
#define ZELVATRIX_TENSEMBLESUMMARY_H_

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "TTable.h"

// How one quantity spreads across the files of an ensemble in one year: the
// number of files with a value, their median and the 2.5 % and 97.5 %
// quantiles, between which the middle 95 % of the files lie. Median and
// quantiles are NaN when no file has a value.
struct TSpread {
  int64_t n = 0;
  double median = 0.0;
  double lower = 0.0;
  double upper = 0.0;
};

// Gathers the values of the files of an ensemble per series (an edge, the
// area) and year, and summarises each year across the files. Values that
// are NaN (no value that year) are left out of the count and the
// quantiles. Thread safety: one summary must not be changed while another
// thread uses it; distinct summaries are independent.
class TEnsembleSummary {
 public:
  // The probabilities of the band's lower and upper bounds.
  static constexpr double kLowerProbability = 0.025;
  static constexpr double kUpperProbability = 0.975;

  // One summarised year of one series.
  struct Row {
    std::string series;
    int32_t year;
    TSpread spread;
  };

  // The quantile of probability `p` (0 to 1) of `sorted`, which must be in
  // ascending order and hold no NaN, interpolated as R's default
  // quantile(type = 7) does, to the last bit: with h = 1 + (n - 1) p, the
  // value at floor(h) and the next one weighted by the fraction of h. NaN
  // for an empty list.
  static double Quantile(const std::vector<double>& sorted, double p);
  // The spread of `values`, any order; NaN entries are left out.
  static TSpread Spread(std::vector<double> values);

  // Adds one file's value of `series` in `year`; NaN counts as no value.
  void Add(const std::string& series, int32_t year, double value);
  // Every series in the order it was first added, each with its years
  // ascending. A year that only NaN values reached has n = 0.
  std::vector<Row> Rows() const;
  // The same as a table: "year", then the column `series_column` holding
  // the series' name (left out when empty), then "n", "median", "lower"
  // and "upper".
  TTable Table(const std::string& series_column) const;

 private:
  struct Series {
    std::string name;
    std::map<int32_t, std::vector<double>> years;
  };
  std::vector<Series> series_;
};

#endif  // ZELVATRIX_TENSEMBLESUMMARY_H_
