// Reading parts of a file on disk by offset: the thin layer between the probe's parsers and the
// file system. Only the bytes a parser asks for are read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fw/File.h"
#include "fw/Result.h"

namespace dwgprobe {

class DrawingFile {
 public:
  // Opens the file for binary reading; an error when it cannot be opened or is no regular file
  // (a folder, a FIFO, a device: refused without blocking).
  static fw::Result<std::shared_ptr<DrawingFile>> Open(const std::wstring& path);

  std::uint64_t Size() const { return size_; }
  // Exactly `count` bytes from `offset`; an error (never a short result) when the file ends
  // first or the read fails. The caller bounds `count` before calling.
  fw::Result<std::vector<std::uint8_t>> ReadAt(std::uint64_t offset, std::size_t count);
  // Up to `count` bytes from `offset`, fewer where the file ends.
  std::vector<std::uint8_t> ReadUpTo(std::uint64_t offset, std::size_t count);

 private:
  DrawingFile(std::unique_ptr<fw::CFile> file, std::uint64_t size, std::wstring path);

  std::unique_ptr<fw::CFile> file_;
  std::uint64_t size_;
  std::wstring path_;
};

}  // namespace dwgprobe
