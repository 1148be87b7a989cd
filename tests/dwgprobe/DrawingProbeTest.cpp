// The drawing probe on drawings built inline: the version table, the image-section walk, the
// side files, bounds on damaged records, and a sweep of damaged copies of a valid drawing.
#include "dwgprobe/DrawingProbe.h"

#include <gtest/gtest.h>

#include "DrawingBuilder.h"
#include "dwgprobe/DrawingVersion.h"
#include "dwgprobe/ImageSection.h"
#include "fw/FileStatus.h"
#include "fw/Strings.h"
#include "support/TempFolder.h"

namespace {

using dwgprobe::PreviewKind;
using probetest::AsText;
using probetest::BuildDrawing;
using probetest::HeaderData;
using testsupport::TempFolder;
using testsupport::WriteFile;

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

dwgprobe::ProbeOutcome ProbeWith(const std::wstring& path, const std::wstring& current = L"") {
  dwgprobe::ProbeRequest request;
  request.currentDescription = current;
  return dwgprobe::ProbeDrawing(path, request);
}

TEST(DrawingVersion, MapsTheStringsAtTheEdgesOfTheTableAndNothingElse) {
  EXPECT_EQ(dwgprobe::VersionIndex(Bytes("AC1032")), 21);
  EXPECT_STREQ(dwgprobe::VersionName(21), L"2018");
  EXPECT_EQ(dwgprobe::VersionIndex(Bytes("AC1015 and more")), 16);
  EXPECT_STREQ(dwgprobe::VersionName(16), L"2000");
  EXPECT_EQ(dwgprobe::VersionIndex(Bytes("MC0.00")), 1);
  EXPECT_EQ(dwgprobe::VersionIndex(Bytes("AC1009")), 13);
  EXPECT_EQ(dwgprobe::VersionIndex(Bytes("AC1010")), 14);
  EXPECT_EQ(dwgprobe::VersionIndex(Bytes("ac1032")), 0) << "compared case-sensitively";
  EXPECT_EQ(dwgprobe::VersionIndex(Bytes("AC1028")), 0);
  EXPECT_EQ(dwgprobe::VersionIndex(Bytes("AC103")), 0) << "shorter than six bytes";
  EXPECT_STREQ(dwgprobe::VersionName(0), L"Unknwn");
  EXPECT_STREQ(dwgprobe::VersionName(22), L"Unknwn");
  EXPECT_STREQ(dwgprobe::VersionName(-1), L"Unknwn");
}

TEST(ImageSection, TakesTheLastImageRecordAndIsPngWhenAnyRecordWasPng) {
  const auto bmp = BuildDrawing("AC1015", {{1, HeaderData("")}, {2, {1, 2}}});
  const auto section = dwgprobe::ReadImageSection(bmp);
  ASSERT_TRUE(section.image && section.headerData);
  EXPECT_EQ(section.image->code, 2);
  EXPECT_FALSE(section.png);

  const auto png = BuildDrawing("AC1032", {{1, HeaderData("")}, {2, {1}}, {6, {2, 3}}, {3, {4}}});
  const auto last = dwgprobe::ReadImageSection(png);
  ASSERT_TRUE(last.image);
  EXPECT_EQ(last.image->code, 6) << "a WMF record after it is skipped";
  EXPECT_EQ(last.image->size, 2u);
  EXPECT_TRUE(last.png);
  EXPECT_TRUE(last.error.empty());
}

TEST(ImageSection, KeepsTheRecordsReadBeforeATruncation) {
  auto bytes = BuildDrawing("AC1015", {{1, HeaderData("")}, {2, {}}});
  bytes.resize(32 + 21 + 9 + 4);  // the second record cut in half
  const auto section = dwgprobe::ReadImageSection(bytes);
  EXPECT_TRUE(section.headerData);
  EXPECT_FALSE(section.image);
  EXPECT_FALSE(section.error.empty());
  EXPECT_FALSE(dwgprobe::ReadImageSection(Bytes("AC1015")).error.empty());
}

TEST(ImageSection, RefusesRecordsOutsideTheFileOrBeyondTheCap) {
  const std::uint64_t file = 1000;
  EXPECT_TRUE(dwgprobe::CheckRecord({2, 900, 100}, file, dwgprobe::kMaxPreviewBytes));
  EXPECT_FALSE(dwgprobe::CheckRecord({2, 900, 101}, file, dwgprobe::kMaxPreviewBytes));
  EXPECT_FALSE(dwgprobe::CheckRecord({2, 0xFFFFFFFF, 0xFFFFFFFF}, file, dwgprobe::kMaxPreviewBytes))
      << "start + size must not wrap";
  const auto big = dwgprobe::CheckRecord({2, 0, 65u << 20}, 1ull << 30, dwgprobe::kMaxPreviewBytes);
  EXPECT_FALSE(big);
  EXPECT_NE(big.Message().find(L"claims"), std::wstring::npos);
}

TEST(HeaderData, GivesTheTextUpToTheFirstZeroAndNothingForALeadingZero) {
  EXPECT_EQ(dwgprobe::DescriptionFromHeaderData(HeaderData("ABC")), L"ABC");
  EXPECT_FALSE(dwgprobe::DescriptionFromHeaderData(HeaderData("")));
  EXPECT_FALSE(dwgprobe::DescriptionFromHeaderData({}));
}

class DrawingProbe : public ::testing::Test {
 protected:
  std::wstring Write(const std::wstring& name, const std::vector<std::uint8_t>& bytes) {
    WriteFile(folder / name, AsText(bytes));
    return folder / name;
  }
  TempFolder folder;
};

TEST_F(DrawingProbe, ReadsTheBmpOfRecordsOneAndTwo) {
  const auto bmp = probetest::SmallBmp();
  const auto path = Write(L"A.dwg", BuildDrawing("AC1015", {{1, HeaderData("")}, {2, bmp}}));
  const auto outcome = ProbeWith(path, L"old");
  EXPECT_TRUE(outcome.ok);
  EXPECT_FALSE(outcome.readerOk) << "this build has no drawing reader";
  EXPECT_EQ(outcome.version, 16);
  EXPECT_EQ(outcome.previewKind, PreviewKind::Bmp);
  ASSERT_TRUE(outcome.preview);
  EXPECT_EQ(outcome.preview->bytes, bmp);
  EXPECT_EQ(outcome.description, L"old");
  EXPECT_FALSE(outcome.lsaPending);
}

TEST_F(DrawingProbe, ConvertsThePngWhenTheLastOfRecordsOneTwoAndSixIsPng) {
  const auto path = Write(L"A.dwg", BuildDrawing("AC1032", {{1, HeaderData("ABC")},
                                                            {2, probetest::SmallBmp()},
                                                            {6, probetest::SmallPng()}}));
  const auto outcome = ProbeWith(path);
  EXPECT_TRUE(outcome.ok);
  EXPECT_EQ(outcome.previewKind, PreviewKind::Png);
  ASSERT_TRUE(outcome.preview);
  EXPECT_TRUE(outcome.preview->fromPng);
  ASSERT_EQ(outcome.preview->bytes.size(), 40u + 8u);
  EXPECT_EQ(outcome.preview->bytes[4], 2) << "width";
  EXPECT_EQ(outcome.preview->bytes[14], 24) << "bit count";
  EXPECT_EQ(outcome.description, L"ABC");
}

TEST_F(DrawingProbe, ZeroHeaderDataKeepsTheSideFileDescriptionAndMarksItPending) {
  const auto path = Write(L"A.dwg", BuildDrawing("AC1015", {{1, HeaderData("")},
                                                            {2, probetest::SmallBmp()}}));
  EXPECT_FALSE(ProbeWith(path, L"earlier").lsaPending) << "no side file, nothing pending";
  ASSERT_TRUE(fw::CreateDirectory(folder / L"PXTLIB"));
  WriteFile(folder / L"PXTLIB/A.lsa", "Side d\xc3\xa9scription\r\nsecond line\n");
  const auto outcome = ProbeWith(path, L"earlier");
  EXPECT_EQ(outcome.description, L"Side d\u00e9scription");
  EXPECT_TRUE(outcome.lsaPending);

  const auto named = Write(L"A.dwg", BuildDrawing("AC1015", {{1, HeaderData("ABC")}}));
  const auto replaced = ProbeWith(named);
  EXPECT_EQ(replaced.description, L"ABC") << "header text replaces the side file's";
  EXPECT_FALSE(replaced.lsaPending);
  EXPECT_FALSE(replaced.ok) << "no image record";
  EXPECT_EQ(replaced.previewKind, PreviewKind::None);
}

TEST_F(DrawingProbe, ALockFileInAnyCaseKeepsEverything) {
  const auto path = Write(L"A.dwg", BuildDrawing("AC1015", {{1, HeaderData("ABC")},
                                                            {2, probetest::SmallBmp()}}));
  WriteFile(folder / L"A.dwk", "");
  const auto outcome = ProbeWith(path, L"old");
  EXPECT_TRUE(outcome.locked);
  EXPECT_FALSE(outcome.ok);
  EXPECT_FALSE(outcome.preview);
  EXPECT_EQ(outcome.description, L"old");
  EXPECT_EQ(dwgprobe::LockFilePath(L"/x/A.dwg"), L"/x/A.DWK");
}

TEST_F(DrawingProbe, AnR12DrawingShowsItsSideBitmapOnlyWhenItExists) {
  const auto path = Write(L"Old.DWG", probetest::BuildDrawing("AC1009", {}));
  const auto without = ProbeWith(folder / L"Old.dwg");
  EXPECT_TRUE(without.ok) << "found whatever the case of its extension";
  EXPECT_EQ(without.version, 13);
  EXPECT_EQ(without.previewKind, PreviewKind::None);

  auto file = std::vector<std::uint8_t>(14, 'F');
  const auto bmp = probetest::SmallBmp();
  file.insert(file.end(), bmp.begin(), bmp.end());
  Write(L"Old.BMP", file);
  const auto with = ProbeWith(path);
  EXPECT_EQ(with.previewKind, PreviewKind::SideBmp);
  ASSERT_TRUE(with.preview);
  EXPECT_EQ(with.preview->bytes, bmp) << "from byte 14 on";
}

TEST_F(DrawingProbe, RecordsOutsideTheFileGiveNoPreviewAndAClearError) {
  auto bytes = BuildDrawing("AC1015", {{1, HeaderData("ABC")}, {2, probetest::SmallBmp()}});
  probetest::PutU32(bytes, 32 + 21 + 9 + 1, 0x7FFFFFF0);  // the BMP's start
  const auto outcome = ProbeWith(Write(L"A.dwg", bytes));
  EXPECT_TRUE(outcome.opened);
  EXPECT_FALSE(outcome.ok);
  EXPECT_FALSE(outcome.preview);
  EXPECT_EQ(outcome.description, L"ABC") << "what was read before the error is used";
  EXPECT_NE(outcome.error.find(L"claims"), std::wstring::npos) << fw::ToUtf8(outcome.error);

  probetest::PutU32(bytes, 13, 0xFFFFFF00);  // the seeker
  EXPECT_FALSE(ProbeWith(Write(L"B.dwg", bytes)).ok);
  EXPECT_FALSE(ProbeWith(folder / L"missing.dwg").opened);
  const auto tiny = ProbeWith(Write(L"C.dwg", Bytes("AC1")));
  EXPECT_TRUE(tiny.opened);
  EXPECT_EQ(tiny.version, 0);
}

// Every byte flipped, zeroed and set to 0xFF, and every cut: the probe ends cleanly, and any
// preview it hands on lies within the file.
TEST_F(DrawingProbe, SurvivesEveryDamagedCopyOfAValidDrawing) {
  const auto valid = BuildDrawing("AC1032", {{1, HeaderData("ABC")}, {6, probetest::SmallPng()}});
  const std::wstring path = folder / L"D.dwg";
  auto check = [&](const std::vector<std::uint8_t>& bytes) {
    WriteFile(path, AsText(bytes));
    const auto outcome = ProbeWith(path);
    if (outcome.preview && !outcome.preview->fromPng) {
      EXPECT_LE(outcome.preview->bytes.size(), bytes.size());
    }
  };
  for (std::size_t i = 0; i < valid.size(); ++i) {
    for (std::uint8_t value : {std::uint8_t(valid[i] ^ 0xFF), std::uint8_t(0), std::uint8_t(0xFF)}) {
      auto damaged = valid;
      damaged[i] = value;
      check(damaged);
    }
    check({valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(i)});
  }
}

}  // namespace
