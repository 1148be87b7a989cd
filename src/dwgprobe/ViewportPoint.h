// Converting the drawing reader's viewport records into insertion points on the preview.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace dwgprobe {

// One viewport record of 18 doubles:
//   0-2   the point P (the drawing's insertion base)
//   3-4   the viewport's lower-left corner, as fractions of the image
//   5-6   its upper-right corner, likewise
//   7-9   the view target
//   10-12 the view direction
//   13    the view width       14  the view height       15  the twist angle (radians)
//   16-17 the view centre
inline constexpr std::size_t kViewportRecordDoubles = 18;

struct PreviewPoint {
  double x;
  double y;
};

// The insertion point of one record on an image of `width` x `height` pixels, origin at its
// lower left; nothing when the point falls outside the view (fx or fy outside 0...1) or the
// view is degenerate (zero width, height or direction).
std::optional<PreviewPoint> ViewportInsertionPoint(std::span<const double, kViewportRecordDoubles> record,
                                                   int width, int height);

// Converts every whole record of `records` and appends the points as x, y pairs; a trailing
// partial record is ignored.
void AppendInsertionPoints(std::span<const double> records, int width, int height,
                           std::vector<double>& points);

}  // namespace dwgprobe
