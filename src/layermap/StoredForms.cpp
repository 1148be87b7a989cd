// Reading and writing the stored forms of maps and variable targets.
#include "layermap/StoredForms.h"

#include "fw/Strings.h"

namespace layermap {

bool HasVariablePrefix(std::wstring_view text) {
  return text.size() >= kVariablePrefix.size() &&
         fw::EqualsNoCase(text.substr(0, kVariablePrefix.size()), kVariablePrefix);
}

PrefixedValue SplitVariablePrefix(std::wstring_view text) {
  if (!HasVariablePrefix(text)) return PrefixedValue{std::wstring(text), false};
  return PrefixedValue{std::wstring(text.substr(kVariablePrefix.size())), true};
}

std::wstring JoinVariablePrefix(std::wstring_view value, bool isVariable) {
  std::wstring joined = isVariable ? std::wstring(kVariablePrefix) : std::wstring();
  joined += value;
  return joined;
}

StoredMap ParseStoredMap(std::wstring_view text) {
  std::size_t comma = text.find(L',');
  std::wstring_view from =
      comma == std::wstring_view::npos ? std::wstring_view() : text.substr(0, comma);
  std::wstring_view rest = comma == std::wstring_view::npos ? text : text.substr(comma + 1);
  PrefixedValue to = SplitVariablePrefix(rest);
  return StoredMap{fw::ToUpper(from), std::move(to.value), to.isVariable};
}

std::wstring FormatStoredMap(std::wstring_view from, std::wstring_view to, bool isVariable) {
  std::wstring stored(from);
  stored += L',';
  stored += JoinVariablePrefix(to, isVariable);
  return stored;
}

}  // namespace layermap
