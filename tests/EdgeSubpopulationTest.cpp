// Ordering patches along an axis and gathering the range-edge
// subpopulations.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "TCentroidTools.h"
#include "TError.h"
#include "TestSupport.h"

namespace {

// The plain exchange selection sort that defines the order, ties included.
std::vector<std::string> ReferenceSort(const TPatches& patches, char axis) {
  std::vector<std::string> names = patches.GetNames();
  std::vector<double> keys;
  for (const std::string& name : names) {
    const TPatch& patch = patches.GetPatch(name);
    keys.push_back(axis == 'X' ? patch.GetX() : patch.GetY());
  }
  for (std::size_t i = 0; i + 1 < names.size(); ++i) {
    std::size_t m = i;
    double best = keys[i];
    for (std::size_t j = i + 1; j < names.size(); ++j) {
      if (keys[j] < best) {
        best = keys[j];
        m = j;
      }
    }
    std::swap(keys[i], keys[m]);
    std::swap(names[i], names[m]);
  }
  return names;
}

// Three patches at y = 1, 2, 3 with 10 each in 2000.
std::unique_ptr<TPatches> ThreeInARow() {
  return MakePatches({{"low", 0, 1, {{2000, 10}}},
                      {"mid", 0, 2, {{2000, 10}}},
                      {"top", 0, 3, {{2000, 10}}}});
}

std::vector<std::pair<std::string, double>> Contents(const TPatches& patches,
                                                     int32_t year) {
  std::vector<std::pair<std::string, double>> contents;
  for (const std::string& name : patches.GetNames()) {
    const TPatch& patch = patches.GetPatch(name);
    EXPECT_EQ(patch.GetYearList(), std::vector<int32_t>{year}) << name;
    contents.push_back({name, patch.GetYear(year)});
  }
  return contents;
}

using Taken = std::vector<std::pair<std::string, double>>;

}  // namespace

TEST(EdgeSubpopulationTest, SortOnOrdinateKeepsTheExchangeSortTies) {
  auto patches = MakePatches(
      {{"a", 0, 2, {}}, {"b", 5, 2, {}}, {"c", 9, 1, {}}, {"d", -1, 7, {}}});
  EXPECT_EQ(TCentroidTools::SortOnOrdinate(*patches, 'Y'),
            (std::vector<std::string>{"c", "b", "a", "d"}));
  EXPECT_EQ(TCentroidTools::SortOnOrdinate(*patches, 'x'),
            (std::vector<std::string>{"c", "b", "a", "d"}));
  EXPECT_EQ(TCentroidTools::SortOnOrdinate(*patches, 'X'),
            (std::vector<std::string>{"d", "a", "b", "c"}));
  EXPECT_TRUE(TCentroidTools::SortOnOrdinate(*MakePatches({}), 'Y').empty());
}

TEST(EdgeSubpopulationTest, SortOnOrdinateMatchesTheExchangeSortOnAnyKeys) {
  const double inf = std::numeric_limits<double>::infinity();
  const double values[] = {0.0, -0.0, 1, 1, 2, -3, inf, -inf, std::nan("")};
  std::mt19937 random(2024);
  for (int round = 0; round < 300; ++round) {
    std::vector<PatchData> landscape;
    const int n = round % 40;
    std::uniform_int_distribution<int> pick(0, round % 3 == 0 ? 8 : 5);
    for (int i = 0; i < n; ++i) {
      landscape.push_back({"p" + std::to_string(i),
                           values[pick(random)],
                           values[pick(random)],
                           {}});
    }
    auto patches = MakePatches(landscape);
    for (char axis : {'X', 'Y'}) {
      ASSERT_EQ(TCentroidTools::SortOnOrdinate(*patches, axis),
                ReferenceSort(*patches, axis))
          << "round " << round << " axis " << axis;
    }
  }
}

TEST(EdgeSubpopulationTest, CrossingPatchKeepsOnlyTheRemainder) {
  auto patches = ThreeInARow();
  const std::vector<std::string> order =
      TCentroidTools::SortOnOrdinate(*patches, 'Y');
  auto south =
      TCentroidTools::GetSubpopulation(*patches, order, 0.5, 2000, true);
  EXPECT_EQ(Contents(*south, 2000), (Taken{{"low", 10}, {"mid", 5}}));
  EXPECT_EQ(south->GetResolution(), 1.0);
  EXPECT_DOUBLE_EQ(TCentroidTools::Means(*south, 2000).Y(), 1.5);
  EXPECT_DOUBLE_EQ(TCentroidTools::WeightedMeans(*south, 2000).Y(), 4.0 / 3.0);

  auto north =
      TCentroidTools::GetSubpopulation(*patches, order, 0.5, 2000, false);
  EXPECT_EQ(Contents(*north, 2000), (Taken{{"mid", 5}, {"top", 10}}));
  EXPECT_DOUBLE_EQ(TCentroidTools::Means(*north, 2000).Y(), 2.5);
}

TEST(EdgeSubpopulationTest, WalkCases) {
  const struct {
    const char* what;
    std::vector<PatchData> patches;  // ordered by y as listed
    double share;
    bool from_start;
    Taken taken;
  } cases[] = {
      {"target met exactly",
       {{"a", 0, 1, {{1, 5}}}, {"b", 0, 2, {{1, 5}}}, {"c", 0, 3, {{1, 10}}}},
       0.5,
       true,
       {{"a", 5}, {"b", 5}}},
      {"empty patch at the start is taken with 0",
       {{"a", 0, 1, {{1, 0}}}, {"b", 0, 2, {{1, 4}}}},
       0.5,
       true,
       {{"a", 0}, {"b", 2}}},
      {"patch without the year is skipped",
       {{"a", 0, 1, {{2, 9}}}, {"b", 0, 2, {{1, 4}}}, {"c", 0, 3, {{1, 4}}}},
       0.25,
       true,
       {{"b", 2}}},
      {"share 0 takes nothing", {{"a", 0, 1, {{1, 5}}}}, 0.0, true, {}},
      {"a year without population takes nothing",
       {{"a", 0, 1, {{1, 0}}}, {"b", 0, 2, {{1, 0}}}},
       0.5,
       false,
       {}},
      {"share above 1 stops at the end of the list",
       {{"a", 0, 1, {{1, 2}}}, {"b", 0, 2, {{1, 3}}}},
       2.0,
       false,
       {{"a", 2}, {"b", 3}}},
      {"negative population walked first, then a crossing",
       {{"a", 0, 1, {{1, 4}}}, {"b", 0, 2, {{1, -3}}}},
       0.9,
       false,
       {{"a", 3.9}, {"b", -3}}},
  };
  for (const auto& c : cases) {
    auto patches = MakePatches(c.patches);
    auto taken = TCentroidTools::GetSubpopulation(
        *patches, TCentroidTools::SortOnOrdinate(*patches, 'Y'), c.share, 1,
        c.from_start);
    EXPECT_EQ(Contents(*taken, 1), c.taken) << c.what;
  }
}

TEST(EdgeSubpopulationTest, UnknownNamesFailOnlyWhenReached) {
  auto patches = ThreeInARow();
  EXPECT_THROW(TCentroidTools::GetSubpopulation(*patches, {"nowhere", "low"},
                                                0.5, 2000, true),
               TError);
  // The target is met by "low" before "nowhere" would be looked up.
  auto taken = TCentroidTools::GetSubpopulation(*patches, {"low", "nowhere"},
                                                0.2, 2000, true);
  EXPECT_EQ(Contents(*taken, 2000), (Taken{{"low", 6}}));
}

TEST(EdgeSubpopulationTest, SeriesCoverTheSpanWithNaNForEmptyYears) {
  auto patches = MakePatches({{"a", 0, 1, {{2000, 10}, {2002, 10}}},
                              {"b", 4, 3, {{2000, 30}, {2002, 0}}}});
  auto means = TCentroidTools::GetSubpopulationMeans(*patches, 0.5, 'Y', false);
  EXPECT_EQ(means->GetName(), "");
  EXPECT_EQ(means->GetYearList(), (std::vector<int32_t>{2000, 2001, 2002}));
  EXPECT_EQ(means->GetCoords(2000).X(), 4);
  EXPECT_TRUE(std::isnan(means->GetCoords(2001).X()));
  // 2002: b is taken with 0, a with 5; only a is occupied.
  EXPECT_EQ(means->GetCoords(2002).Y(), 1);
  auto weighted =
      TCentroidTools::GetSubpopulationWeightedMeans(*patches, 0.5, 'Y', false);
  EXPECT_EQ(weighted->GetCoords(2002).Y(), 1);
  EXPECT_TRUE(std::isnan(weighted->GetCoords(2001).Y()));
}

// The series are computed without building a collection per year; they must
// agree to the bit with gathering each year's subpopulation and taking its
// centroid.
TEST(EdgeSubpopulationTest, SeriesEqualTheCentroidsOfEachYearsSubpopulation) {
  std::mt19937 random(77);
  std::uniform_real_distribution<double> coordinate(-50, 50);
  std::uniform_int_distribution<int> small(0, 6);
  for (int round = 0; round < 60; ++round) {
    std::vector<PatchData> landscape;
    // Some larger landscapes, whose walks leave many patches unreached.
    const int n = round % 10 == 9 ? 130 + round : 1 + round % 25;
    for (int i = 0; i < n; ++i) {
      PatchData data{"p" + std::to_string(i),
                     round % 2 ? coordinate(random) : small(random),
                     round % 2 ? coordinate(random) : small(random),
                     {}};
      for (int32_t year = 0; year < 12; ++year) {
        if (small(random) == 0) continue;  // some years missing
        const int draw = small(random);
        data.populations.push_back(
            {year, draw < 2 ? 0.0 : coordinate(random) + 50 + draw * 0.1});
      }
      landscape.push_back(data);
    }
    auto patches = MakePatches(landscape);
    // A share above 1 is never reached: every walk runs to the end.
    const double share = round % 10 == 4 ? 1.5 : 0.05 + 0.1 * (round % 9);
    for (char axis : {'X', 'Y'}) {
      for (bool from_start : {true, false}) {
        auto means = TCentroidTools::GetSubpopulationMeans(*patches, share,
                                                           axis, from_start);
        auto weighted = TCentroidTools::GetSubpopulationWeightedMeans(
            *patches, share, axis, from_start);
        const std::vector<std::string> order =
            TCentroidTools::SortOnOrdinate(*patches, axis);
        for (int32_t year : TCentroidTools::MakeYearList(*patches)) {
          auto edge = TCentroidTools::GetSubpopulation(*patches, order, share,
                                                       year, from_start);
          const TPoint expected = TCentroidTools::Means(*edge, year);
          const TPoint got = means->GetCoords(year);
          const TPoint expected_weighted =
              TCentroidTools::WeightedMeans(*edge, year);
          const TPoint got_weighted = weighted->GetCoords(year);
          // Compare bits; NaN equals NaN here.
          for (auto pair :
               {std::make_pair(expected.X(), got.X()),
                std::make_pair(expected.Y(), got.Y()),
                std::make_pair(expected_weighted.X(), got_weighted.X()),
                std::make_pair(expected_weighted.Y(), got_weighted.Y())}) {
            ASSERT_TRUE(pair.first == pair.second ||
                        (std::isnan(pair.first) && std::isnan(pair.second)))
                << "round " << round << " year " << year << ": " << pair.first
                << " vs " << pair.second;
          }
        }
      }
    }
  }
}
