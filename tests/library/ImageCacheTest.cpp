// A directory's image cache: written and read back image for image, its layout, damaged files,
// writes that fail or would lose previews, the lists a list control shows through reads, and
// taking previews out of memory.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <thread>

#include "LibraryTestSupport.h"
#include "fw/Dialog.h"
#include "fw/FileStatus.h"
#include "fw/ListCtrl.h"
#include "library/CacheFiles.h"
#include "library/Directory.h"
#include "library/Library.h"

namespace {

using library::Directory;
using librarytest::Bytes;
using librarytest::IsPlaceholder;
using librarytest::ReadBytes;
using librarytest::WriteBytes;

class ImageCache : public librarytest::LibraryTest {
 protected:
  // The placeholder and two previews; the image cache in the test's folder.
  std::unique_ptr<Directory> MakeDirectory(bool useLargeImages,
                                           const std::wstring& name = L"path1_35.cache") {
    auto directory = std::make_unique<Directory>();
    directory->useLargeImages = useLargeImages;
    directory->ResetImages(true);
    directory->cacheFile = PathOf(name);
    librarytest::AddPreview(*directory, fw::RGB(255, 0, 0));
    librarytest::AddPreview(*directory, fw::RGB(0, 128, 128));
    directory->imagesDirty = true;
    return directory;
  }

  std::unique_ptr<Directory> ReaderOf(const Directory& written, bool useLargeImages) {
    auto reader = std::make_unique<Directory>();
    reader->useLargeImages = useLargeImages;
    reader->ResetImages(true);
    reader->cacheFile = written.cacheFile;
    return reader;
  }

  // Blocks 0, 1 and 2 showing the directory's images 0, 1 and 2, probed and unchanged.
  static void AddBlocksShowingEachImage(Directory& directory) {
    for (int i = 0; i < 3; ++i) {
      library::Block& block = directory.AppendBlock();
      block.imageIndex = i;
      block.valid = block.checked = true;
      block.currentStatus.size = block.cachedStatus.size = 100;
    }
  }

  // Reported, deleted, placeholder lists left and imagesLoaded set.
  void ExpectDamagedFileHandled(Directory& reader) {
    reader.imagesLoaded = false;
    EXPECT_FALSE(library::ReadImageCache(reader));
    EXPECT_TRUE(reader.imagesLoaded);
    EXPECT_FALSE(fw::PathExists(reader.cacheFile));
    EXPECT_EQ(reader.LargeImages().IsCreated(), reader.useLargeImages);
    for (const fw::CImageList* list : {&reader.LargeImages(), &reader.SmallImages()}) {
      if (!list->IsCreated()) continue;
      ASSERT_EQ(list->GetImageCount(), 1);
      EXPECT_TRUE(IsPlaceholder(list->GetImage(0)));
    }
    EXPECT_EQ(TakeConsole(), L"Quorva: Invalid cache file, CArchiveException!\n");
    EXPECT_EQ(TakeMessages().size(), 1u) << "the framework's report";
  }
};

TEST_F(ImageCache, ReadsBackEveryImageIncludingThePlaceholderLargeListFirst) {
  for (bool useLargeImages : {true, false}) {
    for (bool compress : {true, false}) {
      library::SetUseCompression(compress);
      auto written = MakeDirectory(useLargeImages);
      ASSERT_TRUE(library::WriteImageCache(*written));
      EXPECT_FALSE(written->imagesDirty);
      if (!compress) {
        Bytes layout = useLargeImages ? written->LargeImages().WriteStream() : Bytes{};
        Bytes small = written->SmallImages().WriteStream();
        layout.insert(layout.end(), small.begin(), small.end());
        EXPECT_EQ(ReadBytes(written->cacheFile), layout);
      }
      auto reader = ReaderOf(*written, useLargeImages);
      EXPECT_TRUE(library::ReadImageCache(*reader));
      EXPECT_TRUE(reader->imagesLoaded);
      EXPECT_EQ(reader->LargeImages().IsCreated(), useLargeImages);
      librarytest::ExpectSameImages(written->LargeImages(), reader->LargeImages());
      librarytest::ExpectSameImages(written->SmallImages(), reader->SmallImages());
      EXPECT_TRUE(IsPlaceholder(reader->SmallImages().GetImage(0)));
    }
  }
  EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(ImageCache, AMissingFileKeepsTheListsAndStillCountsAsLoaded) {
  auto directory = MakeDirectory(true);
  EXPECT_FALSE(library::ReadImageCache(*directory));
  EXPECT_TRUE(directory->imagesLoaded);
  EXPECT_EQ(directory->SmallImages().GetImageCount(), 3);
  EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(ImageCache, CutAtAnyLengthIsDeletedAndLeavesPlaceholderLists) {
  for (bool compress : {true, false}) {
    library::SetUseCompression(compress);
    auto written = MakeDirectory(false);
    ASSERT_TRUE(library::WriteImageCache(*written));
    Bytes whole = ReadBytes(written->cacheFile);
    auto reader = ReaderOf(*written, false);
    // Every length of the compressed file; of the long plain one every 97th and the last few.
    for (std::size_t length = 0; length < whole.size();
         length += (compress || whole.size() - length <= 8) ? 1 : 97) {
      SCOPED_TRACE("cut at " + std::to_string(length));
      WriteBytes(written->cacheFile, librarytest::Prefix(whole, length));
      ExpectDamagedFileHandled(*reader);
    }
  }
}

TEST_F(ImageCache, ListsOfAnotherSizeOrOfDifferentLengthsAreDamage) {
  auto written = MakeDirectory(true);
  ASSERT_TRUE(library::WriteImageCache(*written));
  {
    SCOPED_TRACE("a large list where the small one was");
    ExpectDamagedFileHandled(*ReaderOf(*written, false));
  }

  auto shortSmall = MakeDirectory(true);
  shortSmall->ResetImages(true);
  librarytest::AddPreview(*written, fw::RGB(0, 0, 255));
  library::SetUseCompression(false);
  Bytes file = written->LargeImages().WriteStream();
  Bytes small = shortSmall->SmallImages().WriteStream();
  file.insert(file.end(), small.begin(), small.end());
  WriteBytes(written->cacheFile, file);
  SCOPED_TRACE("a large list of four images and a small one of one");
  ExpectDamagedFileHandled(*ReaderOf(*written, true));
}

TEST_F(ImageCache, ADamagedFileNotNamedLikeAnImageCacheIsKept) {
  auto directory = MakeDirectory(true, L"notes.txt");
  WriteBytes(directory->cacheFile, Bytes{'n', 'o', 't', 'e', 's'});
  EXPECT_FALSE(library::ReadImageCache(*directory));
  EXPECT_TRUE(fw::PathExists(directory->cacheFile));
  EXPECT_EQ(directory->SmallImages().GetImageCount(), 1);
}

TEST_F(ImageCache, AFailedWriteShowsTheReportAndNamesTheFile) {
  auto directory = MakeDirectory(true, L"missing/path1_35.cache");
  EXPECT_FALSE(library::WriteImageCache(*directory));
  EXPECT_TRUE(directory->imagesDirty);
  auto messages = TakeMessages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1].text,
            L"The cache file could not be written to:\n" + directory->cacheFile +
                L"\nThis error is typically generated by setting the\n"
                L"location to a read-only directory, but may also occur if hard-drive space is "
                L"low.");
}

// The loader writes and reads the caches of other directories while the dialog does the same
// for the current one.
TEST_F(ImageCache, TwoThreadsWriteAndReadTheirOwnDirectoriesAtOnce) {
  auto current = MakeDirectory(true, L"path1_35.cache");
  auto other = MakeDirectory(false, L"path2_35.cache");
  auto roundTrip = [this](Directory* directory) {
    for (int i = 0; i < 5; ++i) {
      EXPECT_TRUE(library::WriteImageCache(*directory));
      auto reader = ReaderOf(*directory, directory->useLargeImages);
      EXPECT_TRUE(library::ReadImageCache(*reader));
      EXPECT_EQ(reader->SmallImages().GetImageCount(), 3);
    }
  };
  std::thread dialog(roundTrip, current.get());
  std::thread loader(roundTrip, other.get());
  dialog.join();
  loader.join();
  EXPECT_TRUE(TakeMessages().empty());
}

}  // namespace

namespace {

constexpr int kListId = 20;

// A dialog that is never shown, holding the block list as a list control.
class ListHolder {
 public:
  ListHolder()
      : dialog_([] {
          fw::DialogTemplate dialog;
          dialog.cx = 210;
          dialog.cy = 110;
          dialog.controls = {fw::ControlTemplate::ListCtrl(kListId, 0, 0, 200, 100, fw::LVS_ICON)};
          return dialog;
        }()) {}
  fw::ListCtrl& List() { return dialog_.Item<fw::ListCtrl>(kListId); }

 private:
  fw::Dialog dialog_;
};

// The list control keeps the directory's lists from before the first read: whatever a read or
// reset leaves in them is what it shows, the cache's images or the placeholder.
TEST_F(ImageCache, AListControlGivenTheListsShowsWhatEveryReadAndResetLeavesInThem) {
  auto written = MakeDirectory(true);
  ASSERT_TRUE(library::WriteImageCache(*written));
  const Bytes good = ReadBytes(written->cacheFile);
  auto reader = ReaderOf(*written, true);
  ListHolder holder;
  holder.List().SetImageList(reader->LargeImages(), fw::LVSIL_NORMAL);
  holder.List().SetImageList(reader->SmallImages(), fw::LVSIL_SMALL);
  auto read = [&](const Bytes& bytes, bool fromFile) {
    WriteBytes(reader->cacheFile, bytes);
    EXPECT_EQ(library::ReadImageCache(*reader), fromFile);
  };
  const struct {
    const char* step;
    std::function<void()> act;
    bool showsCache;  // else the placeholder alone
  } steps[] = {
      {"the cache read", [&] { read(good, true); }, true},
      {"a reset", [&] { reader->ResetImages(true); }, false},
      {"the cache read again", [&] { read(good, true); }, true},
      {"a damaged cache read", [&] { read(librarytest::Prefix(good, good.size() / 2), false); },
       false},
  };
  for (const auto& [step, act, showsCache] : steps) {
    SCOPED_TRACE(step);
    act();
    for (int which : {fw::LVSIL_NORMAL, fw::LVSIL_SMALL}) {
      const fw::CImageList shown = holder.List().GetImageList(which);
      const fw::CImageList& source =
          which == fw::LVSIL_NORMAL ? written->LargeImages() : written->SmallImages();
      if (showsCache) {
        librarytest::ExpectSameImages(source, shown);
      } else {
        ASSERT_EQ(shown.GetImageCount(), 1);
        EXPECT_TRUE(IsPlaceholder(shown.GetImage(0)));
      }
    }
  }
  TakeMessages();
  TakeConsole();
}

// Lists that never held the cache's images (a rescan dropped a block while they stayed on disk)
// are not written over the file. After a read that leaves a block without its image, the block
// shows the placeholder and counts as changed, so the next load probes it again.
TEST_F(ImageCache, NeverWritesListsLackingABlocksImageAndReprobesBlocksWhoseImageIsGone) {
  auto written = MakeDirectory(true);
  AddBlocksShowingEachImage(*written);
  ASSERT_TRUE(library::WriteImageCache(*written));
  const Bytes good = ReadBytes(written->cacheFile);
  auto readerWithBlocks = [&] {
    auto reader = ReaderOf(*written, true);
    AddBlocksShowingEachImage(*reader);
    return reader;
  };

  auto unread = readerWithBlocks();
  unread->imagesDirty = true;
  EXPECT_FALSE(library::WriteImageCache(*unread));
  EXPECT_TRUE(unread->imagesDirty);
  EXPECT_EQ(ReadBytes(written->cacheFile), good);
  EXPECT_TRUE(TakeMessages().empty());

  const struct {
    const char* name;
    std::function<void()> prepare;
    bool keepsImages;
  } cases[] = {
      {"the cache", [&] { WriteBytes(written->cacheFile, good); }, true},
      {"a cut cache", [&] { WriteBytes(written->cacheFile, librarytest::Prefix(good, 100)); },
       false},
      {"no cache", [&] { fw::DeleteFile(written->cacheFile); }, false},
  };
  for (const auto& [name, prepare, keepsImages] : cases) {
    SCOPED_TRACE(name);
    prepare();
    auto reader = readerWithBlocks();
    (void)library::ReadImageCache(*reader);
    for (int i = 0; i < 3; ++i) {
      const library::Block& block = *reader->Blocks()[static_cast<std::size_t>(i)];
      const bool kept = keepsImages || i == 0;
      EXPECT_EQ(block.imageIndex, kept ? i : 0) << "block " << i;
      EXPECT_EQ(block.IsUnchangedSinceProbe() && block.checked, kept) << "block " << i;
    }
    TakeMessages();
    TakeConsole();
  }
}

// OnlyCacheCurrent turned on releases the other directories whose images are loaded;
// DelCacheMemoryOnClose releases every directory. Released: a dirty cache written, the
// placeholder left, imagesLoaded cleared. A cache that cannot be written keeps its images.
TEST_F(ImageCache, ReleasesThePreviewsOfTheOtherDirectoriesOrOfAll) {
  enum Kind { kCurrent, kOtherLoaded, kOtherFirstLoad, kOtherUnwritable };
  const struct {
    const char* name;
    void (*release)(library::Library&);
    std::array<bool, 4> released;
  } cases[] = {
      {"except current", library::ReleaseImagesExceptCurrent, {false, true, false, false}},
      {"all", library::ReleaseAllImages, {true, true, true, false}},
  };
  for (const auto& [name, release, released] : cases) {
    SCOPED_TRACE(name);
    library::Library library;
    for (Kind kind : {kCurrent, kOtherLoaded, kOtherFirstLoad, kOtherUnwritable}) {
      const std::wstring file = kind == kOtherUnwritable
                                    ? L"missing/path9_35.cache"
                                    : L"path" + std::to_wstring(kind + 1) + L"_35.cache";
      fw::DeleteFile(PathOf(file));
      Directory& directory = library.Append(MakeDirectory(true, file));
      directory.imagesLoaded = kind != kOtherFirstLoad;
    }
    library.SetCurrent(&library.At(kCurrent));
    release(library);
    for (std::size_t kind = 0; kind < 4; ++kind) {
      SCOPED_TRACE(kind);
      const Directory& directory = library.At(kind);
      EXPECT_EQ(directory.SmallImages().GetImageCount(), released[kind] ? 1 : 3);
      EXPECT_EQ(directory.LargeImages().GetImageCount(), released[kind] ? 1 : 3);
      EXPECT_EQ(directory.imagesDirty, !released[kind]);
      EXPECT_EQ(fw::PathExists(directory.cacheFile), released[kind]);
    }
    EXPECT_EQ(TakeMessages().size(), 2u) << "the unwritable cache's report and message box";
  }
}

}  // namespace
