// What a block description may hold before it is written into a drawing's summary information:
// one line of characters every drawing format can keep, at most 70 of them.
#pragma once

#include <string>
#include <string_view>

namespace ui {

struct CleanedDescription {
  std::wstring text;
  bool changed = false;  // something was replaced, dropped or cut
};

// Each run of line ends, tabs and other control characters becomes one blank; characters no
// encoding can carry (surrogate halves, non-characters, values beyond the last code point) are
// dropped, and the text is cut to the longest description.
CleanedDescription CleanDescription(std::wstring_view text);

}  // namespace ui
