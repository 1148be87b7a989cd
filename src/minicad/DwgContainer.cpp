// Writing and reading the header and image section of minicad's drawing files.
#include "minicad/DwgContainer.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "fw/ByteReader.h"
#include "fw/ByteWriter.h"
#include "fw/Strings.h"

namespace minicad {
namespace {

constexpr std::array<std::uint8_t, 16> kImageSentinel = {
    0x1F, 0x25, 0x6D, 0x07, 0xD4, 0x36, 0x28, 0x28, 0x9D, 0x57, 0xCA, 0x3F, 0x9D, 0x44, 0x10, 0x2B};
constexpr std::array<std::uint8_t, 16> kEndSentinel = {
    0xE0, 0xDA, 0x92, 0xF8, 0x2B, 0xC9, 0xD7, 0xD7, 0x62, 0xA8, 0x35, 0xC0, 0x62, 0xBB, 0xEF, 0xD4};
constexpr std::array<std::uint8_t, 8> kMarker = {'M', 'I', 'N', 'I', 'C', 'A', 'D', 0x01};
constexpr std::size_t kMarkerOffset = 21;
constexpr std::size_t kHeaderDataBytes = 80;
constexpr std::uint8_t kHeaderDataCode = 1;
constexpr std::uint8_t kBmpCode = 2;
constexpr std::uint8_t kPngCode = 6;
constexpr std::uint16_t kWesternCodePage = 30;

constexpr FormatLevel kLevels[] = {
    {AcDb::kDHL_1014, "AC1014", 88, L"R14", false},
    {AcDb::kDHL_1015, "AC1015", 220, L"2000", false},
    {AcDb::kDHL_1018, "AC1018", 448, L"2004", false},
    {AcDb::kDHL_1021, "AC1021", 448, L"2007", false},
    {AcDb::kDHL_1024, "AC1024", 448, L"2010", false},
    {AcDb::kDHL_1027, "AC1027", 448, L"2013", true},
    {AcDb::kDHL_1032, "AC1032", 448, L"2018", true},
};

const FormatLevel* LevelOfVersionString(std::span<const std::uint8_t> file) {
  if (file.size() < 6) return nullptr;
  for (const FormatLevel& level : kLevels) {
    if (std::memcmp(file.data(), level.versionString, 6) == 0) return &level;
  }
  return nullptr;
}

template <std::size_t N>
bool Matches(std::span<const std::uint8_t> bytes, const std::array<std::uint8_t, N>& expected) {
  return bytes.size() == N && std::equal(bytes.begin(), bytes.end(), expected.begin());
}

ContainerContents Damaged(ContainerContents contents, std::wstring error) {
  contents.error = std::move(error);
  return contents;
}

// The last record with an image that lies inside the file, as the probe picks it.
std::optional<StoredPreview> PreviewOf(std::span<const std::uint8_t> file, fw::ByteReader records,
                                       unsigned count) {
  std::optional<StoredPreview> preview;
  for (unsigned i = 0; i < count; ++i) {
    const std::uint8_t code = records.U8();
    const std::uint64_t start = records.U32();
    const std::uint64_t size = records.U32();
    if (records.Overrun()) break;
    if ((code != kBmpCode && code != kPngCode) || start + size > file.size()) continue;
    const auto bytes =
        file.subspan(static_cast<std::size_t>(start), static_cast<std::size_t>(size));
    preview = StoredPreview{code == kPngCode, {bytes.begin(), bytes.end()}};
  }
  return preview;
}

}  // namespace

std::span<const FormatLevel> FormatLevels() { return kLevels; }

const FormatLevel* FindFormatLevel(AcDb::AcDbDwgVersion version) {
  for (const FormatLevel& level : kLevels) {
    if (level.version == version) return &level;
  }
  return nullptr;
}

const FormatLevel* FindFormatLevel(std::wstring_view year) {
  for (const FormatLevel& level : kLevels) {
    if (fw::EqualsNoCase(year, level.year)) return &level;
  }
  return nullptr;
}

std::vector<std::uint8_t> BuildContainer(const FormatLevel& level, const StoredPreview& preview,
                                         std::span<const std::uint8_t> body) {
  std::vector<std::uint8_t> file;
  file.reserve(level.seeker + 80 + kHeaderDataBytes + preview.bytes.size() + body.size());
  fw::ByteWriter out(file);
  out.Bytes({reinterpret_cast<const std::uint8_t*>(level.versionString), 6});
  for (int i = 0; i < 6; ++i) out.U8(0);
  out.U8(1);
  out.U32(level.seeker);
  out.U8(0x21);
  out.U8(0);
  out.U16(kWesternCodePage);
  out.Bytes(kMarker);
  file.resize(level.seeker, 0);

  constexpr std::uint32_t kRecordCount = 2;
  const std::uint32_t directory = 1 + 9 * kRecordCount;
  const std::uint32_t headerStart = level.seeker + 20 + directory;
  const std::uint32_t previewStart = headerStart + kHeaderDataBytes;
  const auto previewSize = static_cast<std::uint32_t>(preview.bytes.size());
  out.Bytes(kImageSentinel);
  out.U32(directory + kHeaderDataBytes + previewSize);
  out.U8(kRecordCount);
  out.U8(kHeaderDataCode);
  out.U32(headerStart);
  out.U32(kHeaderDataBytes);
  out.U8(preview.png ? kPngCode : kBmpCode);
  out.U32(previewStart);
  out.U32(previewSize);
  file.resize(file.size() + kHeaderDataBytes, 0);
  out.Bytes(preview.bytes);
  out.Bytes(kEndSentinel);
  out.Bytes(body);
  return file;
}

ContainerContents ReadContainer(std::span<const std::uint8_t> file) {
  ContainerContents contents;
  contents.level = LevelOfVersionString(file);
  if (contents.level == nullptr || file.size() < kMarkerOffset + kMarker.size() ||
      !Matches(file.subspan(kMarkerOffset, kMarker.size()), kMarker)) {
    contents.foreign = true;
    contents.error = L"it is no drawing this host writes";
    return contents;
  }
  fw::ByteReader header(file.subspan(13, 4));
  const std::uint64_t seeker = header.U32();
  if (seeker < kMarkerOffset + kMarker.size() || seeker + 21 > file.size()) {
    return Damaged(contents, fw::Format(L"image address %llu lies outside the file's %zu bytes",
                                        static_cast<unsigned long long>(seeker), file.size()));
  }
  fw::ByteReader section(file.subspan(static_cast<std::size_t>(seeker)));
  if (!Matches(section.Bytes(kImageSentinel.size()), kImageSentinel)) {
    return Damaged(contents, fw::Format(L"no image sentinel at offset %llu",
                                        static_cast<unsigned long long>(seeker)));
  }
  const std::uint64_t overall = section.U32();
  const unsigned count = section.U8();
  const std::uint64_t end = seeker + 20 + overall;
  if (overall < 1 + 9ull * count || end + kEndSentinel.size() > file.size()) {
    return Damaged(contents,
                   fw::Format(L"image section at offset %llu claims %llu bytes with %u "
                              L"records; the file has %zu",
                              static_cast<unsigned long long>(seeker),
                              static_cast<unsigned long long>(overall), count, file.size()));
  }
  if (!Matches(file.subspan(static_cast<std::size_t>(end), kEndSentinel.size()), kEndSentinel)) {
    return Damaged(contents, fw::Format(L"no end sentinel at offset %llu",
                                        static_cast<unsigned long long>(end)));
  }
  contents.preview = PreviewOf(file, section, count);
  contents.body = file.subspan(static_cast<std::size_t>(end + kEndSentinel.size()));
  return contents;
}

}  // namespace minicad
