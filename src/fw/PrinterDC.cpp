// The state every printer device context keeps alike: pen, brush, stretch mode, text colours and
// background mode, the selected font and the current position.
#include "fw/PrinterDC.h"

#include <utility>

namespace fw {

int FontHeightForPoints(int points, int dotsPerInch) { return -MulDiv(points, dotsPerInch, 72); }

PrinterDC::PrinterDC() : font_{L"Liberation Sans", 0, FW_NORMAL} {}

int PrinterDC::SetStretchBltMode(int mode) {
  if (mode != BLACKONWHITE && mode != WHITEONBLACK && mode != COLORONCOLOR) return 0;
  return std::exchange(stretchMode_, mode);
}

COLORREF PrinterDC::SetTextColor(COLORREF colour) { return std::exchange(textColour_, colour); }

COLORREF PrinterDC::SetBkColor(COLORREF colour) { return std::exchange(bkColour_, colour); }

int PrinterDC::SetBkMode(int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  return std::exchange(bkMode_, mode);
}

int PrinterDC::SetMapMode(int mode) { return mode == MM_TEXT ? MM_TEXT : 0; }

Font PrinterDC::SelectFont(const Font& font) { return std::exchange(font_, font); }

}  // namespace fw
