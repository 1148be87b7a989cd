// A validated view of a packed device-independent bitmap (header, colour masks, palette, pixel
// rows in one block of bytes): what the raster context draws with StretchDIBits.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "fw/Bitmap.h"
#include "fw/Result.h"

namespace fw {

// A packed bitmap, every integer little-endian:
//   BITMAPINFOHEADER (biSize bytes: 40, or 108 / 124 for the later headers, whose extra fields
//     are ignored except the colour masks at offset 40): biSize u32, biWidth i32, biHeight i32
//     (positive: rows stored bottom-up; negative: top-down), biPlanes u16, biBitCount u16
//     (1, 4, 8, 16, 24 or 32), biCompression u32 (0 BI_RGB, 3 BI_BITFIELDS for 16 and 32 bits),
//     biSizeImage u32, two resolutions i32, biClrUsed u32, biClrImportant u32;
//   with BI_BITFIELDS and a 40-byte header: three u32 masks (red, green, blue);
//   the palette: biClrUsed entries, or 2^bitCount when that is 0 and bitCount <= 8, else none;
//     each entry blue, green, red, reserved;
//   the rows, each ((width * bitCount + 31) / 32) * 4 bytes.
// The view does not own the bytes: they must outlive it.
class PackedDib {
 public:
  static constexpr std::uint32_t kRgb = 0;
  static constexpr std::uint32_t kBitFields = 3;

  // A clear error naming the field and the numbers when the header is not one we draw or the
  // bytes are too few for the header, masks, palette and rows it states.
  static Result<PackedDib> Parse(std::span<const std::uint8_t> bytes);

  int Width() const { return width_; }
  int Height() const { return height_; }  // always positive
  bool IsTopDown() const { return topDown_; }
  int BitCount() const { return bitCount_; }
  std::uint32_t Compression() const { return compression_; }
  std::size_t PaletteOffset() const { return paletteOffset_; }
  std::size_t PaletteCount() const { return paletteCount_; }
  std::size_t PixelOffset() const { return pixelOffset_; }

  // The stored value of pixel (x, y), y counted from the top of the image: a palette index, or
  // the 16-, 24- or 32-bit pixel as it is stored. The coordinates must lie inside the image.
  std::uint32_t RawPixel(int x, int y) const;
  // The stored bytes of row y (counted from the top), Stride() of them.
  std::size_t Stride() const { return stride_; }
  const std::uint8_t* StoredRow(int y) const;
  // The raw values of `count` pixels starting at column x of a row laid out as this bitmap's
  // rows are (a stored row, or rows combined byte by byte), into `out`: the values RawPixel
  // gives, decoded a row at a time for the stretch's inner loop.
  void DecodeRow(const std::uint8_t* row, int x, int count, std::uint32_t* out) const;
  // The colour a stored value stands for; a palette index past the palette is black.
  COLORREF ColourOf(std::uint32_t raw) const;

 private:
  PackedDib() = default;

  std::span<const std::uint8_t> bytes_;
  int width_ = 0;
  int height_ = 0;
  bool topDown_ = false;
  int bitCount_ = 0;
  std::uint32_t compression_ = kRgb;
  std::array<std::uint32_t, 3> masks_{};  // red, green, blue, for 16 and 32 bits
  std::size_t paletteOffset_ = 0;
  std::size_t paletteCount_ = 0;
  std::size_t pixelOffset_ = 0;
  std::size_t stride_ = 0;
};

// The rectangle (x, y, width, height; y from the top) of a bitmap as a packed 32-bit top-down
// bitmap with a 40-byte header, for drawing it with StretchDIBits. The rectangle must lie inside
// the bitmap.
std::vector<std::uint8_t> PackBitmap(const Bitmap& bitmap, int x, int y, int width, int height);

}  // namespace fw
