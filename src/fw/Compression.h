// zlib's one-call functions, as the cache files use them, and inflating piece by piece.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "fw/Result.h"

namespace fw {

// The worst-case deflated size of `length` bytes (zlib's bound).
std::size_t CompressBound(std::size_t length);
// A zlib stream (header and trailer) of `bytes` deflated at the default level.
std::vector<std::uint8_t> Compress(std::span<const std::uint8_t> bytes);
// Deflates `bytes` into `out` after its first `offset` bytes (which stay as they are), so a
// container can put its header in front without copying the deflated bytes.
void CompressAfter(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& out,
                   std::size_t offset);
// Inflates a zlib stream that must yield exactly `expectedLength` bytes; a clear error for a
// damaged stream or another length. Never allocates more than `expectedLength` bytes, so the
// caller bounds it before calling.
Result<std::vector<std::uint8_t>> Uncompress(std::span<const std::uint8_t> stream,
                                             std::size_t expectedLength);
std::uint32_t Adler32(std::span<const std::uint8_t> bytes);

// Inflates a zlib stream piece by piece into the caller's buffers, so that a reader can check
// what it reads before the rest is inflated, and nothing holds the whole result. The stream must
// yield exactly `expectedLength` bytes: Read fails when it ends sooner or is damaged, Finish
// when it holds more. The compressed bytes stay the caller's and outlive this object. One
// thread at a time.
class InflateStream {
 public:
  InflateStream(std::span<const std::uint8_t> compressed, std::uint64_t expectedLength);
  ~InflateStream();
  InflateStream(const InflateStream&) = delete;
  InflateStream& operator=(const InflateStream&) = delete;

  std::uint64_t ExpectedLength() const;
  // Bytes handed out so far.
  std::uint64_t Delivered() const;
  // Fills `out` with the next bytes, fewer only where the expected length ends (0 there).
  Result<std::size_t> Read(std::span<std::uint8_t> out);
  // Inflates what is left up to the expected length without keeping it, then checks that the
  // stream ends there.
  Status Finish();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace fw
