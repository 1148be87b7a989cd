// The administrator file against a host session whose support search looks only in the test's
// folder, and the private-profile section reader it goes through.
#include "settings/Administrator.h"

#include <gtest/gtest.h>

#include <string>

#include "fw/PrivateProfile.h"
#include "fw/Strings.h"
#include "fw/System.h"
#include "fw/FileStatus.h"
#include "minicad/Host.h"
#include "settings/IniLocation.h"
#include "support/TempFolder.h"

namespace {

using testsupport::TempFolder;
using testsupport::WriteFile;

std::string UserName() { return fw::ToUtf8(fw::GetUserName()); }
std::string UpperUserName() { return fw::ToUtf8(fw::ToUpper(fw::GetUserName())); }

class Administrator : public ::testing::Test {
 protected:
  Administrator() : host_(HostOptionsFor(folder_)) {}

  static minicad::HostOptions HostOptionsFor(const TempFolder& folder) {
    minicad::HostOptions options;
    options.supportFolders = {folder.Path()};
    options.programFolder = folder / L"program";
    return options;
  }

  void WriteAdminFile(const std::string& text) { WriteFile(folder_ / L"qvadmin.ini", text); }

  TempFolder folder_;
  minicad::Host host_;
};

TEST_F(Administrator, EveryoneEditsWithoutAnAdministratorFile) {
  EXPECT_TRUE(settings::IsEditor());
}

TEST_F(Administrator, OnlyAWholeEntryOfTheUsersSectionMakesAnEditor) {
  struct Case {
    std::string text;
    bool editor;
  };
  for (const Case& c : {
           Case{"[Users]\nsomeone\n" + UserName() + "\n", true},
           Case{"[USERS]\n  " + UpperUserName() + "  \n", true},
           Case{"[Users]\n" + UserName() + "=yes\n", false},
           Case{"[Users]\n;" + UserName() + "\n", false},
           Case{"[Users]\n", false},
           Case{"[Others]\n" + UserName() + "\n", false},
           Case{"", false},
       }) {
    WriteAdminFile(c.text);
    EXPECT_EQ(settings::IsEditor(), c.editor) << c.text;
  }
}

TEST_F(Administrator, RemovingTheUserTakesEffectAtTheNextCall) {
  WriteAdminFile("[Users]\n" + UserName() + "\n");
  EXPECT_TRUE(settings::IsEditor());
  WriteAdminFile("[Users]\nsomeone\n");
  EXPECT_FALSE(settings::IsEditor());
}

// A folder whose path is `length` characters or more, made under `root`.
std::wstring DeepFolder(const std::wstring& root, std::size_t length) {
  std::wstring folder = root;
  while (folder.size() < length) {
    folder += L"/" + std::wstring(100, L'd');
    EXPECT_TRUE(fw::CreateDirectory(folder));
  }
  return folder;
}

// Long paths must be found whole: a missed administrator file would let everyone edit, and a
// missed settings file would move the settings elsewhere.
TEST(LongPaths, TheAdministratorFileAndTheSettingsFileAreFoundInADeepFolder) {
  for (std::size_t length : {std::size_t{300}, std::size_t{600}, std::size_t{2000}}) {
    SCOPED_TRACE(length);
    TempFolder folder;
    const std::wstring deep = DeepFolder(folder.Path(), length);
    minicad::HostOptions options;
    options.supportFolders = {deep};
    minicad::Host host(options);
    WriteFile(deep + L"/qvadmin.ini", "[Users]\nsomeone else\n");
    EXPECT_FALSE(settings::IsEditor());
    WriteFile(deep + L"/qv35.ini", "");
    EXPECT_EQ(settings::LocateIniFile(folder.Path()).iniPath, deep + L"/qv35.ini");
  }
}

// The reader's list: entries ended by NUL, the list by an empty entry.
std::wstring SectionOf(const std::wstring& file, const wchar_t* section, std::size_t size,
                       std::size_t* count = nullptr) {
  std::wstring buffer(size, L'#');
  std::size_t copied = fw::GetPrivateProfileSection(section, buffer.data(), size, file);
  if (count != nullptr) *count = copied;
  return buffer.substr(0, buffer.find(L'#'));
}

TEST(PrivateProfileSection, ListsTheTrimmedLinesOfTheFirstSectionThatFitWhole) {
  TempFolder folder;
  std::wstring file = folder / L"admin.ini";
  WriteFile(file, "\xEF\xBB\xBF[Users]\r\n  ann \r\n\r\n; note\r\nbobby=x\r\n[ users ]\r\ncy\r\n");
  std::size_t count = 0;
  EXPECT_EQ(SectionOf(file, L"USERS", 64, &count), std::wstring(L"ann\0bobby=x\0\0", 13));
  EXPECT_EQ(count, 12u);
  EXPECT_EQ(SectionOf(file, L"Users", 12), std::wstring(L"ann\0\0", 5));
  EXPECT_EQ(SectionOf(file, L"Users", 1), std::wstring(L"\0", 1));
  EXPECT_EQ(SectionOf(file, L"missing", 64), std::wstring(L"\0\0", 2));
  EXPECT_EQ(SectionOf(folder / L"none.ini", L"Users", 64), std::wstring(L"\0\0", 2));
}

}  // namespace
