// How the platform's stretch maps source pixels onto destination pixels along one axis; shared
// by the image lists' Replace and StretchDIBits, which must stretch alike.
#pragma once

#include <vector>

namespace fw {

// The source pixels [first, last] that land on one destination pixel along one axis.
struct SourceRun {
  int first = 0;
  int last = 0;
};

// Enlarging walks the destination and repeats source pixels; shrinking walks the source and
// gathers runs; both with Bresenham's error terms starting at 3S - 2D or 3D - 2S. A one-pixel
// destination leaves out the last source pixel, as the platform does. Both lengths positive.
std::vector<SourceRun> StretchRuns(int sourceLength, int destinationLength);

}  // namespace fw
