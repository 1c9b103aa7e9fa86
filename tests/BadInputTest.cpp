// The built program on inputs that are broken, truncated or at the edge of
// what it accepts. Files come from other programs, full disks and hand
// edits; whatever arrives, a run must end with a complete report (status 0)
// or with a message on standard error (status 1) and no report table.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"

using ::testing::EndsWith;
using ::testing::HasSubstr;

namespace {

// Two patches, three years from the start year, resolution 2.5.
const std::string kValid =
    "Grid 2.5 km\n"
    "A,0,0,a.KCH\n"
    "B,0,10,b.KCH\n"
    "Migration\n"
    "0,1\n"
    "Pop. ALL\n"
    "15 0\n15 0\n15 0\n"
    "Pop. 1\n"
    "10 0\n5 0\n5 0\n"
    "Pop. 2\n"
    "5 0\n10 0\n10 0\n";

// kValid cut right after the first occurrence of `end`, as a full disk
// leaves a file.
std::string CutAfter(const std::string& end) {
  const std::size_t at = kValid.find(end);
  return kValid.substr(0, at == std::string::npos ? 0 : at + end.size());
}

// kValid with the first occurrence of `from` replaced by `to`.
std::string Edited(const std::string& from, const std::string& to) {
  std::string text = kValid;
  const std::size_t at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// A line of report rows: the column heading or a line that starts with a
// year.
bool HasTableLines(const std::string& out) {
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t digit = line.rfind('-', 0) == 0 ? 1 : 0;
    if (line.rfind("Year", 0) == 0) return true;
    if (digit < line.size() && line[digit] >= '0' && line[digit] <= '9') {
      return true;
    }
  }
  return false;
}

struct Row {
  const char* name;
  std::string path;               // the MP file's name, or "" for `content`
  std::string content;            // the MP file, written to a new file
  std::vector<std::string> args;  // after the file name
  int status;
  std::vector<std::string> err;  // key words of the message, for status 1
  std::string out;               // a piece of the report, for status 0
};

const std::vector<std::string> kArgs = {"2000", "Y", "0.25", ","};

// kArgs with the optional arguments `more` after them.
std::vector<std::string> With(std::vector<std::string> more) {
  std::vector<std::string> args = kArgs;
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

std::vector<std::string> StartingIn(const std::string& startyear) {
  return {startyear, "Y", "0.25", ","};
}

Row BadPath(const char* name, const std::string& path,
            std::vector<std::string> err) {
  return {name, path, "", kArgs, 1, std::move(err), ""};
}

Row BadFile(const char* name, const std::string& content,
            std::vector<std::string> err) {
  return {name, "", content, kArgs, 1, std::move(err), ""};
}

Row GoodFile(const char* name, const std::string& content,
             const std::string& out) {
  return {name, "", content, kArgs, 0, {}, out};
}

Row BadArgs(const char* name, std::vector<std::string> args,
            std::vector<std::string> err) {
  return {name, "", kValid, std::move(args), 1, std::move(err), ""};
}

Row GoodArgs(const char* name, std::vector<std::string> args,
             const std::string& out) {
  return {name, "", kValid, std::move(args), 0, {}, out};
}

}  // namespace

TEST(BadInputTest, EveryRunEndsWithAReportOrAMessage) {
  const std::string missing = WriteTempFile("present.mp", kValid) + ".missing";
  const std::string garbage(
      "\x7f"
      "ELF\x02\x01\x01\0\0\xff\xfe\x80\n\x01\x02",
      16);
  const std::string marked_garbage("\0\xffPop\x01\x02\n\x03\n", 10);
  const Row rows[] = {
      // The file itself.
      BadPath("missing file", missing, {"cannot open the MP file", missing}),
      BadPath("directory", ExamplePath(""), {"is a directory"}),
      BadFile("empty file", "", {"No patch to analyse", "no patch lines"}),
      BadFile("binary garbage", garbage, {"No patch to analyse"}),
      BadFile("binary garbage with a patch marker", marked_garbage,
              {"line 1: malformed patch line", "\"\\x00"}),
      GoodFile("valid file", kValid, "\n2002,0,0,2002,0,0,2002,"),

      // Cut short in each section.
      BadFile("cut inside the patch lines", CutAfter("B,0,1"),
              {"No year to analyse"}),
      BadFile("cut in the middle section", CutAfter("Migration\n0,"),
              {"No year to analyse"}),
      BadFile("cut inside the Pop. ALL block", CutAfter("15 0\n15"),
              {"line 8", "truncated", "inside the \"Pop. ALL\" block"}),
      BadFile("cut inside a block", CutAfter("Pop. 1\n10 0\n5"),
              {"truncated",
               "inside the block \"Pop. 1\", after 1 of 3 value lines"}),
      BadFile("cut inside the last block", CutAfter("Pop. 2\n5 0\n"),
              {"truncated", "inside the block \"Pop. 2\", after 1 of 3"}),
      BadFile("cut before the next block header", CutAfter("5 0\n5 0\n"),
              {"truncated", "after 1 of 2 population blocks"}),
      BadFile("cut inside the next block header", CutAfter("5 0\n5 0\nPop"),
              {"expected a block header", "found \"Pop\""}),

      // Inconsistent or malformed content.
      BadFile("patches without populations", "A,0,0,a.KCH\nB,0,10\nMigration\n",
              {"No year to analyse"}),
      BadFile("ordinal out of range", Edited("Pop. 2", "Pop. 3"),
              {"line 14", "Patch does not exist", "names patch 3"}),
      BadFile("patch line with two fields", Edited("B,0,10,b.KCH", "B,0"),
              {"line 3: malformed patch line \"B,0\""}),
      BadFile("block header without ordinal", Edited("Pop. 2", "Pop."),
              {"line 14: malformed block header \"Pop.\""}),
      BadFile("value line only of spaces", Edited("5 0\n5 0", "5 0\n   "),
              {"line 13: malformed value line"}),
      BadFile("resolution line that is just km", Edited("Grid 2.5 km", "km"),
              {"line 1: malformed resolution line \"km\""}),

      // A value line must begin with a number. A block one line short
      // otherwise takes the next block's header, or after the last block
      // the occupancy results, as a population.
      BadFile("block one value line short",
              Edited("5 0\n5 0\nPop. 2", "5 0\nPop. 2"),
              {"line 13: value line \"Pop. 2\" of block \"Pop. 1\"",
               "does not begin with a number", "after 2 of its 3 value lines"}),
      BadFile("last block one value line short",
              kValid.substr(0, kValid.size() - 5) +
                  "Occupancy\n1 0 1 0\n1 0 1 0\n1 0 1 0\n",
              {"line 17: value line \"Occupancy\" of block \"Pop. 2\"",
               "after 2 of its 3 value lines"}),
      BadFile(
          "value line starting with nan",
          Edited("Pop. 2\n5 0", "Pop. 2\nnan 0"),
          {"line 15: value line \"nan 0\"", "does not begin with a number"}),
      BadFile("value line starting with a word",
              Edited("Pop. 2\n5 0", "Pop. 2\nabc 1 2"),
              {"line 15: value line \"abc 1 2\"", "after 0 of its 3"}),
      BadFile("value line starting with a sign only",
              Edited("Pop. 2\n5 0", "Pop. 2\n- 5"),
              {"line 15: value line \"- 5\"", "does not begin with a number"}),
      GoodFile("value line whose number runs into letters",
               Edited("Pop. 2\n5 0", "Pop. 2\n5abc 0"),
               "Initial Coords,0,0,,0,10\n"),

      // Numbers beyond every range, in the file. An infinite population
      // makes its year's target infinite: the southern edge then takes
      // every patch.
      GoodFile("coordinate beyond the double range",
               Edited("B,0,10", "B,0,1e400"),
               "Initial Coords,0,0,,0,Infinity\n"),
      GoodFile("population beyond the double range",
               Edited("Pop. 2\n5 0", "Pop. 2\n1e999 0"),
               "Initial Coords,0,5,,0,10\n"),
      GoodFile("resolution beyond the double range",
               Edited("2.5 km", "1e999 km"), "Resolution(km),Infinity\n"),
      BadFile("ordinal beyond the 32-bit range",
              Edited("Pop. 2", "Pop. 99999999999"),
              {"Patch does not exist", "names patch 2147483647"}),

      // Numbers beyond every range, on the command line: the message quotes
      // the argument as typed beside the value it reads as.
      BadArgs("start year beyond the 32-bit range", StartingIn("99999999999"),
              {"startyear \"99999999999\" (read as 2147483647) is outside its "
               "valid range: it can be at most 99999999"}),
      GoodArgs("threshold beyond the double range", {"2000", "Y", "1e999", ","},
               "\n2001,0,0,2001,0,0,"),
      BadArgs("burn-in beyond the 32-bit range", With({"99999999999"}),
              {"burn-in \"99999999999\" (read as 2147483647) is outside its "
               "valid range 0 to 2"}),
      BadArgs("patch size threshold beyond the 32-bit range",
              With({"0", "99999999999"}),
              {"cleaning with patch_size_threshold \"99999999999\" (read as "
               "2147483647) removed every patch"}),
      BadArgs("window below the 32-bit range",
              With({"0", "0", "sma", "-99999999999"}),
              {"window_size \"-99999999999\" (read as -2147483648) is outside "
               "its valid range"}),
      BadArgs("burn-in with trailing text", With({"3 years"}),
              {"burn-in \"3 years\" (read as 3) is outside its valid range"}),
      GoodArgs("exponential window beyond the 32-bit range",
               With({"0", "0", "exp", "99999999999"}),
               "Exponential smoothing window,2147483647\n"),

      // Start years far from today. The year span runs up to year 0 at
      // least, since a patch's largest year never counts below 0, and a
      // patch's smallest year never above 99999999: a start year that puts
      // every year below 0, or one above 99999999, would fill the span with
      // years without data. The file has 3 years.
      GoodArgs("start year whose last year is 0", StartingIn("-2"),
               "Total years,3\nNorth,,South\nInitial Coords,0,0,,0,10\n"
               "Year,X,Y,Year,X,Y,Year,X(km),Y(km),Year,X(km),Y(km)\n"
               "-2,0,0,-2,0,0,"),
      BadArgs("start year whose last year is -1", StartingIn("-3"),
              {"startyear -3 is outside its valid range",
               "would run from -3 to -1, all before year 0",
               "it must be at least -2"}),
      BadArgs("start year a million years back", StartingIn("-1000000"),
              {"startyear -1000000 is outside its valid range",
               "would run from -1000000 to -999998"}),
      BadArgs("start year below the 32-bit range", StartingIn("-99999999999"),
              {"startyear \"-99999999999\" (read as -2147483648) is outside",
               "would run from -2147483648 to -2147483646",
               "it must be at least -2"}),
      GoodArgs("start year at its upper limit", StartingIn("99999999"),
               "\n100000001,0,0,"),
      BadArgs("start year above its upper limit", StartingIn("100000000"),
              {"startyear 100000000 is outside its valid range: it can be at "
               "most 99999999"}),

      // Burn-in: 0 up to the number of years less one.
      BadArgs(
          "burn-in below its range", With({"-1"}),
          {"burn-in -1 is outside its valid range 0 to 2", "covers 3 years"}),
      GoodArgs("burn-in at its lower limit", With({"0"}),
               "Initial Coords,0,0,,0,10\n"),
      GoodArgs("burn-in at its upper limit", With({"2"}), "Burn-in years,2\n"),
      BadArgs("burn-in above its range", With({"3"}),
              {"burn-in 3 is outside its valid range 0 to 2"}),

      // Window: at least 1; the moving average's at most the years left
      // after the burn-in.
      BadArgs("window below its range", With({"0", "0", "sma", "0"}),
              {"window_size 0 is outside its valid range: it must be at "
               "least 1"}),
      GoodArgs("window at its lower limit", With({"0", "0", "sma", "1"}),
               "\n2000,0,0,2000,0,0,"),
      GoodArgs("window at its upper limit", With({"1", "0", "sma", "2"}),
               "\n2001,"),
      BadArgs("window above its range", With({"1", "0", "sma", "3"}),
              {"window_size 3 is outside its valid range 1 to 2",
               "the years left after the burn-in"}),
      BadArgs("exponential window below its range",
              With({"0", "0", "exp", "0"}),
              {"window_size 0 is outside its valid range"}),

      // The command line itself.
      BadArgs("four arguments", {"2000", "Y", "0.25"},
              {"Usage: Zelvatrix filename"}),
      BadArgs("eight arguments", With({"0", "0", "sma"}),
              {"Usage: Zelvatrix filename"}),
      BadArgs("unknown smoothing type", With({"0", "0", "median", "3"}),
              {"Unknown moving average"}),
  };
  for (const Row& row : rows) {
    std::vector<std::string> args = {
        row.path.empty() ? WriteTempFile("bad-input.mp", row.content)
                         : row.path};
    args.insert(args.end(), row.args.begin(), row.args.end());
    const RunResult result = RunExecutable(args);
    EXPECT_EQ(result.status, row.status) << row.name << "\n" << result.err;
    for (const std::string& word : row.err) {
      EXPECT_THAT(result.err, HasSubstr(word)) << row.name;
    }
    if (row.status == 0) {
      EXPECT_EQ(result.err, "") << row.name;
      EXPECT_THAT(result.out, HasSubstr(row.out)) << row.name;
      EXPECT_THAT(result.out, EndsWith("\n")) << row.name;
    } else {
      EXPECT_NE(result.err, "") << row.name;
      EXPECT_FALSE(HasTableLines(result.out)) << row.name << "\n" << result.out;
    }
  }
}

// Regression: a block header that repeated an ordinal replaced that patch's
// populations, and the patch whose block was missing kept none, so the
// report silently left it out.
TEST(BadInputTest, RepeatedBlockOrdinalIsAnError) {
  const std::string path =
      WriteTempFile("repeated.mp", Edited("Pop. 2", "Pop. 1"));
  const RunResult result = RunExecutable({path, "2000", "Y", "0.25", ","});
  EXPECT_EQ(result.status, 1);
  EXPECT_THAT(result.err, HasSubstr("line 14"));
  EXPECT_THAT(result.err, HasSubstr("\"Pop. 1\""));
  EXPECT_FALSE(HasTableLines(result.out)) << result.out;
}

// zvx on the same broken files: each fails alone with a message that starts
// with its name, exit status 1, and the table holds its header and no row.
TEST(BadInputTest, ZvxFailsEachBrokenFileWithoutRows) {
  const std::string missing = WriteTempFile("zvx-present.mp", kValid) + ".x";
  const std::string header =
      "file,edge,year,x,y,shift_x,shift_y,shift_x_km,shift_y_km,step_x,"
      "step_y\n";
  struct ZvxRow {
    const char* name;
    std::string path;     // or "" for `content`
    std::string content;  // written to a new file
    std::vector<std::string> options;
    std::string err;  // a piece of the message
  };
  const ZvxRow rows[] = {
      {"missing file", missing, "", {}, "cannot open the MP file"},
      {"directory", ExamplePath(""), "", {}, "is a directory"},
      {"empty file", "", "", {}, "No patch to analyse"},
      {"cut inside a block", "", CutAfter("Pop. 1\n10 0\n5"), {}, "truncated"},
      {"ordinal out of range",
       "",
       Edited("Pop. 2", "Pop. 3"),
       {},
       "Patch does not exist"},
      {"malformed patch line",
       "",
       Edited("B,0,10,b.KCH", "B,0"),
       {},
       "malformed patch line"},
      {"burn-in beyond the years",
       "",
       kValid,
       {"--burn-in", "3"},
       "--burn-in 3 is outside its valid range 0 to 2"},
      {"window beyond the years",
       "",
       kValid,
       {"--smooth", "median:4"},
       "--smooth window 4 is outside its valid range 1 to 3"},
      {"cleaning removes every patch",
       "",
       kValid,
       {"--clean", "4"},
       "--clean 4 removed every patch"},
      {"resolution of 0",
       "",
       Edited("Grid 2.5 km", "Grid 0 km"),
       {},
       "--resolution"},
  };
  for (const ZvxRow& row : rows) {
    const std::string path =
        row.path.empty() ? WriteTempFile("zvx-bad.mp", row.content) : row.path;
    std::vector<std::string> args = {"edges"};
    args.insert(args.end(), row.options.begin(), row.options.end());
    args.push_back(path);
    const RunResult result = RunExecutable(args, ZVX_BINARY);
    EXPECT_EQ(result.status, 1) << row.name << "\n" << result.err;
    EXPECT_EQ(result.out, header) << row.name;
    EXPECT_EQ(result.err.rfind(path + ": ", 0), 0u) << row.name << "\n"
                                                    << result.err;
    EXPECT_THAT(result.err, HasSubstr(row.err)) << row.name;
    EXPECT_THAT(result.err, EndsWith("zvx edges: 1 of 1 files failed\n"))
        << row.name;
  }
}
