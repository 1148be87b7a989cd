// Numbered keys and the missing-key test over the store's reads.
#include "settings/StoredValues.h"

#include "settings/IniFile.h"

namespace settings {
namespace {

// The store answers a missing key with the default it is given. No stored value can be a lone
// line feed (the file's lines end there, and the store writes one inside a value as a space),
// so this default marks a key as missing.
constexpr const wchar_t* kMissingMark = L"\n";

}  // namespace

std::wstring NumberedKey(std::wstring_view prefix, long long number) {
  return std::wstring(prefix) + std::to_wstring(number);
}

std::wstring ReadStoredValue(std::wstring_view section, std::wstring_view key,
                             std::wstring_view file) {
  std::wstring value;
  IniGetString(section, key, nullptr, value, file);
  return value;
}

std::optional<std::wstring> FindStoredValue(std::wstring_view section, std::wstring_view key,
                                            std::wstring_view file) {
  std::wstring value;
  IniGetString(section, key, kMissingMark, value, file);
  if (value == kMissingMark) return std::nullopt;
  return value;
}

std::vector<std::wstring> ReadNumberedValues(std::wstring_view section, std::wstring_view countKey,
                                             std::wstring_view prefix, std::wstring_view file) {
  int count = IniGetInt(section, countKey, 0, file);
  std::vector<std::wstring> values;
  // Wider than the count, so the loop cannot overflow at the largest count.
  for (long long number = 1; number <= count; ++number) {
    std::optional<std::wstring> value = FindStoredValue(section, NumberedKey(prefix, number), file);
    if (!value) break;
    values.push_back(std::move(*value));
  }
  return values;
}

}  // namespace settings
