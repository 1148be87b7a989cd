// Drawings our host writes, probed as real ones: version, preview with ink where the objects
// are, description and insertion point from the drawing reader; and the description writer.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "dwgprobe/DescriptionWriter.h"
#include "dwgprobe/DrawingProbe.h"
#include "dwgprobe/DrawingReader.h"
#include "dwgprobe/ImageSection.h"
#include "fw/FileStatus.h"
#include "fw/PackedDib.h"
#include "fw/RegularFile.h"
#include "fw/Strings.h"
#include "minicad/AcDbImpDatabase.h"
#include "minicad/DrawingFiles.h"
#include "minicad/Host.h"
#include "minicad/InputText.h"
#include "support/Program.h"
#include "support/TempFolder.h"

namespace {

using testsupport::TempFolder;

// A 100 x 50 rectangle with its corner at the drawing's insertion base (the origin), saved in
// the format of `year` with a description.
std::wstring SaveRectangle(const TempFolder& folder, const std::wstring& year) {
  const std::wstring path = folder / (L"Rect " + year + L".dwg");
  minicad::Host host;
  host.RunScriptText(L"LINE\n0,0\n100,0\n100,50\n0,50\nC\nDWGPROPS\nComments\nA rectangle of " +
                     year + L"\n\nSAVEAS\n" + year + L"\n" + minicad::QuoteName(path) + L"\n");
  return path;
}

std::vector<std::uint8_t> FileBytes(const std::wstring& path) {
  auto bytes = fw::ReadRegularFile(path, 64 << 20);
  EXPECT_TRUE(bytes.Ok()) << fw::ToUtf8(bytes.Message());
  return bytes.Value();
}

// Whether the preview has ink (a pixel not the black background) within a pixel of (x, y),
// y counted from the bottom.
bool InkNear(const dwgprobe::PackedBitmap& preview, double x, double y) {
  auto dib = fw::PackedDib::Parse(preview.bytes);
  if (!dib) return false;
  const int height = dib.Value().Height();
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      const int px = static_cast<int>(x) + dx;
      const int py = height - 1 - static_cast<int>(y) + dy;
      if (px < 0 || py < 0 || px >= dib.Value().Width() || py >= height) continue;
      if (dib.Value().ColourOf(dib.Value().RawPixel(px, py)) != fw::RGB(0, 0, 0)) return true;
    }
  }
  return false;
}

TEST(MinicadDrawings, AreProbedLikeRealDrawingsInEveryFormat) {
  TempFolder folder;
  dwgprobe::DrawingReader reader(QRVA_HELPER_DIR);
  const std::tuple<const wchar_t*, int, dwgprobe::PreviewKind> formats[] = {
      {L"R14", 15, dwgprobe::PreviewKind::Bmp},  {L"2000", 16, dwgprobe::PreviewKind::Bmp},
      {L"2004", 17, dwgprobe::PreviewKind::Bmp}, {L"2007", 18, dwgprobe::PreviewKind::Bmp},
      {L"2010", 19, dwgprobe::PreviewKind::Bmp}, {L"2013", 20, dwgprobe::PreviewKind::Png},
      {L"2018", 21, dwgprobe::PreviewKind::Png},
  };
  for (const auto& [year, version, kind] : formats) {
    const std::wstring path = SaveRectangle(folder, year);
    dwgprobe::ProbeRequest request;
    request.showInsertionPoints = true;
    request.reader = &reader;
    const dwgprobe::ProbeOutcome outcome = dwgprobe::ProbeDrawing(path, request);
    ASSERT_TRUE(outcome.ok && outcome.readerOk) << fw::ToUtf8(outcome.error);
    EXPECT_EQ(outcome.version, version);
    EXPECT_EQ(outcome.previewKind, kind);
    EXPECT_EQ(outcome.description, L"A rectangle of " + std::wstring(year));
    ASSERT_TRUE(outcome.created && outcome.modified);
    EXPECT_LE(*outcome.created, *outcome.modified);
    ASSERT_TRUE(outcome.preview);
    auto dib = fw::PackedDib::Parse(outcome.preview->bytes);
    ASSERT_TRUE(dib.Ok());
    EXPECT_EQ(dib.Value().Width(), 256);
    EXPECT_EQ(dib.Value().Height(), 188);
    // The insertion point is the rectangle's corner, and the preview has ink there.
    ASSERT_EQ(outcome.points.size(), 2u);
    EXPECT_TRUE(InkNear(*outcome.preview, outcome.points[0], outcome.points[1]))
        << outcome.points[0] << "," << outcome.points[1];
    EXPECT_FALSE(InkNear(*outcome.preview, 128, 94)) << "the rectangle's inside stays empty";
  }
}

TEST(MinicadDrawings, QrvaProbeReadsThemWithTheReaderBesideIt) {
  TempFolder folder;
  const std::wstring path = SaveRectangle(folder, L"2018");
  testsupport::ProgramOutcome probe = testsupport::RunProgram(
      QRVA_PROBE_PROGRAM, testsupport::ShellQuote(fw::ToUtf8(path)), folder);
  EXPECT_EQ(probe.exitCode, 0) << probe.err;
  EXPECT_NE(probe.out.find("\"ok\":true,\"version\":21,\"versionName\":\"2018\",\"preview\":"
                           "\"png\",\"width\":256,\"height\":188,\"bitCount\":24,"
                           "\"description\":\"A rectangle of 2018\""),
            std::string::npos)
      << probe.out;
}

std::wstring Comments(const std::wstring& path) {
  minicad::DrawingRead read = minicad::ReadDrawingFile(path);
  EXPECT_EQ(read.status, Acad::eOk) << fw::ToUtf8(read.error);
  if (read.status != Acad::eOk) return {};
  return AcDbImpDatabase::Of(*read.database).Header().summary[AcDbDatabaseSummaryInfo::kComments];
}

std::vector<std::uint8_t> RecordBytes(const std::vector<std::uint8_t>& file,
                                      const dwgprobe::ImageRecord& record) {
  return {file.begin() + record.start, file.begin() + record.start + record.size};
}

TEST(DescriptionWriter, RewritesA2000DrawingInItsOwnFormatKeepingItsPreview) {
  TempFolder folder;
  const std::wstring path = SaveRectangle(folder, L"2000");
  const std::vector<std::uint8_t> before = FileBytes(path);

  ASSERT_TRUE(dwgprobe::WriteDescription(path, 16, L"Valve, \u00e9tage 2"));

  const std::vector<std::uint8_t> after = FileBytes(path);
  EXPECT_EQ(std::string(after.begin(), after.begin() + 6), "AC1015");
  EXPECT_EQ(Comments(path), L"Valve, \u00e9tage 2");
  const auto oldImage = dwgprobe::ReadImageSection(before).image;
  const auto newImage = dwgprobe::ReadImageSection(after).image;
  ASSERT_TRUE(oldImage && newImage);
  EXPECT_EQ(RecordBytes(after, *newImage), RecordBytes(before, *oldImage));
  EXPECT_FALSE(fw::PathExists(folder / L"Rect 2000.dwg2"));
}

TEST(DescriptionWriter, SavesAnR14DrawingAs2018AndRelinksItsKeptBmp) {
  TempFolder folder;
  const std::wstring path = SaveRectangle(folder, L"R14");
  const std::vector<std::uint8_t> before = FileBytes(path);
  const auto bmp = dwgprobe::ReadImageSection(before).image;
  ASSERT_TRUE(bmp && bmp->code == dwgprobe::kBmpCode);

  ASSERT_TRUE(dwgprobe::WriteDescription(path, 15, L"Upgraded"));

  const std::vector<std::uint8_t> after = FileBytes(path);
  EXPECT_EQ(std::string(after.begin(), after.begin() + 6), "AC1032");
  EXPECT_EQ(Comments(path), L"Upgraded");
  // The header-data record became a BMP record pointing at the preview appended at the end.
  const std::uint32_t seeker = dwgprobe::ReadImageSeeker(after).Value();
  const std::size_t first = seeker + dwgprobe::kRecordsOffset;
  ASSERT_EQ(after[first], dwgprobe::kBmpCode);
  dwgprobe::ImageRecord relinked{after[first], 0, 0};
  for (int i = 0; i < 4; ++i) {
    relinked.start |= std::uint32_t{after[first + 1 + i]} << (8 * i);
    relinked.size |= std::uint32_t{after[first + 5 + i]} << (8 * i);
  }
  EXPECT_EQ(relinked.start + relinked.size, after.size());
  EXPECT_EQ(RecordBytes(after, relinked), RecordBytes(before, *bmp));
}

// A drawing the host cannot read keeps every byte, and no temporary file is left.
TEST(DescriptionWriter, LeavesADrawingItCannotReadUntouched) {
  TempFolder folder;
  std::vector<std::wstring> drawings = {folder / L"foreign.dwg", folder / L"damaged.dwg"};
  testsupport::WriteFile(drawings[0], "AC1015 written by another program");
  std::vector<std::uint8_t> damaged = FileBytes(SaveRectangle(folder, L"2000"));
  damaged.resize(damaged.size() - 1);
  testsupport::WriteFile(drawings[1], std::string(damaged.begin(), damaged.end()));
  const std::wstring real = fw::FromUtf8(QRVA_SHARED_DIR "/dwg/example_r14.dwg");
  if (fw::PathExists(real)) {
    drawings.push_back(folder / L"example_r14.dwg");
    ASSERT_TRUE(fw::CopyFile(real, drawings.back(), true));
  }
  for (const std::wstring& path : drawings) {
    const std::vector<std::uint8_t> before = FileBytes(path);
    EXPECT_FALSE(dwgprobe::WriteDescription(path, 15, L"never written")) << fw::ToUtf8(path);
    EXPECT_EQ(FileBytes(path), before) << fw::ToUtf8(path);
    EXPECT_FALSE(fw::PathExists(path + L"2")) << fw::ToUtf8(path);
  }
}

}  // namespace
