// Raster bitmaps and the device context that draws on them with the platform's pixel rules.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "fw/Result.h"

namespace fw {

// A colour as the platform stores it: 0x00BBGGRR.
using COLORREF = std::uint32_t;
constexpr COLORREF RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) |
         (static_cast<COLORREF>(b) << 16);
}
constexpr std::uint8_t GetRValue(COLORREF c) { return static_cast<std::uint8_t>(c); }
constexpr std::uint8_t GetGValue(COLORREF c) { return static_cast<std::uint8_t>(c >> 8); }
constexpr std::uint8_t GetBValue(COLORREF c) { return static_cast<std::uint8_t>(c >> 16); }

// The platform's stretch modes: when shrinking, the pixels of a run are ANDed (keeps black),
// ORed (keeps white) or all but one dropped.
constexpr int BLACKONWHITE = 1;
constexpr int WHITEONBLACK = 2;
constexpr int COLORONCOLOR = 3;

// A 32-bit bitmap compatible with the screen, rows from the top, each pixel 0x00RRGGBB in
// memory order B, G, R, 0. A new bitmap is all zero (black).
class Bitmap {
 public:
  Bitmap() = default;
  Bitmap(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool IsEmpty() const { return width_ == 0 || height_ == 0; }
  COLORREF GetPixel(int x, int y) const;        // CLR_INVALID (0xFFFFFFFF) outside
  void SetPixel(int x, int y, COLORREF colour);  // ignored outside
  // B, G, R, 0 for each pixel, rows from the top.
  const std::vector<std::uint8_t>& Bits() const { return bits_; }
  std::vector<std::uint8_t>& Bits() { return bits_; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint8_t> bits_;
};

// A memory device context with one selected bitmap and the defaults of a new context: black
// one-pixel solid pen, white brush, current position (0, 0).
class CDC {
 public:
  explicit CDC(Bitmap& bitmap);

  void SetPenColour(COLORREF colour);
  void SetBrushColour(COLORREF colour);
  void SetNullBrush(bool null);
  COLORREF PenColour() const { return pen_; }
  COLORREF BrushColour() const { return brush_; }

  // Returns the previous mode; 0, and the mode unchanged, for a mode other than BLACKONWHITE,
  // WHITEONBLACK or COLORONCOLOR.
  int SetStretchBltMode(int mode);
  int GetStretchBltMode() const { return stretchMode_; }
  // Draws a packed bitmap (header, masks, palette, rows) from the source rectangle into the
  // destination rectangle in the current stretch mode; ySrc counts from the bottom of a
  // bottom-up bitmap. A clear error and nothing drawn for bytes that are not a bitmap we draw
  // or a source rectangle outside it (see fw/DibStretch.h).
  Status StretchDIBits(int xDest, int yDest, int wDest, int hDest, int xSrc, int ySrc, int wSrc,
                       int hSrc, std::span<const std::uint8_t> packedBitmap);

  // Outline with the pen, inside with the brush; the right column and bottom row are never
  // drawn. Nothing is drawn when left == right or top == bottom.
  void Rectangle(int left, int top, int right, int bottom);
  void FillRect(int left, int top, int right, int bottom, COLORREF colour);
  // The ellipse inscribed in the box, interior filled with the brush and then outlined with the
  // pen; like Rectangle, it stays left of `right` and above `bottom`. A box two pixels wide or
  // high (or less) is drawn as a rectangle.
  void Ellipse(int left, int top, int right, int bottom);
  void MoveTo(int x, int y);
  // Draws from the current position up to but not including (x, y), which becomes current.
  void LineTo(int x, int y);

 private:
  Bitmap& bitmap_;
  COLORREF pen_ = RGB(0, 0, 0);
  COLORREF brush_ = RGB(255, 255, 255);
  bool nullBrush_ = false;
  int stretchMode_ = BLACKONWHITE;
  int currentX_ = 0;
  int currentY_ = 0;
};

}  // namespace fw
