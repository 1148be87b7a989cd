// Checking and quoting names for the host's command line.
#include "insert/CommandText.h"

#include "fw/Strings.h"
#include "layermap/LayerNames.h"

namespace insert {

bool IsSafeName(std::wstring_view name) {
  for (wchar_t c : name) {
    if (c == L'"' || layermap::IsControlCharacter(c)) return false;
  }
  return true;
}

std::optional<std::wstring> TypedName(std::wstring_view name) {
  if (!IsSafeName(name)) return std::nullopt;
  const bool plain = !name.empty() && name.front() != L'(' && name.front() != L'\'' &&
                     name.find(L' ') == std::wstring_view::npos;
  if (plain) return std::wstring(name);
  return L"\"" + std::wstring(name) + L"\"";
}

std::wstring UnsafeNameMessage(std::wstring_view file, std::wstring_view action) {
  const std::wstring shown = layermap::VisibleName(file);
  const std::wstring verb(action);
  return fw::Format(
      L"\"%s\" was not %s: its name holds a line end, a control character or a double quote, "
      L"which the command line would not take as part of a name. Rename the drawing and try "
      L"again.",
      shown.c_str(), verb.c_str());
}

}  // namespace insert
