// Sorting and finding in the list control. A sort reads the item data under the lock, compares
// without it (the comparison may lock what it reads, such as the library), and applies the new
// order under the lock again; items added meanwhile keep their places after the sorted ones.
#include <algorithm>

#include "fw/ListCtrl.h"
#include "fw/Strings.h"

namespace fw {

int ListCtrl::FindItemByData(ItemData data, int start) const {
  std::lock_guard guard(lock_);
  if (data == 0) {
    // Not indexed (see IndexData): the first one after `start` in display order.
    for (int position = std::max(start + 1, 0); position < static_cast<int>(order_.size());
         ++position) {
      if (ItemAt(position).content.data == 0) return position;
    }
    return -1;
  }
  int best = -1;
  auto range = byData_.equal_range(data);
  for (auto it = range.first; it != range.second; ++it) {
    int position = static_cast<int>(position_[SlotOf(it->second)]);
    if (position > start && (best < 0 || position < best)) best = position;
  }
  return best;
}

int ListCtrl::FindItemByText(const std::wstring& text, int start) const {
  std::lock_guard guard(lock_);
  for (int position = std::max(start + 1, 0); position < static_cast<int>(order_.size());
       ++position) {
    if (EqualsNoCase(ItemAt(position).content.texts.front(), text)) return position;
  }
  return -1;
}

int ListCtrl::FindItemByExactText(const std::wstring& text) const {
  std::lock_guard guard(lock_);
  for (int position = 0; position < static_cast<int>(order_.size()); ++position) {
    if (ItemAt(position).content.texts.front() == text) return position;
  }
  return -1;
}

void ListCtrl::SortItems(const CompareFunction& compare) {
  std::uint64_t generation = 0;
  std::vector<std::uint64_t> ids;
  std::vector<ItemData> data = SnapshotData(generation, ids);
  std::vector<std::uint32_t> slots(data.size());
  for (std::size_t slot = 0; slot < slots.size(); ++slot) slots[slot] = static_cast<std::uint32_t>(slot);
  // Slots rise with the order added, so a stable sort breaks ties by that order.
  std::stable_sort(slots.begin(), slots.end(), [&](std::uint32_t first, std::uint32_t second) {
    return compare(data[first], data[second]) < 0;
  });
  ApplyOrder(slots, generation, ids);
}

void ListCtrl::SortItemsByKey(const KeyFunction& key, bool descending) {
  std::uint64_t generation = 0;
  std::vector<std::uint64_t> ids;
  std::vector<ItemData> data = SnapshotData(generation, ids);
  struct Entry {
    std::int64_t key;
    std::uint32_t slot;
  };
  std::vector<Entry> entries(data.size());
  for (std::size_t slot = 0; slot < data.size(); ++slot) {
    entries[slot] = Entry{key(data[slot]), static_cast<std::uint32_t>(slot)};
  }
  std::sort(entries.begin(), entries.end(), [descending](const Entry& first, const Entry& second) {
    if (first.key != second.key) return descending ? first.key > second.key : first.key < second.key;
    return first.slot < second.slot;
  });
  std::vector<std::uint32_t> slots(entries.size());
  for (std::size_t at = 0; at < entries.size(); ++at) slots[at] = entries[at].slot;
  ApplyOrder(slots, generation, ids);
}

std::vector<ItemData> ListCtrl::SnapshotData(std::uint64_t& generation,
                                             std::vector<std::uint64_t>& ids) const {
  std::lock_guard guard(lock_);
  generation = generation_;
  std::vector<ItemData> data(items_.size());
  ids.resize(items_.size());
  for (std::size_t slot = 0; slot < items_.size(); ++slot) {
    data[slot] = items_[slot].content.data;
    ids[slot] = items_[slot].id;
  }
  return data;
}

void ListCtrl::ApplyOrder(const std::vector<std::uint32_t>& sortedSlots, std::uint64_t generation,
                          const std::vector<std::uint64_t>& ids) {
  {
    std::lock_guard guard(lock_);
    if (generation == generation_) {
      order_ = sortedSlots;
    } else {
      // Items came or went while the comparison ran: the sorted items that remain come first,
      // then the newcomers in the order they are shown.
      std::vector<std::uint32_t> order;
      order.reserve(items_.size());
      std::vector<bool> placed(items_.size(), false);
      for (std::uint32_t snapshotSlot : sortedSlots) {
        std::size_t slot = SlotOf(ids[snapshotSlot]);
        if (slot < items_.size() && items_[slot].id == ids[snapshotSlot]) {
          order.push_back(static_cast<std::uint32_t>(slot));
          placed[slot] = true;
        }
      }
      for (std::uint32_t slot : order_) {
        if (!placed[slot]) order.push_back(slot);
      }
      order_ = std::move(order);
    }
    RenumberFrom(0);
  }
  NoteChange(kChangeItems | kChangeSelection);
}

}  // namespace fw
