// The probe on the real drawings of the shared folder (skipped when it is absent), and the
// qrva-probe tool over a folder of built drawings.
#include <gtest/gtest.h>

#include <string>

#include "DrawingBuilder.h"
#include "dwgprobe/DrawingProbe.h"
#include "fw/FileName.h"
#include "fw/FileStatus.h"
#include "fw/NativePath.h"
#include "fw/Strings.h"
#include "support/Program.h"
#include "support/TempFolder.h"

namespace {

using dwgprobe::PreviewKind;

struct RealDrawing {
  const wchar_t* name;
  int version;
  PreviewKind kind;
  int width;
  int height;
  int bitCount;
};

constexpr RealDrawing kRealDrawings[] = {
    {L"Arc_2018.dwg", 21, PreviewKind::None, 0, 0, 0},
    {L"Constraints_2018.dwg", 21, PreviewKind::None, 0, 0, 0},
    {L"PolyLine2D_2000.dwg", 16, PreviewKind::None, 0, 0, 0},
    {L"Text_2000.dwg", 16, PreviewKind::Bmp, 256, 107, 8},
    {L"block_r2.10.dwg", 5, PreviewKind::None, 0, 0, 0},
    {L"entities-2d_r11.dwg", 13, PreviewKind::None, 0, 0, 0},
    {L"example_2000.dwg", 16, PreviewKind::Bmp, 184, 126, 8},
    {L"example_2004.dwg", 17, PreviewKind::Bmp, 216, 140, 8},
    {L"example_2007.dwg", 18, PreviewKind::Bmp, 672, 448, 8},
    {L"example_2010.dwg", 19, PreviewKind::Bmp, 672, 448, 8},
    {L"example_2013.dwg", 20, PreviewKind::Png, 670, 448, 24},
    {L"example_2018.dwg", 21, PreviewKind::Png, 852, 448, 24},
    {L"example_r13.dwg", 14, PreviewKind::Bmp, 216, 140, 8},
    {L"example_r14.dwg", 15, PreviewKind::Bmp, 216, 140, 8},
    {L"sample_2000.dwg", 16, PreviewKind::Bmp, 180, 88, 8},
    {L"sample_2018.dwg", 21, PreviewKind::Png, 597, 448, 24},
};

int Field(const std::vector<std::uint8_t>& header, std::size_t at, int size) {
  int value = 0;
  for (int i = 0; i < size; ++i) value |= header[at + static_cast<std::size_t>(i)] << (8 * i);
  return value;
}

TEST(RealDrawings, GiveTheVersionsAndPreviewsTheirBytesHold) {
  const std::wstring folder = fw::PathJoin(fw::FromNativePath(QRVA_SHARED_DIR), L"dwg");
  if (!fw::IsDirectory(folder)) GTEST_SKIP() << "no shared drawings";
  for (const RealDrawing& real : kRealDrawings) {
    SCOPED_TRACE(fw::NativePath(real.name));
    const auto outcome = dwgprobe::ProbeDrawing(fw::PathJoin(folder, real.name), {});
    EXPECT_TRUE(outcome.opened);
    EXPECT_EQ(outcome.version, real.version);
    EXPECT_EQ(outcome.previewKind, real.kind);
    EXPECT_FALSE(outcome.lsaPending);
    EXPECT_EQ(outcome.description, L"") << "their header data starts with a zero byte";
    if (real.kind == PreviewKind::None) {
      EXPECT_FALSE(outcome.preview);
      continue;
    }
    ASSERT_TRUE(outcome.preview);
    EXPECT_TRUE(outcome.ok);
    EXPECT_EQ(Field(outcome.preview->bytes, 4, 4), real.width);
    EXPECT_EQ(Field(outcome.preview->bytes, 8, 4), real.height);
    EXPECT_EQ(Field(outcome.preview->bytes, 14, 2), real.bitCount);
  }
}

TEST(QrvaProbe, PrintsOneJsonLinePerDrawingAndWritesBothThumbnails) {
  testsupport::TempFolder folder;
  const std::wstring library = folder / L"lib";
  ASSERT_TRUE(fw::CreateDirectory(library));
  testsupport::WriteFile(fw::PathJoin(library, L"B.DWG"),
                         probetest::AsText(probetest::BuildDrawing(
                             "AC1015", {{1, probetest::HeaderData("Say \"hi\"\t\\")},
                                        {2, probetest::SmallBmp()}})));
  testsupport::WriteFile(fw::PathJoin(library, L"a.dwg"), "AC10");
  previewtest::DibSpec topDown;
  topDown.width = 3;
  topDown.height = 2;
  topDown.bitCount = 24;
  topDown.topDown = true;
  topDown.pixels.assign(6, 0xFFFFFF);
  testsupport::WriteFile(fw::PathJoin(library, L"c.dwg"),
                         probetest::AsText(probetest::BuildDrawing(
                             "AC1032", {{2, previewtest::BuildDib(topDown)}})));
  testsupport::WriteFile(fw::PathJoin(library, L"notes.txt"), "not a drawing");
  const std::string thumbs = fw::NativePath(folder / L"thumbs");
  const auto run = testsupport::RunProgram(
      QRVA_PROBE_PROGRAM,
      "--background 000000 --thumbs " + testsupport::ShellQuote(thumbs) + " " +
          testsupport::ShellQuote(fw::NativePath(library)),
      folder);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::string lib = fw::NativePath(library);
  EXPECT_EQ(run.out,
            "{\"path\":\"" + lib + "/a.dwg\",\"ok\":true,\"version\":0,\"versionName\":\"Unknwn\","
            "\"preview\":\"none\",\"width\":0,\"height\":0,\"bitCount\":0,\"description\":\"\","
            "\"lsaPending\":false}\n"
            "{\"path\":\"" + lib + "/B.DWG\",\"ok\":true,\"version\":16,\"versionName\":\"2000\","
            "\"preview\":\"bmp\",\"width\":2,\"height\":2,\"bitCount\":8,"
            "\"description\":\"Say \\\"hi\\\"\\u0009\\\\\",\"lsaPending\":false}\n"
            "{\"path\":\"" + lib + "/c.dwg\",\"ok\":true,\"version\":21,\"versionName\":\"2018\","
            "\"preview\":\"bmp\",\"width\":3,\"height\":2,\"topDown\":true,\"bitCount\":24,"
            "\"description\":\"\",\"lsaPending\":false}\n");
  const std::string large = testsupport::ReadFile(folder / L"thumbs/B.large.png");
  ASSERT_GT(large.size(), 8u);
  EXPECT_EQ(large.substr(1, 3), "PNG");
  EXPECT_GT(testsupport::ReadFile(folder / L"thumbs/B.small.png").size(), 8u);

  EXPECT_EQ(testsupport::RunProgram(QRVA_PROBE_PROGRAM, "--background red x", folder).exitCode, 2);
  EXPECT_EQ(testsupport::RunProgram(QRVA_PROBE_PROGRAM, "", folder).exitCode, 2);
  const auto version = testsupport::RunProgram(QRVA_PROBE_PROGRAM, "--version", folder);
  EXPECT_EQ(version.out, "qrva-probe 3.9.10\n");
  EXPECT_EQ(testsupport::RunProgram(QRVA_PROBE_PROGRAM, "/no/such/folder", folder).exitCode, 1);
}

}  // namespace
