// Encoding previews as packed bitmaps and PNG streams.
#include "minicad/PreviewImage.h"

#include <unordered_map>

#include "fw/ByteWriter.h"
#include "fw/PackedDib.h"
#include "fw/Png.h"
#include "fw/AciColours.h"

namespace minicad {
namespace {

constexpr std::uint32_t kInfoHeaderBytes = 40;
// A kept preview is converted only up to this many pixels: real previews have a few hundred
// thousand, and the conversion holds the whole picture in memory.
constexpr std::size_t kMaxConvertedPixels = std::size_t{16} << 20;

std::size_t Stride(int width, int bitCount) {
  return ((static_cast<std::size_t>(width) * bitCount + 31) / 32) * 4;
}

void WriteInfoHeader(fw::ByteWriter& out, int width, int height, int bitCount,
                     std::uint32_t imageBytes, std::uint32_t coloursUsed) {
  out.U32(kInfoHeaderBytes);
  out.U32(static_cast<std::uint32_t>(width));
  out.U32(static_cast<std::uint32_t>(height));
  out.U16(1);
  out.U16(static_cast<std::uint16_t>(bitCount));
  out.U32(0);  // no compression
  out.U32(imageBytes);
  out.U32(1);  // resolutions, as the host writes them
  out.U32(1);
  out.U32(coloursUsed);
  out.U32(0);
}

void PutColour(fw::ByteWriter& out, fw::COLORREF colour) {
  out.U8(fw::GetBValue(colour));
  out.U8(fw::GetGValue(colour));
  out.U8(fw::GetRValue(colour));
  out.U8(0);
}

// A 24-bit packed bitmap of RGB rows from the top.
std::vector<std::uint8_t> Bmp24(const std::vector<std::uint8_t>& rgb, int width, int height) {
  const std::size_t stride = Stride(width, 24);
  std::vector<std::uint8_t> bytes;
  fw::ByteWriter out(bytes);
  WriteInfoHeader(out, width, height, 24, static_cast<std::uint32_t>(stride * height), 0);
  for (int y = height - 1; y >= 0; --y) {
    const std::size_t rowStart = bytes.size();
    for (int x = 0; x < width; ++x) {
      const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
      out.U8(rgb[at + 2]);
      out.U8(rgb[at + 1]);
      out.U8(rgb[at]);
    }
    bytes.resize(rowStart + stride, 0);
  }
  return bytes;
}

}  // namespace

StoredPreview EncodeBmpPreview(const fw::Bitmap& image, fw::COLORREF background) {
  const int width = image.Width();
  const int height = image.Height();
  const std::size_t stride = Stride(width, 8);
  std::vector<std::uint8_t> bytes;
  fw::ByteWriter out(bytes);
  WriteInfoHeader(out, width, height, 8, static_cast<std::uint32_t>(stride * height), 256);
  std::unordered_map<fw::COLORREF, std::uint8_t> indexes{{background, 0}};
  PutColour(out, background);
  for (int index = 1; index < 256; ++index) {
    const fw::COLORREF colour = fw::AciColour(index, background);
    indexes.try_emplace(colour, static_cast<std::uint8_t>(index));
    PutColour(out, colour);
  }
  for (int y = height - 1; y >= 0; --y) {
    const std::size_t rowStart = bytes.size();
    for (int x = 0; x < width; ++x) {
      const auto found = indexes.find(image.GetPixel(x, y));
      out.U8(found == indexes.end() ? 7 : found->second);
    }
    bytes.resize(rowStart + stride, 0);
  }
  return StoredPreview{false, std::move(bytes)};
}

std::optional<StoredPreview> EncodePngPreview(const fw::Bitmap& image) {
  auto png = fw::EncodeBitmapPng(image);
  if (!png) return std::nullopt;
  return StoredPreview{true, png.Value()};
}

std::optional<StoredPreview> ConvertPreview(const StoredPreview& preview, bool png) {
  if (preview.png == png) return preview;
  if (preview.png) {
    fw::PngLimits limits;
    limits.maxRgbBytes = kMaxConvertedPixels * 3;
    auto decoded = fw::DecodePng(preview.bytes, limits);
    if (!decoded) return std::nullopt;
    const fw::PngImage& image = decoded.Value();
    return StoredPreview{false, Bmp24(image.rgb, image.width, image.height)};
  }
  auto dib = fw::PackedDib::Parse(preview.bytes);
  if (!dib) return std::nullopt;
  const fw::PackedDib& bitmap = dib.Value();
  if (static_cast<std::size_t>(bitmap.Width()) * bitmap.Height() > kMaxConvertedPixels) {
    return std::nullopt;
  }
  fw::Bitmap image(bitmap.Width(), bitmap.Height());
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      image.SetPixel(x, y, bitmap.ColourOf(bitmap.RawPixel(x, y)));
    }
  }
  return EncodePngPreview(image);
}

}  // namespace minicad
