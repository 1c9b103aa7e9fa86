#ifndef ZELVATRIX_TMPPARSER_H_
#define ZELVATRIX_TMPPARSER_H_

#include <cstdint>
#include <istream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "TPatch.h"
#include "TPatches.h"

// Reads the MP file of a spatially explicit population model into a patch
// collection. The reader does not parse the whole format: it scans for a few
// marker texts and takes the patch lines (name, x, y), the map resolution and
// the mean population of every patch in every simulated year. All operations
// are static; errors are thrown as TError.
// Thread safety: stateless; safe to call from several threads at once.
class TMPParser {
 public:
  // Opens `filename`, reads it with the stream form and returns the new
  // collection, owned by the caller. Throws TError naming the file when it
  // cannot be opened or read, or when its content is malformed.
  static std::unique_ptr<TPatches> LoadMP(const std::string& filename,
                                          int32_t startyear);
  // Reads an MP file from `stream`; the first value of every population
  // block is stored under `startyear`, the next under startyear + 1, and so
  // on. Returns a new collection owned by the caller. Throws TError, with the
  // line number, for a malformed or truncated file.
  static std::unique_ptr<TPatches> LoadMP(std::istream& stream,
                                          int32_t startyear);
  // Makes a new patch, owned by the caller, from a patch line
  // "name,x,y,...": the name unchanged, x and y by ReadDecimal, empty second
  // text, no populations. Empty fields are skipped ("A,,3,4" is A at (3, 4)).
  // Throws TError when the line has fewer than three fields.
  static std::unique_ptr<TPatch> ParsePatchLine(std::string_view line);
  // Appends to `pieces` every maximal run of characters of `text` that holds
  // none of the characters of `delimiters`; no empty pieces are added.
  static void Tokenize(std::string_view text, std::vector<std::string>& pieces,
                       std::string_view delimiters);

  // Lenient decimal reading, shared by the command line and the reader: skips
  // leading white space and converts the longest leading decimal number
  // (optional sign, digits with an optional point, optional exponent); the
  // rest is ignored and a text without such a number reads 0. Hexadecimal,
  // "inf" and "nan" are not numbers here. Overflow gives an infinity,
  // underflow 0. Never fails and never depends on the process locale.
  static double ReadDecimal(std::string_view text);
  // Lenient integer reading: leading white space, an optional sign and the
  // decimal digits that follow; 0 without digits. Saturates at the bounds of
  // a signed 32-bit integer. Never fails.
  static int32_t ReadInteger(std::string_view text);
};

#endif  // ZELVATRIX_TMPPARSER_H_
