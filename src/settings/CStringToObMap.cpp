// The sections of one file in first-insertion order.
#include "settings/CStringToObMap.h"

#include <algorithm>

namespace settings {

CStringToStringMap& CStringToObMap::SetEmpty(std::wstring_view name) {
  auto position = positions_.find(name);
  if (position == positions_.end()) return Append(name);
  auto& section = entries_[position->second].section;
  section = std::make_unique<CStringToStringMap>();
  return *section;
}

CStringToStringMap* CStringToObMap::Lookup(std::wstring_view name) {
  auto position = positions_.find(name);
  return position != positions_.end() ? entries_[position->second].section.get() : nullptr;
}

const CStringToStringMap* CStringToObMap::Lookup(std::wstring_view name) const {
  auto position = positions_.find(name);
  return position != positions_.end() ? entries_[position->second].section.get() : nullptr;
}

CStringToStringMap& CStringToObMap::GetOrAdd(std::wstring_view name) {
  CStringToStringMap* present = Lookup(name);
  return present != nullptr ? *present : Append(name);
}

bool CStringToObMap::operator==(const CStringToObMap& other) const {
  return std::equal(entries_.begin(), entries_.end(), other.entries_.begin(), other.entries_.end(),
                    [](const Entry& a, const Entry& b) {
                      return a.name == b.name && *a.section == *b.section;
                    });
}

CStringToStringMap& CStringToObMap::Append(std::wstring_view name) {
  entries_.push_back(Entry{std::wstring(name), std::make_unique<CStringToStringMap>()});
  try {
    positions_.emplace(std::wstring(name), entries_.size() - 1);
  } catch (...) {
    entries_.pop_back();  // a section without an index could never be found or replaced
    throw;
  }
  return *entries_.back().section;
}

}  // namespace settings
