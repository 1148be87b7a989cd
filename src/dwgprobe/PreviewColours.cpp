// The process-wide preview colours and the recolouring of a stored preview's palette to them.
#include <algorithm>
#include <atomic>

#include "dwgprobe/Thumbnails.h"
#include "fw/PackedDib.h"

namespace dwgprobe {
namespace {

// Our host's model-space background until the dialog sets the user's.
std::atomic<fw::COLORREF> previewBackground{fw::RGB(0, 0, 0)};

// The backgrounds on which the foreground is black: white, the six full primaries and
// secondaries, and light grey.
bool IsLightBackground(fw::COLORREF colour) {
  constexpr fw::COLORREF kLight[] = {
      fw::RGB(255, 255, 255), fw::RGB(255, 0, 255), fw::RGB(0, 255, 255),
      fw::RGB(0, 0, 255),     fw::RGB(255, 0, 0),   fw::RGB(0, 255, 0),
      fw::RGB(255, 255, 0),   fw::RGB(192, 192, 192)};
  for (fw::COLORREF light : kLight) {
    if (colour == light) return true;
  }
  return false;
}

constexpr std::size_t kMaxRecolouredEntries = 256;

}  // namespace

PreviewColours GetPreviewColours() {
  const fw::COLORREF background = previewBackground.load();
  return PreviewColours{background, IsLightBackground(background) ? 0 : 255};
}

void SetPreviewBackground(fw::COLORREF background) {
  previewBackground.store(background & 0x00FFFFFF);
}

fw::Result<std::vector<std::uint8_t>> RecolouredPreview(const PackedBitmap& bitmap,
                                                        PreviewColours colours) {
  using Recoloured = fw::Result<std::vector<std::uint8_t>>;
  const fw::Result<fw::PackedDib> dib = fw::PackedDib::Parse(bitmap.bytes);
  if (!dib) return Recoloured::Failure(dib.Message());
  std::vector<std::uint8_t> bytes = bitmap.bytes;
  if (bitmap.fromPng) return Recoloured::Success(std::move(bytes));

  const auto grey = static_cast<std::uint8_t>(colours.contrast);
  const std::size_t entries = std::min(dib.Value().PaletteCount(), kMaxRecolouredEntries);
  for (std::size_t i = 0; i < entries; ++i) {
    std::uint8_t* entry = bytes.data() + dib.Value().PaletteOffset() + i * 4;
    if (entry[0] == 255 && entry[1] == 255 && entry[2] == 255) {
      entry[0] = fw::GetBValue(colours.background);
      entry[1] = fw::GetGValue(colours.background);
      entry[2] = fw::GetRValue(colours.background);
    } else if (entry[0] == 0 && entry[1] == 0 && entry[2] == 0) {
      entry[0] = entry[1] = entry[2] = grey;
    }
  }
  return Recoloured::Success(std::move(bytes));
}

}  // namespace dwgprobe
