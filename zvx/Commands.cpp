#include "Commands.h"

const std::vector<TZvxCommand>& ZvxCommands() {
  static const std::vector<TZvxCommand> commands = {
      {"edges", "the range edges' centroids, shifts and steps per year",
       "[options] FILE...", RunEdgesCommand,
       "With --ensemble, one row per year and edge, year,edge,n,median,lower,\n"
       "upper: of the files with a value that year (n), the median and the\n"
       "2.5 % and 97.5 % quantiles (as R's quantile type 7) of the edge\n"
       "centroid's ordinate in map units; with --smooth, the reference\n"
       "position minus the smoothed shift.\n"},
      {"members", "the patches that form each edge subpopulation per year",
       "[options] FILE...", RunMembersCommand},
      {"years", "total, occupied patches, centroids and occupied area per year",
       "[options] FILE...", RunYearsCommand,
       "With --ensemble, one row per year, year,n,median,lower,upper: of the\n"
       "files with that year (n), the median and the 2.5 % and 97.5 %\n"
       "quantiles (as R's quantile type 7) of the occupied area in km2\n"
       "(area_km2, the area in map units2 when the resolution is 1).\n"},
      {"compare", "every FILE's edges against those of a BASELINE scenario",
       "[options] BASELINE FILE...", RunCompareCommand},
      {"plot", "the edges' ordinates and the occupied area per year as SVG",
       "[options] --output FILE.svg FILE...", RunPlotCommand,
       "Writes one SVG picture to --output (required): above, the edge\n"
       "centroids' ordinate per year, one line per file and edge; below, the\n"
       "occupied area per year. With --ensemble, per edge the median line and\n"
       "the band from the 2.5 % to the 97.5 % quantile across the files, the\n"
       "numbers of zvx edges --ensemble and zvx years --ensemble. A year\n"
       "without a value leaves a gap in its line.\n"},
  };
  return commands;
}
