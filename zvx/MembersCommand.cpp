// zvx members: the patches each year's edge walk takes, from the edge
// inwards, with what each contributes to the edge subpopulation.

#include "Commands.h"
#include "TError.h"
#include "TRangeTables.h"

int RunMembersCommand(TCommandContext& context) {
  const TTableSettings settings = context.options.settings;
  if (context.options.files.empty()) {
    throw TError("no FILE given", TError::Kind::kUsage);
  }
  return TEnsembleCommand::Run(
      context, context.options.files, TRangeTables::MembersColumns(),
      [&settings](const std::string& file) {
        const auto patches =
            TRangeTables::Prepare(file, settings, TRangeTables::Use::kSpan);
        return TRangeTables::Members(file, *patches, settings);
      });
}
