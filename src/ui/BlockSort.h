// The sort styles of the block list as integer keys: 0 None, 1 Name, 2 Type, 3 Description,
// 4 Size, 5 Modified, 6 Created; 7..13 the same keys reversed.
#pragma once

#include <cstdint>
#include <vector>

#include "fw/ListCtrl.h"

namespace library {
class Block;
}

namespace ui {

inline constexpr int kSortStyleCount = 14;
inline constexpr int kReverseSortOffset = 7;

// One key per block for the style's key (style mod 7): the rank of the name or description among
// the blocks given (compared without regard to case, equal texts sharing a rank), the version
// index, the size, or a time; 0 for None. The caller holds what keeps the blocks alive and still.
std::vector<std::int64_t> SortKeys(const std::vector<const library::Block*>& blocks, int sortStyle);

// Sorts the items of a block list by the style: ties, and every pair under None and RevNone,
// keep the order the items were added in; styles 8..13 sort descending. Reads the blocks under
// the library lock and the block fields lock. Dialog's thread.
void SortBlockList(fw::ListCtrl& list, int sortStyle);

}  // namespace ui
