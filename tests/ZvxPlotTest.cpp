// The spread across an ensemble: quantiles as R computes them, the
// --ensemble tables of zvx edges and zvx years worked out by hand, and the
// command lines zvx plot and --ensemble refuse.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "TEnsembleSummary.h"
#include "TSvgPlot.h"
#include "Zvx.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct ZvxResult {
  int status;
  std::string out;
  std::string err;
};

ZvxResult Zvx(const std::vector<std::string>& args) {
  std::istringstream in;
  std::ostringstream out;
  std::ostringstream err;
  const int status = RunZvx(args, in, out, err, false);
  return {status, out.str(), err.str()};
}

std::string Fixture(const std::string& name) {
  return std::string(ZELVATRIX_SOURCE_DIR) + "/tests/data/" + name;
}

std::vector<std::string> EnsembleFixtures() {
  return {Fixture("ensemble_a.mp"), Fixture("ensemble_b.mp"),
          Fixture("ensemble_c.mp"), Fixture("ensemble_d.mp")};
}

// Same value, NaN equal to NaN.
bool SameDouble(double a, double b) {
  return (std::isnan(a) && std::isnan(b)) || a == b;
}

struct QuantileCase {
  const char* name;
  std::vector<double> values;
  int64_t n;
  double median, lower, upper;
};

// The simple rows are worked out by hand; those with long digits are the
// bits R's quantile(x, c(0.5, 0.025, 0.975), type = 7) gives. The "NA left
// out" row tells R's (1 - h) x[lo] + h x[hi] from x[lo] + h (x[hi] - x[lo]),
// which ends in ...004.
TEST(TEnsembleSummaryTest, SpreadIsRsType7WithNaLeftOut) {
  const std::vector<QuantileCase> cases = {
      {"empty", {}, 0, kNaN, kNaN, kNaN},
      {"only NA", {kNaN, kNaN}, 0, kNaN, kNaN, kNaN},
      {"one value", {7.5}, 1, 7.5, 7.5, 7.5},
      // h = 1 + 3p: 2.5, 1.075, 3.925 over 20 30 40 50.
      {"four, unsorted", {20, 30, 50, 40}, 4, 35, 20.75, 49.25},
      {"NA left out", {1, kNaN, 30, 1}, 3, 1, 1, 28.550000000000008},
      {"two values", {1, 30}, 2, 15.5, 1.7249999999999974, 29.275000000000002},
      // Equal neighbours are not interpolated, so Inf stays Inf, not NaN.
      {"infinite ties", {1, kInf, kInf}, 3, kInf, kInf, kInf},
      {"both infinities", {kInf, 1, -kInf}, 3, 1, -kInf, kInf},
      {"seven values",
       {0.1, 0.7, 0.2, 0.3, 1e6, -5, 3.3},
       7,
       0.29999999999999999,
       -4.2350000000000003,
       850000.49499999965},
  };
  for (const QuantileCase& c : cases) {
    SCOPED_TRACE(c.name);
    const TSpread spread = TEnsembleSummary::Spread(c.values);
    EXPECT_EQ(spread.n, c.n);
    EXPECT_TRUE(SameDouble(spread.median, c.median)) << spread.median;
    EXPECT_TRUE(SameDouble(spread.lower, c.lower)) << spread.lower;
    EXPECT_TRUE(SameDouble(spread.upper, c.upper)) << spread.upper;
  }
}

// The four fixtures are triangles L (0, 0), R (10, 1) and T (0, h) with
// h = 20, 30, 50 and 40; a, b and c cover three years, d four. Year 1: all
// occupied everywhere (north y = h, south y = 0, area 5 h). Year 2: a and
// d hold L and R (north 1, south 0), b only T (both edges 30), c nothing.
// Year 3: nothing anywhere. Year 4: only d, all occupied.
TEST(ZvxEnsembleTest, EdgesTableWorkedOutByHand) {
  std::vector<std::string> args = {"edges", "--ensemble", "-q"};
  for (const std::string& file : EnsembleFixtures()) args.push_back(file);
  const ZvxResult result = Zvx(args);
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            "year,edge,n,median,lower,upper\n"
            "1,north,4,35,20.75,49.25\n"
            // 1 1 30: h = 2, 1.05 and 2.95.
            "2,north,3,1,1,28.550000000000008\n"
            "3,north,0,NA,NA,NA\n"
            "4,north,1,40,40,40\n"
            "1,south,4,0,0,0\n"
            "2,south,3,0,0,28.500000000000007\n"
            "3,south,0,NA,NA,NA\n"
            "4,south,1,0,0,0\n");
}

TEST(ZvxEnsembleTest, YearsTableWorkedOutByHand) {
  std::vector<std::string> args = {"years", "--ensemble", "--no-header"};
  for (const std::string& file : EnsembleFixtures()) args.push_back(file);
  const ZvxResult result = Zvx(args);
  EXPECT_EQ(result.status, 0) << result.err;
  // Areas 100 150 250 200 in year 1; an empty year has area 0, a value.
  std::istringstream rows(result.out);
  const std::vector<std::vector<double>> expected = {
      {1, 4, 175, 103.75, 246.25},
      {2, 4, 0, 0, 0},
      {3, 4, 0, 0, 0},
      {4, 1, 200, 200, 200}};
  std::string line;
  for (const std::vector<double>& row : expected) {
    ASSERT_TRUE(std::getline(rows, line));
    std::istringstream fields(line);
    std::string field;
    for (double value : row) {
      ASSERT_TRUE(std::getline(fields, field, ',')) << line;
      // The hull's area carries rounding of its own.
      EXPECT_NEAR(std::stod(field), value, 1e-9) << line;
    }
    EXPECT_FALSE(std::getline(fields, field, ',')) << line;
  }
  EXPECT_FALSE(std::getline(rows, line)) << line;
}

// With smoothing the ordinate is the reference minus the smoothed shift:
// for a centred mean over 3 years, the mean of the three positions, not the
// year's own position (20.005 in year 2 of the example).
TEST(ZvxEnsembleTest, SmoothedOrdinateIsReferenceMinusSmoothedShift) {
  const ZvxResult result =
      Zvx({"edges", "--ensemble", "--no-header", "--smooth", "sma:3",
           std::string(ZELVATRIX_SOURCE_DIR) + "/examples/heath_skink.mp"});
  ASSERT_EQ(result.status, 0) << result.err;
  const std::string first = result.out.substr(0, result.out.find('\n'));
  ASSERT_EQ(first.substr(0, 10), "2,north,1,") << first;
  EXPECT_NEAR(std::stod(first.substr(10)), (25.873 + 20.005 + 27.9615) / 3,
              1e-12);
}

// A file that fails adds nothing to n; the others are still summarised.
TEST(ZvxEnsembleTest, FailedFileIsNamedAndLeftOut) {
  const ZvxResult result =
      Zvx({"edges", "--ensemble", "--no-header", Fixture("ensemble_a.mp"),
           Fixture("no_such_file.mp")});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("no_such_file.mp: "), std::string::npos)
      << result.err;
  EXPECT_NE(result.err.find("1 of 2 files failed"), std::string::npos);
  EXPECT_EQ(result.out.substr(0, result.out.find('\n')), "1,north,1,20,20,20");
}

TEST(ZvxEnsembleTest, WrongCommandLinesAreUsageErrors) {
  const std::string file = Fixture("ensemble_a.mp");
  const std::string svg = testing::TempDir() + "zvx_usage.svg";
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"plot", file},
       "zvx plot: --output FILE.svg is required: the picture goes to a file\n"
       "Try 'zvx plot --help'.\n"},
      {{"plot", "--output", svg},
       "zvx plot: no FILE given\nTry 'zvx plot --help'.\n"},
      {{"members", "--ensemble", file},
       "zvx members: option '--ensemble' is not available for zvx members\n"
       "Try 'zvx members --help'.\n"},
      {{"compare", "--ensemble", file, file},
       "zvx compare: option '--ensemble' is not available for zvx compare\n"
       "Try 'zvx compare --help'.\n"},
      {{"edges", "--ensemble=yes", file},
       "zvx edges: option '--ensemble' takes no value\n"
       "Try 'zvx edges --help'.\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args[1]);
    const ZvxResult result = Zvx(c.args);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, c.message);
    EXPECT_EQ(result.out, "");
  }
  // The usage error comes before the picture's file is made.
  EXPECT_FALSE(std::ifstream(svg).good());
}

// File names go into the picture as they are given; whatever their bytes,
// the SVG must stay well-formed XML in UTF-8.
TEST(TSvgPlotTest, TextIsEscapedIntoValidXml) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"runs/a&b <\"c\">'d'.mp",
       "runs/a&amp;b &lt;&quot;c&quot;&gt;&apos;d&apos;.mp"},
      {"K\xc3\xb6ln \xe2\x80\x93 1.mp", "K\xc3\xb6ln \xe2\x80\x93 1.mp"},
      // Latin-1, a lone continuation byte, a truncated sequence, an overlong
      // slash, and a control character XML forbids even as a reference.
      {"caf\xe9", "caf\xef\xbf\xbd"},
      {"\x80x", "\xef\xbf\xbdx"},
      {"x\xe2\x80", "x\xef\xbf\xbd\xef\xbf\xbd"},
      {"\xc0\xaf", "\xef\xbf\xbd\xef\xbf\xbd"},
      {"a\x01"
       "b\tc",
       "a\xef\xbf\xbd"
       "b\tc"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TSvgPlot::Escape(c.first), c.second) << c.first;
  }
  // Shortening counts characters, so a name is never cut inside one.
  EXPECT_EQ(TSvgPlot::Shorten("\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9"
                              "\xc3\xa9\xc3\xa9",
                              7),
            "\xc3\xa9\xc3\xa9\xe2\x80\xa6\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9");
  EXPECT_EQ(TSvgPlot::Shorten("replicate_0001.mp", 17), "replicate_0001.mp");
}

TEST(TSvgPlotTest, TicksFallOnRoundNumbers) {
  struct Case {
    double low, high, min_step;
    std::vector<double> ticks;
  };
  const std::vector<Case> cases = {
      {0, 37, 0, {0, 10, 20, 30}},
      {-0.3, 0.25, 0, {-0.3, -0.2, -0.1, 0, 0.1, 0.2}},
      {2030, 2049, 1, {2030, 2035, 2040, 2045}},
      // Years never get a step below 1.
      {1, 3, 1, {1, 2, 3}},
      {0, 26542.7, 0, {0, 5000, 10000, 15000, 20000, 25000}},
  };
  for (const Case& c : cases) {
    const std::vector<double> ticks =
        TSvgPlot::Ticks(c.low, c.high, c.min_step);
    ASSERT_EQ(ticks.size(), c.ticks.size()) << c.low << " to " << c.high;
    for (std::size_t i = 0; i < ticks.size(); ++i) {
      EXPECT_NEAR(ticks[i], c.ticks[i], 1e-12) << c.low << " to " << c.high;
    }
  }
}

}  // namespace
