// A directory's image cache: written and read back image for image, its layout, damaged files,
// and writes that fail.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "LibraryTestSupport.h"
#include "fw/FileStatus.h"
#include "library/CacheFiles.h"
#include "library/Directory.h"

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
