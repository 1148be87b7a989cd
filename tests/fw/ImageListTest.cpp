// 4-bit image lists: colour matching, growth, adding and replacing images, and the image-list
// stream written byte for byte as the platform writes it, read back strictly, through archives
// and from two threads.
#include "fw/ImageList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "fw/Archive.h"
#include "fw/File.h"
#include "fw/Strings.h"

namespace {

using fw::Bitmap;
using fw::CImageList;
using fw::COLORREF;
using fw::RGB;
using Bytes = std::vector<std::uint8_t>;

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kSilver = RGB(192, 192, 192);

// Offsets of the fields of a stream with one colour bitmap.
constexpr std::size_t kCurImageAt = 4, kMaxImageAt = 6, kGrowAt = 8, kFlagsAt = 18;
constexpr std::size_t kOverlaysAt = 20, kBitmapTypeAt = 28, kFileSizeAt = 30, kBitsOffsetAt = 38;
constexpr std::size_t kInfoSizeAt = 42, kWidthAt = 46, kHeightAt = 50, kPlanesAt = 54;
constexpr std::size_t kBitCountAt = 56, kCompressionAt = 58, kSizeImageAt = 62;
constexpr std::size_t kColoursUsedAt = 74, kPaletteAt = 82, kBitsAt = 146;

// The smallest stream a 4-bit list writes: one 1 x 1 image, red (index 9), in a grid of four.
constexpr std::uint8_t kTinyStream[] = {
    // ILHEAD: 'IL', 0x0101, cCurImage 1, cMaxImage 1, cGrow 4, cx 1, cy 1, no background,
    // ILC_COLOR4, no overlays.
    0x49, 0x4C, 0x01, 0x01, 0x01, 0x00, 0x01, 0x00, 0x04, 0x00, 0x01, 0x00, 0x01, 0x00,
    0xFF, 0xFF, 0xFF, 0xFF, 0x04, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    // BITMAPFILEHEADER: 'BM', bfSize 118, reserved, bfOffBits 118.
    0x42, 0x4D, 0x76, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x76, 0x00, 0x00, 0x00,
    // BITMAPINFOHEADER: 40, 4 x 1, one plane, 4 bits, BI_RGB, 4 bytes of bits, zeros.
    0x28, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00,
    0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    // The 16 colours as blue, green, red, 0.
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0x00, 0x00, 0x80, 0x00, 0x00, 0x00, 0x80, 0x80, 0x00,
    0x80, 0x00, 0x00, 0x00, 0x80, 0x00, 0x80, 0x00, 0x80, 0x80, 0x00, 0x00, 0xC0, 0xC0, 0xC0, 0x00,
    0x80, 0x80, 0x80, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00,
    0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00,
    // One row: red, three unused cells, padding.
    0x90, 0x00, 0x00, 0x00};
static_assert(sizeof(kTinyStream) == 150);

const Bytes kTiny(std::begin(kTinyStream), std::end(kTinyStream));

std::optional<Bytes> ReadGolden(const std::string& name) {
  std::ifstream in(std::filesystem::path(QRVA_SHARED_DIR) / "golden" / name, std::ios::binary);
  if (!in) return std::nullopt;
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::uint32_t ValueAt(const Bytes& bytes, std::size_t offset, std::size_t size = 2) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < size; ++i) value |= std::uint32_t{bytes.at(offset + i)} << 8 * i;
  return value;
}

void PutAt(Bytes& bytes, std::size_t offset, std::uint32_t value, std::size_t size = 2) {
  for (std::size_t i = 0; i < size; ++i) {
    bytes.at(offset + i) = static_cast<std::uint8_t>(value >> 8 * i);
  }
}

Bitmap Filled(int width, int height, COLORREF colour) {
  Bitmap bitmap(width, height);
  fw::CDC(bitmap).FillRect(0, 0, width, height, colour);
  return bitmap;
}

Bitmap MakePlaceholder(int width, int height) {
  Bitmap bitmap(width, height);
  fw::CDC dc(bitmap);
  dc.Rectangle(0, 0, width, height);
  dc.MoveTo(0, 0);
  dc.LineTo(width, height);
  dc.MoveTo(0, height);
  dc.LineTo(width, 0);
  return bitmap;
}

// A list as the library makes them: 4-bit colour, initial capacity 1, growth 25.
CImageList MakeList(int cx, int cy, const std::vector<Bitmap>& images) {
  CImageList list;
  EXPECT_TRUE(list.Create(cx, cy, fw::ILC_COLOR4, 1, 25));
  for (const Bitmap& image : images) EXPECT_GE(list.Add(image), 0);
  return list;
}

// The golden streams and the images they were made of.
const std::vector<std::pair<std::string, std::vector<Bitmap>>>& GoldenStreams() {
  static const std::vector<std::pair<std::string, std::vector<Bitmap>>> streams = {
      {"imagelist-placeholder.il", {MakePlaceholder(130, 96)}},
      {"imagelist-placeholder-small.il", {MakePlaceholder(66, 49)}},
      {"imagelist-3.il",
       {MakePlaceholder(66, 49), Filled(66, 49, kRed), Filled(66, 49, RGB(160, 160, 160))}}};
  return streams;
}

COLORREF Stored(COLORREF colour) {
  CImageList list = MakeList(1, 1, {Filled(1, 1, colour)});
  return list.GetImage(0).GetPixel(0, 0);
}

std::pair<int, int> CountAndCapacity(const CImageList& list) {
  const Bytes stream = list.WriteStream();
  return {ValueAt(stream, kCurImageAt), ValueAt(stream, kMaxImageAt)};
}

void ExpectImages(const CImageList& list, const std::vector<Bitmap>& images) {
  ASSERT_EQ(list.GetImageCount(), static_cast<int>(images.size()));
  for (std::size_t i = 0; i < images.size(); ++i) {
    EXPECT_EQ(list.GetImage(static_cast<int>(i)).Bits(), images[i].Bits()) << "image " << i;
  }
}

// A clean error that leaves the list as it was, or a list that writes a stream it reads again.
void ExpectCleanErrorOrValidList(const Bytes& input, const std::string& what) {
  CImageList list = MakeList(2, 2, {Filled(2, 2, kWhite)});
  const Bytes before = list.WriteStream();
  std::size_t consumed = 99;
  const fw::Status status = list.ReadStream(input, &consumed);
  if (!status) {
    EXPECT_FALSE(status.Message().empty()) << what;
    EXPECT_EQ(consumed, 0u) << what;
    EXPECT_EQ(list.WriteStream(), before) << what;
    return;
  }
  EXPECT_LE(consumed, input.size()) << what;
  const Bytes written = list.WriteStream();
  CImageList again;
  EXPECT_TRUE(again.ReadStream(written)) << what;
  EXPECT_EQ(again.WriteStream(), written) << what;
}

TEST(ImageListColours, TakesTheNearestPaletteColourAndTheLowestIndexOnATie) {
  for (COLORREF colour : {kBlack, RGB(128, 0, 0), RGB(0, 128, 128), kSilver, RGB(128, 128, 128),
                          kRed, RGB(255, 0, 255), kWhite}) {
    EXPECT_EQ(Stored(colour), colour) << std::hex << colour;
  }
  EXPECT_EQ(Stored(RGB(0xA0, 0xA0, 0xA0)), kSilver);  // silver (7) and grey (8) both 3072 away
  EXPECT_EQ(Stored(RGB(0x40, 0x40, 0x40)), kBlack);   // black (0) and grey both 12288 away
  EXPECT_EQ(Stored(RGB(250, 10, 10)), kRed);
  EXPECT_EQ(Stored(RGB(0xD0, 0xD0, 0xD0)), kSilver);
  EXPECT_EQ(Stored(RGB(0xE0, 0xE0, 0xE0)), kWhite);
  Bitmap withHighByte = Filled(1, 1, RGB(0, 0, 255));
  withHighByte.Bits()[3] = 0xFF;  // ignored
  EXPECT_EQ(MakeList(1, 1, {withHighByte}).GetImage(0).GetPixel(0, 0), RGB(0, 0, 255));
}

TEST(ImageListCapacity, GrowsAsThePlatformDoes) {
  CImageList list;
  ASSERT_TRUE(list.Create(2, 2, fw::ILC_COLOR4, 1, 1));
  std::vector<std::pair<int, int>> seen = {CountAndCapacity(list)};
  for (int i = 0; i < 12; ++i) {
    ASSERT_EQ(list.Add(Filled(2, 2, kWhite)), i);
    seen.push_back(CountAndCapacity(list));
  }
  EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{0, 2}, {1, 2}, {2, 7}, {3, 7}, {4, 7},
                                                     {5, 7}, {6, 7}, {7, 12}, {8, 12}, {9, 12},
                                                     {10, 12}, {11, 12}, {12, 17}}));
}

TEST(ImageListCapacity, StoresTheGrowStepRoundedUpToFourAndRefusesWhatItCannotKeep) {
  for (auto [grow, stored] : {std::pair{-3, 4}, {1, 4}, {4, 4}, {5, 8}, {25, 28}, {70000, 65532}}) {
    CImageList list;
    ASSERT_TRUE(list.Create(4, 4, fw::ILC_COLOR4, 1, grow));
    EXPECT_EQ(ValueAt(list.WriteStream(), kGrowAt), static_cast<std::uint32_t>(stored)) << grow;
  }
  CImageList list;
  EXPECT_FALSE(list.Create(0, 10, fw::ILC_COLOR4, 1, 4));
  EXPECT_FALSE(list.Create(1025, 10, fw::ILC_COLOR4, 1, 4));
  EXPECT_FALSE(list.Create(10, 10, fw::ILC_COLOR8, 1, 4));
  EXPECT_FALSE(list.Create(10, 10, fw::ILC_COLOR8 | fw::ILC_MASK, 1, 4));
  EXPECT_FALSE(list.Create(1024, 1024, fw::ILC_COLOR4, 65534, 4));
  EXPECT_EQ(list.Add(Filled(10, 10, kWhite)), -1);
  EXPECT_TRUE(list.WriteStream().empty());
}

TEST(ImageListMask, TheMaskColourStaysTransparentWhenDrawnAndTheListIsNeverStreamed) {
  const COLORREF magenta = RGB(255, 0, 255);
  Bitmap picture = Filled(2, 1, magenta);
  picture.SetPixel(1, 0, RGB(0, 0, 128));
  CImageList masked;
  ASSERT_TRUE(masked.Create(2, 1, fw::ILC_COLOR4 | fw::ILC_MASK, 1, 4));
  ASSERT_EQ(masked.Add(picture, magenta), 0);
  Bitmap target = Filled(4, 1, kWhite);
  ASSERT_TRUE(masked.Draw(target, 0, 1, 0));
  EXPECT_EQ(target.GetPixel(1, 0), kWhite);
  EXPECT_EQ(target.GetPixel(2, 0), RGB(0, 0, 128));
  EXPECT_EQ(masked.GetImage(0).GetPixel(0, 0), RGB(0, 0, 0));
  EXPECT_TRUE(masked.WriteStream().empty());
  // A copy shares the pixels and keeps the transparency; a replaced image shows whole.
  CImageList copy;
  copy.CopyFrom(masked);
  Bitmap copied = Filled(2, 1, kWhite);
  ASSERT_TRUE(copy.Draw(copied, 0, 0, 0));
  EXPECT_EQ(copied.GetPixel(0, 0), kWhite);
  ASSERT_TRUE(masked.Replace(0, Filled(2, 1, RGB(0, 0, 128))));
  ASSERT_TRUE(masked.Draw(copied, 0, 0, 0));
  EXPECT_EQ(copied.GetPixel(0, 0), RGB(0, 0, 128));
  // Without a mask every pixel is drawn.
  CImageList plain;
  ASSERT_TRUE(plain.Create(2, 1, fw::ILC_COLOR4, 1, 4));
  ASSERT_EQ(plain.Add(picture, magenta), 0);
  ASSERT_TRUE(plain.Draw(target, 0, 1, 0));
  EXPECT_EQ(target.GetPixel(1, 0), magenta);
}

TEST(ImageListCapacity, StopsAddingAtTheSixteenBitLimit) {
  CImageList list;
  ASSERT_TRUE(list.Create(1, 1, fw::ILC_COLOR4, 65530, 4));
  const Bitmap pixel = Filled(1, 1, kWhite);
  for (int i = 0; i < 65530; ++i) ASSERT_EQ(list.Add(pixel), i);
  EXPECT_EQ(list.Add(pixel), -1);  // growing would pass 65535
  EXPECT_EQ(CountAndCapacity(list), (std::pair{65530, 65531}));
}

// The limit belongs to the list: it holds through a read and a copy, and the stream of a list
// at its limit is as long as ImageListStreamBytes says.
TEST(ImageListCapacity, StopsAtItsOwnLimitWhateverItHolds) {
  CImageList list;
  list.SetImageLimit(31);
  EXPECT_FALSE(list.Create(2, 2, fw::ILC_COLOR4, 31, 25));
  ASSERT_TRUE(list.Create(2, 2, fw::ILC_COLOR4, 1, 25));
  list.CopyFrom(MakeList(2, 2, {Filled(2, 2, kRed)}));
  for (int i = 1; i < 30; ++i) ASSERT_EQ(list.Add(Filled(2, 2, kWhite)), i);
  EXPECT_EQ(list.Add(Filled(2, 2, kWhite)), -1);  // room for 60 would pass 31
  EXPECT_EQ(CountAndCapacity(list), (std::pair{30, 31}));
  EXPECT_EQ(list.WriteStream().size(), fw::ImageListStreamBytes(2, 2, 31));
  EXPECT_EQ(MakeList(130, 96, {}).WriteStream().size(), fw::ImageListStreamBytes(130, 96, 2));
}

TEST(ImageListImages, AddCopiesTheLeftmostSliceAndWhatRowsTheBitmapHas) {
  Bitmap wide = Filled(6, 1, RGB(0, 0, 255));
  fw::CDC(wide).FillRect(0, 0, 3, 1, kRed);
  CImageList list = MakeList(3, 2, {wide});
  EXPECT_EQ(list.GetImage(0).GetPixel(2, 0), kRed);
  EXPECT_EQ(list.GetImage(0).GetPixel(2, 1), kBlack);  // the bitmap has no second row
  EXPECT_EQ(list.Add(Filled(2, 2, kRed)), -1);         // narrower than an image
  EXPECT_TRUE(list.GetImage(1).IsEmpty());
}

TEST(ImageListImages, ReplaceCopiesABitmapOfTheImageSizeAndEnlargesOthersByRepeating) {
  CImageList list = MakeList(4, 3, {Filled(4, 3, kWhite), Filled(4, 3, kWhite)});
  Bitmap picture = Filled(4, 3, kRed);
  picture.SetPixel(3, 2, RGB(0, 255, 0));
  EXPECT_TRUE(list.Replace(1, picture));
  ExpectImages(list, {Filled(4, 3, kWhite), picture});
  EXPECT_FALSE(list.Replace(2, picture));
  EXPECT_FALSE(list.Replace(0, Bitmap()));

  Bitmap source(2, 2);
  source.SetPixel(0, 0, kRed);
  source.SetPixel(1, 1, kWhite);
  ASSERT_TRUE(list.Replace(0, source));
  const Bitmap image = list.GetImage(0);
  EXPECT_EQ(image.GetPixel(1, 1), kRed);  // columns 0, 0, 1, 1 and rows 0, 0, 1 of the source
  EXPECT_EQ(image.GetPixel(2, 1), kBlack);
  EXPECT_EQ(image.GetPixel(2, 2), kWhite);
  EXPECT_EQ(image.GetPixel(1, 2), kBlack);
}

// The platform's stretch test: a 40 x 30 white picture with a black frame and diagonal shrunk
// to 13 x 10 keeps its black pixels.
TEST(ImageListImages, ReplaceShrinksKeepingBlackPixels) {
  Bitmap source = Filled(40, 30, kWhite);
  fw::CDC dc(source);
  dc.SetNullBrush(true);
  dc.Rectangle(5, 5, 35, 25);
  for (int i = 0; i < 20; ++i) source.SetPixel(5 + i, 5 + i, kBlack);
  CImageList list = MakeList(13, 10, {Filled(13, 10, kRed)});
  ASSERT_TRUE(list.Replace(0, source));
  const Bitmap image = list.GetImage(0);
  const std::vector<std::string> expected = {
      ".............", ".###########.", ".##........#.", ".#.#.......#.", ".#..#......#.",
      ".#...#.....#.", ".#....#....#.", ".#....##...#.", ".###########.", "............."};
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 13; ++x) {
      EXPECT_EQ(image.GetPixel(x, y), expected[y][x] == '#' ? kBlack : kWhite) << x << ", " << y;
    }
  }
  if (const auto golden = ReadGolden("stretch-blackonwhite-13x10.bin")) {
    for (std::size_t i = 0; i < golden->size(); ++i) {
      if (i % 4 != 3) {
        EXPECT_EQ((*golden)[i], image.Bits().at(i)) << "pixel " << i / 4;
      }
    }
  }
}

TEST(ImageListImages, ReplaceOntoOnePixelLeavesOutTheLastSourcePixel) {
  Bitmap row = Filled(3, 1, kWhite);
  row.SetPixel(2, 0, kBlack);
  CImageList single = MakeList(1, 1, {Filled(1, 1, kRed)});
  ASSERT_TRUE(single.Replace(0, row));
  EXPECT_EQ(single.GetImage(0).GetPixel(0, 0), kWhite);
}

TEST(ImageListStream, WritesAndReadsTheGoldenStreamsByteForByte) {
  for (const auto& [name, images] : GoldenStreams()) {
    const auto golden = ReadGolden(name);
    if (!golden) GTEST_SKIP() << "no golden files under " << QRVA_SHARED_DIR;
    const Bytes written = MakeList(images[0].Width(), images[0].Height(), images).WriteStream();
    ASSERT_EQ(written.size(), golden->size()) << name;
    const auto difference = std::mismatch(written.begin(), written.end(), golden->begin());
    EXPECT_TRUE(difference.first == written.end())
        << name << ": first difference at byte " << difference.first - written.begin();

    CImageList read;
    std::size_t consumed = 0;
    const fw::Status status = read.ReadStream(*golden, &consumed);
    ASSERT_TRUE(status) << fw::ToUtf8(status.Message());
    EXPECT_EQ(consumed, golden->size());
    std::vector<Bitmap> stored = images;
    if (stored.size() == 3) stored[2] = Filled(66, 49, kSilver);  // grey is kept as silver
    ExpectImages(read, stored);
    EXPECT_EQ(read.WriteStream(), *golden);
  }
}

// The three-image stream pinned field by field and at a few pixels.
TEST(ImageListStream, WritesHeadersPaletteAndGridRowsFromTheBottom) {
  const Bytes stream = MakeList(66, 49, GoldenStreams()[2].second).WriteStream();
  ASSERT_EQ(stream.size(), 51890u);
  const std::vector<std::pair<std::size_t, std::uint32_t>> words = {
      {0, 0x4C49}, {2, 0x0101}, {kCurImageAt, 3}, {kMaxImageAt, 31}, {kGrowAt, 28},
      {10, 66},    {12, 49},    {kFlagsAt, 4},    {kOverlaysAt, 0xFFFF}, {kBitmapTypeAt, 0x4D42},
      {kPlanesAt, 1}, {kBitCountAt, 4}};
  for (auto [at, value] : words) EXPECT_EQ(ValueAt(stream, at), value) << "offset " << at;
  const std::vector<std::pair<std::size_t, std::uint32_t>> doubles = {
      {14, 0xFFFFFFFF}, {kFileSizeAt, 118}, {kBitsOffsetAt, 118}, {kInfoSizeAt, 40},
      {kWidthAt, 264},  {kHeightAt, 392},   {kCompressionAt, 0},  {kSizeImageAt, 51744},
      {kColoursUsedAt, 0}, {kPaletteAt + 7 * 4, 0xC0C0C0}, {kPaletteAt + 8 * 4, 0x808080}};
  for (auto [at, value] : doubles) EXPECT_EQ(ValueAt(stream, at, 4), value) << "offset " << at;
  // The grid's top row is the last of 392 rows of 132 bytes: the placeholder's frame, the red
  // image (9), the grey one kept silver (7), the unused fourth cell.
  const std::size_t topRow = kBitsAt + 391 * 132;
  EXPECT_EQ(Bytes(stream.begin() + topRow, stream.begin() + topRow + 2), (Bytes{0x00, 0x00}));
  EXPECT_EQ(stream[topRow + 33], 0x99);
  EXPECT_EQ(stream[topRow + 66], 0x77);
  EXPECT_EQ(stream[topRow + 99], 0x00);
  EXPECT_EQ(stream[topRow - 132 + 1], 0x0F);  // row 1: black diagonal, then white inside
}

TEST(ImageListStream, ReadsStreamsOneAfterAnotherAndGrowsOnFromTheirCapacity) {
  Bytes two = kTiny;
  const Bytes second = MakeList(2, 2, {Filled(2, 2, kWhite)}).WriteStream();
  two.insert(two.end(), second.begin(), second.end());
  CImageList list;
  std::size_t consumed = 0;
  ASSERT_TRUE(list.ReadStream(two, &consumed));
  EXPECT_EQ(consumed, kTiny.size());
  ExpectImages(list, {Filled(1, 1, kRed)});
  EXPECT_EQ(list.WriteStream(), kTiny);
  EXPECT_EQ(list.Add(Filled(1, 1, kWhite)), 1);
  EXPECT_EQ(CountAndCapacity(list), (std::pair{2, 6}));

  ASSERT_TRUE(list.ReadStream(std::span(two).subspan(kTiny.size()), &consumed));
  EXPECT_EQ(consumed, second.size());
  ExpectImages(list, {Filled(2, 2, kWhite)});
}

// What the platform's reader ignores or allows, ours does too: bfSize, bfOffBits, biSizeImage,
// biClrUsed, the flags of old writers (ILC_COLOR), rows from the top, other colour depths and
// palettes (matched to the list's own), and overlays naming images (the others dropped).
TEST(ImageListStream, IsAsLenientAsThePlatformsReader) {
  Bytes lenient = kTiny;
  PutAt(lenient, kFileSizeAt, 7, 4);
  PutAt(lenient, kBitsOffsetAt, 999, 4);
  PutAt(lenient, kSizeImageAt, 0, 4);
  PutAt(lenient, kColoursUsedAt, 2, 4);
  PutAt(lenient, kFlagsAt, 0);
  PutAt(lenient, kHeightAt, 0xFFFFFFFF, 4);
  PutAt(lenient, kOverlaysAt, 1);
  PutAt(lenient, kOverlaysAt + 2, 2);
  CImageList list;
  ASSERT_TRUE(list.ReadStream(lenient));
  Bytes expected = kTiny;
  PutAt(expected, kOverlaysAt, 1);
  EXPECT_EQ(list.WriteStream(), expected);

  // Rows from the top: 31 images of 1 x 1 take 8 rows of 4 bytes, here stored top first.
  const std::vector<Bitmap> images = {Filled(1, 1, kRed), Filled(1, 1, kWhite), Filled(1, 1, kRed),
                                      Filled(1, 1, kWhite), Filled(1, 1, kWhite)};
  const Bytes bottomUp = MakeList(1, 1, images).WriteStream();
  Bytes topDown(bottomUp.begin(), bottomUp.begin() + kBitsAt);
  PutAt(topDown, kHeightAt, static_cast<std::uint32_t>(-8), 4);
  for (std::size_t row = 8; row-- > 0;) {
    topDown.insert(topDown.end(), bottomUp.begin() + static_cast<std::ptrdiff_t>(kBitsAt + 4 * row),
                   bottomUp.begin() + static_cast<std::ptrdiff_t>(kBitsAt + 4 * row + 4));
  }
  ASSERT_TRUE(list.ReadStream(topDown));
  ExpectImages(list, images);

  auto withDepth = [](std::uint16_t bitsPerPixel, const Bytes& paletteAndBits) {
    Bytes stream(kTiny.begin(), kTiny.begin() + kPaletteAt);
    PutAt(stream, kBitCountAt, bitsPerPixel);
    stream.insert(stream.end(), paletteAndBits.begin(), paletteAndBits.end());
    return stream;
  };
  Bytes eightBit(256 * 4 + 4, 0);
  eightBit[4] = eightBit[5] = eightBit[6] = 0xA0;  // entry 1: (A0, A0, A0), nearest silver
  eightBit[256 * 4] = 1;
  const std::vector<std::pair<Bytes, COLORREF>> depths = {
      {withDepth(24, {0x0A, 0x0A, 0xFA, 0, 0, 0, 0, 0, 0, 0, 0, 0}), kRed},
      {withDepth(32, {0xFF, 0, 0, 0x55, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), RGB(0, 0, 255)},
      {withDepth(8, eightBit), kSilver},
      {withDepth(1, {0, 0, 0, 0, 0xF0, 0xF0, 0xF0, 0, 0x80, 0, 0, 0}), kWhite}};
  for (const auto& [stream, colour] : depths) {
    ASSERT_TRUE(list.ReadStream(stream)) << ValueAt(stream, kBitCountAt);
    EXPECT_EQ(list.GetImage(0).GetPixel(0, 0), colour) << ValueAt(stream, kBitCountAt);
  }
}

TEST(ImageListStream, RefusesDamagedStreamsClearlyAndKeepsTheList) {
  struct Damage {
    std::function<void(Bytes&)> apply;
    std::wstring message;  // names the field and the numbers
  };
  const std::vector<Damage> cases = {
      {[](Bytes& b) { b[0] = 'X'; }, L"starts with 0x4C58, not 'IL'"},
      {[](Bytes& b) { PutAt(b, 2, 0x0600); }, L"version 0x0600 is not supported"},
      {[](Bytes& b) { PutAt(b, 10, 0); }, L"cx 0 x cy 1"},
      {[](Bytes& b) { PutAt(b, 12, 2000); }, L"cx 1 x cy 2000"},
      {[](Bytes& b) { PutAt(b, kFlagsAt, 0x0005); }, L"flags 0x0005 are not supported"},
      {[](Bytes& b) { PutAt(b, kCurImageAt, 2); }, L"cCurImage 2 exceeds cMaxImage 1"},
      {[](Bytes& b) { b[kBitmapTypeAt] = 'X'; }, L"type 0x4D58, not 'BM'"},
      {[](Bytes& b) { PutAt(b, kInfoSizeAt, 108, 4); }, L"biSize 108"},
      {[](Bytes& b) { PutAt(b, kBitCountAt, 16); }, L"1 planes of 16 bits per pixel"},
      {[](Bytes& b) { PutAt(b, kPlanesAt, 2); }, L"2 planes of 4 bits"},
      {[](Bytes& b) { PutAt(b, kCompressionAt, 2, 4); }, L"biCompression 2"},
      {[](Bytes& b) { PutAt(b, kWidthAt, 5, 4); },
       L"is 5 x 1 pixels; 1 images of 1 x 1 need 4 x 1"},
      {[](Bytes& b) { PutAt(b, kWidthAt, 0xFFFFFFFC, 4); }, L"is -4 x 1 pixels"},
      {[](Bytes& b) { PutAt(b, kMaxImageAt, 5); }, L"5 images of 1 x 1 need 4 x 2"},
      {[](Bytes& b) { b.resize(20); }, L"header needs 28 bytes; the stream has 20"},
      {[](Bytes& b) { b.resize(60); }, L"headers need 54 bytes; the stream has 32 left"},
      {[](Bytes& b) { b.resize(100); }, L"palette of 16 entries needs 64 bytes; the stream has 18"},
      {[](Bytes& b) { b.resize(148); },
       L"claims 4 x 1 pixels at 4 bits (4 bytes); the stream has 2 bytes left"},
  };
  for (const Damage& damage : cases) {
    Bytes stream = kTiny;
    damage.apply(stream);
    CImageList list = MakeList(2, 2, {Filled(2, 2, kWhite)});
    const Bytes before = list.WriteStream();
    const fw::Status status = list.ReadStream(stream);
    ASSERT_FALSE(status) << fw::ToUtf8(damage.message);
    EXPECT_NE(status.Message().find(damage.message), std::wstring::npos)
        << fw::ToUtf8(status.Message());
    EXPECT_EQ(list.WriteStream(), before) << fw::ToUtf8(damage.message);
  }
}

// Every byte of the smallest stream, and of the headers and palette of a golden one, flipped,
// zeroed and set to 0xFF, and every cut: a clean error or a valid list, never a crash.
TEST(ImageListStream, SurvivesEveryDamagedByteAndEveryCut) {
  std::vector<Bytes> inputs = {kTiny};
  if (auto golden = ReadGolden("imagelist-placeholder-small.il")) inputs.push_back(*golden);
  for (const Bytes& input : inputs) {
    for (std::size_t at = 0; at < std::min(input.size(), kBitsAt + 8); ++at) {
      for (std::uint8_t value : {static_cast<std::uint8_t>(~input[at]), std::uint8_t{0x00},
                                 std::uint8_t{0xFF}}) {
        Bytes changed = input;
        changed[at] = value;
        ExpectCleanErrorOrValidList(changed, "byte " + std::to_string(at));
      }
    }
    for (std::size_t length = 0; length < input.size(); ++length) {
      CImageList list;
      EXPECT_FALSE(list.ReadStream(std::span(input).first(length))) << "cut at " << length;
      EXPECT_FALSE(list.IsCreated());
    }
  }
}

TEST(ImageListArchive, WritesAndReadsStreamsOneAfterAnother) {
  const std::vector<Bitmap> large = {MakePlaceholder(13, 9), Filled(13, 9, kRed)};
  const std::vector<Bitmap> small = {MakePlaceholder(6, 4)};
  fw::CMemFile file;
  {
    fw::CArchive archive(&file, fw::CArchive::store);
    MakeList(13, 9, large).Write(archive);
    MakeList(6, 4, small).Write(archive);
    archive.WriteInt32(1234);
    EXPECT_THROW(CImageList().Write(archive), fw::CArchiveException);  // never created
    archive.Close();
  }
  fw::CMemFile stored(file.Bytes());
  fw::CArchive archive(&stored, fw::CArchive::load);
  CImageList largeRead;
  CImageList smallRead;
  largeRead.Read(archive);
  smallRead.Read(archive);
  EXPECT_EQ(archive.ReadInt32(), 1234);  // each read took exactly its own stream
  ExpectImages(largeRead, large);
  ExpectImages(smallRead, small);
}

// A stream cut short is the archive's end of file, other damage a generic error; either way the
// detail is the reader's message and the list stays as it was.
TEST(ImageListArchive, ThrowsOnDamageAndKeepsTheList) {
  Bytes badMagic = kTiny;
  badMagic[1] = 0;
  for (const auto& [bytes, cause] :
       {std::pair{Bytes(kTiny.begin(), kTiny.begin() + 140), fw::CArchiveException::endOfFile},
        std::pair{badMagic, fw::CArchiveException::genericException}}) {
    CImageList list = MakeList(1, 1, {Filled(1, 1, kWhite)});
    fw::CMemFile file(bytes);
    fw::CArchive archive(&file, fw::CArchive::load);
    try {
      list.Read(archive);
      ADD_FAILURE() << "read a damaged stream";
    } catch (const fw::CArchiveException& error) {
      EXPECT_EQ(error.cause(), cause) << fw::ToUtf8(error.detail());
      EXPECT_NE(error.detail().find(L"image-list"), std::wstring::npos);
    }
    EXPECT_EQ(list.GetImage(0).GetPixel(0, 0), kWhite);
  }
}

// A reader that knows what its list must be refuses another shape right after the header: a
// stream cut there fails as damage, not as a stream that ends before its bits.
TEST(ImageListArchive, RefusesAnotherShapeBeforeReadingTheBits) {
  const Bytes headersOnly(kTiny.begin(), kTiny.begin() + kPaletteAt);
  const struct {
    fw::ImageListShape shape;
    const wchar_t* detail;
  } cases[] = {
      {{2, 1, 100}, L"images of 1 x 1 pixels; this list holds 2 x 1"},
      {{1, 2, 100}, L"images of 1 x 1 pixels; this list holds 1 x 2"},
      {{1, 1, 0}, L"cMaxImage 1 is beyond this list's limit of 0 images"},
      {{1, 1, 1}, L"the stream has 0 left"},  // the shape fits: the cut is found next
  };
  for (const auto& [shape, detail] : cases) {
    fw::CMemFile file(headersOnly);
    fw::CArchive archive(&file, fw::CArchive::load);
    CImageList list = MakeList(1, 1, {Filled(1, 1, kWhite)});
    try {
      list.Read(archive, shape);
      ADD_FAILURE() << "read a stream of another shape";
    } catch (const fw::CArchiveException& error) {
      EXPECT_NE(error.detail().find(detail), std::wstring::npos) << fw::ToUtf8(error.detail());
    }
    EXPECT_EQ(list.GetImage(0).GetPixel(0, 0), kWhite);
  }
  fw::CMemFile whole(kTiny);
  fw::CArchive archive(&whole, fw::CArchive::load);
  CImageList list;
  list.Read(archive, {1, 1, 1});
  ExpectImages(list, {Filled(1, 1, kRed)});
}

// A directory's list takes the placeholders by copy and a cache's images by move, and whoever
// shows it sees both; the pixels a copy shares stay as they were when either side changes.
TEST(ImageListSharing, CopyAndTakeFillTheSameListAndSharePixelsUntilEitherChanges) {
  CImageList prototype = MakeList(4, 3, {Filled(4, 3, kRed)});
  CImageList list;
  CImageList shown = list;
  list.CopyFrom(prototype);
  EXPECT_EQ(shown.GetImageCount(), 1);
  EXPECT_EQ(shown.Add(Filled(4, 3, kWhite)), 1);
  EXPECT_TRUE(prototype.Replace(0, Filled(4, 3, kSilver)));
  ExpectImages(prototype, {Filled(4, 3, kSilver)});
  ExpectImages(list, {Filled(4, 3, kRed), Filled(4, 3, kWhite)});

  CImageList read = MakeList(4, 3, {Filled(4, 3, kBlack)});
  list.TakeFrom(read);
  EXPECT_FALSE(read.IsCreated());
  ExpectImages(shown, {Filled(4, 3, kBlack)});

  // Copies of one prototype change on two threads while a third reads it.
  std::vector<std::thread> threads;
  for (int t = 0; t < 2; ++t) {
    threads.emplace_back([&prototype] {
      CImageList copy;
      for (int i = 0; i < 20; ++i) {
        copy.CopyFrom(prototype);
        EXPECT_EQ(copy.Add(Filled(4, 3, kWhite)), 1);
      }
    });
  }
  for (int i = 0; i < 20; ++i) EXPECT_EQ(prototype.GetImage(0).GetPixel(0, 0), kSilver);
  for (std::thread& thread : threads) thread.join();
}

TEST(ImageListSharing, CopiesOfTheHandleAreTheSameList) {
  CImageList owner = MakeList(2, 2, {});
  CImageList shown = owner;
  EXPECT_EQ(owner.Add(Filled(2, 2, kRed)), 0);
  EXPECT_EQ(shown.GetImageCount(), 1);
  ASSERT_TRUE(shown.ReadStream(kTiny));
  EXPECT_EQ(owner.ImageWidth(), 1);
  owner.DeleteImageList();
  EXPECT_FALSE(shown.IsCreated());
}

// A presenter keeps converted images while the generation stays: every change of the pixels,
// through any handle, must move it, and reading must not.
TEST(ImageListSharing, TheGenerationMovesWithEveryChangeAndOnlyThen) {
  struct Case {
    const char* name;
    std::function<void(CImageList& list, CImageList& other)> act;
    bool changes;
  };
  const Case cases[] = {
      {"add", [](CImageList& list, CImageList&) { list.Add(Filled(2, 2, kRed)); }, true},
      {"replace", [](CImageList& list, CImageList&) { list.Replace(0, Filled(2, 2, kWhite)); },
       true},
      {"read a stream", [](CImageList& list, CImageList&) { (void)list.ReadStream(kTiny); }, true},
      {"copy from", [](CImageList& list, CImageList& other) { list.CopyFrom(other); }, true},
      {"take from", [](CImageList& list, CImageList& other) { list.TakeFrom(other); }, true},
      {"delete", [](CImageList& list, CImageList&) { list.DeleteImageList(); }, true},
      {"read", [](CImageList& list, CImageList&) { (void)list.GetImage(0); }, false},
      {"draw", [](CImageList& list, CImageList&) {
         Bitmap target(4, 4);
         (void)list.Draw(target, 0, 0, 0);
       }, false},
      {"write", [](CImageList& list, CImageList&) { (void)list.WriteStream(); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CImageList list = MakeList(2, 2, {Filled(2, 2, kBlack)});
    CImageList other = MakeList(2, 2, {Filled(2, 2, kBlack)});
    const CImageList shown = list;
    const std::uint64_t before = shown.Generation();
    c.act(list, other);
    EXPECT_EQ(shown.Generation() != before, c.changes);
    EXPECT_EQ(shown.Identity(), list.Identity());
  }
}

// The loader adds and replaces while the dialog reads, writes and draws the same list through
// its own handle, and a third thread works on a list of its own; the thread sanitizer watches.
TEST(ImageListSharing, ServesTheLoaderAndTheDialogAtOnce) {
  CImageList owner = MakeList(6, 5, {MakePlaceholder(6, 5)});
  CImageList shown = owner;
  constexpr int kAdds = 60;
  std::thread loader([&] {
    for (int i = 0; i < kAdds; ++i) {
      EXPECT_EQ(owner.Add(Filled(6, 5, kRed)), i + 1);
      EXPECT_TRUE(owner.Replace(i, Filled(12, 10, kWhite)));
    }
  });
  std::thread other([] {
    CImageList own = MakeList(5, 4, {});
    for (int i = 0; i < kAdds; ++i) own.Add(Filled(5, 4, kRed));
    EXPECT_EQ(own.GetImage(kAdds - 1).GetPixel(4, 3), kRed);
  });
  for (int i = 0; i < kAdds; ++i) {
    const int count = shown.GetImageCount();
    EXPECT_FALSE(shown.GetImage(count - 1).IsEmpty());
    CImageList copy;
    EXPECT_TRUE(copy.ReadStream(shown.WriteStream()));
    EXPECT_GE(copy.GetImageCount(), count);
  }
  loader.join();
  other.join();
  EXPECT_EQ(shown.GetImageCount(), kAdds + 1);
  EXPECT_EQ(shown.GetImage(0).GetPixel(0, 0), kWhite);
  EXPECT_EQ(shown.GetImage(kAdds).GetPixel(0, 0), kRed);
}

}  // namespace
