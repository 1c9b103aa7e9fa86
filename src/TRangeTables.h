#ifndef ZELVATRIX_TRANGETABLES_H_
#define ZELVATRIX_TRANGETABLES_H_

#include <memory>
#include <string>

#include "TPatches.h"
#include "TPipeline.h"
#include "TTable.h"

// The settings of the tidy tables: the run settings of the analysis plus
// how the map is read.
struct TTableSettings {
  // The analysis; `run.axis` is 'X' or 'Y'.
  TRunSettings run;
  // The map's y grows southwards, as on the model's GIS grids: the edge at
  // the largest y is then the south.
  bool y_down = false;
  // Kilometres per map unit, overriding the file's, when `has_resolution`.
  bool has_resolution = false;
  double resolution = 1.0;
  // How messages name the settings.
  TSettingNames names;
};

// The tidy tables of the range analyses of one MP file: one observation per
// row, one variable per column, every file's rows labelled with its name as
// given. The two edges of an axis are told by name: axis y gives "north"
// and "south", axis x "east" (the largest x) and "west"; the first-named
// edge's rows come first. All operations are static and safe to call from
// several threads at once on different or unchanged inputs.
class TRangeTables {
 public:
  TRangeTables() = delete;

  // What a table needs of the file before it can be made.
  enum class Use {
    // The edge series with burn-in and smoothing: the full limits.
    kEdges,
    // Every year of the span; burn-in and smoothing do not apply.
    kSpan,
    // The edge series with burn-in, not smoothed.
    kCompare,
  };

  // Loads `filename`, applies the resolution given in the settings, checks
  // that the resolution is a positive finite number, cleans as the settings
  // say and checks the limits of `use`. Returns the collection to analyse,
  // owned by the caller. Throws TError of kind kInput, its message starting
  // with the file name, for any fault of the file.
  static std::unique_ptr<TPatches> Prepare(const std::string& filename,
                                           const TTableSettings& settings,
                                           Use use);

  // The empty tables, for their columns.
  static TTable EdgesColumns();
  static TTable MembersColumns();
  static TTable YearsColumns();
  static TTable CompareColumns();

  // One row per edge and reported year: the edge centroid (never smoothed),
  // its shift from the reference year (reference minus position, smoothed
  // as chosen) in map units and in kilometres, and its step from the
  // calendar year before (position minus previous; NA in the first year of
  // the span). Requires a collection from Prepare(kEdges).
  static TTable Edges(const std::string& file, const TPatches& patches,
                      const TTableSettings& settings);
  // One row per patch that each year's edge walk takes, in walk order from
  // the edge inwards, for every year of the span: the patch's population
  // and what it contributes to the edge subpopulation. Requires a
  // collection from Prepare(kSpan).
  static TTable Members(const std::string& file, const TPatches& patches,
                        const TTableSettings& settings);
  // One row per year of the span: total population, occupied patches,
  // plain and weighted centroid, effective number of occupied patches, and
  // the occupied area (minimum convex polygon) in map units² and km².
  // Requires a collection from Prepare(kSpan).
  static TTable Years(const std::string& file, const TPatches& patches,
                      const TTableSettings& settings);
  // Every edge of `file` against the same edge of `baseline`: differences,
  // differences from the baseline's initial position, and both as per
  // cents, for the file's years from the burn-in on. Requires collections
  // from Prepare(kCompare). Throws TError (kind kInput) when the two year
  // spans differ.
  static TTable Compare(const std::string& baseline,
                        const TPatches& baseline_patches,
                        const std::string& file, const TPatches& patches,
                        const TTableSettings& settings);
};

#endif  // ZELVATRIX_TRANGETABLES_H_
