// The one way a text of the model reaches wxWidgets: every fw wide string becomes a wxString that
// is always valid, whatever bytes a drawing's name had on disk, and never absurdly long.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include <wx/strconv.h>
#include <wx/string.h>

namespace gui {

// Past this many characters a text is cut and ends with an ellipsis: no name or description
// is that long, and a window system asked to lay out megabytes of text stalls.
inline constexpr std::size_t kMaxShownChars = 4096;
// What stands for a unit that is no character (a byte of a name that was not UTF-8, a lone
// surrogate) or a control character: visible, so the user sees that something is there.
inline constexpr wchar_t kReplacementChar = L'\uFFFD';

enum class TextUse {
  kLine,       // a label or a single-line field: line ends are shown as replacements too
  kMultiline,  // a multi-line field: line ends kept
};

// The text as wx shows it: units that are not characters and control characters (but the tab,
// and line ends where kept) replaced by kReplacementChar, cut to kMaxShownChars.
std::wstring ShownText(std::wstring_view text, TextUse use = TextUse::kLine);
wxString ToWx(std::wstring_view text, TextUse use = TextUse::kLine);
// What the user typed, back to the model.
std::wstring FromWx(const wxString& text);

// A path for wx's pickers and file names, and back: the path's own bytes on disk cross
// unchanged, so a name that is not UTF-8 still names its file.
wxString PathToWx(const std::wstring& path);
std::wstring PathFromWx(const wxString& path);
// The file-name conversion both of these use: UTF-8, with each byte that is not UTF-8 kept in
// the private use area. wx's own would read such a byte as Latin-1 and write it back as UTF-8,
// naming another file; StartWindows makes this one wx's file-name conversion.
wxMBConv& FileNameConversion();

}  // namespace gui
