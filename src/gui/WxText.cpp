// Model texts made safe for wxWidgets.
#include "gui/WxText.h"

#include "fw/NativePath.h"

namespace gui {
namespace {

bool IsCharacter(char32_t unit) {
  return unit < 0xD800 || (unit > 0xDFFF && unit <= 0x10FFFF);
}

bool IsControl(char32_t unit) { return unit < 0x20 || (unit >= 0x7F && unit < 0xA0); }

}  // namespace

std::wstring ShownText(std::wstring_view text, TextUse use) {
  const bool cut = text.size() > kMaxShownChars;
  if (cut) text = text.substr(0, kMaxShownChars - 1);
  std::wstring shown;
  shown.reserve(text.size() + (cut ? 1 : 0));
  for (wchar_t c : text) {
    const auto unit = static_cast<char32_t>(c);
    const bool keep = unit == U'\t' || (use == TextUse::kMultiline && unit == U'\n');
    if (!IsCharacter(unit) || (IsControl(unit) && !keep)) {
      // A line end of a Windows text in a multi-line field is part of its line end.
      if (use == TextUse::kMultiline && unit == U'\r') continue;
      shown += kReplacementChar;
    } else {
      shown += c;
    }
  }
  if (cut) shown += L'\u2026';
  return shown;
}

wxString ToWx(std::wstring_view text, TextUse use) { return wxString(ShownText(text, use)); }

std::wstring FromWx(const wxString& text) { return text.ToStdWstring(); }

wxMBConv& FileNameConversion() {
  static wxMBConvUTF8 conversion(wxMBConvUTF8::MAP_INVALID_UTF8_TO_PUA);
  return conversion;
}

wxString PathToWx(const std::wstring& path) {
  const std::string bytes = fw::NativePath(path);
  return wxString(bytes.c_str(), FileNameConversion());
}

std::wstring PathFromWx(const wxString& path) {
  const wxCharBuffer bytes = FileNameConversion().cWC2MB(path.wc_str());
  return fw::FromNativePath(bytes.data() != nullptr ? bytes.data() : "");
}

}  // namespace gui
