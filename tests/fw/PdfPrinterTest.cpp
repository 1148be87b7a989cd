// The PDF printer: its page geometry, the jobs it refuses to start, and a document looked at
// with the PDF tools: pages, text, fonts and a bitmap's pixels.
#include "fw/PdfPrinterDC.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <string>
#include <vector>

#include "fw/FileStatus.h"
#include "fw/NativePath.h"
#include "support/PdfTools.h"
#include "support/Program.h"
#include "support/TempFolder.h"

namespace {

using testsupport::TempFolder;

TEST(PdfPrinter, TakesTheSheetLessAQuarterInchAllRoundAtTheChosenResolution) {
  struct Case {
    fw::Paper paper;
    int askedDotsPerInch;
    int dotsPerInch;
    int width;
    int height;
  };
  const Case cases[] = {
      {fw::Paper::kA4, 0, 600, 4961 - 300, 7016 - 300},
      {fw::Paper::kLetter, 300, 300, 2550 - 150, 3300 - 150},
      {fw::Paper::kA4, 20000, 9600, 79370 - 4800, 112252 - 4800},
  };
  for (const Case& c : cases) {
    fw::PdfPrinterDC printer(L"unused.pdf", fw::PdfPrinterSetup{c.askedDotsPerInch, c.paper});
    EXPECT_EQ(printer.GetDeviceCaps(fw::LOGPIXELSY), c.dotsPerInch);
    EXPECT_EQ(printer.GetDeviceCaps(fw::HORZRES), c.width) << c.askedDotsPerInch;
    EXPECT_EQ(printer.GetDeviceCaps(fw::VERTRES), c.height) << c.askedDotsPerInch;
    EXPECT_EQ(printer.GetDeviceCaps(fw::PHYSICALOFFSETX), c.dotsPerInch / 4);
  }
}

TEST(PdfPrinter, AJobThatCannotWriteItsFileDoesNotStartAndLeavesThePathAlone) {
  TempFolder folder;
  const std::wstring fifo = folder / L"fifo.pdf";
  ASSERT_EQ(mkfifo(fw::NativePath(fifo).c_str(), 0600), 0);
  struct Case {
    std::wstring path;
    unsigned long error;
  };
  const Case cases[] = {
      {folder / L"missing/out.pdf", ENOENT},
      {folder.Path(), EACCES},
      {fifo, EACCES},
  };
  for (const Case& c : cases) {
    fw::PdfPrinterDC printer(c.path, {});
    EXPECT_LE(printer.StartDoc(L"Quorvane Print"), 0) << fw::NativePath(c.path);
    EXPECT_EQ(printer.GetLastError(), c.error) << fw::NativePath(c.path);
    EXPECT_FALSE(printer.LastErrorText().empty());
    EXPECT_LE(printer.StartPage(), 0);
  }
  EXPECT_FALSE(fw::PathExists(folder / L"missing"));
  EXPECT_FALSE(fw::IsRegularFile(fifo));
}

TEST(PdfPrinter, AJobNotEndedLeavesTheOldFileAndNoTemporary) {
  TempFolder folder;
  const std::wstring path = folder / L"catalogue.pdf";
  testsupport::WriteFile(path, "the old catalogue");
  {
    fw::PdfPrinterDC printer(path, {});
    ASSERT_GT(printer.StartDoc(L"Quorvane Print"), 0);
    ASSERT_GT(printer.StartPage(), 0);
    printer.Rectangle(10, 10, 100, 100);
  }
  EXPECT_EQ(testsupport::ReadFile(path), "the old catalogue");
  fw::CFileFind finder;
  std::vector<std::wstring> left;
  for (bool more = finder.FindFile(folder / L"*"); more;) {
    more = finder.FindNextFile();
    if (!finder.IsDots()) left.push_back(finder.GetFileName());
  }
  EXPECT_EQ(left, std::vector<std::wstring>{L"catalogue.pdf"});
}

// Two pages: a text and a bitmap of black and red halves on the first, a text on the second.
TEST(PdfPrinter, WritesPagesWithExtractableTextAndBitmapsPixelForPixel) {
  if (!testsupport::HavePdfTools()) GTEST_SKIP() << "pdfinfo, pdftotext or pdftoppm missing";
  TempFolder folder;
  const std::wstring path = folder / L"out \u00e9.pdf";
  fw::PdfPrinterDC printer(path, fw::PdfPrinterSetup{600, fw::Paper::kA4});
  ASSERT_GT(printer.StartDoc(L"Quorvane Print"), 0);
  ASSERT_GT(printer.StartPage(), 0);
  printer.SelectFont(fw::Font{L"Arial", fw::FontHeightForPoints(11, 600), fw::FW_NORMAL});
  printer.DrawText(L"Doors & Windows \u00c4\u00d6", fw::CRect{0, 0, 4000, 200},
                   fw::DT_SINGLELINE | fw::DT_NOPREFIX);
  fw::Bitmap halves(4, 2);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 4; ++x) halves.SetPixel(x, y, x < 2 ? fw::RGB(0, 0, 0) : fw::RGB(255, 0, 0));
  }
  // An inch from the sheet's corner: 450 pixels past the quarter-inch margin at 600 dpi.
  ASSERT_TRUE(printer.StretchBlt(450, 450, 600, 300, halves, 0, 0, 4, 2));
  ASSERT_GT(printer.EndPage(), 0);
  ASSERT_GT(printer.StartPage(), 0);
  printer.DrawText(L"second page", fw::CRect{0, 0, 4000, 200}, fw::DT_SINGLELINE);
  ASSERT_GT(printer.EndPage(), 0);
  ASSERT_GT(printer.EndDoc(), 0);

  EXPECT_EQ(testsupport::PdfPageCount(path, folder), 2);
  EXPECT_NE(testsupport::PdfText(path, 1, folder).find("Doors & Windows \xC3\x84\xC3\x96"),
            std::string::npos);
  EXPECT_NE(testsupport::PdfText(path, 2, folder).find("second page"), std::string::npos);
  const auto fonts = testsupport::RunProgram(
      "pdffonts", testsupport::ShellQuote(fw::NativePath(path)), folder);
  EXPECT_NE(fonts.out.find("LiberationSans"), std::string::npos) << fonts.out;

  // At 60 dpi the bitmap covers (60, 60) to (120, 90): black on the left, red on the right.
  const fw::Bitmap page = testsupport::RenderPdfPage(path, 1, 60, folder);
  ASSERT_FALSE(page.IsEmpty());
  EXPECT_EQ(page.GetPixel(70, 75), fw::RGB(0, 0, 0));
  EXPECT_EQ(page.GetPixel(110, 75), fw::RGB(255, 0, 0));
  EXPECT_EQ(testsupport::InkIn(page, 60, 60, 120, 90), 60 * 30);
  EXPECT_EQ(testsupport::InkIn(page, 122, 60, 200, 90), 0);
}

}  // namespace
