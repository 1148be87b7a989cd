// Fuzz target for the thumbnailer's input argument: any bytes, as a path or a file:// URI, give
// a path or a clean error, never a crash; a path never holds a NUL.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "FileUri.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto path = thumbnailer::DrawingPathOf(bytes);
  if (path.Ok() && bytes.starts_with("file:") && path.Value().find(L'\0') != std::wstring::npos) {
    std::abort();
  }
  return 0;
}
