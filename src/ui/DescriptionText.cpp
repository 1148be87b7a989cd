// Cleaning a description for the summary information.
#include "ui/DescriptionText.h"

#include <cstdint>

#include "ui/SideDlgIds.h"

namespace ui {
namespace {

bool IsControl(wchar_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

bool IsUnencodable(wchar_t c) {
  auto value = static_cast<std::uint32_t>(c);
  return (value >= 0xD800 && value <= 0xDFFF) || value == 0xFFFE || value == 0xFFFF ||
         value > 0x10FFFF;
}

}  // namespace

CleanedDescription CleanDescription(std::wstring_view text) {
  CleanedDescription cleaned;
  bool lastWasBreak = false;
  for (wchar_t c : text) {
    if (IsUnencodable(c)) continue;
    if (IsControl(c)) {
      if (!lastWasBreak) cleaned.text += L' ';
      lastWasBreak = true;
      continue;
    }
    cleaned.text += c;
    lastWasBreak = false;
  }
  if (cleaned.text.size() > kMaxDescriptionLength) cleaned.text.resize(kMaxDescriptionLength);
  cleaned.changed = cleaned.text != text;
  return cleaned;
}

}  // namespace ui
