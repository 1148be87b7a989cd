// The writing side of ByteReader: little-endian fields appended to a growing byte vector.
#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace fw {

class ByteWriter {
 public:
  explicit ByteWriter(std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

  void U8(std::uint8_t value) { bytes_.push_back(value); }
  void U16(std::uint16_t value) { Put(value, 2); }
  void U32(std::uint32_t value) { Put(value, 4); }
  void U64(std::uint64_t value) { Put(value, 8); }
  void I64(std::int64_t value) { Put(static_cast<std::uint64_t>(value), 8); }
  void F64(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    Put(bits, 8);
  }
  void Bytes(std::span<const std::uint8_t> bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  }
  // Overwrites 4 bytes written earlier at `at`, once their value is known.
  void PatchU32(std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes_[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
  std::size_t Size() const { return bytes_.size(); }

 private:
  void Put(std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i) bytes_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  }

  std::vector<std::uint8_t>& bytes_;
};

}  // namespace fw
