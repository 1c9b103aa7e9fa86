#ifndef ZELVATRIX_ZVX_ZVX_H_
#define ZELVATRIX_ZVX_ZVX_H_

#include <istream>
#include <ostream>
#include <string>
#include <vector>

// Exit statuses of zvx.
enum ZvxExit {
  kZvxSuccess = 0,
  // At least one file failed (its message is on standard error), or the
  // table could not be written.
  kZvxFileFailed = 1,
  // The command line is wrong; nothing was written to standard output.
  kZvxUsage = 2,
  // A fault of zvx itself, to be reported.
  kZvxInternal = 3,
};

// Runs zvx once. `args` are the arguments after the program name; `in` is
// read for "--files-from -"; tables go to `out` (or the --output file),
// messages and the progress line to `err`. `err_is_terminal` says whether
// `err` is a terminal, where a progress line may be shown. Returns the exit
// status. Safe to call from several threads at once with distinct streams.
int RunZvx(const std::vector<std::string>& args, std::istream& in,
           std::ostream& out, std::ostream& err, bool err_is_terminal);

#endif  // ZELVATRIX_ZVX_ZVX_H_
