#ifndef ZELVATRIX_ZVX_TCSVWRITER_H_
#define ZELVATRIX_ZVX_TCSVWRITER_H_

#include <ostream>
#include <string>

#include "TTable.h"

// Writes tables as comma-separated values that R's read.csv, readr and
// pandas read as they are: a field holding a comma, a double quote, CR or LF
// is enclosed in double quotes with its quotes doubled; integers in
// decimal; doubles as the shortest text that reads back to the same double,
// NaN as NA, infinities as Inf and -Inf; every line ends with "\n".
// Stateless; safe to use from several threads on distinct streams.
class TCsvWriter {
 public:
  TCsvWriter() = delete;

  // One field, quoted when it must be.
  static std::string Quote(const std::string& field);
  // The header row of `table`: its column names.
  static void WriteHeader(const TTable& table, std::ostream& out);
  // Every row of `table`, in order.
  static void WriteRows(const TTable& table, std::ostream& out);
};

#endif  // ZELVATRIX_ZVX_TCSVWRITER_H_
