// Devices for speed in the patch store. Each must behave exactly as a
// simple store, and a test holds it to that:
// - Year layout: while the years form one consecutive run, as in every
//   patch read from an MP file, only the first year and the populations are
//   kept (8 bytes a year) and a year is found by its offset, without a
//   search; a store that breaks the run switches to an explicit sorted year
//   list. It must behave as an ordered map from year to population:
//   TPatchTest's BehavesLikeAnOrderedMapForAnyOrderOfStores (random stores
//   against std::map) and SetYearsStoresARunLikeSetYearDoes.
// - Copy on write: a clone shares the populations until either patch stores
//   one, so that cleaning copies no population. It must behave as a deep
//   copy: TPatchTest's CloneCopiesPopulationsIndependently and
//   PatchCleaningTest's KeptPatchesAreFullIndependentCopies.

#include "TPatch.h"

#include <algorithm>
#include <utility>

#include "TError.h"

TPatch::TPatch(std::string name, std::string text, double x, double y)
    : name_(std::move(name)), text_(std::move(text)), coordinates_(x, y) {}

const std::vector<double>& TPatch::Populations() const {
  static const std::vector<double> kNone;
  return populations_ ? *populations_ : kNone;
}

std::vector<double>& TPatch::MutablePopulations() {
  if (!populations_) {
    populations_ = std::make_shared<std::vector<double>>();
  } else if (populations_.use_count() > 1) {
    populations_ = std::make_shared<std::vector<double>>(*populations_);
  }
  return *populations_;
}

std::ptrdiff_t TPatch::IndexOf(int32_t year) const {
  if (years_.empty()) {
    const int64_t offset = int64_t{year} - first_year_;
    if (offset < 0 || offset >= static_cast<int64_t>(Populations().size())) {
      return -1;
    }
    return static_cast<std::ptrdiff_t>(offset);
  }
  auto it = std::lower_bound(years_.begin(), years_.end(), year);
  if (it == years_.end() || *it != year) return -1;
  return it - years_.begin();
}

bool TPatch::HasYear(int32_t year) const { return IndexOf(year) >= 0; }

double TPatch::GetYear(int32_t year) const {
  const std::ptrdiff_t index = IndexOf(year);
  if (index < 0) throw TError("Year does not exist", TError::Kind::kInternal);
  return Populations()[index];
}

const double* TPatch::FindListedYear(int32_t year) const {
  const std::ptrdiff_t index = IndexOf(year);
  return index < 0 ? nullptr : &Populations()[index];
}

void TPatch::SetYear(int32_t year, double population) {
  StorePopulation(year, population);
  // Both bounds are checked on every store, overwrites included.
  if (year > max_year_) max_year_ = year;
  if (year < min_year_) min_year_ = year;
}

void TPatch::StorePopulation(int32_t year, double population) {
  const std::ptrdiff_t index = IndexOf(year);
  std::vector<double>& populations = MutablePopulations();
  if (populations.empty()) {
    first_year_ = year;
    populations.push_back(population);
    return;
  }
  if (index >= 0) {
    populations[index] = population;
    return;
  }
  if (years_.empty()) {
    const int64_t next =
        int64_t{first_year_} + static_cast<int64_t>(populations.size());
    if (int64_t{year} == next) {
      populations.push_back(population);
      return;
    }
    if (int64_t{year} == int64_t{first_year_} - 1) {
      populations.insert(populations.begin(), population);
      first_year_ = year;
      return;
    }
    years_.resize(populations.size());
    for (std::size_t i = 0; i < years_.size(); ++i) {
      years_[i] = static_cast<int32_t>(first_year_ + static_cast<int64_t>(i));
    }
  }
  auto it = std::lower_bound(years_.begin(), years_.end(), year);
  const std::ptrdiff_t position = it - years_.begin();
  years_.insert(it, year);
  populations.insert(populations.begin() + position, population);
}

std::vector<int32_t> TPatch::GetYearList() const {
  if (!years_.empty()) return years_;
  std::vector<int32_t> years(Populations().size());
  for (std::size_t i = 0; i < years.size(); ++i) {
    years[i] = static_cast<int32_t>(first_year_ + static_cast<int64_t>(i));
  }
  return years;
}

void TPatch::SetYears(int32_t first_year, std::vector<double> values) {
  if (Populations().empty() && !values.empty()) {
    // The same end state as storing one by one: a consecutive run, with the
    // bounds widened to its first and last year.
    const int32_t last_year = static_cast<int32_t>(
        first_year + static_cast<int64_t>(values.size()) - 1);
    populations_ = std::make_shared<std::vector<double>>(std::move(values));
    years_.clear();
    first_year_ = first_year;
    if (last_year > max_year_) max_year_ = last_year;
    if (first_year < min_year_) min_year_ = first_year;
    return;
  }
  for (std::size_t k = 0; k < values.size(); ++k) {
    SetYear(static_cast<int32_t>(first_year + static_cast<int64_t>(k)),
            values[k]);
  }
}

std::unique_ptr<TPatch> TPatch::ShallowClone() const {
  return std::make_unique<TPatch>(name_, text_, coordinates_.X(),
                                  coordinates_.Y());
}

std::unique_ptr<TPatch> TPatch::Clone() const {
  // Storing every entry in ascending order through SetYear would give the
  // same populations and, by the year-bound invariant, the same bounds;
  // sharing the storage until one side changes gets there without a copy.
  std::unique_ptr<TPatch> copy = ShallowClone();
  copy->populations_ = populations_;
  copy->years_ = years_;
  copy->first_year_ = first_year_;
  copy->min_year_ = min_year_;
  copy->max_year_ = max_year_;
  return copy;
}

void TPatch::DeepClone(TPatch& target) const {
  // Copies first: the target may be this patch or share its storage.
  const std::vector<int32_t> years = GetYearList();
  const std::vector<double> populations = Populations();
  for (std::size_t i = 0; i < years.size(); ++i) {
    target.SetYear(years[i], populations[i]);
  }
}
