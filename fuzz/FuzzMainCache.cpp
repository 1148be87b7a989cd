// Fuzz target for the main cache reader: the first byte turns compression on (odd) or off, the
// rest is the cache file. Every input must end in a library read whole or a clean failure with
// the file deleted and nothing added, never a crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "FuzzSupport.h"
#include "fw/NativePath.h"
#include "fw/Strings.h"
#include "fw/UiDriver.h"
#include "library/CacheFiles.h"
#include "library/Library.h"

namespace {

// zlib expands at most about 1032 to 1, so this keeps one input's inflated stream near 64 MB.
constexpr std::size_t kMaxInputBytes = 64 * 1024;

const std::wstring& CachePath() {
  static const std::wstring path = fuzzsupport::ScratchFile(L"qv35.cache");
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || size > kMaxInputBytes) return 0;
  static fuzzsupport::SilentUi ui;
  fw::SetUiDriver(&ui);
  library::SetUseCompression((data[0] & 1) != 0);
  {
    std::ofstream out(fw::NativePath(CachePath()), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
  }
  library::Library library;
  // Image caches are not read: their paths come from the fuzzed bytes and could name any file.
  library::MainCacheContent content = library::ReadMainCache(library, {CachePath(), true});
  if (!content.read && !library.IsEmpty()) std::abort();
  return 0;
}
