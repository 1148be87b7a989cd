// The section "Quorva Options" of the settings file: the column widths, the main cache's place
// and the integer options.
//
// Layout, keys in this order, each value a decimal integer unless said otherwise:
//   [quorva options]
//   column1width=140 ... column6width=105   the block list's report columns, in pixels
//   cachefile=<full path>                    the main cache; missing or empty: beside the file
//   blockinsert=0  readdireverytime=0  overlayxref=0  demandloadcache=0  onlycachecurrent=0
//   delcachememoryonclose=0  backupini=0  printscale=4  printtype=0
// Integers are read by the store's integer rule (digits after an optional sign, 0 without).
#pragma once

#include <string>
#include <string_view>

#include "settings/Options.h"

namespace settings {

inline constexpr const wchar_t* kOptionsSection = L"Quorva Options";

// A non-empty "CacheFile" replaces `cachePath`; otherwise it is left as it is.
void ReadCachePath(std::wstring_view file, std::wstring& cachePath);
// Every integer option. A missing key gives 0, except PrintScale and PrintType, which keep the
// value in memory.
void ReadIntegerOptions(std::wstring_view file, Options& options);
// "Column1Width" ... "Column6Width"; a missing key gives that column's default width.
void ReadColumnWidths(std::wstring_view file, Options& options);

// Writes the whole section in the order of the layout above.
void WriteOptionsSection(std::wstring_view file, const Options& options,
                         std::wstring_view cachePath);

}  // namespace settings
