// The framework's binary archive: primitive values in the little-endian encodings of the cache
// files, buffered over a CFile. Reading past the end, or a length that cannot fit in what is
// left of the file, throws CArchiveException before anything is allocated.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fw/CompactString.h"
#include "fw/File.h"

namespace fw {

class CArchive {
 public:
  enum Mode { store = 0, load = 1 };

  // The file stays owned by the caller and must outlive the archive.
  CArchive(CFile* file, Mode mode, std::size_t bufferSize = 4096);
  ~CArchive();  // flushes a storing archive that was not closed (errors are swallowed)
  CArchive(const CArchive&) = delete;
  CArchive& operator=(const CArchive&) = delete;

  bool IsLoading() const { return mode_ == load; }
  bool IsStoring() const { return mode_ == store; }
  CFile* GetFile() const { return file_; }

  // int32, bool as int32 (any non-zero reads as true), double, unsigned 64-bit, and time as
  // signed 64-bit seconds since 1970.
  void WriteInt32(std::int32_t value);
  void WriteBool(bool value);
  void WriteDouble(double value);
  void WriteUInt64(std::uint64_t value);
  void WriteTime(std::int64_t secondsSince1970);
  std::int32_t ReadInt32() { return static_cast<std::int32_t>(ReadUnsigned<std::uint32_t>()); }
  bool ReadBool() { return ReadInt32() != 0; }
  double ReadDouble() { return std::bit_cast<double>(ReadUInt64()); }
  std::uint64_t ReadUInt64() { return ReadUnsigned<std::uint64_t>(); }
  std::int64_t ReadTime() { return static_cast<std::int64_t>(ReadUInt64()); }

  // Strings: written as UTF-16 with the tag FF FE FF and the length prefix (one byte below 255;
  // FF + 16 bits below 0xFFFE; FF FF FF + 32 bits below 0xFFFFFFFF; else 7 x FF + 64 bits).
  // Read with or without the tag; without it the characters are single bytes of the system's
  // narrow code page (UTF-8 here). Both ways a name's bytes that are not UTF-8, carried as
  // U+DC80..U+DCFF (fw/NativePath.h), are kept exactly.
  // ReadCompactString reads the same, decoding straight into the compact string's own block.
  void WriteString(std::wstring_view text);
  std::wstring ReadString();
  CompactString ReadCompactString();

  void Write(const void* bytes, std::size_t count);
  // Reads exactly `count` bytes or throws endOfFile.
  void Read(void* bytes, std::size_t count);
  // Bytes left to read: what the buffer holds plus the rest of the file.
  std::uint64_t BytesLeft() const;

  void Flush();
  // Flushes a storing archive; the file stays open.
  void Close();
  // Drops buffered data without writing; never throws.
  void Abort();

 private:
  // A little-endian value, taken where it lies when the buffer holds it (a cache of 100,000
  // blocks makes a million such reads), else through Read with its checks.
  template <typename Unsigned>
  Unsigned ReadUnsigned() {
    std::uint8_t bytes[sizeof(Unsigned)];
    if (IsLoading() && !closed_ && bufferEnd_ - bufferPosition_ >= sizeof bytes) {
      std::memcpy(bytes, buffer_.data() + bufferPosition_, sizeof bytes);
      bufferPosition_ += sizeof bytes;
    } else {
      Read(bytes, sizeof bytes);
    }
    Unsigned value;
    std::memcpy(&value, bytes, sizeof value);
    if constexpr (std::endian::native == std::endian::big) {
      value = 0;
      for (std::size_t i = sizeof bytes; i-- > 0;) {
        value = static_cast<Unsigned>((value << 8) | bytes[i]);
      }
    }
    return value;
  }
  void FillBuffer(std::size_t needed);
  struct StringPrefix {
    std::uint64_t length = 0;  // in characters
    bool wide = false;         // UTF-16 characters, else narrow ones
  };
  StringPrefix ReadStringPrefix();
  // A string's prefix, checked, and its character bytes (UTF-16LE when `wide`, else narrow):
  // where they lie in the buffer when they fit it, else read into `spill`. Valid until the
  // next read.
  std::span<const std::uint8_t> ReadStringBytes(bool& wide, std::vector<std::uint8_t>& spill);

  CFile* file_;
  Mode mode_;
  std::vector<std::uint8_t> buffer_;
  std::size_t bufferPosition_ = 0;  // next byte to read or write
  std::size_t bufferEnd_ = 0;       // bytes valid in the buffer when loading
  bool closed_ = false;
};

}  // namespace fw
