// Fuzzes the whole program in-process, command line and MP file together.
// Input: one byte whose value modulo 11 is the number of arguments (0 to
// 10), then the arguments, each ended by a zero byte (an argument cut off by
// the end of the input is empty), then the MP file content.
//
// Every run must end with status 0 and a complete report, or with status 1,
// a message on standard error and no report table on standard output.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "Zelvatrix.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

std::vector<std::string> TakeArguments(std::string_view* input) {
  std::vector<std::string> args;
  if (input->empty()) return args;
  const std::size_t count = static_cast<unsigned char>(input->front()) % 11;
  input->remove_prefix(1);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t end = input->find('\0');
    args.emplace_back(input->substr(0, end));
    input->remove_prefix(end == std::string_view::npos ? input->size()
                                                       : end + 1);
  }
  return args;
}

// The column heading line that opens the report table.
std::string TableHeading(const std::string& d) {
  return "\nYear" + d + "X" + d + "Y" + d + "Year" + d + "X" + d + "Y";
}

void CheckSuccess(const std::string& out, const std::string& err,
                  const std::string& d) {
  Require(err.empty());
  Require(!out.empty() && out.back() == '\n');
  const std::size_t heading = out.find(TableHeading(d));
  Require(heading != std::string::npos);
  // At least one row follows the heading line, and each starts with its
  // year; checkable only when the delimiter can neither continue the number
  // nor break the row into several lines.
  const std::size_t first_row = out.find('\n', heading + 1) + 1;
  Require(first_row < out.size());
  if (d.empty() || (d[0] >= '0' && d[0] <= '9')) return;
  if (d.find('\n') != std::string::npos) return;
  for (std::size_t at = first_row; at < out.size();
       at = out.find('\n', at) + 1) {
    std::size_t i = at + (out[at] == '-');
    const std::size_t digits = i;
    while (out[i] >= '0' && out[i] <= '9') ++i;
    Require(i > digits && out.compare(i, d.size(), d) == 0);
  }
}

void CheckFailure(const std::vector<std::string>& args, const std::string& out,
                  const std::string& err) {
  Require(!err.empty());
  // Report lines are written whole, so what was written ends with a line end.
  Require(out.empty() || out.back() == '\n');
  if (args.size() >= 5) {
    Require(out.find(TableHeading(args[4])) == std::string::npos);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> args = TakeArguments(&input);
  std::istringstream mp_file{std::string(input)};
  std::ostringstream out;
  std::ostringstream err;
  const int status = RunZelvatrix(args, mp_file, out, err);
  if (status == 0) {
    CheckSuccess(out.str(), err.str(), args.at(4));
  } else {
    Require(status == 1);
    CheckFailure(args, out.str(), err.str());
  }
  return 0;
}
