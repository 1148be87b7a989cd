// A bounded little-endian reader over bytes held in memory, for the parsers of outside bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace fw {

// Reads fields in order. A read past the end yields zero and marks the reader as overrun, so a
// parser can read a whole header and check once; it never touches memory outside the span.
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::uint8_t U8() { return static_cast<std::uint8_t>(Next(1)); }
  std::uint16_t U16() { return static_cast<std::uint16_t>(Next(2)); }
  std::int16_t I16() { return static_cast<std::int16_t>(U16()); }
  std::uint32_t U32() { return static_cast<std::uint32_t>(Next(4)); }
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
  std::uint64_t U64() { return Next(8); }
  std::int64_t I64() { return static_cast<std::int64_t>(U64()); }
  // An IEEE double stored in 8 bytes.
  double F64() {
    const std::uint64_t bits = U64();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  // The next `count` bytes; an empty span (and the reader overrun) when fewer remain.
  std::span<const std::uint8_t> Bytes(std::size_t count) {
    if (count > Remaining()) {
      overrun_ = true;
      position_ = bytes_.size();
      return {};
    }
    std::span<const std::uint8_t> taken = bytes_.subspan(position_, count);
    position_ += count;
    return taken;
  }

  std::size_t Position() const { return position_; }
  std::size_t Remaining() const { return bytes_.size() - position_; }
  bool Overrun() const { return overrun_; }

 private:
  std::uint64_t Next(std::size_t size) {
    if (size > Remaining()) {
      overrun_ = true;
      position_ = bytes_.size();
      return 0;
    }
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < size; ++i) {
      value |= std::uint64_t{bytes_[position_ + i]} << (8 * i);
    }
    position_ += size;
    return value;
  }

  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
  bool overrun_ = false;
};

}  // namespace fw
