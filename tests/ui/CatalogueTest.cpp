// The catalogue printer on a recording printer: where each layout puts the header, the
// previews, the texts and the page breaks, and what happens when the job cannot start.
#include "ui/Catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dwgprobe/DrawingBuilder.h"
#include "fw/HeadlessUiDriver.h"
#include "fw/NativePath.h"
#include "fw/ProgressCtrl.h"
#include "fw/RecordingPrinterDC.h"
#include "library/BlockProbe.h"
#include "library/Directory.h"
#include "support/TempFolder.h"

namespace {

using testsupport::TempFolder;

// A preview of width x height pixels, white with a black diagonal.
std::vector<std::uint8_t> Preview(int width, int height) {
  previewtest::DibSpec shape;
  shape.width = width;
  shape.height = height;
  shape.coloursUsed = 2;
  shape.palette = {fw::RGB(255, 255, 255), fw::RGB(0, 0, 0)};
  shape.pixels.assign(static_cast<std::size_t>(width) * height, 0);
  for (int i = 0; i < std::min(width, height); ++i) {
    shape.pixels[static_cast<std::size_t>(i) * width + i] = 1;
  }
  return previewtest::BuildDib(shape);
}

// A folder of drawings "d00", "d01", ... with a preview of the given size (none for 0 x 0),
// probed into a directory as the loader does.
class CatalogueTest : public ::testing::Test {
 protected:
  void AddDrawings(int count, int previewWidth, int previewHeight) {
    const auto preview =
        previewWidth > 0 ? Preview(previewWidth, previewHeight) : std::vector<std::uint8_t>{};
    for (int i = 0; i < count; ++i) {
      const int n = static_cast<int>(directory_.BlockCount());
      std::wstring name = (n < 10 ? L"d0" : L"d") + std::to_wstring(n);
      std::vector<probetest::Payload> records{{1, probetest::HeaderData("")}};
      if (!preview.empty()) records.push_back({2, preview});
      testsupport::WriteFile(folder_ / (name + L".dwg"),
                             probetest::AsText(probetest::BuildDrawing("AC1015", records)));
      library::Block& b = directory_.AppendBlock();
      b.name = name;
      b.currentStatus.size = 1234;
      library::Probe(directory_, b);
    }
  }

  ui::Catalogue Job(int printType) {
    ui::Catalogue job;
    job.directory = &directory_;
    for (const auto& b : directory_.Blocks()) job.items.push_back({b.get(), b->imageIndex});
    job.printType = printType;
    job.versionText = L"3.9.10";
    return job;
  }

  // Prints on a recording printer of `dotsPerInch`; the lines of each page.
  std::vector<std::vector<std::string>> Print(const ui::Catalogue& job, int dotsPerInch = 600) {
    fw::RecordingPrinterSetup setup;
    setup.dotsPerInch = dotsPerInch;
    fw::RecordingPrinterDC printer(setup);
    ui::PrintProgress progress;
    EXPECT_TRUE(ui::PrintCatalogue(printer, job, progress).Ok());
    EXPECT_EQ(printer.Calls().front(), "StartDoc \"Quorvane Print\"");
    EXPECT_EQ(printer.Calls().back(), "EndDoc");
    return printer.Pages();
  }

  void SetUp() override { directory_.path = folder_.Path(); }

  TempFolder folder_;
  library::Directory directory_;
};

std::string Joined(const std::vector<std::string>& lines) {
  std::string all;
  for (const std::string& line : lines) all += line + "\n";
  return all;
}

int Count(const std::vector<std::string>& lines, const std::string& start) {
  return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) {
    return l.rfind(start, 0) == 0;
  }));
}

// On the recording printer (4800 x 6300 at 600 dpi) the 11-point font is 92 pixels high, so the
// header band is 220 high and the first row starts at y 230. A list row at scale 4 is 404 high
// and a page takes 14; a grid cell is 530 wide and 660 high, 9 by 9 to a page.
TEST_F(CatalogueTest, BreaksPagesByLayoutAndStartsEveryPageWithTheHeader) {
  struct Case {
    int printType;
    int items;
    int pages;
    int previewsOnFirstPage;
  };
  const Case cases[] = {
      {ui::kPrintTypeList, 29, 3, 14},
      {ui::kPrintTypeGrid, 82, 2, 81},
      {7, 3, 1, 0},
  };
  AddDrawings(82, 16, 12);
  for (const Case& c : cases) {
    ui::Catalogue job = Job(c.printType);
    job.items.resize(static_cast<std::size_t>(c.items));
    const auto pages = Print(job);
    ASSERT_EQ(static_cast<int>(pages.size()), c.pages) << c.printType;
    EXPECT_EQ(Count(pages[0], "StretchDIBits"), c.previewsOnFirstPage) << c.printType;
    int previews = 0;
    for (const auto& page : pages) {
      previews += Count(page, "StretchDIBits");
      if (c.printType == 7) {
        EXPECT_EQ(Joined(page), "SelectFont \"Arial\" -92 400\nSelectFont \"Liberation Sans\" 0 400\n");
        continue;
      }
      ASSERT_GE(page.size(), 4u);
      EXPECT_EQ(page[1], "Rectangle 1 1 4800 220 pen 000000 5 brush C0C0C0");
      EXPECT_EQ(page[2],
                "DrawText 8 8 4793 213 center|singleline|noprefix colour 0000FF transparent "
                "font -92 \"3.9.10\"");
      EXPECT_EQ(page[3], "DrawText 8 8 4793 213 bottom|singleline|noprefix colour 0000FF "
                         "transparent font -92 \"" + fw::NativePath(folder_.Path()) + "\"");
    }
    EXPECT_EQ(previews, c.printType == 7 ? 0 : c.items) << c.printType;
  }
}

TEST_F(CatalogueTest, PlacesAListRowAsDrawn) {
  AddDrawings(1, 16, 12);  // a preview, drawn again from the drawing at scale 2
  AddDrawings(1, 0, 0);    // none: its thumbnail, four times as large
  AddDrawings(1, 600, 300);  // larger than the frame: shrunk into it
  const auto pages = Print(Job(ui::kPrintTypeList));
  ASSERT_EQ(pages.size(), 1u);
  const std::string page = Joined(pages[0]);
  const char* expected[] = {
      "Rectangle 1 230 516 609 pen 000000 1 brush FFFFFF\n"
      "StretchDIBits 242 407 32 24 from 0 0 16 12 mode 1\n",
      "DrawText 531 230 1600 614 wordbreak|noprefix colour 000000 opaque FFFFFF font -92 "
      "\"d00\"\n",
      "Rectangle 1 615 4800 633 pen FFFFFF 1 brush C0C0C0\n",
      "StretchBlt 1 634 520 384 from 0 0 130 96 of 130 96\n",
      "Rectangle 1 1038 516 1417 pen 000000 1 brush FFFFFF\n"
      "StretchDIBits 2 1099 513 256 from 0 0 513 256 mode 1\n",
  };
  for (const char* lines : expected) EXPECT_NE(page.find(lines), std::string::npos) << lines;
}

TEST_F(CatalogueTest, PlacesAGridCellAsDrawn) {
  AddDrawings(10, 16, 12);
  const auto pages = Print(Job(ui::kPrintTypeGrid));
  ASSERT_EQ(pages.size(), 1u);
  const std::string page = Joined(pages[0]);
  // Margin (4800 mod 530) / 2 = 15; the tenth cell opens the second row, 660 lower.
  const char* expected[] = {
      "SetMapMode 1\n",
      "Rectangle 15 230 530 609 pen 000000 1 brush FFFFFF\n",
      "DrawText 15 619 545 890 center|wordbreak|noprefix colour 0000FF transparent font -92 "
      "\"d00\"\n",
      "Rectangle 4255 230 4770 609",
      "Rectangle 15 890 530 1269",
  };
  for (const char* lines : expected) EXPECT_NE(page.find(lines), std::string::npos) << lines;
}

TEST_F(CatalogueTest, GivesTheDetailsInFourLinesUpTo600DotsPerInchAndInThreeAbove) {
  struct Case {
    int dotsPerInch;
    std::string form;
    std::string detailsFont;  // the font drawn with when the lines would not fit the row
  };
  const Case cases[] = {
      {600, "\\nSize: 1234\\nFileType: 2000\"", "font -92 "},
      {1200, "\\nFileType: 2000 Size: 1234\"", "font -128 "},
  };
  AddDrawings(1, 16, 12);
  for (const Case& c : cases) {
    const auto pages = Print(Job(ui::kPrintTypeList), c.dotsPerInch);
    ASSERT_EQ(pages.size(), 1u);
    const auto details = std::find_if(pages[0].begin(), pages[0].end(), [](const std::string& l) {
      return l.find("\"Created: ") != std::string::npos;
    });
    ASSERT_NE(details, pages[0].end());
    EXPECT_TRUE(details->ends_with(c.form)) << *details;
    EXPECT_NE(details->find(c.detailsFont), std::string::npos) << *details;
    EXPECT_NE(details->find(" right|wordbreak|noprefix "), std::string::npos) << *details;
  }
}

TEST_F(CatalogueTest, AJobThatCannotStartShowsTheErrorAndPrintsNothing) {
  AddDrawings(2, 16, 12);
  fw::HeadlessUiDriver driver;
  fw::SetUiDriver(&driver);
  fw::RecordingPrinterSetup setup;
  setup.startDocError = 5;
  fw::RecordingPrinterDC printer(setup);
  ui::PrintProgress progress;
  const fw::Status printed = ui::PrintCatalogue(printer, Job(ui::kPrintTypeList), progress);
  fw::SetUiDriver(nullptr);

  EXPECT_EQ(printed.Message(), L"StartDoc failed: 5");
  EXPECT_EQ(Joined(printer.Calls()), "StartDoc \"Quorvane Print\"\n");
  ASSERT_EQ(driver.Messages().size(), 1u);
  EXPECT_EQ(driver.Messages()[0].text, L"StartDoc failed: 5");
  EXPECT_FALSE(progress.IsShown());
  const auto shown = driver.Transcript();
  EXPECT_EQ(shown.front(), "ui: dialog \"Print Progress\" shown");
  EXPECT_EQ(shown.back(), "ui: dialog \"Print Progress\" destroyed");
}

TEST_F(CatalogueTest, TheProgressBarCountsTheDirectorysBlocks) {
  AddDrawings(3, 16, 12);
  fw::RecordingPrinterDC printer;
  ui::PrintProgress progress;
  ASSERT_TRUE(ui::PrintCatalogue(printer, Job(ui::kPrintTypeList), progress).Ok());
  int lower = -1;
  int upper = -1;
  auto& bar = progress.Item<fw::ProgressCtrl>(ui::PrintProgress::kProgressBar);
  bar.GetRange(lower, upper);
  EXPECT_EQ(lower, 0);
  EXPECT_EQ(upper, 3);
  EXPECT_EQ(bar.GetPos(), 2);
}

}  // namespace
