// Builds small packed bitmaps for the preview tests: pixels given top-down as raw values.
#pragma once

#include <cstdint>
#include <vector>

#include "fw/Bitmap.h"

namespace previewtest {

struct DibSpec {
  int width = 1;
  int height = 1;
  int bitCount = 8;
  std::uint32_t compression = 0;
  bool topDown = false;
  std::uint32_t coloursUsed = 0;
  std::vector<fw::COLORREF> palette;      // written as given (its size should match the rule)
  std::vector<std::uint32_t> masks;       // written after the header when given
  std::vector<std::uint32_t> pixels;      // raw values, rows from the top
};

inline void Put(std::vector<std::uint8_t>& bytes, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

inline std::vector<std::uint8_t> BuildDib(const DibSpec& spec) {
  std::vector<std::uint8_t> bytes;
  Put(bytes, 40, 4);
  Put(bytes, static_cast<std::uint32_t>(spec.width), 4);
  Put(bytes, static_cast<std::uint32_t>(spec.topDown ? -spec.height : spec.height), 4);
  Put(bytes, 1, 2);
  Put(bytes, static_cast<std::uint32_t>(spec.bitCount), 2);
  Put(bytes, spec.compression, 4);
  for (int i = 0; i < 3; ++i) Put(bytes, 0, 4);
  Put(bytes, spec.coloursUsed, 4);
  Put(bytes, 0, 4);
  for (std::uint32_t mask : spec.masks) Put(bytes, mask, 4);
  for (fw::COLORREF c : spec.palette) {
    bytes.push_back(fw::GetBValue(c));
    bytes.push_back(fw::GetGValue(c));
    bytes.push_back(fw::GetRValue(c));
    bytes.push_back(0);
  }
  const std::size_t stride = (static_cast<std::size_t>(spec.width) * spec.bitCount + 31) / 32 * 4;
  for (int stored = 0; stored < spec.height; ++stored) {
    const int y = spec.topDown ? stored : spec.height - 1 - stored;
    std::vector<std::uint8_t> row(stride, 0);
    for (int x = 0; x < spec.width; ++x) {
      const std::uint32_t v = spec.pixels[static_cast<std::size_t>(y * spec.width + x)];
      const std::size_t bit = static_cast<std::size_t>(x) * spec.bitCount;
      if (spec.bitCount < 8) {
        row[bit / 8] |= static_cast<std::uint8_t>(v << (8 - spec.bitCount - bit % 8));
      } else {
        for (int b = 0; b < spec.bitCount / 8; ++b) {
          row[bit / 8 + b] = static_cast<std::uint8_t>(v >> (8 * b));
        }
      }
    }
    bytes.insert(bytes.end(), row.begin(), row.end());
  }
  return bytes;
}

}  // namespace previewtest
