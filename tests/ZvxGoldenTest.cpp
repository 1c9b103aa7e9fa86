// Whole zvx tables for small MP files, compared byte for byte with golden
// files worked out by hand (the reasoning is in tests/data/zvx/README.md).
// The runs start in that folder, so that the file column holds the names
// as given there, "band,1.mp" quoted because of its comma.

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Zvx.h"

namespace {

const std::string kGoldenDir =
    std::string(ZELVATRIX_SOURCE_DIR) + "/tests/data/zvx";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

struct GoldenCase {
  const char* golden;
  std::vector<std::string> args;
};

}  // namespace

TEST(ZvxGoldenTest, TablesMatchTheHandWorkedFiles) {
  const GoldenCase cases[] = {
      {"edges_band.csv", {"edges", "--share", "0.25", "band,1.mp"}},
      {"members_band.csv", {"members", "--share=0.25", "band,1.mp"}},
      {"years_band.csv", {"years", "band,1.mp"}},
      {"compare_band.csv",
       {"compare", "--share", "0.25", "--burn-in", "1", "band,1.mp",
        "band2.mp"}},
      {"edges_drift_sma.csv",
       {"edges", "--share", "0.5", "--clean", "2", "--smooth", "sma:3",
        "--burn-in", "1", "drift.mp"}},
      {"edges_drift_exp.csv",
       {"edges", "--share", "0.5", "--clean", "2", "--smooth", "exp:3",
        "drift.mp"}},
      {"edges_drift_median.csv",
       {"edges", "--share", "0.5", "--clean", "2", "--smooth", "median:3",
        "--y-down", "drift.mp"}},
      {"edges_drift_weighted_x.csv",
       {"edges", "--share", "0.5", "--clean", "2", "--weighted", "--axis", "X",
        "drift.mp"}},
      {"edges_drift_raw.csv",
       {"edges", "--share", "0.5", "--start-year", "2000", "drift.mp"}},
  };
  char* previous = ::getcwd(nullptr, 0);
  ASSERT_EQ(::chdir(kGoldenDir.c_str()), 0);
  for (const GoldenCase& c : cases) {
    for (const char* jobs : {"1", "3"}) {
      std::vector<std::string> args = c.args;
      args.insert(args.begin() + 1, {"--jobs", jobs, "-q"});
      std::istringstream in;
      std::ostringstream out, err;
      EXPECT_EQ(RunZvx(args, in, out, err, false), 0) << c.golden;
      EXPECT_EQ(err.str(), "") << c.golden;
      EXPECT_EQ(out.str(), ReadFile(c.golden))
          << c.golden << " --jobs " << jobs;
    }
  }
  ASSERT_EQ(::chdir(previous), 0);
  ::free(previous);
}
