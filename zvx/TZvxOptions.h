#ifndef ZELVATRIX_ZVX_TZVXOPTIONS_H_
#define ZELVATRIX_ZVX_TZVXOPTIONS_H_

#include <cstddef>
#include <istream>
#include <string>
#include <vector>

#include "TRangeTables.h"

// The command line of a zvx subcommand, read strictly: a value that is not
// wholly a valid number in range, an unknown option or a missing value is
// an error (TError of kind kUsage) whose message names the option and the
// value as typed. Options take "--name VALUE" and "--name=VALUE" and may
// stand before, between or after the files; "--" ends the options.
struct TZvxOptions {
  TTableSettings settings;
  // Files analysed at once.
  std::size_t jobs = 1;
  // The files: those named on the command line, then those of --files-from.
  std::vector<std::string> files;
  bool header = true;
  // The output file; empty for standard output.
  std::string output;
  bool quiet = false;
  // Per year (and edge) the spread across the files instead of one row per
  // file; only for the subcommands that summarise (edges, years, plot).
  bool ensemble = false;
  // --help was given: the other options are not checked.
  bool help = false;

  // Reads the options of subcommand `command` from `args` (the arguments
  // after the subcommand's name). Reads --files-from - from `in`. Throws
  // TError of kind kUsage, also for --ensemble with a subcommand other than
  // edges, years and plot.
  static TZvxOptions Parse(const std::string& command,
                           const std::vector<std::string>& args,
                           std::istream& in);
  // The options' help, one line each, for COMMAND --help.
  static std::string Help();
};

#endif  // ZELVATRIX_ZVX_TZVXOPTIONS_H_
