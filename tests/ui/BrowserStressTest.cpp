// A thousand showings of the browser, each queueing directories, switching between them,
// deleting one (and adding it back) and closing while the loader works: under the thread
// sanitizer no race is reported, nothing hangs, and no directory or cache is lost.
#include <gtest/gtest.h>

#include <iostream>
#include <set>

#include "BrowserFixture.h"
#include "fw/FileStatus.h"
#include "fw/NativePath.h"
#include "fw/Strings.h"
#include "library/CacheFiles.h"
#include "library/Directory.h"
#include "library/Library.h"

namespace browsertest {
namespace {

constexpr int kCycles = 1000;

class BrowserStress : public BrowserFixture {};

TEST_F(BrowserStress, AThousandShowingsWithSwitchingDeletingAndClosingWhileLoading) {
  std::wstring a = MakeFolder(L"a", {L"a1", L"a2", L"a3"});
  std::wstring b = MakeFolder(L"b", {L"b1", L"b2"});
  std::wstring c = MakeFolder(L"c", {L"c1", L"c2", L"c3", L"c4"});
  WriteSettings("[Quorva Options]\nReadDirEveryTime=1\n" +
                SettingsFor({{a, L"A"}, {b, L"B"}, {c, L"C"}}));
  LoadSettings();
  std::string added = fw::NativePath(c);
  for (int cycle = 0; cycle < kCycles; ++cycle) {
    SCOPED_TRACE(cycle);
    std::vector<std::string> transcript = RunDialog(
        "choose 232 \"B\"\n"
        "choose 232 \"C\"\n"
        "choose 232 \"A\"\n"
        // The same folder again, named like the one it replaces; rows are named by their
        // place, so it is added while no deleted row is still waiting to leave the list.
        "click 225\n"
        "answer folder \"" + added + "\"\n"
        "label 232 \"New Directory\" \"C\"\n"
        "choose 232 \"C\"\n"
        "click 228\n"
        "answer message YES\n"
        "choose 232 \"B\"\n"
        "close\n");
    if (HasFailure()) {
      for (const std::string& line : transcript) std::cerr << line << "\n";
      break;
    }
  }
  // Every directory is still there once, with a cache that reads back.
  RunDialog("wait-idle\n");
  library::Library& library = library::TheLibrary();
  std::set<std::wstring> paths;
  for (const auto& d : library.Directories()) {
    paths.insert(d->path);
    if (fw::PathExists(d->cacheFile)) {
      library::Directory copy;
      copy.cacheFile = d->cacheFile;
      EXPECT_TRUE(library::ReadImageCache(copy)) << fw::ToUtf8(d->cacheFile);
    }
  }
  EXPECT_EQ(paths, (std::set<std::wstring>{a, b, c}));
  EXPECT_EQ(library.Size(), 3u);
}

}  // namespace
}  // namespace browsertest
