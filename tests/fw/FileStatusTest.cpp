// File status, the file finder, and moving, copying and deleting files, on real files in a
// fresh folder.
#include "fw/FileStatus.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "fw/FileName.h"
#include "fw/NativePath.h"
#include "fw/Strings.h"
#include "fw/System.h"
#include "support/TempFolder.h"

namespace {

using testsupport::ReadFile;
using testsupport::TempFolder;
using testsupport::WriteFile;

// The temporary folder as the system names it after resolving links (getcwd reports it so).
std::wstring RealPath(const std::wstring& path) {
  char resolved[PATH_MAX];
  return realpath(fw::NativePath(path).c_str(), resolved) != nullptr ? fw::FromNativePath(resolved) : path;
}

// Makes a folder current for one test and restores the previous one.
class CurrentFolderScope {
 public:
  explicit CurrentFolderScope(const std::wstring& folder) : previous_(fw::GetCurrentFolder()) {
    EXPECT_EQ(chdir(fw::NativePath(folder).c_str()), 0);
  }
  ~CurrentFolderScope() { EXPECT_EQ(chdir(fw::NativePath(previous_).c_str()), 0); }

 private:
  std::wstring previous_;
};

void SetModificationTime(const std::wstring& path, std::int64_t seconds) {
  struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, fw::NativePath(path).c_str(), times, 0), 0);
}

TEST(GetFileStatus, ReportsSizeTimesAndAbsoluteNameOfAFile) {
  TempFolder folder;
  std::wstring path = folder / L"plan.dwg";
  WriteFile(path, "12345");
  SetModificationTime(path, 1600000000);
  fw::CFileStatus status;
  ASSERT_TRUE(fw::GetFileStatus(path, status));
  EXPECT_EQ(status.size, 5u);
  EXPECT_EQ(status.mtime, 1600000000);
  EXPECT_GT(status.ctime, 0);
  EXPECT_EQ(status.attribute, fw::kAttributeNormal);
  EXPECT_EQ(status.fullName, path);
}

TEST(GetFileStatus, MarksAFileWithoutWriteBitsReadOnly) {
  TempFolder folder;
  std::wstring path = folder / L"locked.dwg";
  WriteFile(path, "x");
  ASSERT_EQ(chmod(fw::NativePath(path).c_str(), 0444), 0);
  fw::CFileStatus status;
  ASSERT_TRUE(fw::GetFileStatus(path, status));
  EXPECT_NE(status.attribute & fw::kAttributeReadOnly, 0u);
  EXPECT_EQ(status.attribute & fw::kAttributeDirectory, 0u);
}

TEST(GetFileStatus, MarksFoldersAndDotFiles) {
  TempFolder folder;
  std::wstring sub = folder / L"sub";
  ASSERT_TRUE(fw::CreateDirectory(sub));
  fw::CFileStatus status;
  ASSERT_TRUE(fw::GetFileStatus(sub, status));
  EXPECT_EQ(status.attribute, fw::kAttributeDirectory);
  EXPECT_TRUE(fw::IsDirectory(sub));

  WriteFile(folder / L".settings", "");
  ASSERT_TRUE(fw::GetFileStatus(folder / L".settings", status));
  EXPECT_EQ(status.attribute, fw::kAttributeHidden);
}

TEST(GetFileStatus, MakesARelativePathAbsoluteWithoutItsDotParts) {
  TempFolder folder;
  std::wstring real = RealPath(folder.Path());
  ASSERT_TRUE(fw::CreateDirectory(folder / L"sub"));
  WriteFile(folder / L"a.dwg", "");
  CurrentFolderScope current(real);
  fw::CFileStatus status;
  ASSERT_TRUE(fw::GetFileStatus(L"./sub/../a.dwg", status));
  EXPECT_EQ(status.fullName, fw::PathJoin(real, L"a.dwg"));
}

TEST(GetFileStatus, FailsForMissingAndMalformedPaths) {
  TempFolder folder;
  fw::CFileStatus status;
  EXPECT_FALSE(fw::GetFileStatus(folder / L"missing.dwg", status));
  EXPECT_FALSE(fw::GetFileStatus(L"", status));
  WriteFile(folder / L"a", "");
  EXPECT_FALSE(fw::GetFileStatus(folder / std::wstring(L"a\0b", 3), status));
  EXPECT_FALSE(fw::PathExists(folder / L"missing.dwg"));
  EXPECT_FALSE(fw::IsDirectory(folder / L"a"));
}

// A folder with drawings whose extensions differ in case, and other entries.
class CFileFindTest : public testing::Test {
 protected:
  void SetUp() override {
    for (const wchar_t* name : {L"b.dwg", L"A.DWG", L"c.Dwg", L"notes.txt", L"ab.dwg"}) {
      WriteFile(folder_ / name, "1234");
    }
    ASSERT_TRUE(fw::CreateDirectory(folder_ / L"Sub"));
  }

  // The names FindFile and FindNextFile give, in order.
  std::vector<std::wstring> Names(const std::wstring& pattern) {
    std::vector<std::wstring> names;
    fw::CFileFind finder;
    bool more = finder.FindFile(fw::PathJoin(folder_.Path(), pattern));
    while (more) {
      more = finder.FindNextFile();
      names.push_back(finder.GetFileName());
    }
    return names;
  }

  TempFolder folder_;
};

TEST_F(CFileFindTest, MatchesExtensionWithoutRegardToCaseInNameOrder) {
  EXPECT_EQ(Names(L"*.dwg"), (std::vector<std::wstring>{L"A.DWG", L"ab.dwg", L"b.dwg", L"c.Dwg"}));
  EXPECT_EQ(Names(L"*.DWG").size(), 4u);
}

TEST_F(CFileFindTest, MatchesOneCharacterForAQuestionMark) {
  EXPECT_EQ(Names(L"?.dwg"), (std::vector<std::wstring>{L"A.DWG", L"b.dwg", L"c.Dwg"}));
  EXPECT_EQ(Names(L"a?.dwg"), (std::vector<std::wstring>{L"ab.dwg"}));
  EXPECT_EQ(Names(L"not?s.*"), (std::vector<std::wstring>{L"notes.txt"}));
}

TEST_F(CFileFindTest, IncludesFolderEntriesOnlyWhenThePatternMatchesThem) {
  EXPECT_EQ(Names(L"*"), (std::vector<std::wstring>{L".", L"..", L"A.DWG", L"ab.dwg", L"b.dwg",
                                                    L"c.Dwg", L"notes.txt", L"Sub"}));
  EXPECT_EQ(Names(L"*.*").size(), 8u);
  EXPECT_EQ(Names(L"s*"), (std::vector<std::wstring>{L"Sub"}));
}

TEST_F(CFileFindTest, ReportsNothingWhenNothingMatches) {
  fw::CFileFind finder;
  EXPECT_FALSE(finder.FindFile(folder_ / L"*.dxf"));
  EXPECT_FALSE(finder.FindNextFile());
  EXPECT_EQ(finder.GetFilePath(), L"");
  EXPECT_FALSE(finder.FindFile(folder_ / L"missing/*.dwg"));
  EXPECT_FALSE(finder.FindFile(folder_ / L""));
}

// FindNextFile moves first and then tells whether more follow, so the last entry is read after
// it returned false, and a single match is read after the first call returned false.
TEST_F(CFileFindTest, FindNextFileReturnsFalseWhenItMovedToTheLastEntry) {
  fw::CFileFind finder;
  ASSERT_TRUE(finder.FindFile(folder_ / L"?.dwg"));
  EXPECT_EQ(finder.GetFileName(), L"");
  EXPECT_TRUE(finder.FindNextFile());
  EXPECT_TRUE(finder.FindNextFile());
  EXPECT_FALSE(finder.FindNextFile());
  EXPECT_EQ(finder.GetFileName(), L"c.Dwg");
  EXPECT_FALSE(finder.FindNextFile());
  EXPECT_EQ(finder.GetFileName(), L"c.Dwg");

  ASSERT_TRUE(finder.FindFile(folder_ / L"notes.TXT"));
  EXPECT_FALSE(finder.FindNextFile());
  EXPECT_EQ(finder.GetFileName(), L"notes.txt");
  finder.Close();
  EXPECT_EQ(finder.GetFileName(), L"");
}

TEST_F(CFileFindTest, DescribesTheCurrentEntry) {
  ASSERT_EQ(chmod(fw::NativePath(folder_ / L"A.DWG").c_str(), 0444), 0);
  SetModificationTime(folder_ / L"A.DWG", 1500000000);
  fw::CFileFind finder;
  ASSERT_TRUE(finder.FindFile(folder_ / L"a*"));
  finder.FindNextFile();
  EXPECT_EQ(finder.GetFilePath(), folder_ / L"A.DWG");
  EXPECT_EQ(finder.GetFileTitle(), L"A");
  EXPECT_EQ(finder.GetLength(), 4u);
  EXPECT_EQ(finder.GetLastWriteTime(), 1500000000);
  EXPECT_GT(finder.GetCreationTime(), 0);
  EXPECT_TRUE(finder.IsReadOnly());
  EXPECT_FALSE(finder.IsDirectory());
  finder.FindNextFile();
  EXPECT_FALSE(finder.IsReadOnly());

  ASSERT_TRUE(finder.FindFile(folder_ / L".*"));
  finder.FindNextFile();
  EXPECT_TRUE(finder.IsDots());
  EXPECT_TRUE(finder.IsDirectory());
}

TEST_F(CFileFindTest, SearchesTheCurrentFolderForAPatternWithoutFolder) {
  std::wstring real = RealPath(folder_.Path());
  CurrentFolderScope current(real);
  fw::CFileFind finder;
  ASSERT_TRUE(finder.FindFile(L"b.*"));
  finder.FindNextFile();
  EXPECT_EQ(finder.GetFilePath(), fw::PathJoin(real, L"b.dwg"));
}

// Sets a folder's modification time an hour back, as a library folder left alone for a while.
void AgeFolder(const std::wstring& folder) {
  const timespec past[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, fw::NativePath(folder).c_str(), past, 0), 0);
}

TEST(FindFileNoCase, FindsANameInAnotherCaseAndTakesLaterChangesIntoAccount) {
  TempFolder folder;
  WriteFile(folder / L"Valve.DWK", "lock");
  WriteFile(folder / L"a*b.dwg", "literal star");
  WriteFile(folder / L"aXb.dwg", "other");
  for (bool settled : {false, true}) {
    if (settled) AgeFolder(folder.Path());
    EXPECT_EQ(fw::FindFileNoCase(folder / L"Valve.DWK"), folder / L"Valve.DWK");
    EXPECT_EQ(fw::FindFileNoCase(folder / L"valve.dwk"), folder / L"Valve.DWK");
    EXPECT_EQ(fw::FindFileNoCase(folder / L"A*B.DWG"), folder / L"a*b.dwg") << "not a wildcard";
    EXPECT_EQ(fw::FindFileNoCase(folder / L"pump.dwk"), std::nullopt);
  }
  // A kept listing of the settled folder must see files added and removed since.
  WriteFile(folder / L"PUMP.dwk", "lock");
  EXPECT_EQ(fw::FindFileNoCase(folder / L"pump.dwk"), folder / L"PUMP.dwk");
  AgeFolder(folder.Path());
  ASSERT_TRUE(fw::DeleteFile(folder / L"Valve.DWK"));
  EXPECT_EQ(fw::FindFileNoCase(folder / L"valve.dwk"), std::nullopt);
}

TEST(MoveFile, RefusesToReplaceAnExistingFileUnlessAsked) {
  TempFolder folder;
  WriteFile(folder / L"from", "new");
  WriteFile(folder / L"to", "old");
  EXPECT_FALSE(fw::MoveFile(folder / L"from", folder / L"to"));
  EXPECT_EQ(ReadFile(folder / L"to"), "old");
  EXPECT_TRUE(fw::PathExists(folder / L"from"));

  EXPECT_TRUE(fw::MoveFile(folder / L"from", folder / L"to", true));
  EXPECT_EQ(ReadFile(folder / L"to"), "new");
  EXPECT_FALSE(fw::PathExists(folder / L"from"));
}

TEST(MoveFile, RenamesFilesAndFolders) {
  TempFolder folder;
  WriteFile(folder / L"a", "a");
  ASSERT_TRUE(fw::CreateDirectory(folder / L"dir"));
  EXPECT_TRUE(fw::MoveFile(folder / L"a", folder / L"dir/b"));
  EXPECT_EQ(ReadFile(folder / L"dir/b"), "a");
  EXPECT_TRUE(fw::MoveFile(folder / L"dir", folder / L"renamed"));
  EXPECT_TRUE(fw::IsDirectory(folder / L"renamed"));
  EXPECT_FALSE(fw::MoveFile(folder / L"missing", folder / L"other"));
}

// Needs a second file system; /dev/shm is one on most Linux machines.
TEST(MoveFile, CopiesAcrossFileSystems) {
  TempFolder folder;
  struct stat here {}, shm {};
  if (stat(fw::NativePath(folder.Path()).c_str(), &here) != 0 || stat("/dev/shm", &shm) != 0 ||
      here.st_dev == shm.st_dev || access("/dev/shm", W_OK) != 0) {
    GTEST_SKIP() << "no second writable file system at /dev/shm";
  }
  std::wstring other = fw::PathJoin(L"/dev/shm", fw::CFileName(folder.Path()).FileName());
  WriteFile(folder / L"a", "payload");
  WriteFile(other, "old");
  EXPECT_FALSE(fw::MoveFile(folder / L"a", other));
  EXPECT_EQ(ReadFile(other), "old");
  EXPECT_TRUE(fw::MoveFile(folder / L"a", other, true));
  EXPECT_EQ(ReadFile(other), "payload");
  EXPECT_FALSE(fw::PathExists(folder / L"a"));
  EXPECT_TRUE(fw::DeleteFile(other));
}

TEST(CopyFile, KeepsAnExistingTargetWhenAskedToFail) {
  TempFolder folder;
  WriteFile(folder / L"from", "new");
  WriteFile(folder / L"to", "old");
  SetModificationTime(folder / L"from", 1400000000);
  EXPECT_FALSE(fw::CopyFile(folder / L"from", folder / L"to", true));
  EXPECT_EQ(ReadFile(folder / L"to"), "old");
  EXPECT_TRUE(fw::CopyFile(folder / L"from", folder / L"to", false));
  EXPECT_EQ(ReadFile(folder / L"to"), "new");
  fw::CFileStatus status;
  ASSERT_TRUE(fw::GetFileStatus(folder / L"to", status));
  EXPECT_EQ(status.mtime, 1400000000);
}

TEST(CopyFile, NeverTruncatesTheSourceOntoItself) {
  TempFolder folder;
  WriteFile(folder / L"a", "keep");
  EXPECT_FALSE(fw::CopyFile(folder / L"a", folder / L"./a", false));
  EXPECT_EQ(ReadFile(folder / L"a"), "keep");
  EXPECT_FALSE(fw::CopyFile(folder.Path(), folder / L"b", false));
  EXPECT_FALSE(fw::PathExists(folder / L"b"));
}

TEST(DeleteFile, DeletesFilesButNotFolders) {
  TempFolder folder;
  WriteFile(folder / L"a", "");
  EXPECT_TRUE(fw::DeleteFile(folder / L"a"));
  EXPECT_FALSE(fw::PathExists(folder / L"a"));
  EXPECT_FALSE(fw::DeleteFile(folder / L"a"));
  EXPECT_FALSE(fw::DeleteFile(folder.Path()));
  EXPECT_TRUE(fw::IsDirectory(folder.Path()));
}

TEST(CreateDirectory, FailsWhenTheFolderExists) {
  TempFolder folder;
  EXPECT_TRUE(fw::CreateDirectory(folder / L"new"));
  EXPECT_FALSE(fw::CreateDirectory(folder / L"new"));
  EXPECT_FALSE(fw::CreateDirectory(folder / L"missing/new"));
}

}  // namespace
