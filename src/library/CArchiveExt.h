// The cache files' archive: the framework's archive, which with compression on collects the
// whole stream in memory and stores it deflated in the "akz" container.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "fw/Archive.h"
#include "fw/File.h"

namespace library {

// Compressed container ("akz"), little-endian:
//   offset 0   6 bytes  'a' 0 'k' 0 'z' 0   (the three UTF-16 units "akz")
//   offset 6   1 byte   mode: 1
//   offset 7   1 byte   not defined (written 0, ignored on reading)
//   offset 8   uint32   length L of the uncompressed stream
//   offset 12  uint32   Adler-32 of the compressed bytes that follow (not checked on reading)
//   offset 16  rest     the stream deflated by zlib's one-call compression (header and trailer)
// With compression off the stream is the whole file.
//
// Reading is strict about sizes: a stated L above kMaxStreamBytes, or above what zlib can
// expand the compressed bytes to, makes the file invalid before anything that large is
// allocated; so does a file above kMaxFileBytes. It is lenient where the stored bytes carry no
// meaning for us: the mode byte, the undefined byte and the checksum are not checked.
//
// One thread uses an archive at a time.
class CArchiveExt {
 public:
  static constexpr std::size_t kBufferSize = 4096;
  static constexpr std::size_t kMemoryGrowBytes = 1024;
  static constexpr std::size_t kHeaderBytes = 16;
  // No cache comes near this (100,000 blocks take about 15 MB); it keeps a damaged length from
  // asking for gigabytes.
  static constexpr std::uint64_t kMaxStreamBytes = std::uint64_t{1} << 30;
  static constexpr std::uint64_t kMaxFileBytes = kMaxStreamBytes;
  // zlib's deflate cannot shrink data by more than about 1032 to 1, so a larger stated ratio is
  // damage.
  static constexpr std::uint64_t kMaxDeflateRatio = 1032;

  // `file` is open (for reading when loading, for writing when storing), stays owned by the
  // caller and outlives the archive. Loading with compression on reads the whole file here and
  // inflates it when it carries the container; throws fw::CFileException when the file cannot
  // be read and fw::CArchiveException when the container is invalid.
  CArchiveExt(fw::CFile* file, fw::CArchive::Mode mode, std::size_t bufferSize, bool compress);
  // Closes an archive that is still open (errors are swallowed), then aborts.
  virtual ~CArchiveExt();
  CArchiveExt(const CArchiveExt&) = delete;
  CArchiveExt& operator=(const CArchiveExt&) = delete;

  // Flushes the archive; when compressing and storing, writes the container to the file. The
  // memory is released; the caller closes the file afterwards. Throws the framework's file and
  // archive exceptions.
  virtual void Close();
  // Releases the memory and drops what was not written. Never throws.
  virtual void Abort();

  fw::CArchive& Archive() { return *archive_; }
  bool IsCompressing() const { return compress_; }

  // The container of a whole stream (header and deflated bytes). Throws fw::CArchiveException
  // for a stream above kMaxStreamBytes.
  static std::vector<std::uint8_t> Pack(std::span<const std::uint8_t> stream);
  // The stream a file's bytes hold: inflated when they start with "akz", else the bytes as they
  // are. Throws fw::CArchiveException, naming the numbers, for an invalid container.
  static std::vector<std::uint8_t> Unpack(std::vector<std::uint8_t> fileBytes);

 private:
  static std::vector<std::uint8_t> ReadWholeFile(fw::CFile& file);
  void ReleaseMemory();

  fw::CFile* file_;
  bool storing_;
  bool compress_;
  bool open_ = true;
  // Declared before the archive, which refers to it, so it is destroyed after it.
  std::unique_ptr<fw::CMemFile> memory_;
  std::unique_ptr<fw::CArchive> archive_;
};

}  // namespace library
