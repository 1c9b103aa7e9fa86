#include "TNumberFormat.h"

#include <charconv>
#include <cmath>

std::string TNumberFormat::Report(double value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return "Infinity";
  char buffer[32];
  const std::to_chars_result result = std::to_chars(
      buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
  return std::string(buffer, result.ptr);
}

std::string TNumberFormat::Shortest(double value) {
  if (std::isnan(value)) return "NA";
  if (std::isinf(value)) return value > 0 ? "Inf" : "-Inf";
  // Without a precision, to_chars gives the shortest representation that
  // round-trips, choosing plain or scientific notation by length.
  char buffer[32];
  const std::to_chars_result result =
      std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string TNumberFormat::Integer(int64_t value) {
  return std::to_string(value);
}
