// Fuzz target for the image-section walk: the input is a whole drawing file. Every input must
// end in a section read whole or a clear error, and any record the walk keeps is checked
// against the file and the caps as the probe does before reading it.
#include <cstddef>
#include <cstdint>
#include <span>

#include "dwgprobe/DrawingVersion.h"
#include "dwgprobe/ImageSection.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  (void)dwgprobe::VersionIndex(file);
  const dwgprobe::ImageSection section = dwgprobe::ReadImageSection(file);
  if (section.headerData &&
      dwgprobe::CheckRecord(*section.headerData, size, dwgprobe::kMaxHeaderDataBytes)) {
    (void)dwgprobe::DescriptionFromHeaderData(
        file.subspan(section.headerData->start, section.headerData->size));
  }
  if (section.image) (void)dwgprobe::CheckRecord(*section.image, size, dwgprobe::kMaxPreviewBytes);
  return 0;
}
