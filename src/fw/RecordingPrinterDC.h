// A printer that puts nothing on paper and records every call as one line of text, for tests of
// what is printed where: the job's calls, each drawing call with the pen, brush, colours and font
// it draws with, and the font and mapping-mode changes.
//
//   StartDoc "NAME"        StartPage   EndPage   EndDoc   AbortDoc
//   SelectFont "FACE" HEIGHT WEIGHT
//   SetMapMode MODE
//   Rectangle L T R B pen RRGGBB WIDTH brush RRGGBB|null
//   FillRect L T R B RRGGBB
//   Ellipse L T R B pen RRGGBB WIDTH brush RRGGBB|null
//   LineTo X0 Y0 X1 Y1 pen RRGGBB WIDTH
//   StretchDIBits X Y W H from X Y W H mode M
//   StretchBlt X Y W H from X Y W H of W H
//   DrawText L T R B FLAGS colour RRGGBB transparent|opaque RRGGBB font HEIGHT "TEXT"
//
// FLAGS are the DT_* names in lower case joined by '|' ("left" for none). Texts are UTF-8 with
// '"', '\' and line ends escaped. Its text measures are made up but fixed: a line is as high as
// the font's pixel height and every character half that wide.
#pragma once

#include <string>
#include <vector>

#include "fw/PrinterDC.h"

namespace fw {

struct RecordingPrinterSetup {
  int width = 4800;   // HORZRES
  int height = 6300;  // VERTRES
  int dotsPerInch = 600;
  // Above 0: StartDoc fails and GetLastError gives this.
  unsigned long startDocError = 0;
};

class RecordingPrinterDC final : public PrinterDC {
 public:
  explicit RecordingPrinterDC(RecordingPrinterSetup setup = {});

  const std::vector<std::string>& Calls() const { return calls_; }
  // The lines of every page ended so far, from its StartPage to its EndPage, in order.
  std::vector<std::vector<std::string>> Pages() const;

  int StartDoc(const std::wstring& documentName) override;
  int StartPage() override;
  int EndPage() override;
  int EndDoc() override;
  int AbortDoc() override;
  int GetDeviceCaps(int index) const override;
  unsigned long GetLastError() const override { return lastError_; }

  Status StretchDIBits(int xDest, int yDest, int wDest, int hDest, int xSrc, int ySrc, int wSrc,
                       int hSrc, std::span<const std::uint8_t> packedBitmap) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void FillRect(int left, int top, int right, int bottom, COLORREF colour) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void LineTo(int x, int y) override;

  CSize GetTextExtent(const std::wstring& text) override;
  TextMetrics GetTextMetrics() override;
  int DrawText(const std::wstring& text, const CRect& box, unsigned format) override;
  bool StretchBlt(int xDest, int yDest, int wDest, int hDest, const Bitmap& source, int xSrc,
                  int ySrc, int wSrc, int hSrc) override;

  Font SelectFont(const Font& font) override;
  int SetMapMode(int mode) override;

 private:
  int FontPixels() const;
  std::string PenText() const;
  std::string BrushText() const;
  void Record(std::string line) { calls_.push_back(std::move(line)); }

  RecordingPrinterSetup setup_;
  std::vector<std::string> calls_;
  unsigned long lastError_ = 0;
};

// "RRGGBB" of a colour.
std::string HexColour(COLORREF colour);

}  // namespace fw
