// The store in memory: loading files into the table, reading values with their defaults and
// writing them, on real files in a fresh folder.
#include "settings/IniFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <string>

#include "fw/NativePath.h"
#include "fw/Strings.h"
#include "support/TempFolder.h"

namespace {

using settings::IniForget;
using settings::IniGetInt;
using settings::IniGetString;
using settings::IniGetStringBuf;
using settings::IniLoad;
using settings::IniWriteInt;
using settings::IniWriteString;
using testsupport::TempFolder;
using testsupport::WriteFile;

std::wstring Get(const std::wstring& section, const std::wstring& key, const std::wstring& file) {
  std::wstring out;
  IniGetString(section, key, L"<default>", out, file);
  return out;
}

// What IniGetStringBuf leaves in a buffer of `size` characters filled with '#' beforehand: the
// characters up to the first untouched one, and the count it returned.
std::pair<std::wstring, std::size_t> CopiedInto(std::size_t size, const std::wstring& file) {
  wchar_t buffer[8];
  std::wmemset(buffer, L'#', 8);
  std::size_t count = IniGetStringBuf(L"s", L"k", nullptr, buffer, size, file);
  std::wstring text(buffer, 8);
  return {text.substr(0, text.find(L'#')), count};
}

// A file of `size` bytes without writing them (its bytes read as NULs).
void MakeFileOfSize(const std::wstring& path, std::uint64_t size) {
  WriteFile(path, "");
  ASSERT_EQ(truncate(fw::NativePath(path).c_str(), static_cast<off_t>(size)), 0);
}

TEST(IniLoad, ReadsAFileWhoseNamesAndPathAreFoundInAnyCase) {
  TempFolder folder;
  std::wstring file = folder / L"Qv35.INI";
  WriteFile(file, "[Quorva Options]\r\nPrintScale=4\r\nCacheFile=/Home/Qv35.cache\r\n");
  ASSERT_TRUE(IniLoad(file));
  EXPECT_EQ(Get(L"QUORVA OPTIONS", L"cachefile", fw::ToLower(file)), L"/Home/Qv35.cache");
  EXPECT_EQ(IniGetInt(L"quorva options", L"PRINTSCALE", 0, file), 4);
}

TEST(IniLoad, LeavesAnEmptyEntryWhenTheFileIsMissing) {
  TempFolder folder;
  std::wstring file = folder / L"qv35.ini";
  IniWriteString(L"s", L"k", L"in memory", file);
  EXPECT_FALSE(IniLoad(file));
  EXPECT_EQ(Get(L"s", L"k", file), L"<default>");
  EXPECT_TRUE(IniForget(file));  // the entry is there, empty
}

TEST(IniLoad, ReplacesWhatWasInMemoryAndIsNeverRepeatedOnItsOwn) {
  TempFolder folder;
  std::wstring file = folder / L"qv35.ini";
  WriteFile(file, "[s]\nfromdisk=1\n");
  IniWriteString(L"s", L"onlyinmemory", L"2", file);
  ASSERT_TRUE(IniLoad(file));
  WriteFile(file, "[s]\nfromdisk=changed\n");
  EXPECT_EQ(Get(L"s", L"onlyinmemory", file), L"<default>");
  EXPECT_EQ(Get(L"s", L"fromdisk", file), L"1");
}

TEST(IniLoad, LoadsAFileOfTheLargestSizeAndNotOneByteMore) {
  TempFolder folder;
  std::wstring largest = folder / L"largest.ini";
  MakeFileOfSize(largest, settings::kMaxIniFileBytes);
  EXPECT_TRUE(IniLoad(largest));

  std::wstring tooLarge = folder / L"toolarge.ini";
  MakeFileOfSize(tooLarge, settings::kMaxIniFileBytes + 1);
  IniWriteString(L"s", L"k", L"v", tooLarge);
  EXPECT_FALSE(IniLoad(tooLarge));
  EXPECT_EQ(Get(L"s", L"k", tooLarge), L"<default>");
}

TEST(IniGetString, GivesTheDefaultOrEmptyForWhatIsMissing) {
  TempFolder folder;
  std::wstring file = folder / L"qv35.ini";
  EXPECT_EQ(Get(L"s", L"k", file), L"<default>");  // no entry at all
  std::wstring out = L"stale";
  EXPECT_EQ(IniGetString(L"s", L"k", nullptr, out, file), 0u);
  EXPECT_EQ(out, L"");
  IniWriteString(L"s", L"k", L"v", file);
  EXPECT_EQ(Get(L"other", L"k", file), L"<default>");
  EXPECT_EQ(Get(L"s", L"other", file), L"<default>");
}

TEST(IniGetStringBuf, CopiesTheValueWithItsTerminatorWhenItFits) {
  TempFolder folder;
  std::wstring file = folder / L"qv35.ini";
  IniWriteString(L"s", L"k", L"abcd", file);
  EXPECT_EQ(CopiedInto(8, file), std::make_pair(std::wstring(L"abcd\0", 5), std::size_t{5}));
  EXPECT_EQ(CopiedInto(5, file), std::make_pair(std::wstring(L"abcd\0", 5), std::size_t{5}));
}

TEST(IniGetStringBuf, CutsAValueThatDoesNotFitAndTerminatesIt) {
  TempFolder folder;
  std::wstring file = folder / L"qv35.ini";
  IniWriteString(L"s", L"k", L"abcd", file);
  EXPECT_EQ(CopiedInto(4, file), std::make_pair(std::wstring(L"abc\0", 4), std::size_t{4}));
  EXPECT_EQ(CopiedInto(1, file), std::make_pair(std::wstring(L"\0", 1), std::size_t{1}));
  EXPECT_EQ(CopiedInto(0, file), std::make_pair(std::wstring(), std::size_t{0}));
}

TEST(IniGetInt, ReadsNumbersByTheRuntimeRules) {
  TempFolder folder;
  std::wstring file = folder / L"qv35.ini";
  WriteFile(file,
            "[n]\nplain=42\ntrailing=12abc\nletters=abc\nempty=\nblanks= \t -7 \nplus=+8\n"
            "huge=99999999999999999999\ntiny=-99999999999999999999\nbeyondint=4294967296\n"
            "hex=0x10\n");
  ASSERT_TRUE(IniLoad(file));
  EXPECT_EQ(IniGetInt(L"n", L"plain", -1, file), 42);
  EXPECT_EQ(IniGetInt(L"n", L"trailing", -1, file), 12);
  EXPECT_EQ(IniGetInt(L"n", L"letters", -1, file), 0);
  EXPECT_EQ(IniGetInt(L"n", L"empty", -1, file), 0);
  EXPECT_EQ(IniGetInt(L"n", L"blanks", -1, file), -7);
  EXPECT_EQ(IniGetInt(L"n", L"plus", -1, file), 8);
  EXPECT_EQ(IniGetInt(L"n", L"huge", -1, file), INT_MAX);
  EXPECT_EQ(IniGetInt(L"n", L"tiny", -1, file), INT_MIN);
  EXPECT_EQ(IniGetInt(L"n", L"beyondint", -1, file), INT_MAX);
  EXPECT_EQ(IniGetInt(L"n", L"hex", -1, file), 0);
  EXPECT_EQ(IniGetInt(L"n", L"missing", -1, file), -1);
  EXPECT_EQ(IniGetInt(L"missing", L"plain", 5, file), 5);
}

TEST(IniWriteString, CreatesTheEntryAndSetsValuesUnderFoldedNames) {
  TempFolder folder;
  std::wstring file = folder / L"Qv35.ini";
  EXPECT_TRUE(IniWriteString(L"Paths", L"NumPaths", L"1", file));
  EXPECT_TRUE(IniWriteString(L"PATHS", L"Path1", L"/Lib/Doors", file));
  EXPECT_TRUE(IniWriteInt(L"paths", L"numpaths", -2, file));
  EXPECT_EQ(Get(L"paths", L"numpaths", fw::ToLower(file)), L"-2");
  EXPECT_EQ(Get(L"paths", L"path1", file), L"/Lib/Doors");
}

TEST(IniForget, DropsTheEntryOnlyOnce) {
  TempFolder folder;
  std::wstring file = folder / L"qv35.ini";
  IniWriteString(L"s", L"k", L"v", file);
  EXPECT_TRUE(IniForget(fw::ToUpper(file)));
  EXPECT_EQ(Get(L"s", L"k", file), L"<default>");
  EXPECT_FALSE(IniForget(file));
}

}  // namespace
