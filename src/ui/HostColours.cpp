// Reading the host's colour settings.
#include "ui/HostColours.h"

namespace ui {

// FIXME: the host's colour settings come with the host's drawing database; until then the
// background is black, as our host draws it.
fw::COLORREF ReadModelBackground() { return fw::RGB(0, 0, 0); }

}  // namespace ui
