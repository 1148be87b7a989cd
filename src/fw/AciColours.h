// The host's colour index: what colour each index 1-255 stands for on screen, in previews and in
// the colour dialog.
#pragma once

#include "fw/Bitmap.h"

namespace fw {

// The colour of index 1-255. Index 7 is the contrast colour of the background (white on dark
// backgrounds, black on light ones); anything else gives the contrast colour too.
COLORREF AciColour(int index, COLORREF background);

}  // namespace fw
