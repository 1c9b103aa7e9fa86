#ifndef ZELVATRIX_ZVX_TENSEMBLECOMMAND_H_
#define ZELVATRIX_ZVX_TENSEMBLECOMMAND_H_

#include <fstream>
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

  // Receives the table of a file that succeeded, in file order, on the
  // thread that called Gather; may throw TError.
  using Take = std::function<void(const TTable& table)>;
  // Called once every file is done, before the count of failed files is
  // written; may throw TError.
  using Finish = std::function<void()>;

  // Runs `analyse` over `files`; `columns` is an empty table with the
  // table's columns, for the header.
  static int Run(TCommandContext& context,
                 const std::vector<std::string>& files, const TTable& columns,
                 const Analyse& analyse);
  // Analyses the files as Run does, reporting failed files and progress
  // the same way and returning the same statuses, but hands each table to
  // `take` instead of writing it, for outputs that need every file first.
  static int Gather(TCommandContext& context,
                    const std::vector<std::string>& files,
                    const Analyse& analyse, const Take& take,
                    const Finish& finish);
  // Analyses the files as Run does, with `analyse` giving each file's
  // values (a TEnsembleValues table), and writes their summary across the
  // files, TEnsembleSummary::Table(series_column), once every file is done.
  static int Summarise(TCommandContext& context,
                       const std::vector<std::string>& files,
                       const Analyse& analyse,
                       const std::string& series_column);
  // Opens --output for writing, truncating it, or gives standard output
  // when there is none; `file_out` holds the file and must outlive the
  // stream returned. Throws TError of kind kUsage when it cannot be opened.
  static std::ostream& OpenOutput(TCommandContext& context,
                                  std::ofstream& file_out);
  // The output's name in messages: the --output path or "standard output".
  static std::string OutputName(const TCommandContext& context);
};

#endif  // ZELVATRIX_ZVX_TENSEMBLECOMMAND_H_
