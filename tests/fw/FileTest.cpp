// Files on disk and in memory, the causes their errors carry, and the texts those errors show.
#include "fw/File.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fw/FileStatus.h"
#include "fw/NativePath.h"
#include "fw/Strings.h"
#include "fw/HeadlessUiDriver.h"
#include "support/FileSizeLimit.h"
#include "support/TempFolder.h"

namespace {

using fw::CFile;
using fw::CFileException;
using testsupport::ReadFile;
using testsupport::TempFolder;
using testsupport::WriteFile;

constexpr unsigned kReadFlags = CFile::modeRead | CFile::typeBinary;
constexpr unsigned kCreateFlags = CFile::modeCreate | CFile::modeWrite | CFile::typeBinary;

// The cause an Open of `path` fails with, or `none` when it opens.
CFileException::Cause OpenFailure(const std::wstring& path, unsigned flags = kReadFlags) {
  CFile file;
  CFileException error(CFileException::none, {});
  if (file.Open(path, flags, &error)) return CFileException::none;
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(error.fileName(), path);
  return error.cause();
}

TEST(CFileException, MessagesNameTheFileAndAddTheDetail) {
  EXPECT_EQ(CFileException(CFileException::fileNotFound, L"/a/b.cache").Message(),
            L"/a/b.cache was not found.");
  EXPECT_EQ(CFileException(CFileException::accessDenied, L"x").Message(),
            L"Access to x was denied.");
  EXPECT_EQ(CFileException(CFileException::diskFull, L"x").Message(),
            L"There was not enough space on the disk.");
  EXPECT_EQ(CFileException(CFileException::endOfFile, L"x").Message(),
            L"An attempt was made to access x past its end.");
  EXPECT_EQ(CFileException(CFileException::genericException, {}).Message(),
            L"An unexpected error occurred while accessing an unnamed file.");
  EXPECT_EQ(CFileException(CFileException::hardIO, L"x", L"read: I/O error").Message(),
            L"A hardware I/O error was reported while accessing x.\nread: I/O error");
}

TEST(CArchiveException, MessagesGiveTheCauseAndTheDetail) {
  using fw::CArchiveException;
  EXPECT_EQ(CArchiveException(CArchiveException::endOfFile).Message(),
            L"An unexpected end of file was encountered while reading.");
  EXPECT_EQ(CArchiveException(CArchiveException::badSchema).Message(),
            L"An invalid schema (version) was encountered.");
  EXPECT_EQ(CArchiveException(CArchiveException::badIndex, L"string length 9").Message(),
            L"An invalid format was encountered.\nstring length 9");
  EXPECT_EQ(CArchiveException(CArchiveException::genericException).Message(),
            L"An invalid format was encountered.");
}

TEST(CFileException, ReportErrorShowsAnExclamationBoxWithTheMessage) {
  fw::HeadlessUiDriver driver;
  fw::SetUiDriver(&driver);
  CFileException(CFileException::fileNotFound, L"qv35.cache").ReportError();
  fw::CArchiveException(fw::CArchiveException::badSchema).ReportError();
  fw::SetUiDriver(nullptr);
  auto shown = driver.Messages();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, L"qv35.cache was not found.");
  EXPECT_EQ(shown[0].type, fw::MB_OK | fw::MB_ICONEXCLAMATION);
  EXPECT_EQ(shown[1].text, L"An invalid schema (version) was encountered.");
}

TEST(CFile, CreatesOrTruncatesThenReadsBackWithLengthAndPosition) {
  TempFolder folder;
  std::wstring path = folder / L"data.bin";
  WriteFile(path, "a longer old content");
  {
    CFile file;
    ASSERT_TRUE(file.Open(path, kCreateFlags));
    file.Write("hello", 5);
    file.Write("", 0);
    EXPECT_EQ(file.GetPosition(), 5u);
    file.Flush();
    file.Close();
    EXPECT_FALSE(file.IsOpen());
  }
  EXPECT_EQ(ReadFile(path), "hello");

  CFile file;
  ASSERT_TRUE(file.Open(path, kReadFlags));
  EXPECT_EQ(file.GetFilePath(), path);
  EXPECT_EQ(file.GetLength(), 5u);
  char buffer[8] = {};
  EXPECT_EQ(file.Read(buffer, 3), 3u);
  EXPECT_EQ(file.GetPosition(), 3u);
  EXPECT_EQ(file.Read(buffer + 3, 8), 2u);
  EXPECT_EQ(std::string(buffer), "hello");
  EXPECT_EQ(file.Read(buffer, 8), 0u);
}

TEST(CFile, OpenErrorsMapToTheFrameworkCauses) {
  TempFolder folder;
  WriteFile(folder / L"plain.txt", "x");
  EXPECT_EQ(OpenFailure(folder / L"missing.cache"), CFileException::fileNotFound);
  EXPECT_EQ(OpenFailure(folder / L"no-folder/missing.cache"), CFileException::badPath);
  EXPECT_EQ(OpenFailure(folder / L"no-folder/new.cache", kCreateFlags), CFileException::badPath);
  EXPECT_EQ(OpenFailure(folder / L"plain.txt/inside"), CFileException::badPath);
  EXPECT_EQ(OpenFailure(folder / std::wstring(300, L'n')), CFileException::badPath);
  EXPECT_EQ(OpenFailure(L""), CFileException::badPath);
  EXPECT_EQ(OpenFailure(folder / std::wstring(L"nul\0name", 8)), CFileException::badPath);
  EXPECT_EQ(OpenFailure(folder.Path()), CFileException::accessDenied);
  EXPECT_EQ(OpenFailure(folder.Path(), kCreateFlags), CFileException::accessDenied);
}

TEST(CFile, OpenWithoutPermissionIsAccessDenied) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  TempFolder folder;
  std::wstring path = folder / L"locked.cache";
  WriteFile(path, "x");
  ASSERT_EQ(chmod(fw::NativePath(path).c_str(), 0), 0);
  EXPECT_EQ(OpenFailure(path), CFileException::accessDenied);
}

TEST(CFile, WritingPastTheRoomLeftThrowsDiskFull) {
  testsupport::TempFolder folder;
  const std::wstring path = folder / L"full.bin";
  CFile file;
  ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite));
  testsupport::FileSizeLimit full(2);
  try {
    file.Write("abc", 3);
    FAIL() << "a write past the room left succeeded";
  } catch (const CFileException& error) {
    EXPECT_EQ(error.cause(), CFileException::diskFull);
    EXPECT_EQ(error.fileName(), path);
  }
}

// The file is replaced whole or not at all: a temporary beside it, never one that exists, and
// none left behind when the write fails.
TEST(WriteFileReplacing, ReplacesWholeOrLeavesEverythingAsItWas) {
  testsupport::TempFolder folder;
  const std::wstring path = folder / L"thumb.png";
  const std::wstring leftover = path + L".tmp" + std::to_wstring(getpid()) + L"-0";
  WriteFile(path, "old");
  WriteFile(leftover, "another's");
  const std::string text = "new picture";
  const std::vector<std::uint8_t> bytes(text.begin(), text.end());
  ASSERT_TRUE(fw::WriteFileReplacing(path, bytes).Ok());
  EXPECT_EQ(ReadFile(path), text);
  EXPECT_EQ(ReadFile(leftover), "another's");
  {
    testsupport::FileSizeLimit full(4);
    const fw::Status failed = fw::WriteFileReplacing(path, std::vector<std::uint8_t>(10, 'x'));
    EXPECT_FALSE(failed.Ok());
    EXPECT_NE(failed.Message().find(L"cannot write " + path), std::wstring::npos);
  }
  EXPECT_EQ(ReadFile(path), text);
  EXPECT_FALSE(fw::PathExists(path + L".tmp" + std::to_wstring(getpid()) + L"-1"));
  EXPECT_FALSE(fw::WriteFileReplacing(folder / L"none/thumb.png", bytes).Ok());
}

// Only regular files are opened, and a FIFO or a device never blocks the open.
TEST(CFile, RefusesEverythingButARegularFileWithoutBlocking) {
  testsupport::TempFolder folder;
  const std::wstring fifo = folder / L"pipe.dwg";
  ASSERT_EQ(mkfifo(fw::NativePath(fifo).c_str(), 0666), 0);
  for (const std::wstring& path : {fifo, std::wstring(L"/dev/null"), folder.Path()}) {
    for (unsigned mode : {CFile::modeRead, CFile::modeWrite, CFile::modeReadWrite}) {
      CFile file;
      CFileException error(CFileException::none, path);
      EXPECT_FALSE(file.Open(path, mode | CFile::typeBinary, &error)) << fw::NativePath(path);
      EXPECT_EQ(error.cause(), CFileException::accessDenied) << fw::NativePath(path);
    }
  }
}

TEST(CFile, AClosedFileThrowsInsteadOfUsingAnotherDescriptor) {
  CFile file;
  char byte = 0;
  EXPECT_THROW(file.Read(&byte, 1), CFileException);
  EXPECT_THROW(file.Write(&byte, 1), CFileException);
}

TEST(CMemFile, GrowsAsWrittenReadsBackAndDetaches) {
  fw::CMemFile file(3);
  std::vector<std::uint8_t> expected;
  for (std::uint8_t i = 0; i < 100; ++i) {
    file.Write(&i, 1);
    expected.push_back(i);
  }
  EXPECT_EQ(file.Bytes(), expected);
  EXPECT_EQ(file.Detach(), expected);
  EXPECT_EQ(file.GetLength(), 0u);
  EXPECT_EQ(file.GetPosition(), 0u);

  fw::CMemFile reader(expected);
  std::uint8_t buffer[64] = {};
  EXPECT_EQ(reader.Read(buffer, 64), 64u);
  EXPECT_EQ(reader.Read(buffer, 64), 36u);
  EXPECT_EQ(buffer[35], 99);
  EXPECT_EQ(reader.Read(buffer, 64), 0u);
}

}  // namespace
