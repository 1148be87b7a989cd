// The main cache file: its exact layout, round trips with and without compression, damaged and
// cut files, the status kept for unchecked blocks, and the up-to-date test.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "LibraryTestSupport.h"
#include "fw/FileStatus.h"
#include "fw/Strings.h"
#include "library/CArchiveExt.h"
#include "library/CacheFiles.h"
#include "library/Library.h"

namespace {

using library::Block;
using library::Directory;
using library::Library;
using librarytest::Bytes;
using librarytest::Lines;
using librarytest::Prefix;
using librarytest::ReadBytes;
using librarytest::WriteBytes;

constexpr library::ColumnWidths kWidths = {140, 35, 150, 60, 105, 105};

// One directory with one unchecked block, written without compression and with the settings
// file missing (time 0).
constexpr std::uint8_t kTinyCache[] = {
    0, 0, 0, 0, 0, 0, 0, 0,                          // settings file modification time
    0x8C, 0, 0, 0, 0x23, 0, 0, 0, 0x96, 0, 0, 0,     // column widths 140, 35, 150,
    0x3C, 0, 0, 0, 0x69, 0, 0, 0, 0x69, 0, 0, 0,     //   60, 105, 105
    1, 0, 0, 0,                                      // directory count
    3, 0, 0, 0, 1, 0, 0, 0, 8, 0, 0, 0,              // scaleMode, rotationMode, sortStyle
    0, 0, 0, 0, 0, 0, 0xF8, 0x3F,                    // rotationAngle 1.5
    1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0,              // explode, multipleInsert, repeat
    0, 0, 0, 0, 1, 0, 0, 0,                          // cacheOption, showInsertionPoints
    0xFF, 0xFE, 0xFF, 1, 'P', 0,                     // path
    0xFF, 0xFE, 0xFF, 1, 'D', 0,                     // description
    2, 0, 0, 0, 5, 0, 0, 0, 1, 0, 0, 0,              // topIndex, selectedIndex, view
    0xFF, 0xFE, 0xFF, 1, 'S', 0,                     // currentScheme
    0, 0, 0, 0,                                      // useLargeImages
    0xFF, 0xFE, 0xFF, 1, 'c', 0,                     // cacheFile
    1, 0, 0, 0,                                      // block count
    0xFF, 0xFE, 0xFF, 1, 'N', 0,                     // name
    0xFF, 0xFE, 0xFF, 0,                             // description
    1, 0, 0, 0,                                      // validity word
    0x10, 0, 0, 0, 0, 0, 0, 0,                       // status: creation time
    0x20, 0, 0, 0, 0, 0, 0, 0,                       //   modification time
    0x30, 0, 0, 0, 0, 0, 0, 0,                       //   size
    0x40, 0, 0, 0, 0, 0, 0, 0,                       // created
    0x50, 0, 0, 0, 0, 0, 0, 0,                       // modified
    2, 0, 0, 0, 7, 0, 0, 0,                          // imageIndex, version
};
static_assert(sizeof kTinyCache == 182);
// Where the reader passes its milestones in kTinyCache.
constexpr std::size_t kTinyColumnsAt = 8;
constexpr std::size_t kTinyCountAt = 32;
constexpr std::size_t kTinyDirectoryAt = 36;
constexpr std::size_t kTinyBlocksAt = 120;
// The reader wants room for at least one record of each kind before it reads one.
constexpr std::size_t kMinDirectoryRecord = 64;
constexpr std::size_t kMinBlockRecord = 54;

// A library that already holds a directory from the settings file: a failed read leaves it.
void AddDirectoryFromSettings(Library& library) {
  library.Append(std::make_unique<Directory>()).path = L"/from/settings";
}

void BuildTinyLibrary(Library& library) {
  Directory& d = library.Append(std::make_unique<Directory>());
  std::tie(d.scaleMode, d.rotationMode, d.sortStyle, d.topIndex, d.selectedIndex, d.view) =
      std::make_tuple(3, 1, 8, 2, 5, 1);
  d.rotationAngle = 1.5;
  d.explode = d.repeat = true;
  d.cacheOption = d.useLargeImages = false;
  d.path = L"P";
  d.description = L"D";
  d.currentScheme = L"S";
  d.cacheFile = L"c";
  Block& block = d.AppendBlock();
  block.name = L"N";
  block.currentStatus = {0x99, 0x99, 0x99, 0};  // not checked: the cached status is kept
  block.cachedStatus = {0x10, 0x20, 0x30, 0};
  block.created = 0x40;
  block.modified = 0x50;
  block.imageIndex = 2;
  block.version = 7;
}

const Bytes kTinyBytes(std::begin(kTinyCache), std::end(kTinyCache));

class MainCache : public librarytest::LibraryTest {
 protected:
  bool Write(const Library& library) {
    return library::WriteMainCache(library, {cachePath_, iniPath_, kWidths});
  }

  library::MainCacheContent Read(Library& library, bool demandLoadCache = true) {
    return library::ReadMainCache(library, {cachePath_, demandLoadCache});
  }

  // Three directories with every field set: an ordinary one, the internal one, one without
  // large images.
  void BuildFullLibrary(Library& library) {
    library.Append(librarytest::MakeFullDirectory(L"/lib/doors", PathOf(L"path1_35.cache"), 7));
    library.Append(librarytest::MakeFullDirectory(L"Internal Blocks", PathOf(L"path2_35.cache"), 2))
        .description = L"Internal Blocks";
    Directory& small = library.Append(
        librarytest::MakeFullDirectory(L"/lib/\u00e9", PathOf(L"path3_35.cache"), 300));
    small.useLargeImages = false;
    small.ResetImages(true);
  }

  void ExpectSameLibrary(const Library& expected, const Library& actual) {
    ASSERT_EQ(actual.Size(), expected.Size());
    for (std::size_t i = 0; i < expected.Size(); ++i) {
      EXPECT_EQ(librarytest::RecordBytes(actual.At(i)), librarytest::RecordBytes(expected.At(i)))
          << "directory " << i;
    }
  }

  // The file is gone, the library holds what it held before, and the user saw the framework's
  // report and the command-line line.
  void ExpectCleanFailure(const library::MainCacheContent& content, const Library& library,
                          std::size_t directoriesBefore) {
    EXPECT_FALSE(content.read);
    EXPECT_FALSE(fw::PathExists(cachePath_));
    EXPECT_EQ(library.Size(), directoriesBefore);
    EXPECT_EQ(TakeConsole(), L"Quorva: Invalid cache file, CArchiveException!\n");
    auto messages = TakeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].type, fw::MB_OK | fw::MB_ICONEXCLAMATION);
  }

  std::wstring cachePath_ = PathOf(L"qv35.cache");
  std::wstring iniPath_ = PathOf(L"qv35.ini");
};

TEST_F(MainCache, LaysOutATinyLibraryExactlyWithOrWithoutTheContainer) {
  Library library;
  BuildTinyLibrary(library);
  library::SetUseCompression(false);
  ASSERT_TRUE(Write(library));
  EXPECT_EQ(ReadBytes(cachePath_), kTinyBytes);
  library::SetUseCompression(true);
  ASSERT_TRUE(Write(library));
  EXPECT_EQ(ReadBytes(cachePath_)[0], 'a');
  EXPECT_EQ(library::CArchiveExt::Unpack(ReadBytes(cachePath_)), kTinyBytes);
}

TEST_F(MainCache, RoundTripsEveryFieldWithAndWithoutCompression) {
  testsupport::WriteFile(iniPath_, "[Paths]\n");
  fw::CFileStatus ini;
  ASSERT_TRUE(fw::GetFileStatus(iniPath_, ini));
  Library written;
  BuildFullLibrary(written);
  for (bool compress : {true, false}) {
    SCOPED_TRACE(compress ? "compressed" : "uncompressed");
    library::SetUseCompression(compress);
    ASSERT_TRUE(Write(written));
    Library read;
    library::MainCacheContent content = Read(read);
    ASSERT_TRUE(content.read);
    EXPECT_EQ(content.iniModified, ini.mtime);
    EXPECT_EQ(content.columnWidths, kWidths);
    ExpectSameLibrary(written, read);
    EXPECT_TRUE(read.At(1).IsInternal());
    EXPECT_FALSE(read.At(2).LargeImages().IsCreated());
    EXPECT_EQ(TakeLog(), (Lines{L"Open the cachefile\n", L"Cachefile opened\n",
                                L"Read Cols From Archive\n", L"Read DirCount From Archive\n",
                                L"Read Dirs From Archive\n", L"Done with cachefile\n"}));
    EXPECT_TRUE(TakeConsole().empty());
    EXPECT_TRUE(TakeMessages().empty());
  }
  EXPECT_EQ(ui_.WaitCursorCount(), 4);
  EXPECT_EQ(ui_.WaitCursorDepth(), 0);
}

TEST_F(MainCache, WritesTheCurrentStatusOnlyForBlocksCheckedSinceValidation) {
  Library written;
  Directory& directory = written.Append(std::make_unique<Directory>());
  for (bool checked : {true, false}) {
    Block& block = directory.AppendBlock();
    block.checked = checked;
    block.currentStatus = {11, 12, 14, 0};
    block.cachedStatus = {21, 22, 24, 0};
  }
  ASSERT_TRUE(Write(written));
  Library read;
  ASSERT_TRUE(Read(read).read);
  const Block& wasChecked = *read.At(0).Blocks()[0];
  const Block& wasNot = *read.At(0).Blocks()[1];
  EXPECT_EQ(std::tie(wasChecked.cachedStatus.ctime, wasChecked.cachedStatus.mtime),
            std::make_tuple(11, 12));
  EXPECT_EQ(wasChecked.cachedStatus.size, 14u);
  EXPECT_EQ(std::tie(wasNot.cachedStatus.ctime, wasNot.cachedStatus.mtime), std::make_tuple(21, 22));
  EXPECT_EQ(wasNot.cachedStatus.size, 24u);
  EXPECT_FALSE(wasChecked.checked);
}

TEST_F(MainCache, AMissingFileChangesNothing) {
  Library library;
  EXPECT_FALSE(Read(library).read);
  EXPECT_TRUE(library.IsEmpty());
  EXPECT_EQ(TakeLog(), Lines{L"Open the cachefile\n"});
  EXPECT_TRUE(TakeMessages().empty());
}

// Compression on reads both kinds of file; off, a compressed file is damage.
TEST_F(MainCache, ReadsAPlainFileWhileCompressingButNotTheOtherWayRound) {
  Library written;
  BuildFullLibrary(written);
  library::SetUseCompression(false);
  ASSERT_TRUE(Write(written));
  library::SetUseCompression(true);
  Library read;
  ASSERT_TRUE(Read(read).read);
  ExpectSameLibrary(written, read);

  ASSERT_TRUE(Write(written));
  library::SetUseCompression(false);
  Library library;
  AddDirectoryFromSettings(library);
  ExpectCleanFailure(Read(library), library, 1);
}

// At each cut: the lines logged up to it, and the cause (3 the end of the file, 5 a count the
// bytes left cannot hold).
TEST_F(MainCache, CutAtEveryLengthFailsCleanlyWithTheLinesOfHowFarItGot) {
  for (std::size_t length = 0; length < kTinyBytes.size(); ++length) {
    SCOPED_TRACE("cut at " + std::to_string(length));
    WriteBytes(cachePath_, Prefix(kTinyBytes, length));
    Library library;
    AddDirectoryFromSettings(library);
    ExpectCleanFailure(Read(library), library, 1);

    Lines expected = {L"Open the cachefile\n", L"Cachefile opened\n"};
    if (length >= kTinyColumnsAt) expected.push_back(L"Read Cols From Archive\n");
    if (length >= kTinyCountAt) expected.push_back(L"Read DirCount From Archive\n");
    bool directoryFits = length >= kTinyDirectoryAt + kMinDirectoryRecord;
    if (directoryFits) expected.push_back(L"Read Dirs From Archive\n");
    bool countRefused = (length >= kTinyDirectoryAt && !directoryFits) ||
                        (length >= kTinyBlocksAt && length < kTinyBlocksAt + kMinBlockRecord);
    expected.push_back(countRefused ? L"CArchiveException: 5\n" : L"CArchiveException: 3\n");
    EXPECT_EQ(TakeLog(), expected);
  }
}

// Every byte flipped, zeroed and set to FF: the file reads whole or fails cleanly.
TEST_F(MainCache, SurvivesEveryDamagedByte) {
  for (std::size_t at = 0; at < kTinyBytes.size(); ++at) {
    for (std::uint8_t value : {std::uint8_t(~kTinyBytes[at]), std::uint8_t(0), std::uint8_t(0xFF)}) {
      Bytes damaged = kTinyBytes;
      damaged[at] = value;
      WriteBytes(cachePath_, damaged);
      Library library;
      bool read = Read(library).read;
      EXPECT_EQ(fw::PathExists(cachePath_), read) << "byte " << at;
      EXPECT_TRUE(read ? library.Size() <= 1 : library.IsEmpty()) << "byte " << at;
      TakeMessages();
      TakeConsole();
    }
  }
}

TEST_F(MainCache, ReadsEachImageCacheRightAfterItsDirectoryUnlessDemandLoaded) {
  Library written;
  BuildFullLibrary(written);
  for (std::size_t block = 0; block < written.At(0).BlockCount(); ++block) {
    librarytest::AddPreview(written.At(0), fw::RGB(255, 0, static_cast<int>(block)));
  }
  ASSERT_TRUE(library::WriteImageCache(written.At(0)));
  ASSERT_TRUE(Write(written));

  Library demandLoaded;
  ASSERT_TRUE(Read(demandLoaded, true).read);
  EXPECT_FALSE(demandLoaded.At(0).imagesLoaded);
  Library loadedAtOnce;
  ASSERT_TRUE(Read(loadedAtOnce, false).read);
  EXPECT_TRUE(loadedAtOnce.At(0).imagesLoaded);
  librarytest::ExpectSameImages(written.At(0).LargeImages(), loadedAtOnce.At(0).LargeImages());
  EXPECT_TRUE(loadedAtOnce.At(1).imagesLoaded) << "set though its image cache is missing";
}

TEST_F(MainCache, AFolderThatCannotBeWrittenShowsTheReportAndTheLocationAdvice) {
  cachePath_ = PathOf(L"missing/qv35.cache");
  Library library;
  BuildTinyLibrary(library);
  EXPECT_FALSE(Write(library));
  auto messages = TakeMessages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_NE(messages[0].text.find(cachePath_), std::wstring::npos) << "the framework's report";
  EXPECT_EQ(messages[1].text,
            L"The cache file could not be written to:\n" + cachePath_ +
                L"\nPlease correct the problem by clicking the preferences button in Quorvane\n"
                L"and changing the location. This error is typically generated by setting the\n"
                L"location to a read-only directory, but may also occur if hard-drive space is "
                L"low.");
}

TEST_F(MainCache, IsCurrentOnlyWhileTheSettingsFileIsAsTheCacheRecordedIt) {
  testsupport::WriteFile(iniPath_, "[Paths]\n");
  Library written;
  BuildTinyLibrary(written);
  written.At(0).cacheFile = PathOf(L"path1_35.cache");
  ASSERT_TRUE(Write(written));
  fw::CFileStatus ini;
  ASSERT_TRUE(fw::GetFileStatus(iniPath_, ini));
  Library read;
  library::MainCacheContent content = Read(read);
  EXPECT_TRUE(library::IsMainCacheCurrent(content, &ini));

  EXPECT_FALSE(library::IsMainCacheCurrent(content, nullptr));
  for (auto change : {+[](fw::CFileStatus& s) { s.mtime += 1; },
                      +[](fw::CFileStatus& s) { s.attribute |= fw::kAttributeReadOnly; },
                      +[](fw::CFileStatus& s) { s.ctime = 0; }}) {
    fw::CFileStatus changed = ini;
    change(changed);
    EXPECT_FALSE(library::IsMainCacheCurrent(content, &changed));
  }
  WriteBytes(cachePath_, Prefix(ReadBytes(cachePath_), 20));
  Library damaged;
  EXPECT_FALSE(library::IsMainCacheCurrent(Read(damaged), &ini)) << "a damaged cache";
}

// The image cache a directory names is later written, moved or deleted: a damaged cache that
// names any other file is refused whole, and that file is left alone.
TEST_F(MainCache, RefusesADirectoryWhoseImageCacheIsNotNamedAsOne) {
  const std::wstring victim = PathOf(L"precious.txt");
  struct Case {
    std::wstring cacheFile;
    bool read;
  };
  const Case cases[] = {{victim, false},
                        {PathOf(L"path12_35.cache.txt"), false},
                        {PathOf(L"path12_35.cache"), true},
                        {L"", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(fw::ToUtf8(c.cacheFile));
    testsupport::WriteFile(victim, "keep me");
    Library written;
    BuildTinyLibrary(written);
    written.At(0).cacheFile = c.cacheFile;
    ASSERT_TRUE(Write(written));
    Library library;
    AddDirectoryFromSettings(library);
    const library::MainCacheContent content = Read(library);
    if (c.read) {
      EXPECT_TRUE(content.read);
      EXPECT_EQ(library.Size(), 2u);
    } else {
      ExpectCleanFailure(content, library, 1);
    }
    EXPECT_EQ(testsupport::ReadFile(victim), "keep me");
    TakeMessages();
    TakeConsole();
  }
}

}  // namespace
