// Scaling a packed bitmap to a new size with a smooth filter, for pictures a person looks at
// apart from the platform's drawing (a file manager's thumbnails).
#pragma once

#include <cstdint>
#include <span>

#include "fw/Bitmap.h"
#include "fw/DibStretch.h"
#include "fw/Result.h"

namespace fw {

// The source rectangle of the packed bitmap `dib` scaled to a new bitmap of `width` x `height`
// pixels. Each pixel is the average of the source area it covers, fractions of pixels included
// (a box filter), so a one-pixel line shrinks to a fainter line instead of vanishing or
// thickening as the stretch modes make it. The source y counts from the bottom for a bottom-up
// bitmap and from the top for a top-down one, as in StretchDib. A clear error, and no bitmap, for
// bytes that are not a bitmap we draw, a source rectangle outside the bitmap or empty, or a
// target size that is not positive or beyond 65536 on a side.
Result<Bitmap> ResampleDib(std::span<const std::uint8_t> dib, DibRect source, int width,
                           int height);

}  // namespace fw
