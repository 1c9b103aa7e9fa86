#include "TEnsembleSummary.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

double TEnsembleSummary::Quantile(const std::vector<double>& sorted, double p) {
  if (sorted.empty()) return std::numeric_limits<double>::quiet_NaN();
  // R's quantile.default for type 7, step by step, so that R reads the very
  // same bits: a 1-based position, the value there, and an interpolation
  // only when the next value differs, which also keeps Inf - Inf out.
  const double n = static_cast<double>(sorted.size());
  const double index = 1.0 + (n - 1.0) * p;
  const double lo = std::floor(index);
  const double hi = std::ceil(index);
  const double at_lo = sorted[static_cast<std::size_t>(lo) - 1];
  const double at_hi = sorted[static_cast<std::size_t>(hi) - 1];
  if (!(index > lo) || at_hi == at_lo) return at_lo;
  const double h = index - lo;
  return (1.0 - h) * at_lo + h * at_hi;
}

TSpread TEnsembleSummary::Spread(std::vector<double> values) {
  values.erase(std::remove_if(values.begin(), values.end(),
                              [](double v) { return std::isnan(v); }),
               values.end());
  std::sort(values.begin(), values.end());
  TSpread spread;
  spread.n = static_cast<int64_t>(values.size());
  spread.median = Quantile(values, 0.5);
  spread.lower = Quantile(values, kLowerProbability);
  spread.upper = Quantile(values, kUpperProbability);
  return spread;
}

void TEnsembleSummary::Add(const std::string& series, int32_t year,
                           double value) {
  auto found = std::find_if(series_.begin(), series_.end(),
                            [&](const Series& s) { return s.name == series; });
  if (found == series_.end()) {
    series_.push_back({series, {}});
    found = series_.end() - 1;
  }
  found->years[year].push_back(value);
}

std::vector<TEnsembleSummary::Row> TEnsembleSummary::Rows() const {
  std::vector<Row> rows;
  for (const Series& series : series_) {
    for (const auto& year : series.years) {
      rows.push_back({series.name, year.first, Spread(year.second)});
    }
  }
  return rows;
}

TTable TEnsembleSummary::Table(const std::string& series_column) const {
  using Type = TTable::Type;
  std::vector<TTable::Column> columns = {{"year", Type::kInteger}};
  if (!series_column.empty()) columns.push_back({series_column, Type::kText});
  columns.push_back({"n", Type::kInteger});
  for (const char* name : {"median", "lower", "upper"}) {
    columns.push_back({name, Type::kDouble});
  }
  TTable table(columns);
  for (const Row& row : Rows()) {
    const TSpread& s = row.spread;
    if (series_column.empty()) {
      table.AddRow({row.year, s.n, s.median, s.lower, s.upper});
    } else {
      table.AddRow({row.year, row.series, s.n, s.median, s.lower, s.upper});
    }
  }
  return table;
}
