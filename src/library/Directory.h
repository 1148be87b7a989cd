// One registered library folder: its insertion options, its view state, its blocks and the two
// image lists of their previews.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fw/ImageList.h"
#include "library/Block.h"

namespace fw {
class CArchive;
}

namespace library {

// The options and view state are plain values with no rule between them; the dialogs read and
// change them directly. What carries a rule is behind members: the blocks (owned, at stable
// addresses) and the image lists (owned, created and destroyed together, index 0 always the
// placeholder).
//
// The two image lists are the same objects for the directory's whole life: a list control that
// was given them keeps seeing whatever they hold, through resets and reads of the image cache.
//
// Threads: the loader thread works on one directory's blocks and image lists while the dialog
// thread stays off them (it pauses or stops the loader first); nothing here locks.
class Directory {
 public:
  static constexpr int kLargeImageWidth = 130;
  static constexpr int kLargeImageHeight = 96;
  static constexpr int kSmallImageWidth = 66;
  static constexpr int kSmallImageHeight = 49;
  // The most images either list makes room for, the placeholder included. A folder of more
  // drawings than this is beyond any library the loader is built for (its goals are set for
  // folders of 10,000); the drawings past it keep the placeholder. It bounds the image cache a
  // reader accepts (about 129 MB for both lists).
  static constexpr int kMaxImages = 16384;
  // What a list read from the image cache must be.
  static constexpr fw::ImageListShape kLargeShape{kLargeImageWidth, kLargeImageHeight, kMaxImages};
  static constexpr fw::ImageListShape kSmallShape{kSmallImageWidth, kSmallImageHeight, kMaxImages};
  // Path and description of the directory that lists the current drawing's block definitions.
  static constexpr const wchar_t* kInternalName = L"Internal Blocks";
  static constexpr const wchar_t* kNoScheme = L"<None>";

  // A directory with the defaults and placeholder image lists, no blocks.
  Directory();
  // Deletes the blocks and destroys both image lists.
  ~Directory();
  Directory(const Directory&) = delete;
  Directory& operator=(const Directory&) = delete;

  // A new directory with this one's settings, path, description, view state, list index and
  // cache file, but no blocks, fresh placeholder images and every flag at its default.
  std::unique_ptr<Directory> CopySettings() const;

  // The internal directory is the one whose path and description both read "Internal Blocks".
  // Derived from the two fields at every call, so it holds from the moment the directory is
  // created, read or written, and for nothing else.
  bool IsInternal() const;

  // The number n of this directory's image cache name ".../path<n>_35.cache": its file title
  // after the first four characters, read as decimal digits up to the first non-digit; 0 when
  // there are none.
  int CacheNumber() const;

  // The drawing file of one of this directory's blocks.
  std::wstring DrawingPath(const Block& block) const;

  // --- Images ----------------------------------------------------------------------------------

  // Releases the images both lists hold and clears `imagesLoaded`; the large list (only when
  // `useLargeImages`, else it is left without a list) and the small one then hold the
  // placeholder as image 0: a box with both diagonals. The lists stay the same objects, so
  // every holder sees the placeholders; `destroyOld` is kept for callers and changes nothing.
  // The placeholders' pixels are shared by every directory until its list changes.
  void ResetImages(bool destroyOld);
  // Takes the images of lists read elsewhere into the directory's lists (the large one only
  // when `useLargeImages`); `large` and `small` are left without lists.
  void ReplaceImages(fw::CImageList large, fw::CImageList small);
  // Not created while `useLargeImages` is off.
  fw::CImageList& LargeImages() { return largeImages_; }
  const fw::CImageList& LargeImages() const { return largeImages_; }
  fw::CImageList& SmallImages() { return smallImages_; }
  const fw::CImageList& SmallImages() const { return smallImages_; }
  // Creates an empty list with the size, depth, growth and limit the directory's lists use.
  static fw::CImageList CreateImageList(int width, int height);

  // --- Blocks ----------------------------------------------------------------------------------

  const std::vector<std::unique_ptr<Block>>& Blocks() const { return blocks_; }
  std::size_t BlockCount() const { return blocks_.size(); }
  // Appends a new block with the defaults and returns it; it keeps its address until deleted.
  Block& AppendBlock();
  void ReserveBlocks(std::size_t count) { blocks_.reserve(count); }
  void DeleteAllBlocks();
  // Deletes every block the predicate picks, keeping the order of the rest; returns how many.
  template <typename Predicate>
  std::size_t DeleteBlocksIf(Predicate pick) {
    return std::erase_if(blocks_, [&pick](const std::unique_ptr<Block>& b) { return pick(*b); });
  }

  // --- The main cache's directory record ---------------------------------------------------------

  // Writes the record with its blocks. Load reads one into a directory that has no blocks yet;
  // it throws fw::CArchiveException when the record does not fit the bytes left (a block count
  // is checked before any block is made). After Load the large list exists only when
  // `useLargeImages` is on.
  void Store(fw::CArchive& archive) const;
  void Load(fw::CArchive& archive);

  // --- Settings, stored in the main cache and the settings file ----------------------------------

  std::int32_t scaleMode = 0;      // 0 "1-to-1", 1 "Drawing", 2 "Prompt", 3 "User"
  std::int32_t sortStyle = 1;      // 0..13
  std::int32_t rotationMode = 0;   // 0 fixed `rotationAngle`, 1 prompt
  double rotationAngle = 0;        // degrees
  bool explode = false;
  bool multipleInsert = false;
  bool repeat = false;
  bool cacheOption = true;
  bool showInsertionPoints = true;
  // Changing it takes effect at the next ResetImages, which whoever changes it calls.
  bool useLargeImages = true;
  std::wstring path;               // the folder, without a trailing separator
  std::wstring description;        // the name in the directory list
  std::int32_t topIndex = -1;
  std::int32_t selectedIndex = -1;
  std::int32_t view = 3;
  std::wstring currentScheme = kNoScheme;
  std::wstring cacheFile;          // full path of the image cache

  // --- In memory only ----------------------------------------------------------------------------

  std::int32_t listIndex = 0;      // item in the directory list
  bool hiddenOption = false;
  bool lsaPending = false;         // a block has a side-file description its drawing lacks
  // The loader sets the two image flags while it works on the directory, and the dialog asks
  // them when the user switches directories, before it knows whether the loader is off it.
  std::atomic<bool> imagesDirty = false;   // images or blocks changed since the cache was written
  bool loaded = false;                     // read from disk since created or invalidated
  std::atomic<bool> imagesLoaded = false;  // the lists hold the cache's (or probed) images

 private:
  fw::CImageList largeImages_;
  fw::CImageList smallImages_;
  std::vector<std::unique_ptr<Block>> blocks_;
};

}  // namespace library
