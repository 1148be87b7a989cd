// What every device context draws with, the raster one of a memory bitmap and a printer's alike:
// a pen and a brush, the stretch mode, packed bitmaps stretched onto it, rectangles, ellipses and
// lines. Code that draws a preview takes this, so the same drawing lands on a bitmap or a page.
#pragma once

#include <cstdint>
#include <span>

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

// Coordinates are the device's pixels. A new context has a black one-pixel solid pen, a white
// brush, BLACKONWHITE and the current position (0, 0). Used on one thread at a time.
class DeviceContext {
 public:
  virtual ~DeviceContext() = default;

  virtual void SetPenColour(COLORREF colour) = 0;
  virtual void SetBrushColour(COLORREF colour) = 0;
  virtual void SetNullBrush(bool null) = 0;
  virtual COLORREF PenColour() const = 0;
  virtual COLORREF BrushColour() const = 0;

  // Returns the previous mode; 0, and the mode unchanged, for a mode other than BLACKONWHITE,
  // WHITEONBLACK or COLORONCOLOR.
  virtual int SetStretchBltMode(int mode) = 0;
  virtual int GetStretchBltMode() const = 0;
  // Draws a packed bitmap (header, masks, palette, rows) from the source rectangle into the
  // destination rectangle in the current stretch mode; ySrc counts from the bottom of a
  // bottom-up bitmap. A clear error and nothing drawn for bytes that are not a bitmap we draw
  // or a source rectangle outside it (see fw/DibStretch.h).
  virtual Status StretchDIBits(int xDest, int yDest, int wDest, int hDest, int xSrc, int ySrc,
                               int wSrc, int hSrc, std::span<const std::uint8_t> packedBitmap) = 0;

  // Outline with the pen, inside with the brush; the right column and bottom row are never
  // drawn. Nothing is drawn when left == right or top == bottom.
  virtual void Rectangle(int left, int top, int right, int bottom) = 0;
  virtual void FillRect(int left, int top, int right, int bottom, COLORREF colour) = 0;
  // The ellipse inscribed in the box, filled with the brush and outlined with the pen; it stays
  // left of `right` and above `bottom`.
  virtual void Ellipse(int left, int top, int right, int bottom) = 0;
  virtual void MoveTo(int x, int y) = 0;
  // Draws from the current position up to but not including (x, y), which becomes current.
  virtual void LineTo(int x, int y) = 0;
};

}  // namespace fw
