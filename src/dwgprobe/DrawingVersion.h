// The drawing version table: the six-byte version string a drawing file starts with, mapped to
// the index the library keeps and the name the block list shows.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace dwgprobe {

inline constexpr int kVersionCount = 22;
// Index 13 ("R11/12") is the last version without an image section; 14 is R13.
inline constexpr int kLastVersionWithoutImageSection = 13;
// Index 16 ("2000"), which the blocks of the internal directory carry.
inline constexpr int kInternalBlockVersion = 16;

// Display names indexed by version; index 0 is any file not in the table.
extern const std::array<const wchar_t*, kVersionCount> kVersionNames;

// The version index of a file starting with these bytes, compared exactly (case-sensitive).
// Fewer than six bytes, or six bytes not in the table, give 0.
int VersionIndex(std::span<const std::uint8_t> firstBytes);

// The display name of a version index; "Unknwn" for an index outside the table.
const wchar_t* VersionName(int index);

}  // namespace dwgprobe
