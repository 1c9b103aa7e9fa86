#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <istream>
#include <new>
#include <ostream>
#include <sstream>
#include <streambuf>

#include "TestSupport.h"
#include "Zelvatrix.h"

using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {

const char kUsage[] =
    "Usage: Zelvatrix filename startyear XorY Threshold delimiter [burn-in] "
    "[patch_size_threshold] [moving_average_type (sma | exp) window_size]";

}  // namespace

TEST(ZelvatrixTest, TooShortCommandLineWritesTheUsageLine) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"run.mp"},
      {"run.mp", "2000"},
      {"run.mp", "2000", "Y"},
      {"run.mp", "2000", "Y", "0.1"},
      // A smoothing type without its window size.
      {"run.mp", "2000", "Y", "0.1", ",", "0", "0", "sma"},
  };
  for (const auto& args : cases) {
    const RunResult result = RunProgram(args);
    EXPECT_EQ(result.status, 1) << args.size();
    EXPECT_EQ(result.err, kUsage) << args.size();
    EXPECT_EQ(result.out, "") << args.size();
  }
}

TEST(ZelvatrixTest, UnknownSmoothingIsRejectedBeforeTheFileIsRead) {
  for (const char* type : {"SMA", "avg", "", "exp "}) {
    const RunResult result = RunProgram(
        {"/no/such/file.mp", "2000", "Y", "0.1", ",", "0", "0", type, "3"});
    EXPECT_EQ(result.status, 1) << type;
    EXPECT_EQ(result.err, "Unknown moving average\n") << type;
    EXPECT_EQ(result.out, "") << type;
  }
}

TEST(ZelvatrixTest, FileThatCannotBeOpenedIsAnError) {
  const RunResult result =
      RunProgram({"/no/such/file.mp", "2000", "Y", "0.1", ","});
  EXPECT_EQ(result.status, 1);
  EXPECT_THAT(result.err, HasSubstr("/no/such/file.mp: cannot open"));
  EXPECT_EQ(result.out, "");
}

TEST(ZelvatrixTest, MalformedFileIsAnErrorNamingFileAndLine) {
  const RunResult result = RunProgramOn({"bad.mp", "2000", "Y", "0.1", ","},
                                        "A,1,1,a.KCH\nB\nMigration\n");
  EXPECT_EQ(result.status, 1);
  EXPECT_THAT(result.err, HasSubstr("bad.mp: line 2: malformed patch line"));
  EXPECT_EQ(result.err.back(), '\n');
  EXPECT_EQ(result.out, "");
}

// Regression: with standard output on a full disk the run ended with status
// 0 although nothing of the report had been written.
TEST(ZelvatrixTest, ReportThatCannotBeWrittenIsAnError) {
  std::ostream out(nullptr);  // refuses every write, as a full disk does
  std::ostringstream err;
  const int status = RunZelvatrix(
      {ExamplePath("transect.mp"), "2000", "Y", "0.25", ","}, out, err);
  EXPECT_EQ(status, 1);
  EXPECT_THAT(err.str(), HasSubstr("cannot write the report"));
}

namespace {

// An MP file too large for the memory left: reading it fails as the
// allocation of its populations would.
class ExhaustingBuffer : public std::streambuf {
 protected:
  int_type underflow() override { throw std::bad_alloc(); }
};

}  // namespace

TEST(ZelvatrixTest, OutOfMemoryNamesTheFile) {
  ExhaustingBuffer buffer;
  std::istream in(&buffer);
  in.exceptions(std::ios::badbit);  // lets bad_alloc pass out of reads
  std::ostringstream out;
  std::ostringstream err;
  const int status =
      RunZelvatrix({"huge.mp", "2000", "Y", "0.1", ","}, in, out, err);
  EXPECT_EQ(status, 1);
  EXPECT_THAT(err.str(), StartsWith("Out of memory while analysing huge.mp"));
  EXPECT_EQ(out.str(), "");
}
