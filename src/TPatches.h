#ifndef ZELVATRIX_TPATCHES_H_
#define ZELVATRIX_TPATCHES_H_

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "TPatch.h"
#include "TPoint.h"

// A collection of patches keyed by name, with the map resolution in
// kilometres per coordinate unit. Names order byte by byte as unsigned values,
// a prefix first: "P10" before "P2", "Z" before "a". Every loop over the
// patches runs in this order. The collection owns its patches.
// Thread safety: safe to read from several threads at once, not to change.
class TPatches {
 public:
  // An empty collection with resolution 1.
  TPatches() = default;
  TPatches(const TPatches&) = delete;
  TPatches& operator=(const TPatches&) = delete;

  // Takes `patch` over under its own name. A patch already held under that
  // name is destroyed and replaced.
  void AddPatch(std::unique_ptr<TPatch> patch);
  // The patch held under `name`, still owned by the collection. Throws
  // TError "Patch does not exist" when no patch has that name.
  TPatch& GetPatch(std::string_view name);
  const TPatch& GetPatch(std::string_view name) const;
  // True when a patch is held under `name`.
  bool PatchExists(std::string_view name) const;
  // The names of all patches, in the collection's order.
  std::vector<std::string> GetNames() const;
  // The patches in the collection's order, still owned by the collection;
  // valid until the collection changes.
  std::vector<const TPatch*> GetPatchList() const;
  // The position of every patch, in the collection's order.
  std::vector<TPoint> GetCoordinates() const;
  // The population of every patch in `year`, in the collection's order.
  // Throws TError "Year does not exist" when any patch lacks the year.
  std::vector<double> GetPatchSizes(int32_t year) const;
  // The number of patches held.
  std::size_t GetNumPatches() const { return patches_.size(); }

  // Kilometres per coordinate unit.
  double GetResolution() const { return resolution_; }
  void SetResolution(double resolution) { resolution_ = resolution; }

 private:
  // std::string compares through char_traits<char>, which orders bytes as
  // unsigned char: exactly the byte order the names need.
  std::map<std::string, std::unique_ptr<TPatch>, std::less<>> patches_;
  double resolution_ = 1.0;
};

#endif  // ZELVATRIX_TPATCHES_H_
