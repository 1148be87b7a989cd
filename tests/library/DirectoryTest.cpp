// Blocks and directories in memory: defaults, placeholder images, ownership, the internal
// directory and copies. (Records read from damaged bytes are covered with the main cache.)
#include "library/Directory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>

#include "LibraryTestSupport.h"
#include "fw/NativePath.h"
#include "fw/Strings.h"

namespace {

using library::Block;
using library::Directory;
using librarytest::IsPlaceholder;

TEST(Block, IsUnchangedOnlyWhenValidAndItsSizeAndBothTimesMatchTheLastProbe) {
  Block block;
  EXPECT_EQ(block.cachedStatus.size, UINT64_MAX);
  block.valid = true;
  EXPECT_FALSE(block.IsUnchangedSinceProbe()) << "a new block never compares unchanged";
  block.currentStatus = {100, 200, 4096, 0x20};
  block.cachedStatus = {100, 200, 4096, 0};
  EXPECT_TRUE(block.IsUnchangedSinceProbe()) << "the attribute does not count";
  for (auto change : {&Block::FileStatus::ctime, &Block::FileStatus::mtime}) {
    Block changed = block;
    changed.currentStatus.*change += 1;
    EXPECT_FALSE(changed.IsUnchangedSinceProbe());
  }
  block.currentStatus.size = 4097;
  EXPECT_FALSE(block.IsUnchangedSinceProbe());
}

TEST(Directory, StartsWithTheDefaultsAndThePlaceholderInBothLists) {
  Directory d;
  EXPECT_EQ(std::tie(d.scaleMode, d.sortStyle, d.rotationMode, d.topIndex, d.selectedIndex, d.view),
            std::make_tuple(0, 1, 0, -1, -1, 3));
  EXPECT_EQ(d.rotationAngle, 0.0);
  EXPECT_FALSE(d.explode || d.multipleInsert || d.repeat || d.hiddenOption || d.lsaPending ||
               d.imagesDirty || d.loaded || d.imagesLoaded || d.IsInternal());
  EXPECT_TRUE(d.cacheOption && d.showInsertionPoints && d.useLargeImages);
  EXPECT_EQ(d.currentScheme, L"<None>");
  EXPECT_TRUE(d.path.empty() && d.description.empty() && d.cacheFile.empty());
  EXPECT_EQ(d.BlockCount(), 0u);
  ASSERT_EQ(d.LargeImages().GetImageCount(), 1);
  ASSERT_EQ(d.SmallImages().GetImageCount(), 1);
  EXPECT_TRUE(IsPlaceholder(d.LargeImages().GetImage(0)));
  EXPECT_TRUE(IsPlaceholder(d.SmallImages().GetImage(0)));
}

// 130x96 and 66x49, 4-bit colour, initial capacity 1, growth 25: the platform's own streams.
TEST(Directory, PlaceholderListsMatchThePlatformsStreamsByteForByte) {
  Directory directory;
  const auto large = directory.LargeImages().WriteStream();
  const auto small = directory.SmallImages().WriteStream();
  // Header words 2..6: count 1, capacity 2, growth 28 (25 rounded up), width, height.
  auto word = [](const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return bytes.size() > at + 1 ? bytes[at] | (bytes[at + 1] << 8) : -1;
  };
  EXPECT_EQ(word(large, 4), 1);
  EXPECT_EQ(word(large, 6), 2);
  EXPECT_EQ(word(large, 8), 28);
  EXPECT_EQ(word(large, 10), 130);
  EXPECT_EQ(word(large, 12), 96);
  EXPECT_EQ(word(small, 10), 66);
  EXPECT_EQ(word(small, 12), 49);
  const auto goldenLarge =
      librarytest::ReadBytes(fw::FromNativePath(QRVA_SHARED_DIR "/golden/imagelist-placeholder.il"));
  const auto goldenSmall = librarytest::ReadBytes(
      fw::FromNativePath(QRVA_SHARED_DIR "/golden/imagelist-placeholder-small.il"));
  if (goldenLarge.empty() || goldenSmall.empty()) GTEST_SKIP() << "no reference streams";
  EXPECT_EQ(large, goldenLarge);
  EXPECT_EQ(small, goldenSmall);
}

TEST(Directory, WithoutLargeImagesHasOnlyTheSmallList) {
  Directory directory;
  librarytest::AddPreview(directory, fw::RGB(255, 0, 0));
  directory.imagesLoaded = true;
  directory.useLargeImages = false;
  directory.ResetImages(true);
  EXPECT_FALSE(directory.imagesLoaded);
  EXPECT_FALSE(directory.LargeImages().IsCreated());
  ASSERT_EQ(directory.SmallImages().GetImageCount(), 1);
  EXPECT_TRUE(IsPlaceholder(directory.SmallImages().GetImage(0)));
}

TEST(Directory, DestroysBothImageListsWhenDeletedEvenIfNeverLoaded) {
  auto directory = std::make_unique<Directory>();
  fw::CImageList large = directory->LargeImages();  // shares the list, as a list control does
  fw::CImageList small = directory->SmallImages();
  directory->AppendBlock();
  directory.reset();
  EXPECT_FALSE(large.IsCreated());
  EXPECT_FALSE(small.IsCreated());
}

TEST(Directory, IsInternalOnlyWhenPathAndDescriptionBothNameIt) {
  Directory directory;
  directory.path = L"Internal Blocks";
  EXPECT_FALSE(directory.IsInternal());
  directory.description = L"Internal Blocks";
  EXPECT_TRUE(directory.IsInternal());
  directory.path = L"internal blocks";
  EXPECT_FALSE(directory.IsInternal()) << "letter case counts";
}

TEST(Directory, CopiesSettingsWithoutBlocksImagesOrFlags) {
  auto original = librarytest::MakeFullDirectory(L"/lib/a", L"/c/path4_35.cache", 0);
  original->useLargeImages = false;
  original->ResetImages(true);
  const librarytest::Bytes settings = librarytest::RecordBytes(*original);
  original->listIndex = 6;
  original->AppendBlock();
  librarytest::AddPreview(*original, fw::RGB(0, 0, 255));
  original->hiddenOption = original->lsaPending = original->imagesDirty = true;
  original->loaded = original->imagesLoaded = true;

  auto copy = original->CopySettings();
  EXPECT_EQ(librarytest::RecordBytes(*copy), settings) << "every stored setting, no blocks";
  EXPECT_EQ(copy->listIndex, 6);
  EXPECT_FALSE(copy->LargeImages().IsCreated());
  ASSERT_EQ(copy->SmallImages().GetImageCount(), 1);
  EXPECT_FALSE(copy->hiddenOption || copy->lsaPending || copy->imagesDirty || copy->loaded ||
               copy->imagesLoaded);
}

}  // namespace
