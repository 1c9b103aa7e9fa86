// zvx compare: each scenario's edge series against its baseline's, year by
// year. The baseline is read once and shared, read-only, by every job.

#include <memory>
#include <vector>

#include "Commands.h"
#include "TError.h"
#include "TRangeTables.h"

int RunCompareCommand(TCommandContext& context) {
  const TTableSettings settings = context.options.settings;
  const std::vector<std::string>& all = context.options.files;
  if (all.empty()) throw TError("no BASELINE given", TError::Kind::kUsage);
  if (all.size() < 2) {
    throw TError("no FILE given after BASELINE", TError::Kind::kUsage);
  }
  const std::string& baseline = all.front();
  std::unique_ptr<TPatches> baseline_patches;
  try {
    baseline_patches =
        TRangeTables::Prepare(baseline, settings, TRangeTables::Use::kCompare);
  } catch (const TError& error) {
    // Without its baseline no scenario can be compared.
    throw error.WithMessage(std::string(error.what()) +
                            "\nzvx compare: the baseline failed, so no FILE "
                            "was compared");
  }
  const std::vector<std::string> files(all.begin() + 1, all.end());
  const TPatches& reference = *baseline_patches;
  return TEnsembleCommand::Run(
      context, files, TRangeTables::CompareColumns(),
      [&](const std::string& file) {
        const auto patches =
            TRangeTables::Prepare(file, settings, TRangeTables::Use::kCompare);
        return TRangeTables::Compare(baseline, reference, file, *patches,
                                     settings);
      });
}
