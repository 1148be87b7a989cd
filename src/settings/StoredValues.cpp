// Numbered keys and the missing-key test over the store's reads.
#include "settings/StoredValues.h"

#include <algorithm>
#include <utility>

#include "fw/Strings.h"
#include "settings/IniFile.h"

namespace settings {
namespace {

// The store answers a missing key with the default it is given. No stored value can be a lone
// line feed (the file's lines end there, and the store writes one inside a value as a space),
// so this default marks a key as missing.
constexpr const wchar_t* kMissingMark = L"\n";

// Digits without a leading zero, few enough for a long long.
bool IsKeyNumber(std::wstring_view digits) {
  auto isDigit = [](wchar_t c) { return c >= L'0' && c <= L'9'; };
  return !digits.empty() && digits.size() <= 18 && digits.front() != L'0' &&
         std::all_of(digits.begin(), digits.end(), isDigit);
}

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
  const int count = IniGetInt(section, countKey, 0, file);
  const std::wstring foldedPrefix = fw::ToLower(prefix);
  // The number of each key "<prefix><n>" with 1 <= n <= count, written as NumberedKey writes it
  // (no sign, no leading zero), which is the only form a lookup by number finds.
  std::vector<std::pair<long long, std::wstring>> numbered;
  for (std::wstring& key : IniGetKeys(section, file)) {
    if (!key.starts_with(foldedPrefix)) continue;
    const std::wstring_view digits = std::wstring_view(key).substr(foldedPrefix.size());
    if (!IsKeyNumber(digits)) continue;
    const long long number = std::stoll(std::wstring(digits));
    if (number <= count) numbered.emplace_back(number, std::move(key));
  }
  std::sort(numbered.begin(), numbered.end());
  std::vector<std::wstring> values;
  values.reserve(numbered.size());
  for (const auto& [number, key] : numbered) values.push_back(ReadStoredValue(section, key, file));
  return values;
}

}  // namespace settings
