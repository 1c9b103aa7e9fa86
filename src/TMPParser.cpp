#include "TMPParser.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <system_error>
#include <utility>

#include "TError.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// White space as the C locale has it, whatever the process locale is.
bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' ||
         c == '\r';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool Contains(std::string_view line, std::string_view marker) {
  return line.find(marker) != std::string_view::npos;
}

// The piece of `text` that starts at or after `*pos`, as Tokenize splits it;
// empty when no piece is left. Advances `*pos` past the piece.
std::string_view NextPiece(std::string_view text, std::size_t* pos,
                           std::string_view delimiters) {
  const std::size_t start = text.find_first_not_of(delimiters, *pos);
  if (start == std::string_view::npos) {
    *pos = text.size();
    return {};
  }
  std::size_t end = text.find_first_of(delimiters, start);
  if (end == std::string_view::npos) end = text.size();
  *pos = end;
  return text.substr(start, end - start);
}

// The first piece of a value line split at spaces, found without the
// general delimiter search: value lines are most of a large file.
std::string_view FirstWord(std::string_view line) {
  std::size_t start = 0;
  while (start < line.size() && line[start] == ' ') ++start;
  std::size_t end = start;
  while (end < line.size() && line[end] != ' ') ++end;
  return line.substr(start, end - start);
}

// A line as it may be shown in a message: at most 60 bytes, control bytes
// escaped, so that a binary file cannot garble the terminal.
std::string Quote(std::string_view line) {
  constexpr std::size_t kMaxShown = 60;
  std::string quoted = "\"";
  for (std::size_t i = 0; i < line.size() && i < kMaxShown; ++i) {
    const unsigned char c = static_cast<unsigned char>(line[i]);
    if (c < 0x20 || c == 0x7f) {
      static const char kHex[] = "0123456789abcdef";
      quoted += "\\x";
      quoted += kHex[c >> 4];
      quoted += kHex[c & 0xf];
    } else {
      quoted += static_cast<char>(c);
    }
  }
  if (line.size() > kMaxShown) quoted += "...";
  quoted += "\"";
  return quoted;
}

// The powers of ten that are exact doubles.
constexpr double kPowersOfTen[] = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Whether a decimal number whose digits are `mantissa` (sign removed) and
// whose exponent is `exponent` is too large for a double, as opposed to too
// small; only asked once the conversion reported the value out of range.
bool Overflows(std::string_view mantissa, int64_t exponent) {
  // Decimal magnitude of the first significant digit, before the exponent.
  int64_t magnitude = 0;
  const std::size_t point = mantissa.find('.');
  const std::size_t integer_digits =
      point == std::string_view::npos ? mantissa.size() : point;
  for (std::size_t i = 0; i < mantissa.size(); ++i) {
    if (mantissa[i] == '.' || mantissa[i] == '0') continue;
    magnitude = i < integer_digits
                    ? static_cast<int64_t>(integer_digits - i) - 1
                    : -static_cast<int64_t>(i - integer_digits);
    break;
  }
  return magnitude + exponent > 0;
}

// Scans the digits starting at `*p` into `*mantissa` and returns how many
// there were. Past 19 digits the mantissa wraps and is not used.
std::size_t ScanDigits(const char** p, const char* end, uint64_t* mantissa) {
  const char* start = *p;
  uint64_t m = *mantissa;
  while (*p < end && IsDigit(**p)) {
    m = m * 10 + static_cast<uint64_t>(**p - '0');
    ++*p;
  }
  *mantissa = m;
  return static_cast<std::size_t>(*p - start);
}

// Most numbers of an MP file have few digits and no exponent. When the
// digits form an integer of at most 2^53 and the power of ten is at most
// 10^22, both are exact doubles, and one multiplication or division gives
// the correctly rounded value: the very bits of the general conversion, in
// a fraction of its time. Returns false when the general one must do it.
bool ExactDecimal(uint64_t mantissa, std::size_t digits, int64_t scale,
                  double* value) {
  if (digits > 19 || mantissa > (uint64_t{1} << 53) || scale < -22 ||
      scale > 22) {
    return false;
  }
  const double m = static_cast<double>(mantissa);
  *value = scale < 0 ? m / kPowersOfTen[-scale] : m * kPowersOfTen[scale];
  return true;
}

// ReadDecimal, telling in addition whether `text` began with a number at all
// (a digit in its mantissa); without one, the value is 0.
bool ParseDecimal(std::string_view text, double* value) {
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p < end && IsSpace(*p)) ++p;
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) {
    negative = *p == '-';
    ++p;
  }
  // Cut out the decimal prefix ourselves: the library conversions also
  // accept hexadecimal, "inf" and "nan", which are not numbers here. The
  // digits are gathered on the way for the exact fast path.
  const char* const start = p;
  uint64_t mantissa = 0;
  std::size_t digits = ScanDigits(&p, end, &mantissa);
  std::size_t fraction_digits = 0;
  if (p < end && *p == '.') {
    ++p;
    fraction_digits = ScanDigits(&p, end, &mantissa);
    digits += fraction_digits;
  }
  *value = 0.0;
  if (digits == 0) return false;
  const char* const mantissa_end = p;
  int64_t exponent = 0;
  if (p < end && (*p == 'e' || *p == 'E')) {
    const char* q = p + 1;
    bool exponent_negative = false;
    if (q < end && (*q == '+' || *q == '-')) {
      exponent_negative = *q == '-';
      ++q;
    }
    if (q < end && IsDigit(*q)) {
      while (q < end && IsDigit(*q)) {
        // Saturate: any exponent beyond this over- or underflows anyway.
        if (exponent < 100000000) exponent = exponent * 10 + (*q - '0');
        ++q;
      }
      if (exponent_negative) exponent = -exponent;
      p = q;
    }
  }
  double magnitude = 0.0;
  const int64_t scale = exponent - static_cast<int64_t>(fraction_digits);
  if (!ExactDecimal(mantissa, digits, scale, &magnitude)) {
    const std::from_chars_result result = std::from_chars(start, p, magnitude);
    if (result.ec == std::errc::result_out_of_range) {
      magnitude =
          Overflows(std::string_view(
                        start, static_cast<std::size_t>(mantissa_end - start)),
                    exponent)
              ? std::numeric_limits<double>::infinity()
              : 0.0;
    }
  }
  *value = negative ? -magnitude : magnitude;
  return true;
}

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
// How many of the 8 bytes at `p` are leading decimal digits; their value
// goes to `*number`. Reads exactly those 8 bytes, as one word whose low
// byte is p[0], and works on all of them at once.
inline std::size_t LeadingDigitsOfEight(const char* p, uint64_t* number) {
  uint64_t word;
  std::memcpy(&word, p, sizeof word);
  // Digits become 0 to 9; a byte is a digit exactly when it is then below
  // 10, which adding 0x76 to its low 7 bits (no carry into the next byte)
  // or its own high bit reveals in the byte's high bit.
  const uint64_t x = word ^ 0x3030303030303030;
  const uint64_t not_digits =
      (((x & 0x7f7f7f7f7f7f7f7f) + 0x7676767676767676) | x) &
      0x8080808080808080;
  const std::size_t n =
      not_digits == 0
          ? 8
          : static_cast<std::size_t>(__builtin_ctzll(not_digits)) / 8;
  if (n == 0) {
    *number = 0;
    return 0;
  }
  // Move the n digits to the top, the first one most significant, with
  // zeros before them; then join neighbours: pairs, fours, eight.
  uint64_t v = x << (64 - 8 * n);
  v = (v * 10 + (v >> 8)) & 0x00ff00ff00ff00ff;
  v = (v * 100 + (v >> 16)) & 0x0000ffff0000ffff;
  v = (v * 10000 + (v >> 32)) & 0xffffffff;
  *number = v;
  return n;
}
#endif

// ScanDigits, eight bytes at a time while eight are left before `end`;
// inlined into the loop over the value lines, which it dominates.
#if defined(__GNUC__)
__attribute__((always_inline))
#endif
inline std::size_t
ScanDigitsFast(const char** p, const char* end, uint64_t* mantissa) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  static constexpr uint64_t kScale[] = {
      1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};
  const char* q = *p;
  uint64_t m = *mantissa;
  while (end - q >= 8) {
    uint64_t number;
    const std::size_t n = LeadingDigitsOfEight(q, &number);
    m = m * kScale[n] + number;
    q += n;
    if (n < 8) break;
  }
  if (end - q < 8) {
    while (q < end && IsDigit(*q)) {
      m = m * 10 + static_cast<uint64_t>(*q - '0');
      ++q;
    }
  }
  const std::size_t count = static_cast<std::size_t>(q - *p);
  *p = q;
  *mantissa = m;
  return count;
#else
  return ScanDigits(p, end, mantissa);
#endif
}

// ReadValue for any line: leading spaces, digits of any number, a point
// anywhere; other shapes (a sign, an exponent, a tab) go to ParseDecimal on
// the first piece.
#if defined(__GNUC__)
__attribute__((noinline))
#endif
bool ReadValueInGeneral(std::string_view line, double* value) {
  const char* p = line.data();
  const char* const end = p + line.size();
  while (p < end && *p == ' ') ++p;
  uint64_t mantissa = 0;
  std::size_t digits = ScanDigitsFast(&p, end, &mantissa);
  std::size_t fraction_digits = 0;
  if (p < end && *p == '.') {
    ++p;
    fraction_digits = ScanDigitsFast(&p, end, &mantissa);
    digits += fraction_digits;
  }
  if (digits > 0 && digits <= 19 && mantissa <= (uint64_t{1} << 53) &&
      (p == end || (*p != 'e' && *p != 'E'))) {
    // At most 19 digits, so at most 19 of them in the fraction.
    const double m = static_cast<double>(mantissa);
    *value = fraction_digits == 0 ? m : m / kPowersOfTen[fraction_digits];
    return true;
  }
  return ParseDecimal(FirstWord(line), value);
}

// Bytes that can be read from the start of every line LineReader returns,
// past the line's end if need be: ReadValue reads whole words, and
// LineReader searches 64 bytes at a time.
constexpr std::size_t kReadAhead = 64;

// The population of a value line: its first piece split at spaces, read as
// ReadDecimal reads it. Returns false when that piece holds no number.
// Requires kReadAhead readable bytes from line.data().
//
// A device for speed: value lines are nearly all of a large file, and
// nearly all begin with at most 15 digits, perhaps with a point and a
// fraction of at most 7 digits, and end that number with a space or the
// line end. Those are read here in two or three words of eight bytes with
// ExactDecimal's exact case; every other line goes to ReadValueInGeneral.
// Both must give the very bits of ReadDecimal(FirstWord(line)):
// TMPParserTest's ValueLinesReadTheirFirstPieceAsReadDecimalDoes holds
// them to that.
inline bool ReadValue(std::string_view line, double* value) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  static constexpr uint64_t kScale[] = {
      1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};
  const char* const p = line.data();
  // The commonest line of all, a patch empty in every replication ("0 0 0
  // 0"), and any other one-digit number, take no word at all.
  if (IsDigit(p[0]) && p[1] == ' ' && line.size() > 1) {
    *value = static_cast<double>(p[0] - '0');
    return true;
  }
  uint64_t mantissa;
  std::size_t n = LeadingDigitsOfEight(p, &mantissa);
  if (n == 8) {
    uint64_t more;
    const std::size_t m = LeadingDigitsOfEight(p + 8, &more);
    if (m == 8) return ReadValueInGeneral(line, value);
    mantissa = mantissa * kScale[m] + more;
    n += m;
  }
  // The number must end inside the line, and not in an exponent.
  if (n == 0 || n >= line.size()) return ReadValueInGeneral(line, value);
  if (p[n] == '.') {
    uint64_t fraction;
    const std::size_t f = LeadingDigitsOfEight(p + n + 1, &fraction);
    const std::size_t after = n + 1 + f;
    // 15 + 7 digits at most: below 10^22, but maybe above 2^53.
    mantissa = mantissa * kScale[f] + fraction;
    if (f == 8 || after >= line.size() || p[after] == 'e' || p[after] == 'E' ||
        mantissa > (uint64_t{1} << 53)) {
      return ReadValueInGeneral(line, value);
    }
    *value =
        static_cast<double>(static_cast<int64_t>(mantissa)) / kPowersOfTen[f];
    return true;
  }
  if (p[n] == 'e' || p[n] == 'E') return ReadValueInGeneral(line, value);
  // At most 15 digits: below 2^53, an exact double (converted as signed,
  // which takes one instruction).
  *value = static_cast<double>(static_cast<int64_t>(mantissa));
  return true;
#else
  return ReadValueInGeneral(line, value);
#endif
}

// Splits a stream into lines. A line ends at a line feed, which is not part
// of it, nor is a carriage return right before it, so CRLF files read like LF
// files. The input is read in large blocks; a returned line is a view into the
// block and stays valid until the next call, and kReadAhead bytes can be read
// from its start, beyond its end too (the bytes past the data mean nothing).
class LineReader {
 public:
  explicit LineReader(std::istream& in)
      : in_(in), buffer_(kBlockSize + kReadAhead) {}

  // Reads the next line. Returns false at the end of the input. The common
  // case, a whole line in the buffer, is kept inline: it runs once per line.
  //
  // A device for speed: most lines are short, and a search per line costs
  // more than they are long. The line feeds of 64 bytes at a time are found
  // at once as the bits of one word (FeedsAt), and each line takes the next
  // bit; only where the bits run out is the next word made. It must find the
  // line feed memchr finds from the line's start: every test reading a file
  // holds it to that, TMPParserTest's
  // ValueLinesReadTheirFirstPieceAsReadDecimalDoes with lines across the
  // buffer's blocks.
  bool Next(std::string_view* line) {
    while (feeds_ == 0) {
      if (scanned_ >= end_) return NextAfterFill(line);
      feeds_base_ = scanned_;
      feeds_ = FeedsAt(scanned_);
      scanned_ += 64;
    }
    const std::size_t feed =
        feeds_base_ + static_cast<std::size_t>(__builtin_ctzll(feeds_));
    feeds_ &= feeds_ - 1;
    Return(line, feed - begin_, true);
    return true;
  }
  // What TakeLinesInBuffer's `take` made of a line.
  enum class Verdict { kTaken, kPassedOver, kStop };

  // Passes the lines that lie whole in the buffer to `take` (a callable
  // from std::string_view to Verdict) until `wanted` of them are kTaken;
  // returns how many were. A line marked kStop is not consumed: the next
  // Next returns it again. Next's lines without its per-line bookkeeping,
  // for the value lines, nearly all of a large file; the same line feeds
  // are found, so the same lines (tests as for Next).
  template <typename Take>
  int64_t TakeLinesInBuffer(int64_t wanted, Take take) {
    const char* const data = buffer_.data();
    uint64_t feeds = feeds_;
    std::size_t base = feeds_base_;
    std::size_t scanned = scanned_;
    std::size_t begin = begin_;
    int64_t taken = 0;
    int64_t lines = 0;
    while (taken < wanted) {
      if (feeds == 0) {
        if (scanned >= end_) break;
        base = scanned;
        feeds = FeedsAt(scanned);
        scanned += 64;
        continue;
      }
      const std::size_t feed =
          base + static_cast<std::size_t>(__builtin_ctzll(feeds));
      std::size_t length = feed - begin;
      length -= static_cast<std::size_t>(length > 0 && data[feed - 1] == '\r');
      const Verdict verdict = take(std::string_view(data + begin, length));
      if (verdict == Verdict::kStop) break;
      feeds &= feeds - 1;
      begin = feed + 1;
      ++lines;
      taken += static_cast<int64_t>(verdict == Verdict::kTaken);
    }
    feeds_ = feeds;
    feeds_base_ = base;
    scanned_ = scanned;
    begin_ = begin;
    line_number_ += lines;
    if (lines > 0) line_ended_ = true;
    return taken;
  }

  // Whether the line last read ended with a line feed; only the last line
  // of an input can lack one.
  bool LineEnded() const { return line_ended_; }
  // The number of the line last read, from 1.
  int64_t LineNumber() const { return line_number_; }

 private:
  static constexpr std::size_t kBlockSize = 1 << 16;

  // The line feeds among the 64 bytes from buffer offset `at` (which the
  // read-ahead makes readable) as bits, the lowest for the byte at `at`;
  // bytes at or past end_ are no part of the input and give no bit.
  uint64_t FeedsAt(std::size_t at) const {
    const char* p = buffer_.data() + at;
    uint64_t feeds = 0;
#if defined(__SSE2__)
    const __m128i feed = _mm_set1_epi8('\n');
    for (int i = 0; i < 4; ++i) {
      const __m128i bytes =
          _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
      const uint64_t mask =
          static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, feed)));
      feeds |= mask << (16 * i);
    }
#else
    for (int i = 0; i < 64; ++i) {
      if (p[i] == '\n') feeds |= uint64_t{1} << i;
    }
#endif
    const std::size_t valid = end_ - at;
    if (valid < 64) feeds &= (uint64_t{1} << valid) - 1;
    return feeds;
  }

  // Moves the unread bytes to the front of the buffer, grows it when a line
  // fills it, and reads the next block.
  void Fill();
  bool NextAfterFill(std::string_view* line);
  bool FindAfterFill(std::string_view* line);
  void Return(std::string_view* line, std::size_t length, bool ended) {
    const char* start = buffer_.data() + begin_;
    begin_ += ended ? length + 1 : length;
    if (length > 0 && start[length - 1] == '\r') --length;
    *line = std::string_view(start, length);
    line_ended_ = ended;
    ++line_number_;
  }

  std::istream& in_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  // The line feeds not yet used of the 64 bytes from feeds_base_, as
  // FeedsAt gives them; the bytes before scanned_ have been searched.
  uint64_t feeds_ = 0;
  std::size_t feeds_base_ = 0;
  std::size_t scanned_ = 0;
  bool at_end_ = false;
  bool line_ended_ = true;
  int64_t line_number_ = 0;
};

bool LineReader::NextAfterFill(std::string_view* line) {
  // Fill moves the bytes, so the word of line feeds is made anew from the
  // start of the next line.
  const bool found = FindAfterFill(line);
  feeds_ = 0;
  scanned_ = begin_;
  return found;
}

bool LineReader::FindAfterFill(std::string_view* line) {
  // Bytes after begin_ known to hold no line feed.
  std::size_t scanned = end_ - begin_;
  if (!at_end_) Fill();
  for (;;) {
    const char* start = buffer_.data() + begin_;
    const std::size_t available = end_ - begin_;
    const void* feed = std::memchr(start + scanned, '\n', available - scanned);
    if (feed != nullptr) {
      Return(line, static_cast<const char*>(feed) - start, true);
      return true;
    }
    if (at_end_) {
      if (available == 0) return false;
      Return(line, available, false);
      return true;
    }
    scanned = available;
    Fill();
  }
}

void LineReader::Fill() {
  if (begin_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  // The buffer holds kReadAhead bytes more than are ever filled.
  std::size_t capacity = buffer_.size() - kReadAhead;
  if (end_ == capacity) {
    capacity *= 2;
    buffer_.resize(capacity + kReadAhead);
  }
  in_.read(buffer_.data() + end_,
           static_cast<std::streamsize>(capacity - end_));
  end_ += static_cast<std::size_t>(in_.gcount());
  if (in_.bad()) throw TError("the input could not be read");
  if (!in_) at_end_ = true;
}

// The population model writes its population list at a fixed place: lines
// 45 up to the line before the "Migration" line of its own files, which
// begin with this text.
constexpr std::string_view kModelHeader = "Metapopulation input file";
constexpr int64_t kModelFirstPatchLine = 45;

class Scanner {
 public:
  Scanner(std::istream& in, int32_t startyear)
      : reader_(in),
        startyear_(startyear),
        patches_(std::make_unique<TPatches>()) {}

  std::unique_ptr<TPatches> Run();

 private:
  // Where the patch lines are found. kBefore, kOpen and kClosed follow the
  // markers; kLayout takes the model's fixed place for them instead.
  enum class Section { kBefore, kOpen, kClosed, kLayout };

  void ReadResolution(std::string_view line);
  void ScanPatchSection(std::string_view line, int64_t number);
  void KeepLayoutLine(std::string_view line, int64_t number);
  void FallBackToLayout(std::string_view line, int64_t number);
  void ReadPatchLine(std::string_view line, int64_t number);
  void AddPatch(std::unique_ptr<TPatch> patch);
  void ReadPopulationSection();
  void ReadBlock(std::string_view header, int64_t years);
  // Reports a file that ends where more lines must follow; `where` says
  // what was being read.
  [[noreturn]] void Truncated(const std::string& where) const;
  [[noreturn]] void Fail(const std::string& message) const;
  [[noreturn]] void FailAt(int64_t number, const std::string& message) const;

  LineReader reader_;
  const int32_t startyear_;
  std::unique_ptr<TPatches> patches_;
  bool resolution_found_ = false;
  Section section_ = Section::kBefore;
  // Whether line 1 says the population model wrote the file.
  bool model_file_ = false;
  // The line where the markers opened the patch section, 0 before.
  int64_t marker_start_ = 0;
  // The model's population list, lines 45 on, kept while reading by
  // markers might still fail and need it; it ends at its "Migration" line.
  std::vector<std::string> layout_lines_;
  bool layout_ended_ = false;
  // Patch ordinal k (from 1) names the patch at position k - 1. Blocks refer
  // to patches by ordinal, the collection by name.
  std::vector<std::string> ordinal_names_;
  // The patch of each ordinal, as long as no name was repeated: saves a
  // search by name per block.
  std::vector<TPatch*> ordinal_patches_;
  bool names_repeat_ = false;
  // Which ordinals' blocks have been read.
  std::vector<bool> ordinal_read_;
};

std::unique_ptr<TPatches> Scanner::Run() {
  std::string_view line;
  // A last line without line feed is not examined by the scan.
  while (reader_.Next(&line) && reader_.LineEnded()) {
    const int64_t number = reader_.LineNumber();
    if (number == 1) {
      model_file_ = line.substr(0, kModelHeader.size()) == kModelHeader;
    }
    if (!resolution_found_ && Contains(line, "km")) ReadResolution(line);
    ScanPatchSection(line, number);
    if (model_file_) KeepLayoutLine(line, number);
    if (Contains(line, "Pop. ALL")) {
      ReadPopulationSection();
      break;
    }
  }
  return std::move(patches_);
}

void Scanner::ScanPatchSection(std::string_view line, int64_t number) {
  if (section_ == Section::kLayout) {
    if (number < kModelFirstPatchLine) return;
    if (Contains(line, "Migration")) {
      section_ = Section::kClosed;
    } else {
      ReadPatchLine(line, number);
    }
    return;
  }
  if (section_ == Section::kOpen ||
      (section_ == Section::kBefore &&
       (Contains(line, ".KCH") || Contains(line, "Pop") ||
        Contains(line, ".DCH")))) {
    if (Contains(line, "Migration")) {
      section_ = Section::kClosed;
      return;
    }
    // Markers that first appear inside the model's list would pass over the
    // populations before them, and the blocks, which count from the first,
    // would fill the wrong patches.
    if (model_file_ && section_ == Section::kBefore &&
        number > kModelFirstPatchLine && !layout_ended_) {
      FallBackToLayout(line, number);
      return;
    }
    std::unique_ptr<TPatch> patch;
    try {
      patch = TMPParser::ParsePatchLine(line);
    } catch (const TError& error) {
      // The markers find the model's list only through the default names
      // "Pop 1", "Pop 2", ...; a list named otherwise, or a title such as
      // "Population model of ...", leads them to a line that is no patch
      // line. In the model's own files its fixed layout still tells.
      if (model_file_) {
        FallBackToLayout(line, number);
        return;
      }
      Fail(std::string(error.what()) +
           "; patch lines are recognised by \".KCH\", \"Pop\" or \".DCH\" "
           "and run up to the \"Migration\" line");
    }
    if (section_ == Section::kBefore) marker_start_ = number;
    AddPatch(std::move(patch));
    section_ = Section::kOpen;
  }
}

void Scanner::KeepLayoutLine(std::string_view line, int64_t number) {
  // Once the markers have closed the section, or found it right at line 45
  // (the list itself), the layout can no longer be needed.
  if (marker_start_ == kModelFirstPatchLine ||
      (section_ != Section::kBefore && section_ != Section::kOpen)) {
    layout_lines_.clear();
    return;
  }
  if (layout_ended_ || number < kModelFirstPatchLine) return;
  if (Contains(line, "Migration")) {
    layout_ended_ = true;
  } else {
    layout_lines_.emplace_back(line);
  }
}

void Scanner::FallBackToLayout(std::string_view line, int64_t number) {
  // Whatever the markers took so far is not the population list.
  const double resolution = patches_->GetResolution();
  patches_ = std::make_unique<TPatches>();
  patches_->SetResolution(resolution);
  ordinal_names_.clear();
  ordinal_patches_.clear();
  names_repeat_ = false;
  const std::vector<std::string> kept = std::move(layout_lines_);
  layout_lines_.clear();
  for (std::size_t i = 0; i < kept.size(); ++i) {
    ReadPatchLine(kept[i], kModelFirstPatchLine + static_cast<int64_t>(i));
  }
  if (layout_ended_) {
    section_ = Section::kClosed;
    return;
  }
  section_ = Section::kLayout;
  if (number >= kModelFirstPatchLine) ReadPatchLine(line, number);
}

void Scanner::Fail(const std::string& message) const {
  FailAt(reader_.LineNumber(), message);
}

void Scanner::FailAt(int64_t number, const std::string& message) const {
  throw TError("line " + std::to_string(number) + ": " + message);
}

void Scanner::ReadResolution(std::string_view line) {
  // The number is the last word before the first "k" or "m": "Grid 2.5 km"
  // gives 2.5 (and "item 3 km" gives 0, its first piece being "ite").
  std::size_t pos = 0;
  const std::string_view first = NextPiece(line, &pos, "km");
  std::string_view last;
  pos = 0;
  for (std::string_view word = NextPiece(first, &pos, " "); !word.empty();
       word = NextPiece(first, &pos, " ")) {
    last = word;
  }
  if (last.empty()) {
    Fail("malformed resolution line " + Quote(line) +
         ": the first line containing \"km\" must give the kilometres per "
         "map unit before it, as in \"Grid 2.5 km\"");
  }
  patches_->SetResolution(TMPParser::ReadDecimal(last));
  resolution_found_ = true;
}

// A patch line of the model's layout, line `number` of the file.
void Scanner::ReadPatchLine(std::string_view line, int64_t number) {
  std::unique_ptr<TPatch> patch;
  try {
    patch = TMPParser::ParsePatchLine(line);
  } catch (const TError& error) {
    FailAt(number, std::string(error.what()) +
                       "; in a file of the population model the patch lines "
                       "are lines 45 up to the \"Migration\" line");
  }
  AddPatch(std::move(patch));
}

void Scanner::AddPatch(std::unique_ptr<TPatch> patch) {
  ordinal_names_.push_back(patch->GetName());
  TPatch* added = patch.get();
  const std::size_t before = patches_->GetNumPatches();
  patches_->AddPatch(std::move(patch));
  // A repeated name replaces, and so destroys, the patch an earlier ordinal
  // points to; from then on blocks find their patch by name.
  if (patches_->GetNumPatches() == before) names_repeat_ = true;
  ordinal_patches_.push_back(added);
}

void Scanner::Truncated(const std::string& where) const {
  throw TError("line " + std::to_string(reader_.LineNumber()) +
               ": the file is truncated: it ends " + where);
}

void Scanner::ReadPopulationSection() {
  // The all-patches block is only counted: its length is the number of
  // simulated years. Every line counts, empty ones included.
  int64_t years = 0;
  std::string_view line;
  for (;;) {
    if (!reader_.Next(&line)) {
      Truncated(
          "inside the \"Pop. ALL\" block, before the first block header "
          "\"Pop. 1\"");
    }
    if (Contains(line, "Pop.")) break;
    ++years;
  }
  if (patches_->GetNumPatches() == 0) return;
  const int64_t last_year = int64_t{startyear_} + years - 1;
  if (years > 0 && last_year > std::numeric_limits<int32_t>::max()) {
    Fail("the " + std::to_string(years) + " simulated years from start year " +
         std::to_string(startyear_) + " run past year " +
         std::to_string(std::numeric_limits<int32_t>::max()) +
         ", the largest year this tool can count");
  }
  // As many blocks as there are patches; with duplicate names that is fewer
  // than there were patch lines, and the last blocks are not read.
  const std::size_t blocks = patches_->GetNumPatches();
  for (std::size_t block = 0; block < blocks; ++block) {
    ReadBlock(line, years);
    if (!reader_.Next(&line)) {
      if (block + 1 < blocks) {
        Truncated("after " + std::to_string(block + 1) + " of " +
                  std::to_string(blocks) + " population blocks");
      }
      break;
    }
  }
}

void Scanner::ReadBlock(std::string_view header, int64_t years) {
  const std::string header_text(header);
  // The first header is the line that ended the "Pop. ALL" block, so it
  // holds "Pop."; a later one that does not is a value line of a block that
  // was longer than the others, and taking its numbers as an ordinal would
  // file populations under the wrong patch.
  if (!Contains(header, "Pop.")) {
    Fail("expected a block header \"Pop. <k>\" after " + std::to_string(years) +
         " value lines, found " + Quote(header) +
         "; every population block must have as many value lines as the "
         "\"Pop. ALL\" block");
  }
  std::size_t pos = 0;
  NextPiece(header, &pos, ". ");
  const std::string_view number = NextPiece(header, &pos, ". ");
  if (number.empty()) {
    Fail("malformed block header " + Quote(header) +
         ": expected \"Pop. <k>\" with the patch ordinal k");
  }
  const int32_t ordinal = TMPParser::ReadInteger(number);
  if (ordinal < 1 ||
      static_cast<std::size_t>(ordinal) > ordinal_names_.size()) {
    Fail("Patch does not exist: block header " + Quote(header) +
         " names patch " + std::to_string(ordinal) + ", but the file has " +
         std::to_string(ordinal_names_.size()) + " patch lines");
  }
  // A second block for one ordinal would overwrite the first and leave
  // another patch, whose block it took the place of, without populations.
  if (ordinal_read_.empty()) ordinal_read_.resize(ordinal_names_.size(), false);
  if (ordinal_read_[ordinal - 1]) {
    Fail("block header " + Quote(header) + " repeats patch " +
         std::to_string(ordinal) +
         ", whose block was read before; every patch has one block");
  }
  ordinal_read_[ordinal - 1] = true;
  TPatch& patch = names_repeat_
                      ? patches_->GetPatch(ordinal_names_[ordinal - 1])
                      : *ordinal_patches_[ordinal - 1];
  // The values are written by position, without a growth check per line,
  // into the list the patch then takes over. The count comes from the file,
  // so the list holds no more than a sane amount up front; a file that
  // claims more years must also hold their lines.
  std::vector<double> values(
      static_cast<std::size_t>(std::min<int64_t>(years, 1 << 16)));
  for (int64_t k = 0; k < years;) {
    if (static_cast<std::size_t>(k) == values.size()) {
      values.resize(static_cast<std::size_t>(std::min<int64_t>(years, 2 * k)));
    }
    // The lines already in the buffer, in one tight loop; a line that needs
    // more input or does not read as a number is left to the code below,
    // which reads it again and reports it.
    double* next = values.data() + k;
    const int64_t room =
        std::min<int64_t>(years - k, static_cast<int64_t>(values.size()) - k);
    k += reader_.TakeLinesInBuffer(room, [&next](std::string_view line) {
      if (line.size() < 2) return LineReader::Verdict::kPassedOver;
      if (!ReadValue(line, next)) return LineReader::Verdict::kStop;
      ++next;
      return LineReader::Verdict::kTaken;
    });
    if (k == years || static_cast<std::size_t>(k) == values.size()) continue;
    std::string_view line;
    if (!reader_.Next(&line)) {
      Truncated("inside the block " + Quote(header_text) + ", after " +
                std::to_string(k) + " of " + std::to_string(years) +
                " value lines");
    }
    // Lines shorter than two characters are passed over without counting.
    if (line.size() < 2) continue;
    double value;
    if (!ReadValue(line, &value)) {
      if (FirstWord(line).empty()) {
        Fail("malformed value line of block " + Quote(header_text) +
             ": it holds only spaces; expected \"mean sd min max\"");
      }
      // Typically the block is one line short and this is the next block's
      // header or, after the last block, the occupancy results: taken as a
      // population it would pass for data.
      Fail("value line " + Quote(line) + " of block " + Quote(header_text) +
           " does not begin with a number, after " + std::to_string(k) +
           " of its " + std::to_string(years) +
           " value lines; every population block must have as many value "
           "lines as the \"Pop. ALL\" block");
    }
    values[static_cast<std::size_t>(k)] = value;
    ++k;
  }
  patch.SetYears(startyear_, std::move(values));
}

}  // namespace

std::unique_ptr<TPatches> TMPParser::LoadMP(const std::string& filename,
                                            int32_t startyear) {
  std::error_code status_error;
  if (std::filesystem::is_directory(filename, status_error)) {
    throw TError(filename + ": cannot read the MP file: it is a directory");
  }
  std::ifstream file(filename, std::ios::in | std::ios::binary);
  if (!file) {
    const int error = errno;
    throw TError(filename + ": cannot open the MP file: " +
                 (error != 0 ? std::strerror(error) : "unknown error"));
  }
  try {
    return LoadMP(file, startyear);
  } catch (const TError& error) {
    throw error.WithMessage(filename + ": " + error.what());
  }
}

std::unique_ptr<TPatches> TMPParser::LoadMP(std::istream& stream,
                                            int32_t startyear) {
  return Scanner(stream, startyear).Run();
}

std::unique_ptr<TPatch> TMPParser::ParsePatchLine(std::string_view line) {
  std::size_t pos = 0;
  const std::string_view name = NextPiece(line, &pos, ",");
  const std::string_view x = NextPiece(line, &pos, ",");
  const std::string_view y = NextPiece(line, &pos, ",");
  if (y.empty()) {
    throw TError("malformed patch line " + Quote(line) +
                 ": expected a name, x and y as its first three "
                 "comma-separated fields");
  }
  return std::make_unique<TPatch>(std::string(name), std::string(),
                                  ReadDecimal(x), ReadDecimal(y));
}

void TMPParser::Tokenize(std::string_view text,
                         std::vector<std::string>& pieces,
                         std::string_view delimiters) {
  std::size_t pos = 0;
  for (std::string_view piece = NextPiece(text, &pos, delimiters);
       !piece.empty(); piece = NextPiece(text, &pos, delimiters)) {
    pieces.emplace_back(piece);
  }
}

double TMPParser::ReadDecimal(std::string_view text) {
  double value;
  ParseDecimal(text, &value);
  return value;
}

int32_t TMPParser::ReadInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Accumulate the magnitude, stopping just past the 32-bit range so that
  // long digit strings saturate instead of overflowing.
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  int64_t magnitude = 0;
  while (i < text.size() && IsDigit(text[i])) {
    magnitude = std::min(kLimit, magnitude * 10 + (text[i] - '0'));
    ++i;
  }
  const int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<int32_t>::max()) {
    return std::numeric_limits<int32_t>::max();
  }
  return static_cast<int32_t>(value);
}
