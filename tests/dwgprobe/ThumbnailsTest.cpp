// Thumbnails and framed previews of a drawing's preview: fitting, recolouring, the border rule
// by version, markers, the image lists, and reference pictures.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "DibBuilder.h"
#include "DrawingBuilder.h"
#include "dwgprobe/DrawingProbe.h"
#include "dwgprobe/PackedBitmap.h"
#include "dwgprobe/Thumbnails.h"
#include "fw/Png.h"
#include "support/TempFolder.h"

namespace {

using previewtest::BuildDib;
using previewtest::DibSpec;

constexpr fw::COLORREF kBlack = fw::RGB(0, 0, 0);
constexpr fw::COLORREF kWhite = fw::RGB(255, 255, 255);
constexpr fw::COLORREF kRed = fw::RGB(255, 0, 0);
// Version indexes as the table gives them: R14 is "AC1014", 2000 is "AC1015".
constexpr int kVersionR14 = 15;
constexpr int kVersion2000 = 16;

// Sets the preview background for one test and puts our host's default back afterwards.
class PreviewBackground {
 public:
  explicit PreviewBackground(fw::COLORREF colour) { dwgprobe::SetPreviewBackground(colour); }
  ~PreviewBackground() { dwgprobe::SetPreviewBackground(kBlack); }
};

// An 8-bit preview like a drawing's: white paper (index 1), black lines (index 0), a red block
// (index 2), a one-pixel grey frame (index 3) as R14 drawings store round their preview.
dwgprobe::PackedBitmap DrawingPreview(int width, int height) {
  DibSpec shape{.width = width, .height = height, .bitCount = 8, .palette = {}, .masks = {}, .pixels = {}};
  shape.palette.assign(256, kBlack);
  shape.palette[1] = kWhite;
  shape.palette[2] = kRed;
  shape.palette[3] = fw::RGB(128, 128, 128);
  shape.pixels.assign(static_cast<std::size_t>(width * height), 1);
  auto set = [&](int x, int y, std::uint32_t v) {
    shape.pixels[static_cast<std::size_t>(y * width + x)] = v;
  };
  for (int x = 0; x < width; ++x) set(x, 0, 3), set(x, height - 1, 3);
  for (int y = 0; y < height; ++y) set(0, y, 3), set(width - 1, y, 3);
  for (int i = 4; i < std::min(width, height) - 4; ++i) set(i, i, 0), set(i, height / 2, 0);
  for (int y = height / 4; y < height / 2; ++y) {
    for (int x = width / 2; x < width * 3 / 4; ++x) set(x, y, 2);
  }
  return dwgprobe::PackedBitmap{BuildDib(shape), false};
}

dwgprobe::PackedBitmap Solid24(int width, int height, fw::COLORREF colour) {
  DibSpec shape{.width = width, .height = height, .bitCount = 24, .palette = {}, .masks = {}, .pixels = {}};
  shape.pixels.assign(static_cast<std::size_t>(width * height),
                     static_cast<std::uint32_t>(fw::GetRValue(colour)) << 16 |
                         fw::GetGValue(colour) << 8 | fw::GetBValue(colour));
  return dwgprobe::PackedBitmap{BuildDib(shape), false};
}

fw::Bitmap Thumbnail(const dwgprobe::PackedBitmap& bitmap, int width, int height, int version,
                     const std::vector<double>& points = {}) {
  fw::Result<fw::Bitmap> out = dwgprobe::RenderThumbnail(bitmap, width, height, version, points);
  EXPECT_TRUE(out.Ok());
  return out.Ok() ? out.Value() : fw::Bitmap(width, height);
}

// The box [left, right) x [top, bottom) of pixels that differ from `background`.
struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
  bool operator==(const Box&) const = default;
};
Box Drawn(const fw::Bitmap& bitmap, fw::COLORREF background) {
  Box box;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      if (bitmap.GetPixel(x, y) == background) continue;
      box = Box{std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                std::max(box.bottom, y + 1)};
    }
  }
  return box;
}

int Count(const fw::Bitmap& bitmap, fw::COLORREF colour) {
  int count = 0;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) count += bitmap.GetPixel(x, y) == colour;
  }
  return count;
}

TEST(PreviewColours, DefaultToABlackBackgroundWithWhiteForeground) {
  EXPECT_EQ(dwgprobe::GetPreviewColours().background, kBlack);
  EXPECT_EQ(dwgprobe::GetPreviewColours().contrast, 255);
  for (fw::COLORREF light : {kWhite, fw::RGB(255, 0, 255), fw::RGB(0, 255, 255),
                             fw::RGB(0, 0, 255), kRed, fw::RGB(0, 255, 0), fw::RGB(255, 255, 0),
                             fw::RGB(192, 192, 192)}) {
    PreviewBackground background(light);
    EXPECT_EQ(dwgprobe::GetPreviewColours().contrast, 0) << std::hex << light;
  }
  PreviewBackground grey(fw::RGB(128, 128, 128));
  EXPECT_EQ(dwgprobe::GetPreviewColours().contrast, 255);
}

TEST(RenderThumbnail, FitsA512By376PreviewAsTheCellsRequire) {
  // A solid grey preview shows exactly where the image lands on the black cell.
  const dwgprobe::PackedBitmap preview = Solid24(512, 376, fw::RGB(128, 128, 128));
  EXPECT_EQ(Drawn(Thumbnail(preview, 130, 96, kVersion2000), kBlack), (Box{0, 1, 130, 96}));
  EXPECT_EQ(Drawn(Thumbnail(preview, 66, 49, kVersion2000), kBlack), (Box{0, 0, 66, 48}));
}

TEST(RenderThumbnail, RecoloursPaperAndLinesToTheBackgroundOnBlackAndOnWhite) {
  const dwgprobe::PackedBitmap preview = DrawingPreview(64, 48);
  const fw::Bitmap onBlack = Thumbnail(preview, 130, 96, kVersion2000);
  EXPECT_EQ(Count(onBlack, kWhite) > 0, true);
  EXPECT_EQ(Count(onBlack, kBlack) + Count(onBlack, kWhite) + Count(onBlack, kRed) +
                Count(onBlack, fw::RGB(128, 128, 128)),
            130 * 96);
  EXPECT_EQ(onBlack.GetPixel(10, 10), kBlack);  // paper became the background

  PreviewBackground white(kWhite);
  const fw::Bitmap onWhite = Thumbnail(preview, 130, 96, kVersion2000);
  EXPECT_EQ(onWhite.GetPixel(10, 10), kWhite);
  EXPECT_GT(Count(onWhite, kBlack), 0);
  EXPECT_GT(Count(onWhite, kRed), 0);
}

TEST(RenderThumbnail, KeepsThePngColoursAndReadsRowsRightAfterTheHeader) {
  const std::vector<std::uint8_t> rgb(4 * 4 * 3, 255);  // white paper stays white
  const fw::Result<std::vector<std::uint8_t>> png = fw::EncodePng(rgb, 4, 4, false);
  ASSERT_TRUE(png.Ok());
  const fw::Result<dwgprobe::PackedBitmap> preview = dwgprobe::PackedBitmapFromPng(png.Value());
  ASSERT_TRUE(preview.Ok());
  const fw::Bitmap thumbnail = Thumbnail(preview.Value(), 66, 49, kVersion2000);
  EXPECT_EQ(Drawn(thumbnail, kBlack), (Box{9, 0, 58, 49}));
  EXPECT_EQ(Count(thumbnail, kWhite), 49 * 49);
}

// Drawings up to R14 (and side bitmaps) store a one-pixel border round their preview that the
// thumbnails and the large preview leave out; from 2000 on the whole preview is drawn. Probed
// from drawings carrying the real version strings.
TEST(RenderThumbnail, LeavesOutTheOnePixelBorderUpToR14Only) {
  const dwgprobe::PackedBitmap preview = DrawingPreview(66, 49);
  const fw::COLORREF frame = fw::RGB(128, 128, 128);
  struct Case {
    const char* version;
    bool border;
  };
  testsupport::TempFolder folder;
  for (const Case& c : {Case{"AC1012", false}, Case{"AC1014", false}, Case{"AC1015", true},
                        Case{"AC1032", true}}) {
    SCOPED_TRACE(c.version);
    const std::wstring path = folder / L"A.dwg";
    testsupport::WriteFile(path, probetest::AsText(probetest::BuildDrawing(
                                     c.version, {{1, probetest::HeaderData("")}, {2, preview.bytes}})));
    const dwgprobe::ProbeOutcome probed = dwgprobe::ProbeDrawing(path, {});
    ASSERT_TRUE(probed.preview);
    const fw::Bitmap thumbnail = Thumbnail(*probed.preview, 66, 49, probed.version);
    EXPECT_EQ(thumbnail.GetPixel(0, 0), c.border ? frame : kBlack);
    EXPECT_EQ(Count(thumbnail, frame) > 0, c.border);

    fw::Bitmap large(256 + 3, 188 + 3);
    fw::CDC dc(large);
    ASSERT_TRUE(dwgprobe::DrawPreview(dc, 0, 0, 1, true, *probed.preview, probed.version, {}).Ok());
    EXPECT_EQ(Count(large, frame) > 0, c.border);
  }
}

TEST(RenderThumbnail, DrawsRedMarkersOnlyForInsertionPoints) {
  const dwgprobe::PackedBitmap preview = Solid24(512, 376, kBlack);
  EXPECT_EQ(Count(Thumbnail(preview, 130, 96, kVersion2000), kRed), 0);
  // (256, 188) is the preview's centre: X = 0 + int(65) = 65, Y = 1 + int(96 - 2 - 47.73) = 47.
  const fw::Bitmap marked = Thumbnail(preview, 130, 96, kVersion2000, {256.0, 188.0});
  EXPECT_EQ(Drawn(marked, kBlack), (Box{60, 42, 70, 53}));
  EXPECT_EQ(marked.GetPixel(60, 42), kRed);
  EXPECT_EQ(marked.GetPixel(65, 47), kRed);
  // A point the drawing reader got wrong is left out, not drawn somewhere.
  EXPECT_EQ(Count(Thumbnail(preview, 130, 96, kVersion2000, {1e300, 5.0, 3.0}), kRed), 0);
}

TEST(RenderThumbnails, AppendsBothThumbnailsAtOneIndexAndReplacesThemLater) {
  fw::CImageList large;
  fw::CImageList small;
  ASSERT_TRUE(large.Create(130, 96, fw::ILC_COLOR4, 1, 25));
  ASSERT_TRUE(small.Create(66, 49, fw::ILC_COLOR4, 1, 25));
  ASSERT_GE(large.Add(fw::Bitmap(130, 96)), 0);
  ASSERT_GE(small.Add(fw::Bitmap(66, 49)), 0);

  const fw::Result<int> added = dwgprobe::RenderThumbnails(
      &large, small, 0, Solid24(20, 20, kWhite), kVersion2000, {});
  ASSERT_TRUE(added.Ok());
  EXPECT_EQ(added.Value(), 1);
  EXPECT_EQ(large.GetImage(1).GetPixel(65, 48), kWhite);
  const fw::Result<int> replaced = dwgprobe::RenderThumbnails(
      &large, small, 1, Solid24(20, 20, kRed), kVersion2000, {});
  ASSERT_TRUE(replaced.Ok());
  EXPECT_EQ(replaced.Value(), 1);
  EXPECT_EQ(small.GetImageCount(), 2);
  EXPECT_EQ(small.GetImage(1).GetPixel(33, 24), kRed);
  EXPECT_EQ(large.GetImage(1).GetPixel(65, 48), kRed);

  const fw::Result<int> smallOnly =
      dwgprobe::RenderThumbnails(nullptr, small, 0, Solid24(2, 2, kWhite), kVersion2000, {});
  ASSERT_TRUE(smallOnly.Ok());
  EXPECT_EQ(smallOnly.Value(), 2);
  const fw::Result<int> broken = dwgprobe::RenderThumbnails(
      &large, small, 1, dwgprobe::PackedBitmap{{40, 0, 0}, false}, kVersion2000, {});
  EXPECT_FALSE(broken.Ok());
  EXPECT_EQ(large.GetImageCount(), 2);
}

TEST(DrawPreview, FramesTheImageAndScalesMarkersByTheColourFlag) {
  const dwgprobe::PackedBitmap preview = Solid24(100, 50, kRed);
  fw::Bitmap page(300, 200);
  fw::CDC dc(page);
  dc.FillRect(0, 0, 300, 200, kWhite);
  ASSERT_TRUE(dwgprobe::DrawPreview(dc, 0, 0, 1, false, preview, kVersion2000, {}).Ok());
  // Frame 259 x 191 with the black pen; image 100 x 50 at (128 - 50 + 1, 94 - 25 + 1).
  EXPECT_EQ(page.GetPixel(258, 190), kBlack);
  EXPECT_EQ(page.GetPixel(259, 191), kWhite);  // outside the frame: never drawn
  EXPECT_EQ(page.GetPixel(1, 1), kWhite);
  EXPECT_EQ(Drawn(page, kWhite), (Box{0, 0, 259, 191}));
  EXPECT_EQ(page.GetPixel(79, 70), kRed);
  EXPECT_EQ(page.GetPixel(78, 70), kWhite);
  EXPECT_EQ(page.GetPixel(178, 119), kRed);
  EXPECT_EQ(page.GetPixel(179, 119), kWhite);
  EXPECT_EQ(dc.PenColour(), kBlack);

  fw::Bitmap marked(300, 200);
  fw::CDC markedDc(marked);
  ASSERT_TRUE(dwgprobe::DrawPreview(markedDc, 0, 0, 2, true, Solid24(20, 20, kWhite),
                                    kVersion2000, {10.0, 10.0}).Ok());
  // With colours: background brush (black), c = 16 at (256 - 20 + 1 + 20, 188 - 20 + 1 + 20).
  EXPECT_EQ(marked.GetPixel(5, 5), kBlack);
  EXPECT_EQ(marked.GetPixel(257 - 16, 189 - 16), kRed);
  EXPECT_FALSE(dwgprobe::DrawPreview(markedDc, 0, 0, 0, true, preview, kVersion2000, {}).Ok());
}

// Compares a rendering with a reference PNG; on a mismatch writes the rendering and a
// difference image (red where pixels differ) beside each other in a folder that stays, and
// reports the share of pixels that differ. QRVA_UPDATE_REFERENCES=1 writes the reference.
void ExpectMatchesReference(const fw::Bitmap& rendered, const std::string& name) {
  std::vector<std::uint8_t> rgb;
  for (int y = 0; y < rendered.Height(); ++y) {
    for (int x = 0; x < rendered.Width(); ++x) {
      const fw::COLORREF c = rendered.GetPixel(x, y);
      rgb.insert(rgb.end(), {fw::GetRValue(c), fw::GetGValue(c), fw::GetBValue(c)});
    }
  }
  const std::filesystem::path reference = std::filesystem::path(QRVA_PREVIEW_REFERENCE_DIR) / name;
  const fw::Result<std::vector<std::uint8_t>> png =
      fw::EncodePng(rgb, rendered.Width(), rendered.Height(), false);
  ASSERT_TRUE(png.Ok());
  if (const char* update = std::getenv("QRVA_UPDATE_REFERENCES"); update && *update == '1') {
    std::ofstream(reference, std::ios::binary)
        .write(reinterpret_cast<const char*>(png.Value().data()),
               static_cast<std::streamsize>(png.Value().size()));
  }
  std::ifstream in(reference, std::ios::binary);
  const std::vector<std::uint8_t> stored(std::istreambuf_iterator<char>(in), {});
  const fw::Result<fw::PngImage> expected = fw::DecodePng(stored);
  ASSERT_TRUE(expected.Ok()) << "no reference picture " << reference;
  ASSERT_EQ(expected.Value().width, rendered.Width());
  ASSERT_EQ(expected.Value().height, rendered.Height());
  std::vector<std::uint8_t> difference(rgb.size(), 0);
  std::size_t differing = 0;
  for (std::size_t i = 0; i < rgb.size(); i += 3) {
    if (std::equal(rgb.begin() + static_cast<long>(i), rgb.begin() + static_cast<long>(i) + 3,
                   expected.Value().rgb.begin() + static_cast<long>(i))) {
      continue;
    }
    ++differing;
    difference[i] = 255;
  }
  if (differing == 0) return;
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "qrva-preview-mismatch";
  std::filesystem::create_directories(folder);
  auto write = [&](const std::string& file, const std::vector<std::uint8_t>& pixels) {
    const auto encoded = fw::EncodePng(pixels, rendered.Width(), rendered.Height(), false);
    if (encoded.Ok()) {
      std::ofstream(folder / file, std::ios::binary)
          .write(reinterpret_cast<const char*>(encoded.Value().data()),
                 static_cast<std::streamsize>(encoded.Value().size()));
    }
  };
  write(name, rgb);
  write("diff-" + name, difference);
  ADD_FAILURE() << name << ": " << 100.0 * static_cast<double>(differing) / (rgb.size() / 3)
                << "% of the pixels differ; rendering and difference are in " << folder;
}

TEST(RenderThumbnail, MatchesTheReferencePictures) {
  const dwgprobe::PackedBitmap preview = DrawingPreview(180, 132);
  const std::vector<double> points = {40.0, 30.0, 120.0, 100.0};
  ExpectMatchesReference(Thumbnail(preview, 130, 96, kVersionR14, points),
                         "thumbnail-large-r14-black.png");
  PreviewBackground white(kWhite);
  ExpectMatchesReference(Thumbnail(preview, 66, 49, kVersion2000, points),
                         "thumbnail-small-2000-white.png");
}

}  // namespace
