// zvx edges: the edge centroids, their shifts from the reference year and
// their year-on-year steps, one row per file, edge and reported year; with
// --ensemble, the spread of the edges' ordinates across the files instead.

#include "Commands.h"
#include "TEnsembleValues.h"
#include "TError.h"
#include "TRangeTables.h"

int RunEdgesCommand(TCommandContext& context) {
  const TTableSettings settings = context.options.settings;
  if (context.options.files.empty()) {
    throw TError("no FILE given", TError::Kind::kUsage);
  }
  if (context.options.ensemble) {
    return TEnsembleCommand::Summarise(
        context, context.options.files,
        [&settings](const std::string& file) {
          const auto patches =
              TRangeTables::Prepare(file, settings, TRangeTables::Use::kEdges);
          return TEnsembleValues::Ordinates(file, *patches, settings);
        },
        "edge");
  }
  return TEnsembleCommand::Run(
      context, context.options.files, TRangeTables::EdgesColumns(),
      [&settings](const std::string& file) {
        const auto patches =
            TRangeTables::Prepare(file, settings, TRangeTables::Use::kEdges);
        return TRangeTables::Edges(file, *patches, settings);
      });
}
