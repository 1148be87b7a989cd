// Image lists as the common controls keep them: fixed-size images in one bitmap, four images to
// a row, stored in a colour depth of their own; read and written as the image-list stream.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "fw/Bitmap.h"
#include "fw/Result.h"

namespace fw {

class CArchive;

enum ImageListFlags : std::uint16_t {
  ILC_MASK = 0x0001,
  ILC_COLOR = 0x0000,
  ILC_COLOR4 = 0x0004,
  ILC_COLOR8 = 0x0008,
  ILC_COLOR16 = 0x0010,
  ILC_COLOR24 = 0x0018,
  ILC_COLOR32 = 0x0020,
};

// The length of the stream WriteStream makes for a 4-bit list without a mask with room for
// `capacity` images of cx x cy pixels: the 28-byte header, the bitmap's 54 bytes of headers, its
// 16-colour palette and its rows of four images, each row padded to 4 bytes.
constexpr std::uint64_t ImageListStreamBytes(int cx, int cy, int capacity) {
  const auto width = static_cast<std::uint64_t>(cx);
  const auto height = static_cast<std::uint64_t>(cy);
  const std::uint64_t rowBytes = (4 * width * 4 + 31) / 32 * 4;
  const std::uint64_t rows = (static_cast<std::uint64_t>(capacity) + 3) / 4 * height;
  return 28 + 14 + 40 + 16 * 4 + rowBytes * rows;
}

// What a reader of a particular list requires besides a valid stream: images of exactly
// cx x cy pixels, and room for at most `maxImages` of them. Checked right after the stream's
// header, before anything of the size the header claims is read or allocated.
struct ImageListShape {
  int cx = 0;
  int cy = 0;
  int maxImages = 0xFFFF;
};

// Image lists are shared between a directory, which owns them, and the list controls that show
// them; copies are not made. A copy of the handle is the same list: Create, DeleteImageList,
// ReadStream, Read, CopyFrom and TakeFrom on one handle change what every copy sees. Every member
// may be called from any thread (the loader and the dialog); the list's state is guarded by a
// lock of its own.
class CImageList {
 public:
  CImageList();  // a handle to a list that is not created yet
  // False for zero or negative sizes, sides over 1024 pixels, an initial count the stream's
  // 16-bit counters cannot hold, or flags other than ILC_COLOR4 (the only depth the system uses)
  // and ILC_COLOR4 | ILC_MASK (pictures with transparent parts, for the screen only).
  // Capacity starts at initial + 1; the grow step is stored rounded up to a multiple of 4.
  bool Create(int cx, int cy, std::uint16_t flags, int initial, int grow);
  void DeleteImageList();
  bool IsCreated() const;

  // This list takes a copy of another's images and settings. The pixels are shared until either
  // list changes them, so copying a list of placeholders costs no pixels.
  void CopyFrom(const CImageList& other);
  // This list takes another's images and settings without copying them; `other` (with its other
  // handles) is left without a list.
  void TakeFrom(CImageList& other);
  // The most images this list makes room for: Create and Add fail beyond it. It belongs to the
  // list, not to its content, so it stays through reads and copies. Starts at what the stream's
  // 16-bit counters hold.
  void SetImageLimit(int images);

  // Changes whenever this list's images or settings change (through any handle), and differs
  // between lists: a presenter that keeps converted images keeps them while it stays the same.
  std::uint64_t Generation() const;
  // The same for every handle to one list: what a presenter keys its converted images by.
  const void* Identity() const { return state_.get(); }

  int GetImageCount() const;
  int ImageWidth() const;
  int ImageHeight() const;
  // Adds the bitmap's leftmost cx-wide slice, its colours matched to the 16-colour palette;
  // returns the new image's index, -1 on failure (no list, a bitmap narrower than cx, or a
  // count beyond what the stream's 16 bits hold).
  int Add(const Bitmap& bitmap);
  // As Add; in a list with a mask, the pixels of exactly `maskColour` become transparent (and
  // black in the colour image, as on the platform). In a list without one, the same as Add.
  int Add(const Bitmap& bitmap, COLORREF maskColour);
  // Replaces an image by the bitmap stretched to the image size (as a copy when the sizes match);
  // in a list with a mask the new image is opaque throughout.
  bool Replace(int index, const Bitmap& bitmap);
  // The stored image as a 32-bit bitmap (the palette colours).
  Bitmap GetImage(int index) const;
  // Draws the image's opaque pixels (all of them in a list without a mask) with its top-left
  // corner at (x, y) of `target`, clipped to it; false for no such image.
  bool Draw(Bitmap& target, int index, int x, int y) const;

  // The image-list stream: header and colour bitmap file; empty for a list that is not created
  // or has a mask (the stream carries the 4-bit lists of the caches, never a screen picture).
  std::vector<std::uint8_t> WriteStream() const;
  // Replaces the list by a stream's content; a clear error and the list unchanged on bad input.
  // `consumed` receives the stream's length (0 on failure), so streams may follow each other.
  Status ReadStream(std::span<const std::uint8_t> bytes, std::size_t* consumed = nullptr);
  // Through an archive: Write appends the stream (throws CArchiveException for a list that is
  // not created or has a mask); Read reads exactly one stream (throws CArchiveException on bad
  // input, endOfFile when the archive ends inside the stream, leaving the list unchanged). With a
  // shape, a stream of other images or more room is bad input.
  void Write(CArchive& archive) const;
  void Read(CArchive& archive);
  void Read(CArchive& archive, const ImageListShape& shape);

 private:
  struct State;
  std::shared_ptr<State> state_;
};

}  // namespace fw
