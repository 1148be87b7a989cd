// The table of all mapping schemes, from scheme name to scheme, which owns them; and the one
// process-wide table, `schemeMap`. Host main thread only; the table has no lock, and the
// loader thread never touches it.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "layermap/MapScheme.h"

namespace layermap {

// The scheme name a directory holds when it maps nothing. Any name not in the table maps
// nothing as well.
inline constexpr const wchar_t* kNoSchemeName = L"<None>";

class SchemeTable {
 public:
  struct Entry {
    std::wstring name;
    std::unique_ptr<MapScheme> scheme;
  };

  SchemeTable() = default;
  SchemeTable(const SchemeTable&) = delete;
  SchemeTable& operator=(const SchemeTable&) = delete;

  // Names are compared exactly (case-sensitive). nullptr for a name not in the table.
  MapScheme* Find(std::wstring_view name) const;
  // Puts the scheme into the table under the name and returns it. A scheme of that name is
  // replaced, and deleted, in its place in the order. A null scheme adds nothing (nullptr).
  MapScheme* Add(std::wstring_view name, std::unique_ptr<MapScheme> scheme);
  // Removes the scheme and deletes it; false when there is none of that name.
  bool Remove(std::wstring_view name);
  // Deletes every scheme.
  void Clear() { entries_.clear(); }

  // In the order the names were first added, which is the order every list of schemes is
  // shown and saved in.
  const std::vector<Entry>& Entries() const { return entries_; }
  std::vector<std::wstring> Names() const;
  std::size_t Count() const { return entries_.size(); }

 private:
  std::vector<Entry>::const_iterator FindEntry(std::wstring_view name) const;

  std::vector<Entry> entries_;
};

// The process's scheme table: filled when the settings are loaded, changed by the scheme
// dialogs and by Ask answers, written when the settings are saved.
SchemeTable& SchemeMap();

}  // namespace layermap
