#include "fw/StretchRuns.h"

#include <algorithm>
#include <cstdint>

namespace fw {

std::vector<SourceRun> StretchRuns(int sourceLength, int destinationLength) {
  if (destinationLength == 1 && sourceLength > 1) --sourceLength;
  const std::int64_t source = sourceLength;
  const std::int64_t destination = destinationLength;
  std::vector<SourceRun> runs(static_cast<std::size_t>(destinationLength));
  if (source <= destination) {
    std::int64_t error = 3 * source - 2 * destination;
    int at = 0;
    for (SourceRun& run : runs) {
      run = SourceRun{at, at};
      if (error > 0) {
        at = std::min(at + 1, sourceLength - 1);
        error += 2 * source - 2 * destination;
      } else {
        error += 2 * source;
      }
    }
    return runs;
  }
  std::int64_t error = 3 * destination - 2 * source;
  std::size_t at = 0;
  bool startsRun = true;
  for (int pixel = 0; pixel < sourceLength; ++pixel) {
    if (startsRun) runs[at].first = pixel;
    runs[at].last = pixel;
    startsRun = false;
    if (error > 0) {
      if (at + 1 < runs.size()) {
        ++at;
        startsRun = true;
      }
      error += 2 * destination - 2 * source;
    } else {
      error += 2 * destination;
    }
  }
  return runs;
}

}  // namespace fw
