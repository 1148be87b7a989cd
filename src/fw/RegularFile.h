// Whole files of bytes: read with a size limit, appended to and patched in place, over the
// framework's files (only regular files open, never blocking on a FIFO or device); File.h
// replaces a file whole. Any thread.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "fw/Result.h"

namespace fw {

// The file's bytes. Fails, naming the file and the numbers, when it cannot be opened, is no
// regular file, or holds more than `maxBytes` (checked again while reading, as the file may grow
// meanwhile); nothing is allocated beyond what the file holds.
Result<std::vector<std::uint8_t>> ReadRegularFile(std::wstring_view path, std::uint64_t maxBytes);

// Appends to an existing regular file; `offset` receives where the bytes start.
Status AppendToFile(std::wstring_view path, std::span<const std::uint8_t> bytes,
                    std::uint64_t& offset);
// Overwrites bytes of an existing regular file at `offset`, which must lie inside it.
Status OverwriteFileAt(std::wstring_view path, std::uint64_t offset,
                       std::span<const std::uint8_t> bytes);

}  // namespace fw
