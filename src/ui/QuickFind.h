// Quick find's matching: the text typed in the find box as a pattern of the host's wildcard
// matcher, and the searches for a block whose name or description it matches, in the block
// list and across the library's other directories.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace fw {
class ListCtrl;
}
namespace library {
class Block;
class Directory;
}  // namespace library

namespace ui {

// "*" + the typed text in lower case + "*", with each of the matcher's special characters
// (# @ . * ? ~ [ ] ` ,) escaped: text typed is text. A name such as "M8.5 [old]" is found by
// typing any part of it, and "*" or "?" find only what holds a star or a question mark; no
// typed text can make the search fail or match every block. (Block names and descriptions use
// these characters as plain text far more often than anyone would type a pattern, and the two
// cannot be told apart.)
std::wstring FindPattern(std::wstring_view typed);

// Whether the host's matcher (acutWcMatch) accepts the pattern for the block's name or its
// description, each in lower case. The caller holds the block fields lock.
bool BlockMatches(const std::wstring& pattern, const library::Block& b);

// The first item at display position `start` or after whose block matches, or -1. Items
// without a block (placeholders) are passed over. Takes the library lock and the block fields
// lock (shared) while it reads the blocks. Dialog's thread.
int FindInList(const std::wstring& pattern, const fw::ListCtrl& list, int start);

struct FoundBlock {
  library::Directory* directory = nullptr;
  std::size_t index = 0;  // in directory->Blocks()
};

// The first block that matches in the library's `loaded` directories other than `current`:
// those after it in library order, then those from the first up to it, each in the order of its
// blocks. Takes the library lock and the block fields lock (shared) while it reads. Dialog's
// thread, while the loader may be adding blocks to directories that are not loaded.
std::optional<FoundBlock> FindInOtherDirectories(const std::wstring& pattern,
                                                 const library::Directory* current);

}  // namespace ui
