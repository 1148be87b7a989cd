// Crafted image caches of a megabyte, each claiming far more than it holds, fail before they
// cost memory: the heap's peak during the read is counted by replacing operator new in this test
// program alone.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>

#include "LibraryTestSupport.h"
#include "fw/Compression.h"
#include "fw/ImageList.h"
#include "library/CacheFiles.h"
#include "library/Directory.h"

namespace {

std::atomic<std::size_t> heapInUse{0};
std::atomic<std::size_t> heapPeak{0};
// Each block carries its size in front, keeping the alignment operator new promises.
constexpr std::size_t kSizeHeader = alignof(std::max_align_t);

void* CountedAllocate(std::size_t size) {
  void* block = std::malloc(size + kSizeHeader);
  if (block == nullptr) throw std::bad_alloc();
  *static_cast<std::size_t*>(block) = size;
  const std::size_t inUse = heapInUse.fetch_add(size) + size;
  std::size_t peak = heapPeak.load();
  while (inUse > peak && !heapPeak.compare_exchange_weak(peak, inUse)) {
  }
  return static_cast<char*>(block) + kSizeHeader;
}

void CountedRelease(void* pointer) {
  if (pointer == nullptr) return;
  char* block = static_cast<char*>(pointer) - kSizeHeader;
  heapInUse.fetch_sub(*reinterpret_cast<std::size_t*>(block));
  std::free(block);
}

}  // namespace

void* operator new(std::size_t size) { return CountedAllocate(size); }
void* operator new[](std::size_t size) { return CountedAllocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return CountedAllocate(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}
void operator delete(void* pointer) noexcept { CountedRelease(pointer); }
void operator delete[](void* pointer) noexcept { CountedRelease(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { CountedRelease(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { CountedRelease(pointer); }
void operator delete(void* pointer, const std::nothrow_t&) noexcept { CountedRelease(pointer); }
void operator delete[](void* pointer, const std::nothrow_t&) noexcept { CountedRelease(pointer); }

namespace {

using library::Directory;
using librarytest::Bytes;

constexpr std::size_t kCraftedBytes = 1 << 20;
// The file read whole, the archive's buffer and what a few rows of a list take, with room.
constexpr std::size_t kBoundBytes = 4 << 20;

// The image-list header and the colour bitmap's headers and palette, 146 bytes, of a list of
// `capacity` images of cx x cy with `count` in use: a real list's, with the sizes changed.
Bytes ListHeaders(int cx, int cy, int count, int capacity) {
  fw::CImageList list = Directory::CreateImageList(cx, cy);
  Bytes stream = list.WriteStream();
  stream.resize(146);
  auto put = [&stream](std::size_t at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) stream[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  };
  const std::uint32_t rows = static_cast<std::uint32_t>((capacity + 3) / 4 * cy);
  put(4, static_cast<std::uint32_t>(count), 2);
  put(6, static_cast<std::uint32_t>(capacity), 2);
  put(50, rows, 4);
  put(62, rows * static_cast<std::uint32_t>(2 * cx), 4);
  return stream;
}

// A compressed image cache of a megabyte stating `stated` bytes, whose deflated part holds only
// `content`: zlib ignores what follows its stream, and the padding lets the container state what
// a megabyte may expand to.
Bytes CraftedCache(const Bytes& content, std::uint32_t stated) {
  Bytes file = {'a', 0, 'k', 0, 'z', 0, 1, 0};
  for (int i = 0; i < 4; ++i) file.push_back(static_cast<std::uint8_t>(stated >> (8 * i)));
  file.insert(file.end(), 4, 0);
  const Bytes deflated = fw::Compress(content);
  file.insert(file.end(), deflated.begin(), deflated.end());
  file.resize(kCraftedBytes, 0x5A);
  return file;
}

Bytes Joined(Bytes first, const Bytes& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

using ImageCacheMemory = librarytest::LibraryTest;

TEST_F(ImageCacheMemory, CraftedCachesFailBeforeTheyCostMemory) {
  const Bytes zeros(4096, 0);  // more than the archive reads ahead at its start
  const std::uint32_t fullStream = static_cast<std::uint32_t>(
      fw::ImageListStreamBytes(130, 96, 16000) + fw::ImageListStreamBytes(66, 49, 16000));
  const struct {
    const char* name;
    Bytes file;
  } cases[] = {
      {"a gigabyte stated", CraftedCache(ListHeaders(130, 96, 1, 2), 1u << 30)},
      {"images of 1024 x 1024",
       CraftedCache(Joined(ListHeaders(1024, 1024, 1, 2), zeros), 100u << 20)},
      {"room for 65,535 previews",
       CraftedCache(Joined(ListHeaders(130, 96, 1, 65535), zeros), 100u << 20)},
      {"16,000 previews whose bits stop after 4 KB",
       CraftedCache(Joined(ListHeaders(130, 96, 16000, 16000), zeros), fullStream)},
  };
  for (const auto& [name, file] : cases) {
    SCOPED_TRACE(name);
    Directory directory;
    directory.cacheFile = PathOf(L"path1_35.cache");
    librarytest::WriteBytes(directory.cacheFile, file);
    const std::size_t before = heapInUse.load();
    heapPeak.store(before);
    EXPECT_FALSE(library::ReadImageCache(directory));
    EXPECT_LT(heapPeak.load() - before, kBoundBytes);
    EXPECT_TRUE(directory.imagesLoaded);
    EXPECT_EQ(directory.LargeImages().GetImageCount(), 1);
    EXPECT_EQ(directory.SmallImages().GetImageCount(), 1);
    EXPECT_EQ(TakeConsole(), L"Quorva: Invalid cache file, CArchiveException!\n");
    TakeMessages();
  }
}

}  // namespace
