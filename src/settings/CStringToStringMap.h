// The keys of one section of an initialisation file and their values, kept in the order in which
// each key first appeared, so a file is written back in the order it was read.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace settings {

// A string-to-string map that iterates in first-insertion order, never in hash or sorted order.
// Setting a key that is present replaces its value and keeps its position; a new key goes to the
// end. Keys are compared exactly: folding them to one case is the caller's business. Not
// thread-safe; the store guards every map it holds with its own lock.
class CStringToStringMap {
 public:
  struct Entry {
    std::wstring key;
    std::wstring value;
    bool operator==(const Entry&) const = default;
  };
  using const_iterator = std::vector<Entry>::const_iterator;

  void SetAt(std::wstring_view key, std::wstring_view value);
  // The value stored under `key`, or null when there is none. The pointer stays valid until the
  // map next changes.
  const std::wstring* Lookup(std::wstring_view key) const;
  std::size_t GetCount() const { return entries_.size(); }
  bool IsEmpty() const { return entries_.empty(); }

  // The entries in first-insertion order.
  const_iterator begin() const { return entries_.begin(); }
  const_iterator end() const { return entries_.end(); }

  // Equal when both hold the same keys with the same values in the same order.
  bool operator==(const CStringToStringMap& other) const { return entries_ == other.entries_; }

 private:
  std::vector<Entry> entries_;
  // Key → index into entries_; std::less<> lets a string_view look up without a copy.
  std::map<std::wstring, std::size_t, std::less<>> positions_;
};

}  // namespace settings
