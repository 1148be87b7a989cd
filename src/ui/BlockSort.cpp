// Integer sort keys of blocks, so that sorting a large list compares numbers, not strings.
#include "ui/BlockSort.h"

#include <algorithm>
#include <iterator>
#include <mutex>
#include <numeric>
#include <shared_mutex>
#include <string>
#include <unordered_map>

#include "fw/Strings.h"
#include "library/Block.h"
#include "library/BlockLock.h"
#include "library/Library.h"

namespace ui {
namespace {

enum class SortKey { kNone, kName, kType, kDescription, kSize, kModified, kCreated };

SortKey KeyOf(int sortStyle) {
  switch (((sortStyle % kReverseSortOffset) + kReverseSortOffset) % kReverseSortOffset) {
    case 1:
      return SortKey::kName;
    case 2:
      return SortKey::kType;
    case 3:
      return SortKey::kDescription;
    case 4:
      return SortKey::kSize;
    case 5:
      return SortKey::kModified;
    case 6:
      return SortKey::kCreated;
    default:
      return SortKey::kNone;
  }
}

// The rank of each text among all of them, without regard to case; equal texts share a rank.
std::vector<std::int64_t> Ranks(const std::vector<std::wstring>& texts) {
  std::vector<std::wstring> folded;
  folded.reserve(texts.size());
  for (const std::wstring& text : texts) folded.push_back(fw::ToLower(text));
  std::vector<std::uint32_t> order(texts.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(),
            [&](std::uint32_t a, std::uint32_t b) { return folded[a] < folded[b]; });
  std::vector<std::int64_t> ranks(texts.size(), 0);
  std::int64_t rank = 0;
  for (std::size_t i = 0; i < order.size(); ++i) {
    if (i > 0 && folded[order[i]] != folded[order[i - 1]]) ++rank;
    ranks[order[i]] = rank;
  }
  return ranks;
}

// Styles 8..13 sort descending; RevNone (7) keeps the order added, as None does.
bool IsDescending(int sortStyle) {
  return sortStyle > kReverseSortOffset && sortStyle < kSortStyleCount;
}

}  // namespace

std::vector<std::int64_t> SortKeys(const std::vector<const library::Block*>& blocks,
                                   int sortStyle) {
  std::vector<std::int64_t> keys(blocks.size(), 0);
  SortKey key = KeyOf(sortStyle);
  if (key == SortKey::kName || key == SortKey::kDescription) {
    std::vector<std::wstring> texts;
    texts.reserve(blocks.size());
    for (const library::Block* b : blocks) {
      texts.push_back(key == SortKey::kName ? b->name : b->description);
    }
    return Ranks(texts);
  }
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    const library::Block& b = *blocks[i];
    switch (key) {
      case SortKey::kType:
        keys[i] = b.version;
        break;
      case SortKey::kSize:
        // Sizes beyond the signed range do not occur in files.
        keys[i] = static_cast<std::int64_t>(b.currentStatus.size);
        break;
      case SortKey::kModified:
        keys[i] = b.modified;
        break;
      case SortKey::kCreated:
        keys[i] = b.created;
        break;
      case SortKey::kNone:
      case SortKey::kName:
      case SortKey::kDescription:
        break;
    }
  }
  return keys;
}

int ForwardStyleOfColumn(int column) {
  constexpr int kColumnStyles[] = {1, 2, 3, 4, 6, 5};
  if (column < 0 || column >= static_cast<int>(std::size(kColumnStyles))) return 0;
  return kColumnStyles[column];
}

int StyleAfterChoosing(int currentStyle, int forwardStyle) {
  bool currentIsForward = currentStyle >= 0 && currentStyle < kReverseSortOffset;
  if (forwardStyle == currentStyle && currentIsForward) return forwardStyle + kReverseSortOffset;
  return forwardStyle;
}

std::size_t SortedPosition(const std::vector<const library::Block*>& blocks, std::size_t index,
                           int sortStyle) {
  if (index >= blocks.size()) return index;
  std::vector<std::int64_t> keys = SortKeys(blocks, sortStyle);
  bool descending = IsDescending(sortStyle);
  std::int64_t key = keys[index];
  std::size_t position = 0;
  for (std::size_t other = 0; other < keys.size(); ++other) {
    bool before = descending ? keys[other] > key : keys[other] < key;
    if (before || (keys[other] == key && other < index)) ++position;
  }
  return position;
}

void SortBlockList(fw::ListCtrl& list, int sortStyle) {
  std::unordered_map<fw::ItemData, std::int64_t> keyOf;
  {
    // Items leave the list before their blocks are deleted, and that happens under these locks.
    std::lock_guard<fw::CriticalSection> library(library::TheLibrary().Lock());
    std::shared_lock fields(library::BlockFieldsLock());
    std::vector<fw::ListItem> items = list.GetItems(0, list.GetItemCount());
    std::vector<const library::Block*> blocks;
    std::vector<fw::ItemData> data;
    blocks.reserve(items.size());
    for (const fw::ListItem& item : items) {
      if (item.data == 0) continue;
      blocks.push_back(reinterpret_cast<const library::Block*>(item.data));
      data.push_back(item.data);
    }
    std::vector<std::int64_t> keys = SortKeys(blocks, sortStyle);
    keyOf.reserve(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) keyOf.emplace(data[i], keys[i]);
  }
  list.SortItemsByKey(
      [&keyOf](fw::ItemData data) {
        auto found = keyOf.find(data);
        return found != keyOf.end() ? found->second : 0;
      },
      IsDescending(sortStyle));
}

}  // namespace ui
