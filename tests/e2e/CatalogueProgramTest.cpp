// qrva-catalogue as a user runs it: its exit codes and messages, and the PDF it writes looked at
// with the PDF tools (pages, the header on every page, the texts, a preview's ink).
#include <gtest/gtest.h>

#include <string>

#include "dwgprobe/DrawingBuilder.h"
#include "fw/FileStatus.h"
#include "fw/NativePath.h"
#include "support/PdfTools.h"
#include "support/Program.h"
#include "support/TempFolder.h"

namespace {

using testsupport::ShellQuote;
using testsupport::TempFolder;

// A 64 x 48 preview, white with a black filled square in its middle.
std::vector<std::uint8_t> SquarePreview() {
  previewtest::DibSpec shape;
  shape.width = 64;
  shape.height = 48;
  shape.coloursUsed = 2;
  shape.palette = {fw::RGB(255, 255, 255), fw::RGB(0, 0, 0)};
  shape.pixels.assign(64 * 48, 0);
  for (int y = 12; y < 36; ++y) {
    for (int x = 20; x < 44; ++x) shape.pixels[static_cast<std::size_t>(y) * 64 + x] = 1;
  }
  return previewtest::BuildDib(shape);
}

class CatalogueProgram : public ::testing::Test {
 protected:
  testsupport::ProgramOutcome Run(const std::string& arguments) {
    return testsupport::RunProgram(QRVA_CATALOGUE_PROGRAM, arguments, folder_);
  }
  std::string Quoted(const std::wstring& path) { return ShellQuote(fw::NativePath(path)); }

  // `count` drawings "Part 00", ... in a folder named with a blank and an accent; the first with
  // a preview, the rest without.
  std::wstring Library(int count) {
    const std::wstring library = folder_ / L"Library \u00e9";
    fw::CreateDirectory(library);
    for (int i = 0; i < count; ++i) {
      std::vector<probetest::Payload> records{{1, probetest::HeaderData("")}};
      if (i == 0) records.push_back({2, SquarePreview()});
      const std::wstring name = std::wstring(L"Part ") + (i < 10 ? L"0" : L"") + std::to_wstring(i);
      testsupport::WriteFile(library + L"/" + name + L".DWG",
                             probetest::AsText(probetest::BuildDrawing("AC1015", records)));
    }
    return library;
  }

  TempFolder folder_;
};

TEST_F(CatalogueProgram, RefusesWhatItCannotDoWithAClearMessageAndWritesNothing) {
  const std::wstring library = Library(1);
  testsupport::WriteFile(folder_ / L"old.pdf", "old");
  struct Case {
    std::string arguments;
    int exitCode;
    std::string message;
  };
  const Case cases[] = {
      {"-o out.pdf", 2, "FOLDER is required"},
      {Quoted(library), 2, "--output is required"},
      {"--layout table -o out.pdf " + Quoted(library), 2, "--layout"},
      {"--scale 0 -o out.pdf " + Quoted(library), 2, "--scale"},
      {"--dpi 20000 -o out.pdf " + Quoted(library), 2, "--dpi"},
      {"-o out.pdf " + Quoted(folder_ / L"nowhere"), 1, "nowhere does not exist"},
      {"-o " + Quoted(folder_ / L"no/out.pdf") + " " + Quoted(library), 1, "cannot write"},
      {"-o " + Quoted(folder_.Path()) + " " + Quoted(library), 1, "cannot write"},
  };
  for (const Case& c : cases) {
    const auto outcome = Run(c.arguments);
    EXPECT_EQ(outcome.exitCode, c.exitCode) << c.arguments << "\n" << outcome.err;
    EXPECT_NE(outcome.err.find(c.message), std::string::npos) << c.arguments << "\n"
                                                              << outcome.err;
  }
  EXPECT_FALSE(fw::PathExists(folder_ / L"out.pdf"));
  const auto help = Run("--help");
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.out.rfind("usage: qrva-catalogue", 0), 0u);
}

TEST_F(CatalogueProgram, PrintsEveryFolderWithTheHeaderOnEachPageAndThePreviewsInk) {
  if (!testsupport::HavePdfTools()) GTEST_SKIP() << "pdfinfo, pdftotext or pdftoppm missing";
  const std::wstring library = Library(20);
  const std::wstring pdf = folder_ / L"catalogue.pdf";
  struct Case {
    std::string layout;
    int pages;  // 20 rows of 404 pixels, 15 to an A4 page; in the grid all on one
  };
  const Case cases[] = {{"list", 2}, {"grid", 1}};
  for (const Case& c : cases) {
    const auto outcome = Run("--layout " + c.layout + " -o " + Quoted(pdf) + " " + Quoted(library));
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    ASSERT_EQ(testsupport::PdfPageCount(pdf, folder_), c.pages) << c.layout;
    for (int page = 1; page <= c.pages; ++page) {
      const std::string text = testsupport::PdfText(pdf, page, folder_);
      EXPECT_NE(text.find("3.9.10"), std::string::npos) << c.layout << " page " << page;
      EXPECT_NE(text.find(fw::NativePath(library)), std::string::npos) << c.layout << page;
    }
    const std::string all = testsupport::PdfText(pdf, 0, folder_);
    EXPECT_NE(all.find("Part 00"), std::string::npos);
    EXPECT_NE(all.find("Part 19"), std::string::npos);
    if (c.layout == "list") {
      EXPECT_NE(all.find("FileType: 2000"), std::string::npos);
    }

    // The first preview, drawn at twice its size, centred in its frame: in the list the frame
    // is at x 1, in the grid at the margin (4661 mod 530) / 2 = 210, both below the header
    // band at y 257 (device pixels at 600 dpi, a quarter inch in). At 150 dpi the black
    // square's middle is at (102, 149) or (154, 149).
    const fw::Bitmap page = testsupport::RenderPdfPage(pdf, 1, 150, folder_);
    ASSERT_FALSE(page.IsEmpty());
    const int x = c.layout == "list" ? 102 : 154;
    EXPECT_EQ(testsupport::InkIn(page, x - 4, 145, x + 4, 153), 64) << c.layout;
    EXPECT_EQ(testsupport::InkIn(page, x - 22, 145, x - 10, 153), 0) << c.layout;
  }
}

TEST_F(CatalogueProgram, PrintsTheSharedDrawingsReadably) {
  const std::wstring shared = fw::FromNativePath(QRVA_SHARED_DIR "/dwg");
  if (!fw::IsDirectory(shared)) GTEST_SKIP() << "no shared drawings";
  if (!testsupport::HavePdfTools()) GTEST_SKIP() << "pdfinfo, pdftotext or pdftoppm missing";
  const std::wstring pdf = folder_ / L"shared.pdf";
  const auto outcome = Run("-o " + Quoted(pdf) + " " + Quoted(shared));
  ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
  EXPECT_EQ(testsupport::PdfPageCount(pdf, folder_), 2);
  const std::string text = testsupport::PdfText(pdf, 0, folder_);
  for (const char* name : {"example_2000", "example_2018", "Text_2000", "block_r2.10"}) {
    EXPECT_NE(text.find(name), std::string::npos) << name;
  }
}

}  // namespace
