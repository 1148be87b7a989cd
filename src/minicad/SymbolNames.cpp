// Checking symbol names.
#include "minicad/SymbolNames.h"

#include "arx/dbsymtb.h"
#include "fw/Strings.h"

namespace minicad {
namespace {

constexpr std::wstring_view kForbidden = L"<>/\\:;?*|,=`";

}  // namespace

bool IsValidSymbolName(std::wstring_view name, bool dependent, bool reserved) {
  if (name.empty() || name.size() > kMaxSymbolNameLength) return false;
  if (reserved && name.front() == L'*') name.remove_prefix(1);
  if (name.empty()) return false;
  if (dependent) {
    // Bars between the names of the references and the name in the referenced drawing.
    if (name.find(L'|') == std::wstring_view::npos) return false;
    for (std::size_t start = 0;;) {
      const std::size_t bar = name.find(L'|', start);
      if (!IsValidSymbolName(name.substr(start, bar - start))) return false;
      if (bar == std::wstring_view::npos) return true;
      start = bar + 1;
    }
  }
  for (wchar_t c : name) {
    if (c < 0x20 || c == 0x7F || kForbidden.find(c) != std::wstring_view::npos) return false;
  }
  // A name of blanks only cannot be typed back.
  return name.find_first_not_of(L' ') != std::wstring_view::npos;
}

bool IsLayoutName(std::wstring_view name) {
  constexpr std::wstring_view kPaperSpace = ACDB_PAPER_SPACE;
  if (fw::EqualsNoCase(name, ACDB_MODEL_SPACE)) return true;
  return name.size() >= kPaperSpace.size() &&
         fw::EqualsNoCase(name.substr(0, kPaperSpace.size()), kPaperSpace);
}

}  // namespace minicad
