// Reads over the store that the settings sections share: a value that is empty when missing, a
// missing key told from an empty value, and the numbered lists ("NumPaths" with "Path1", ...).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace settings {

// "<prefix><number>", as the format "Path%d" gives "Path3".
std::wstring NumberedKey(std::wstring_view prefix, long long number);

// The stored value, empty when the section or key is missing.
std::wstring ReadStoredValue(std::wstring_view section, std::wstring_view key,
                             std::wstring_view file);
// The stored value, or none when the section or key is missing (an empty value is a value).
std::optional<std::wstring> FindStoredValue(std::wstring_view section, std::wstring_view key,
                                            std::wstring_view file);

// The values of "<prefix>1" ... "<prefix><count>" in `section`, in order, where count is the
// integer stored under `countKey` (0 when missing). Lenient with a count that does not fit the
// keys: a negative count reads nothing, and reading stops at the first number whose key is
// missing, so a count beyond the keys present (however huge) costs only the keys present. The
// file is written without gaps; in a hand-edited one, the keys after a gap are not read.
std::vector<std::wstring> ReadNumberedValues(std::wstring_view section, std::wstring_view countKey,
                                             std::wstring_view prefix, std::wstring_view file);

}  // namespace settings
