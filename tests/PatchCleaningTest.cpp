// Dropping patches that were never persistently occupied.

#include <gtest/gtest.h>

#include <cmath>

#include "TCentroidTools.h"
#include "TestSupport.h"

namespace {

// A patch "p" holding the populations from year 2000 on.
std::vector<PatchData> OnePatch(const std::vector<double>& populations) {
  PatchData data{"p", 1, 2, {}};
  for (std::size_t i = 0; i < populations.size(); ++i) {
    data.populations.push_back(
        {static_cast<int32_t>(2000 + i), populations[i]});
  }
  return {data};
}

}  // namespace

TEST(PatchCleaningTest, KeepsPatchesWithALongEnoughOccupiedRun) {
  const double nan = std::nan("");
  const struct {
    std::vector<double> populations;
    int32_t threshold;
    bool kept;
  } cases[] = {
      {{5, 0, 2, 2, 2}, 3, true},   // the run at the end
      {{5, 5, 0, 5, 5}, 3, false},  // two runs of two
      {{-1, -1, -1}, 3, true},      // negative counts as occupied here
      {{nan, nan, 1}, 3, true},     // and so does NaN; only 0 breaks a run
      {{1, 1}, 3, false},           // fewer entries than the threshold
      {{1, 1, 1}, 3, true},
      {{0, 0}, 1, false},
      {{0, 0}, 0, true},  // threshold 0 keeps everything
      {{}, 0, true},
      {{1, 1, 1}, -1, false},  // a negative threshold keeps nothing
  };
  for (const auto& c : cases) {
    auto patches = MakePatches(OnePatch(c.populations));
    auto cleaned = TCentroidTools::CleanPatches(*patches, c.threshold);
    EXPECT_EQ(cleaned->GetNumPatches(), c.kept ? 1u : 0u)
        << c.populations.size() << " entries, threshold " << c.threshold;
  }
}

TEST(PatchCleaningTest, KeptPatchesAreFullIndependentCopies) {
  auto patches = MakePatches(OnePatch({0, 4, 4, 0}));
  patches->SetResolution(2.5);
  auto cleaned = TCentroidTools::CleanPatches(*patches, 2);
  EXPECT_EQ(cleaned->GetResolution(), 2.5);
  TPatch& copy = cleaned->GetPatch("p");
  EXPECT_EQ(copy.GetYearList(), (std::vector<int32_t>{2000, 2001, 2002, 2003}));
  EXPECT_EQ(copy.GetX(), 1);
  copy.SetYear(2000, 99);
  EXPECT_EQ(patches->GetPatch("p").GetYear(2000), 0);
}

TEST(PatchCleaningTest, EmptyResultKeepsTheResolution) {
  auto patches = MakePatches({});
  patches->SetResolution(0.5);
  EXPECT_EQ(TCentroidTools::CleanPatches(*patches, 3)->GetResolution(), 0.5);
  auto none = TCentroidTools::CleanPatches(*MakePatches(OnePatch({0})), 1);
  EXPECT_EQ(none->GetNumPatches(), 0u);
}
