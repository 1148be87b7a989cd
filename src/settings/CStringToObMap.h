// The sections of one initialisation file: each section name with the map of its keys, kept in
// the order in which each section first appeared.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "settings/CStringToStringMap.h"

namespace settings {

// A map from section name to the section's keys that iterates in first-insertion order. It owns
// its section maps, each until its name is set again or the map goes; they are held by pointer,
// so a reference to one stays valid while others are added. Setting a name that is present
// replaces its map and keeps its position; a new name goes to the end. Names are compared
// exactly. Not thread-safe; the store guards it with its own lock.
class CStringToObMap {
 public:
  struct Entry {
    std::wstring name;
    std::unique_ptr<CStringToStringMap> section;  // never null
  };
  using const_iterator = std::vector<Entry>::const_iterator;

  CStringToObMap() = default;
  CStringToObMap(CStringToObMap&&) noexcept = default;
  CStringToObMap& operator=(CStringToObMap&&) noexcept = default;

  // Stores a new empty section under `name`, dropping the keys an earlier one of that name had,
  // and returns it.
  CStringToStringMap& SetEmpty(std::wstring_view name);
  // The section stored under `name`, or null.
  CStringToStringMap* Lookup(std::wstring_view name);
  const CStringToStringMap* Lookup(std::wstring_view name) const;
  // The section stored under `name`, appended empty when there is none.
  CStringToStringMap& GetOrAdd(std::wstring_view name);
  std::size_t GetCount() const { return entries_.size(); }
  bool IsEmpty() const { return entries_.empty(); }

  // The sections in first-insertion order.
  const_iterator begin() const { return entries_.begin(); }
  const_iterator end() const { return entries_.end(); }

  // Equal when both hold the same section names in the same order with equal sections.
  bool operator==(const CStringToObMap& other) const;

 private:
  CStringToStringMap& Append(std::wstring_view name);

  std::vector<Entry> entries_;
  // Name → index into entries_.
  std::map<std::wstring, std::size_t, std::less<>> positions_;
};

}  // namespace settings
