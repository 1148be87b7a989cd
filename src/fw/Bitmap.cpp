// Bitmap pixels and the memory device context's drawing: rectangles, ellipses and one-pixel lines
// placed exactly as the platform's memory device contexts place them, clipped to the bitmap.
#include "fw/Bitmap.h"

#include "fw/DibStretch.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

namespace fw {
namespace {

using Coordinate = std::int64_t;  // wide enough that r - 1, 2 * delta and error terms never wrap

constexpr COLORREF kInvalidColour = 0xFFFFFFFF;  // the platform's CLR_INVALID
constexpr std::size_t kBytesPerPixel = 4;

// Lines with an end point further than this from the origin draw nothing: the error terms then
// stay far inside 64 bits, and nothing drawn here comes near it.
constexpr Coordinate kMaxCoordinate = Coordinate{1} << 27;

// Ellipses wider or taller than this draw nothing: the outline is built as a list of points that
// grows with the size, and no bitmap drawn on here comes near it.
constexpr Coordinate kMaxEllipseExtent = Coordinate{1} << 16;

struct Point {
  Coordinate x;
  Coordinate y;
};

bool IsDrawable(Coordinate value) { return value >= -kMaxCoordinate && value <= kMaxCoordinate; }

// Floor of numerator / denominator for a positive denominator, whatever the numerator's sign.
Coordinate FloorDivide(Coordinate numerator, Coordinate denominator) {
  Coordinate quotient = numerator / denominator;
  if (numerator % denominator != 0 && numerator < 0) --quotient;
  return quotient;
}

Coordinate CeilDivide(Coordinate numerator, Coordinate denominator) {
  return -FloorDivide(-numerator, denominator);
}

// Fills [left, right) x [top, bottom) after clipping it to the bitmap; nothing for an empty box.
void FillClipped(Bitmap& bitmap, Coordinate left, Coordinate top, Coordinate right,
                 Coordinate bottom, COLORREF colour) {
  left = std::max<Coordinate>(left, 0);
  top = std::max<Coordinate>(top, 0);
  right = std::min<Coordinate>(right, bitmap.Width());
  bottom = std::min<Coordinate>(bottom, bitmap.Height());
  for (Coordinate y = top; y < bottom; ++y) {
    for (Coordinate x = left; x < right; ++x) {
      bitmap.SetPixel(static_cast<int>(x), static_cast<int>(y), colour);
    }
  }
}

void PlotClipped(Bitmap& bitmap, Coordinate x, Coordinate y, COLORREF colour) {
  if (x < 0 || y < 0 || x >= bitmap.Width() || y >= bitmap.Height()) return;
  bitmap.SetPixel(static_cast<int>(x), static_cast<int>(y), colour);
}

// Octant of a direction in y-down space, numbered clockwise from the positive x axis as the
// platform's line code numbers them: 1 = dx > dy > 0, 2 = 0 < dx <= dy, and so on round.
int OctantOf(Coordinate dx, Coordinate dy) {
  if (dy > 0) {
    if (dx > 0) return dx > dy ? 1 : 2;
    return -dx > dy ? 4 : 3;
  }
  if (dx < 0) return -dx > -dy ? 5 : 6;
  return dx > -dy ? 8 : 7;
}

// Lines in octants 3, 5, 6 and 8 step the minor axis already on an exact tie, so that a line
// drawn backwards covers the same pixels as the line drawn forwards (the GIQ diamond rule).
Coordinate BiasOf(int octant) {
  return octant == 3 || octant == 5 || octant == 6 || octant == 8 ? 1 : 0;
}

// The steps i in [0, count) whose coordinate start + i * step lies in [0, extent), as a closed
// range; empty when first > last.
std::pair<Coordinate, Coordinate> StepsInside(Coordinate start, Coordinate step, Coordinate count,
                                              Coordinate extent) {
  Coordinate first = step > 0 ? -start : start - (extent - 1);
  Coordinate last = step > 0 ? extent - 1 - start : start;
  return {std::max<Coordinate>(first, 0), std::min<Coordinate>(last, count - 1)};
}

// A line that is neither horizontal nor vertical: Bresenham's walk along the major axis, the end
// point excluded. Only the steps whose major coordinate lies on the bitmap are walked; the error
// term at the first of them is computed directly, as the platform's clipper restarts it.
void DrawSlopedLine(Bitmap& bitmap, Point from, Point to, COLORREF colour) {
  const Coordinate dx = to.x - from.x;
  const Coordinate dy = to.y - from.y;
  const Coordinate bias = BiasOf(OctantOf(dx, dy));
  const bool xMajor = std::abs(dx) > std::abs(dy);
  const Coordinate major = xMajor ? std::abs(dx) : std::abs(dy);
  const Coordinate minor = xMajor ? std::abs(dy) : std::abs(dx);
  const Coordinate xStep = dx > 0 ? 1 : -1;
  const Coordinate yStep = dy > 0 ? 1 : -1;

  auto [first, last] = xMajor ? StepsInside(from.x, xStep, major, bitmap.Width())
                              : StepsInside(from.y, yStep, major, bitmap.Height());
  if (first > last) return;
  // After i steps the minor axis has moved ceil((2 minor i - major + bias) / (2 major)) times.
  const Coordinate minorMoves = CeilDivide(2 * minor * first - major + bias, 2 * major);
  Coordinate error = 2 * minor - major + 2 * minor * first - 2 * major * minorMoves;
  Coordinate majorAt = (xMajor ? from.x : from.y) + first * (xMajor ? xStep : yStep);
  Coordinate minorAt = (xMajor ? from.y : from.x) + minorMoves * (xMajor ? yStep : xStep);

  for (Coordinate i = first; i <= last; ++i) {
    if (xMajor) {
      PlotClipped(bitmap, majorAt, minorAt, colour);
    } else {
      PlotClipped(bitmap, minorAt, majorAt, colour);
    }
    if (error + bias > 0) {
      minorAt += xMajor ? yStep : xStep;
      error += 2 * minor - 2 * major;
    } else {
      error += 2 * minor;
    }
    majorAt += xMajor ? xStep : yStep;
  }
}

// The span [first, last) that a horizontal or vertical line from `from` to `to` covers on its
// axis: its start up to but not including its end, whichever way it runs.
std::pair<Coordinate, Coordinate> AxisSpan(Coordinate from, Coordinate to) {
  return from <= to ? std::pair{from, to} : std::pair{to + 1, from + 1};
}

// One pen line from `from` up to but not including `to`.
void DrawLine(Bitmap& bitmap, Point from, Point to, COLORREF colour) {
  if (!IsDrawable(from.x) || !IsDrawable(from.y) || !IsDrawable(to.x) || !IsDrawable(to.y)) {
    return;
  }
  if (from.y == to.y) {
    auto [first, last] = AxisSpan(from.x, to.x);
    FillClipped(bitmap, first, from.y, last, from.y + 1, colour);
  } else if (from.x == to.x) {
    auto [first, last] = AxisSpan(from.y, to.y);
    FillClipped(bitmap, from.x, first, from.x + 1, last, colour);
  } else {
    DrawSlopedLine(bitmap, from, to, colour);
  }
}

// A box with its corners in order: left <= right, top <= bottom.
struct Box {
  Coordinate left;
  Coordinate top;
  Coordinate right;
  Coordinate bottom;

  Coordinate Width() const { return right - left; }
  Coordinate Height() const { return bottom - top; }
};

Box OrderedBox(int left, int top, int right, int bottom) {
  return Box{std::min(left, right), std::min(top, bottom), std::max(left, right),
             std::max(top, bottom)};
}

// The first quadrant of an ellipse of the given size as offsets from its box's left edge and
// bottom row, from the right end of the middle row up to the middle of the top: Zingl's integer
// midpoint algorithm as the platform runs it.
std::vector<Point> EllipseFirstQuadrant(Coordinate width, Coordinate height) {
  const Coordinate a = width - 1;
  const Coordinate b = height - 1;
  const Coordinate aSquared8 = 8 * a * a;
  const Coordinate bSquared8 = 8 * b * b;
  Coordinate xChange = 4 * b * b * (1 - a);
  Coordinate yChange = 4 * a * a * (1 + b % 2);
  Coordinate error = xChange + yChange + a * a * (b % 2);

  std::vector<Point> points;
  Point at{a, height / 2};
  while (at.x >= width / 2) {
    const Coordinate doubled = 2 * error;
    points.push_back(at);
    if (doubled >= xChange) {
      --at.x;
      xChange += bSquared8;
      error += xChange;
    }
    if (doubled <= yChange) {
      ++at.y;
      yChange += aSquared8;
      error += yChange;
    }
  }
  return points;
}

// The closed outline of the ellipse in `box` as the platform's polyline: the first quadrant
// placed counter-clockwise, then mirrored left to right and top to bottom, the middle point of
// an odd size not repeated.
std::vector<Point> EllipseOutline(const Box& box) {
  std::vector<Point> points = EllipseFirstQuadrant(box.Width(), box.Height());
  for (Point& point : points) {
    point = Point{box.left + point.x, box.top + box.Height() - 1 - point.y};
  }

  const std::size_t quadrant = points.size();
  std::size_t end = 2 * quadrant - 1;
  if (box.Width() % 2 != 0) --end;
  points.resize(end + 1);
  for (std::size_t i = 0; i < quadrant; ++i) {
    points[end - i] = Point{box.left + box.right - 1 - points[i].x, points[i].y};
  }

  const std::size_t half = points.size();
  end = 2 * half - 1;
  if (box.Height() % 2 != 0) --end;
  points.resize(end + 1);
  for (std::size_t i = 0; i < half; ++i) {
    points[end - i] = Point{points[i].x, box.top + box.bottom - 1 - points[i].y};
  }
  return points;
}

// One row of the ellipse's interior: [left, right) on the row.
struct RowSpan {
  Coordinate left = 0;
  Coordinate right = 0;
};

// The interior as the platform's round-rectangle region of the box grown by one pixel to the
// right and bottom: one span per row of the box, the same midpoint walk as the outline, run
// from the middle row down and mirrored up.
std::vector<RowSpan> EllipseInterior(const Box& box) {
  const Coordinate width = box.Width();
  const Coordinate height = box.Height();
  const Coordinate a = width - 1;
  const Coordinate b = height - 1;
  const Coordinate aSquared8 = 8 * a * a;
  const Coordinate bSquared8 = 8 * b * b;
  Coordinate xChange = 4 * b * b * (1 - a);
  Coordinate yChange = 4 * a * a * (1 + b % 2);
  Coordinate error = xChange + yChange + a * a * (b % 2);

  std::vector<RowSpan> rows(static_cast<std::size_t>(height));
  Coordinate inset = 0;
  Coordinate row = height / 2;
  rows[static_cast<std::size_t>(row)] = RowSpan{box.left, box.right};
  while (inset <= width / 2) {
    const Coordinate doubled = 2 * error;
    if (doubled >= xChange) {
      ++inset;
      xChange += bSquared8;
      error += xChange;
    }
    if (doubled <= yChange) {
      ++row;
      yChange += aSquared8;
      error += yChange;
      if (row < height) {
        rows[static_cast<std::size_t>(row)] = RowSpan{box.left + inset, box.right - inset};
      }
    }
  }
  for (Coordinate upper = 0; upper < height / 2; ++upper) {
    rows[static_cast<std::size_t>(upper)] = rows[static_cast<std::size_t>(b - upper)];
  }
  return rows;
}

}  // namespace

Bitmap::Bitmap(int width, int height) {
  if (width <= 0 || height <= 0) return;
  width_ = width;
  height_ = height;
  bits_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * kBytesPerPixel,
               0);
}

std::vector<std::uint8_t> PackedDibOf(const Bitmap& bitmap) {
  constexpr std::uint32_t kHeaderBytes = 40;
  std::vector<std::uint8_t> bytes;
  bytes.reserve(kHeaderBytes + bitmap.Bits().size());
  auto put = [&bytes](std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  };
  put(kHeaderBytes, 4);
  put(static_cast<std::uint32_t>(bitmap.Width()), 4);
  put(static_cast<std::uint32_t>(-bitmap.Height()), 4);  // negative: rows from the top
  put(1, 2);                                              // planes
  put(32, 2);                                             // bits per pixel
  put(0, 4);                                              // BI_RGB
  put(static_cast<std::uint32_t>(bitmap.Bits().size()), 4);
  put(0, 4);
  put(0, 4);
  put(0, 4);
  put(0, 4);
  // The pixels are stored B, G, R, 0 from the top: the rows of a 32-bit bitmap as they are.
  bytes.insert(bytes.end(), bitmap.Bits().begin(), bitmap.Bits().end());
  return bytes;
}

COLORREF Bitmap::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return kInvalidColour;
  const std::uint8_t* pixel =
      &bits_[(static_cast<std::size_t>(y) * width_ + static_cast<std::size_t>(x)) * kBytesPerPixel];
  return RGB(pixel[2], pixel[1], pixel[0]);
}

void Bitmap::SetPixel(int x, int y, COLORREF colour) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  std::uint8_t* pixel =
      &bits_[(static_cast<std::size_t>(y) * width_ + static_cast<std::size_t>(x)) * kBytesPerPixel];
  pixel[0] = GetBValue(colour);
  pixel[1] = GetGValue(colour);
  pixel[2] = GetRValue(colour);
  pixel[3] = 0;
}

CDC::CDC(Bitmap& bitmap) : bitmap_(bitmap) {}

void CDC::SetPenColour(COLORREF colour) { pen_ = colour; }

void CDC::SetBrushColour(COLORREF colour) {
  brush_ = colour;
  nullBrush_ = false;
}

void CDC::SetNullBrush(bool null) { nullBrush_ = null; }

void CDC::Rectangle(int left, int top, int right, int bottom) {
  const Box box = OrderedBox(left, top, right, bottom);
  if (box.Width() == 0 || box.Height() == 0) return;
  // The outline runs on the border of [left, right - 1] x [top, bottom - 1]; the brush fills
  // what lies strictly inside it.
  const Coordinate lastX = box.right - 1;
  const Coordinate lastY = box.bottom - 1;
  if (!nullBrush_) FillClipped(bitmap_, box.left + 1, box.top + 1, lastX, lastY, brush_);
  FillClipped(bitmap_, box.left, box.top, box.right, box.top + 1, pen_);
  FillClipped(bitmap_, box.left, lastY, box.right, box.bottom, pen_);
  FillClipped(bitmap_, box.left, box.top, box.left + 1, box.bottom, pen_);
  FillClipped(bitmap_, lastX, box.top, box.right, box.bottom, pen_);
}

void CDC::FillRect(int left, int top, int right, int bottom, COLORREF colour) {
  const Box box = OrderedBox(left, top, right, bottom);
  FillClipped(bitmap_, box.left, box.top, box.right, box.bottom, colour);
}

void CDC::Ellipse(int left, int top, int right, int bottom) {
  const Box box = OrderedBox(left, top, right, bottom);
  if (box.Width() == 0 || box.Height() == 0) return;
  if (box.Width() <= 2 || box.Height() <= 2) {
    Rectangle(left, top, right, bottom);
    return;
  }
  if (box.Width() > kMaxEllipseExtent || box.Height() > kMaxEllipseExtent) return;

  // The interior first, so that the outline is drawn over its edge.
  if (!nullBrush_) {
    const std::vector<RowSpan> rows = EllipseInterior(box);
    for (std::size_t row = 0; row < rows.size(); ++row) {
      const Coordinate y = box.top + static_cast<Coordinate>(row);
      FillClipped(bitmap_, rows[row].left, y, rows[row].right, y + 1, brush_);
    }
  }
  const std::vector<Point> outline = EllipseOutline(box);
  for (std::size_t i = 0; i < outline.size(); ++i) {
    DrawLine(bitmap_, outline[i], outline[(i + 1) % outline.size()], pen_);
  }
}

int CDC::SetStretchBltMode(int mode) {
  if (mode != BLACKONWHITE && mode != WHITEONBLACK && mode != COLORONCOLOR) return 0;
  const int previous = stretchMode_;
  stretchMode_ = mode;
  return previous;
}

Status CDC::StretchDIBits(int xDest, int yDest, int wDest, int hDest, int xSrc, int ySrc,
                          int wSrc, int hSrc, std::span<const std::uint8_t> packedBitmap) {
  return StretchDib(bitmap_, DibRect{xDest, yDest, wDest, hDest}, DibRect{xSrc, ySrc, wSrc, hSrc},
                    packedBitmap, stretchMode_);
}

void CDC::MoveTo(int x, int y) {
  currentX_ = x;
  currentY_ = y;
}

void CDC::LineTo(int x, int y) {
  DrawLine(bitmap_, Point{currentX_, currentY_}, Point{x, y}, pen_);
  currentX_ = x;
  currentY_ = y;
}

}  // namespace fw
