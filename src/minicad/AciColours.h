// The host's colour index: what colour each index 1-255 stands for on screen and in previews.
#pragma once

#include "fw/Bitmap.h"

namespace minicad {

// The colour of index 1-255. Index 7 is the contrast colour of the background (white on dark
// backgrounds, black on light ones); anything else gives the contrast colour too.
fw::COLORREF AciColour(int index, fw::COLORREF background);

}  // namespace minicad
