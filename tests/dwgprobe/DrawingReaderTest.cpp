// The drawing-reader bridge over a stand-in assembly, the conversion of viewport records into
// insertion points, and a probe applied to a block and its directory.
#include "dwgprobe/DrawingReader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "DrawingBuilder.h"
#include "dwgprobe/ViewportPoint.h"
#include "dwgprobe/DrawingProbe.h"
#include "fw/Bitmap.h"
#include "fw/FileName.h"
#include "fw/FileStatus.h"
#include "fw/ManagedBridge.h"
#include "library/BlockProbe.h"
#include "support/TempFolder.h"

namespace {

using dwgprobe::DrawingReader;
using dwgprobe::PreviewSize;
using testsupport::TempFolder;

struct ReaderAnswer {
  bool ok = false;
  std::vector<double> points;
  std::int64_t created = -1;
  std::int64_t modified = -1;
  std::wstring description = L"unchanged";
};

ReaderAnswer Ask(DrawingReader& reader, const std::wstring& path, bool showPoints,
                 std::optional<PreviewSize> bitmap) {
  ReaderAnswer a;
  a.ok = reader.LoadDrawing(path, showPoints, bitmap, a.points, a.created, a.modified,
                            a.description);
  return a;
}

std::array<double, 18> TopView(double px, double py) {
  return {px, py, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 1, 100, 50, 0, 50, 25};
}

TEST(ViewportPoint, PlacesAPointOfATopViewByItsShareOfTheView) {
  const auto point = dwgprobe::ViewportInsertionPoint(TopView(25, 10), 200, 100);
  ASSERT_TRUE(point);
  EXPECT_DOUBLE_EQ(point->x, 50);  // 0.25 of the width
  EXPECT_DOUBLE_EQ(point->y, 20);  // 0.2 of the height, from the bottom
  EXPECT_FALSE(dwgprobe::ViewportInsertionPoint(TopView(101, 10), 200, 100));
  EXPECT_FALSE(dwgprobe::ViewportInsertionPoint(TopView(25, -1), 200, 100));
  auto degenerate = TopView(25, 10);
  degenerate[12] = 0;
  EXPECT_FALSE(dwgprobe::ViewportInsertionPoint(degenerate, 200, 100));
}

TEST(ViewportPoint, AppliesTheTwistTheViewportCornersAndASideDirection) {
  // Twisted a quarter turn: (10, -20) comes to (20, 10); the viewport is the right half.
  auto twisted = TopView(10, -20);
  twisted[3] = 0.5;
  twisted[15] = std::numbers::pi / 2;
  const auto a = dwgprobe::ViewportInsertionPoint(twisted, 200, 100);
  ASSERT_TRUE(a);
  EXPECT_NEAR(a->x, 120, 1e-9);
  EXPECT_NEAR(a->y, 20, 1e-9);

  // Seen along +x: the plane's axes are world y and z.
  const std::array<double, 18> side = {0, 30, 40, 0, 0, 1, 1, 0, 0, 0, 1, 0, 0, 100, 100, 0, 0, 0};
  const auto b = dwgprobe::ViewportInsertionPoint(side, 10, 10);
  ASSERT_TRUE(b);
  EXPECT_NEAR(b->x, 8, 1e-9);
  EXPECT_NEAR(b->y, 9, 1e-9);

  const auto inside = TopView(25, 10);
  std::vector<double> records(inside.begin(), inside.end());
  const auto outside = TopView(500, 10);
  records.insert(records.end(), outside.begin(), outside.end());
  records.push_back(1);  // a partial record
  std::vector<double> points;
  dwgprobe::AppendInsertionPoints(records, 200, 100, points);
  EXPECT_EQ(points, (std::vector<double>{50, 20}));
}

TEST(ManagedBridge, ReportsAMissingAssemblyTypeOrMethodAsAnException) {
  EXPECT_EQ(fw::HelperAssemblyPath(L"/m", L"QuorvaHelper, Version=1.0.0.0, Culture=neutral"),
            L"/m/QuorvaHelper.dll");
  EXPECT_THROW(fw::ManagedAssembly::LoadFrom(L"/nowhere/QuorvaHelper.dll"), fw::ManagedException);
  auto assembly = fw::ManagedAssembly::LoadFrom(fw::PathJoin(QRVA_FAKE_READER_DIR, L"QuorvaHelper.dll"));
  EXPECT_THROW(assembly->CreateInstance("Nothing"), fw::ManagedException);
  auto broken = assembly->CreateInstance("Broken");
  EXPECT_THROW(broken->Invoke("LoadDrawing", {}), fw::ManagedException);
  auto services = assembly->CreateInstance("Services");
  EXPECT_THROW(services->Invoke("LoadDrawing", {std::wstring(L"throw")}), fw::ManagedException)
      << "a method reporting failure";
}

TEST(DrawingReader, PassesTheRequestAndTakesDatesDescriptionAndPoints) {
  DrawingReader reader(QRVA_FAKE_READER_DIR);
  const auto withPoints = Ask(reader, L"/d/A.dwg", true, PreviewSize{200, 100});
  ASSERT_TRUE(withPoints.ok);
  EXPECT_EQ(withPoints.description, L"Reader 1 200x100");
  EXPECT_EQ(withPoints.created, 1000000000);
  EXPECT_EQ(withPoints.points, (std::vector<double>{50, 20}));

  const auto noBitmap = Ask(reader, L"/d/A.dwg", true, std::nullopt);
  EXPECT_EQ(noBitmap.description, L"Reader 0 0x0") << "points are wanted only with a bitmap";
  EXPECT_TRUE(noBitmap.points.empty());
  EXPECT_EQ(noBitmap.modified, withPoints.modified + 1) << "one Services instance is kept";

  const auto failed = Ask(reader, L"/d/fail.dwg", true, PreviewSize{200, 100});
  EXPECT_FALSE(failed.ok);
  EXPECT_EQ(failed.description, L"unchanged");
  EXPECT_EQ(failed.created, -1);
  EXPECT_TRUE(failed.points.empty());
}

TEST(DrawingReader, IsFalseWithoutItsAssembly) {
  TempFolder empty;
  DrawingReader reader(empty.Path());
  EXPECT_FALSE(Ask(reader, L"/d/A.dwg", true, std::nullopt).ok);
  EXPECT_FALSE(Ask(reader, L"/d/A.dwg", true, std::nullopt).ok);
  std::vector<double> points;
  std::int64_t created = 0, modified = 0;
  std::wstring description;
  EXPECT_FALSE(dwgprobe::LoadDrawing(L"/d/A.dwg", false, std::nullopt, points, created, modified,
                                     description))
      << "the build's own reader is absent";
}

class BlockProbe : public ::testing::Test {
 protected:
  BlockProbe() {
    d.path = folder.Path();
    block = &d.AppendBlock();
    block->name = L"A";
  }
  void WriteDrawing(const std::vector<probetest::Payload>& payloads) {
    testsupport::WriteFile(folder / L"A.dwg", probetest::AsText(probetest::BuildDrawing("AC1015", payloads)));
  }
  TempFolder folder;
  library::Directory d;
  library::Block* block;
  DrawingReader reader{QRVA_FAKE_READER_DIR};
};

TEST_F(BlockProbe, AppliesTheOutcomeToTheBlockAndBothImageLists) {
  WriteDrawing({{1, probetest::HeaderData("")}, {2, probetest::SmallBmp()}});
  const int before = d.SmallImages().GetImageCount();
  EXPECT_TRUE(library::Probe(d, *block, &reader));
  EXPECT_EQ(block->version, 16);
  EXPECT_EQ(block->imageIndex, before);
  EXPECT_EQ(d.SmallImages().GetImageCount(), before + 1);
  EXPECT_EQ(d.LargeImages().GetImageCount(), before + 1);
  EXPECT_TRUE(d.imagesDirty);
  EXPECT_EQ(block->description, L"Reader 1 2x2");
  EXPECT_EQ(block->created, 1000000000);

  EXPECT_TRUE(library::Probe(d, *block, &reader));
  EXPECT_EQ(block->imageIndex, before) << "a probed block's images are replaced";
  EXPECT_EQ(d.SmallImages().GetImageCount(), before + 1);
}

TEST_F(BlockProbe, ALockedDrawingChangesNothingAndAPendingSideFileMarksTheDirectory) {
  WriteDrawing({{1, probetest::HeaderData("")}, {2, probetest::SmallBmp()}});
  testsupport::WriteFile(folder / L"A.DWK", "");
  block->description = L"old";
  EXPECT_FALSE(library::Probe(d, *block, &reader));
  EXPECT_EQ(block->description, L"old");
  EXPECT_EQ(block->imageIndex, 0);
  EXPECT_FALSE(d.imagesDirty);

  ASSERT_TRUE(fw::DeleteFile(folder / L"A.DWK"));
  ASSERT_TRUE(fw::CreateDirectory(folder / L"PXTLIB"));
  testsupport::WriteFile(folder / L"PXTLIB/A.lsa", "From the side file\n");
  EXPECT_FALSE(library::Probe(d, *block)) << "the process's reader is absent";
  EXPECT_EQ(block->description, L"From the side file");
  EXPECT_TRUE(block->lsaPending);
  EXPECT_TRUE(d.lsaPending);
  EXPECT_NE(block->imageIndex, 0);
}

// Once a reader answers, an empty summary must not wipe a side-file description waiting to be
// saved into the drawing; a summary that has one still wins.
TEST_F(BlockProbe, AnEmptySummaryKeepsAPendingSideFileDescription) {
  ASSERT_TRUE(fw::CreateDirectory(folder / L"PXTLIB"));
  struct Case {
    const wchar_t* name;
    std::wstring description;
  };
  for (const Case& c : {Case{L"empty", L"From the side file"}, Case{L"A", L"Reader 1 2x2"}}) {
    block->name = c.name;
    block->description = L"old";
    testsupport::WriteFile(d.DrawingPath(*block), probetest::AsText(probetest::BuildDrawing(
        "AC1015", {{1, probetest::HeaderData("")}, {2, probetest::SmallBmp()}})));
    testsupport::WriteFile(folder / (std::wstring(L"PXTLIB/") + c.name + L".lsa"),
                           "From the side file\n");
    EXPECT_TRUE(library::Probe(d, *block, &reader));
    EXPECT_EQ(block->description, c.description);
    EXPECT_TRUE(block->lsaPending);
  }
}

// Markers only where showInsertionPoints asked for them, even from a reader sending records
// regardless.
TEST_F(BlockProbe, DrawsInsertionPointsOnlyWhenTheDirectoryAsksForThem) {
  block->name = L"always";
  testsupport::WriteFile(d.DrawingPath(*block), probetest::AsText(probetest::BuildDrawing(
      "AC1015", {{1, probetest::HeaderData("")}, {2, probetest::SmallBmp()}})));
  for (bool show : {false, true}) {
    dwgprobe::ProbeRequest request;
    request.showInsertionPoints = show;
    request.reader = &reader;
    EXPECT_EQ(dwgprobe::ProbeDrawing(d.DrawingPath(*block), request).points.empty(), !show);
  }
}

// Draw preview reads the preview from the drawing again (never from the thumbnails) and, up to
// index 20, asks the reader for the points first; markers only with showInsertionPoints.
TEST_F(BlockProbe, DrawPreviewReadsTheDrawingAgainAndAsksTheReaderUpToIndexTwenty) {
  struct Case {
    const char* version;
    bool show;
    bool markers;
  };
  for (const Case& c : {Case{"AC1027", true, true}, Case{"AC1027", false, false},
                        Case{"AC1032", true, false}, Case{"AC1009", true, true}}) {
    SCOPED_TRACE(std::string(c.version) + (c.show ? " shown" : " not shown"));
    d.showInsertionPoints = c.show;
    if (std::string(c.version) == "AC1009") {
      testsupport::WriteFile(folder / L"A.dwg", "AC1009");
      testsupport::WriteFile(folder / L"A.bmp", std::string(14, 'B') + probetest::AsText(probetest::SmallBmp()));
    } else {
      testsupport::WriteFile(folder / L"A.dwg", probetest::AsText(probetest::BuildDrawing(
          c.version, {{1, probetest::HeaderData("")}, {2, probetest::SmallBmp()}})));
    }
    fw::Bitmap page(300, 200);
    fw::CDC dc(page);
    ASSERT_TRUE(library::DrawPreview(d, *block, dc, 0, 0, 1, true, &reader));
    int red = 0;
    for (int y = 0; y < page.Height(); ++y) {
      for (int x = 0; x < page.Width(); ++x) red += page.GetPixel(x, y) == fw::RGB(255, 0, 0);
    }
    EXPECT_EQ(red > 0, c.markers);
    EXPECT_EQ(block->imageIndex, 0) << "no thumbnail was needed";
  }
  testsupport::WriteFile(folder / L"A.dwg", probetest::AsText(probetest::BuildDrawing(
      "AC1027", {{1, probetest::HeaderData("")}})));
  fw::Bitmap page(300, 200);
  fw::CDC dc(page);
  EXPECT_FALSE(library::DrawPreview(d, *block, dc, 0, 0, 1, true, &reader)) << "no image record";
  ASSERT_TRUE(fw::DeleteFile(folder / L"A.dwg"));
  EXPECT_FALSE(library::DrawPreview(d, *block, dc, 0, 0, 1, true, &reader)) << "no drawing";
}

TEST_F(BlockProbe, UpdatesTheListItemOnlyWhileTheDialogIsShown) {
  WriteDrawing({{1, probetest::HeaderData("")}, {2, probetest::SmallBmp()}});
  int updates = 0;
  library::SetBlockItemUpdate([&](library::Directory&, library::Block& b) {
    EXPECT_EQ(&b, block);
    ++updates;
  });
  (void)library::Probe(d, *block, &reader);
  EXPECT_EQ(updates, 0);
  library::SetBlockDialogShown(true);
  (void)library::Probe(d, *block, &reader);
  library::SetBlockDialogShown(false);
  library::SetBlockItemUpdate(nullptr);
  EXPECT_EQ(updates, 1);
}

}  // namespace
