// Whole files: a limit on what is read, what is no regular file refused without waiting, and
// patches inside the file only.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "fw/NativePath.h"
#include "fw/RegularFile.h"
#include "support/TempFolder.h"

namespace {

using testsupport::ReadFile;
using testsupport::TempFolder;
using testsupport::WriteFile;

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

TEST(RegularFile, ReadsUpToItsLimitAndRefusesWhatIsNoRegularFile) {
  TempFolder folder;
  const std::wstring file = folder / L"ten.bin";
  WriteFile(file, "0123456789");
  const std::wstring fifo = folder / L"fifo.dwg";
  ASSERT_EQ(mkfifo(fw::NativePath(fifo).c_str(), 0666), 0);

  EXPECT_EQ(fw::ReadRegularFile(file, 10).Value(), Bytes("0123456789"));
  const auto tooLarge = fw::ReadRegularFile(file, 9);
  EXPECT_FALSE(tooLarge);
  EXPECT_NE(tooLarge.Message().find(L"holds 10 bytes; at most 9"), std::wstring::npos);
  for (const std::wstring& path : {fifo, folder.Path(), folder / L"missing.bin"}) {
    EXPECT_FALSE(fw::ReadRegularFile(path, 100)) << fw::NativePath(path);
  }
}

TEST(RegularFile, AppendsAndOverwritesOnlyInsideTheFile) {
  TempFolder folder;
  const std::wstring file = folder / L"f.bin";
  WriteFile(file, "abc");
  std::uint64_t at = 0;
  ASSERT_TRUE(fw::AppendToFile(file, Bytes("de"), at));
  EXPECT_EQ(at, 3u);
  ASSERT_TRUE(fw::OverwriteFileAt(file, 1, Bytes("XY")));
  EXPECT_EQ(ReadFile(file), "aXYde");
  EXPECT_FALSE(fw::OverwriteFileAt(file, 4, Bytes("ZZ")));
  EXPECT_EQ(ReadFile(file), "aXYde");
  EXPECT_FALSE(fw::AppendToFile(folder / L"missing.bin", Bytes("x"), at));
}

}  // namespace
