// A drawing's preview as the probe hands it on: a packed device-independent bitmap (a 40-byte
// BITMAPINFOHEADER, its palette, then the pixel rows), read from the drawing, from a side
// bitmap file, or converted from a PNG preview.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "fw/Result.h"

namespace dwgprobe {

struct PackedBitmap {
  std::vector<std::uint8_t> bytes;
  // Converted from a PNG preview: 24 bits, no palette, never recoloured.
  bool fromPng = false;
};

// Decodes a PNG stream to 8-bit RGB and converts it into a 24-bit packed bitmap laid out byte
// by byte as previews converted from PNG are (bottom-up rows of blue, green, red, padded to
// four bytes). A PNG the decoder refuses, or whose stated size is beyond the preview caps, is a
// clear error; memory stays bounded.
fw::Result<PackedBitmap> PackedBitmapFromPng(std::span<const std::uint8_t> png);

}  // namespace dwgprobe
