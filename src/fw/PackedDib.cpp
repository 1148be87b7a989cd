// Validation of a packed bitmap's header against its bytes, and the pixel and colour lookups the
// stretch code reads through.
#include "fw/PackedDib.h"

#include <bit>
#include <string>

#include "fw/ByteReader.h"

namespace fw {
namespace {

constexpr std::uint32_t kInfoHeaderSize = 40;
// The largest header the platform defines (the fifth version); anything larger is not a bitmap.
constexpr std::uint32_t kMaxHeaderSize = 124;
// Headers from this size on carry the red, green and blue masks themselves (offset 40).
constexpr std::uint32_t kHeaderWithMasks = 52;
// Sides beyond this are refused: no preview comes near it (the PNG conversion writes 16-bit
// sides), and it keeps every coordinate product far inside 64 bits.
constexpr std::int64_t kMaxSide = 65535;
// A palette holds at most one entry per 8-bit index.
constexpr std::uint32_t kMaxPaletteEntries = 256;
constexpr std::size_t kPaletteEntrySize = 4;

struct Header {
  std::uint32_t size = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint16_t bitCount = 0;
  std::uint32_t compression = 0;
  std::uint32_t coloursUsed = 0;
};

Header ReadHeader(ByteReader& in) {
  Header header;
  header.size = in.U32();
  header.width = in.I32();
  header.height = in.I32();
  in.U16();  // planes: previews written by others sometimes leave it 0; it changes nothing
  header.bitCount = in.U16();
  header.compression = in.U32();
  in.U32();  // image size: may be 0 for uncompressed rows, and the rows are checked below
  in.I32();
  in.I32();
  header.coloursUsed = in.U32();
  in.U32();
  return header;
}

bool IsSupportedBitCount(int bitCount) {
  return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 ||
         bitCount == 32;
}

std::wstring Number(std::int64_t value) { return std::to_wstring(value); }

Status CheckHeader(const Header& header, std::size_t available) {
  if (available < kInfoHeaderSize) {
    return Status::Failure(L"packed bitmap has " + Number(static_cast<std::int64_t>(available)) +
                           L" bytes; its header alone needs 40");
  }
  if (header.size < kInfoHeaderSize || header.size > kMaxHeaderSize) {
    return Status::Failure(L"packed bitmap header size " + Number(header.size) +
                           L" is not between 40 and 124");
  }
  if (header.width <= 0 || header.width > kMaxSide) {
    return Status::Failure(L"packed bitmap width " + Number(header.width) +
                           L" is not between 1 and 65535");
  }
  const std::int64_t height = header.height;
  if (height == 0 || height > kMaxSide || height < -kMaxSide) {
    return Status::Failure(L"packed bitmap height " + Number(height) +
                           L" is 0 or beyond 65535 either way");
  }
  if (!IsSupportedBitCount(header.bitCount)) {
    return Status::Failure(L"packed bitmap bit count " + Number(header.bitCount) +
                           L" is not 1, 4, 8, 16, 24 or 32");
  }
  const bool bitFields = header.compression == PackedDib::kBitFields;
  if (header.compression != PackedDib::kRgb && !bitFields) {
    return Status::Failure(L"packed bitmap compression " + Number(header.compression) +
                           L" is not 0 (uncompressed) or 3 (bit fields)");
  }
  if (bitFields && header.bitCount != 16 && header.bitCount != 32) {
    return Status::Failure(L"packed bitmap uses bit fields with " + Number(header.bitCount) +
                           L" bits; they need 16 or 32");
  }
  if (header.coloursUsed > kMaxPaletteEntries) {
    return Status::Failure(L"packed bitmap colours used " + Number(header.coloursUsed) +
                           L" is above 256");
  }
  return Status::Success();
}

// The palette's entries: the colours-used count when given; otherwise a full palette for 8 bits
// and fewer, and none for more bits (their pixels hold colours, so a palette would only move
// the rows).
std::size_t PaletteEntries(const Header& header) {
  if (header.coloursUsed != 0) return header.coloursUsed;
  return header.bitCount <= 8 ? std::size_t{1} << header.bitCount : 0;
}

// Scales a channel of `bits` bits to 8 by repeating its bits, as the platform widens 5-bit
// channels (v << 3 | v >> 2); wider channels keep their top 8 bits.
std::uint32_t WidenChannel(std::uint32_t value, int bits) {
  if (bits >= 8) return value >> (bits - 8);
  std::uint32_t widened = 0;
  int filled = 0;
  while (filled < 8) {
    widened = (widened << bits) | value;
    filled += bits;
  }
  return widened >> (filled - 8);
}

std::uint8_t Channel(std::uint32_t raw, std::uint32_t mask) {
  const int shift = std::countr_zero(mask);
  const int bits = std::countr_one(mask >> shift);
  const std::uint32_t value = (raw >> shift) & ((bits >= 32) ? 0xFFFFFFFFu : ((1u << bits) - 1));
  return static_cast<std::uint8_t>(WidenChannel(value, bits));
}

}  // namespace

Result<PackedDib> PackedDib::Parse(std::span<const std::uint8_t> bytes) {
  ByteReader in(bytes);
  const Header header = ReadHeader(in);
  if (Status status = CheckHeader(header, bytes.size()); !status) {
    return Result<PackedDib>::Failure(status.Message());
  }

  PackedDib dib;
  dib.bytes_ = bytes;
  dib.width_ = header.width;
  dib.topDown_ = header.height < 0;
  dib.height_ = dib.topDown_ ? -header.height : header.height;
  dib.bitCount_ = header.bitCount;
  dib.compression_ = header.compression;

  std::uint64_t offset = header.size;
  if (header.compression == kBitFields) {
    const std::uint64_t masksAt = header.size >= kHeaderWithMasks ? kInfoHeaderSize : offset;
    if (masksAt + 12 > bytes.size()) {
      return Result<PackedDib>::Failure(L"packed bitmap of " + Number(bytes.size()) +
                                        L" bytes ends before its colour masks at offset " +
                                        Number(masksAt));
    }
    ByteReader masks(bytes.subspan(masksAt, 12));
    for (std::uint32_t& mask : dib.masks_) mask = masks.U32();
    if (dib.masks_[0] == 0 || dib.masks_[1] == 0 || dib.masks_[2] == 0) {
      return Result<PackedDib>::Failure(L"packed bitmap has a colour mask of 0");
    }
    if (header.size < kHeaderWithMasks) offset += 12;
  } else if (header.bitCount == 16) {
    dib.masks_ = {0x7C00, 0x03E0, 0x001F};
  } else {
    dib.masks_ = {0xFF0000, 0x00FF00, 0x0000FF};
  }

  dib.paletteOffset_ = static_cast<std::size_t>(offset);
  dib.paletteCount_ = PaletteEntries(header);
  offset += dib.paletteCount_ * kPaletteEntrySize;
  dib.pixelOffset_ = static_cast<std::size_t>(offset);
  // At most 65535 * 32 bits per row and 65535 rows: no product here leaves 64 bits.
  const std::uint64_t stride = (static_cast<std::uint64_t>(header.width) * header.bitCount + 31) /
                               32 * 4;
  dib.stride_ = static_cast<std::size_t>(stride);
  const std::uint64_t needed = offset + stride * static_cast<std::uint64_t>(dib.height_);
  if (needed > bytes.size()) {
    return Result<PackedDib>::Failure(
        L"packed bitmap of " + Number(dib.width_) + L" x " + Number(dib.height_) + L" at " +
        Number(dib.bitCount_) + L" bits with " + Number(dib.paletteCount_) +
        L" palette entries needs " + Number(static_cast<std::int64_t>(needed)) +
        L" bytes; it has " + Number(static_cast<std::int64_t>(bytes.size())));
  }
  return Result<PackedDib>::Success(dib);
}

std::uint32_t PackedDib::RawPixel(int x, int y) const {
  std::uint32_t value = 0;
  DecodeRow(StoredRow(y), x, 1, &value);
  return value;
}

const std::uint8_t* PackedDib::StoredRow(int y) const {
  const std::size_t storedRow = static_cast<std::size_t>(topDown_ ? y : height_ - 1 - y);
  return bytes_.data() + pixelOffset_ + storedRow * stride_;
}

void PackedDib::DecodeRow(const std::uint8_t* row, int x, int count, std::uint32_t* out) const {
  const std::size_t first = static_cast<std::size_t>(x);
  const std::size_t end = first + static_cast<std::size_t>(count);
  for (std::size_t column = first; column < end; ++column) {
    switch (bitCount_) {
      case 1:
        *out++ = (row[column / 8] >> (7 - column % 8)) & 1u;
        break;
      case 4:
        *out++ = (row[column / 2] >> (column % 2 == 0 ? 4 : 0)) & 0xFu;
        break;
      case 8:
        *out++ = row[column];
        break;
      case 16:
        *out++ = row[column * 2] | (std::uint32_t{row[column * 2 + 1]} << 8);
        break;
      case 24:
        *out++ = row[column * 3] | (std::uint32_t{row[column * 3 + 1]} << 8) |
                 (std::uint32_t{row[column * 3 + 2]} << 16);
        break;
      default:
        *out++ = row[column * 4] | (std::uint32_t{row[column * 4 + 1]} << 8) |
                 (std::uint32_t{row[column * 4 + 2]} << 16) |
                 (std::uint32_t{row[column * 4 + 3]} << 24);
        break;
    }
  }
}

COLORREF PackedDib::ColourOf(std::uint32_t raw) const {
  if (bitCount_ <= 8) {
    if (raw >= paletteCount_) return RGB(0, 0, 0);
    const std::uint8_t* entry = bytes_.data() + paletteOffset_ + raw * kPaletteEntrySize;
    return RGB(entry[2], entry[1], entry[0]);
  }
  return RGB(Channel(raw, masks_[0]), Channel(raw, masks_[1]), Channel(raw, masks_[2]));
}

std::vector<std::uint8_t> PackBitmap(const Bitmap& bitmap, int x, int y, int width,
                                     int height) {
  constexpr std::size_t kHeaderBytes = 40;
  const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
  std::vector<std::uint8_t> bytes;
  bytes.reserve(kHeaderBytes + rowBytes * static_cast<std::size_t>(height));
  auto put = [&bytes](std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  };
  put(kHeaderBytes, 4);
  put(static_cast<std::uint32_t>(width), 4);
  put(static_cast<std::uint32_t>(-height), 4);  // negative: rows from the top
  put(1, 2);
  put(32, 2);
  for (int field = 0; field < 6; ++field) put(0, 4);  // BI_RGB, sizes, resolutions, colours
  for (int row = y; row < y + height; ++row) {
    const auto from = bitmap.Bits().begin() +
                      static_cast<std::ptrdiff_t>((static_cast<std::size_t>(row) *
                                                       static_cast<std::size_t>(bitmap.Width()) +
                                                   static_cast<std::size_t>(x)) * 4);
    bytes.insert(bytes.end(), from, from + static_cast<std::ptrdiff_t>(rowBytes));
  }
  return bytes;
}

}  // namespace fw
