// End-to-end runs of the whole program on small MP files. Every expected
// report was worked out by hand from the file's numbers; the comments give
// the reasoning for the values that are not obvious.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <locale>
#include <sstream>

#include "TCentroidTools.h"
#include "TCentroids.h"
#include "TNumberFormat.h"
#include "TPoint.h"
#include "TestSupport.h"

using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {

std::string DataPath(const std::string& name) {
  return std::string(ZELVATRIX_SOURCE_DIR) + "/tests/data/" + name;
}

struct GoldenCase {
  const char* file;
  std::vector<std::string> args;  // after the file name
  const char* report;
};

// column.mp: A (0, 0), B (2, 10), C (4, 20), D (6, 30); populations
// 2000: 10 10 10 10, 2001: 0 10 10 20, 2002: 5 5 10 0. With share 0.25:
// 2000: the edges are D and A alone (each exactly meets the target 10).
// 2001: north D crosses the target; south A is taken with 0, then B.
// 2002: north D is taken with 0, then C crosses; south A meets the target.
const GoldenCase kColumnTab = {"column.mp",
                               {"2000", "Y", "0.25", "\t"},
                               "Num patches loaded\t4\n"
                               "Resolution(km)\t1\n"
                               "Total years\t3\n"
                               "North\t\tSouth\n"
                               "Initial Coords\t0\t0\t\t6\t30\n"
                               "Year\tX\tY\tYear\tX\tY\n"
                               "2000\t0\t0\t2000\t0\t0\n"
                               "2001\t0\t0\t2001\t-2\t-10\n"
                               "2002\t2\t10\t2002\t0\t0\n"};

// ties.mp, axis X: a (2, 0), b (2, 4), c (1, 8), d (3, 2). Ordered by x,
// ties as the exchange sort leaves them: c, b, a, d. Burn-in 1 makes 2011
// the reference: north = a (d taken with 0), south = b (c taken with 0).
// 2012 holds no population: NaN. 2013 (a 1, b 5, c 1, d 2, target 4.5):
// north takes d, a, then b crosses: mean of a, b, d = (7/3, 2); south takes
// c, then b crosses: (1.5, 6). Resolution 2.5 adds the km columns.
const GoldenCase kTiesMultiCharacter = {
    "ties.mp",
    {"2010", "X", "0.5", "; ", "1"},
    "Num patches loaded; 4\n"
    "Resolution(km); 2.5\n"
    "Total years; 4\n"
    "Burn-in years; 1\n"
    "North; ; South\n"
    "Initial Coords; 2; 4; ; 2; 0\n"
    "Year; X; Y; Year; X; Y; Year; X(km); Y(km); Year; X(km); Y(km)\n"
    "2011; 0; 0; 2011; 0; 0; 2011; 0; 0; 2011; 0; 0\n"
    "2012; NaN; NaN; 2012; NaN; NaN; 2012; NaN; NaN; 2012; NaN; NaN\n"
    "2013; -0.333333; -2; 2013; 0.5; -2; 2013; -0.833333; -5; 2013; 1.25; "
    "-5\n"};

// band.mp: P1..P5 at y = 0..40, the occupied band (each patch 10) runs
// 2000..2007 over y = 0-40, 0-40, 0-40, 10-20, 10-40, 0-10, 10-20, 20-30.
// With share 0.1 each edge is its outermost occupied patch. Q at y = 100 is
// occupied in 2003 and 2004 only; R at y = -50 never. Cleaning with
// threshold 3 drops both. Edge y after cleaning: north 40 40 40 20 40 10 20
// 30, south 0 0 0 10 10 0 10 20; shifts from 2000: north 0 0 0 20 0 30 20 10,
// south 0 0 0 -10 -10 0 -10 -20.
const GoldenCase kBandUncleaned = {
    "band.mp",
    {"2000", "Y", "0.1", ","},
    // Without cleaning Q is the northern edge in 2003 and 2004: 40 - 100.
    "Num patches loaded,7\n"
    "Resolution(km),1\n"
    "Total years,8\n"
    "North,,South\n"
    "Initial Coords,0,0,,0,40\n"
    "Year,X,Y,Year,X,Y\n"
    "2000,0,0,2000,0,0\n"
    "2001,0,0,2001,0,0\n"
    "2002,0,0,2002,0,0\n"
    "2003,0,-60,2003,0,-10\n"
    "2004,0,-60,2004,0,-10\n"
    "2005,0,30,2005,0,0\n"
    "2006,0,20,2006,0,-10\n"
    "2007,0,10,2007,0,-20\n"};

// Window 3 centres each mean: rows 2001..2006, "Initial Coords" at 2001.
// North means: 0, 20/3, 20/3, 50/3, 50/3, 20; south: 0, -10/3, -20/3,
// -20/3, -20/3, -10.
const GoldenCase kBandCleanedSma3 = {
    "band.mp",
    {"2000", "Y", "0.1", ",", "0", "3", "sma", "3"},
    "Num patches loaded,7\n"
    "Patch size threshold,3\n"
    "Num patches after cleaning,5\n"
    "Resolution(km),1\n"
    "Total years,8\n"
    "Simple moving average smoothing window,3\n"
    "North,,South\n"
    "Initial Coords,0,0,,0,40\n"
    "Year,X,Y,Year,X,Y\n"
    "2001,0,0,2001,0,0\n"
    "2002,0,6.66667,2002,0,-3.33333\n"
    "2003,0,6.66667,2003,0,-6.66667\n"
    "2004,0,16.6667,2004,0,-6.66667\n"
    "2005,0,16.6667,2005,0,-6.66667\n"
    "2006,0,20,2006,0,-10\n"};

// Burn-in 2: shifts from 2002, north 0 20 0 30 20 10, south 0 -10 -10 0
// -10 -20 (2002..2007). Window 4 stores each mean under its second year:
// 2003..2005. "Initial Coords" are the edges of 2003: south 10, north 20.
const GoldenCase kBandCleanedSma4BurnIn = {
    "band.mp",
    {"2000", "Y", "0.1", ",", "2", "3", "sma", "4"},
    "Num patches loaded,7\n"
    "Patch size threshold,3\n"
    "Num patches after cleaning,5\n"
    "Resolution(km),1\n"
    "Total years,8\n"
    "Burn-in years,2\n"
    "Simple moving average smoothing window,4\n"
    "North,,South\n"
    "Initial Coords,0,10,,0,20\n"
    "Year,X,Y,Year,X,Y\n"
    "2003,0,12.5,2003,0,-5\n"
    "2004,0,17.5,2004,0,-7.5\n"
    "2005,0,15,2005,0,-10\n"};

// Window 3 gives the factor 0.5: each value moves half way from the last
// smoothed value towards the new shift.
const GoldenCase kBandCleanedExp3 = {
    "band.mp",
    {"2000", "Y", "0.1", ",", "0", "3", "exp", "3"},
    "Num patches loaded,7\n"
    "Patch size threshold,3\n"
    "Num patches after cleaning,5\n"
    "Resolution(km),1\n"
    "Total years,8\n"
    "Exponential smoothing window,3\n"
    "North,,South\n"
    "Initial Coords,0,0,,0,40\n"
    "Year,X,Y,Year,X,Y\n"
    "2000,0,0,2000,0,0\n"
    "2001,0,0,2001,0,0\n"
    "2002,0,0,2002,0,0\n"
    "2003,0,10,2003,0,-5\n"
    "2004,0,5,2004,0,-7.5\n"
    "2005,0,17.5,2005,0,-3.75\n"
    "2006,0,18.75,2006,0,-6.875\n"
    "2007,0,14.375,2007,0,-13.4375\n"};

// model_layout.mp is laid out as the population model writes its files:
// its title on line 2 ("Population model of ...") opens no patch list, and
// the populations on lines 45 to 47 carry no marker. Upper (3, 40), Middle
// (2, 25), Lower (1, 10); populations 10 10 0 5, 10 10 10 10, 10 0 10 20;
// resolution 2 ("Cell length 2 km"). Share 0.25:
// 2020 (target 7.5): north Upper, south Lower.
// 2021 (target 5): north Upper; south Lower is taken with 0, then Middle.
// 2022 (target 5): north Upper with 0, then Middle; south Lower.
// 2023 (target 8.75): north Upper 5, then Middle crosses: (2.5, 32.5);
// south Lower. Shifts from 2020: north (1, 15) in 2022 and (0.5, 7.5) in
// 2023, south (-1, -15) in 2021.
const GoldenCase kModelLayout = {
    "model_layout.mp",
    {"2020", "Y", "0.25", ","},
    "Num patches loaded,3\n"
    "Resolution(km),2\n"
    "Total years,4\n"
    "North,,South\n"
    "Initial Coords,1,10,,3,40\n"
    "Year,X,Y,Year,X,Y,Year,X(km),Y(km),Year,X(km),Y(km)\n"
    "2020,0,0,2020,0,0,2020,0,0,2020,0,0\n"
    "2021,0,0,2021,-1,-15,2021,0,0,2021,-2,-30\n"
    "2022,1,15,2022,0,0,2022,2,30,2022,0,0\n"
    "2023,0.5,7.5,2023,0,0,2023,1,15,2023,0,0\n"};

std::vector<std::string> Arguments(const GoldenCase& c) {
  std::vector<std::string> args = {DataPath(c.file)};
  args.insert(args.end(), c.args.begin(), c.args.end());
  return args;
}

std::string Describe(const GoldenCase& c) {
  std::string text = c.file;
  for (const std::string& arg : c.args) text += " [" + arg + "]";
  return text;
}

// A locale that would write 1234.5 as "1.234,5" if the report used it.
struct CommaDecimals : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
  char do_thousands_sep() const override { return '.'; }
  std::string do_grouping() const override { return "\3"; }
};

}  // namespace

TEST(ReportTest, FullReportsOfSmallFiles) {
  for (const GoldenCase& c :
       {kColumnTab, kTiesMultiCharacter, kBandUncleaned, kBandCleanedSma3,
        kBandCleanedSma4BurnIn, kBandCleanedExp3, kModelLayout}) {
    const RunResult result = RunProgram(Arguments(c));
    EXPECT_EQ(result.status, 0) << Describe(c) << "\n" << result.err;
    EXPECT_EQ(result.out, c.report) << Describe(c);
    EXPECT_EQ(result.err, "") << Describe(c);
  }
}

TEST(ReportTest, ExecutableWritesTheSameReport) {
  const RunResult result = RunExecutable(Arguments(kTiesMultiCharacter));
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, kTiesMultiCharacter.report);
}

TEST(ReportTest, AxisOtherThanCapitalXMeansY) {
  for (const char* axis : {"x", "y", "Year", ""}) {
    GoldenCase c = kColumnTab;
    c.args[1] = axis;
    EXPECT_EQ(RunProgram(Arguments(c)).out, kColumnTab.report) << axis;
  }
}

// The kilometre columns follow for every resolution but exactly 1: below 1
// and 0 too ("item 3 km" reads its first piece "ite", hence 0).
TEST(ReportTest, KilometreColumnsForEveryResolutionButOne) {
  std::ifstream file(DataPath("column.mp"), std::ios::binary);
  const std::string column((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
  const struct {
    const char* line;
    const char* row;  // the row of 2002
  } cases[] = {
      {"Grid 0.5 km", "\n2002,2,10,2002,0,0,2002,1,5,2002,0,0\n"},
      {"item 3 km", "\n2002,2,10,2002,0,0,2002,0,0,2002,0,0\n"},
      {"Grid 4 km", "\n2002,2,10,2002,0,0,2002,8,40,2002,0,0\n"},
  };
  for (const auto& c : cases) {
    const RunResult result =
        RunProgramOn({"column.mp", "2000", "Y", "0.25", ","},
                     std::string(c.line) + "\n" + column);
    EXPECT_EQ(result.status, 0) << c.line << "\n" << result.err;
    EXPECT_THAT(result.out,
                HasSubstr("\nYear,X,Y,Year,X,Y,Year,X(km),Y(km),Year,X(km),"
                          "Y(km)\n"))
        << c.line;
    EXPECT_THAT(result.out, HasSubstr(c.row)) << c.line;
  }
}

TEST(ReportTest, DelimiterIsWrittenAsGiven) {
  GoldenCase c = kColumnTab;
  c.args[3] = "";
  const RunResult result = RunProgram(Arguments(c));
  EXPECT_THAT(result.out, StartsWith("Num patches loaded4\nResolution(km)1\n"));
  EXPECT_THAT(result.out, HasSubstr("\nNorthSouth\nInitial Coords00630\n"));
  EXPECT_THAT(result.out, HasSubstr("\n2001002001-2-10\n"));
}

TEST(ReportTest, ArgumentsAfterTheNinthAreIgnored) {
  std::vector<std::string> args = Arguments(kBandCleanedExp3);
  args.insert(args.end(), {"extra", "more"});
  EXPECT_EQ(RunProgram(args).out, kBandCleanedExp3.report);
}

TEST(ReportTest, WindowOneReproducesTheUnsmoothedShifts) {
  GoldenCase c = kBandUncleaned;
  const std::string plain = RunProgram(Arguments(c)).out;
  for (const char* type : {"sma", "exp"}) {
    c.args = {"2000", "Y", "0.1", ",", "0", "0", type, "1"};
    std::string smoothed = RunProgram(Arguments(c)).out;
    const std::string window_line =
        std::string(type[0] == 's' ? "Simple moving average smoothing window"
                                   : "Exponential smoothing window") +
        ",1\n";
    const std::size_t at = smoothed.find(window_line);
    ASSERT_NE(at, std::string::npos) << type;
    smoothed.erase(at, window_line.size());
    EXPECT_EQ(smoothed, plain) << type;
  }
}

TEST(ReportTest, ReportDoesNotDependOnTheLocale) {
  const std::locale previous = std::locale::global(
      std::locale(std::locale::classic(), new CommaDecimals));
  const RunResult result = RunProgram(Arguments(kTiesMultiCharacter));
  std::locale::global(previous);
  EXPECT_EQ(result.out, kTiesMultiCharacter.report);
}

TEST(ReportTest, RunsRejectedForTheirLimitsStopAfterTheResolution) {
  const struct {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{"2000", "Y", "0.1", ",", "-1"},
       "burn-in -1 is outside its valid range 0 to 7"},
      {{"2000", "Y", "0.1", ",", "8"},
       "burn-in 8 is outside its valid range 0 to 7"},
      {{"2000", "Y", "0.1", ",", "0", "0", "sma", "0"},
       "window_size 0 is outside its valid range"},
      {{"2000", "Y", "0.1", ",", "0", "0", "exp", "-2"},
       "window_size -2 is outside its valid range"},
      {{"2000", "Y", "0.1", ",", "2", "0", "sma", "7"},
       "window_size 7 is outside its valid range 1 to 6"},
      {{"2000", "Y", "0.1", ",", "0", "9"},
       "No patch to analyse: cleaning with patch_size_threshold 9"},
      // Eight years from -8: every one of them before year 0.
      {{"-8", "Y", "0.1", ","},
       "startyear -8 is outside its valid range: the years of"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {DataPath("band.mp")};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const RunResult result = RunProgram(args);
    EXPECT_EQ(result.status, 1) << c.message;
    EXPECT_THAT(result.err, HasSubstr(c.message));
    const std::string out = result.out;
    EXPECT_EQ(out.substr(out.rfind("Resolution(km),")), "Resolution(km),1\n")
        << c.message;
  }
  // The largest accepted values still report a year.
  const RunResult last = RunProgram(
      {DataPath("band.mp"), "2000", "Y", "0.1", ",", "2", "0", "sma", "6"});
  EXPECT_EQ(last.status, 0) << last.err;
  EXPECT_THAT(last.out, HasSubstr("\n2004,"));
}

TEST(ReportTest, FilesWithoutPatchesOrYearsAreRejected) {
  RunResult result =
      RunProgramOn({"empty.mp", "2000", "Y", "0.1", ","}, "nothing here\n");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "Num patches loaded,0\nResolution(km),1\n");
  EXPECT_THAT(result.err, HasSubstr("No patch to analyse"));

  result = RunProgramOn({"plain.mp", "2000", "Y", "0.1", ","},
                        "A,1,2,a.KCH\nMigration\n");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "Num patches loaded,1\nResolution(km),1\n");
  EXPECT_THAT(result.err, HasSubstr("No year to analyse"));
}

// Published model output: the runs complete, and the first year's edges can
// be checked by hand. snpl33 holds Pop 1 (415.84, 66.089) with 1.198, Pop 2
// (173.806, 41.195) with 411.6 and Pop 3 (514.559, 295.573) with 70.78 in
// its first year: a tenth of the total is 48.36, so each edge is one patch,
// Pop 3 in the north and Pop 2 in the south.
TEST(ReportTest, RealFilesGivePlausibleReports) {
  if (RealMpPath("").empty()) GTEST_SKIP() << "real MP files not available";
  RunResult result =
      RunProgram({RealMpPath("snpl33_3pops.mp"), "2010", "Y", "0.1", ","});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_THAT(result.out,
              StartsWith("Num patches loaded,3\nResolution(km),1\n"
                         "Total years,90\nNorth,,South\n"
                         "Initial Coords,173.806,41.195,,514.559,295.573\n"
                         "Year,X,Y,Year,X,Y\n2010,0,0,2010,0,0\n"));
  EXPECT_THAT(result.out, HasSubstr("\n2099,"));

  const struct {
    const char* file;
    std::vector<std::string> args;
    int rows;
  } cases[] = {
      {"mptools_example_263pops.mp", {"1", "Y", "0.1", ","}, 100},
      {"mptools_example_263pops.mp",
       {"1", "X", "0.05", "\t", "10", "3", "sma", "5"},
       86},
      {"dfo_Z20_1918_54pops.mp",
       {"2000", "Y", "0.2", ";", "5", "2", "exp", "4"},
       95},
      {"dfo_B10_16pops.mp",
       {"2000", "X", "0.1", ",", "0", "0", "sma", "3"},
       98},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {RealMpPath(c.file)};
    args.insert(args.end(), c.args.begin(), c.args.end());
    result = RunProgram(args);
    EXPECT_EQ(result.status, 0) << c.file << result.err;
    int lines = 0;
    for (char ch : result.out) lines += ch == '\n';
    const int header_lines = 6 + (c.args.size() > 4 && c.args[4] != "0") +
                             2 * (c.args.size() > 5 && c.args[5] != "0") +
                             (c.args.size() > 6);
    EXPECT_EQ(lines - header_lines, c.rows) << c.file << "\n" << result.out;
  }

  result = RunProgram(
      {RealMpPath("flsnpl_2m_hi_3pops_noresults.mp"), "2000", "Y", "0.1", ","});
  EXPECT_EQ(result.status, 1);
  EXPECT_THAT(result.err, HasSubstr("No year to analyse"));
}

// The ferret file names its one population "BFF", without marker, so it
// is read by the model's layout: line 45 is BFF at (0, 0), and its
// "Pop. ALL" block has 10 lines. With a single patch both edges are BFF in
// every year (each year's population, 190 to 244, is above 0), so every
// shift is 0; no line of the file contains "km", so the resolution is 1.
// Start year 2005 and burn-in 1: the span is 2005 to 2014, rows from 2006.
TEST(ReportTest, FerretFileGivesTheReportOfItsOnePopulation) {
  if (RealMpPath("").empty()) GTEST_SKIP() << "real MP files not available";
  const RunResult result = RunProgram(
      {RealMpPath("ferret_example_1pop.mp"), "2005", "Y", "0.1", ",", "1"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  std::string expected =
      "Num patches loaded,1\n"
      "Resolution(km),1\n"
      "Total years,10\n"
      "Burn-in years,1\n"
      "North,,South\n"
      "Initial Coords,0,0,,0,0\n"
      "Year,X,Y,Year,X,Y\n";
  for (int year = 2006; year <= 2014; ++year) {
    const std::string y = std::to_string(year);
    expected += y + ",0,0," + y + ",0,0\n";
  }
  EXPECT_EQ(result.out, expected);
}

// A landscape of 300 patches over 450 years (135,000 populations) is large
// enough for the northern edge to be gathered on a second thread. Its band
// of occupied patches moves north and widens over the years, so the two
// edges shift by different amounts; each row must give each edge its own
// series, as the library computes it.
TEST(ReportTest, LargeLandscapeReportsEachEdgeOfTheLibrary) {
  constexpr int kPatches = 300;
  constexpr int kYears = 450;
  auto population = [](int patch, int year) {
    const int low = year / 3;
    const int high = low + 50 + year / 9;
    return patch >= low && patch < high ? 10 + (patch * 7 + year) % 13 : 0;
  };
  std::string text = "Grid 1 km\n";
  for (int i = 0; i < kPatches; ++i) {
    text += "P" + std::to_string(i) + "," + std::to_string(i % 7) + "," +
            std::to_string(i) + ",p.KCH\n";
  }
  text += "Migration\nPop. ALL\n";
  for (int t = 0; t < kYears; ++t) text += "1 0\n";
  for (int i = 0; i < kPatches; ++i) {
    text += "Pop. " + std::to_string(i + 1) + "\n";
    for (int t = 0; t < kYears; ++t) {
      text += std::to_string(population(i, t)) + " 0 0 0\n";
    }
  }
  const RunResult result =
      RunProgramOn({"run.mp", "2000", "Y", "0.1", ","}, text);
  ASSERT_EQ(result.status, 0) << result.err;

  const std::unique_ptr<TPatches> patches = LoadText(text, 2000);
  const auto north = TCentroidTools::GetRangeCoordShifts(
      *TCentroidTools::GetSubpopulationMeans(*patches, 0.1, 'Y', false), 0);
  const auto south = TCentroidTools::GetRangeCoordShifts(
      *TCentroidTools::GetSubpopulationMeans(*patches, 0.1, 'Y', true), 0);
  std::string rows;
  for (int32_t year : south->GetYearList()) {
    const TPoint n = north->GetCoords(year);
    const TPoint s = south->GetCoords(year);
    const std::string y = std::to_string(year);
    rows += y + "," + TNumberFormat::Report(n.X()) + "," +
            TNumberFormat::Report(n.Y()) + "," + y + "," +
            TNumberFormat::Report(s.X()) + "," + TNumberFormat::Report(s.Y()) +
            "\n";
  }
  const std::size_t table = result.out.find("Year,X,Y,Year,X,Y\n");
  ASSERT_NE(table, std::string::npos) << result.out;
  EXPECT_EQ(result.out.substr(table + 18), rows);
  // A shift is the reference minus the position: by the last year the
  // northern edge has moved about 50 patches further than the southern one.
  EXPECT_LT(north->GetCoords(2449).Y(), south->GetCoords(2449).Y() - 30);
}
