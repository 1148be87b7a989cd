// Splitting paths into their parts and joining folders with names.
#include "fw/FileName.h"

#include <gtest/gtest.h>

#include "fw/NativePath.h"
#include "fw/Strings.h"

namespace {

void ExpectSplit(const std::wstring& path, const std::wstring& folder, const std::wstring& title,
                 const std::wstring& extension) {
  SCOPED_TRACE(testing::Message() << "path \"" << fw::ToUtf8(path) << "\"");
  fw::CFileName name(path);
  EXPECT_EQ(name.FullPath(), path);
  EXPECT_EQ(name.Drive(), L"");
  EXPECT_EQ(name.Folder(), folder);
  EXPECT_EQ(name.Title(), title);
  EXPECT_EQ(name.Extension(), extension);
  EXPECT_EQ(name.FileName(), title + extension);
}

TEST(CFileName, SplitsFolderTitleAndExtension) {
  ExpectSplit(L"/lib/doors/D90.dwg", L"/lib/doors/", L"D90", L".dwg");
  ExpectSplit(L"D90.DWG", L"", L"D90", L".DWG");
  ExpectSplit(L"/D90.dwg", L"/", L"D90", L".dwg");
}

TEST(CFileName, TakesOnlyTheLastDotOfTheNameAsExtension) {
  ExpectSplit(L"/a/plan.v2.dwg", L"/a/", L"plan.v2", L".dwg");
  ExpectSplit(L"/a.b/plan", L"/a.b/", L"plan", L"");
  ExpectSplit(L"/a/plan.", L"/a/", L"plan", L".");
}

TEST(CFileName, GivesNoExtensionToDotFilesAndFolderEntries) {
  ExpectSplit(L"/home/u/.hidden", L"/home/u/", L".hidden", L"");
  ExpectSplit(L"/home/u/.hidden.ini", L"/home/u/", L".hidden", L".ini");
  ExpectSplit(L"/home/u/..", L"/home/u/", L"..", L"");
  ExpectSplit(L".", L"", L".", L"");
}

TEST(CFileName, SplitsAPathEndingInASeparatorIntoFolderOnly) {
  ExpectSplit(L"/lib/doors/", L"/lib/doors/", L"", L"");
  ExpectSplit(L"", L"", L"", L"");
}

TEST(PathJoin, PutsExactlyOneSeparatorBetweenFolderAndName) {
  EXPECT_EQ(fw::PathJoin(L"/lib", L"a.dwg"), L"/lib/a.dwg");
  EXPECT_EQ(fw::PathJoin(L"/lib/", L"a.dwg"), L"/lib/a.dwg");
  EXPECT_EQ(fw::PathJoin(L"/lib", L"/a.dwg"), L"/lib/a.dwg");
  EXPECT_EQ(fw::PathJoin(L"/lib//", L"//sub/a.dwg"), L"/lib/sub/a.dwg");
  EXPECT_EQ(fw::PathJoin(L"/", L"a.dwg"), L"/a.dwg");
  EXPECT_EQ(fw::PathJoin(L"lib", L""), L"lib/");
}

TEST(PathJoin, LeavesTheNameUnchangedForAnEmptyFolder) {
  EXPECT_EQ(fw::PathJoin(L"", L"a.dwg"), L"a.dwg");
  EXPECT_EQ(fw::PathJoin(L"", L"/a.dwg"), L"/a.dwg");
}

TEST(FolderOf, DropsTheNameAndTheTrailingSeparator) {
  EXPECT_EQ(fw::FolderOf(L"/a/b/c.dwg"), L"/a/b");
  EXPECT_EQ(fw::FolderOf(L"a//c.dwg"), L"a");
  EXPECT_EQ(fw::FolderOf(L"/a/b/"), L"/a/b");
  EXPECT_EQ(fw::FolderOf(L"c.dwg"), L"");
}

TEST(FolderOf, KeepsTheRoot) {
  EXPECT_EQ(fw::FolderOf(L"/c.dwg"), L"/");
  EXPECT_EQ(fw::FolderOf(L"//c.dwg"), L"/");
}

}  // namespace

namespace {

TEST(NativePath, RoundTripsEveryNameTheDiskCanHold) {
  const std::string names[] = {
      "plain.dwg", "Bibliothèque/Tür.dwg", "漢字 図面.dwg", "emoji \xF0\x9F\x98\x80.dwg",
      "latin1 \xE9t\xE9.dwg",       // ISO 8859-1 bytes, not UTF-8
      "cut \xE2\x82.dwg",           // a sequence that stops short
      "overlong \xC0\xAF.dwg",      // an overlong slash
      "surrogate \xED\xA0\x80.dwg", // an encoded surrogate
      "\xFF\xFE\x80",
  };
  for (const std::string& bytes : names) {
    SCOPED_TRACE(bytes);
    const std::wstring wide = fw::FromNativePath(bytes);
    EXPECT_EQ(fw::NativePath(wide), bytes);
    EXPECT_EQ(fw::HasUndecodableBytes(wide),
              fw::FromUtf8(bytes).find(L'\xFFFD') != std::wstring::npos);
  }
  EXPECT_EQ(fw::FromNativePath("Tür"), L"Tür");
  // A character outside the basic plane that arrives as a UTF-16 pair is still one character.
  EXPECT_EQ(fw::NativePath(std::wstring{L'a', wchar_t(0xD83D), wchar_t(0xDE00)}),
            "a\xF0\x9F\x98\x80");
}

}  // namespace
