#include <gtest/gtest.h>

#include "TError.h"
#include "TPatches.h"

namespace {

std::unique_ptr<TPatch> MakePatch(const std::string& name, double x = 0,
                                  double y = 0) {
  return std::make_unique<TPatch>(name, "", x, y);
}

}  // namespace

TEST(TPatchesTest, NewCollectionIsEmpty) {
  TPatches patches;
  EXPECT_EQ(patches.GetNumPatches(), 0u);
  EXPECT_TRUE(patches.GetNames().empty());
  EXPECT_TRUE(patches.GetCoordinates().empty());
  EXPECT_TRUE(patches.GetPatchSizes(2000).empty());
  EXPECT_EQ(patches.GetResolution(), 1.0);
}

TEST(TPatchesTest, NamesOrderByteByByte) {
  const struct {
    std::vector<std::string> added;
    std::vector<std::string> ordered;
  } cases[] = {
      {{"P2", "P10", "a"}, {"P10", "P2", "a"}},
      {{"P10", "P1"}, {"P1", "P10"}},
      {{"a", "Z"}, {"Z", "a"}},
      // Bytes above 0x7f sort after ASCII, as unsigned values.
      {{"\xc3\xa9tang", "zone", "Pop 1"}, {"Pop 1", "zone", "\xc3\xa9tang"}},
      {{"b", "", " a"}, {"", " a", "b"}},
  };
  for (const auto& c : cases) {
    TPatches patches;
    for (const std::string& name : c.added) patches.AddPatch(MakePatch(name));
    EXPECT_EQ(patches.GetNames(), c.ordered) << c.added[0];
  }
}

TEST(TPatchesTest, AddingASecondPatchOfTheSameNameReplacesTheFirst) {
  TPatches patches;
  patches.AddPatch(MakePatch("A", 1, 1));
  patches.AddPatch(MakePatch("A", 2, 2));
  EXPECT_EQ(patches.GetNumPatches(), 1u);
  EXPECT_EQ(patches.GetPatch("A").GetX(), 2);
}

TEST(TPatchesTest, LookupOfAMissingNameFails) {
  TPatches patches;
  patches.AddPatch(MakePatch("A"));
  EXPECT_TRUE(patches.PatchExists("A"));
  EXPECT_FALSE(patches.PatchExists("B"));
  try {
    patches.GetPatch("B");
    FAIL();
  } catch (const TError& error) {
    EXPECT_STREQ(error.what(), "Patch does not exist");
  }
  EXPECT_EQ(patches.GetNumPatches(), 1u);
}

TEST(TPatchesTest, CoordinatesAndSizesFollowNameOrder) {
  TPatches patches;
  auto b = MakePatch("b", 3, 4);
  b->SetYear(2000, 7);
  auto a = MakePatch("a", 1, 2);
  a->SetYear(2000, 5);
  patches.AddPatch(std::move(b));
  patches.AddPatch(std::move(a));
  const std::vector<TPoint> points = patches.GetCoordinates();
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points[0].X(), 1);
  EXPECT_EQ(points[1].Y(), 4);
  EXPECT_EQ(patches.GetPatchSizes(2000), (std::vector<double>{5, 7}));
}

TEST(TPatchesTest, PatchSizesFailWhenAnyPatchLacksTheYear) {
  TPatches patches;
  auto a = MakePatch("a");
  a->SetYear(2000, 1);
  patches.AddPatch(std::move(a));
  patches.AddPatch(MakePatch("b"));
  EXPECT_THROW(patches.GetPatchSizes(2000), TError);
}
