// Moving the caches with a new main cache path: numbering by library order, files that trade
// names, and the refusal to overwrite a file that is not ours.
#include <gtest/gtest.h>

#include <string>

#include "LibraryTestSupport.h"
#include "fw/FileName.h"
#include "fw/FileStatus.h"
#include "library/CacheFiles.h"
#include "library/Library.h"

namespace {

using library::Directory;
using testsupport::ReadFile;
using testsupport::WriteFile;

class CacheRelocation : public librarytest::LibraryTest {
 protected:
  CacheRelocation() {
    fw::CreateDirectory(PathOf(L"old"));
    fw::CreateDirectory(PathOf(L"new"));
    WriteFile(oldMain_, "main");
  }

  // A directory whose image cache in the old folder holds `content` (none when empty).
  void AddDirectory(const std::wstring& cacheName, const std::string& content) {
    Directory& directory = library_.Append(std::make_unique<Directory>());
    directory.cacheFile = OldPath(cacheName);
    if (!content.empty()) WriteFile(directory.cacheFile, content);
  }

  std::wstring OldPath(const std::wstring& name) const { return PathOf(L"old/" + name); }
  std::wstring NewPath(const std::wstring& name) const { return PathOf(L"new/" + name); }

  library::Library library_;
  std::wstring oldMain_ = OldPath(L"qv35.cache");
};

TEST_F(CacheRelocation, MovesEveryCacheBesideTheNewPathNumberedInLibraryOrder) {
  AddDirectory(L"path3_35.cache", "third");
  AddDirectory(L"path1_35.cache", "first");
  AddDirectory(L"path2_35.cache", "");
  std::wstring newMain = NewPath(L"library.cache");

  EXPECT_TRUE(library::RelocateCaches(library_, oldMain_, newMain));

  EXPECT_EQ(library_.At(0).cacheFile, NewPath(L"path1_35.cache"));
  EXPECT_EQ(ReadFile(NewPath(L"path1_35.cache")), "third");
  EXPECT_EQ(ReadFile(NewPath(L"path2_35.cache")), "first");
  EXPECT_EQ(library_.At(2).cacheFile, NewPath(L"path3_35.cache")) << "renamed though never written";
  EXPECT_EQ(ReadFile(newMain), "main");
  EXPECT_FALSE(fw::PathExists(oldMain_) || fw::PathExists(OldPath(L"path1_35.cache")));
  EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(CacheRelocation, FilesThatTradeNamesInOneFolderKeepTheirContent) {
  AddDirectory(L"path2_35.cache", "A");
  AddDirectory(L"path1_35.cache", "B");
  EXPECT_TRUE(library::RelocateCaches(library_, oldMain_, OldPath(L"renamed.cache")));
  EXPECT_EQ(library_.At(0).cacheFile, OldPath(L"path1_35.cache"));
  EXPECT_EQ(ReadFile(library_.At(0).cacheFile), "A");
  EXPECT_EQ(ReadFile(library_.At(1).cacheFile), "B");
  fw::CFileFind leftovers;
  EXPECT_FALSE(leftovers.FindFile(OldPath(L"*.moving*")));
}

TEST_F(CacheRelocation, RefusesToOverwriteAnotherLibrarysFileAndChangesNothing) {
  AddDirectory(L"path1_35.cache", "ours 1");
  AddDirectory(L"path2_35.cache", "ours 2");
  WriteFile(NewPath(L"path2_35.cache"), "theirs");

  EXPECT_FALSE(library::RelocateCaches(library_, oldMain_, NewPath(L"qv35.cache")));

  EXPECT_EQ(ReadFile(NewPath(L"path2_35.cache")), "theirs");
  EXPECT_EQ(ReadFile(OldPath(L"path1_35.cache")), "ours 1");
  EXPECT_EQ(ReadFile(oldMain_), "main");
  EXPECT_FALSE(fw::PathExists(NewPath(L"path1_35.cache")));
  EXPECT_EQ(library_.At(1).cacheFile, OldPath(L"path2_35.cache"));
  auto messages = TakeMessages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text,
            L"The cache files were not moved, because this file is already there:\n" +
                NewPath(L"path2_35.cache") +
                L"\nIt may belong to another library. Choose another location, or remove the "
                L"file.\nThe cache stays at:\n" + oldMain_);
}

TEST_F(CacheRelocation, RefusesAnExistingMainCacheOrOneNamedLikeAnImageCache) {
  AddDirectory(L"path1_35.cache", "ours 1");
  EXPECT_FALSE(library::RelocateCaches(library_, oldMain_, NewPath(L"path1_35.cache")));
  WriteFile(NewPath(L"qv35.cache"), "theirs");
  EXPECT_FALSE(library::RelocateCaches(library_, oldMain_, NewPath(L"qv35.cache")));
  EXPECT_EQ(ReadFile(NewPath(L"qv35.cache")), "theirs");
  EXPECT_EQ(ReadFile(OldPath(L"path1_35.cache")), "ours 1");
  EXPECT_EQ(TakeMessages().size(), 2u);
}

}  // namespace
