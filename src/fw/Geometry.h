// Points, sizes and rectangles in pixels, as the window framework measures controls: a rectangle
// holds its left and top edges and stops before its right and bottom edges.
#pragma once

namespace fw {

struct CPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const CPoint&, const CPoint&) = default;
};

struct CSize {
  int cx = 0;
  int cy = 0;
  friend bool operator==(const CSize&, const CSize&) = default;
};

struct CRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsRectEmpty() const { return right <= left || bottom <= top; }
  bool PtInRect(CPoint point) const {
    return point.x >= left && point.x < right && point.y >= top && point.y < bottom;
  }
  void OffsetRect(int dx, int dy) {
    left += dx;
    right += dx;
    top += dy;
    bottom += dy;
  }
  friend bool operator==(const CRect&, const CRect&) = default;
};

// The platform's MulDiv: value * numerator / denominator with the product in 64 bits, rounded
// half away from zero. The denominator must not be 0.
inline int MulDiv(int value, int numerator, int denominator) {
  const long long product = static_cast<long long>(value) * numerator;
  const long long half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator
                                       : (product - half) / denominator);
}

}  // namespace fw
