// The recording printer: every call as a line of text, with made-up but fixed text measures.
#include "fw/RecordingPrinterDC.h"

#include <cstdio>

#include "fw/DibStretch.h"
#include "fw/PackedDib.h"
#include "fw/Strings.h"

namespace fw {
namespace {

std::string Numbers(std::initializer_list<int> values) {
  std::string out;
  for (int value : values) {
    if (!out.empty()) out += ' ';
    out += std::to_string(value);
  }
  return out;
}

std::string Quoted(const std::wstring& text) {
  std::string out = "\"";
  for (char c : ToUtf8(text)) {
    if (c == '"' || c == '\\') out += '\\';
    if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string FormatFlags(unsigned format) {
  struct Flag {
    unsigned bit;
    const char* name;
  };
  static constexpr Flag kFlags[] = {
      {DT_CENTER, "center"},       {DT_RIGHT, "right"},         {DT_VCENTER, "vcenter"},
      {DT_BOTTOM, "bottom"},       {DT_WORDBREAK, "wordbreak"}, {DT_SINGLELINE, "singleline"},
      {DT_NOCLIP, "noclip"},       {DT_NOPREFIX, "noprefix"},
  };
  std::string out;
  for (const Flag& flag : kFlags) {
    if ((format & flag.bit) == 0) continue;
    if (!out.empty()) out += '|';
    out += flag.name;
  }
  return out.empty() ? "left" : out;
}

}  // namespace

std::string HexColour(COLORREF colour) {
  char text[8];
  std::snprintf(text, sizeof text, "%02X%02X%02X", GetRValue(colour), GetGValue(colour),
                GetBValue(colour));
  return text;
}

RecordingPrinterDC::RecordingPrinterDC(RecordingPrinterSetup setup) : setup_(setup) {}

std::vector<std::vector<std::string>> RecordingPrinterDC::Pages() const {
  std::vector<std::vector<std::string>> pages;
  std::vector<std::string> page;
  bool open = false;
  for (const std::string& call : calls_) {
    if (call == "StartPage") {
      page.clear();
      open = true;
    } else if (call == "EndPage" && open) {
      pages.push_back(page);
      open = false;
    } else if (open) {
      page.push_back(call);
    }
  }
  return pages;
}

int RecordingPrinterDC::StartDoc(const std::wstring& documentName) {
  Record("StartDoc " + Quoted(documentName));
  if (setup_.startDocError > 0) {
    lastError_ = setup_.startDocError;
    return 0;
  }
  return 1;
}

int RecordingPrinterDC::StartPage() {
  Record("StartPage");
  return 1;
}

int RecordingPrinterDC::EndPage() {
  Record("EndPage");
  return 1;
}

int RecordingPrinterDC::EndDoc() {
  Record("EndDoc");
  return 1;
}

int RecordingPrinterDC::AbortDoc() {
  Record("AbortDoc");
  return 1;
}

int RecordingPrinterDC::GetDeviceCaps(int index) const {
  switch (index) {
    case HORZRES:
    case PHYSICALWIDTH:
      return setup_.width;
    case VERTRES:
    case PHYSICALHEIGHT:
      return setup_.height;
    case LOGPIXELSX:
    case LOGPIXELSY:
      return setup_.dotsPerInch;
    default:
      return 0;
  }
}

Font RecordingPrinterDC::SelectFont(const Font& font) {
  Record("SelectFont " + Quoted(font.faceName) + " " + Numbers({font.height, font.weight}));
  return PrinterDC::SelectFont(font);
}

int RecordingPrinterDC::SetMapMode(int mode) {
  Record("SetMapMode " + std::to_string(mode));
  return PrinterDC::SetMapMode(mode);
}

std::string RecordingPrinterDC::PenText() const {
  return "pen " + HexColour(PenColour()) + " " + std::to_string(PenWidth());
}

std::string RecordingPrinterDC::BrushText() const {
  return std::string("brush ") + (NullBrush() ? "null" : HexColour(BrushColour()));
}

Status RecordingPrinterDC::StretchDIBits(int xDest, int yDest, int wDest, int hDest, int xSrc,
                                         int ySrc, int wSrc, int hSrc,
                                         std::span<const std::uint8_t> packedBitmap) {
  // Refuses what a real printer refuses, so a caller's failure path runs here too.
  const Result<PackedDib> dib = PackedDib::Parse(packedBitmap);
  if (!dib) return Status::Failure(dib.Message());
  if (wSrc <= 0 || hSrc <= 0 || wDest <= 0 || hDest <= 0 || xSrc < 0 || ySrc < 0 ||
      xSrc > dib.Value().Width() - wSrc || ySrc > dib.Value().Height() - hSrc) {
    return Status::Failure(L"source rectangle outside the bitmap or empty extents");
  }
  Record("StretchDIBits " + Numbers({xDest, yDest, wDest, hDest}) + " from " +
         Numbers({xSrc, ySrc, wSrc, hSrc}) + " mode " + std::to_string(GetStretchBltMode()));
  return Status::Success();
}

void RecordingPrinterDC::Rectangle(int left, int top, int right, int bottom) {
  Record("Rectangle " + Numbers({left, top, right, bottom}) + " " + PenText() + " " +
         BrushText());
}

void RecordingPrinterDC::FillRect(int left, int top, int right, int bottom, COLORREF colour) {
  Record("FillRect " + Numbers({left, top, right, bottom}) + " " + HexColour(colour));
}

void RecordingPrinterDC::Ellipse(int left, int top, int right, int bottom) {
  Record("Ellipse " + Numbers({left, top, right, bottom}) + " " + PenText() + " " + BrushText());
}

void RecordingPrinterDC::LineTo(int x, int y) {
  const CPoint from = CurrentPosition();
  Record("LineTo " + Numbers({from.x, from.y, x, y}) + " " + PenText());
  MoveTo(x, y);
}

int RecordingPrinterDC::FontPixels() const {
  const int height = SelectedFont().height;
  if (height == 0) return -FontHeightForPoints(kDefaultFontPoints, setup_.dotsPerInch);
  return height < 0 ? -height : height;
}

CSize RecordingPrinterDC::GetTextExtent(const std::wstring& text) {
  const int pixels = FontPixels();
  return CSize{static_cast<int>(text.size()) * (pixels / 2), pixels};
}

TextMetrics RecordingPrinterDC::GetTextMetrics() {
  const int pixels = FontPixels();
  return TextMetrics{pixels, pixels - pixels / 5, pixels / 5, pixels / 2};
}

int RecordingPrinterDC::DrawText(const std::wstring& text, const CRect& box, unsigned format) {
  Record("DrawText " + Numbers({box.left, box.top, box.right, box.bottom}) + " " +
         FormatFlags(format) + " colour " + HexColour(TextColor()) + " " +
         (BkMode() == TRANSPARENT ? std::string("transparent")
                                  : "opaque " + HexColour(BkColor())) +
         " font " + std::to_string(SelectedFont().height) + " " + Quoted(text));
  int lines = 1;
  if ((format & DT_SINGLELINE) == 0) {
    for (wchar_t c : text) lines += c == L'\n' ? 1 : 0;
  }
  return lines * FontPixels();
}

bool RecordingPrinterDC::StretchBlt(int xDest, int yDest, int wDest, int hDest,
                                    const Bitmap& source, int xSrc, int ySrc, int wSrc,
                                    int hSrc) {
  if (wSrc <= 0 || hSrc <= 0 || wDest <= 0 || hDest <= 0 || xSrc < 0 || ySrc < 0 ||
      xSrc > source.Width() - wSrc || ySrc > source.Height() - hSrc) {
    return false;
  }
  Record("StretchBlt " + Numbers({xDest, yDest, wDest, hDest}) + " from " +
         Numbers({xSrc, ySrc, wSrc, hSrc}) + " of " + Numbers({source.Width(), source.Height()}));
  return true;
}

}  // namespace fw
