// PNG previews: decoding with bounded memory, and the byte layout of the packed bitmap a PNG
// preview becomes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dwgprobe/PackedBitmap.h"
#include "fw/Png.h"

namespace {

std::vector<std::uint8_t> Encoded(const std::vector<std::uint8_t>& pixels, int width, int height,
                                  bool alpha = false) {
  const fw::Result<std::vector<std::uint8_t>> png = fw::EncodePng(pixels, width, height, alpha);
  EXPECT_TRUE(png.Ok());
  return png.Ok() ? png.Value() : std::vector<std::uint8_t>{};
}

bool Mentions(const std::wstring& message, const std::wstring& part) {
  return message.find(part) != std::wstring::npos;
}

TEST(PackedBitmapFromPng, WritesTheHeaderAndBottomUpBgrRowsByteForByte) {
  // 3 x 2: top row red, green, blue; bottom row 1, 2, 3 ... 9 as R, G, B bytes.
  const std::vector<std::uint8_t> rgb = {255, 0, 0, 0, 255, 0, 0, 0, 255,
                                         1,   2, 3, 4, 5,   6, 7, 8, 9};
  const fw::Result<dwgprobe::PackedBitmap> bitmap =
      dwgprobe::PackedBitmapFromPng(Encoded(rgb, 3, 2));
  ASSERT_TRUE(bitmap.Ok());
  EXPECT_TRUE(bitmap.Value().fromPng);
  const std::vector<std::uint8_t> expected = {
      40, 0, 0, 0,  3, 0, 0, 0,  2, 0, 0, 0,  1, 0,  24, 0,  0, 0, 0, 0,  24, 0, 0, 0,
      1, 0, 0, 0,   1, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0,
      3, 2, 1, 6, 5, 4, 9, 8, 7, 0, 0, 0,             // last image row first, padded to 12
      0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 0};
  static_assert(40 + 2 * 12 == 64);
  EXPECT_EQ(bitmap.Value().bytes, expected);
}

TEST(Png, DecodesToRgbDroppingAlphaAndRoundTrips) {
  const std::vector<std::uint8_t> rgba = {10, 20, 30, 0, 40, 50, 60, 255};
  const fw::Result<fw::PngImage> image = fw::DecodePng(Encoded(rgba, 2, 1, true));
  ASSERT_TRUE(image.Ok());
  EXPECT_EQ(image.Value().width, 2);
  EXPECT_EQ(image.Value().height, 1);
  EXPECT_EQ(image.Value().rgb, (std::vector<std::uint8_t>{10, 20, 30, 40, 50, 60}));
  EXPECT_FALSE(fw::EncodePng(rgba, 3, 1, true).Ok());
}

TEST(Png, RefusesStatedSizesBeyondTheLimitsBeforeDecoding) {
  const std::vector<std::uint8_t> png = Encoded(std::vector<std::uint8_t>(4 * 4 * 3, 7), 4, 4);
  const fw::Result<fw::PngImage> image = fw::DecodePng(png, fw::PngLimits{16384, 47});
  ASSERT_FALSE(image.Ok());
  EXPECT_TRUE(Mentions(image.Message(), L"4 x 4")) << std::string(image.Message().begin(), image.Message().end());
  EXPECT_FALSE(fw::DecodePng(png, fw::PngLimits{3, 1000}).Ok());
  EXPECT_TRUE(fw::DecodePng(png, fw::PngLimits{4, 48}).Ok());
}

TEST(PackedBitmapFromPng, RefusesAPreviewWiderThanTheSixteenBitFields) {
  const std::vector<std::uint8_t> png = Encoded(std::vector<std::uint8_t>(65536 * 3, 0), 65536, 1);
  const fw::Result<dwgprobe::PackedBitmap> bitmap = dwgprobe::PackedBitmapFromPng(png);
  ASSERT_FALSE(bitmap.Ok());
  EXPECT_TRUE(Mentions(bitmap.Message(), L"65536 x 1"));
  EXPECT_TRUE(Mentions(bitmap.Message(), L"65535"));
}

TEST(PackedBitmapFromPng, EveryDamagedOrCutStreamFailsCleanlyOrConverts) {
  const std::vector<std::uint8_t> valid =
      Encoded({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, 2, 2);
  EXPECT_FALSE(dwgprobe::PackedBitmapFromPng({}).Ok());
  for (std::size_t i = 0; i < valid.size(); ++i) {
    std::vector<std::uint8_t> damaged = valid;
    damaged[i] ^= 0xFF;
    (void)dwgprobe::PackedBitmapFromPng(damaged);
    EXPECT_FALSE(dwgprobe::PackedBitmapFromPng(
                     std::vector<std::uint8_t>(valid.begin(), valid.begin() + static_cast<long>(i)))
                     .Ok());
  }
}

}  // namespace
