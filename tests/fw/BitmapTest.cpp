// The device context's pixel rules: the image lists' placeholder, rectangles, lines in every
// octant and the marker ellipse, against the platform's own pictures where they are at hand and
// against pinned pixels everywhere.
#include "fw/Bitmap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using fw::Bitmap;
using fw::CDC;
using fw::COLORREF;
using fw::RGB;
using PixelSet = std::set<std::pair<int, int>>;

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);

std::optional<std::vector<std::uint8_t>> ReadGolden(const std::string& name) {
  std::ifstream in(std::filesystem::path(QRVA_SHARED_DIR) / "golden" / name, std::ios::binary);
  if (!in) return std::nullopt;
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// A binary PPM of `bitmap`, or with `expected`, of the difference: red where B, G or R differ,
// a pale copy of the expected picture elsewhere.
void WritePpm(const std::filesystem::path& path, const Bitmap& bitmap,
              const std::vector<std::uint8_t>* expected = nullptr) {
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << bitmap.Width() << ' ' << bitmap.Height() << "\n255\n";
  const std::vector<std::uint8_t>& bits = bitmap.Bits();
  for (std::size_t i = 0; i < bits.size(); i += 4) {
    char rgb[3] = {static_cast<char>(bits[i + 2]), static_cast<char>(bits[i + 1]),
                   static_cast<char>(bits[i])};
    if (expected != nullptr) {
      const auto& want = *expected;
      const bool differs = want[i] != bits[i] || want[i + 1] != bits[i + 1] ||
                           want[i + 2] != bits[i + 2];
      for (int c = 0; c < 3; ++c) {
        rgb[c] = static_cast<char>(differs ? (c == 0 ? 255 : 0) : 128 + want[i + 2 - c] / 2);
      }
    }
    out.write(rgb, 3);
  }
}

// Compares B, G, R with a golden file; on a mismatch keeps the output and a difference picture
// in the test temp folder and reports the share of pixels that differ.
void ExpectMatchesGolden(const Bitmap& bitmap, const std::string& name) {
  const auto golden = ReadGolden(name);
  if (!golden) GTEST_SKIP() << "no golden files under " << QRVA_SHARED_DIR;
  ASSERT_EQ(golden->size(), bitmap.Bits().size()) << name;
  std::size_t differing = 0;
  for (std::size_t i = 0; i < golden->size(); i += 4) {
    for (std::size_t c = 0; c < 3; ++c) {
      if ((*golden)[i + c] != bitmap.Bits()[i + c]) {
        ++differing;
        break;
      }
    }
  }
  if (differing == 0) return;
  const std::filesystem::path folder = ::testing::TempDir();
  WritePpm(folder / (name + ".actual.ppm"), bitmap);
  WritePpm(folder / (name + ".difference.ppm"), bitmap, &*golden);
  ADD_FAILURE() << name << ": " << differing << " of " << golden->size() / 4 << " pixels differ ("
                << 400.0 * static_cast<double>(differing) / static_cast<double>(golden->size())
                << "%); output and difference in " << folder.string();
}

PixelSet PixelsOf(const Bitmap& bitmap, COLORREF colour) {
  PixelSet pixels;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      if (bitmap.GetPixel(x, y) == colour) pixels.insert({x, y});
    }
  }
  return pixels;
}

// A picture as rows of text, one character per pixel standing for the colour `legend` gives it.
void ExpectPicture(const Bitmap& bitmap, int left, int top, const std::vector<std::string>& rows,
                   const std::map<char, COLORREF>& legend) {
  for (std::size_t y = 0; y < rows.size(); ++y) {
    for (std::size_t x = 0; x < rows[y].size(); ++x) {
      EXPECT_EQ(bitmap.GetPixel(left + static_cast<int>(x), top + static_cast<int>(y)),
                legend.at(rows[y][x]))
          << "at (" << left + x << ", " << top + y << ")";
    }
  }
}

Bitmap MakePlaceholder(int width, int height) {
  Bitmap bitmap(width, height);
  CDC dc(bitmap);
  dc.Rectangle(0, 0, width, height);
  dc.MoveTo(0, 0);
  dc.LineTo(width, height);
  dc.MoveTo(0, height);
  dc.LineTo(width, 0);
  return bitmap;
}

// A red-pen ellipse in (10, 10, 17, 17) on white, optionally crossed by the marker's diagonals.
Bitmap MakeMarker(bool withDiagonals) {
  Bitmap bitmap(40, 40);
  CDC dc(bitmap);
  dc.FillRect(0, 0, 40, 40, kWhite);
  dc.SetPenColour(kRed);
  dc.Ellipse(10, 10, 17, 17);
  if (withDiagonals) {
    dc.MoveTo(8, 8);
    dc.LineTo(19, 19);
    dc.MoveTo(8, 19);
    dc.LineTo(19, 8);
  }
  return bitmap;
}

PixelSet DrawLine(int size, int x0, int y0, int x1, int y1) {
  Bitmap bitmap(size, size);
  CDC dc(bitmap);
  dc.SetPenColour(kRed);
  dc.MoveTo(x0, y0);
  dc.LineTo(x1, y1);
  return PixelsOf(bitmap, kRed);
}

TEST(Bitmap, StartsBlackStoresBlueGreenRedZeroAndIgnoresPixelsOutside) {
  Bitmap bitmap(2, 1);
  bitmap.SetPixel(1, 0, RGB(0x11, 0x22, 0x33));
  bitmap.SetPixel(2, 0, kWhite);
  EXPECT_EQ(bitmap.Bits(), (std::vector<std::uint8_t>{0, 0, 0, 0, 0x33, 0x22, 0x11, 0}));
  EXPECT_EQ(bitmap.GetPixel(2, 0), 0xFFFFFFFFu);
}

TEST(Placeholder, MatchesThePlatformAtBothThumbnailSizes) {
  ExpectMatchesGolden(MakePlaceholder(130, 96), "placeholder-130x96.bin");
  ExpectMatchesGolden(MakePlaceholder(66, 49), "placeholder-66x49.bin");
}

TEST(Placeholder, FramesAWhiteBoxCrossedCornerToCorner) {
  const Bitmap bitmap = MakePlaceholder(66, 49);
  EXPECT_EQ(PixelsOf(bitmap, kWhite).size() + PixelsOf(bitmap, kBlack).size(), 66u * 49u);
  // The frame, the falling diagonal (first error 2 * 49 - 66 > 0: it steps down at once) and the
  // rising one, which starts below the bitmap at (0, 49).
  for (auto [x, y] : {std::pair{65, 0}, {0, 48}, {65, 48}, {33, 0}, {1, 1}, {2, 1}, {3, 2},
                      {64, 48}, {2, 48}, {3, 47}, {32, 24}}) {
    EXPECT_EQ(bitmap.GetPixel(x, y), kBlack) << x << ", " << y;
  }
  for (auto [x, y] : {std::pair{1, 2}, {3, 1}, {2, 47}, {10, 20}}) {
    EXPECT_EQ(bitmap.GetPixel(x, y), kWhite) << x << ", " << y;
  }
}

// Corners in any order; nothing for an empty box; a null brush leaves the inside; boxes two
// pixels thin are all outline, and ellipses in them are such rectangles.
TEST(Rectangle, OutlinesTheBoxWithoutItsRightColumnAndBottomRow) {
  Bitmap bitmap(12, 5);
  CDC dc(bitmap);
  dc.SetPenColour(kRed);
  dc.Rectangle(5, 4, 1, 1);
  dc.SetNullBrush(true);
  dc.Rectangle(6, 0, 9, 5);
  dc.Rectangle(8, 2, 8, 4);
  dc.SetBrushColour(kWhite);
  dc.Ellipse(10, 1, 12, 5);
  dc.FillRect(3, 5, -2, 4, kWhite);
  ExpectPicture(bitmap, 0, 0,
                {
                    "......###...",
                    ".####.#.#.##",
                    ".#oo#.#.#.##",
                    ".####.#.#.##",
                    "ooo...###.##",
                },
                {{'.', kBlack}, {'#', kRed}, {'o', kWhite}});
}

// Horizontal and vertical lines run from their start up to their end, whichever way they go;
// the ellipse outline's leftward and upward steps rely on it.
TEST(LineTo, AxisLinesExcludeTheirEndEitherWay) {
  Bitmap bitmap(6, 6);
  CDC dc(bitmap);
  dc.SetPenColour(kRed);
  dc.MoveTo(1, 0);
  dc.LineTo(4, 0);
  dc.MoveTo(4, 2);
  dc.LineTo(1, 2);
  dc.LineTo(1, 2);  // no length: nothing
  dc.MoveTo(5, 4);
  dc.LineTo(5, 1);
  EXPECT_EQ(PixelsOf(bitmap, kRed), (PixelSet{{1, 0}, {2, 0}, {3, 0}, {4, 2}, {3, 2}, {2, 2},
                                              {5, 4}, {5, 3}, {5, 2}}));
}

// One line per octant with an exact tie halfway: octants 3, 5, 6 and 8 step the minor axis on
// the tie, the others wait, so a line and its reverse share their inner pixels.
TEST(LineTo, BreaksTiesByOctant) {
  struct Line {
    int octant, x0, y0, x1, y1;
    PixelSet pixels;
  };
  const std::vector<Line> lines = {
      {1, 1, 1, 5, 3, {{1, 1}, {2, 1}, {3, 2}, {4, 2}}},
      {2, 1, 1, 3, 5, {{1, 1}, {1, 2}, {2, 3}, {2, 4}}},
      {3, 3, 1, 1, 5, {{3, 1}, {2, 2}, {2, 3}, {1, 4}}},
      {4, 5, 1, 1, 3, {{5, 1}, {4, 1}, {3, 2}, {2, 2}}},
      {5, 5, 3, 1, 1, {{5, 3}, {4, 2}, {3, 2}, {2, 1}}},
      {6, 3, 5, 1, 1, {{3, 5}, {2, 4}, {2, 3}, {1, 2}}},
      {7, 1, 5, 3, 1, {{1, 5}, {1, 4}, {2, 3}, {2, 2}}},
      {8, 1, 3, 5, 1, {{1, 3}, {2, 2}, {3, 2}, {4, 1}}},
  };
  for (const Line& line : lines) {
    EXPECT_EQ(DrawLine(8, line.x0, line.y0, line.x1, line.y1), line.pixels)
        << "octant " << line.octant;
  }
}

// A line that starts or ends off the bitmap keeps exactly the pixels it has on a bitmap large
// enough for all of it; lines out of reach finish at once.
TEST(LineTo, ClippingKeepsThePixelsOfTheWholeLine) {
  const std::vector<std::vector<int>> lines = {
      {-30, -7, 25, 14}, {13, 40, -2, -33}, {29, 3, -41, 9}, {-5, 60, 9, -4}};
  for (const std::vector<int>& l : lines) {
    PixelSet expected;
    for (auto [x, y] : DrawLine(200, l[0] + 100, l[1] + 100, l[2] + 100, l[3] + 100)) {
      if (x >= 100 && x < 112 && y >= 100 && y < 112) expected.insert({x - 100, y - 100});
    }
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(DrawLine(12, l[0], l[1], l[2], l[3]), expected) << l[0] << ", " << l[1];
  }
  EXPECT_TRUE(DrawLine(8, -2000000000, -1999999999, 2000000000, 2000000000).empty());
  EXPECT_EQ(DrawLine(8, 0, 0, 100000000, 99999999).size(), 8u);
}

TEST(Ellipse, MatchesThePlatformWithAndWithoutMarkerLines) {
  ExpectMatchesGolden(MakeMarker(false), "ellipse-only-40x40.bin");
  ExpectMatchesGolden(MakeMarker(true), "ellipse-marker-40x40.bin");
}

TEST(Ellipse, OutlinesASevenPixelCircleBetweenTheMarkerLines) {
  const Bitmap bitmap = MakeMarker(true);
  ExpectPicture(bitmap, 8, 8,
                {
                    "#..........",
                    ".#........#",
                    "..#.###..#.",
                    "...#...##..",
                    "..#.#..##..",
                    "..#..##.#..",
                    "..#..##.#..",
                    "...##..#...",
                    "...####.#..",
                    "..#......#.",
                    ".#........#",
                },
                {{'#', kRed}, {'.', kWhite}});
}

// On black with a white brush and a red pen: each painted row is one run with red at both ends
// and no gap, the painted rows are one band centred in the box, nothing lies outside it. (Thin
// ellipses may leave the box's top and bottom rows empty: the midpoint walk stops before the tips.)
TEST(Ellipse, FillsExactlyTheInsideOfItsOutline) {
  for (int width = 3; width <= 24; ++width) {
    for (int height = 3; height <= 24; height += 3) {
      Bitmap bitmap(30, 30);
      CDC dc(bitmap);
      dc.SetPenColour(kRed);
      dc.Ellipse(2, 3, 2 + width, 3 + height);
      const std::string size = std::to_string(width) + " x " + std::to_string(height);
      std::vector<int> painted;
      for (int y = 0; y < 30; ++y) {
        std::vector<int> row;
        for (int x = 0; x < 30; ++x) {
          if (bitmap.GetPixel(x, y) != kBlack) row.push_back(x);
        }
        if (row.empty()) continue;
        painted.push_back(y);
        EXPECT_EQ(row.back() - row.front() + 1, static_cast<int>(row.size())) << size << ", " << y;
        EXPECT_TRUE(row.front() >= 2 && row.back() < 2 + width) << size << ", " << y;
        EXPECT_EQ(bitmap.GetPixel(row.front(), y), kRed) << size << ", " << y;
        EXPECT_EQ(bitmap.GetPixel(row.back(), y), kRed) << size << ", " << y;
      }
      ASSERT_FALSE(painted.empty()) << size;
      EXPECT_EQ(painted.back() - painted.front() + 1, static_cast<int>(painted.size())) << size;
      EXPECT_EQ(painted.front() - 3, 3 + height - 1 - painted.back()) << size;
      EXPECT_EQ(bitmap.GetPixel(2 + width / 2, 3 + height / 2), kWhite) << size;
    }
  }
}

}  // namespace
