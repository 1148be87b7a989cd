// The string lists of combo boxes and list boxes.
#include "fw/StringItems.h"

#include <algorithm>
#include <utility>

#include "fw/Strings.h"

namespace fw {

int StringItems::Add(std::wstring text) {
  if (!sorted_) {
    items_.push_back(Item{std::move(text), 0});
    return Count() - 1;
  }
  std::wstring key = ToLower(text);
  auto place = std::upper_bound(items_.begin(), items_.end(), key,
                                [](const std::wstring& value, const Item& item) {
                                  return value < ToLower(item.text);
                                });
  auto inserted = items_.insert(place, Item{std::move(text), 0});
  return static_cast<int>(inserted - items_.begin());
}

int StringItems::Insert(int index, std::wstring text) {
  if (index == -1) index = Count();
  if (index < 0 || index > Count()) return -1;
  items_.insert(items_.begin() + index, Item{std::move(text), 0});
  return index;
}

bool StringItems::Delete(int index) {
  if (!IsValid(index)) return false;
  items_.erase(items_.begin() + index);
  return true;
}

std::wstring StringItems::Text(int index) const {
  return IsValid(index) ? items_[static_cast<std::size_t>(index)].text : std::wstring();
}

ItemData StringItems::Data(int index) const {
  return IsValid(index) ? items_[static_cast<std::size_t>(index)].data : 0;
}

bool StringItems::SetData(int index, ItemData data) {
  if (!IsValid(index)) return false;
  items_[static_cast<std::size_t>(index)].data = data;
  return true;
}

template <typename Matches>
int StringItems::FindFrom(int after, Matches matches) const {
  int count = Count();
  int start = (after < -1 || after >= count) ? 0 : after + 1;
  for (int step = 0; step < count; ++step) {
    int index = (start + step) % count;
    if (matches(items_[static_cast<std::size_t>(index)].text)) return index;
  }
  return -1;
}

int StringItems::FindExact(int after, const std::wstring& text) const {
  return FindFrom(after, [&text](const std::wstring& item) { return EqualsNoCase(item, text); });
}

int StringItems::FindPrefix(int after, const std::wstring& prefix) const {
  return FindFrom(after, [&prefix](const std::wstring& item) {
    return item.size() >= prefix.size() &&
           EqualsNoCase(std::wstring_view(item).substr(0, prefix.size()), prefix);
  });
}

}  // namespace fw
