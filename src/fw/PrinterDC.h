// The printer device context the print dialog returns: a print job of pages, the device's
// capabilities, and drawing on the page in the device's pixels: pens of any width, brushes,
// fonts and text boxes, bitmaps and packed bitmaps stretched onto the page.
#pragma once

#include <string>

#include "fw/Bitmap.h"
#include "fw/DeviceContext.h"
#include "fw/Geometry.h"

namespace fw {

// GetDeviceCaps indexes, with the platform's values.
inline constexpr int HORZRES = 8;           // printable width in device pixels
inline constexpr int VERTRES = 10;          // printable height in device pixels
inline constexpr int LOGPIXELSX = 88;       // dots per inch across
inline constexpr int LOGPIXELSY = 90;       // dots per inch down
inline constexpr int PHYSICALWIDTH = 110;   // the whole sheet, in device pixels
inline constexpr int PHYSICALHEIGHT = 111;
inline constexpr int PHYSICALOFFSETX = 112;  // the printable area's offset on the sheet
inline constexpr int PHYSICALOFFSETY = 113;

// Background modes of text.
inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;

// The mapping mode of device pixels, the only one the printers here have.
inline constexpr int MM_TEXT = 1;

// DrawText formats.
inline constexpr unsigned DT_TOP = 0x0000;
inline constexpr unsigned DT_LEFT = 0x0000;
inline constexpr unsigned DT_CENTER = 0x0001;
inline constexpr unsigned DT_RIGHT = 0x0002;
inline constexpr unsigned DT_VCENTER = 0x0004;
inline constexpr unsigned DT_BOTTOM = 0x0008;
inline constexpr unsigned DT_WORDBREAK = 0x0010;
inline constexpr unsigned DT_SINGLELINE = 0x0020;
inline constexpr unsigned DT_NOCLIP = 0x0100;
inline constexpr unsigned DT_NOPREFIX = 0x0800;

// Font weights.
inline constexpr int FW_NORMAL = 400;
inline constexpr int FW_BOLD = 700;

// The size of the printer's own font, and of a font asked for with height 0.
inline constexpr int kDefaultFontPoints = 12;

// A font as the platform's CreateFont describes it. A negative height is the character height
// (the em) in device pixels, a positive one the cell height (em plus internal leading).
struct Font {
  std::wstring faceName;
  int height = 0;
  int weight = FW_NORMAL;
  friend bool operator==(const Font&, const Font&) = default;
};

// The height of a font of `points` points on a device of `dotsPerInch` (vertical), as a
// negative character height: -MulDiv(points, dotsPerInch, 72).
int FontHeightForPoints(int points, int dotsPerInch);

struct TextMetrics {
  int height = 0;  // ascent + descent: one line
  int ascent = 0;
  int descent = 0;
  int averageCharWidth = 0;
};

// Used on the dialog's thread that printed it; deleting it ends what is still open (a document
// still open is aborted, so no half-written file claims to be a catalogue).
//
// The state calls (pen, brush, stretch mode, text colours, font, current position) are kept here
// alike for every printer; the job, the measuring and the drawing are each printer's own.
class PrinterDC : public DeviceContext {
 public:
  // --- The job ------------------------------------------------------------------------------
  // Starts the print job `documentName`: a job number above 0, or 0 or less when the job could
  // not start (GetLastError says why).
  virtual int StartDoc(const std::wstring& documentName) = 0;
  // Each returns above 0 on success, 0 or less on failure.
  virtual int StartPage() = 0;
  virtual int EndPage() = 0;
  virtual int EndDoc() = 0;
  virtual int AbortDoc() = 0;
  virtual int GetDeviceCaps(int index) const = 0;
  // The system error number of the last failed call.
  virtual unsigned long GetLastError() const = 0;

  // --- State --------------------------------------------------------------------------------
  void SetPenColour(COLORREF colour) override { pen_ = colour; }
  void SetBrushColour(COLORREF colour) override {
    brush_ = colour;
    nullBrush_ = false;
  }
  void SetNullBrush(bool null) override { nullBrush_ = null; }
  COLORREF PenColour() const override { return pen_; }
  COLORREF BrushColour() const override { return brush_; }
  bool NullBrush() const { return nullBrush_; }
  // A solid pen `width` pixels wide (below 1 counts as 1), centred on the outline.
  void SetPenWidth(int width) { penWidth_ = width < 1 ? 1 : width; }
  int PenWidth() const { return penWidth_; }
  int SetStretchBltMode(int mode) override;
  int GetStretchBltMode() const override { return stretchMode_; }
  // Each returns the previous value.
  COLORREF SetTextColor(COLORREF colour);
  COLORREF SetBkColor(COLORREF colour);
  // TRANSPARENT or OPAQUE; 0, and the mode unchanged, for any other.
  int SetBkMode(int mode);
  // MM_TEXT is the only mode: 0, and the mode unchanged, for any other.
  virtual int SetMapMode(int mode);
  COLORREF TextColor() const { return textColour_; }
  COLORREF BkColor() const { return bkColour_; }
  int BkMode() const { return bkMode_; }
  // Selects the font the text calls use and returns the one selected before. A new context has
  // the printer's own, height 0: each printer draws that 12 points high.
  virtual Font SelectFont(const Font& font);
  const Font& SelectedFont() const { return font_; }
  void MoveTo(int x, int y) override {
    currentX_ = x;
    currentY_ = y;
  }
  CPoint CurrentPosition() const { return CPoint{currentX_, currentY_}; }

  // --- Text in the selected font ------------------------------------------------------------
  // The size of `text` drawn on one line.
  virtual CSize GetTextExtent(const std::wstring& text) = 0;
  virtual TextMetrics GetTextMetrics() = 0;
  // Draws `text` in the box with the DT_* format: lines break at line ends and, with
  // DT_WORDBREAK, between words that would pass the box's right edge (a word longer than a
  // line breaks between characters); DT_SINGLELINE keeps one line and only then do DT_VCENTER
  // and DT_BOTTOM place it. Clipped to the box unless DT_NOCLIP. The text colour draws it; in
  // OPAQUE mode each line's cell is filled with the background colour first. Text is drawn as
  // given: '&' is never a prefix. Returns the height of the text drawn.
  virtual int DrawText(const std::wstring& text, const CRect& box, unsigned format) = 0;

  // --- Bitmaps ------------------------------------------------------------------------------
  // Draws the source rectangle of a bitmap (as a memory context holds it) into the destination
  // rectangle; false, and nothing drawn, for a source outside the bitmap or empty extents.
  virtual bool StretchBlt(int xDest, int yDest, int wDest, int hDest, const Bitmap& source,
                          int xSrc, int ySrc, int wSrc, int hSrc) = 0;

 protected:
  PrinterDC();

 private:
  COLORREF pen_ = RGB(0, 0, 0);
  int penWidth_ = 1;
  COLORREF brush_ = RGB(255, 255, 255);
  bool nullBrush_ = false;
  int stretchMode_ = BLACKONWHITE;
  COLORREF textColour_ = RGB(0, 0, 0);
  COLORREF bkColour_ = RGB(255, 255, 255);
  int bkMode_ = OPAQUE;
  Font font_;
  int currentX_ = 0;
  int currentY_ = 0;
};

}  // namespace fw
