// The host's rules for the names of blocks, layers and linetypes.
#pragma once

#include <string_view>

namespace minicad {

// The longest symbol name the host takes.
inline constexpr std::size_t kMaxSymbolNameLength = 255;

// 1 to 255 characters, no control character and none of  < > / \ : ; ? * | , = `, not blanks
// only. A name from an external reference ("XREF|NAME", bars between valid names) only when
// `dependent` is set; a name starting with "*" only when `reserved` is set (the layouts and the
// host's anonymous blocks).
bool IsValidSymbolName(std::wstring_view name, bool dependent = false, bool reserved = false);

// "*Model_Space" and the "*Paper_Space..." names, in any case.
bool IsLayoutName(std::wstring_view name);

}  // namespace minicad
