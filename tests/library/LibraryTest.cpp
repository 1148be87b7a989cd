// The library's list: ownership, the current directory, numbering of image caches and emptying
// at shut-down.
#include "library/Library.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <thread>

#include "LibraryTestSupport.h"
#include "fw/FileStatus.h"
#include "library/CacheFiles.h"

namespace {

using library::Directory;
using library::Library;

Directory& AddDirectory(Library& library, const std::wstring& path) {
  Directory& directory = library.Append(std::make_unique<Directory>());
  directory.path = path;
  return directory;
}

TEST(Library, KeepsOrderFindsByExactPathAndForgetsARemovedCurrentDirectory) {
  Library library;
  Directory& a = AddDirectory(library, L"/lib/a");
  Directory& b = AddDirectory(library, L"/lib/B");
  EXPECT_EQ(library.FindByPath(L"/lib/B"), &b);
  EXPECT_EQ(library.FindByPath(L"/lib/b"), nullptr);
  library.Swap(0, 1);
  EXPECT_EQ(library.IndexOf(a), 1u);
  library.SetCurrent(&a);
  EXPECT_EQ(library.Remove(b).get(), &b);
  EXPECT_EQ(library.Current(), &a);
  EXPECT_EQ(library.TakeFirst().get(), &a);
  EXPECT_EQ(library.Current(), nullptr);
  EXPECT_EQ(library.TakeFirst(), nullptr);
}

TEST(Library, NumbersNewDirectoriesOneTwoThreeAndReusesAFreedNumber) {
  Library library;
  const std::wstring mainCache = L"/cache/qv35.cache";
  for (int i = 0; i < 3; ++i) {
    library.Append(std::make_unique<Directory>()).cacheFile =
        library::NewImageCacheName(library, mainCache);
  }
  EXPECT_EQ(library.At(2).cacheFile, L"/cache/path3_35.cache");
  library.Delete(library.At(1));
  EXPECT_EQ(library::NewImageCacheName(library, mainCache), L"/cache/path2_35.cache");
}

// The number is the title's digits after its first four characters, whatever those are.
TEST(Library, ReadsNumbersFromTheTitlesOfAnyOrderAndForm) {
  Library library;
  for (const wchar_t* name : {L"/c/path3_35.cache", L"/c/PATH1.cache", L"/c/path1_35.cache", L"",
                              L"/c/pa.cache", L"/c/path2x_35.cache", L"/c/path5_35.cache"}) {
    library.Append(std::make_unique<Directory>()).cacheFile = name;
  }
  EXPECT_EQ(library.NextDirectoryNumber(), 4);
  library.At(0).cacheFile = L"/c/path99999999999999_35.cache";
  EXPECT_EQ(library.At(0).CacheNumber(), INT_MAX);
}

// The dialog's Add looks up a path and a free number while the delete worker adds and removes
// directories; under the thread sanitizer, a walk without the lock is a reported race.
TEST(Library, WalksWhileAnotherThreadChangesTheList) {
  Library library;
  for (int i = 1; i <= 20; ++i) {
    AddDirectory(library, L"/lib/" + std::to_wstring(i)).cacheFile =
        L"/c/path" + std::to_wstring(i) + L"_35.cache";
  }
  const Directory& fifth = library.At(4);
  std::atomic<bool> done{false};
  std::thread worker([&] {
    for (int i = 0; i < 200; ++i) library.Delete(AddDirectory(library, L"/lib/new"));
    done = true;
  });
  while (!done) {
    EXPECT_EQ(library.FindByPath(L"/lib/5"), &fifth);
    EXPECT_EQ(library.IndexOf(fifth), 4u);
    EXPECT_EQ(library.NextDirectoryNumber(), 21);
  }
  worker.join();
}

using EmptyLibrary = librarytest::LibraryTest;

TEST_F(EmptyLibrary, WritesTheImageCachesOfDirtyDirectoriesOnly) {
  Library library;
  Directory& dirty = AddDirectory(library, L"/lib/dirty");
  dirty.cacheFile = PathOf(L"path1_35.cache");
  dirty.imagesDirty = true;
  Directory& clean = AddDirectory(library, L"/lib/clean");
  clean.cacheFile = PathOf(L"path2_35.cache");
  library.SetCurrent(&clean);

  library::EmptyLibrary(library);

  EXPECT_TRUE(library.IsEmpty());
  EXPECT_EQ(library.Current(), nullptr);
  EXPECT_TRUE(fw::PathExists(PathOf(L"path1_35.cache")));
  EXPECT_FALSE(fw::PathExists(PathOf(L"path2_35.cache")));
}

}  // namespace
