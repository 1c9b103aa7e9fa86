#ifndef ZELVATRIX_TPIPELINE_H_
#define ZELVATRIX_TPIPELINE_H_

#include <cstdint>
#include <memory>
#include <string>

#include "TCentroids.h"
#include "TPatches.h"

// How the shift series of an edge are smoothed.
enum class TSmoothing {
  kNone,
  // Centred simple moving average over `window` years.
  kMovingAverage,
  // Exponential smoothing with the factor 2 / (window + 1).
  kExponential,
  // Running median over `window` years.
  kMedian,
};

// The settings of one analysis of one MP file, shared by every program.
struct TRunSettings {
  // The calendar year of the first simulated year.
  int32_t start_year = 1;
  // 'X' selects the x coordinate as the ordinate; any other character y.
  char axis = 'Y';
  // The share of each year's total population that each edge gathers.
  double share = 0.1;
  // Leading positions of the year span that are not reported.
  int32_t burn_in = 0;
  // Patches without this many consecutive occupied years are dropped
  // first; 0 or below: no cleaning.
  int32_t clean_threshold = 0;
  TSmoothing smoothing = TSmoothing::kNone;
  int32_t window = 0;
  // Edge centroids weighted by what each patch contributes, instead of the
  // plain mean of the occupied patches.
  bool weighted = false;
};

// How a program names the settings in its messages, so that a message shows
// what the user typed: "burn-in" on one command line, "--burn-in" on another.
// Programs fill it in by position: new members go at the end.
struct TSettingNames {
  std::string clean_threshold = "patch_size_threshold";
  std::string burn_in = "burn-in";
  std::string window = "window_size";
  std::string start_year = "startyear";
  // The settings' values as the user typed them, where the program has the
  // text; empty where it has not. A message quotes the text beside the
  // value read from it when the two differ (see DescribeSetting).
  std::string start_year_text = "";
  std::string clean_threshold_text = "";
  std::string burn_in_text = "";
  std::string window_text = "";
  // Where the resolution can be given instead of the file's.
  std::string resolution = "--resolution";
};

// The steps of a range-edge analysis of one file, in the order a run takes
// them: clean, check the limits, edge series, shifts, smoothing. No step
// writes anything; each reads its inputs without changing them and returns
// a new result owned by the caller. All operations are static and safe to
// call from several threads at once on different or unchanged inputs.
class TPipeline {
 public:
  TPipeline() = delete;

  // True when the settings ask for cleaning (a threshold above 0).
  static bool Cleans(const TRunSettings& settings);
  // The collection to analyse: a cleaned copy of `loaded` when the
  // settings ask for cleaning, else `loaded` itself.
  static std::unique_ptr<TPatches> Clean(std::unique_ptr<TPatches> loaded,
                                         const TRunSettings& settings);
  // Throws TError (kind kInput) when the analysis of `patches`, from the
  // file `filename`, cannot report a single year, or only years without
  // data: no patch, every stored year below 0 (the start year too far back:
  // the span would run on to year 0), no year, a burn-in outside the span,
  // or a smoothing window the years left cannot hold. Messages name the
  // settings as `names` gives them.
  static void CheckLimits(const TPatches& patches, const TRunSettings& settings,
                          const std::string& filename,
                          const TSettingNames& names = TSettingNames());
  // A setting as a message shows it: its name and value ("burn-in 5"), and,
  // when `text`, as the user typed it, is not empty and reads as another
  // value, that text too: burn-in "99999999999" (read as 2147483647).
  static std::string DescribeSetting(const std::string& name,
                                     const std::string& text, int64_t value);
  // The edge centroid of every year of the span: gathered from the smallest
  // ordinate upwards when `from_start`, else from the largest downwards;
  // the plain or weighted mean as the settings say.
  static std::unique_ptr<TCentroids> EdgeSeries(const TPatches& patches,
                                                const TRunSettings& settings,
                                                bool from_start);
  // The shifts of an edge series from its position after the burn-in
  // (reference minus position), for the years from the burn-in on.
  // Requires the limits CheckLimits checks.
  static std::unique_ptr<TCentroids> Shifts(const TCentroids& edge,
                                            const TRunSettings& settings);
  // The shift series smoothed as the settings say (unchanged for none).
  // Requires the limits CheckLimits checks.
  static std::unique_ptr<TCentroids> Smooth(std::unique_ptr<TCentroids> shifts,
                                            const TRunSettings& settings);
};

#endif  // ZELVATRIX_TPIPELINE_H_
