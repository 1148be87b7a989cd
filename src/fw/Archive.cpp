// The framework's binary archive: little-endian primitives and length-prefixed strings, buffered
// over a CFile in either direction.
#include "fw/Archive.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <span>
#include <string>
#include <utility>

#include "fw/NativePath.h"
#include "fw/Strings.h"

namespace fw {
namespace {

// No name, path or description in a cache comes near this many characters; a longer stated
// length is damage, refused before anything is allocated for it.
constexpr std::uint64_t kMaxStringLength = std::uint64_t{1} << 24;

// A string's length prefix. The tag FF FE FF marks UTF-16 characters; after it (or without it)
// the length of the string in characters follows:
//   one byte                      0 .. 0xFE
//   FF, 16 bits                   0xFF .. 0xFFFD
//   FF FF FF, 32 bits             0xFFFE .. 0xFFFFFFFE
//   FF FF FF FF FF FF FF, 64 bits anything larger
// then the characters, two bytes each (UTF-16LE) with the tag, one byte each (UTF-8) without.
constexpr std::uint8_t kOneByteEscape = 0xFF;
constexpr std::uint16_t kTwoByteEscape = 0xFFFF;
constexpr std::uint16_t kUtf16Tag = 0xFFFE;
constexpr std::uint32_t kFourByteEscape = 0xFFFFFFFF;

constexpr char32_t kReplacementCharacter = 0xFFFD;

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
// A byte of a file name that is not UTF-8, as fw/NativePath.h carries it: a lone low surrogate
// U+DC80..U+DCFF. It is kept as that one code unit, so such a path survives the cache.
bool IsEscapedByte(char32_t c) { return c >= 0xDC80 && c <= 0xDCFF; }

// Every UTF-16 code unit outside this range is a character of its own.
constexpr char32_t kFirstSurrogate = 0xD800;
constexpr char32_t kLastSurrogate = 0xDFFF;

template <typename Unsigned>
std::array<std::uint8_t, sizeof(Unsigned)> ToLittleEndian(Unsigned value) {
  std::array<std::uint8_t, sizeof(Unsigned)> bytes{};
  for (std::size_t i = 0; i < sizeof(Unsigned); ++i) {
    bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
  return bytes;
}

template <typename Unsigned>
Unsigned FromLittleEndian(const std::uint8_t* bytes) {
  Unsigned value = 0;
  for (std::size_t i = 0; i < sizeof(Unsigned); ++i) {
    value |= static_cast<Unsigned>(static_cast<Unsigned>(bytes[i]) << (8 * i));
  }
  return value;
}

void AppendUnit(std::vector<std::uint8_t>& out, char32_t unit) {
  out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
  out.push_back(static_cast<std::uint8_t>(unit >> 8));
}

// UTF-16LE of a wide string. The string may already hold surrogate pairs (text read from UTF-16
// elsewhere); those stay pairs. An escaped file-name byte stays its own code unit; any other lone
// surrogate or a value beyond Unicode becomes U+FFFD.
std::vector<std::uint8_t> EncodeUtf16(std::wstring_view text) {
  std::vector<std::uint8_t> out;
  out.reserve(text.size() * 2);
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = static_cast<char32_t>(text[i]);
    if (IsHighSurrogate(c) && i + 1 < text.size() &&
        IsLowSurrogate(static_cast<char32_t>(text[i + 1]))) {
      AppendUnit(out, c);
      AppendUnit(out, static_cast<char32_t>(text[++i]));
    } else if (IsEscapedByte(c)) {
      AppendUnit(out, c);
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c) || c > 0x10FFFF) {
      AppendUnit(out, kReplacementCharacter);
    } else if (c >= 0x10000) {
      c -= 0x10000;
      AppendUnit(out, 0xD800 + (c >> 10));
      AppendUnit(out, 0xDC00 + (c & 0x3FF));
    } else {
      AppendUnit(out, c);
    }
  }
  return out;
}

// Wide text of UTF-16LE bytes (an even count) into `text`, which has room for one character a
// unit (a pair makes one character, so never more); returns the characters written. Pairs
// become one character; an escaped file-name byte stays itself; any other surrogate without its
// partner becomes U+FFFD, as damaged text should not end the read.
std::size_t DecodeUtf16(std::span<const std::uint8_t> bytes, wchar_t* text) {
  const std::size_t units = bytes.size() / 2;
  const std::uint8_t* unitBytes = bytes.data();
  auto unitAt = [unitBytes](std::size_t i) {
    return static_cast<char32_t>(unitBytes[2 * i] | (unitBytes[2 * i + 1] << 8));
  };
  std::size_t length = 0;
  for (std::size_t i = 0; i < units; ++i) {
    char32_t unit = unitAt(i);
    if (unit < kFirstSurrogate || unit > kLastSurrogate) {
      text[length++] = static_cast<wchar_t>(unit);
      continue;
    }
    if (IsHighSurrogate(unit) && i + 1 < units) {
      char32_t next = unitAt(i + 1);
      if (IsLowSurrogate(next)) {
        text[length++] = static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
        ++i;
        continue;
      }
    }
    if (!IsEscapedByte(unit)) unit = kReplacementCharacter;
    text[length++] = static_cast<wchar_t>(unit);
  }
  return length;
}

// Narrow strings may be paths: bytes that are not UTF-8 are kept as a path's are.
std::wstring DecodeNarrow(std::span<const std::uint8_t> characters) {
  return FromNativePath(
      std::string_view(reinterpret_cast<const char*>(characters.data()), characters.size()));
}

std::wstring DecodeCharacters(std::span<const std::uint8_t> characters, bool wide) {
  if (!wide) return DecodeNarrow(characters);
  std::wstring text(characters.size() / 2, L'\0');
  text.resize(DecodeUtf16(characters, text.data()));
  return text;
}

CompactString DecodeCompact(std::span<const std::uint8_t> characters, bool wide) {
  if (!wide) return CompactString(DecodeNarrow(characters));
  return CompactString::Filled(characters.size() / 2, [characters](wchar_t* text) {
    return DecodeUtf16(characters, text);
  });
}

std::wstring Number(std::uint64_t value) { return std::to_wstring(value); }

// The tag and the shortest length prefix that holds `length`.
std::vector<std::uint8_t> EncodeStringPrefix(std::uint64_t length) {
  std::vector<std::uint8_t> prefix;
  auto append = [&prefix](auto bytes) { prefix.insert(prefix.end(), bytes.begin(), bytes.end()); };
  prefix.push_back(kOneByteEscape);
  append(ToLittleEndian(kUtf16Tag));
  if (length < kOneByteEscape) {
    prefix.push_back(static_cast<std::uint8_t>(length));
    return prefix;
  }
  prefix.push_back(kOneByteEscape);
  if (length < kUtf16Tag) {
    append(ToLittleEndian(static_cast<std::uint16_t>(length)));
    return prefix;
  }
  append(ToLittleEndian(kTwoByteEscape));
  if (length < kFourByteEscape) {
    append(ToLittleEndian(static_cast<std::uint32_t>(length)));
    return prefix;
  }
  append(ToLittleEndian(kFourByteEscape));
  append(ToLittleEndian(length));
  return prefix;
}

}  // namespace

CArchive::CArchive(CFile* file, Mode mode, std::size_t bufferSize)
    : file_(file), mode_(mode), buffer_(bufferSize) {}

CArchive::~CArchive() {
  if (!IsStoring() || closed_) return;
  try {
    Close();
  } catch (...) {
    // A destructor cannot report; a caller who cares about the last bytes calls Close().
  }
}

void CArchive::WriteInt32(std::int32_t value) {
  auto bytes = ToLittleEndian(static_cast<std::uint32_t>(value));
  Write(bytes.data(), bytes.size());
}

void CArchive::WriteBool(bool value) { WriteInt32(value ? 1 : 0); }

void CArchive::WriteDouble(double value) { WriteUInt64(std::bit_cast<std::uint64_t>(value)); }

void CArchive::WriteUInt64(std::uint64_t value) {
  auto bytes = ToLittleEndian(value);
  Write(bytes.data(), bytes.size());
}

void CArchive::WriteTime(std::int64_t secondsSince1970) {
  WriteUInt64(static_cast<std::uint64_t>(secondsSince1970));
}

void CArchive::WriteString(std::wstring_view text) {
  std::vector<std::uint8_t> characters = EncodeUtf16(text);
  std::vector<std::uint8_t> prefix = EncodeStringPrefix(characters.size() / 2);
  Write(prefix.data(), prefix.size());
  Write(characters.data(), characters.size());
}

// Reads the prefix as the framework always has: a 16-bit 0xFFFE where a longer length would
// follow the first escape is the UTF-16 tag, after which the length starts over.
CArchive::StringPrefix CArchive::ReadStringPrefix() {
  StringPrefix prefix;
  prefix.length = ReadUnsigned<std::uint8_t>();
  if (prefix.length < kOneByteEscape) return prefix;
  std::uint16_t mediumLength = ReadUnsigned<std::uint16_t>();
  if (mediumLength == kUtf16Tag) {
    prefix.wide = true;
    prefix.length = ReadUnsigned<std::uint8_t>();
    if (prefix.length < kOneByteEscape) return prefix;
    mediumLength = ReadUnsigned<std::uint16_t>();
  }
  prefix.length = mediumLength;
  if (mediumLength < kUtf16Tag) return prefix;
  prefix.length = ReadUnsigned<std::uint32_t>();
  if (prefix.length < kFourByteEscape) return prefix;
  prefix.length = ReadUnsigned<std::uint64_t>();
  return prefix;
}

std::wstring CArchive::ReadString() {
  std::vector<std::uint8_t> spill;
  bool wide = false;
  const std::span<const std::uint8_t> characters = ReadStringBytes(wide, spill);
  return DecodeCharacters(characters, wide);
}

CompactString CArchive::ReadCompactString() {
  std::vector<std::uint8_t> spill;
  bool wide = false;
  const std::span<const std::uint8_t> characters = ReadStringBytes(wide, spill);
  return DecodeCompact(characters, wide);
}

std::span<const std::uint8_t> CArchive::ReadStringBytes(bool& wide,
                                                        std::vector<std::uint8_t>& spill) {
  const StringPrefix prefix = ReadStringPrefix();
  const std::uint64_t length = prefix.length;
  wide = prefix.wide;
  if (length > kMaxStringLength) {
    throw CArchiveException(CArchiveException::badIndex,
                            L"string length " + Number(length) + L" is beyond the limit of " +
                                Number(kMaxStringLength) + L" characters");
  }
  std::uint64_t byteCount = length * (wide ? 2 : 1);
  std::uint64_t buffered = bufferEnd_ - bufferPosition_;
  if (byteCount > buffered) {
    std::uint64_t left = BytesLeft();
    if (byteCount > left) {
      throw CArchiveException(CArchiveException::endOfFile,
                              L"string of " + Number(length) + L" characters needs " +
                                  Number(byteCount) + L" bytes; " + Number(left) + L" are left");
    }
  }
  // Characters that fit the buffer are decoded where they lie.
  if (byteCount <= buffer_.size()) {
    if (byteCount > bufferEnd_ - bufferPosition_) FillBuffer(static_cast<std::size_t>(byteCount));
    if (byteCount <= bufferEnd_ - bufferPosition_) {
      const std::span<const std::uint8_t> characters(buffer_.data() + bufferPosition_,
                                                     static_cast<std::size_t>(byteCount));
      bufferPosition_ += characters.size();
      return characters;
    }
  }
  spill.resize(static_cast<std::size_t>(byteCount));
  Read(spill.data(), spill.size());
  return spill;
}

void CArchive::Write(const void* bytes, std::size_t count) {
  if (closed_ || file_ == nullptr) {
    throw CArchiveException(CArchiveException::genericException,
                            L"writing " + Number(count) + L" bytes to a closed archive");
  }
  if (IsLoading()) {
    throw CArchiveException(CArchiveException::readOnly,
                            L"writing " + Number(count) + L" bytes to an archive that reads");
  }
  if (count == 0) return;
  const auto* source = static_cast<const std::uint8_t*>(bytes);
  if (count <= buffer_.size() - bufferPosition_) {
    std::memcpy(buffer_.data() + bufferPosition_, source, count);
    bufferPosition_ += count;
    return;
  }
  Flush();
  // What would fill the buffer on its own goes straight to the file.
  if (count >= buffer_.size()) {
    file_->Write(source, count);
    return;
  }
  std::memcpy(buffer_.data(), source, count);
  bufferPosition_ = count;
}

void CArchive::Read(void* bytes, std::size_t count) {
  // Most reads are a few bytes the buffer already holds.
  if (IsLoading() && !closed_ && count > 0 && count <= bufferEnd_ - bufferPosition_) {
    std::memcpy(bytes, buffer_.data() + bufferPosition_, count);
    bufferPosition_ += count;
    return;
  }
  if (closed_ || file_ == nullptr) {
    throw CArchiveException(CArchiveException::genericException,
                            L"reading " + Number(count) + L" bytes from a closed archive");
  }
  if (IsStoring()) {
    throw CArchiveException(CArchiveException::writeOnly,
                            L"reading " + Number(count) + L" bytes from an archive that writes");
  }
  auto* target = static_cast<std::uint8_t*>(bytes);
  std::size_t done = 0;
  auto throwEnded = [&] {
    throw CArchiveException(
        CArchiveException::endOfFile,
        L"reading " + Number(count) + L" bytes: the archive ended after " + Number(done));
  };
  while (done < count) {
    if (bufferEnd_ == bufferPosition_) {
      std::size_t rest = count - done;
      // A read as large as the buffer goes straight from the file into the caller's memory.
      if (rest >= buffer_.size()) {
        std::size_t got = file_->Read(target + done, rest);
        if (got == 0) throwEnded();
        done += got;
        continue;
      }
      FillBuffer(rest);
      if (bufferEnd_ == bufferPosition_) throwEnded();
    }
    std::size_t taken = std::min(bufferEnd_ - bufferPosition_, count - done);
    std::memcpy(target + done, buffer_.data() + bufferPosition_, taken);
    bufferPosition_ += taken;
    done += taken;
  }
}

std::uint64_t CArchive::BytesLeft() const {
  if (!IsLoading() || closed_ || file_ == nullptr) return 0;
  std::uint64_t length = file_->GetLength();
  std::uint64_t position = file_->GetPosition();
  std::uint64_t unread = length > position ? length - position : 0;
  return (bufferEnd_ - bufferPosition_) + unread;
}

void CArchive::Flush() {
  // A loading archive keeps what it has read ahead: the file cannot be moved back here, and
  // nothing read ahead is lost to the next read.
  if (closed_ || !IsStoring() || file_ == nullptr) return;
  // Taken out of the buffer before writing, so a failed write is not written again by the
  // destructor after a partial success.
  std::size_t count = std::exchange(bufferPosition_, 0);
  if (count > 0) file_->Write(buffer_.data(), count);
}

void CArchive::Close() {
  if (closed_) return;
  Flush();
  closed_ = true;
}

void CArchive::Abort() {
  bufferPosition_ = 0;
  bufferEnd_ = 0;
  closed_ = true;
}

// Moves what is left in the buffer to its start and reads from the file until at least `needed`
// bytes are buffered or the file ends; the caller checks how many it got.
void CArchive::FillBuffer(std::size_t needed) {
  std::size_t buffered = bufferEnd_ - bufferPosition_;
  if (buffered > 0 && bufferPosition_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + bufferPosition_, buffered);
  }
  bufferPosition_ = 0;
  bufferEnd_ = buffered;
  needed = std::min(needed, buffer_.size());
  while (bufferEnd_ < needed) {
    std::size_t got = file_->Read(buffer_.data() + bufferEnd_, buffer_.size() - bufferEnd_);
    if (got == 0) return;
    bufferEnd_ += got;
  }
}

}  // namespace fw
