// Area of the minimum convex polygon around the occupied patches.

#include <gtest/gtest.h>

#include <cmath>

#include "TCentroidTools.h"
#include "TestSupport.h"

namespace {

// Patches occupied (population 1) in year 1 at the given positions, named
// p0, p1, ... in list order.
std::vector<PatchData> Occupied(
    const std::vector<std::pair<double, double>>& positions) {
  std::vector<PatchData> landscape;
  for (std::size_t i = 0; i < positions.size(); ++i) {
    landscape.push_back({"p" + std::to_string(i),
                         positions[i].first,
                         positions[i].second,
                         {{1, 1.0}}});
  }
  return landscape;
}

}  // namespace

TEST(OccupiedAreaTest, AreaOfTheOccupiedPositions) {
  const struct {
    const char* what;
    std::vector<std::pair<double, double>> positions;
    double area;
  } cases[] = {
      {"triangle", {{0, 0}, {4, 0.5}, {1, 3}}, 5.75},
      {"inner points do not count",
       {{0, 0}, {4, 0.5}, {1, 3}, {1, 1}, {2, 1}},
       5.75},
      {"one patch", {{3, 3}}, 0},
      {"no patch", {}, 0},
      // Names decide the list order: p0 at (0, 0) starts, and (1, 0), level
      // with it on its right, is never taken.
      {"lowest tie, start on the left", {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, 0.5},
      {"lowest tie, start on the right", {{1, 0}, {0, 0}, {1, 1}, {0, 1}}, 1},
  };
  for (const auto& c : cases) {
    auto patches = MakePatches(Occupied(c.positions));
    EXPECT_NEAR(TCentroidTools::GetMCPArea(*patches, 1), c.area, 1e-12)
        << c.what;
  }
}

TEST(OccupiedAreaTest, OnlyPositivePopulationsCount) {
  std::vector<PatchData> landscape = Occupied({{0, 0}, {4, 0.5}, {1, 3}});
  landscape.push_back({"q0", 10, 10, {{1, 0.0}}});
  landscape.push_back({"q1", -10, 10, {{1, -5.0}}});
  landscape.push_back({"q2", 10, -10, {{1, std::nan("")}}});
  landscape.push_back({"q3", -10, -10, {{2, 7.0}}});  // another year
  EXPECT_NEAR(TCentroidTools::GetMCPArea(*MakePatches(landscape), 1), 5.75,
              1e-12);
}

TEST(OccupiedAreaTest, TwoOrCollinearPositionsGiveZeroOrNaN) {
  for (const auto& positions :
       std::vector<std::vector<std::pair<double, double>>>{
           {{0, 0}, {0, 5}}, {{0, 0}, {1, 1}, {4, 4}}}) {
    const double area =
        TCentroidTools::GetMCPArea(*MakePatches(Occupied(positions)), 1);
    EXPECT_TRUE(std::isnan(area) || std::fabs(area) < 1e-9) << area;
  }
}

TEST(OccupiedAreaTest, ResolutionIsNotApplied) {
  auto patches = MakePatches(Occupied({{0, 0}, {8, 1}, {2, 6}}));
  patches->SetResolution(2.5);
  EXPECT_NEAR(TCentroidTools::GetMCPArea(*patches, 1), 4 * 5.75, 1e-9);
}

TEST(OccupiedAreaTest, OneAreaPerYearOfTheSpan) {
  auto patches = MakePatches({{"a", 0, 0, {{1, 1}, {2, 1}, {5, 1}}},
                              {"b", 4, 0.5, {{1, 1}, {2, 0}, {5, 1}}},
                              {"c", 1, 3, {{1, 1}, {2, 1}, {5, 1}}}});
  const std::vector<double> areas = TCentroidTools::GetMCPAreas(*patches);
  ASSERT_EQ(areas.size(), 5u);
  EXPECT_NEAR(areas[0], 5.75, 1e-12);
  EXPECT_EQ(areas[2], 0);  // years 3 and 4: nobody holds them
  EXPECT_EQ(areas[3], 0);
  EXPECT_NEAR(areas[4], 5.75, 1e-12);
  EXPECT_TRUE(TCentroidTools::GetMCPAreas(*MakePatches({})).empty());
  EXPECT_TRUE(
      TCentroidTools::GetMCPAreas(*MakePatches({{"a", 0, 0, {}}})).empty());
}
