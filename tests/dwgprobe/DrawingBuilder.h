// Builds small drawing files for the probe tests: a version string, the image address at
// offset 13, and an image section whose records point at the payloads placed after it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "DibBuilder.h"

namespace probetest {

struct Payload {
  std::uint8_t code;
  std::vector<std::uint8_t> bytes;
};

inline void PutU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// version, padding to offset 13, seeker, then at offset 32 the sentinel, overall size, count,
// records, and the payloads one after another.
inline std::vector<std::uint8_t> BuildDrawing(const std::string& version,
                                              const std::vector<Payload>& payloads) {
  constexpr std::size_t kSeeker = 32;
  std::vector<std::uint8_t> bytes(kSeeker + 21 + 9 * payloads.size(), 0);
  std::copy_n(version.begin(), std::min(version.size(), std::size_t{13}), bytes.begin());
  PutU32(bytes, 13, kSeeker);
  bytes[kSeeker + 20] = static_cast<std::uint8_t>(payloads.size());
  for (std::size_t i = 0; i < payloads.size(); ++i) {
    const std::size_t record = kSeeker + 21 + 9 * i;
    bytes[record] = payloads[i].code;
    PutU32(bytes, record + 1, static_cast<std::uint32_t>(bytes.size()));
    PutU32(bytes, record + 5, static_cast<std::uint32_t>(payloads[i].bytes.size()));
    bytes.insert(bytes.end(), payloads[i].bytes.begin(), payloads[i].bytes.end());
  }
  return bytes;
}

// A 2 x 2 BMP preview with a two-entry palette.
inline std::vector<std::uint8_t> SmallBmp() {
  previewtest::DibSpec shape;
  shape.width = 2;
  shape.height = 2;
  shape.coloursUsed = 2;
  shape.palette = {fw::RGB(255, 255, 255), fw::RGB(0, 0, 0)};
  shape.pixels = {0, 1, 1, 0};
  return previewtest::BuildDib(shape);
}

// A 2 x 1 RGB PNG: one red pixel, one blue.
inline std::vector<std::uint8_t> SmallPng() {
  return {0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48,
          0x44, 0x52, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01, 0x08, 0x02, 0x00, 0x00,
          0x00, 0x7b, 0x40, 0xe8, 0xdd, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x44, 0x41, 0x54, 0x78,
          0x9c, 0x63, 0xf8, 0xcf, 0x00, 0x04, 0xff, 0x01, 0x07, 0x00, 0x01, 0xff, 0xe2, 0x23,
          0x9e, 0x59, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};
}

inline std::vector<std::uint8_t> HeaderData(const std::string& text) {
  std::vector<std::uint8_t> bytes(text.begin(), text.end());
  bytes.resize(80, 0);
  return bytes;
}

inline std::string AsText(const std::vector<std::uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace probetest
