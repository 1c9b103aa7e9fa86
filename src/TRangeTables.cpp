#include "TRangeTables.h"

#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

#include "TCentroidTools.h"
#include "TError.h"
#include "TMPParser.h"
#include "TNumberFormat.h"

namespace {

using Type = TTable::Type;

constexpr double kNA = std::numeric_limits<double>::quiet_NaN();

// An edge of the range: its name and the end of the ordinate order its walk
// starts from.
struct Edge {
  const char* name;
  bool from_start;
};

// The two edges of the axis, the first-named first. The walk towards
// smaller ordinates starts at the largest one: that is the north on a map
// whose y grows northwards, the south on one whose y grows southwards.
std::vector<Edge> EdgesOf(const TTableSettings& settings) {
  if (settings.run.axis == 'X') return {{"east", false}, {"west", true}};
  if (settings.y_down) return {{"north", true}, {"south", false}};
  return {{"north", false}, {"south", true}};
}

std::vector<TTable::Column> Columns(
    const std::vector<std::pair<const char*, Type>>& definition) {
  std::vector<TTable::Column> columns;
  for (const auto& column : definition)
    columns.push_back({column.first, column.second});
  return columns;
}

}  // namespace

std::unique_ptr<TPatches> TRangeTables::Prepare(const std::string& filename,
                                                const TTableSettings& settings,
                                                Use use) {
  std::unique_ptr<TPatches> patches =
      TMPParser::LoadMP(filename, settings.run.start_year);
  if (settings.has_resolution) patches->SetResolution(settings.resolution);
  const double resolution = patches->GetResolution();
  if (!(std::isfinite(resolution) && resolution > 0.0)) {
    throw TError(filename + ": the map resolution is " +
                 TNumberFormat::Shortest(resolution) +
                 " km per map unit, which is not a positive number; give the "
                 "right one with " +
                 settings.names.resolution);
  }
  patches = TPipeline::Clean(std::move(patches), settings.run);
  TRunSettings limits = settings.run;
  if (use != Use::kEdges) limits.smoothing = TSmoothing::kNone;
  if (use == Use::kSpan) limits.burn_in = 0;
  try {
    TPipeline::CheckLimits(*patches, limits, filename, settings.names);
  } catch (const TError& error) {
    throw error.WithMessage(filename + ": " + error.what());
  }
  return patches;
}

TTable TRangeTables::EdgesColumns() {
  return TTable(Columns({{"file", Type::kText},
                         {"edge", Type::kText},
                         {"year", Type::kInteger},
                         {"x", Type::kDouble},
                         {"y", Type::kDouble},
                         {"shift_x", Type::kDouble},
                         {"shift_y", Type::kDouble},
                         {"shift_x_km", Type::kDouble},
                         {"shift_y_km", Type::kDouble},
                         {"step_x", Type::kDouble},
                         {"step_y", Type::kDouble}}));
}

TTable TRangeTables::MembersColumns() {
  return TTable(Columns({{"file", Type::kText},
                         {"edge", Type::kText},
                         {"year", Type::kInteger},
                         {"patch", Type::kText},
                         {"x", Type::kDouble},
                         {"y", Type::kDouble},
                         {"population", Type::kDouble},
                         {"taken", Type::kDouble}}));
}

TTable TRangeTables::YearsColumns() {
  return TTable(Columns({{"file", Type::kText},
                         {"year", Type::kInteger},
                         {"total", Type::kDouble},
                         {"occupied", Type::kInteger},
                         {"mean_x", Type::kDouble},
                         {"mean_y", Type::kDouble},
                         {"weighted_x", Type::kDouble},
                         {"weighted_y", Type::kDouble},
                         {"effective_patches", Type::kDouble},
                         {"area", Type::kDouble},
                         {"area_km2", Type::kDouble}}));
}

TTable TRangeTables::CompareColumns() {
  return TTable(Columns({{"baseline", Type::kText},
                         {"file", Type::kText},
                         {"edge", Type::kText},
                         {"year", Type::kInteger},
                         {"diff_x", Type::kDouble},
                         {"diff_y", Type::kDouble},
                         {"diff_initial_x", Type::kDouble},
                         {"diff_initial_y", Type::kDouble},
                         {"prop_initial_x", Type::kDouble},
                         {"prop_initial_y", Type::kDouble},
                         {"prop_yearly_x", Type::kDouble},
                         {"prop_yearly_y", Type::kDouble}}));
}

TTable TRangeTables::Edges(const std::string& file, const TPatches& patches,
                           const TTableSettings& settings) {
  TTable table = EdgesColumns();
  const double resolution = patches.GetResolution();
  for (const Edge& edge : EdgesOf(settings)) {
    const std::unique_ptr<TCentroids> centroids =
        TPipeline::EdgeSeries(patches, settings.run, edge.from_start);
    const std::unique_ptr<TCentroids> shifts = TPipeline::Smooth(
        TPipeline::Shifts(*centroids, settings.run), settings.run);
    // The span has no gaps, so every year but the first has its step.
    const std::unique_ptr<TCentroids> steps =
        TCentroidTools::GetYearlyRangeCoordShifts(*centroids);
    for (int32_t year : shifts->GetYearList()) {
      const TPoint position = centroids->GetCoords(year);
      const TPoint shift = shifts->GetCoords(year);
      const TPoint step =
          steps->YearExists(year) ? steps->GetCoords(year) : TPoint(kNA, kNA);
      table.AddRow({file, edge.name, year, position.X(), position.Y(),
                    shift.X(), shift.Y(), resolution * shift.X(),
                    resolution * shift.Y(), step.X(), step.Y()});
    }
  }
  return table;
}

TTable TRangeTables::Members(const std::string& file, const TPatches& patches,
                             const TTableSettings& settings) {
  TTable table = MembersColumns();
  const std::vector<std::string> names =
      TCentroidTools::SortOnOrdinate(patches, settings.run.axis);
  const std::vector<int32_t> years = TCentroidTools::MakeYearList(patches);
  for (const Edge& edge : EdgesOf(settings)) {
    for (int32_t year : years) {
      const std::unique_ptr<TPatches> taken = TCentroidTools::GetSubpopulation(
          patches, names, settings.run.share, year, edge.from_start);
      // The subpopulation is keyed by name; its walk order is the order of
      // the names from the edge inwards.
      std::size_t left = taken->GetNumPatches();
      for (std::size_t step = 0; step < names.size() && left > 0; ++step) {
        const std::string& name =
            names[edge.from_start ? step : names.size() - 1 - step];
        if (!taken->PatchExists(name)) continue;
        const TPatch& source = patches.GetPatch(name);
        table.AddRow({file, edge.name, year, name, source.GetX(), source.GetY(),
                      source.GetYear(year),
                      taken->GetPatch(name).GetYear(year)});
        --left;
      }
    }
  }
  return table;
}

TTable TRangeTables::Years(const std::string& file, const TPatches& patches,
                           const TTableSettings& settings) {
  (void)settings;
  TTable table = YearsColumns();
  const double resolution = patches.GetResolution();
  const std::vector<const TPatch*> list = patches.GetPatchList();
  for (int32_t year : TCentroidTools::MakeYearList(patches)) {
    // Sums over the occupied patches in name order: S = sum of p and
    // Q = sum of p * p, whose ratio S * S / Q is the number of equally
    // populated patches that would hold the same concentration.
    int64_t occupied = 0;
    double sum = 0.0;
    double sum_of_squares = 0.0;
    for (const TPatch* patch : list) {
      const double* population = patch->FindYear(year);
      if (population == nullptr || !(*population > 0.0)) continue;
      ++occupied;
      sum += *population;
      sum_of_squares += *population * *population;
    }
    const TPoint mean = TCentroidTools::Means(patches, year);
    const TPoint weighted = TCentroidTools::WeightedMeans(patches, year);
    const double effective = occupied > 0 ? sum * sum / sum_of_squares : kNA;
    const double area = TCentroidTools::GetMCPArea(patches, year);
    table.AddRow({file, year, TCentroidTools::SumPopulations(patches, year),
                  occupied, mean.X(), mean.Y(), weighted.X(), weighted.Y(),
                  effective, area, area * (resolution * resolution)});
  }
  return table;
}

TTable TRangeTables::Compare(const std::string& baseline,
                             const TPatches& baseline_patches,
                             const std::string& file, const TPatches& patches,
                             const TTableSettings& settings) {
  const std::vector<int32_t> baseline_years =
      TCentroidTools::MakeYearList(baseline_patches);
  const std::vector<int32_t> years = TCentroidTools::MakeYearList(patches);
  if (years != baseline_years) {
    auto span = [](const std::vector<int32_t>& list) {
      return std::to_string(list.front()) + " to " +
             std::to_string(list.back());
    };
    throw TError(file + ": its years run from " + span(years) +
                 ", those of the baseline " + baseline + " from " +
                 span(baseline_years) +
                 "; a scenario is compared with its baseline year by year");
  }
  TTable table = CompareColumns();
  const int32_t burn_in = settings.run.burn_in;
  for (const Edge& edge : EdgesOf(settings)) {
    const std::unique_ptr<TCentroids> a =
        TPipeline::EdgeSeries(baseline_patches, settings.run, edge.from_start);
    const std::unique_ptr<TCentroids> c =
        TPipeline::EdgeSeries(patches, settings.run, edge.from_start);
    const std::unique_ptr<TCentroids> diffs = TCentroidTools::GetDiffs(*a, *c);
    const std::unique_ptr<TCentroids> initial =
        TCentroidTools::GetDiffInitial(*a, *c, burn_in);
    const std::unique_ptr<TCentroids> prop_initial =
        TCentroidTools::GetPropInitialRangeCoordShifts(*a, *c, burn_in);
    const std::unique_ptr<TCentroids> prop_yearly =
        TCentroidTools::GetPropYearlyRangeCoordShifts(*a, *c);
    for (int32_t year : initial->GetYearList()) {
      const TPoint diff = diffs->GetCoords(year);
      const TPoint from_initial = initial->GetCoords(year);
      const TPoint prop = prop_initial->GetCoords(year);
      const TPoint yearly = prop_yearly->YearExists(year)
                                ? prop_yearly->GetCoords(year)
                                : TPoint(kNA, kNA);
      table.AddRow({baseline, file, edge.name, year, diff.X(), diff.Y(),
                    from_initial.X(), from_initial.Y(), prop.X(), prop.Y(),
                    yearly.X(), yearly.Y()});
    }
  }
  return table;
}
