#include "TPipeline.h"

#include <cstddef>
#include <utility>

#include "TCentroidTools.h"
#include "TError.h"
#include "TNumberFormat.h"

namespace {

bool HasWindowLimit(TSmoothing smoothing) {
  // A moving window must fit the years left; exponential smoothing has no
  // window to fit.
  return smoothing == TSmoothing::kMovingAverage ||
         smoothing == TSmoothing::kMedian;
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
    throw TError(
        Cleans(settings)
            ? "No patch to analyse: cleaning with " + names.clean_threshold +
                  " " + F::Integer(settings.clean_threshold) +
                  " removed every patch of " + filename
            : "No patch to analyse: " + filename + " holds no patch lines");
  }
  const std::size_t span = TCentroidTools::MakeYearList(patches).size();
  if (span == 0) {
    throw TError("No year to analyse: no patch of " + filename +
                 " has populations (the file has no \"Pop. ALL\" results)");
  }
  const int64_t years = static_cast<int64_t>(span);
  if (settings.burn_in < 0 || settings.burn_in >= years) {
    throw TError(names.burn_in + " " + F::Integer(settings.burn_in) +
                 " is outside its valid range 0 to " + F::Integer(years - 1) +
                 ": the file covers " + F::Integer(years) + " years");
  }
  if (settings.smoothing == TSmoothing::kNone) return;
  if (settings.window < 1) {
    throw TError(names.window + " " + F::Integer(settings.window) +
                 " is outside its valid range: it must be at least 1");
  }
  const int64_t left = years - settings.burn_in;
  if (HasWindowLimit(settings.smoothing) && settings.window > left) {
    throw TError(names.window + " " + F::Integer(settings.window) +
                 " is outside its valid range 1 to " + F::Integer(left) +
                 ": the years left after the burn-in");
  }
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
