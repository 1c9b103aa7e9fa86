#ifndef ZELVATRIX_TNUMBERFORMAT_H_
#define ZELVATRIX_TNUMBERFORMAT_H_

#include <cstdint>
#include <string>

// Numbers as text, the same for every program of the project and whatever
// the process locale: a point as decimal separator, digits never grouped.
// All operations are static and safe to call from several threads at once.
class TNumberFormat {
 public:
  TNumberFormat() = delete;

  // A double as the one-file report shows it: at most six significant
  // digits in the shorter of plain and scientific notation (the rules of
  // printf's %g: 2.5, 1.23457e+06, 1.234e-05), "NaN" for a value that is not
  // a number and "Infinity" for either infinity.
  static std::string Report(double value);
  // A double for a table that other programs read back: the shortest text
  // that reads back to the very same double (0.1, 1e-05, 123.456), "NA" for
  // a value that is not a number, "Inf" and "-Inf" for the infinities, as R
  // and pandas read them.
  static std::string Shortest(double value);
  // A decimal integer, with a leading "-" when negative.
  static std::string Integer(int64_t value);
};

#endif  // ZELVATRIX_TNUMBERFORMAT_H_
