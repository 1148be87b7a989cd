// PNG streams held in memory: decoding to 8-bit RGB with bounded memory, and encoding RGB or
// RGBA pixels (for reference pictures and thumbnails written to disk).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "fw/Bitmap.h"
#include "fw/Result.h"

namespace fw {

struct PngImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // rows from the top, three bytes (red, green, blue) a pixel
};

// What a decode may produce: the stream's stated size is checked against these before any
// pixel is decoded.
struct PngLimits {
  // Beyond what any preview or picture here needs; keeps width * height far inside 64 bits.
  int maxSide = 16384;
  // The decoded RGB pixels; keeps one decode within what a loader thread may hold.
  std::size_t maxRgbBytes = std::size_t{256} << 20;
};

// Any PNG the codec accepts, converted to 8 bits per channel RGB (alpha dropped). A clear
// error, and nothing allocated for the pixels, for a stream the codec refuses or a stated size
// beyond `limits`.
Result<PngImage> DecodePng(std::span<const std::uint8_t> png, PngLimits limits = {});

// Encodes rows from the top, three (RGB) or four (RGBA) bytes a pixel. A clear error when the
// pixel count does not match the size or the codec fails.
Result<std::vector<std::uint8_t>> EncodePng(std::span<const std::uint8_t> pixels, int width,
                                            int height, bool withAlpha);

// The bitmap's pixels as an RGB PNG stream.
Result<std::vector<std::uint8_t>> EncodeBitmapPng(const Bitmap& image);

}  // namespace fw
