// The image section of a drawing file (R13 and later): where its header data and its preview
// image lie. Pure parsers over bytes already in memory; DrawingFile reads the bytes they need.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "fw/Result.h"

namespace dwgprobe {

// Layout (little-endian, offsets absolute from the start of the file):
//   0            6 bytes   version string
//   13           4 bytes   image seeker: address of the image data
//   seeker       16 bytes  sentinel (skipped, not checked)
//   seeker + 16  4 bytes   overall size of the image data (read, not used)
//   seeker + 20  1 byte    record count N
//   seeker + 21  N x 9     records: code (1 byte), start (4 bytes), size (4 bytes)
inline constexpr std::size_t kSeekerOffset = 13;
inline constexpr std::size_t kFileHeaderBytes = kSeekerOffset + 4;
inline constexpr std::size_t kRecordBytes = 9;
inline constexpr std::size_t kRecordsOffset = 21;
// The count is one byte, so the directory never needs more than this.
inline constexpr std::size_t kMaxImageDirectoryBytes = kRecordsOffset + 255 * kRecordBytes;

// Record codes; any other code (3 is a WMF image) is skipped.
inline constexpr std::uint8_t kHeaderDataCode = 1;
inline constexpr std::uint8_t kBmpCode = 2;
inline constexpr std::uint8_t kPngCode = 6;

// A preview larger than this is refused before anything is allocated for it: the largest real
// previews are a few hundred kilobytes, so this only stops a damaged size from taking memory.
inline constexpr std::uint64_t kMaxPreviewBytes = 64ull << 20;
// Header data holds a short description; a claim beyond this is damage.
inline constexpr std::uint64_t kMaxHeaderDataBytes = 1ull << 20;

struct ImageRecord {
  std::uint8_t code = 0;
  std::uint32_t start = 0;
  std::uint32_t size = 0;
};

struct ImageSection {
  std::optional<ImageRecord> headerData;  // the last header-data record
  std::optional<ImageRecord> image;       // the last record with code 2 or 6
  bool png = false;                       // any record had code 6
  // Empty when the whole directory was read; otherwise what ended the reading early. The
  // records read before the error are kept.
  std::wstring error;
};

// The image seeker from the first kFileHeaderBytes bytes of the file; an error for fewer bytes.
fw::Result<std::uint32_t> ReadImageSeeker(std::span<const std::uint8_t> fileHeader);

// Walks the directory from the bytes starting at the seeker (as many as the file has, up to
// kMaxImageDirectoryBytes). `seeker` only names offsets in the error text.
ImageSection ReadImageDirectory(std::span<const std::uint8_t> atSeeker, std::uint32_t seeker);

// The whole walk over a file held in memory: seeker, then directory.
ImageSection ReadImageSection(std::span<const std::uint8_t> file);

// Success when the record's bytes lie inside a file of `fileSize` bytes and the record is not
// larger than `cap`; otherwise a message naming the record, its numbers and the file size.
fw::Status CheckRecord(const ImageRecord& record, std::uint64_t fileSize, std::uint64_t cap);

// The description header data carries: the bytes up to the first zero, as UTF-8; nothing when
// the first byte is zero (or there are no bytes).
std::optional<std::wstring> DescriptionFromHeaderData(std::span<const std::uint8_t> headerData);

}  // namespace dwgprobe
