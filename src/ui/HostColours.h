// The host's model-space background colour, which previews are drawn against.
#pragma once

#include "fw/Bitmap.h"

namespace ui {

// The current colour settings' model-space background (red in the low byte). Host main thread.
fw::COLORREF ReadModelBackground();

}  // namespace ui
