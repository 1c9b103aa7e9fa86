#include "TEnsembleValues.h"

#include <cstddef>
#include <cstdint>
#include <map>

#include "TError.h"

namespace {

// The columns of the edges and years tables that are read here.
std::size_t ColumnOf(const TTable& table, const std::string& name) {
  const auto& columns = table.GetColumns();
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (columns[i].name == name) return i;
  }
  throw TError("no column '" + name + "'", TError::Kind::kInternal);
}

}  // namespace

TTable TEnsembleValues::Columns() {
  using Type = TTable::Type;
  return TTable({{"file", Type::kText},
                 {"series", Type::kText},
                 {"year", Type::kInteger},
                 {"value", Type::kDouble},
                 {"resolution", Type::kDouble}});
}

TTable TEnsembleValues::Ordinates(const std::string& file,
                                  const TPatches& patches,
                                  const TTableSettings& settings) {
  const bool on_x = settings.run.axis == 'X';
  const std::string coordinate = on_x ? "x" : "y";
  TTableSettings raw_settings = settings;
  raw_settings.run.smoothing = TSmoothing::kNone;
  const TTable raw = TRangeTables::Edges(file, patches, raw_settings);
  const auto& raw_edges = raw.GetTexts(ColumnOf(raw, "edge"));
  const auto& raw_positions = raw.GetDoubles(ColumnOf(raw, coordinate));

  const bool smoothed = settings.run.smoothing != TSmoothing::kNone;
  const TTable edges =
      smoothed ? TRangeTables::Edges(file, patches, settings) : raw;
  const auto& names = edges.GetTexts(ColumnOf(edges, "edge"));
  const auto& years = edges.GetIntegers(ColumnOf(edges, "year"));
  const auto& positions = edges.GetDoubles(ColumnOf(edges, coordinate));
  const auto& shifts = edges.GetDoubles(ColumnOf(edges, "shift_" + coordinate));

  // Every shift is taken from the position in the first year after the
  // burn-in, which is the first row of each edge in the unsmoothed table.
  std::map<std::string, double> reference;
  for (std::size_t row = 0; row < raw.GetNumRows(); ++row) {
    reference.emplace(raw_edges[row], raw_positions[row]);
  }
  TTable table = Columns();
  const double resolution = patches.GetResolution();
  for (std::size_t row = 0; row < edges.GetNumRows(); ++row) {
    const double value =
        smoothed ? reference[names[row]] - shifts[row] : positions[row];
    table.AddRow({file, names[row], static_cast<int64_t>(years[row]), value,
                  resolution});
  }
  return table;
}

TTable TEnsembleValues::Areas(const std::string& file, const TPatches& patches,
                              const TTableSettings& settings) {
  const TTable years_table = TRangeTables::Years(file, patches, settings);
  const auto& years = years_table.GetIntegers(ColumnOf(years_table, "year"));
  const auto& areas = years_table.GetDoubles(ColumnOf(years_table, "area_km2"));
  TTable table = Columns();
  const double resolution = patches.GetResolution();
  for (std::size_t row = 0; row < years_table.GetNumRows(); ++row) {
    table.AddRow({file, kArea, years[row], areas[row], resolution});
  }
  return table;
}

void TEnsembleValues::AddTo(const TTable& values, TEnsembleSummary* summary) {
  const auto& series = values.GetTexts(1);
  const auto& years = values.GetIntegers(2);
  const auto& numbers = values.GetDoubles(3);
  for (std::size_t row = 0; row < values.GetNumRows(); ++row) {
    summary->Add(series[row], static_cast<int32_t>(years[row]), numbers[row]);
  }
}
