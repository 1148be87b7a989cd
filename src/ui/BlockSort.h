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

// The forward style a click on report column 0..5 sorts by (Name, Type, Description, Size,
// Created, Modified); 0 (None) for another column.
int ForwardStyleOfColumn(int column);
// The style to store when the user asks for a forward style (1..6) by a column or the menu:
// the reverse one when that forward style is the current style, else the forward one. So the
// same choice again alternates between ascending and descending, and a new one starts
// ascending.
int StyleAfterChoosing(int currentStyle, int forwardStyle);

// Where blocks[index] stands in a list of `blocks`, added in their order, once sorted by the
// style (ties keep the order added, as SortBlockList does). The caller holds what keeps the
// blocks alive and still.
std::size_t SortedPosition(const std::vector<const library::Block*>& blocks, std::size_t index,
                           int sortStyle);

// Sorts the items of a block list by the style: ties, and every pair under None and RevNone,
// keep the order the items were added in; styles 8..13 sort descending. Reads the blocks under
// the library lock and the block fields lock. Dialog's thread.
void SortBlockList(fw::ListCtrl& list, int sortStyle);

}  // namespace ui
