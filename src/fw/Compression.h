// zlib's one-call functions, as the cache files use them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "fw/Result.h"

namespace fw {

// The worst-case deflated size of `length` bytes (zlib's bound).
std::size_t CompressBound(std::size_t length);
// A zlib stream (header and trailer) of `bytes` deflated at the default level.
std::vector<std::uint8_t> Compress(std::span<const std::uint8_t> bytes);
// Inflates a zlib stream that must yield exactly `expectedLength` bytes; a clear error for a
// damaged stream or another length. Never allocates more than `expectedLength` bytes, so the
// caller bounds it before calling.
Result<std::vector<std::uint8_t>> Uncompress(std::span<const std::uint8_t> stream,
                                             std::size_t expectedLength);
std::uint32_t Adler32(std::span<const std::uint8_t> bytes);

}  // namespace fw
