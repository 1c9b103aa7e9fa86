#include "Commands.h"

const std::vector<TZvxCommand>& ZvxCommands() {
  static const std::vector<TZvxCommand> commands = {
      {"edges", "the range edges' centroids, shifts and steps per year",
       "[options] FILE...", RunEdgesCommand},
      {"members", "the patches that form each edge subpopulation per year",
       "[options] FILE...", RunMembersCommand},
      {"years", "total, occupied patches, centroids and occupied area per year",
       "[options] FILE...", RunYearsCommand},
      {"compare", "every FILE's edges against those of a BASELINE scenario",
       "[options] BASELINE FILE...", RunCompareCommand},
  };
  return commands;
}
