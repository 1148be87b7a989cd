// The printer the print dialog gives on this platform: it prints into a PDF file. Pages are the
// chosen paper with a quarter-inch margin that stays unprinted, as a real printer's does; device
// pixels are dots of the chosen resolution; text is set with Liberation Sans where "Arial" is
// asked for; bitmaps are embedded losslessly, pixel for pixel.
#pragma once

#include <memory>
#include <string>

#include "fw/PrinterDC.h"

namespace fw {

enum class Paper { kA4, kLetter };

struct PdfPrinterSetup {
  // Dots per inch, 1 to kMaxPdfDotsPerInch; 0 for kDefaultPdfDotsPerInch.
  int dotsPerInch = 0;
  Paper paper = Paper::kA4;
};

inline constexpr int kDefaultPdfDotsPerInch = 600;
// As far as the print dialog's script goes; keeps the page's pixels far inside int.
inline constexpr int kMaxPdfDotsPerInch = 9600;

// Writes the document at StartDoc to a temporary file beside `path` and puts it in place at
// EndDoc, so a failed or aborted job leaves `path` as it was. StartDoc fails (0) when the file
// cannot be made there: a missing or read-only folder, or a path that names a folder or another
// file that is not a regular one; GetLastError then gives the system's error number (errno).
// One thread at a time.
class PdfPrinterDC final : public PrinterDC {
 public:
  // A resolution out of range is taken as the nearest one allowed.
  PdfPrinterDC(std::wstring path, PdfPrinterSetup setup);
  ~PdfPrinterDC() override;
  PdfPrinterDC(const PdfPrinterDC&) = delete;
  PdfPrinterDC& operator=(const PdfPrinterDC&) = delete;

  int StartDoc(const std::wstring& documentName) override;
  int StartPage() override;
  int EndPage() override;
  int EndDoc() override;
  int AbortDoc() override;
  int GetDeviceCaps(int index) const override;
  unsigned long GetLastError() const override;

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

  // The message of the last failure, for a person (the error number says less).
  std::wstring LastErrorText() const;

 private:
  struct Job;
  std::unique_ptr<Job> job_;
};

}  // namespace fw
