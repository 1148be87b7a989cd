// The strings of a combo box or list box, each with its item data, kept in order or sorted as
// the platform sorts them (without regard to case). Not guarded: the owning control's lock is.
#pragma once

#include <string>
#include <vector>

#include "fw/Notify.h"

namespace fw {

class StringItems {
 public:
  explicit StringItems(bool sorted) : sorted_(sorted) {}

  bool IsSorted() const { return sorted_; }
  int Count() const { return static_cast<int>(items_.size()); }
  // Appends, or inserts at the sorted place (after equal strings); returns the index.
  int Add(std::wstring text);
  // Inserts at `index` (-1: at the end), never sorting; -1 for an index past the end.
  int Insert(int index, std::wstring text);
  bool Delete(int index);
  void Clear() { items_.clear(); }
  bool IsValid(int index) const { return index >= 0 && index < Count(); }
  // Empty for an index out of range.
  std::wstring Text(int index) const;
  ItemData Data(int index) const;
  bool SetData(int index, ItemData data);
  // The first item after `after` (-1: from the start), wrapping around, whose text equals
  // `text` (FindExact) or starts with `prefix` (FindPrefix) without regard to case; -1 if none.
  int FindExact(int after, const std::wstring& text) const;
  int FindPrefix(int after, const std::wstring& prefix) const;

 private:
  struct Item {
    std::wstring text;
    ItemData data = 0;
  };
  template <typename Matches>
  int FindFrom(int after, Matches matches) const;

  bool sorted_;
  std::vector<Item> items_;
};

}  // namespace fw
