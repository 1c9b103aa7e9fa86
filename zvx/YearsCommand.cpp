// zvx years: per file and year, the total population, the occupied
// patches, their centroids and the occupied area; with --ensemble, the
// spread of the occupied area across the files instead.

#include "Commands.h"
#include "TEnsembleValues.h"
#include "TError.h"
#include "TRangeTables.h"

int RunYearsCommand(TCommandContext& context) {
  const TTableSettings settings = context.options.settings;
  if (context.options.files.empty()) {
    throw TError("no FILE given", TError::Kind::kUsage);
  }
  if (context.options.ensemble) {
    return TEnsembleCommand::Summarise(
        context, context.options.files,
        [&settings](const std::string& file) {
          const auto patches =
              TRangeTables::Prepare(file, settings, TRangeTables::Use::kSpan);
          return TEnsembleValues::Areas(file, *patches, settings);
        },
        "");
  }
  return TEnsembleCommand::Run(
      context, context.options.files, TRangeTables::YearsColumns(),
      [&settings](const std::string& file) {
        const auto patches =
            TRangeTables::Prepare(file, settings, TRangeTables::Use::kSpan);
        return TRangeTables::Years(file, *patches, settings);
      });
}
