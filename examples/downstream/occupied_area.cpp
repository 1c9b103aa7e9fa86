// Prints the occupied area of every year of an MP file: the area of the
// minimum convex polygon around the patches that hold a population, in
// square map units. One "year,area" line per year of the span, after a
// heading line; areas in the shortest text that reads back to the same
// double, so that the output can be compared byte for byte.
//
//   occupied_area FILE STARTYEAR

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <iostream>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "TCentroidTools.h"
#include "TError.h"
#include "TMPParser.h"
#include "TPatches.h"

namespace {

std::string ShortestText(double value) {
  char text[64];
  const std::to_chars_result result =
      std::to_chars(text, text + sizeof text, value);
  return result.ec == std::errc() ? std::string(text, result.ptr) : "?";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "Usage: occupied_area FILE STARTYEAR\n";
    return 2;
  }
  try {
    const std::unique_ptr<TPatches> patches =
        TMPParser::LoadMP(argv[1], TMPParser::ReadInteger(argv[2]));
    const std::vector<int32_t> years = TCentroidTools::MakeYearList(*patches);
    const std::vector<double> areas = TCentroidTools::GetMCPAreas(*patches);
    std::cout << "year,area\n";
    for (std::size_t i = 0; i < years.size(); ++i) {
      std::cout << years[i] << ',' << ShortestText(areas[i]) << '\n';
    }
  } catch (const TError& error) {
    std::cerr << "occupied_area: " << error.what() << '\n';
    return 1;
  }
  std::cout.flush();
  if (!std::cout) {
    std::cerr << "occupied_area: cannot write to standard output\n";
    return 1;
  }
  return 0;
}
