#include "support/PdfTools.h"

#include <cstdlib>
#include <sstream>

#include "fw/NativePath.h"
#include "support/Program.h"

namespace testsupport {
namespace {

std::string Quoted(const std::wstring& path) { return ShellQuote(fw::NativePath(path)); }

// A binary PPM (P6, 8 bits): the header's three numbers, one blank, then the pixels.
fw::Bitmap ParsePpm(const std::string& bytes) {
  std::istringstream in(bytes);
  std::string magic;
  int width = 0;
  int height = 0;
  int maximum = 0;
  in >> magic >> width >> height >> maximum;
  in.get();
  if (magic != "P6" || maximum != 255 || width <= 0 || height <= 0) return {};
  const std::size_t start = static_cast<std::size_t>(in.tellg());
  if (bytes.size() < start + static_cast<std::size_t>(width) * height * 3) return {};
  fw::Bitmap page(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::size_t at = start + (static_cast<std::size_t>(y) * width + x) * 3;
      page.SetPixel(x, y, fw::RGB(static_cast<std::uint8_t>(bytes[at]),
                                  static_cast<std::uint8_t>(bytes[at + 1]),
                                  static_cast<std::uint8_t>(bytes[at + 2])));
    }
  }
  return page;
}

}  // namespace

bool HavePdfTools() {
  return std::system("command -v pdfinfo >/dev/null && command -v pdftotext >/dev/null && "
                     "command -v pdftoppm >/dev/null") == 0;
}

int PdfPageCount(const std::wstring& pdf, const TempFolder& scratch) {
  const ProgramOutcome info = RunProgram("pdfinfo", Quoted(pdf), scratch);
  const std::size_t at = info.out.find("Pages:");
  if (info.exitCode != 0 || at == std::string::npos) return -1;
  return std::atoi(info.out.c_str() + at + 6);
}

std::string PdfText(const std::wstring& pdf, int page, const TempFolder& scratch) {
  const std::string pages =
      page > 0 ? "-f " + std::to_string(page) + " -l " + std::to_string(page) + " " : "";
  return RunProgram("pdftotext", pages + Quoted(pdf) + " -", scratch).out;
}

fw::Bitmap RenderPdfPage(const std::wstring& pdf, int page, int dotsPerInch,
                         const TempFolder& scratch) {
  const ProgramOutcome rendered = RunProgram(
      "pdftoppm", "-r " + std::to_string(dotsPerInch) + " -f " + std::to_string(page) + " -l " +
                      std::to_string(page) + " " + Quoted(pdf),
      scratch);
  return rendered.exitCode == 0 ? ParsePpm(rendered.out) : fw::Bitmap();
}

int InkIn(const fw::Bitmap& page, int x0, int y0, int x1, int y1) {
  int ink = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      const fw::COLORREF c = page.GetPixel(x, y);
      if (c != 0xFFFFFFFF && (fw::GetRValue(c) < 200 || fw::GetGValue(c) < 200 ||
                              fw::GetBValue(c) < 200)) {
        ++ink;
      }
    }
  }
  return ink;
}

}  // namespace testsupport
