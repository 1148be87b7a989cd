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

// The values of "<prefix>1" ... "<prefix><count>" in `section`, in order of their numbers, where
// count is the integer stored under `countKey` (0 when missing). A number whose key is missing
// is skipped (a line deleted by hand loses only itself), a key numbered beyond the count is not
// read, and a negative count reads nothing. The section's keys are walked rather than the
// numbers, so a count however huge costs only the keys present.
std::vector<std::wstring> ReadNumberedValues(std::wstring_view section, std::wstring_view countKey,
                                             std::wstring_view prefix, std::wstring_view file);

}  // namespace settings
