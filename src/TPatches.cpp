#include "TPatches.h"

#include <utility>

#include "TError.h"

void TPatches::AddPatch(std::unique_ptr<TPatch> patch) {
  std::string name = patch->GetName();
  // Copies of a collection arrive in name order; a name after the last one
  // goes to the end without a search.
  if (patches_.empty() || patches_.rbegin()->first < name) {
    patches_.emplace_hint(patches_.end(), std::move(name), std::move(patch));
    return;
  }
  patches_.insert_or_assign(std::move(name), std::move(patch));
}

TPatch& TPatches::GetPatch(std::string_view name) {
  auto it = patches_.find(name);
  if (it == patches_.end())
    throw TError("Patch does not exist", TError::Kind::kInternal);
  return *it->second;
}

const TPatch& TPatches::GetPatch(std::string_view name) const {
  auto it = patches_.find(name);
  if (it == patches_.end())
    throw TError("Patch does not exist", TError::Kind::kInternal);
  return *it->second;
}

bool TPatches::PatchExists(std::string_view name) const {
  return patches_.find(name) != patches_.end();
}

std::vector<std::string> TPatches::GetNames() const {
  std::vector<std::string> names;
  names.reserve(patches_.size());
  for (const auto& entry : patches_) names.push_back(entry.first);
  return names;
}

std::vector<const TPatch*> TPatches::GetPatchList() const {
  std::vector<const TPatch*> list;
  list.reserve(patches_.size());
  for (const auto& entry : patches_) list.push_back(entry.second.get());
  return list;
}

std::vector<TPoint> TPatches::GetCoordinates() const {
  std::vector<TPoint> points;
  points.reserve(patches_.size());
  for (const auto& entry : patches_) {
    points.push_back(entry.second->GetCoordinates());
  }
  return points;
}

std::vector<double> TPatches::GetPatchSizes(int32_t year) const {
  std::vector<double> sizes;
  sizes.reserve(patches_.size());
  for (const auto& entry : patches_) {
    sizes.push_back(entry.second->GetYear(year));
  }
  return sizes;
}
