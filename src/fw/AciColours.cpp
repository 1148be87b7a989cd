// The colour-index table: nine named colours, 24 hues in ten shades, six greys.
#include "fw/AciColours.h"

#include <algorithm>
#include <cmath>

namespace fw {
namespace {

COLORREF ContrastOf(COLORREF background) {
  const int luminance = (299 * GetRValue(background) + 587 * GetGValue(background) +
                         114 * GetBValue(background)) /
                        1000;
  return luminance > 127 ? RGB(0, 0, 0) : RGB(255, 255, 255);
}

std::uint8_t Channel(double value) {
  return static_cast<std::uint8_t>(std::clamp(std::lround(value * 255.0), 0L, 255L));
}

// Indexes 10-249: hue (index / 10 - 1) * 15 degrees; within each ten, pairs of shades from
// bright to dark, the second of each pair paler.
COLORREF HueShade(int index) {
  const double hue = (index / 10 - 1) * 15.0;
  const int shade = index % 10;
  static constexpr double kValues[] = {1.0, 0.8, 0.6, 0.5, 0.3};
  const double value = kValues[shade / 2];
  const double saturation = shade % 2 == 0 ? 1.0 : 0.5;
  const double sector = hue / 60.0;
  const double fraction = sector - std::floor(sector);
  const double p = value * (1 - saturation);
  const double q = value * (1 - saturation * fraction);
  const double t = value * (1 - saturation * (1 - fraction));
  double r = value, g = t, b = p;
  switch (static_cast<int>(sector) % 6) {
    case 0:
      r = value;
      g = t;
      b = p;
      break;
    case 1:
      r = q;
      g = value;
      b = p;
      break;
    case 2:
      r = p;
      g = value;
      b = t;
      break;
    case 3:
      r = p;
      g = q;
      b = value;
      break;
    case 4:
      r = t;
      g = p;
      b = value;
      break;
    case 5:
      r = value;
      g = p;
      b = q;
      break;
  }
  return RGB(Channel(r), Channel(g), Channel(b));
}

}  // namespace

COLORREF AciColour(int index, COLORREF background) {
  static constexpr COLORREF kNamed[] = {0,
                                            RGB(255, 0, 0),
                                            RGB(255, 255, 0),
                                            RGB(0, 255, 0),
                                            RGB(0, 255, 255),
                                            RGB(0, 0, 255),
                                            RGB(255, 0, 255),
                                            0,
                                            RGB(128, 128, 128),
                                            RGB(192, 192, 192)};
  static constexpr std::uint8_t kGreys[] = {51, 91, 132, 173, 214, 255};
  if (index >= 1 && index <= 9 && index != 7) return kNamed[index];
  if (index >= 10 && index <= 249) return HueShade(index);
  if (index >= 250 && index <= 255) {
    const std::uint8_t grey = kGreys[index - 250];
    return RGB(grey, grey, grey);
  }
  return ContrastOf(background);
}

}  // namespace fw
