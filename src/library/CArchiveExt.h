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
// Reading is strict about sizes: a stated L above the reader's cap on the stream (kMaxStreamBytes
// unless the reader gives a lower one), or above what zlib can expand the compressed bytes to,
// makes the file invalid before anything is inflated; so does a file larger than a stream under
// the cap can be. The stream is inflated as the archive reads it, straight into the archive's
// buffer, so a reader that finds damage early stops early, and the whole stream is never held;
// closing the archive checks that the stream holds exactly L bytes. Reading is lenient where the
// stored bytes carry no meaning for us: the mode byte, the undefined byte and the checksum are
// not checked.
//
// One thread uses an archive at a time.
class CArchiveExt {
 public:
  static constexpr std::size_t kBufferSize = 4096;
  static constexpr std::size_t kMemoryGrowBytes = 1024;
  static constexpr std::size_t kHeaderBytes = 16;
  // No main cache comes near this (100,000 blocks take about 12 MB); it keeps a damaged length
  // from asking for gigabytes.
  static constexpr std::uint64_t kMaxStreamBytes = std::uint64_t{1} << 30;
  // zlib's deflate cannot shrink data by more than about 1032 to 1, so a larger stated ratio is
  // damage.
  static constexpr std::uint64_t kMaxDeflateRatio = 1032;

  // `file` is open (for reading when loading, for writing when storing), stays owned by the
  // caller and outlives the archive. Loading with compression on reads the whole file here and,
  // when it carries the container, inflates it as the archive reads; throws fw::CFileException
  // when the file cannot be read and fw::CArchiveException when the container is invalid or the
  // stream is larger than `maxStreamBytes`. Reading the archive throws fw::CArchiveException for
  // damaged compressed data.
  CArchiveExt(fw::CFile* file, fw::CArchive::Mode mode, std::size_t bufferSize, bool compress,
              std::uint64_t maxStreamBytes = kMaxStreamBytes);
  // Closes an archive that is still open (errors are swallowed), then aborts.
  virtual ~CArchiveExt();
  CArchiveExt(const CArchiveExt&) = delete;
  CArchiveExt& operator=(const CArchiveExt&) = delete;

  // Flushes the archive; when compressing and storing, writes the container to the file; when
  // loading a container, checks that its stream holds exactly the stated length. The memory is
  // released; the caller closes the file afterwards. Throws the framework's file and archive
  // exceptions.
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
  static std::vector<std::uint8_t> Unpack(std::vector<std::uint8_t> fileBytes,
                                          std::uint64_t maxStreamBytes = kMaxStreamBytes);
  // The largest file that can hold a stream of `maxStreamBytes`, deflated or not.
  static std::uint64_t MaxFileBytes(std::uint64_t maxStreamBytes);

 private:
  class InflatingFile;

  static std::vector<std::uint8_t> ReadWholeFile(fw::CFile& file, std::uint64_t maxBytes);
  void OpenForLoading(std::size_t bufferSize, std::uint64_t maxStreamBytes);
  void ReleaseMemory();

  fw::CFile* file_;
  bool storing_;
  bool compress_;
  bool open_ = true;
  // Declared before the archive, which refers to them, so they are destroyed after it.
  // Storing with compression: the stream as it is collected.
  std::unique_ptr<fw::CMemFile> memory_;
  // Loading with compression: the file's bytes, read as they are or inflated as read.
  std::unique_ptr<fw::CFile> loaded_;
  InflatingFile* inflating_ = nullptr;  // `loaded_` when it inflates
  std::unique_ptr<fw::CArchive> archive_;
};

}  // namespace library
