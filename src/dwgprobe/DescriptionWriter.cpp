// The description writer: summary information, save in the drawing's format, and the kept BMP
// record of R13 and R14 drawings.
#include "dwgprobe/DescriptionWriter.h"

#include <array>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "arx/summinfo.h"
#include "dwgprobe/ImageSection.h"
#include "fw/ByteReader.h"
#include "fw/FileName.h"
#include "fw/FileStatus.h"
#include "fw/RegularFile.h"
#include "fw/Trace.h"

namespace dwgprobe {
namespace {

constexpr int kR13 = 14;
constexpr int kR14 = 15;
// Drawings this writer reads whole to take their preview; R13 and R14 drawings are far smaller.
constexpr std::uint64_t kMaxDrawingBytes = std::uint64_t{256} << 20;

std::wstring TemporaryPath(const std::wstring& drawingPath) {
  const fw::CFileName name(drawingPath);
  return fw::PathJoin(fw::FolderOf(drawingPath), name.Title() + L".dwg2");
}

// The BMP preview's bytes, found by the probe's walk of the image section.
std::optional<std::vector<std::uint8_t>> ReadBmpRecord(const std::wstring& path) {
  auto file = fw::ReadRegularFile(path, kMaxDrawingBytes);
  if (!file) return std::nullopt;
  const std::vector<std::uint8_t>& bytes = file.Value();
  const ImageSection section = ReadImageSection(bytes);
  if (!section.image || section.png ||
      !CheckRecord(*section.image, bytes.size(), kMaxPreviewBytes)) {
    return std::nullopt;
  }
  const auto record = std::span(bytes).subspan(section.image->start, section.image->size);
  return std::vector<std::uint8_t>(record.begin(), record.end());
}

bool SetDescription(AcDbDatabase& database, const std::wstring& description) {
  AcDbDatabaseSummaryInfo* info = nullptr;
  if (acdbGetSummaryInfo(&database, info) != Acad::eOk) return false;
  std::unique_ptr<AcDbDatabaseSummaryInfo> owned(info);
  return owned->setComments(description.c_str()) == Acad::eOk &&
         acdbPutSummaryInfo(owned.get()) == Acad::eOk;
}

// Where the first record with `code` of the image section lies in the file: the offset of its
// code byte.
std::optional<std::uint64_t> RecordOffset(std::span<const std::uint8_t> file, std::uint8_t code) {
  auto seeker = ReadImageSeeker(file);
  if (!seeker || std::uint64_t{seeker.Value()} + kRecordsOffset > file.size()) return std::nullopt;
  const std::uint64_t directory = seeker.Value();
  const unsigned count = file[directory + kRecordsOffset - 1];
  for (unsigned i = 0; i < count; ++i) {
    const std::uint64_t at = directory + kRecordsOffset + std::uint64_t{i} * kRecordBytes;
    if (at + kRecordBytes > file.size()) return std::nullopt;
    if (file[at] == code) return at;
  }
  return std::nullopt;
}

// Appends the kept preview and points the BMP record (or the header-data record, made a BMP
// record) at it.
bool RelinkPreview(const std::wstring& path, const std::vector<std::uint8_t>& bmp) {
  std::uint64_t start = 0;
  if (!fw::AppendToFile(path, bmp, start)) return false;
  auto file = fw::ReadRegularFile(path, kMaxDrawingBytes);
  if (!file) return false;
  std::optional<std::uint64_t> record = RecordOffset(file.Value(), kBmpCode);
  if (!record) record = RecordOffset(file.Value(), kHeaderDataCode);
  if (!record) return false;
  std::array<std::uint8_t, kRecordBytes> bytes{kBmpCode};
  for (int i = 0; i < 4; ++i) {
    bytes[1 + i] = static_cast<std::uint8_t>(start >> (8 * i));
    bytes[5 + i] = static_cast<std::uint8_t>(bmp.size() >> (8 * i));
  }
  return fw::OverwriteFileAt(path, *record, bytes).Ok();
}

}  // namespace

AcDb::AcDbDwgVersion SaveFormatOf(int version) {
  switch (version) {
    case 16:
      return AcDb::kDHL_1015;
    case 17:
      return AcDb::kDHL_1018;
    case 18:
      return AcDb::kDHL_1021;
    case 19:
      return AcDb::kDHL_1024;
    case 20:
      return AcDb::kDHL_1027;
    default:
      return AcDb::kDHL_1032;
  }
}

bool WriteDescription(const std::wstring& drawingPath, int version,
                      const std::wstring& description) {
  std::optional<std::vector<std::uint8_t>> keptBmp;
  if (version == kR13 || version == kR14) keptBmp = ReadBmpRecord(drawingPath);

  const std::wstring temporary = TemporaryPath(drawingPath);
  {
    AcDbDatabase database(false, true);
    if (database.readDwgFile(drawingPath.c_str(), AcDbDatabase::kForReadAndReadShare) !=
        Acad::eOk) {
      return false;
    }
    database.setRetainOriginalThumbnailBitmap(true);
    if (!SetDescription(database, description)) return false;
    if (database.saveAs(temporary.c_str(), false, SaveFormatOf(version)) != Acad::eOk) {
      return false;
    }
  }
  // One rename replaces the drawing, so it is never missing in between.
  if (!fw::MoveFile(temporary, drawingPath, true)) {
    (void)fw::DeleteFile(temporary);
    return false;
  }
  if (keptBmp && !RelinkPreview(drawingPath, *keptBmp)) {
    LogLine(L"Write description: the kept preview of %ls could not be relinked\n",
            drawingPath.c_str());
  }
  return true;
}

}  // namespace dwgprobe
