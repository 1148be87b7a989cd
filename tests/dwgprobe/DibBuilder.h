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

inline std::vector<std::uint8_t> BuildDib(const DibSpec& shape) {
  std::vector<std::uint8_t> bytes;
  Put(bytes, 40, 4);
  Put(bytes, static_cast<std::uint32_t>(shape.width), 4);
  Put(bytes, static_cast<std::uint32_t>(shape.topDown ? -shape.height : shape.height), 4);
  Put(bytes, 1, 2);
  Put(bytes, static_cast<std::uint32_t>(shape.bitCount), 2);
  Put(bytes, shape.compression, 4);
  for (int i = 0; i < 3; ++i) Put(bytes, 0, 4);
  Put(bytes, shape.coloursUsed, 4);
  Put(bytes, 0, 4);
  for (std::uint32_t mask : shape.masks) Put(bytes, mask, 4);
  for (fw::COLORREF c : shape.palette) {
    bytes.push_back(fw::GetBValue(c));
    bytes.push_back(fw::GetGValue(c));
    bytes.push_back(fw::GetRValue(c));
    bytes.push_back(0);
  }
  const std::size_t stride = (static_cast<std::size_t>(shape.width) * shape.bitCount + 31) / 32 * 4;
  for (int stored = 0; stored < shape.height; ++stored) {
    const int y = shape.topDown ? stored : shape.height - 1 - stored;
    std::vector<std::uint8_t> row(stride, 0);
    for (int x = 0; x < shape.width; ++x) {
      const std::uint32_t v = shape.pixels[static_cast<std::size_t>(y * shape.width + x)];
      const std::size_t bit = static_cast<std::size_t>(x) * shape.bitCount;
      if (shape.bitCount < 8) {
        row[bit / 8] |= static_cast<std::uint8_t>(v << (8 - shape.bitCount - bit % 8));
      } else {
        for (int b = 0; b < shape.bitCount / 8; ++b) {
          row[bit / 8 + b] = static_cast<std::uint8_t>(v >> (8 * b));
        }
      }
    }
    bytes.insert(bytes.end(), row.begin(), row.end());
  }
  return bytes;
}

}  // namespace previewtest
