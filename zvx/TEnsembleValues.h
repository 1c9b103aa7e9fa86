#ifndef ZELVATRIX_ZVX_TENSEMBLEVALUES_H_
#define ZELVATRIX_ZVX_TENSEMBLEVALUES_H_

#include <string>

#include "TEnsembleSummary.h"
#include "TPatches.h"
#include "TRangeTables.h"
#include "TTable.h"

// The values one file contributes to an ensemble's summary and plot, as a
// table "file, series, year, value, resolution": per edge ("north", ...)
// and reported year the edge centroid's ordinate, and per year ("area") the
// occupied area. All operations are static and safe to call from several
// threads at once on different or unchanged inputs.
class TEnsembleValues {
 public:
  TEnsembleValues() = delete;

  // The series name of the occupied area.
  static constexpr const char* kArea = "area";

  // The empty table, for its columns.
  static TTable Columns();
  // Per edge and year of the edges table, the ordinate of the edge centroid
  // (y for axis y, x for axis x) in map units. Without smoothing it is the
  // centroid's own; with smoothing it is the reference position minus the
  // smoothed shift, the position the smoothed shift stands for. Requires a
  // collection from TRangeTables::Prepare(kEdges).
  static TTable Ordinates(const std::string& file, const TPatches& patches,
                          const TTableSettings& settings);
  // Per year of the span, the occupied area (the minimum convex polygon)
  // in km², which is the area in map units² when the resolution is 1.
  // Requires a collection from TRangeTables::Prepare(kSpan) or (kEdges).
  static TTable Areas(const std::string& file, const TPatches& patches,
                      const TTableSettings& settings);
  // Adds the rows of a table from Ordinates or Areas to `summary`.
  static void AddTo(const TTable& values, TEnsembleSummary* summary);
};

#endif  // ZELVATRIX_ZVX_TENSEMBLEVALUES_H_
