// Image lists of 4-bit colour as the common controls keep them: fixed-size images in one grid of
// palette indices, four images to a grid row, and the image-list stream that cache files hold.
#include "fw/ImageList.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fw/Archive.h"
#include "fw/ByteReader.h"
#include "fw/File.h"
#include "fw/Strings.h"
#include "fw/StretchRuns.h"

namespace fw {
namespace {

// ---- Colours ------------------------------------------------------------------------------

// The colours of a 4-bit list: the platform's default 16-colour table, with silver at 7 and grey
// at 8 as the common controls order them.
constexpr std::array<COLORREF, 16> kPalette = {
    RGB(0x00, 0x00, 0x00), RGB(0x80, 0x00, 0x00), RGB(0x00, 0x80, 0x00), RGB(0x80, 0x80, 0x00),
    RGB(0x00, 0x00, 0x80), RGB(0x80, 0x00, 0x80), RGB(0x00, 0x80, 0x80), RGB(0xC0, 0xC0, 0xC0),
    RGB(0x80, 0x80, 0x80), RGB(0xFF, 0x00, 0x00), RGB(0x00, 0xFF, 0x00), RGB(0xFF, 0xFF, 0x00),
    RGB(0x00, 0x00, 0xFF), RGB(0xFF, 0x00, 0xFF), RGB(0x00, 0xFF, 0xFF), RGB(0xFF, 0xFF, 0xFF)};

int SquaredDistance(COLORREF a, COLORREF b) {
  const int red = GetRValue(a) - GetRValue(b);
  const int green = GetGValue(a) - GetGValue(b);
  const int blue = GetBValue(a) - GetBValue(b);
  return red * red + green * green + blue * blue;
}

// The palette index nearest to a colour by squared distance over red, green and blue, the lowest
// index winning a tie; the high byte is ignored and nothing is dithered.
std::uint8_t NearestPaletteIndex(COLORREF colour) {
  std::uint8_t nearest = 0;
  int nearestDistance = SquaredDistance(colour, kPalette[0]);
  for (std::uint8_t index = 1; index < kPalette.size(); ++index) {
    const int distance = SquaredDistance(colour, kPalette[index]);
    if (distance < nearestDistance) {
      nearest = index;
      nearestDistance = distance;
    }
  }
  return nearest;
}

// ---- Limits -------------------------------------------------------------------------------

constexpr int kColumns = 4;  // images per grid row in the 0x0101 layout

// Images in a list are icons and thumbnails; a side longer than this is damage (or a caller's
// bug), and the cap keeps every grid row's arithmetic small.
constexpr int kMaxImageSide = 1024;

// The stream keeps cCurImage and cMaxImage in 16 bits.
constexpr int kMaxImageCount = 0xFFFF;

// The stream keeps cGrow in 16 bits, and it is always a multiple of 4.
constexpr int kMaxGrow = 0xFFFC;

// A full list of 65535 thumbnails of 130 x 96 fits; a grid beyond this is a caller's bug, refused
// rather than allocated.
constexpr std::uint64_t kMaxGridPixels = std::uint64_t{1} << 30;

constexpr COLORREF kNoBackground = 0xFFFFFFFF;  // the platform's CLR_NONE
constexpr std::size_t kOverlayCount = 4;
constexpr std::int16_t kNoOverlay = -1;

// ---- The list -----------------------------------------------------------------------------

// What a list holds; one instance is shared by every handle to the list, guarded by its mutex.
struct ListContent {
  bool created = false;
  int cx = 0;
  int cy = 0;
  std::uint16_t flags = ILC_COLOR4;
  int count = 0;     // cCurImage: images in use
  int capacity = 0;  // cMaxImage: images the grid has room for
  int grow = 4;      // cGrow as stored: a multiple of 4
  COLORREF background = kNoBackground;
  std::array<std::int16_t, kOverlayCount> overlays = {kNoOverlay, kNoOverlay, kNoOverlay,
                                                      kNoOverlay};
  // Every image's palette indices in the grid the stream stores: GridWidth() x GridRows() pixels,
  // rows from the top, two pixels to a byte with the left one in the high nibble. Either `grid`
  // holds them, or `sharedGrid` does while they are another list's too: a list of placeholders
  // copied to every directory costs no pixels until one of them changes (Unshare).
  std::vector<std::uint8_t> grid;
  std::shared_ptr<const std::vector<std::uint8_t>> sharedGrid;

  const std::uint8_t* Pixels() const { return sharedGrid ? sharedGrid->data() : grid.data(); }
  // Makes `grid` this list's own; every change of the pixels comes after it.
  void Unshare() {
    if (!sharedGrid) return;
    grid = *sharedGrid;
    sharedGrid.reset();
  }
  // Lets another list share the pixels: they move to `sharedGrid`, which nothing changes.
  void Share() {
    if (sharedGrid || grid.empty()) return;
    sharedGrid = std::make_shared<const std::vector<std::uint8_t>>(std::move(grid));
    grid = {};
  }
  // With ILC_MASK: one byte per grid pixel, nonzero where the image is transparent. Never
  // shared: only a list of pictures for the screen has one.
  std::vector<std::uint8_t> mask;

  bool HasMask() const { return (flags & ILC_MASK) != 0; }
  std::size_t MaskAt(std::size_t x, std::size_t y) const { return y * GridWidth() + x; }

  std::size_t GridWidth() const { return static_cast<std::size_t>(kColumns) * cx; }
  std::size_t GridRowBytes() const { return GridWidth() / 2; }  // 4 * cx pixels: always even
  std::size_t GridRowsFor(int images) const {
    return static_cast<std::size_t>((images + kColumns - 1) / kColumns) * cy;
  }
  std::size_t GridRows() const { return GridRowsFor(capacity); }

  std::uint8_t IndexAt(std::size_t x, std::size_t y) const {
    const std::uint8_t pair = Pixels()[y * GridRowBytes() + x / 2];
    return x % 2 == 0 ? pair >> 4 : pair & 0x0F;
  }
  // Only after Unshare.
  void SetIndex(std::size_t x, std::size_t y, std::uint8_t index) {
    std::uint8_t& pair = grid[y * GridRowBytes() + x / 2];
    pair = x % 2 == 0 ? static_cast<std::uint8_t>((pair & 0x0F) | (index << 4))
                      : static_cast<std::uint8_t>((pair & 0xF0) | index);
  }
  // The grid position of image `image`'s top-left pixel.
  std::size_t CellLeft(int image) const { return static_cast<std::size_t>(image % kColumns) * cx; }
  std::size_t CellTop(int image) const { return static_cast<std::size_t>(image / kColumns) * cy; }
};

// cGrow as the list stores it: at least 1, rounded up to a multiple of 4. (One platform build
// also caps it at 256; the other does not, and neither do we.)
int StoredGrow(int grow) {
  const int atLeastOne = std::clamp(grow, 1, kMaxGrow);
  return (atLeastOne + 3) / 4 * 4;
}

// Whether a grid with room for `images` images of cx x cy stays within the caps.
bool GridFits(int cx, int cy, std::int64_t images) {
  if (images > kMaxImageCount) return false;
  const std::uint64_t rows = static_cast<std::uint64_t>((images + kColumns - 1) / kColumns) * cy;
  return rows * kColumns * static_cast<std::uint64_t>(cx) <= kMaxGridPixels;
}

// Makes room for `added` more images as the platform does: nothing while cCurImage + added stays
// below cMaxImage, else cMaxImage grows by max(added, cGrow) + 1. False, with the list unchanged,
// when that would pass the caps or the list's own limit. Only after Unshare.
bool MakeRoom(ListContent& list, int added, int limit) {
  if (list.count + added < list.capacity) return true;
  const std::int64_t grown =
      static_cast<std::int64_t>(list.capacity) + std::max(added, list.grow) + 1;
  if (grown > limit || !GridFits(list.cx, list.cy, grown)) return false;
  list.capacity = static_cast<int>(grown);
  list.grid.resize(list.GridRows() * list.GridRowBytes(), 0);
  if (list.HasMask()) list.mask.resize(list.GridRows() * list.GridWidth(), 0);
  return true;
}

// Copies the top-left cx x cy of `bitmap` (what it has of it) into image `image`, each colour
// matched to the palette; rows and columns the bitmap lacks keep what the cell held.
void CopyIntoCell(ListContent& list, int image, const Bitmap& bitmap) {
  const int width = std::min(list.cx, bitmap.Width());
  const int height = std::min(list.cy, bitmap.Height());
  // A thumbnail holds few colours, each many times: matches are remembered in a small
  // direct-mapped table (an entry's key is the colour, the high byte marking it used).
  constexpr std::size_t kRemembered = 512;
  std::array<COLORREF, kRemembered> keys;
  keys.fill(0xFFFFFFFFu);
  std::array<std::uint8_t, kRemembered> indexes{};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const COLORREF colour = bitmap.GetPixel(x, y) & 0x00FFFFFFu;
      const std::size_t slot = (colour ^ (colour >> 9) ^ (colour >> 17)) % kRemembered;
      if (keys[slot] != colour) {
        keys[slot] = colour;
        indexes[slot] = NearestPaletteIndex(colour);
      }
      list.SetIndex(list.CellLeft(image) + x, list.CellTop(image) + y, indexes[slot]);
    }
  }
}

// Makes every pixel of image `image` opaque in a list with a mask.
void ClearCellMask(ListContent& list, int image) {
  for (int y = 0; y < list.cy; ++y) {
    const std::size_t row = list.MaskAt(list.CellLeft(image), list.CellTop(image) + y);
    std::fill_n(list.mask.begin() + static_cast<std::ptrdiff_t>(row), list.cx, std::uint8_t{0});
  }
}

// Stretches the whole bitmap onto image `image` in the list's default stretch mode, which keeps
// black: the pixels of a source run are ANDed as raw 0x00RRGGBB values before their colour is
// matched to the palette.
void StretchIntoCell(ListContent& list, int image, const Bitmap& bitmap) {
  const std::vector<SourceRun> columns = StretchRuns(bitmap.Width(), list.cx);
  const std::vector<SourceRun> rows = StretchRuns(bitmap.Height(), list.cy);
  for (int y = 0; y < list.cy; ++y) {
    for (int x = 0; x < list.cx; ++x) {
      COLORREF combined = 0x00FFFFFF;
      for (int sourceY = rows[y].first; sourceY <= rows[y].last; ++sourceY) {
        for (int sourceX = columns[x].first; sourceX <= columns[x].last; ++sourceX) {
          combined &= bitmap.GetPixel(sourceX, sourceY);
        }
      }
      list.SetIndex(list.CellLeft(image) + x, list.CellTop(image) + y,
                    NearestPaletteIndex(combined));
    }
  }
}

// ---- The stream ---------------------------------------------------------------------------

// The image-list stream, every integer little-endian:
//   ILHEAD, 28 bytes: magic 'IL' (u16 0x4C49), version (u16 0x0101), cCurImage, cMaxImage, cGrow,
//     cx, cy (u16 each), bkcolor (u32 COLORREF, 0xFFFFFFFF for none), flags (u16 ILC_*), then the
//     image index of overlays 1 to 4 (i16 each, -1 when unset);
//   the colour bitmap "file": BITMAPFILEHEADER, BITMAPINFOHEADER, palette, bits (below), holding
//     the grid: 4 * cx pixels wide, ceil(cMaxImage / 4) * cy high;
//   a mask bitmap "file" of the same size at 1 bit per pixel, only when flags hold ILC_MASK.
constexpr std::size_t kHeaderSize = 28;
constexpr std::uint16_t kMagic = 0x4C49;
constexpr std::uint16_t kVersion = 0x0101;

// A bitmap "file" in the stream:
//   BITMAPFILEHEADER, 14 bytes: type 'BM' (u16 0x4D42), bfSize (u32), two reserved u16,
//     bfOffBits (u32). Written with bfSize = bfOffBits = the size of headers and palette.
//   BITMAPINFOHEADER, 40 bytes: biSize (u32 40), biWidth, biHeight (i32; positive = rows from the
//     bottom), biPlanes (u16 1), biBitCount (u16), biCompression (u32, 0 = none), biSizeImage
//     (u32), pixels per metre across and down (i32), biClrUsed, biClrImportant (u32).
//   2^biBitCount RGBQUADs (blue, green, red, 0) when biBitCount <= 8, whatever biClrUsed says.
//   The rows, each padded to 4 bytes; in a 4-bit row the high nibble is the left pixel.
// The reader ignores bfSize, bfOffBits, biSizeImage and biClrUsed, as the platform's does.
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::uint16_t kBitmapType = 0x4D42;
constexpr std::uint32_t kUncompressed = 0;  // BI_RGB
constexpr std::uint16_t kListBitsPerPixel = 4;
constexpr std::size_t kRgbQuadSize = 4;

std::uint64_t RowStride(std::uint64_t width, std::uint64_t bitsPerPixel) {
  return (width * bitsPerPixel + 31) / 32 * 4;
}

// Appends little-endian fields.
class ByteWriter {
 public:
  explicit ByteWriter(std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
  void U16(std::uint16_t value) {
    bytes_.push_back(static_cast<std::uint8_t>(value));
    bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
  }
  void U32(std::uint32_t value) {
    U16(static_cast<std::uint16_t>(value));
    U16(static_cast<std::uint16_t>(value >> 16));
  }

 private:
  std::vector<std::uint8_t>& bytes_;
};

std::vector<std::uint8_t> EncodeStream(const ListContent& list) {
  const std::size_t rows = list.GridRows();
  const std::size_t stride = RowStride(list.GridWidth(), kListBitsPerPixel);
  const std::size_t headersAndPalette =
      kFileHeaderSize + kInfoHeaderSize + kPalette.size() * kRgbQuadSize;
  std::vector<std::uint8_t> bytes;
  bytes.reserve(kHeaderSize + headersAndPalette + stride * rows);
  ByteWriter out(bytes);

  out.U16(kMagic);
  out.U16(kVersion);
  out.U16(static_cast<std::uint16_t>(list.count));
  out.U16(static_cast<std::uint16_t>(list.capacity));
  out.U16(static_cast<std::uint16_t>(list.grow));
  out.U16(static_cast<std::uint16_t>(list.cx));
  out.U16(static_cast<std::uint16_t>(list.cy));
  out.U32(list.background);
  out.U16(list.flags);
  for (std::int16_t overlay : list.overlays) out.U16(static_cast<std::uint16_t>(overlay));

  out.U16(kBitmapType);
  out.U32(static_cast<std::uint32_t>(headersAndPalette));
  out.U16(0);
  out.U16(0);
  out.U32(static_cast<std::uint32_t>(headersAndPalette));

  out.U32(kInfoHeaderSize);
  out.U32(static_cast<std::uint32_t>(list.GridWidth()));
  out.U32(static_cast<std::uint32_t>(rows));
  out.U16(1);
  out.U16(kListBitsPerPixel);
  out.U32(kUncompressed);
  out.U32(static_cast<std::uint32_t>(stride * rows));
  out.U32(0);
  out.U32(0);
  out.U32(0);
  out.U32(0);

  for (COLORREF colour : kPalette) {
    bytes.push_back(GetBValue(colour));
    bytes.push_back(GetGValue(colour));
    bytes.push_back(GetRValue(colour));
    bytes.push_back(0);
  }
  // Rows from the bottom; the grid's packed rows are already the stream's nibbles.
  for (std::size_t row = rows; row-- > 0;) {
    const std::uint8_t* first = list.Pixels() + row * list.GridRowBytes();
    bytes.insert(bytes.end(), first, first + list.GridRowBytes());
    bytes.resize(bytes.size() + (stride - list.GridRowBytes()), 0);
  }
  return bytes;
}

// Where a stream's bytes come from. The parser checks Left() before it takes anything, so Take
// is never asked for more than is there.
class StreamSource {
 public:
  virtual ~StreamSource() = default;
  virtual std::uint64_t Left() const = 0;
  // The next `count` bytes, valid until the next call.
  virtual std::span<const std::uint8_t> Take(std::size_t count) = 0;
  // The next `count` bytes copied straight to `target`.
  virtual void TakeInto(std::uint8_t* target, std::size_t count) = 0;
};

class SpanSource final : public StreamSource {
 public:
  explicit SpanSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint64_t Left() const override { return bytes_.size() - position_; }
  std::span<const std::uint8_t> Take(std::size_t count) override {
    const std::span<const std::uint8_t> part = bytes_.subspan(position_, count);
    position_ += count;
    return part;
  }
  void TakeInto(std::uint8_t* target, std::size_t count) override {
    const std::span<const std::uint8_t> part = Take(count);
    std::copy(part.begin(), part.end(), target);
  }
  std::size_t Consumed() const { return position_; }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

// Reads through an archive, into a buffer of its own or straight to where the bytes go; the
// archive's own errors propagate.
class ArchiveSource final : public StreamSource {
 public:
  explicit ArchiveSource(CArchive& archive) : archive_(archive) {}
  std::uint64_t Left() const override { return archive_.BytesLeft(); }
  std::span<const std::uint8_t> Take(std::size_t count) override {
    buffer_.resize(count);
    archive_.Read(buffer_.data(), count);
    return buffer_;
  }
  void TakeInto(std::uint8_t* target, std::size_t count) override {
    archive_.Read(target, count);
  }

 private:
  CArchive& archive_;
  std::vector<std::uint8_t> buffer_;
};

// Why a stream cannot be read: it ends too soon, or what it holds is not a list we can keep.
struct StreamError {
  bool truncated = false;
  std::wstring message;
};

StreamError Truncated(std::wstring message) { return StreamError{true, std::move(message)}; }
StreamError Malformed(std::wstring message) { return StreamError{false, std::move(message)}; }

// The fields of ILHEAD, as read.
struct StreamHeader {
  std::uint16_t magic = 0;
  std::uint16_t version = 0;
  std::uint16_t count = 0;
  std::uint16_t capacity = 0;
  std::uint16_t grow = 0;
  std::uint16_t cx = 0;
  std::uint16_t cy = 0;
  COLORREF background = 0;
  std::uint16_t flags = 0;
  std::array<std::int16_t, kOverlayCount> overlays{};
};

// The fields of the two bitmap headers that the reader uses.
struct BitmapHeader {
  std::uint16_t type = 0;
  std::uint32_t size = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint16_t planes = 0;
  std::uint16_t bitsPerPixel = 0;
  std::uint32_t compression = 0;
};

StreamHeader DecodeHeader(std::span<const std::uint8_t> bytes) {
  ByteReader in(bytes);
  StreamHeader header;
  header.magic = in.U16();
  header.version = in.U16();
  header.count = in.U16();
  header.capacity = in.U16();
  header.grow = in.U16();
  header.cx = in.U16();
  header.cy = in.U16();
  header.background = in.U32();
  header.flags = in.U16();
  for (std::int16_t& overlay : header.overlays) overlay = in.I16();
  return header;
}

BitmapHeader DecodeBitmapHeader(std::span<const std::uint8_t> bytes) {
  ByteReader in(bytes);
  BitmapHeader header;
  header.type = in.U16();
  in.U32();  // bfSize
  in.U16();  // reserved
  in.U16();  // reserved
  in.U32();  // bfOffBits
  header.size = in.U32();
  header.width = in.I32();
  header.height = in.I32();
  header.planes = in.U16();
  header.bitsPerPixel = in.U16();
  header.compression = in.U32();
  return header;
}

// The list's palette index for each palette entry of a bitmap of 8 bits or fewer.
using PaletteMap = std::array<std::uint8_t, 256>;

bool IsSupportedDepth(std::uint16_t bitsPerPixel) {
  return bitsPerPixel == 1 || bitsPerPixel == 4 || bitsPerPixel == 8 || bitsPerPixel == 24 ||
         bitsPerPixel == 32;
}

// Reads one image-list stream from `source` into `list`: the header, then the bitmap headers,
// then the palette and the bits, taking no byte beyond the stream. Strict where our lists need
// it and the platform's reader would build a broken list (4-bit colour without a mask, at most
// cCurImage images in use of cMaxImage, a bitmap the size of the grid the header describes);
// lenient where the platform's reader is (the sizes and colour counts it ignores, the colour
// depth of the bitmap, rows from the top, ILC_COLOR for ILC_COLOR4 as old writers stored it).
class StreamReader {
 public:
  StreamReader(StreamSource& source, const ImageListShape* shape)
      : source_(source), shape_(shape) {}

  std::optional<StreamError> Read(ListContent& list) {
    StreamHeader header;
    if (auto error = ReadHeader(header)) return error;
    list = ListContent{};
    list.created = true;
    list.cx = header.cx;
    list.cy = header.cy;
    list.flags = ILC_COLOR4;
    list.count = header.count;
    list.capacity = header.capacity;
    list.grow = StoredGrow(header.grow);
    list.background = header.background;
    if (auto error = ReadColourBitmap(list)) return error;
    // Overlays name an image in use (the platform's reader also lets one name cCurImage itself)
    // or none; any other is dropped silently, as the platform's reader drops it.
    for (std::size_t i = 0; i < kOverlayCount; ++i) {
      const std::int16_t overlay = header.overlays[i];
      list.overlays[i] = overlay >= kNoOverlay && overlay <= list.count ? overlay : kNoOverlay;
    }
    return std::nullopt;
  }

 private:
  std::optional<StreamError> ReadHeader(StreamHeader& header) {
    if (source_.Left() < kHeaderSize) {
      return Truncated(Format(L"image-list header needs %u bytes; the stream has %llu",
                              static_cast<unsigned>(kHeaderSize),
                              static_cast<unsigned long long>(source_.Left())));
    }
    header = DecodeHeader(source_.Take(kHeaderSize));
    if (header.magic != kMagic) {
      return Malformed(Format(L"image-list stream starts with 0x%04X, not 'IL' (0x4C49)",
                              static_cast<unsigned>(header.magic)));
    }
    if (header.version != kVersion) {
      return Malformed(Format(L"image-list version 0x%04X is not supported; only 0x0101 is read",
                              static_cast<unsigned>(header.version)));
    }
    if (header.cx == 0 || header.cy == 0 || header.cx > kMaxImageSide ||
        header.cy > kMaxImageSide) {
      return Malformed(Format(L"image-list images of cx %u x cy %u pixels; each side must be 1 "
                              L"to %d",
                              static_cast<unsigned>(header.cx), static_cast<unsigned>(header.cy),
                              kMaxImageSide));
    }
    if (header.flags != ILC_COLOR4 && header.flags != ILC_COLOR) {
      return Malformed(Format(L"image-list flags 0x%04X are not supported; only 4-bit colour "
                              L"without a mask (0x0004) is read",
                              static_cast<unsigned>(header.flags)));
    }
    if (header.count > header.capacity) {
      return Malformed(Format(L"image-list cCurImage %u exceeds cMaxImage %u",
                              static_cast<unsigned>(header.count),
                              static_cast<unsigned>(header.capacity)));
    }
    if (!GridFits(header.cx, header.cy, header.capacity)) {
      return Malformed(Format(L"image-list of %u images of %u x %u pixels is beyond the limit of "
                              L"%llu pixels",
                              static_cast<unsigned>(header.capacity),
                              static_cast<unsigned>(header.cx), static_cast<unsigned>(header.cy),
                              static_cast<unsigned long long>(kMaxGridPixels)));
    }
    return CheckShape(header);
  }

  // The reader's own requirements, when it has any.
  std::optional<StreamError> CheckShape(const StreamHeader& header) const {
    if (shape_ == nullptr) return std::nullopt;
    if (header.cx != shape_->cx || header.cy != shape_->cy) {
      return Malformed(Format(L"image-list images of %u x %u pixels; this list holds %d x %d",
                              static_cast<unsigned>(header.cx), static_cast<unsigned>(header.cy),
                              shape_->cx, shape_->cy));
    }
    if (header.capacity > shape_->maxImages) {
      return Malformed(Format(L"image-list cMaxImage %u is beyond this list's limit of %d images",
                              static_cast<unsigned>(header.capacity), shape_->maxImages));
    }
    return std::nullopt;
  }

  // The colour bitmap: its headers, its palette (mapped onto the list's) and its bits, which
  // become the list's grid. Its size is checked against the bytes left before any is read.
  std::optional<StreamError> ReadColourBitmap(ListContent& list) {
    BitmapHeader header;
    if (auto error = ReadBitmapHeader(header, list)) return error;
    if (auto error = CheckBitmapFits(header, list)) return error;
    PaletteMap paletteMap{};
    ReadPalette(header, paletteMap);
    ReadBits(header, paletteMap, list);
    return std::nullopt;
  }

  std::optional<StreamError> ReadBitmapHeader(BitmapHeader& header, const ListContent& list) {
    constexpr std::size_t kHeadersSize = kFileHeaderSize + kInfoHeaderSize;
    if (source_.Left() < kHeadersSize) {
      return Truncated(Format(L"image-list colour bitmap headers need %u bytes; the stream has "
                              L"%llu left",
                              static_cast<unsigned>(kHeadersSize),
                              static_cast<unsigned long long>(source_.Left())));
    }
    header = DecodeBitmapHeader(source_.Take(kHeadersSize));
    return CheckBitmapHeader(header, list);
  }

  // For 8 bits or fewer, 2^bits palette entries follow the header whatever biClrUsed says.
  static std::uint64_t PaletteBytes(const BitmapHeader& header) {
    return header.bitsPerPixel > 8 ? 0 : (std::uint64_t{1} << header.bitsPerPixel) * kRgbQuadSize;
  }

  std::optional<StreamError> CheckBitmapFits(const BitmapHeader& header,
                                             const ListContent& list) const {
    const std::uint64_t paletteBytes = PaletteBytes(header);
    if (source_.Left() < paletteBytes) {
      return Truncated(Format(L"image-list colour bitmap palette of %u entries needs %u bytes; "
                              L"the stream has %llu left",
                              static_cast<unsigned>(paletteBytes / kRgbQuadSize),
                              static_cast<unsigned>(paletteBytes),
                              static_cast<unsigned long long>(source_.Left())));
    }
    const std::uint64_t stride = RowStride(list.GridWidth(), header.bitsPerPixel);
    const std::uint64_t bitsSize = stride * list.GridRows();  // at most 16 K x 16 M: no overflow
    if (source_.Left() - paletteBytes < bitsSize) {
      return Truncated(Format(L"image-list colour bitmap claims %lld x %lld pixels at %u bits "
                              L"(%llu bytes); the stream has %llu bytes left",
                              static_cast<long long>(header.width),
                              static_cast<long long>(header.height),
                              static_cast<unsigned>(header.bitsPerPixel),
                              static_cast<unsigned long long>(bitsSize),
                              static_cast<unsigned long long>(source_.Left() - paletteBytes)));
    }
    return std::nullopt;
  }

  // Each palette entry is mapped to the nearest colour of the list's palette.
  void ReadPalette(const BitmapHeader& header, PaletteMap& paletteMap) {
    const std::size_t bytes = static_cast<std::size_t>(PaletteBytes(header));
    const std::span<const std::uint8_t> palette = source_.Take(bytes);
    for (std::size_t entry = 0; entry < bytes / kRgbQuadSize; ++entry) {
      const std::uint8_t* quad = &palette[entry * kRgbQuadSize];
      paletteMap[entry] = NearestPaletteIndex(RGB(quad[2], quad[1], quad[0]));
    }
  }

  // Row by row into the grid, in the order stored; rows stored from the bottom are turned over
  // at the end. The common case, 4-bit rows in the list's own palette (every stream this system
  // writes), is copied as it is; others are converted pixel by pixel. The grid grows as rows
  // arrive rather than at once to the size the header claims, so a stream that ends or breaks
  // early (a compressed one can state more than it holds) costs no more than what it held.
  void ReadBits(const BitmapHeader& header, const PaletteMap& paletteMap, ListContent& list) {
    const std::size_t width = list.GridWidth();
    const std::size_t rows = list.GridRows();
    const std::size_t rowBytes = list.GridRowBytes();
    const std::size_t stride = static_cast<std::size_t>(RowStride(width, header.bitsPerPixel));
    const bool asStored = header.bitsPerPixel == kListBitsPerPixel && IsIdentity(paletteMap);
    list.grid.clear();
    for (std::size_t y = 0; y < rows; ++y) {
      GrowTo(list.grid, (y + 1) * rowBytes, rows * rowBytes);
      if (asStored) {
        source_.TakeInto(list.grid.data() + y * rowBytes, rowBytes);
        if (stride > rowBytes) source_.Take(stride - rowBytes);
        continue;
      }
      const std::span<const std::uint8_t> row = source_.Take(stride);
      for (std::size_t x = 0; x < width; ++x) {
        list.SetIndex(x, y, IndexOfPixel(row, x, header.bitsPerPixel, paletteMap));
      }
    }
    if (header.height > 0) TurnRowsOver(list.grid, rowBytes);
  }

  // Zero bytes up to `size`, the room doubling but never beyond `finalSize`, so that a whole
  // grid ends with no room to spare.
  static void GrowTo(std::vector<std::uint8_t>& grid, std::size_t size, std::size_t finalSize) {
    if (grid.capacity() < size) {
      grid.reserve(std::min(finalSize, std::max(size, 2 * grid.capacity())));
    }
    grid.resize(size, 0);
  }

  static void TurnRowsOver(std::vector<std::uint8_t>& grid, std::size_t rowBytes) {
    const std::size_t rows = grid.size() / rowBytes;
    for (std::size_t top = 0, bottom = rows; top + 1 < bottom; ++top, --bottom) {
      std::swap_ranges(grid.begin() + static_cast<std::ptrdiff_t>(top * rowBytes),
                       grid.begin() + static_cast<std::ptrdiff_t>((top + 1) * rowBytes),
                       grid.begin() + static_cast<std::ptrdiff_t>((bottom - 1) * rowBytes));
    }
  }

  static bool IsIdentity(const PaletteMap& paletteMap) {
    for (std::size_t index = 0; index < kPalette.size(); ++index) {
      if (paletteMap[index] != index) return false;
    }
    return true;
  }

  static std::optional<StreamError> CheckBitmapHeader(const BitmapHeader& header,
                                                      const ListContent& list) {
    if (header.type != kBitmapType) {
      return Malformed(Format(L"image-list colour bitmap has type 0x%04X, not 'BM' (0x4D42)",
                              static_cast<unsigned>(header.type)));
    }
    if (header.size != kInfoHeaderSize) {
      return Malformed(Format(L"image-list colour bitmap header has biSize %lu; only the 40-byte "
                              L"header is read",
                              static_cast<unsigned long>(header.size)));
    }
    if (header.planes != 1 || !IsSupportedDepth(header.bitsPerPixel)) {
      return Malformed(Format(L"image-list colour bitmap has %u planes of %u bits per pixel; one "
                              L"plane of 1, 4, 8, 24 or 32 bits is read",
                              static_cast<unsigned>(header.planes),
                              static_cast<unsigned>(header.bitsPerPixel)));
    }
    if (header.compression != kUncompressed) {
      return Malformed(Format(L"image-list colour bitmap has biCompression %lu; only "
                              L"uncompressed bits (0) are read",
                              static_cast<unsigned long>(header.compression)));
    }
    const std::int64_t height = header.height;
    if (header.width < 0 || static_cast<std::uint64_t>(header.width) != list.GridWidth() ||
        static_cast<std::uint64_t>(height < 0 ? -height : height) != list.GridRows()) {
      return Malformed(Format(L"image-list colour bitmap is %lld x %lld pixels; %d images of "
                              L"%d x %d need %llu x %llu",
                              static_cast<long long>(header.width),
                              static_cast<long long>(header.height), list.capacity, list.cx,
                              list.cy, static_cast<unsigned long long>(list.GridWidth()),
                              static_cast<unsigned long long>(list.GridRows())));
    }
    return std::nullopt;
  }

  // The list's palette index for pixel x of a stored row.
  static std::uint8_t IndexOfPixel(std::span<const std::uint8_t> row, std::size_t x,
                                   std::uint16_t bitsPerPixel,
                                   const PaletteMap& paletteMap) {
    switch (bitsPerPixel) {
      case 1:
        return paletteMap[(row[x / 8] >> (7 - x % 8)) & 0x01];
      case 4:
        return paletteMap[(row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0F];
      case 8:
        return paletteMap[row[x]];
      case 24:
        return NearestPaletteIndex(RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]));
      default:  // 32: blue, green, red, unused
        return NearestPaletteIndex(RGB(row[4 * x + 2], row[4 * x + 1], row[4 * x]));
    }
  }

  StreamSource& source_;
  const ImageListShape* shape_;  // nullptr: any shape
};

}  // namespace

struct CImageList::State {
  mutable std::mutex mutex;
  ListContent list;
  int imageLimit = kMaxImageCount;
  std::uint64_t generation = NextGeneration();

  // Under mutex, after the images changed.
  void Changed() { generation = NextGeneration(); }
  // Unique across lists, so a list that took another's images never looks unchanged.
  static std::uint64_t NextGeneration() {
    static std::atomic<std::uint64_t> last{0};
    return ++last;
  }
};

namespace {

// Reads one stream through an archive; throws as CImageList::Read promises.
ListContent ReadFromArchive(CArchive& archive, const ImageListShape* shape) {
  ArchiveSource source(archive);
  ListContent list;
  if (std::optional<StreamError> error = StreamReader(source, shape).Read(list)) {
    throw CArchiveException(
        error->truncated ? CArchiveException::endOfFile : CArchiveException::genericException,
        std::move(error->message));
  }
  return list;
}

}  // namespace

CImageList::CImageList() : state_(std::make_shared<State>()) {}

bool CImageList::Create(int cx, int cy, std::uint16_t flags, int initial, int grow) {
  if (cx <= 0 || cy <= 0 || cx > kMaxImageSide || cy > kMaxImageSide ||
      (flags != ILC_COLOR4 && flags != (ILC_COLOR4 | ILC_MASK))) {
    return false;
  }
  const std::int64_t capacity = std::int64_t{std::max(initial, 0)} + 1;
  if (!GridFits(cx, cy, capacity)) return false;
  if (!state_) state_ = std::make_shared<State>();
  if (capacity > state_->imageLimit) return false;

  ListContent list;
  list.created = true;
  list.cx = cx;
  list.cy = cy;
  list.flags = flags;
  list.capacity = static_cast<int>(capacity);
  list.grow = StoredGrow(grow);
  list.grid.assign(list.GridRows() * list.GridRowBytes(), 0);
  if (list.HasMask()) list.mask.assign(list.GridRows() * list.GridWidth(), 0);
  std::lock_guard lock(state_->mutex);
  state_->list = std::move(list);
  state_->Changed();
  return true;
}

void CImageList::DeleteImageList() {
  if (!state_) return;
  std::lock_guard lock(state_->mutex);
  state_->list = ListContent{};
  state_->Changed();
}

void CImageList::CopyFrom(const CImageList& other) {
  if (!state_) state_ = std::make_shared<State>();
  if (other.state_ == state_) return;
  if (!other.state_) return DeleteImageList();
  std::scoped_lock lock(state_->mutex, other.state_->mutex);
  other.state_->list.Share();
  state_->list = other.state_->list;
  state_->Changed();
}

void CImageList::TakeFrom(CImageList& other) {
  if (!state_) state_ = std::make_shared<State>();
  if (other.state_ == state_) return;
  if (!other.state_) return DeleteImageList();
  std::scoped_lock lock(state_->mutex, other.state_->mutex);
  state_->list = std::exchange(other.state_->list, ListContent{});
  state_->Changed();
  other.state_->Changed();
}

void CImageList::SetImageLimit(int images) {
  if (!state_) state_ = std::make_shared<State>();
  std::lock_guard lock(state_->mutex);
  state_->imageLimit = std::clamp(images, 1, kMaxImageCount);
}

bool CImageList::IsCreated() const {
  if (!state_) return false;
  std::lock_guard lock(state_->mutex);
  return state_->list.created;
}

int CImageList::GetImageCount() const {
  if (!state_) return 0;
  std::lock_guard lock(state_->mutex);
  return state_->list.count;
}

int CImageList::ImageWidth() const {
  if (!state_) return 0;
  std::lock_guard lock(state_->mutex);
  return state_->list.cx;
}

int CImageList::ImageHeight() const {
  if (!state_) return 0;
  std::lock_guard lock(state_->mutex);
  return state_->list.cy;
}

int CImageList::Add(const Bitmap& bitmap) { return Add(bitmap, kNoBackground); }

int CImageList::Add(const Bitmap& bitmap, COLORREF maskColour) {
  if (!state_) return -1;
  std::lock_guard lock(state_->mutex);
  ListContent& list = state_->list;
  // As on the platform, a bitmap narrower than one image adds nothing.
  if (!list.created || bitmap.Width() < list.cx || bitmap.IsEmpty()) return -1;
  list.Unshare();
  if (!MakeRoom(list, 1, state_->imageLimit)) return -1;
  const int index = list.count;
  CopyIntoCell(list, index, bitmap);
  if (list.HasMask()) {
    const int height = std::min(list.cy, bitmap.Height());
    for (int y = 0; y < list.cy; ++y) {
      for (int x = 0; x < list.cx; ++x) {
        const std::size_t gridX = list.CellLeft(index) + x;
        const std::size_t gridY = list.CellTop(index) + y;
        const bool clear = y < height && (bitmap.GetPixel(x, y) & 0x00FFFFFFu) == maskColour;
        list.mask[list.MaskAt(gridX, gridY)] = clear ? 1 : 0;
        if (clear) list.SetIndex(gridX, gridY, 0);
      }
    }
  }
  ++list.count;
  state_->Changed();
  return index;
}

bool CImageList::Replace(int index, const Bitmap& bitmap) {
  if (!state_) return false;
  std::lock_guard lock(state_->mutex);
  ListContent& list = state_->list;
  if (!list.created || index < 0 || index >= list.count || bitmap.IsEmpty()) return false;
  list.Unshare();
  if (bitmap.Width() == list.cx && bitmap.Height() == list.cy) {
    CopyIntoCell(list, index, bitmap);
  } else {
    StretchIntoCell(list, index, bitmap);
  }
  // The new image has no mask colour: every pixel of it shows, none of the old one's
  // transparent parts.
  if (list.HasMask()) ClearCellMask(list, index);
  state_->Changed();
  return true;
}

std::uint64_t CImageList::Generation() const {
  if (!state_) return 0;
  std::lock_guard lock(state_->mutex);
  return state_->generation;
}

Bitmap CImageList::GetImage(int index) const {
  if (!state_) return Bitmap();
  std::lock_guard lock(state_->mutex);
  const ListContent& list = state_->list;
  if (!list.created || index < 0 || index >= list.count) return Bitmap();
  Bitmap image(list.cx, list.cy);
  for (int y = 0; y < list.cy; ++y) {
    for (int x = 0; x < list.cx; ++x) {
      const std::uint8_t stored = list.IndexAt(list.CellLeft(index) + x, list.CellTop(index) + y);
      image.SetPixel(x, y, kPalette[stored]);
    }
  }
  return image;
}

bool CImageList::Draw(Bitmap& target, int index, int x, int y) const {
  if (!state_) return false;
  std::lock_guard lock(state_->mutex);
  const ListContent& list = state_->list;
  if (!list.created || index < 0 || index >= list.count) return false;
  for (int row = 0; row < list.cy; ++row) {
    for (int column = 0; column < list.cx; ++column) {
      const std::size_t gridX = list.CellLeft(index) + column;
      const std::size_t gridY = list.CellTop(index) + row;
      if (list.HasMask() && list.mask[list.MaskAt(gridX, gridY)] != 0) continue;
      target.SetPixel(x + column, y + row, kPalette[list.IndexAt(gridX, gridY)]);
    }
  }
  return true;
}

std::vector<std::uint8_t> CImageList::WriteStream() const {
  if (!state_) return {};
  std::lock_guard lock(state_->mutex);
  if (!state_->list.created || state_->list.HasMask()) return {};
  return EncodeStream(state_->list);
}

Status CImageList::ReadStream(std::span<const std::uint8_t> bytes, std::size_t* consumed) {
  if (consumed != nullptr) *consumed = 0;
  SpanSource source(bytes);
  ListContent list;
  if (std::optional<StreamError> error = StreamReader(source, nullptr).Read(list)) {
    return Status::Failure(std::move(error->message));
  }
  if (!state_) state_ = std::make_shared<State>();
  {
    std::lock_guard lock(state_->mutex);
    state_->list = std::move(list);
  state_->Changed();
  }
  if (consumed != nullptr) *consumed = source.Consumed();
  return Status::Success();
}

void CImageList::Write(CArchive& archive) const {
  std::vector<std::uint8_t> bytes = WriteStream();
  if (bytes.empty()) {
    throw CArchiveException(CArchiveException::genericException,
                            L"writing an image list that was never created or has a mask");
  }
  archive.Write(bytes.data(), bytes.size());
}

void CImageList::Read(CArchive& archive) {
  ListContent list = ReadFromArchive(archive, nullptr);
  if (!state_) state_ = std::make_shared<State>();
  std::lock_guard lock(state_->mutex);
  state_->list = std::move(list);
  state_->Changed();
}

void CImageList::Read(CArchive& archive, const ImageListShape& shape) {
  ListContent list = ReadFromArchive(archive, &shape);
  if (!state_) state_ = std::make_shared<State>();
  std::lock_guard lock(state_->mutex);
  state_->list = std::move(list);
  state_->Changed();
}

}  // namespace fw
