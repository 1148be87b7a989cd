// Raster bitmaps and the device context that draws on them with the platform's pixel rules.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "fw/DeviceContext.h"
#include "fw/Result.h"

namespace fw {

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

// The bitmap as a packed device-independent bitmap (see PackedDib.h): a 40-byte header with a
// negative height (rows from the top), 32 bits per pixel, no palette; what StretchDIBits takes
// to stretch one raster bitmap onto another.
std::vector<std::uint8_t> PackedDibOf(const Bitmap& bitmap);

// A memory device context with one selected bitmap and the defaults of a new context: black
// one-pixel solid pen, white brush, current position (0, 0). Draws pixel for pixel as the
// platform's memory device contexts do (see DeviceContext for the calls).
class CDC final : public DeviceContext {
 public:
  explicit CDC(Bitmap& bitmap);

  void SetPenColour(COLORREF colour) override;
  void SetBrushColour(COLORREF colour) override;
  void SetNullBrush(bool null) override;
  COLORREF PenColour() const override { return pen_; }
  COLORREF BrushColour() const override { return brush_; }

  int SetStretchBltMode(int mode) override;
  int GetStretchBltMode() const override { return stretchMode_; }
  Status StretchDIBits(int xDest, int yDest, int wDest, int hDest, int xSrc, int ySrc, int wSrc,
                       int hSrc, std::span<const std::uint8_t> packedBitmap) override;

  void Rectangle(int left, int top, int right, int bottom) override;
  void FillRect(int left, int top, int right, int bottom, COLORREF colour) override;
  // A box two pixels wide or high (or less) is drawn as a rectangle.
  void Ellipse(int left, int top, int right, int bottom) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;

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
