// Fuzz target for the image cache reader: bit 0 of the first byte turns compression on, bit 1
// gives the directory large images; the rest is the image cache file. Every input must end in
// lists read whole or placeholder lists, with imagesLoaded set, never a crash.
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
#include "library/Directory.h"

namespace {

// zlib expands at most about 1032 to 1, so this keeps one input's inflated stream near 64 MB.
constexpr std::size_t kMaxInputBytes = 64 * 1024;

const std::wstring& CachePath() {
  static const std::wstring path = fuzzsupport::ScratchFile(L"path1_35.cache");
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
  library::Directory directory;
  directory.useLargeImages = (data[0] & 2) != 0;
  directory.ResetImages(true);
  directory.cacheFile = CachePath();
  library::ReadImageCache(directory);
  if (!directory.imagesLoaded || directory.SmallImages().GetImageCount() < 1) std::abort();
  if (directory.useLargeImages &&
      directory.LargeImages().GetImageCount() != directory.SmallImages().GetImageCount()) {
    std::abort();
  }
  return 0;
}
