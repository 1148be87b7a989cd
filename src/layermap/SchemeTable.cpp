// The scheme table: schemes by name, in the order of entry.
#include "layermap/SchemeTable.h"

#include <algorithm>

namespace layermap {

std::vector<SchemeTable::Entry>::const_iterator SchemeTable::FindEntry(
    std::wstring_view name) const {
  return std::find_if(entries_.begin(), entries_.end(),
                      [&](const Entry& entry) { return entry.name == name; });
}

MapScheme* SchemeTable::Find(std::wstring_view name) const {
  auto found = FindEntry(name);
  return found == entries_.end() ? nullptr : found->scheme.get();
}

MapScheme* SchemeTable::Add(std::wstring_view name, std::unique_ptr<MapScheme> scheme) {
  if (scheme == nullptr) return nullptr;
  MapScheme* added = scheme.get();
  auto found = FindEntry(name);
  if (found == entries_.end()) {
    entries_.push_back(Entry{std::wstring(name), std::move(scheme)});
  } else {
    entries_[static_cast<std::size_t>(found - entries_.begin())].scheme = std::move(scheme);
  }
  return added;
}

bool SchemeTable::Remove(std::wstring_view name) {
  auto found = FindEntry(name);
  if (found == entries_.end()) return false;
  entries_.erase(found);
  return true;
}

std::vector<std::wstring> SchemeTable::Names() const {
  std::vector<std::wstring> names;
  names.reserve(entries_.size());
  for (const Entry& entry : entries_) names.push_back(entry.name);
  return names;
}

SchemeTable& SchemeMap() {
  static SchemeTable table;
  return table;
}

}  // namespace layermap
