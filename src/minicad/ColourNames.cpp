// Reading and writing colours at prompts.
#include "minicad/ColourNames.h"

#include <cwchar>

#include "fw/Strings.h"

namespace minicad {

std::optional<int> ParseColour(std::wstring_view answer, bool logical) {
  static constexpr const wchar_t* kNames[] = {L"RED",  L"YELLOW",  L"GREEN", L"CYAN",
                                              L"BLUE", L"MAGENTA", L"WHITE"};
  const std::wstring upper = fw::ToUpper(answer);
  if (logical && upper == L"BYLAYER") return 256;
  if (logical && upper == L"BYBLOCK") return 0;
  for (int i = 0; i < 7; ++i) {
    if (upper == kNames[i]) return i + 1;
  }
  wchar_t* end = nullptr;
  const long index = std::wcstol(upper.c_str(), &end, 10);
  if (upper.empty() || *end != L'\0' || index < 1 || index > 255) return std::nullopt;
  return static_cast<int>(index);
}

std::wstring ColourText(int index) {
  if (index == 256) return L"BYLAYER";
  if (index == 0) return L"BYBLOCK";
  return std::to_wstring(index);
}

}  // namespace minicad
