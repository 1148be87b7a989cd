// A list box with one chosen item; LBS_SORT keeps it sorted. Any thread (see Control).
#pragma once

#include "fw/StringListControl.h"

namespace fw {

// The platform's error result of the string-list calls.
inline constexpr int LB_ERR = -1;

class ListBox final : public StringListControl {
 public:
  ListBox(Dialog& dialog, int index, const ControlTemplate& controlTemplate, CRect rect)
      : StringListControl(dialog, index, controlTemplate, rect,
                          (controlTemplate.style & LBS_SORT) != 0) {}

  std::wstring GetText(int index) const { return ItemText(index); }
};

}  // namespace fw
