#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "TError.h"
#include "TMPParser.h"
#include "TestSupport.h"

using ::testing::HasSubstr;

namespace {

const double kInf = std::numeric_limits<double>::infinity();

// The made-up example of the format: two patches, three years, resolution
// 2.5.
const char kExample[] =
    "Model input\n"
    "Grid 2.5 km\n"
    "North Wood,10.0,20.0,0,wood.KCH\n"
    "South Marsh,12.5,8.0,0,marsh.KCH\n"
    "Migration\n"
    "0,1\n"
    "Pop. ALL\n"
    "40.0 0 0\n"
    "42.0 0 0\n"
    "45.0 0 0\n"
    "Pop. 1\n"
    "25.0 0 0\n"
    "26.0 0 0\n"
    "27.0 0 0\n"
    "Pop. 2\n"
    "15.0 0 0\n"
    "16.0 0 0\n"
    "18.0 0 0\n";

// Populations of one patch, year by year from its first year.
std::vector<double> Populations(const TPatch& patch) {
  std::vector<double> values;
  for (int32_t year : patch.GetYearList())
    values.push_back(patch.GetYear(year));
  return values;
}

std::string LoadError(const std::string& content, int32_t startyear = 2000) {
  try {
    LoadText(content, startyear);
  } catch (const TError& error) {
    return error.what();
  }
  return "(no error)";
}

std::string ReplaceAll(std::string text, const std::string& from,
                       const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// A file laid out as the population model writes it: its header on line 1,
// `header[i]` on line i + 2 (empty lines after them), the population list
// from line 45, then "Migration" and one year of results, 10 * k for the
// k-th population.
std::string ModelFile(const std::vector<std::string>& header,
                      const std::vector<std::string>& list) {
  std::string text = "Metapopulation input file (6.0) map=\xff\n";
  for (std::size_t line = 2; line <= 44; ++line) {
    text += (line - 2 < header.size() ? header[line - 2] : "") + "\n";
  }
  for (const std::string& population : list) text += population + "\n";
  text += "Migration\nFALSE\n 0,\nPop. ALL\n1 0\n";
  for (std::size_t k = 1; k <= list.size(); ++k) {
    text +=
        "Pop. " + std::to_string(k) + "\n" + std::to_string(10 * k) + " 0\n";
  }
  return text + "Occupancy\n";
}

}  // namespace

TEST(TMPParserTest, ReadDecimalTakesTheLongestDecimalPrefix) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"0.25", 0.25},
      {"5", 5},
      {"1e-1", 0.1},
      {"12abc", 12},
      {"1e", 1},
      {"1e+", 1},
      {"1E3", 1000},
      {"0x10", 0},
      {"inf", 0},
      {"-inf", 0},
      {"nan", 0},
      {"Infinity", 0},
      {".5", 0.5},
      {"5.", 5},
      {"-.5e1", -5},
      {"+7", 7},
      {"  -3.5e2x", -350},
      {"\t\r\n2", 2},
      {"", 0},
      {"abc", 0},
      {"-", 0},
      {".", 0},
      {"+.e5", 0},
      {"1,5", 1},
      {"1.5.2", 1.5},
      {"1e2.5", 100},
      {"199.500", 199.5},
      {"1e400", kInf},
      {"-1e400", -kInf},
      {"1e-400", 0},
      {"0.0000000000000000000000000000001e-300", 0},
      {"123456789012345678901234567890e300", kInf},
      {"1e99999999999999999999", kInf},
      {"1e-99999999999999999999", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TMPParser::ReadDecimal(c.text), c.value) << c.text;
  }
}

// Short decimals take a fast path; it must give the very bits of the general
// correctly rounded conversion, whatever the digits, point and exponent.
TEST(TMPParserTest, ReadDecimalIsCorrectlyRounded) {
  std::mt19937_64 random(99);
  std::uniform_int_distribution<int> digit(0, 9);
  std::uniform_int_distribution<int> length(1, 20);
  std::uniform_int_distribution<int> exponent(-30, 30);
  for (int round = 0; round < 200000; ++round) {
    std::string text;
    const int integer_digits = length(random) - 1;
    for (int i = 0; i < integer_digits; ++i) text += char('0' + digit(random));
    if (round % 2 == 0 || integer_digits == 0) {
      text += '.';
      const int fraction_digits = length(random) % (round % 3 == 0 ? 20 : 6);
      for (int i = 0; i < fraction_digits; ++i) {
        text += char('0' + digit(random));
      }
      if (text == ".") text += '5';
    }
    if (round % 5 == 0) text += "e" + std::to_string(exponent(random));
    double expected = 0;
    std::from_chars(text.data(), text.data() + text.size(), expected);
    const double got = TMPParser::ReadDecimal(text);
    ASSERT_EQ(std::memcmp(&got, &expected, sizeof got), 0)
        << text << ": " << got << " vs " << expected;
  }
}

// Value lines are read by a faster path than ReadDecimal; their population
// must still be the very bits ReadDecimal gives for the line's first piece,
// whatever its shape, and wherever the line falls in the reader's blocks.
TEST(TMPParserTest, ValueLinesReadTheirFirstPieceAsReadDecimalDoes) {
  std::mt19937_64 random(2026);
  auto below = [&random](int n) {
    return std::uniform_int_distribution<int>(0, n - 1)(random);
  };
  auto digits = [&](int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += char('0' + below(10));
    return text;
  };
  // The last tail makes lines longer than the 64 bytes whose line feeds
  // the reader finds at once.
  const std::string kTails[] = {
      "",      " 0 0 0", " 1.5 2 3", "abc 4",
      "\t5 6", ",7",     "-8",       " " + std::string(70, '3') + " 1"};
  std::vector<std::string> pieces;
  std::string content = "A,1,1,a.KCH\nMigration\nPop. ALL\n";
  // More years than the reader sets aside for a block up front (65,536).
  const int kYears = 70000;
  for (int i = 0; i <= kYears; ++i) content += "1 0\n";
  content += "Pop. 1\n";
  for (int i = 0; i < kYears; ++i) {
    std::string piece;
    if (below(10) == 0) piece += "\t";
    if (below(8) == 0) piece += below(2) ? "-" : "+";
    // Mostly the integers and short decimals of real files, some long
    // enough for every number of eight-digit words, some at 2^53.
    const int shape = below(6);
    if (shape == 0) {
      // 2^53 and above; 2^64 and above, which wrap a 64-bit mantissa.
      const char* const kEdges[] = {"9007199254740992", "9007199254740993",
                                    "18446744073709551617",
                                    "0000000000000000000012"};
      piece += kEdges[below(4)];
    } else {
      piece += digits(1 + below(shape == 1 ? 25 : 11));
    }
    if (below(3) == 0) piece += "." + digits(below(shape == 2 ? 25 : 6));
    if (below(7) == 0)
      piece += (below(2) ? "e" : "E") + std::to_string(below(40) - 20);
    pieces.push_back(piece);
    std::string line = std::string(below(4) == 0 ? below(3) : 0, ' ') + piece +
                       kTails[below(8)];
    if (line.size() < 2) line += " 0";  // shorter lines are passed over
    content += line + (below(2) ? "\r\n" : "\n");
  }
  // No line end after the last line: "42 7" then ends the input.
  content += "42 7";
  pieces.push_back("42");
  std::unique_ptr<TPatches> patches = LoadText(content, 0);
  const std::vector<double> got = Populations(patches->GetPatch("A"));
  ASSERT_EQ(got.size(), pieces.size());
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    const double expected = TMPParser::ReadDecimal(pieces[i]);
    ASSERT_EQ(std::memcmp(&got[i], &expected, sizeof expected), 0)
        << "line \"" << pieces[i] << "\": " << got[i] << " vs " << expected;
  }

  // The reader's buffer may hold digits of an earlier block right after the
  // end of the input; they are no part of the last number. With blocks of
  // 64 KiB these line counts leave "0", "1 0" and "1 0" of the "Pop. ALL"
  // lines after the last values.
  std::string ending = "A,1,1,a.KCH\nMigration\nPop. ALL\n";
  for (int i = 0; i < 9002; ++i) ending += "1 0\n";
  ending += "Pop. 1\n";
  for (int i = 1; i < 9002; ++i) ending += "11 0\n";
  for (const char* last : {"77", "7.25", "12345678"}) {
    patches = LoadText(ending + last, 0);
    EXPECT_EQ(patches->GetPatch("A").GetYear(9001),
              TMPParser::ReadDecimal(last))
        << last;
  }
}

TEST(TMPParserTest, ReadIntegerTakesSignAndDigitsAndSaturates) {
  const struct {
    const char* text;
    int32_t value;
  } cases[] = {
      {"12abc", 12},
      {"  -7", -7},
      {"+5", 5},
      {"3.9", 3},
      {"x", 0},
      {"", 0},
      {"- 5", 0},
      {"2147483647", 2147483647},
      {"2147483648", 2147483647},
      {"99999999999999999999", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"-99999999999", -2147483647 - 1},
      {"0x10", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TMPParser::ReadInteger(c.text), c.value) << c.text;
  }
}

TEST(TMPParserTest, TokenizeDropsEmptyPiecesAndAppends) {
  const struct {
    const char* text;
    const char* delimiters;
    std::vector<std::string> pieces;
  } cases[] = {
      {"a,b,,c,", ",", {"a", "b", "c"}},
      {",,", ",", {}},
      {"", ",", {}},
      {"Pop. 12", ". ", {"Pop", "12"}},
      {"Grid 2.5 km", "km", {"Grid 2.5 "}},
      {"item 3 km", "km", {"ite", " 3 "}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> pieces;
    TMPParser::Tokenize(c.text, pieces, c.delimiters);
    EXPECT_EQ(pieces, c.pieces) << c.text;
  }
  std::vector<std::string> pieces = {"kept"};
  TMPParser::Tokenize("x y", pieces, " ");
  EXPECT_EQ(pieces, (std::vector<std::string>{"kept", "x", "y"}));
}

TEST(TMPParserTest, ParsePatchLineTakesNameAndCoordinates) {
  std::unique_ptr<TPatch> patch =
      TMPParser::ParsePatchLine("North Wood,10.0,20.0,0,wood.KCH");
  EXPECT_EQ(patch->GetName(), "North Wood");
  EXPECT_EQ(patch->GetX(), 10.0);
  EXPECT_EQ(patch->GetY(), 20.0);
  EXPECT_EQ(patch->GetText(), "");
  EXPECT_TRUE(patch->GetYearList().empty());

  patch = TMPParser::ParsePatchLine("A,,3,4");
  EXPECT_EQ(patch->GetName(), "A");
  EXPECT_EQ(patch->GetX(), 3);
  EXPECT_EQ(patch->GetY(), 4);

  EXPECT_EQ(TMPParser::ParsePatchLine(" A ,1,2")->GetName(), " A ");
  EXPECT_THROW(TMPParser::ParsePatchLine("A,1"), TError);
  EXPECT_THROW(TMPParser::ParsePatchLine(",,"), TError);
}

TEST(TMPParserTest, LoadsTheExampleFile) {
  std::unique_ptr<TPatches> patches = LoadText(kExample, 2000);
  EXPECT_EQ(patches->GetResolution(), 2.5);
  ASSERT_EQ(patches->GetNames(),
            (std::vector<std::string>{"North Wood", "South Marsh"}));
  const TPatch& north = patches->GetPatch("North Wood");
  EXPECT_EQ(north.GetX(), 10.0);
  EXPECT_EQ(north.GetY(), 20.0);
  EXPECT_EQ(north.GetYearList(), (std::vector<int32_t>{2000, 2001, 2002}));
  EXPECT_EQ(Populations(north), (std::vector<double>{25, 26, 27}));
  const TPatch& south = patches->GetPatch("South Marsh");
  EXPECT_EQ(south.GetX(), 12.5);
  EXPECT_EQ(south.GetY(), 8.0);
  EXPECT_EQ(south.GetMinYear(), 2000);
  EXPECT_EQ(south.GetMaxYear(), 2002);
  EXPECT_EQ(Populations(south), (std::vector<double>{15, 16, 18}));
}

TEST(TMPParserTest, CrlfLineEndsReadLikeLineFeeds) {
  std::unique_ptr<TPatches> patches =
      LoadText(ReplaceAll(kExample, "\n", "\r\n"), 2000);
  EXPECT_EQ(patches->GetResolution(), 2.5);
  EXPECT_EQ(patches->GetNames(),
            (std::vector<std::string>{"North Wood", "South Marsh"}));
  EXPECT_EQ(Populations(patches->GetPatch("South Marsh")),
            (std::vector<double>{15, 16, 18}));
}

TEST(TMPParserTest, ResolutionComesFromTheFirstKmLineOnly) {
  const struct {
    const char* head;
    double resolution;
  } cases[] = {
      {"Grid 2.5 km\nGrid 5 km\n", 2.5},
      {"item 3 km\nGrid 5 km\n", 0},
      {"Cell 0.5km wide\n", 0.5},
      {"no resolution here\n", 1.0},
      {"", 1.0},
  };
  for (const auto& c : cases) {
    std::unique_ptr<TPatches> patches =
        LoadText(std::string(c.head) + "A,1,2,a.KCH\nMigration\n", 2000);
    EXPECT_EQ(patches->GetResolution(), c.resolution) << c.head;
  }
  // A patch line can be the resolution line too.
  std::unique_ptr<TPatches> patches =
      LoadText("Pop 4 km,1,2\nMigration\n", 2000);
  EXPECT_EQ(patches->GetResolution(), 4);
  EXPECT_TRUE(patches->PatchExists("Pop 4 km"));
}

TEST(TMPParserTest, PatchSectionRunsFromItsMarkerToMigration) {
  std::unique_ptr<TPatches> patches = LoadText(
      "title\n"
      "not,a,patch\n"
      "Pop 1,1,2\n"
      "plain,3,4\n"
      "Migration\n"
      "Pop 2,5,6\n",
      2000);
  EXPECT_EQ(patches->GetNames(), (std::vector<std::string>{"Pop 1", "plain"}));
  EXPECT_EQ(patches->GetPatch("plain").GetY(), 4);
  // Without "Pop. ALL" the patches have no populations.
  EXPECT_TRUE(patches->GetPatch("Pop 1").GetYearList().empty());

  // A marker line that also says "Migration" closes the section at once.
  patches = LoadText("x.KCH Migration\nPop 1,1,2\n", 2000);
  EXPECT_EQ(patches->GetNumPatches(), 0u);
}

TEST(TMPParserTest, DuplicateNamesKeepTheLaterPatchAndReadFewerBlocks) {
  std::unique_ptr<TPatches> patches = LoadText(
      "A,1,1,a.KCH\nB,2,2\nA,3,3\nMigration\nPop. ALL\nx\n"
      "Pop. 1\n10\nPop. 2\n20\nPop. 3\n30\n",
      2000);
  ASSERT_EQ(patches->GetNumPatches(), 2u);
  // Ordinals 1 and 3 both name A, which is now the patch of the third line;
  // two blocks are read, so "Pop. 3" is not.
  EXPECT_EQ(patches->GetPatch("A").GetX(), 3);
  EXPECT_EQ(Populations(patches->GetPatch("A")), (std::vector<double>{10}));
  EXPECT_EQ(Populations(patches->GetPatch("B")), (std::vector<double>{20}));
}

TEST(TMPParserTest, BlocksMayComeInAnyOrder) {
  std::unique_ptr<TPatches> patches = LoadText(
      "A,1,1,a.KCH\nB,2,2\nMigration\nPop. ALL\n1 0\n2 0\n"
      "Pop. 2\n20 0\n21 0\nPop. 1\n10 0\n11 0\n",
      1990);
  EXPECT_EQ(Populations(patches->GetPatch("A")), (std::vector<double>{10, 11}));
  EXPECT_EQ(Populations(patches->GetPatch("B")), (std::vector<double>{20, 21}));
  EXPECT_EQ(patches->GetPatch("B").GetMinYear(), 1990);
}

TEST(TMPParserTest, ShortLinesInBlocksAreSkippedButCountInTheTotalBlock) {
  // The all-patches block has an empty line: three years. In the patch
  // block the empty and one-character lines are passed over, with either
  // line end: "7\r\n" is one character once its line end is removed.
  const std::string content =
      "A,1,1,a.KCH\nMigration\nPop. ALL\n5 0\n\n7 0\n"
      "Pop. 1\n\n10 0\n7\n11 0\n\n\r\n12 0\n";
  for (const std::string& text : {content, ReplaceAll(content, "\n", "\r\n")}) {
    std::unique_ptr<TPatches> patches = LoadText(text, 2000);
    const TPatch& a = patches->GetPatch("A");
    EXPECT_EQ(a.GetYearList(), (std::vector<int32_t>{2000, 2001, 2002}))
        << text;
    EXPECT_EQ(Populations(a), (std::vector<double>{10, 11, 12})) << text;
  }
}

TEST(TMPParserTest, NoYearsWhenTheTotalBlockIsEmpty) {
  std::unique_ptr<TPatches> patches = LoadText(
      "A,1,1,a.KCH\nB,2,2\nMigration\nPop. ALL\nPop. 1\nPop. 2\n", 2000);
  EXPECT_EQ(patches->GetNumPatches(), 2u);
  EXPECT_TRUE(patches->GetPatch("A").GetYearList().empty());
  EXPECT_TRUE(patches->GetPatch("B").GetYearList().empty());
}

TEST(TMPParserTest, PopulationSectionWithoutPatchesGivesAnEmptyCollection) {
  std::unique_ptr<TPatches> patches =
      LoadText("x.KCH Migration\nPop. ALL\n1 0\nPop. 1\n", 2000);
  EXPECT_EQ(patches->GetNumPatches(), 0u);
}

TEST(TMPParserTest, LastLineWithoutLineFeed) {
  // The scan does not examine it: no patch is made from it.
  std::unique_ptr<TPatches> patches = LoadText("A,1,1,a.KCH\nB,2,2", 2000);
  EXPECT_EQ(patches->GetNames(), (std::vector<std::string>{"A"}));
  // A value line is read as usual.
  patches = LoadText(
      "A,1,1,a.KCH\nMigration\nPop. ALL\n1 0\n2 0\nPop. 1\n10 0\n11 0", 2000);
  EXPECT_EQ(Populations(patches->GetPatch("A")), (std::vector<double>{10, 11}));
}

TEST(TMPParserTest, OrdinalsOutsideThePatchLinesFail) {
  for (const char* header :
       {"Pop. 0", "Pop. 3", "Pop. x", "Pop. -1", "Pop. 99999999999"}) {
    const std::string error =
        LoadError(std::string("A,1,1,a.KCH\nB,2,2\nMigration\nPop. ALL\n"
                              "1 0\n") +
                  header + "\n5 0\nPop. 2\n6 0\n");
    EXPECT_THAT(error, HasSubstr("Patch does not exist")) << header;
    EXPECT_THAT(error, HasSubstr("line 6")) << header;
  }
}

TEST(TMPParserTest, MalformedLinesAreErrors) {
  const struct {
    const char* content;
    const char* message;
  } cases[] = {
      {"A,1,1,a.KCH\nB,2\nMigration\n", "line 2: malformed patch line \"B,2\""},
      {"A,1,1,a.KCH\n\nMigration\n", "line 2: malformed patch line \"\""},
      {"km\nA,1,1,a.KCH\n", "line 1: malformed resolution line \"km\""},
      {"  km\n", "line 1: malformed resolution line"},
      {"A,1,1,a.KCH\nMigration\nPop. ALL\n1 0\nPop.\n5 0\n",
       "line 5: malformed block header \"Pop.\""},
      {"A,1,1,a.KCH\nMigration\nPop. ALL\n1 0\nPop. 1\n   \n",
       "line 6: malformed value line"},
      // A block longer than the total block: its extra value line must not
      // be taken for the next header (its digits would name a patch).
      {"A,1,1,a.KCH\nB,2,2\nMigration\nPop. ALL\n1 0\nPop. 1\n5 0\n"
       "2.5 0\nPop. 2\n6 0\n",
       "line 8: expected a block header \"Pop. <k>\" after 1 value lines, "
       "found \"2.5 0\""},
      // A repeated block would overwrite a patch and leave another empty.
      {"A,1,1,a.KCH\nB,2,2\nMigration\nPop. ALL\n1 0\nPop. 1\n5 0\n"
       "Pop. 1\n6 0\n",
       "line 8: block header \"Pop. 1\" repeats patch 1"},
      // Control bytes are shown escaped.
      {"A,1,1,a.KCH\n\x01\x02\n", "malformed patch line \"\\x01\\x02\""},
  };
  for (const auto& c : cases) {
    EXPECT_THAT(LoadError(c.content), HasSubstr(c.message)) << c.content;
  }
}

TEST(TMPParserTest, TruncatedPopulationSectionIsAnError) {
  const char* cases[] = {
      "A,1,1,a.KCH\nMigration\nPop. ALL\n",
      "A,1,1,a.KCH\nMigration\nPop. ALL\n1 0\n2 0\n",
      "A,1,1,a.KCH\nMigration\nPop. ALL\n1 0\n2 0\nPop. 1\n5 0\n",
      "A,1,1,a.KCH\nMigration\nPop. ALL\n1 0\n2 0\nPop. 1\n5 0\n\n",
      "A,1,1,a.KCH\nB,2,2\nMigration\nPop. ALL\n1 0\nPop. 1\n5 0\n",
      "A,1,1,a.KCH\nB,2,2\nMigration\nPop. ALL\n1 0\nPop. 1\n5 0",
  };
  for (const char* content : cases) {
    EXPECT_THAT(LoadError(content), HasSubstr("the file is truncated"))
        << content;
  }
  // The last block complete, with or without the line after it: no error.
  EXPECT_EQ(LoadError("A,1,1,a.KCH\nMigration\nPop. ALL\n1 0\nPop. 1\n5 0\n"),
            "(no error)");
}

TEST(TMPParserTest, YearsBeyondThe32BitRangeAreAnError) {
  const char* content =
      "A,1,1,a.KCH\nMigration\nPop. ALL\n1 0\n2 0\nPop. 1\n"
      "5 0\n6 0\n";
  EXPECT_THAT(LoadError(content, 2147483646), HasSubstr("(no error)"));
  EXPECT_THAT(LoadError(content, 2147483647),
              HasSubstr("run past year 2147483647"));
  std::unique_ptr<TPatches> patches = LoadText(content, -2147483647 - 1);
  EXPECT_EQ(patches->GetPatch("A").GetMinYear(), -2147483647 - 1);
}

TEST(TMPParserTest, AnyByteIsAcceptedInNamesAndHeaders) {
  std::string content = "Metapopulation input file (5.1) map=\xff\n";
  content +=
      "\xcb\x87 \xff\xfe,1,2,x.KCH\nMigration\nPop. ALL\n1 0\nPop. 1\n"
      "5\x80\xff\n";
  std::unique_ptr<TPatches> patches = LoadText(content, 2000);
  ASSERT_EQ(patches->GetNames(),
            (std::vector<std::string>{"\xcb\x87 \xff\xfe"}));
  EXPECT_EQ(Populations(patches->GetPatch("\xcb\x87 \xff\xfe")),
            (std::vector<double>{5}));
}

TEST(TMPParserTest, FileThatCannotBeReadIsAnErrorNamingIt) {
  const std::string missing = WriteTempFile("exists.mp", "") + ".missing";
  try {
    TMPParser::LoadMP(missing, 2000);
    FAIL();
  } catch (const TError& error) {
    EXPECT_THAT(error.what(), HasSubstr(missing + ": cannot open"));
  }
  const std::string directory = ExamplePath("");
  try {
    TMPParser::LoadMP(directory, 2000);
    FAIL();
  } catch (const TError& error) {
    EXPECT_THAT(error.what(), HasSubstr("is a directory"));
  }
}

TEST(TMPParserTest, FileErrorsNameTheFileAndLine) {
  const std::string path = WriteTempFile("bad.mp", "A,1,1,a.KCH\nB\n");
  try {
    TMPParser::LoadMP(path, 2000);
    FAIL();
  } catch (const TError& error) {
    EXPECT_THAT(error.what(), HasSubstr(path + ": line 2: malformed patch"));
  }
}

TEST(TMPParserTest, ReadsTheBundledExample) {
  std::unique_ptr<TPatches> patches =
      TMPParser::LoadMP(ExamplePath("heath_skink.mp"), 2030);
  EXPECT_EQ(patches->GetNumPatches(), 12u);
  EXPECT_EQ(patches->GetResolution(), 2.5);
  const TPatch& first = patches->GetPatch("Pop 1");
  EXPECT_EQ(first.GetX(), 9.295);
  EXPECT_EQ(first.GetMinYear(), 2030);
  EXPECT_EQ(first.GetMaxYear(), 2049);
}

// Published files written by the population model.
TEST(TMPParserTest, ReadsRealFiles) {
  if (RealMpPath("").empty()) GTEST_SKIP() << "real MP files not available";
  const struct {
    const char* file;
    std::size_t patches;
    std::size_t years;
    const char* name;
    double x;
    double first_population;
  } cases[] = {
      {"mptools_example_263pops.mp", 263, 100, "Pop 1", 199.5, 0},
      {"dfo_Z20_1918_54pops.mp", 54, 100, "Pop 1", -1, -1},
      {"dfo_B10_16pops.mp", 16, 100, "Pop 1", 1.0, 2.495},
      {"snpl33_3pops.mp", 3, 90, "Pop 1", 415.84, 1.198},
      {"flsnpl_2m_hi_3pops_noresults.mp", 3, 0, "Pop 1", -1, -1},
      // Its one population has no marker: read by the model's layout.
      {"ferret_example_1pop.mp", 1, 10, "BFF", 0, 190},
  };
  for (const auto& c : cases) {
    std::unique_ptr<TPatches> patches =
        TMPParser::LoadMP(RealMpPath(c.file), 1);
    EXPECT_EQ(patches->GetNumPatches(), c.patches) << c.file;
    EXPECT_EQ(patches->GetResolution(), 1.0) << c.file;
    for (const TPatch* patch : patches->GetPatchList()) {
      EXPECT_EQ(patch->GetNumYears(), c.years) << c.file << patch->GetName();
    }
    const TPatch& patch = patches->GetPatch(c.name);
    if (c.x >= 0) {
      EXPECT_EQ(patch.GetX(), c.x) << c.file;
    }
    if (c.first_population >= 0) {
      EXPECT_EQ(patch.GetYear(1), c.first_population) << c.file;
    }
  }
}

// The markers find the model's population list only through its default
// names; where they lead to a line that is no patch line, the model's own
// files are read by their fixed layout.
TEST(TMPParserTest, ModelFilesFallBackToTheirLayout) {
  const struct {
    const char* name;
    std::string content;
    std::vector<std::string> names;  // in list order
  } cases[] = {
      // Names without marker: the markers open at "Pop. ALL".
      {"list without markers",
       ModelFile({"Ferrets"}, {"BFF,1,2,100,LO,,", "Colony B,3,4,100,LO,,"}),
       {"BFF", "Colony B"}},
      // A title with "Pop" opens the markers at line 2, which is no patch
      // line; before the fallback the default names did not help.
      {"title with Pop",
       ModelFile({"Population model of ferrets"}, {"Pop 1,1,2,", "Pop 2,3,4,"}),
       {"Pop 1", "Pop 2"}},
      // What the markers took before the fallback is no population, and
      // marker texts among the header lines do not count afterwards.
      {"header lines the markers took",
       ModelFile({"Pop,5,6", "", "x.KCH,7,8"}, {"BFF,1,2,"}),
       {"BFF"}},
      // Markers from the second population on would lose the first and
      // give its block to the second.
      {"list marked from its second population",
       ModelFile({"Ferrets"}, {"BFF,1,2,", "Pop 2,3,4,", "Pop 3,5,6,"}),
       {"BFF", "Pop 2", "Pop 3"}},
  };
  for (const auto& c : cases) {
    std::unique_ptr<TPatches> patches = LoadText(c.content, 2000);
    ASSERT_EQ(patches->GetNumPatches(), c.names.size()) << c.name;
    for (std::size_t k = 0; k < c.names.size(); ++k) {
      const TPatch& patch = patches->GetPatch(c.names[k]);
      EXPECT_EQ(patch.GetX(), 2 * k + 1.0) << c.name;
      EXPECT_EQ(Populations(patch), (std::vector<double>{10.0 * (k + 1)}))
          << c.name;
    }
  }
}

TEST(TMPParserTest, PatchLineErrorsSayWherePatchLinesAreLookedFor) {
  const std::string model = ModelFile({"Ferrets"}, {"BFF,1,2,", "Colony B"});
  const struct {
    const char* name;
    std::string content;
    const char* where;
    const char* rule;
  } cases[] = {
      // In the model's layout the faulty line is one of the list.
      {"model file", model, "line 46: malformed patch line \"Colony B\"",
       "in a file of the population model the patch lines are lines 45 up "
       "to the \"Migration\" line"},
      // The markers open inside the list, which is then read whole.
      {"model file marked from its second population",
       ModelFile({"Ferrets"}, {"BFF,1,2,", "Pop 2,3,4,", "PD"}),
       "line 47: malformed patch line \"PD\"", "lines 45 up to"},
      // Other files have only the markers, which open here at "Pop. ALL".
      {"other file", "Model input\n" + model.substr(model.find('\n') + 1),
       "line 50: malformed patch line \"Pop. ALL\"",
       "patch lines are recognised by \".KCH\", \"Pop\" or \".DCH\""},
      {"header not at the start", " " + model,
       "line 50: malformed patch line \"Pop. ALL\"",
       "patch lines are recognised by"},
  };
  for (const auto& c : cases) {
    const std::string error = LoadError(c.content);
    EXPECT_THAT(error, HasSubstr(c.where)) << c.name;
    EXPECT_THAT(error, HasSubstr(c.rule)) << c.name;
  }
}
