// The image-section walk over bytes in memory.
#include "dwgprobe/ImageSection.h"

#include <algorithm>
#include <string_view>

#include "fw/ByteReader.h"
#include "fw/Strings.h"

namespace dwgprobe {

namespace {

// Notes one record the way the probe uses them: the last header-data record, the last image
// record, and whether any record was a PNG.
void Remember(const ImageRecord& record, ImageSection& section) {
  switch (record.code) {
    case kHeaderDataCode:
      section.headerData = record;
      break;
    case kPngCode:
      section.png = true;
      section.image = record;
      break;
    case kBmpCode:
      section.image = record;
      break;
    default:
      break;
  }
}

std::wstring TruncatedText(std::uint32_t seeker, std::size_t read, unsigned count) {
  return fw::Format(L"image section at offset %u ends after %zu bytes; it claims %u records",
                    seeker, read, count);
}

}  // namespace

fw::Result<std::uint32_t> ReadImageSeeker(std::span<const std::uint8_t> fileHeader) {
  if (fileHeader.size() < kFileHeaderBytes) {
    return fw::Result<std::uint32_t>::Failure(fw::Format(
        L"file of %zu bytes is too short for the image address at offset %zu",
        fileHeader.size(), kSeekerOffset));
  }
  fw::ByteReader in(fileHeader.subspan(kSeekerOffset, 4));
  return fw::Result<std::uint32_t>::Success(in.U32());
}

ImageSection ReadImageDirectory(std::span<const std::uint8_t> atSeeker, std::uint32_t seeker) {
  ImageSection section;
  fw::ByteReader in(atSeeker.first(std::min(atSeeker.size(), kMaxImageDirectoryBytes)));
  for (int i = 0; i < 16; ++i) in.U8();  // sentinel
  in.U32();                              // overall size, not used
  const unsigned count = in.U8();
  if (in.Overrun()) {
    section.error = TruncatedText(seeker, atSeeker.size(), 0);
    return section;
  }
  for (unsigned i = 0; i < count; ++i) {
    ImageRecord record;
    record.code = in.U8();
    record.start = in.U32();
    record.size = in.U32();
    if (in.Overrun()) {
      section.error = TruncatedText(seeker, atSeeker.size(), count);
      break;
    }
    Remember(record, section);
  }
  return section;
}

ImageSection ReadImageSection(std::span<const std::uint8_t> file) {
  auto seeker = ReadImageSeeker(file);
  if (!seeker) {
    ImageSection section;
    section.error = seeker.Message();
    return section;
  }
  if (seeker.Value() >= file.size()) {
    ImageSection section;
    section.error = fw::Format(L"image address %u lies beyond the file's %zu bytes",
                               seeker.Value(), file.size());
    return section;
  }
  return ReadImageDirectory(file.subspan(seeker.Value()), seeker.Value());
}

fw::Status CheckRecord(const ImageRecord& record, std::uint64_t fileSize, std::uint64_t cap) {
  // Widened to 64 bits, so start + size cannot wrap.
  const std::uint64_t end = std::uint64_t{record.start} + record.size;
  if (record.size > cap) {
    return fw::Status::Failure(fw::Format(
        L"image record %u at offset %u claims %u bytes; at most %llu are accepted", record.code,
        record.start, record.size, static_cast<unsigned long long>(cap)));
  }
  if (end > fileSize) {
    return fw::Status::Failure(fw::Format(
        L"image record %u at offset %u claims %u bytes; the file has %llu", record.code,
        record.start, record.size, static_cast<unsigned long long>(fileSize)));
  }
  return fw::Status::Success();
}

std::optional<std::wstring> DescriptionFromHeaderData(std::span<const std::uint8_t> headerData) {
  if (headerData.empty() || headerData[0] == 0) return std::nullopt;
  const auto zero = std::find(headerData.begin(), headerData.end(), std::uint8_t{0});
  const auto length = static_cast<std::size_t>(zero - headerData.begin());
  return fw::FromUtf8(std::string_view(reinterpret_cast<const char*>(headerData.data()), length));
}

}  // namespace dwgprobe
