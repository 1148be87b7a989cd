// Fuzz target for the picture the ribbon and toolbar take with a button: any bytes are taken or
// refused with a clear error, within the bar's size limit, and never crash.
#include <cstddef>
#include <cstdint>
#include <span>

#include "minicad/ComponentButton.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  (void)minicad::CheckButtonImage(std::span<const std::uint8_t>(data, size));
  return 0;
}
