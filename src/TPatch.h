#ifndef ZELVATRIX_TPATCH_H_
#define ZELVATRIX_TPATCH_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "TPoint.h"

// One habitat patch: a name, a free second text, a position in the map plane
// and the simulated population of each year it holds. Patches are never
// copied by value; ShallowClone and Clone make new ones.
// Thread safety: safe to read from several threads at once, not to change.
class TPatch {
 public:
  // Sentinels of the year bounds before any year is stored. The maximum
  // starts at 0, not below, so a patch whose years are all 0 or negative
  // still reports 0 as its maximum year.
  static constexpr int32_t kNoMinYear = 99999999;
  static constexpr int32_t kNoMaxYear = 0;

  // Makes a patch at (x, y) without populations.
  TPatch(std::string name, std::string text, double x, double y);
  TPatch(const TPatch&) = delete;
  TPatch& operator=(const TPatch&) = delete;

  // The name, the patch's identity within a collection.
  const std::string& GetName() const { return name_; }
  // The second text; empty for every patch read from an MP file.
  const std::string& GetText() const { return text_; }

  // True when a population is stored for `year`.
  bool HasYear(int32_t year) const;
  // The population stored for `year`; throws TError "Year does not exist"
  // when there is none.
  double GetYear(int32_t year) const;
  // The population stored for `year`, or nullptr when there is none. The
  // pointer is valid until the next store. One lookup instead of the two of
  // HasYear and GetYear; inline, as the analyses call it for every patch and
  // year.
  const double* FindYear(int32_t year) const {
    if (!years_.empty()) return FindListedYear(year);
    if (!populations_) return nullptr;
    const uint64_t offset = static_cast<uint64_t>(int64_t{year} - first_year_);
    return offset < populations_->size() ? populations_->data() + offset
                                         : nullptr;
  }
  // Stores `population` for `year`, overwriting an earlier value, and widens
  // the minimum and maximum year to include `year`.
  void SetYear(int32_t year, double population);
  // All years that hold a population, ascending.
  std::vector<int32_t> GetYearList() const;
  // The number of years that hold a population.
  std::size_t GetNumYears() const { return Populations().size(); }
  // The stored populations in ascending order of year, parallel to
  // GetYearList(); valid until the next SetYear.
  const std::vector<double>& GetPopulations() const { return Populations(); }
  // Stores values[k] for the year first_year + k, k = 0, 1, ..., with the
  // effect of SetYear for each in turn; a patch without years takes the
  // values over without copying them. Requires the last of these years to
  // fit a signed 32-bit integer.
  void SetYears(int32_t first_year, std::vector<double> values);

  // The smaller of kNoMinYear and the smallest year ever stored.
  int32_t GetMinYear() const { return min_year_; }
  // The larger of kNoMaxYear and the largest year ever stored.
  int32_t GetMaxYear() const { return max_year_; }

  double GetX() const { return coordinates_.X(); }
  double GetY() const { return coordinates_.Y(); }
  TPoint GetCoordinates() const { return coordinates_; }

  // A new patch with this name, text and position but no populations; the
  // caller owns it.
  std::unique_ptr<TPatch> ShallowClone() const;
  // A new patch equal to this one, populations and year bounds included;
  // the caller owns it.
  std::unique_ptr<TPatch> Clone() const;
  // Stores every population of this patch into `target` as SetYear does:
  // years only the target holds stay, shared years take this patch's value.
  // The target's name, text and position are not touched.
  void DeepClone(TPatch& target) const;

 private:
  // Position of `year` in the populations, or -1.
  std::ptrdiff_t IndexOf(int32_t year) const;
  const double* FindListedYear(int32_t year) const;
  const std::vector<double>& Populations() const;
  // The populations, no longer shared with a clone, ready to be changed.
  std::vector<double>& MutablePopulations();
  void StorePopulation(int32_t year, double population);

  std::string name_;
  std::string text_;
  // Populations in ascending order of year. While years_ is empty the years
  // are the consecutive run first_year_, first_year_ + 1, ...: the layout of
  // every patch read from an MP file, kept at 8 bytes a year and looked up
  // without a search. A store that breaks the run switches to explicit years
  // (years_ then runs parallel to the populations). A clone shares the
  // populations until either patch stores one (copy on write): cleaning
  // clones every patch it keeps, and the clones are only read. Null while
  // no year is stored.
  std::shared_ptr<std::vector<double>> populations_;
  std::vector<int32_t> years_;
  int32_t first_year_ = 0;
  int32_t min_year_ = kNoMinYear;
  int32_t max_year_ = kNoMaxYear;
  TPoint coordinates_;
};

#endif  // ZELVATRIX_TPATCH_H_
