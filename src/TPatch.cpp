#include "TPatch.h"

#include <algorithm>
#include <utility>

#include "TError.h"

TPatch::TPatch(std::string name, std::string text, double x, double y)
    : name_(std::move(name)), text_(std::move(text)), coordinates_(x, y) {}

std::ptrdiff_t TPatch::IndexOf(int32_t year) const {
  if (years_.empty()) {
    const int64_t offset = int64_t{year} - first_year_;
    if (offset < 0 || offset >= static_cast<int64_t>(populations_.size())) {
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
  if (index < 0) throw TError("Year does not exist");
  return populations_[index];
}

const double* TPatch::FindYear(int32_t year) const {
  const std::ptrdiff_t index = IndexOf(year);
  return index < 0 ? nullptr : &populations_[index];
}

void TPatch::SetYear(int32_t year, double population) {
  StorePopulation(year, population);
  // Both bounds are checked on every store, overwrites included.
  if (year > max_year_) max_year_ = year;
  if (year < min_year_) min_year_ = year;
}

void TPatch::StorePopulation(int32_t year, double population) {
  if (populations_.empty()) {
    first_year_ = year;
    populations_.push_back(population);
    return;
  }
  const std::ptrdiff_t index = IndexOf(year);
  if (index >= 0) {
    populations_[index] = population;
    return;
  }
  if (years_.empty()) {
    const int64_t next =
        int64_t{first_year_} + static_cast<int64_t>(populations_.size());
    if (int64_t{year} == next) {
      populations_.push_back(population);
      return;
    }
    if (int64_t{year} == int64_t{first_year_} - 1) {
      populations_.insert(populations_.begin(), population);
      first_year_ = year;
      return;
    }
    years_.resize(populations_.size());
    for (std::size_t i = 0; i < years_.size(); ++i) {
      years_[i] = static_cast<int32_t>(first_year_ + static_cast<int64_t>(i));
    }
  }
  auto it = std::lower_bound(years_.begin(), years_.end(), year);
  const std::ptrdiff_t position = it - years_.begin();
  years_.insert(it, year);
  populations_.insert(populations_.begin() + position, population);
}

std::vector<int32_t> TPatch::GetYearList() const {
  if (!years_.empty()) return years_;
  std::vector<int32_t> years(populations_.size());
  for (std::size_t i = 0; i < years.size(); ++i) {
    years[i] = static_cast<int32_t>(first_year_ + static_cast<int64_t>(i));
  }
  return years;
}

void TPatch::ReserveYears(std::size_t count) { populations_.reserve(count); }

std::unique_ptr<TPatch> TPatch::ShallowClone() const {
  return std::make_unique<TPatch>(name_, text_, coordinates_.X(),
                                  coordinates_.Y());
}

std::unique_ptr<TPatch> TPatch::Clone() const {
  // Storing every entry in ascending order through SetYear would give the
  // same populations and, by the year-bound invariant, the same bounds; a
  // copy of the storage gets there without a lookup per year.
  std::unique_ptr<TPatch> copy = ShallowClone();
  copy->populations_ = populations_;
  copy->years_ = years_;
  copy->first_year_ = first_year_;
  copy->min_year_ = min_year_;
  copy->max_year_ = max_year_;
  return copy;
}

void TPatch::DeepClone(TPatch& target) const {
  const std::vector<int32_t> years = GetYearList();
  for (std::size_t i = 0; i < years.size(); ++i) {
    target.SetYear(years[i], populations_[i]);
  }
}
