// The stored forms of a scheme's maps and default target in the initialisation file: a
// variable target carries the prefix "Var:", recognised without regard to case; a map is
// "FROM,To", split at the first comma.
#pragma once

#include <string>
#include <string_view>

namespace layermap {

inline constexpr std::wstring_view kVariablePrefix = L"Var:";

// A value read from the file: the text without its prefix, and whether it had one.
struct PrefixedValue {
  std::wstring value;
  bool isVariable = false;
};

// True when the first 4 characters are "Var:" in any case.
bool HasVariablePrefix(std::wstring_view text);
PrefixedValue SplitVariablePrefix(std::wstring_view text);
// "Var:" + value for a variable, else the value.
std::wstring JoinVariablePrefix(std::wstring_view value, bool isVariable);

// A map read from the file: From (upper-cased), To without prefix, and the variable flag. A
// text without a comma gives an empty From and the whole text as To.
struct StoredMap {
  std::wstring from;
  std::wstring to;
  bool isVariable = false;
};

StoredMap ParseStoredMap(std::wstring_view text);
std::wstring FormatStoredMap(std::wstring_view from, std::wstring_view to, bool isVariable);

}  // namespace layermap
