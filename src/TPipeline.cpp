#include "TPipeline.h"

#include <cstddef>
#include <utility>
#include <vector>

#include "TCentroidTools.h"
#include "TError.h"
#include "TNumberFormat.h"
#include "TPatch.h"

namespace {

bool HasWindowLimit(TSmoothing smoothing) {
  // A moving window must fit the years left; exponential smoothing has no
  // window to fit.
  return smoothing == TSmoothing::kMovingAverage ||
         smoothing == TSmoothing::kMedian;
}

// Whether the collection holds years and every one of them lies below 0.
// The span of such a collection still runs up to year 0, since a patch's
// largest year never counts below it: the report would go on for years
// that hold no data.
bool AllYearsBeforeZero(const TPatches& patches) {
  bool any = false;
  for (const TPatch* patch : patches.GetPatchList()) {
    if (patch->GetNumYears() == 0) continue;
    if (patch->GetMaxYear() > 0 || patch->HasYear(0)) return false;
    any = true;
  }
  return any;
}

// Refuses a start year that puts every stored year below 0, naming the
// years the file would cover and the earliest start year it allows.
void CheckStartYear(const TPatches& patches, const TRunSettings& settings,
                    const std::string& filename, const TSettingNames& names) {
  if (!AllYearsBeforeZero(patches)) return;
  int64_t first = 0;
  int64_t last = 0;
  bool seen = false;
  for (const TPatch* patch : patches.GetPatchList()) {
    const std::vector<int32_t> years = patch->GetYearList();
    if (years.empty()) continue;
    if (!seen || years.front() < first) first = years.front();
    if (!seen || years.back() > last) last = years.back();
    seen = true;
  }
  using F = TNumberFormat;
  throw TError(TPipeline::DescribeSetting(names.start_year,
                                          names.start_year_text,
                                          settings.start_year) +
               " is outside its valid range: the years of " + filename +
               " would run from " + F::Integer(first) + " to " +
               F::Integer(last) + ", all before year 0; it must be at least " +
               F::Integer(int64_t{settings.start_year} - last));
}

}  // namespace

bool TPipeline::Cleans(const TRunSettings& settings) {
  return settings.clean_threshold > 0;
}

std::unique_ptr<TPatches> TPipeline::Clean(std::unique_ptr<TPatches> loaded,
                                           const TRunSettings& settings) {
  if (!Cleans(settings)) return loaded;
  return TCentroidTools::CleanPatches(*loaded, settings.clean_threshold);
}

void TPipeline::CheckLimits(const TPatches& patches,
                            const TRunSettings& settings,
                            const std::string& filename,
                            const TSettingNames& names) {
  using F = TNumberFormat;
  if (patches.GetNumPatches() == 0) {
    throw TError(Cleans(settings)
                     ? "No patch to analyse: cleaning with " +
                           DescribeSetting(names.clean_threshold,
                                           names.clean_threshold_text,
                                           settings.clean_threshold) +
                           " removed every patch of " + filename
                     : "No patch to analyse: " + filename +
                           " holds no patch lines");
  }
  CheckStartYear(patches, settings, filename, names);
  const std::size_t span = TCentroidTools::MakeYearList(patches).size();
  if (span == 0) {
    throw TError("No year to analyse: no patch of " + filename +
                 " has populations (the file has no \"Pop. ALL\" results)");
  }
  const int64_t years = static_cast<int64_t>(span);
  if (settings.burn_in < 0 || settings.burn_in >= years) {
    throw TError(
        DescribeSetting(names.burn_in, names.burn_in_text, settings.burn_in) +
        " is outside its valid range 0 to " + F::Integer(years - 1) +
        ": the file covers " + F::Integer(years) + " years");
  }
  if (settings.smoothing == TSmoothing::kNone) return;
  if (settings.window < 1) {
    throw TError(
        DescribeSetting(names.window, names.window_text, settings.window) +
        " is outside its valid range: it must be at least 1");
  }
  const int64_t left = years - settings.burn_in;
  if (HasWindowLimit(settings.smoothing) && settings.window > left) {
    throw TError(
        DescribeSetting(names.window, names.window_text, settings.window) +
        " is outside its valid range 1 to " + F::Integer(left) +
        ": the years left after the burn-in");
  }
}

std::string TPipeline::DescribeSetting(const std::string& name,
                                       const std::string& text, int64_t value) {
  const std::string read = TNumberFormat::Integer(value);
  if (text.empty() || text == read) return name + " " + read;
  return name + " \"" + text + "\" (read as " + read + ")";
}

std::unique_ptr<TCentroids> TPipeline::EdgeSeries(const TPatches& patches,
                                                  const TRunSettings& settings,
                                                  bool from_start) {
  return settings.weighted
             ? TCentroidTools::GetSubpopulationWeightedMeans(
                   patches, settings.share, settings.axis, from_start)
             : TCentroidTools::GetSubpopulationMeans(patches, settings.share,
                                                     settings.axis, from_start);
}

std::unique_ptr<TCentroids> TPipeline::Shifts(const TCentroids& edge,
                                              const TRunSettings& settings) {
  return TCentroidTools::GetRangeCoordShifts(edge, settings.burn_in);
}

std::unique_ptr<TCentroids> TPipeline::Smooth(
    std::unique_ptr<TCentroids> shifts, const TRunSettings& settings) {
  switch (settings.smoothing) {
    case TSmoothing::kMovingAverage:
      return TCentroidTools::MovingAverage(*shifts, settings.window);
    case TSmoothing::kExponential: {
      // The window taken as a double and 1.0 added before the division:
      // window 3 gives 0.5, window 1 gives 1.
      const double factor = 2.0 / (static_cast<double>(settings.window) + 1.0);
      return TCentroidTools::ExponentialSmoothing(*shifts, factor);
    }
    case TSmoothing::kMedian:
      return TCentroidTools::MedianSmoothing(*shifts, settings.window);
    case TSmoothing::kNone:
      break;
  }
  return shifts;
}
