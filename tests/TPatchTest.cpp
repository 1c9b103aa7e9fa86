#include <gtest/gtest.h>

#include <map>
#include <random>

#include "TError.h"
#include "TPatch.h"

namespace {

void ExpectError(const std::function<void()>& action, const char* message) {
  try {
    action();
    ADD_FAILURE() << "expected the error " << message;
  } catch (const TError& error) {
    EXPECT_STREQ(error.what(), message);
  }
}

}  // namespace

TEST(TPatchTest, NewPatchHoldsNoYears) {
  TPatch patch("A", "", 1, 2);
  EXPECT_EQ(patch.GetMinYear(), 99999999);
  EXPECT_EQ(patch.GetMaxYear(), 0);
  EXPECT_TRUE(patch.GetYearList().empty());
  EXPECT_FALSE(patch.HasYear(0));
  EXPECT_FALSE(patch.HasYear(2000));
  ExpectError([&] { patch.GetYear(2000); }, "Year does not exist");
  EXPECT_EQ(patch.GetName(), "A");
  EXPECT_EQ(patch.GetX(), 1);
  EXPECT_EQ(patch.GetY(), 2);
}

TEST(TPatchTest, YearBoundsKeepTheirStartingValues) {
  TPatch negative("A", "", 0, 0);
  negative.SetYear(-5, 1.0);
  EXPECT_EQ(negative.GetMinYear(), -5);
  EXPECT_EQ(negative.GetMaxYear(), 0);

  TPatch far("B", "", 0, 0);
  far.SetYear(100000000, 1.0);
  EXPECT_EQ(far.GetMinYear(), 99999999);
  EXPECT_EQ(far.GetMaxYear(), 100000000);
}

TEST(TPatchTest, YearsAscendAndLaterStoresWin) {
  TPatch patch("A", "", 0, 0);
  patch.SetYear(2005, 5);
  patch.SetYear(2001, 1);
  patch.SetYear(2003, 3);
  patch.SetYear(2003, 33);
  EXPECT_EQ(patch.GetYearList(), (std::vector<int32_t>{2001, 2003, 2005}));
  EXPECT_EQ(patch.GetYear(2003), 33);
  EXPECT_EQ(patch.GetMinYear(), 2001);
  EXPECT_EQ(patch.GetMaxYear(), 2005);
  EXPECT_FALSE(patch.HasYear(2002));
}

// The store keeps consecutive years compactly and switches layout when a
// year breaks the run; whatever the order of stores, it must behave like an
// ordered map.
TEST(TPatchTest, BehavesLikeAnOrderedMapForAnyOrderOfStores) {
  std::mt19937 random(12345);
  for (int round = 0; round < 200; ++round) {
    TPatch patch("A", "", 0, 0);
    std::map<int32_t, double> expected;
    std::uniform_int_distribution<int32_t> year(-3, 12);
    const int stores = round % 20;
    for (int i = 0; i < stores; ++i) {
      // Mostly runs, as a reader stores them, with jumps now and then.
      const int32_t y = (i % 4 == 3) ? year(random) : 2 + i;
      patch.SetYear(y, i + 0.5);
      expected[y] = i + 0.5;
    }
    std::vector<int32_t> years;
    for (const auto& entry : expected) years.push_back(entry.first);
    ASSERT_EQ(patch.GetYearList(), years) << "round " << round;
    for (int32_t y = -5; y <= 25; ++y) {
      const auto it = expected.find(y);
      ASSERT_EQ(patch.HasYear(y), it != expected.end()) << y;
      if (it != expected.end()) {
        EXPECT_EQ(patch.GetYear(y), it->second);
      }
    }
  }
}

TEST(TPatchTest, SetYearsStoresARunLikeSetYearDoes) {
  TPatch empty("A", "", 0, 0);
  empty.SetYears(-2, {1, 2, 3});
  EXPECT_EQ(empty.GetYearList(), (std::vector<int32_t>{-2, -1, 0}));
  EXPECT_EQ(empty.GetYear(-1), 2);
  EXPECT_EQ(empty.GetMinYear(), -2);
  EXPECT_EQ(empty.GetMaxYear(), 0);

  TPatch held("B", "", 0, 0);
  held.SetYear(2001, 9);
  held.SetYear(2005, 5);
  held.SetYears(2000, {1, 2, 3});
  EXPECT_EQ(held.GetYearList(), (std::vector<int32_t>{2000, 2001, 2002, 2005}));
  EXPECT_EQ(held.GetYear(2001), 2);
  EXPECT_EQ(held.GetMinYear(), 2000);
  EXPECT_EQ(held.GetMaxYear(), 2005);

  TPatch none("C", "", 0, 0);
  none.SetYears(2000, {});
  EXPECT_TRUE(none.GetYearList().empty());
  EXPECT_EQ(none.GetMinYear(), 99999999);
}

TEST(TPatchTest, RunsAtTheEdgesOfTheYearRange) {
  TPatch patch("A", "", 0, 0);
  patch.SetYear(2147483646, 1);
  patch.SetYear(2147483647, 2);
  patch.SetYear(-2147483647 - 1, 3);
  EXPECT_EQ(patch.GetYearList(),
            (std::vector<int32_t>{-2147483647 - 1, 2147483646, 2147483647}));
  EXPECT_EQ(patch.GetYear(2147483647), 2);
  EXPECT_EQ(patch.GetMinYear(), -2147483647 - 1);
}

TEST(TPatchTest, ShallowCloneCopiesIdentityButNoYears) {
  auto patch = std::make_unique<TPatch>("A", "note", 1.5, 2.5);
  patch->SetYear(2001, 4.0);
  std::unique_ptr<TPatch> copy = patch->ShallowClone();
  patch.reset();
  EXPECT_EQ(copy->GetName(), "A");
  EXPECT_EQ(copy->GetText(), "note");
  EXPECT_EQ(copy->GetX(), 1.5);
  EXPECT_EQ(copy->GetY(), 2.5);
  EXPECT_TRUE(copy->GetYearList().empty());
  EXPECT_EQ(copy->GetMinYear(), 99999999);
  EXPECT_EQ(copy->GetMaxYear(), 0);
}

TEST(TPatchTest, CloneCopiesPopulationsIndependently) {
  TPatch patch("A", "note", 1, 2);
  patch.SetYear(2001, 4.0);
  patch.SetYear(2002, 0.0);
  std::unique_ptr<TPatch> copy = patch.Clone();
  EXPECT_EQ(copy->GetYearList(), (std::vector<int32_t>{2001, 2002}));
  EXPECT_EQ(copy->GetYear(2001), 4.0);
  EXPECT_EQ(copy->GetYear(2002), 0.0);
  EXPECT_EQ(copy->GetMinYear(), 2001);
  EXPECT_EQ(copy->GetMaxYear(), 2002);
  EXPECT_EQ(copy->GetText(), "note");
  copy->SetYear(2001, 9.0);
  EXPECT_EQ(patch.GetYear(2001), 4.0);
  // And the other way round, also for a store that adds a year.
  std::unique_ptr<TPatch> second = patch.Clone();
  patch.SetYear(2003, 1.0);
  patch.SetYear(2002, 7.0);
  EXPECT_EQ(second->GetYearList(), (std::vector<int32_t>{2001, 2002}));
  EXPECT_EQ(second->GetYear(2002), 0.0);
  EXPECT_EQ(copy->GetYear(2002), 0.0);
}

TEST(TPatchTest, DeepCloneMergesIntoTheTarget) {
  TPatch source("S", "", 0, 0);
  source.SetYear(2001, 5);
  source.SetYear(2002, 6);
  TPatch target("T", "t", 7, 8);
  target.SetYear(2000, 1);
  target.SetYear(2001, 2);
  source.DeepClone(target);
  EXPECT_EQ(target.GetYearList(), (std::vector<int32_t>{2000, 2001, 2002}));
  EXPECT_EQ(target.GetYear(2000), 1);
  EXPECT_EQ(target.GetYear(2001), 5);
  EXPECT_EQ(target.GetYear(2002), 6);
  EXPECT_EQ(target.GetMinYear(), 2000);
  EXPECT_EQ(target.GetMaxYear(), 2002);
  EXPECT_EQ(target.GetName(), "T");
  EXPECT_EQ(target.GetX(), 7);

  // Into a clone that still shares the source's storage, and into itself.
  std::unique_ptr<TPatch> clone = source.Clone();
  target.DeepClone(*clone);
  EXPECT_EQ(clone->GetYearList(), (std::vector<int32_t>{2000, 2001, 2002}));
  EXPECT_EQ(source.GetYearList(), (std::vector<int32_t>{2001, 2002}));
  source.DeepClone(source);
  EXPECT_EQ(source.GetYear(2002), 6);
}
