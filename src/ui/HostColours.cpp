// Reading the host's colour settings.
#include "ui/HostColours.h"

#include "arx/aced.h"

namespace ui {

// Black, as hosts draw model space by default, when the host cannot tell its colours.
fw::COLORREF ReadModelBackground() {
  AcColorSettings colours{};
  if (!acedGetCurrentColors(&colours)) return fw::RGB(0, 0, 0);
  return static_cast<fw::COLORREF>(colours.dwGfxModelBkColor);
}

}  // namespace ui
