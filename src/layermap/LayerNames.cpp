// Layer names as the host takes them.
#include "layermap/LayerNames.h"

#include "fw/Strings.h"

namespace layermap {
bool IsControlCharacter(wchar_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}

bool IsValidLayerName(std::wstring_view name) {
  constexpr std::wstring_view kForbidden = L"<>/\\\":;?*|,=`";
  if (name.empty() || name.size() > kMaxLayerName) return false;
  for (wchar_t c : name) {
    if (IsControlCharacter(c) || kForbidden.find(c) != std::wstring_view::npos) return false;
  }
  return true;
}

std::wstring VisibleName(std::wstring_view name) {
  std::wstring shown;
  for (wchar_t c : name) {
    if (c == L'\n') {
      shown += L"\\n";
    } else if (c == L'\r') {
      shown += L"\\r";
    } else if (c == L'\t') {
      shown += L"\\t";
    } else if (IsControlCharacter(c)) {
      shown += fw::Format(L"\\x%02X", static_cast<unsigned>(c));
    } else {
      shown += c;
    }
  }
  return shown;
}

}  // namespace layermap
