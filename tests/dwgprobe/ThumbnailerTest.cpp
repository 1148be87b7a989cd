// qrva-thumbnailer as a file manager runs it: pictures of the right size and orientation from
// every kind of preview, on built drawings and on the shared real ones (skipped when absent);
// nothing written for a drawing without a preview, unreadable input or bad arguments.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DrawingBuilder.h"
#include "fw/FileName.h"
#include "fw/FileStatus.h"
#include "fw/NativePath.h"
#include "fw/Png.h"
#include "support/Program.h"
#include "support/TempFolder.h"

namespace {

using testsupport::ShellQuote;
using testsupport::TempFolder;

// The files in a folder, without the runner's scratch files.
std::vector<std::wstring> FilesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  fw::CFileFind finder;
  bool more = finder.FindFile(fw::PathJoin(folder, L"*"));
  while (more) {
    more = finder.FindNextFile();
    if (!finder.IsDots() && !finder.GetFileName().starts_with(L"program-")) {
      names.push_back(finder.GetFileName());
    }
  }
  return names;
}

testsupport::ProgramOutcome Thumbnail(const std::string& arguments, const TempFolder& folder) {
  return testsupport::RunProgram(QRVA_THUMBNAILER_PROGRAM, arguments, folder);
}

fw::PngImage ReadPng(const std::wstring& path) {
  const std::string bytes = testsupport::ReadFile(path);
  const auto image = fw::DecodePng(
      std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  EXPECT_TRUE(image.Ok()) << fw::NativePath(path);
  return image.Ok() ? image.Value() : fw::PngImage{};
}

int Level(const fw::PngImage& image, int x, int y) {
  const std::size_t at = (static_cast<std::size_t>(y) * image.width + x) * 3;
  return (image.rgb[at] + image.rgb[at + 1] + image.rgb[at + 2]) / 3;
}

// A width x height preview, black in its top-left quadrant and white elsewhere, a `border`
// pixels wide black frame round it, in `bitCount` bits (palette white, black).
std::vector<std::uint8_t> QuadrantDib(int width, int height, int bitCount, bool topDown,
                                      int border = 0) {
  previewtest::DibSpec shape;
  shape.width = width + 2 * border;
  shape.height = height + 2 * border;
  shape.bitCount = bitCount;
  shape.topDown = topDown;
  const std::uint32_t black = bitCount <= 8 ? 1 : 0;
  // 16 bits hold five bits a channel.
  const std::uint32_t white = bitCount <= 8 ? 0 : bitCount == 16 ? 0x7FFF : 0xFFFFFF;
  if (bitCount <= 8) {
    shape.palette.assign(std::size_t{1} << bitCount, fw::RGB(0, 0, 0));
    shape.palette[0] = fw::RGB(255, 255, 255);
  }
  for (int y = 0; y < shape.height; ++y) {
    for (int x = 0; x < shape.width; ++x) {
      const int px = x - border;
      const int py = y - border;
      const bool frame = px < 0 || py < 0 || px >= width || py >= height;
      shape.pixels.push_back(frame || (px < width / 2 && py < height / 2) ? black : white);
    }
  }
  return previewtest::BuildDib(shape);
}

std::vector<std::uint8_t> QuadrantPng(int width, int height) {
  std::vector<std::uint8_t> rgb;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint8_t level = x < width / 2 && y < height / 2 ? 0 : 255;
      rgb.insert(rgb.end(), {level, level, level});
    }
  }
  return fw::EncodePng(rgb, width, height, false).Value();
}

std::string Drawing(const char* version, std::uint8_t code, std::vector<std::uint8_t> preview) {
  return probetest::AsText(probetest::BuildDrawing(version, {{code, std::move(preview)}}));
}

std::string SideBitmapFile(std::vector<std::uint8_t> dib) {
  std::vector<std::uint8_t> file(14, 0);
  file[0] = 'B';
  file[1] = 'M';
  file.insert(file.end(), dib.begin(), dib.end());
  return probetest::AsText(file);
}

// Every preview kind and bit depth, named on the command line as a path or a file:// URI.
TEST(QrvaThumbnailer, DrawsEveryKindOfPreviewFittedAndTheRightWayUp) {
  struct Case {
    const char* what;
    std::wstring name;
    std::string drawing;
    std::string sideBitmap;  // written beside the drawing as <title>.bmp when given
    std::string input;       // how the drawing is named: its path when empty
    int size;
    int width;
    int height;
  };
  const Case cases[] = {
      {"1-bit", L"one.dwg", Drawing("AC1015", 2, QuadrantDib(40, 20, 1, false)), "", "", 20, 20,
       10},
      {"4-bit, never enlarged", L"four.dwg", Drawing("AC1018", 2, QuadrantDib(40, 20, 4, false)),
       "", "", 256, 40, 20},
      {"8-bit, tall", L"eight.dwg", Drawing("AC1024", 2, QuadrantDib(20, 40, 8, false)), "", "",
       10, 5, 10},
      {"16-bit", L"high.dwg", Drawing("AC1018", 2, QuadrantDib(40, 20, 16, false)), "", "", 20,
       20, 10},
      {"32-bit top-down", L"rgbx.dwg", Drawing("AC1032", 2, QuadrantDib(40, 20, 32, true)), "", "",
       20, 20, 10},
      {"24-bit top-down", L"rgb.dwg", Drawing("AC1032", 2, QuadrantDib(40, 20, 24, true)), "", "",
       30, 30, 15},
      {"PNG", L"png.dwg", Drawing("AC1032", 6, QuadrantPng(40, 20)), "", "", 16, 16, 8},
      {"R14 border left out", L"r14.dwg", Drawing("AC1014", 2, QuadrantDib(40, 20, 8, false, 1)),
       "", "", 256, 40, 20},
      {"side bitmap of an R11 drawing", L"old.dwg", "AC1009",
       SideBitmapFile(QuadrantDib(40, 20, 1, false, 1)), "", 256, 40, 20},
      {"URI with escapes", L"T\u00FCr 50%.dwg", Drawing("AC1015", 2, QuadrantDib(40, 20, 8, false)),
       "", "T%C3%BCr%2050%25.dwg", 20, 20, 10},
      {"URI naming bytes that are not UTF-8", fw::FromNativePath("Pl\xE4ne.dwg"),
       Drawing("AC1015", 2, QuadrantDib(40, 20, 8, false)), "", "Pl%E4ne.dwg", 20, 20, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    const std::wstring drawing = folder / c.name;
    testsupport::WriteFile(drawing, c.drawing);
    if (!c.sideBitmap.empty()) {
      testsupport::WriteFile(folder / (fw::CFileName(drawing).Title() + L".bmp"), c.sideBitmap);
    }
    const std::string input = c.input.empty()
                                  ? fw::NativePath(drawing)
                                  : "file://" + fw::NativePath(folder.Path()) + "/" + c.input;
    const std::wstring output = folder / L"out.png";
    const auto run = Thumbnail("-s " + std::to_string(c.size) + " " + ShellQuote(input) + " " +
                                   ShellQuote(fw::NativePath(output)),
                               folder);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const fw::PngImage image = ReadPng(output);
    ASSERT_EQ(image.width, c.width);
    ASSERT_EQ(image.height, c.height);
    EXPECT_LT(Level(image, c.width / 4, c.height / 4), 16) << "ink top left";
    for (const auto& [x, y] : {std::pair{3 * c.width / 4, c.height / 4},
                               std::pair{c.width / 4, 3 * c.height / 4},
                               std::pair{3 * c.width / 4, 3 * c.height / 4}}) {
      EXPECT_GT(Level(image, x, y), 239) << "white at " << x << ", " << y;
    }
    EXPECT_GT(Level(image, 0, c.height - 1), 239) << "no border";
  }
}

// Each failure exits 1 with a message naming the cause and leaves no file, partial or whole.
TEST(QrvaThumbnailer, FailsCleanlyWithoutWritingAnything) {
  struct Case {
    const char* what;
    std::string drawing;  // written as in.dwg when given
    std::string arguments;
    std::string message;
  };
  // "{}" stands for the test's folder.
  const Case cases[] = {
      {"no preview", Drawing("AC1015", 1, probetest::HeaderData("")), "-s 64 {}/in.dwg {}/out.png",
       "no preview image record"},
      {"R11 without a side bitmap", "AC1009", "-s 64 {}/in.dwg {}/out.png", "has no preview"},
      {"preview beyond the file", Drawing("AC1015", 2, QuadrantDib(40, 20, 8, false)).substr(0, 90),
       "-s 64 {}/in.dwg {}/out.png", "in.dwg"},
      {"not a picture", Drawing("AC1015", 2, {1, 2, 3, 4}), "-s 64 {}/in.dwg {}/out.png", "bitmap"},
      {"missing drawing", "", "-s 64 {}/none.dwg {}/out.png", "none.dwg"},
      {"a folder", "", "-s 64 {} {}/out.png", "folder"},
      {"no folder for the output", Drawing("AC1015", 2, QuadrantDib(40, 20, 8, false)),
       "-s 64 {}/in.dwg {}/none/out.png", "cannot write"},
      {"another machine", "", "-s 64 file://far{}/in.dwg {}/out.png", "another machine"},
      {"size 0", "", "-s 0 {}/in.dwg {}/out.png", "--size"},
      {"size not a number", "", "-s big {}/in.dwg {}/out.png", "--size"},
      {"no size", "", "{}/in.dwg {}/out.png", "--size is required"},
      {"no output", "", "-s 64 {}/in.dwg", "OUTPUT is required"},
      {"unknown option", "", "-s 64 --fast {}/in.dwg {}/out.png", "--fast"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    if (!c.drawing.empty()) testsupport::WriteFile(folder / L"in.dwg", c.drawing);
    const std::vector<std::wstring> before = FilesIn(folder.Path());
    std::string arguments = c.arguments;
    for (std::size_t at; (at = arguments.find("{}")) != std::string::npos;) {
      arguments.replace(at, 2, fw::NativePath(folder.Path()));
    }
    const auto run = Thumbnail(arguments, folder);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("qrva-thumbnailer: "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_EQ(FilesIn(folder.Path()), before);
  }
  TempFolder folder;
  const auto help = Thumbnail("--help", folder);
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_TRUE(help.out.starts_with("usage: qrva-thumbnailer -s SIZE INPUT OUTPUT\n")) << help.out;
}

struct RealDrawing {
  const wchar_t* name;
  int width128;  // the picture for -s 128; 0: the drawing has no preview
  int height128;
  int width256;
  int height256;
};

// Previews up to R14 lose their one-pixel border (216 x 140 becomes 214 x 138); smaller
// previews are not enlarged.
constexpr RealDrawing kRealDrawings[] = {
    {L"Arc_2018.dwg", 0, 0, 0, 0},
    {L"Constraints_2018.dwg", 0, 0, 0, 0},
    {L"PolyLine2D_2000.dwg", 0, 0, 0, 0},
    {L"Text_2000.dwg", 128, 54, 256, 107},
    {L"block_r2.10.dwg", 0, 0, 0, 0},
    {L"entities-2d_r11.dwg", 0, 0, 0, 0},
    {L"example_2000.dwg", 128, 88, 184, 126},
    {L"example_2004.dwg", 128, 83, 216, 140},
    {L"example_2007.dwg", 128, 85, 256, 171},
    {L"example_2010.dwg", 128, 85, 256, 171},
    {L"example_2013.dwg", 128, 86, 256, 171},
    {L"example_2018.dwg", 128, 67, 256, 135},
    {L"example_r13.dwg", 128, 83, 214, 138},
    {L"example_r14.dwg", 128, 83, 214, 138},
    {L"sample_2000.dwg", 128, 63, 180, 88},
    {L"sample_2018.dwg", 128, 96, 256, 192},
};

// Share of the pixels that stand out from the background (the colour of the top-left corner).
double InkShare(const fw::PngImage& image) {
  int ink = 0;
  for (std::size_t i = 0; i < image.rgb.size(); i += 3) {
    int difference = 0;
    for (std::size_t k = 0; k < 3; ++k) difference += std::abs(image.rgb[i + k] - image.rgb[k]);
    if (difference > 96) ++ink;
  }
  return static_cast<double>(ink) / (image.width * image.height);
}

TEST(QrvaThumbnailer, PicturesTheRealDrawingsAtBothSizes) {
  const std::wstring shared = fw::PathJoin(fw::FromNativePath(QRVA_SHARED_DIR), L"dwg");
  if (!fw::IsDirectory(shared)) GTEST_SKIP() << "no shared drawings";
  TempFolder folder;
  const std::wstring out = folder / L"thumbnails";
  ASSERT_TRUE(fw::CreateDirectory(out));
  for (const RealDrawing& real : kRealDrawings) {
    for (const auto& [size, width, height] : {std::tuple{128, real.width128, real.height128},
                                              std::tuple{256, real.width256, real.height256}}) {
      SCOPED_TRACE(fw::NativePath(real.name) + " at " + std::to_string(size));
      const std::wstring output = fw::PathJoin(out, L"t.png");
      const std::string uri = "file://" + fw::NativePath(fw::PathJoin(shared, real.name));
      const auto run = Thumbnail("-s " + std::to_string(size) + " " + ShellQuote(uri) + " " +
                                     ShellQuote(fw::NativePath(output)),
                                 folder);
      if (width == 0) {
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(FilesIn(out).empty());
        continue;
      }
      ASSERT_EQ(run.exitCode, 0) << run.err;
      const fw::PngImage image = ReadPng(output);
      EXPECT_EQ(image.width, width);
      EXPECT_EQ(image.height, height);
      EXPECT_GT(InkShare(image), 0.003) << "the drawing's lines";
      ASSERT_TRUE(fw::DeleteFile(output));
    }
  }
}

}  // namespace
