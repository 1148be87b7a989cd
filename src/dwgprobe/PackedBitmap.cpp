// Conversion of a drawing's PNG preview into the 24-bit packed bitmap the thumbnails are drawn
// from.
#include "dwgprobe/PackedBitmap.h"

#include <cstddef>
#include <string>

#include "fw/Png.h"

namespace dwgprobe {
namespace {

// The converted bitmap, every integer little-endian:
//   header, 40 bytes: size u32 40; width u32 and height u32, each a 16-bit value in its low two
//     bytes (upper bytes 0, height positive: rows bottom-up); planes u16 1; bit count u16 24;
//     compression u32 0; image size u32 = total length - 40; horizontal and vertical
//     resolution u32 1 each; colours used and important u32 0 each;
//   no palette;
//   rows from the last image row to the first, each pixel blue, green, red, each row padded
//     with zero bytes to a multiple of 4.
constexpr std::size_t kHeaderSize = 40;
// The header keeps each side in 16 bits.
constexpr int kMaxSide = 65535;
// A preview's decoded pixels; a drawing's preview is a few hundred pixels a side, so this only
// stops a damaged or hostile stream from taking the loader's memory.
constexpr std::size_t kMaxPreviewRgbBytes = std::size_t{64} << 20;

void PutU16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  bytes[at] = static_cast<std::uint8_t>(value);
  bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void PutU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  PutU16(bytes, at, value & 0xFFFF);
  PutU16(bytes, at + 2, value >> 16);
}

void WriteHeader(std::vector<std::uint8_t>& bytes, int width, int height) {
  PutU32(bytes, 0, kHeaderSize);
  PutU16(bytes, 4, static_cast<std::uint32_t>(width));
  PutU16(bytes, 8, static_cast<std::uint32_t>(height));
  PutU16(bytes, 12, 1);
  PutU16(bytes, 14, 24);
  PutU32(bytes, 24, 1);
  PutU32(bytes, 28, 1);
  PutU32(bytes, 20, static_cast<std::uint32_t>(bytes.size() - kHeaderSize));
}

}  // namespace

fw::Result<PackedBitmap> PackedBitmapFromPng(std::span<const std::uint8_t> png) {
  const fw::Result<fw::PngImage> decoded =
      fw::DecodePng(png, fw::PngLimits{kMaxSide, kMaxPreviewRgbBytes});
  if (!decoded) {
    return fw::Result<PackedBitmap>::Failure(L"PNG preview: " + decoded.Message());
  }
  const fw::PngImage& image = decoded.Value();
  const std::size_t width = static_cast<std::size_t>(image.width);
  const std::size_t height = static_cast<std::size_t>(image.height);
  const std::size_t stride = (width * 3 + 3) / 4 * 4;

  PackedBitmap bitmap;
  bitmap.fromPng = true;
  bitmap.bytes.assign(kHeaderSize + stride * height, 0);
  WriteHeader(bitmap.bytes, image.width, image.height);
  for (std::size_t row = 0; row < height; ++row) {
    const std::uint8_t* from = image.rgb.data() + (height - 1 - row) * width * 3;
    std::uint8_t* to = bitmap.bytes.data() + kHeaderSize + row * stride;
    for (std::size_t x = 0; x < width; ++x) {
      to[x * 3] = from[x * 3 + 2];
      to[x * 3 + 1] = from[x * 3 + 1];
      to[x * 3 + 2] = from[x * 3];
    }
  }
  return fw::Result<PackedBitmap>::Success(std::move(bitmap));
}

}  // namespace dwgprobe
