// A preview as a drawing file stores it: a packed 8-bit bitmap (formats before 2013) or a PNG
// stream (2013 on), and the conversion of a kept preview from one to the other.
#pragma once

#include <optional>

#include "fw/Bitmap.h"
#include "minicad/AcDbImpDatabase.h"

namespace minicad {

// Packed bitmap: a 40-byte header (8 bits a pixel, resolutions 1, 256 colours used), a palette
// whose entry 0 is the background and whose entries 1-255 are the colour indexes, then the
// rows bottom-up. The image's pixels must all be palette colours, as RenderModelSpace draws.
StoredPreview EncodeBmpPreview(const fw::Bitmap& image, fw::COLORREF background);
// PNG: 8-bit RGB.
std::optional<StoredPreview> EncodePngPreview(const fw::Bitmap& image);

// The same picture in the other kind when `png` asks for it (a PNG becomes a 24-bit packed
// bitmap); nothing when the stored bytes are no picture the framework reads.
std::optional<StoredPreview> ConvertPreview(const StoredPreview& preview, bool png);

}  // namespace minicad
