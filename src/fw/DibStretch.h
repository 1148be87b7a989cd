// Drawing a packed bitmap stretched onto a raster bitmap, combining or repeating pixels as the
// platform's StretchDIBits does.
#pragma once

#include <cstdint>
#include <span>

#include "fw/Bitmap.h"
#include "fw/Result.h"

namespace fw {

struct DibRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// Draws the source rectangle of the packed bitmap `dib` into the destination rectangle of
// `target`, clipped to the target. The source y counts from the bottom for a bottom-up bitmap
// and from the top for a top-down one. A clear error, and nothing drawn, for bytes that are not
// a bitmap we draw, a source rectangle outside the bitmap, empty or negative (mirroring)
// extents, or a destination beyond the size cap.
Status StretchDib(Bitmap& target, DibRect destination, DibRect source,
                  std::span<const std::uint8_t> dib, int mode);

}  // namespace fw
