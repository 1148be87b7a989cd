// Fuzz target for the image-list stream reader: any bytes give a clean error or a list, and a
// list that was read writes a stream that reads again to the same list.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "fw/ImageList.h"

namespace {

// A failed round trip is a bug in our writer or reader: stop here so the fuzzer keeps the input.
void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fw::CImageList list;
  std::size_t consumed = 0;
  if (!list.ReadStream(std::span<const std::uint8_t>(data, size), &consumed)) return 0;
  Require(consumed <= size);

  const std::vector<std::uint8_t> written = list.WriteStream();
  fw::CImageList again;
  std::size_t consumedAgain = 0;
  Require(again.ReadStream(written, &consumedAgain).Ok());
  Require(consumedAgain == written.size());
  Require(again.WriteStream() == written);
  return 0;
}
