// The host's drawing format level: the newest entry of the drawing version table that the host
// reads, from its ACADVER.
#pragma once

#include <optional>
#include <string_view>

namespace ui {

// The level taken when ACADVER names no version we know: the newest in the table, so that no
// drawing the table holds counts as newer than the host.
inline constexpr int kUnsetFormatLevel = 21;

// From the first two characters of ACADVER: "13" R13, "14" R14, "15" 2000, "16" 2004, "17" 2007,
// "18" 2010, "19" to "21" 2013, "22" to "24" 2018 (indexes of the version table); nothing for
// anything else.
std::optional<int> FormatLevelOf(std::wstring_view acadver);

}  // namespace ui
