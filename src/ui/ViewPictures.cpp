// The view button's four pictures, drawn here as character art and turned into a packed 4-bit
// bitmap when the module is compiled, so the module carries them as any other resource.
#include "ui/ViewPictures.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace ui {
namespace {

constexpr int kPictures = 4;
constexpr int kWidth = kViewPictureWidth * kPictures;
constexpr int kHeight = kViewPictureHeight;

// One picture a row of art: '.' transparent (magenta), '#' black, 'w' white, 'g' grey,
// 's' silver, 'b' navy.
using Art = std::array<std::string_view, kHeight>;

constexpr Art kLargeIcons = {
    "......................", "..######.....######...", "..#wwww#.....#wwww#...",
    "..#wbbw#.....#wbbw#...", "..#wbbw#.....#wbbw#...", "..#wwww#.....#wwww#...",
    "..######.....######...", "......................", ".########...########..",
    "......................", "..######.....######...", "..#wwww#.....#wwww#...",
    "..#wbbw#.....#wbbw#...", "..#wwww#.....#wwww#...", "..######.....######...",
    "......................"};
constexpr Art kSmallIcons = {
    "......................", ".###.......###........", ".#b#.####..#b#.####...",
    ".###.......###........", "......................", ".###.......###........",
    ".#b#.####..#b#.####...", ".###.......###........", "......................",
    ".###.......###........", ".#b#.####..#b#.####...", ".###.......###........",
    "......................", ".###.......###........", ".#b#.####..#b#.####...",
    ".###.......###........"};
constexpr Art kList = {
    "......................", ".bb.######..bb.#####..", ".bb.........bb........",
    "......................", ".bb.####....bb.######.", ".bb.........bb........",
    "......................", ".bb.#######.bb.###....", ".bb.........bb........",
    "......................", ".bb.#####...bb.####...", ".bb.........bb........",
    "......................", ".bb.######..bb.#####..", ".bb.........bb........",
    "......................"};
constexpr Art kReport = {
    "......................", ".####################.", ".#ssssss#sssss#sssss#.",
    ".####################.", "......................", ".bb.####..###...####..",
    "......................", ".bb.###...####..###...", "......................",
    ".bb.#####.##....#####.", "......................", ".bb.##....###...###...",
    "......................", ".bb.####..####..##....", "......................",
    "......................"};
constexpr std::array<const Art*, kPictures> kArt = {&kLargeIcons, &kSmallIcons, &kList,
                                                      &kReport};

constexpr std::array<fw::COLORREF, 16> kPalette = {
    fw::RGB(0, 0, 0),       fw::RGB(255, 255, 255), fw::RGB(128, 128, 128),
    fw::RGB(192, 192, 192), fw::RGB(0, 0, 128),     kViewPictureTransparent};

constexpr std::uint8_t IndexOf(char c) {
  switch (c) {
    case '#':
      return 0;
    case 'w':
      return 1;
    case 'g':
      return 2;
    case 's':
      return 3;
    case 'b':
      return 4;
    default:
      return 5;
  }
}

constexpr bool ArtIsWellFormed() {
  for (const Art* art : kArt) {
    for (std::string_view row : *art) {
      if (row.size() != static_cast<std::size_t>(kViewPictureWidth)) return false;
      for (char c : row) {
        if (c != '.' && c != '#' && c != 'w' && c != 'g' && c != 's' && c != 'b') return false;
      }
    }
  }
  return true;
}
static_assert(ArtIsWellFormed(), "every row of art is 22 known characters");

// The packed bitmap: a 40-byte header (rows from the bottom, 4 bits per pixel, 16 colours),
// the palette as blue, green, red, 0, and the rows, each a multiple of 4 bytes.
constexpr std::size_t kHeaderBytes = 40;
constexpr std::size_t kStride = (kWidth * 4 + 31) / 32 * 4;
constexpr std::size_t kDibBytes = kHeaderBytes + kPalette.size() * 4 + kStride * kHeight;

constexpr std::array<std::uint8_t, kDibBytes> BuildDib() {
  std::array<std::uint8_t, kDibBytes> dib{};
  std::size_t at = 0;
  auto put = [&dib, &at](std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) dib[at++] = static_cast<std::uint8_t>(value >> (8 * i));
  };
  put(kHeaderBytes, 4);
  put(kWidth, 4);
  put(kHeight, 4);
  put(1, 2);   // planes
  put(4, 2);   // bits per pixel
  put(0, 4);   // uncompressed
  put(kStride * kHeight, 4);
  put(0, 4);
  put(0, 4);
  put(kPalette.size(), 4);
  put(0, 4);
  for (fw::COLORREF colour : kPalette) {
    put(fw::GetBValue(colour), 1);
    put(fw::GetGValue(colour), 1);
    put(fw::GetRValue(colour), 1);
    put(0, 1);
  }
  for (int row = kHeight - 1; row >= 0; --row) {
    const std::size_t rowStart = at;
    for (int x = 0; x < kWidth; x += 2) {
      const Art& left = *kArt[static_cast<std::size_t>(x / kViewPictureWidth)];
      const Art& right = *kArt[static_cast<std::size_t>((x + 1) / kViewPictureWidth)];
      const auto high = IndexOf(left[static_cast<std::size_t>(row)]
                                    [static_cast<std::size_t>(x % kViewPictureWidth)]);
      const auto low = IndexOf(right[static_cast<std::size_t>(row)]
                                    [static_cast<std::size_t>((x + 1) % kViewPictureWidth)]);
      dib[at++] = static_cast<std::uint8_t>((high << 4) | low);
    }
    at = rowStart + kStride;
  }
  return dib;
}

constexpr std::array<std::uint8_t, kDibBytes> kDib = BuildDib();

}  // namespace

std::span<const std::uint8_t> ViewPicturesDib() { return kDib; }

}  // namespace ui
