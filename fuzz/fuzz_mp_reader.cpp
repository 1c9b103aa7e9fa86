// Fuzzes the MP file reader. Input: the start year as 4 bytes in the
// machine's byte order, then the file content. An input shorter than 4 bytes
// is all content, read with start year 0.
//
// A read either fails with TError or yields a collection in which every
// patch that received populations holds the same consecutive years from the
// start year: the reader gives all blocks the length of the "Pop. ALL"
// block.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "TError.h"
#include "TMPParser.h"
#include "TPatches.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

void CheckYears(const TPatches& patches, int32_t startyear) {
  std::vector<int32_t> shared;
  for (const TPatch* patch : patches.GetPatchList()) {
    const std::vector<int32_t> years = patch->GetYearList();
    if (years.empty()) continue;
    if (shared.empty()) shared = years;
    Require(years == shared);
  }
  for (std::size_t k = 0; k < shared.size(); ++k) {
    Require(int64_t{shared[k]} == int64_t{startyear} + static_cast<int64_t>(k));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  int32_t startyear = 0;
  if (size >= sizeof startyear) {
    std::memcpy(&startyear, data, sizeof startyear);
    data += sizeof startyear;
    size -= sizeof startyear;
  }
  std::istringstream stream(
      std::string(reinterpret_cast<const char*>(data), size));
  try {
    CheckYears(*TMPParser::LoadMP(stream, startyear), startyear);
  } catch (const TError&) {
    // A rejected file is a correct outcome.
  }
  return 0;
}
