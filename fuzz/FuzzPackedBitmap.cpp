// Fuzz target for packed bitmaps and PNG previews: any bytes give a clean error or a drawing;
// parsing, StretchDIBits into a small bitmap in each mode, both thumbnails and the smoothly
// fitted picture of the desktop thumbnailer must never crash.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "dwgprobe/PackedBitmap.h"
#include "dwgprobe/Thumbnails.h"
#include "fw/Bitmap.h"
#include "fw/PackedDib.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  dwgprobe::PackedBitmap bitmap{std::vector<std::uint8_t>(bytes.begin(), bytes.end()), false};
  if (const auto png = dwgprobe::PackedBitmapFromPng(bytes); png.Ok()) bitmap = png.Value();

  const fw::Result<fw::PackedDib> dib = fw::PackedDib::Parse(bitmap.bytes);
  if (!dib.Ok()) return 0;
  fw::Bitmap target(17, 11);
  fw::CDC dc(target);
  for (int mode : {fw::BLACKONWHITE, fw::WHITEONBLACK, fw::COLORONCOLOR}) {
    dc.SetStretchBltMode(mode);
    (void)dc.StretchDIBits(-2, -1, 19, 9, 0, 0, dib.Value().Width(), dib.Value().Height(),
                           bitmap.bytes);
    (void)dc.StretchDIBits(3, 2, 5, 40, 1, 1, dib.Value().Width() - 1, 2, bitmap.bytes);
  }
  fw::CImageList large;
  fw::CImageList small;
  if (!large.Create(130, 96, fw::ILC_COLOR4, 1, 4) || !small.Create(66, 49, fw::ILC_COLOR4, 1, 4)) {
    return 0;
  }
  const std::vector<double> points = {3.0, 4.0, -1e9, 7.5};
  (void)dwgprobe::RenderThumbnails(&large, small, 0, bitmap, static_cast<int>(size % 30), points);
  (void)dwgprobe::RenderFittedPreview(bitmap, static_cast<int>(size % 30),
                                      1 + static_cast<int>(size % 64));
  return 0;
}
