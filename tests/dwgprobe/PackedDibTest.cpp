// Packed bitmaps drawn with StretchDIBits: every bit depth and row order, the shrinking rules
// against the shared golden pictures, and clean errors for bitmaps that do not fit their bytes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "DibBuilder.h"
#include "fw/Bitmap.h"
#include "fw/DibResample.h"
#include "fw/NativePath.h"
#include "fw/PackedDib.h"

namespace {

using previewtest::BuildDib;
using previewtest::DibSpec;

constexpr fw::COLORREF kBlack = fw::RGB(0, 0, 0);
constexpr fw::COLORREF kWhite = fw::RGB(255, 255, 255);

// The shared 40 x 30 source: index 1 background, index 0 on a rectangle outline and a diagonal.
std::vector<std::uint32_t> StretchSource(bool inverted) {
  std::vector<std::uint32_t> pixels(40 * 30, inverted ? 0 : 1);
  auto set = [&](int x, int y) { pixels[static_cast<std::size_t>(y * 40 + x)] = inverted ? 1 : 0; };
  for (int x = 5; x <= 34; ++x) set(x, 5), set(x, 24);
  for (int y = 5; y <= 24; ++y) set(5, y), set(34, y);
  for (int i = 0; i < 20; ++i) set(5 + i, 5 + i);
  return pixels;
}

std::vector<std::uint8_t> StretchSourceDib(std::vector<std::uint32_t> pixels) {
  DibSpec shape{.width = 40, .height = 30, .bitCount = 8, .palette = {}, .masks = {}, .pixels = {}};
  shape.palette.assign(256, kBlack);
  shape.palette[1] = kWhite;
  shape.pixels = std::move(pixels);
  return BuildDib(shape);
}

fw::Bitmap Stretched(const std::vector<std::uint8_t>& dib, int mode, fw::COLORREF fill) {
  fw::Bitmap target(13, 10);
  fw::CDC dc(target);
  dc.FillRect(0, 0, 13, 10, fill);
  dc.SetStretchBltMode(mode);
  EXPECT_TRUE(dc.StretchDIBits(0, 0, 13, 10, 0, 0, 40, 30, dib).Ok());
  return target;
}

std::string AsText(const fw::Bitmap& bitmap) {
  std::string text;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) text += bitmap.GetPixel(x, y) == kBlack ? '#' : '.';
    text += '\n';
  }
  return text;
}

std::vector<std::uint8_t> ReadGolden(const std::string& name) {
  std::ifstream in(std::filesystem::path(QRVA_SHARED_DIR) / "golden" / name, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

TEST(StretchDIBits, ShrinkingKeepsBlackLinesInBlackOnWhiteMode) {
  const fw::Bitmap out =
      Stretched(StretchSourceDib(StretchSource(false)), fw::BLACKONWHITE, kWhite);
  EXPECT_EQ(AsText(out),
            ".............\n.###########.\n.##........#.\n.#.#.......#.\n.#..#......#.\n"
            ".#...#.....#.\n.#....#....#.\n.#....##...#.\n.###########.\n.............\n");
  std::string allWhite;
  for (int y = 0; y < 10; ++y) allWhite += std::string(13, '.') + "\n";
  EXPECT_EQ(AsText(Stretched(StretchSourceDib(StretchSource(false)), fw::WHITEONBLACK, kWhite)),
            allWhite);
}

TEST(StretchDIBits, MatchesTheGoldenPicturesByteForByte) {
  struct Case {
    const char* file;
    bool inverted;
    int mode;
  };
  const Case cases[] = {{"stretch-blackonwhite-13x10.bin", false, fw::BLACKONWHITE},
                        {"stretch-whiteonblack-13x10.bin", false, fw::WHITEONBLACK},
                        {"stretch-inv-blackonwhite-13x10.bin", true, fw::BLACKONWHITE},
                        {"stretch-inv-whiteonblack-13x10.bin", true, fw::WHITEONBLACK}};
  const std::vector<std::uint8_t> source = ReadGolden("stretch-src-40x30.bin");
  const std::vector<std::uint8_t> inverted = ReadGolden("stretch-src-inv-40x30.bin");
  if (source.size() != 1200 || inverted.size() != 1200) {
    GTEST_SKIP() << "no stretch golden files under " << QRVA_SHARED_DIR;
  }
  for (const Case& c : cases) {
    const std::vector<std::uint8_t>& indices = c.inverted ? inverted : source;
    const fw::Bitmap out = Stretched(
        StretchSourceDib(std::vector<std::uint32_t>(indices.begin(), indices.end())), c.mode,
        c.inverted ? kBlack : kWhite);
    const std::vector<std::uint8_t> golden = ReadGolden(c.file);
    ASSERT_EQ(golden.size(), out.Bits().size()) << c.file;
    for (std::size_t i = 0; i < golden.size(); ++i) {
      if (i % 4 == 3) continue;  // the unused fourth byte
      ASSERT_EQ(golden[i], out.Bits()[i]) << c.file << " byte " << i;
    }
  }
}

// Four pixels of distinct colours (two for one bit), drawn 1:1.
struct DepthCase {
  int bitCount;
  bool topDown;
};

class EveryDepth : public ::testing::TestWithParam<DepthCase> {};

TEST_P(EveryDepth, DrawsEachPixelInItsColourInEitherRowOrder) {
  const auto [bitCount, topDown] = GetParam();
  const std::vector<fw::COLORREF> colours = {fw::RGB(255, 0, 0), fw::RGB(0, 255, 0),
                                             fw::RGB(0, 0, 255), fw::RGB(255, 255, 255)};
  DibSpec shape{.width = 2, .height = 2, .bitCount = bitCount, .topDown = topDown, .palette = {}, .masks = {}, .pixels = {}};
  for (int i = 0; i < 4; ++i) {
    const fw::COLORREF c = colours[static_cast<std::size_t>(i)];
    if (bitCount <= 8) {
      shape.pixels.push_back(static_cast<std::uint32_t>(bitCount == 1 ? i % 2 : 3 - i));
    } else if (bitCount == 16) {
      shape.pixels.push_back((fw::GetRValue(c) >> 3) << 10 | (fw::GetGValue(c) >> 3) << 5 |
                            (fw::GetBValue(c) >> 3));
    } else {
      shape.pixels.push_back(static_cast<std::uint32_t>(fw::GetRValue(c)) << 16 |
                            fw::GetGValue(c) << 8 | fw::GetBValue(c));
    }
  }
  if (bitCount <= 8) {
    shape.palette.assign(std::size_t{1} << bitCount, kBlack);
    for (int i = 0; i < 4 && i < (1 << bitCount); ++i) {
      shape.palette[static_cast<std::size_t>(bitCount == 1 ? i : 3 - i)] =
          colours[static_cast<std::size_t>(i)];
    }
  }
  fw::Bitmap out(2, 2);
  fw::CDC dc(out);
  ASSERT_TRUE(dc.StretchDIBits(0, 0, 2, 2, 0, 0, 2, 2, BuildDib(shape)).Ok());
  for (int i = 0; i < 4; ++i) {
    const fw::COLORREF expected = colours[static_cast<std::size_t>(bitCount == 1 ? i % 2 : i)];
    EXPECT_EQ(out.GetPixel(i % 2, i / 2), expected) << bitCount << " bits, pixel " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    PackedDib, EveryDepth,
    ::testing::Values(DepthCase{1, false}, DepthCase{1, true}, DepthCase{4, false},
                      DepthCase{4, true}, DepthCase{8, false}, DepthCase{8, true},
                      DepthCase{16, false}, DepthCase{16, true}, DepthCase{24, false},
                      DepthCase{24, true}, DepthCase{32, false}, DepthCase{32, true}));

TEST(StretchDIBits, ReadsColoursThroughBitFieldMasks) {
  // 16 bits as 5-6-5, and 32 bits with blue in the top byte.
  DibSpec rgb565{.width = 2, .height = 1, .bitCount = 16, .compression = 3, .palette = {}, .masks = {}, .pixels = {}};
  rgb565.masks = {0xF800, 0x07E0, 0x001F};
  rgb565.pixels = {0xF800, 0x07E0 | 0x001F};
  DibSpec swapped{.width = 1, .height = 1, .bitCount = 32, .compression = 3, .palette = {}, .masks = {}, .pixels = {}};
  swapped.masks = {0x0000FF00, 0x00FF0000, 0xFF000000};
  swapped.pixels = {0x12345600};
  fw::Bitmap out(2, 2);
  fw::CDC dc(out);
  ASSERT_TRUE(dc.StretchDIBits(0, 0, 2, 1, 0, 0, 2, 1, BuildDib(rgb565)).Ok());
  ASSERT_TRUE(dc.StretchDIBits(0, 1, 1, 1, 0, 0, 1, 1, BuildDib(swapped)).Ok());
  EXPECT_EQ(out.GetPixel(0, 0), fw::RGB(255, 0, 0));
  EXPECT_EQ(out.GetPixel(1, 0), fw::RGB(0, 255, 255));
  EXPECT_EQ(out.GetPixel(0, 1), fw::RGB(0x56, 0x34, 0x12));
}

TEST(StretchDIBits, CountsSourceRowsFromTheBottomOfABottomUpBitmap) {
  DibSpec shape{.width = 1, .height = 3, .bitCount = 24, .palette = {}, .masks = {}, .pixels = {}};
  shape.pixels = {0xFF0000, 0x00FF00, 0x0000FF};  // top red, middle green, bottom blue
  fw::Bitmap out(1, 3);
  fw::CDC dc(out);
  ASSERT_TRUE(dc.StretchDIBits(0, 0, 1, 1, 0, 0, 1, 1, BuildDib(shape)).Ok());
  EXPECT_EQ(out.GetPixel(0, 0), fw::RGB(0, 0, 255));
  shape.topDown = true;
  ASSERT_TRUE(dc.StretchDIBits(0, 1, 1, 1, 0, 1, 1, 1, BuildDib(shape)).Ok());
  EXPECT_EQ(out.GetPixel(0, 1), fw::RGB(0, 255, 0));
  // An unoffset, unscaled source shorter than a top-down bitmap comes from its bottom rows.
  ASSERT_TRUE(dc.StretchDIBits(0, 2, 1, 1, 0, 0, 1, 1, BuildDib(shape)).Ok());
  EXPECT_EQ(out.GetPixel(0, 2), fw::RGB(0, 0, 255));
}

TEST(StretchDIBits, EnlargesByRepeatingAndDeletesScansWhenShrinkingColourOnColour) {
  DibSpec shape{.width = 2, .height = 2, .bitCount = 24, .topDown = true, .palette = {}, .masks = {}, .pixels = {}};
  shape.pixels = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
  fw::Bitmap big(4, 4);
  fw::CDC bigDc(big);
  ASSERT_TRUE(bigDc.StretchDIBits(0, 0, 4, 4, 0, 0, 2, 2, BuildDib(shape)).Ok());
  EXPECT_EQ(big.GetPixel(1, 1), fw::RGB(255, 0, 0));
  EXPECT_EQ(big.GetPixel(2, 1), fw::RGB(0, 255, 0));
  EXPECT_EQ(big.GetPixel(3, 3), fw::RGB(255, 255, 255));

  DibSpec wide{.width = 3, .height = 2, .bitCount = 24, .topDown = true, .palette = {}, .masks = {}, .pixels = {}};
  wide.pixels = {0x000001, 0x000002, 0x000003, 0x000004, 0x000005, 0x000006};
  fw::Bitmap one(2, 1);
  fw::CDC dc(one);
  dc.SetStretchBltMode(fw::COLORONCOLOR);
  ASSERT_TRUE(dc.StretchDIBits(0, 0, 1, 1, 0, 0, 3, 2, BuildDib(wide)).Ok());
  // A one-pixel destination leaves out the last source column: last of run {0, 1}, first row.
  EXPECT_EQ(one.GetPixel(0, 0), fw::RGB(0, 0, 2));
}

// Each resampled pixel is the average of the source area it covers, fractions of pixels
// included; the source rectangle counts rows as StretchDIBits does, in either row order.
TEST(ResampleDib, AveragesTheAreaEachPixelCovers) {
  const auto grey = [](std::uint32_t level) { return level * 0x010101u; };
  struct Case {
    const char* what;
    int width;
    int height;
    bool topDown;
    std::vector<std::uint32_t> levels;  // rows from the top
    fw::DibRect source;
    int targetWidth;
    int targetHeight;
    std::vector<std::uint32_t> expected;  // grey levels, rows from the top
  };
  const Case cases[] = {
      {"halved", 4, 1, false, {0, 255, 255, 255}, {0, 0, 4, 1}, 2, 1, {128, 255}},
      {"a third of a pixel in each", 3, 1, false, {0, 255, 255}, {0, 0, 3, 1}, 2, 1, {85, 255}},
      {"a thin line stays", 5, 5, false, {255, 255, 255, 255, 255, 255, 255, 255, 255, 255,
                                          0,   0,   0,   0,   0,   255, 255, 255, 255, 255,
                                          255, 255, 255, 255, 255},
       {0, 0, 5, 5}, 1, 1, {204}},
      {"enlarged", 1, 1, false, {90}, {0, 0, 1, 1}, 3, 2, {90, 90, 90, 90, 90, 90}},
      {"bottom row of a bottom-up bitmap", 2, 2, false, {0, 0, 255, 255}, {0, 0, 2, 1}, 1, 1,
       {255}},
      {"top row of a top-down bitmap", 2, 2, true, {0, 0, 255, 255}, {0, 0, 2, 1}, 1, 1, {0}},
      {"inside a border", 3, 3, false, {0, 0, 0, 0, 200, 0, 0, 0, 0}, {1, 1, 1, 1}, 2, 2,
       {200, 200, 200, 200}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DibSpec shape{.width = c.width, .height = c.height, .bitCount = 24, .topDown = c.topDown,
                  .palette = {}, .masks = {}, .pixels = {}};
    for (std::uint32_t level : c.levels) shape.pixels.push_back(grey(level));
    const auto out = fw::ResampleDib(BuildDib(shape), c.source, c.targetWidth, c.targetHeight);
    ASSERT_TRUE(out.Ok()) << fw::NativePath(out.Message());
    std::vector<std::uint32_t> levels;
    for (int y = 0; y < c.targetHeight; ++y) {
      for (int x = 0; x < c.targetWidth; ++x) levels.push_back(out.Value().GetPixel(x, y) & 0xFF);
    }
    EXPECT_EQ(levels, c.expected);
  }
  DibSpec one{.width = 2, .height = 2, .bitCount = 24, .palette = {}, .masks = {}, .pixels = {}};
  one.pixels.assign(4, 0);
  EXPECT_FALSE(fw::ResampleDib(BuildDib(one), {1, 0, 2, 2}, 1, 1).Ok()) << "outside";
  EXPECT_FALSE(fw::ResampleDib(BuildDib(one), {0, 0, 0, 2}, 1, 1).Ok()) << "empty source";
  EXPECT_FALSE(fw::ResampleDib(BuildDib(one), {0, 0, 2, 2}, 0, 1).Ok()) << "empty target";
  EXPECT_FALSE(fw::ResampleDib({}, {0, 0, 1, 1}, 1, 1).Ok()) << "no bitmap";
}

TEST(PackedDib, FindsRowsRightAfterTheHeaderForMoreThanEightBitsWithoutColoursUsed) {
  DibSpec bare{.width = 1, .height = 1, .bitCount = 24, .palette = {}, .masks = {}, .pixels = {}};
  bare.pixels = {0x123456};
  const std::vector<std::uint8_t> bytes = BuildDib(bare);
  static_assert(40 + 4 == 44);
  ASSERT_EQ(bytes.size(), 44u);
  const fw::Result<fw::PackedDib> dib = fw::PackedDib::Parse(bytes);
  ASSERT_TRUE(dib.Ok());
  EXPECT_EQ(dib.Value().PixelOffset(), 40u);
  EXPECT_EQ(dib.Value().ColourOf(dib.Value().RawPixel(0, 0)), fw::RGB(0x12, 0x34, 0x56));

  DibSpec withPalette = bare;
  withPalette.coloursUsed = 2;
  withPalette.palette = {kBlack, kWhite};
  const std::vector<std::uint8_t> paletted = BuildDib(withPalette);
  const fw::Result<fw::PackedDib> skipped = fw::PackedDib::Parse(paletted);
  ASSERT_TRUE(skipped.Ok());
  EXPECT_EQ(skipped.Value().PixelOffset(), 48u);
  EXPECT_EQ(skipped.Value().ColourOf(skipped.Value().RawPixel(0, 0)), fw::RGB(0x12, 0x34, 0x56));
}

void ExpectError(std::vector<std::uint8_t> bytes, const std::wstring& part) {
  const fw::Result<fw::PackedDib> dib = fw::PackedDib::Parse(bytes);
  ASSERT_FALSE(dib.Ok());
  EXPECT_NE(dib.Message().find(part), std::wstring::npos) << std::string(
      dib.Message().begin(), dib.Message().end());
}

TEST(PackedDib, RefusesHeadersThatDoNotFitTheirBytesWithTheNumbers) {
  DibSpec shape{.width = 4, .height = 4, .bitCount = 8, .palette = {}, .masks = {}, .pixels = {}};
  shape.palette.assign(256, kWhite);
  shape.pixels.assign(16, 0);
  std::vector<std::uint8_t> bytes = BuildDib(shape);
  bytes.resize(bytes.size() - 1);
  ExpectError(bytes, L"needs 1080 bytes; it has 1079");
  ExpectError(std::vector<std::uint8_t>(20, 0), L"has 20 bytes");

  auto patched = [&](std::size_t at, std::uint32_t value) {
    std::vector<std::uint8_t> copy = BuildDib(shape);
    for (int i = 0; i < 4; ++i) copy[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    return copy;
  };
  ExpectError(patched(4, 0), L"width 0");
  ExpectError(patched(8, 0x80000000u), L"height -2147483648");
  ExpectError(patched(4, 70000), L"width 70000");
  ExpectError(patched(16, 1), L"compression 1");
  ExpectError(patched(32, 300), L"colours used 300");
  ExpectError(patched(0, 12), L"header size 12");
  // A huge width with a small height still has to find its rows in the bytes.
  ExpectError(patched(4, 65535), L"needs");
}

TEST(PackedDib, EveryDamagedOrCutCopyOfABitmapFailsCleanlyOrDraws) {
  DibSpec shape{.width = 5, .height = 3, .bitCount = 4, .coloursUsed = 3, .palette = {}, .masks = {}, .pixels = {}};
  shape.palette = {kBlack, kWhite, fw::RGB(255, 0, 0)};
  shape.pixels.assign(15, 2);
  const std::vector<std::uint8_t> valid = BuildDib(shape);
  auto draw = [](const std::vector<std::uint8_t>& bytes) {
    fw::Bitmap out(4, 4);
    fw::CDC dc(out);
    (void)dc.StretchDIBits(-1, 1, 3, 2, 0, 0, 5, 3, bytes);
    (void)dc.StretchDIBits(0, 0, 9, 9, 1, 1, 2, 2, bytes);
  };
  for (std::size_t i = 0; i < valid.size(); ++i) {
    for (std::uint8_t value : {std::uint8_t{0}, std::uint8_t{0xFF},
                               static_cast<std::uint8_t>(valid[i] ^ 0x80)}) {
      std::vector<std::uint8_t> damaged = valid;
      damaged[i] = value;
      draw(damaged);
    }
    draw(std::vector<std::uint8_t>(valid.begin(), valid.begin() + static_cast<long>(i)));
  }
}

}  // namespace
