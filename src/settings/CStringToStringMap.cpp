// The keys of one section in first-insertion order.
#include "settings/CStringToStringMap.h"

namespace settings {

void CStringToStringMap::SetAt(std::wstring_view key, std::wstring_view value) {
  auto position = positions_.find(key);
  if (position != positions_.end()) {
    entries_[position->second].value.assign(value);
    return;
  }
  entries_.push_back(Entry{std::wstring(key), std::wstring(value)});
  try {
    positions_.emplace(std::wstring(key), entries_.size() - 1);
  } catch (...) {
    entries_.pop_back();  // an entry without an index could never be found or replaced
    throw;
  }
}

const std::wstring* CStringToStringMap::Lookup(std::wstring_view key) const {
  auto position = positions_.find(key);
  return position != positions_.end() ? &entries_[position->second].value : nullptr;
}

}  // namespace settings
