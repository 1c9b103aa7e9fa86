#ifndef ZELVATRIX_ZVX_TENSEMBLECOMMAND_H_
#define ZELVATRIX_ZVX_TENSEMBLECOMMAND_H_

#include <functional>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "TTable.h"
#include "TZvxOptions.h"

// What a subcommand handler is given: its parsed options and the streams.
struct TCommandContext {
  std::string command;
  TZvxOptions options;
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  bool err_is_terminal;
};

// The part every table subcommand shares: writes the header, analyses the
// files in parallel with `analyse`, writes each file's rows in file order
// as soon as the files before it are done, reports each failed file on
// standard error without stopping the others, shows a progress line on a
// terminal, and returns the exit status (0; 1 when a file failed or the
// table could not be written; 3 after a fault of zvx itself).
class TEnsembleCommand {
 public:
  // Makes the table of one file; may throw TError. Called from several
  // threads at once.
  using Analyse = std::function<TTable(const std::string& file)>;

  // Runs `analyse` over `files`; `columns` is an empty table with the
  // table's columns, for the header.
  static int Run(TCommandContext& context,
                 const std::vector<std::string>& files, const TTable& columns,
                 const Analyse& analyse);
};

#endif  // ZELVATRIX_ZVX_TENSEMBLECOMMAND_H_
