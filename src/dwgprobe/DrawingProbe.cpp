// The probe of one drawing file, step by step: lock file, description side file, version,
// image section or side bitmap, then the drawing reader.
#include "dwgprobe/DrawingProbe.h"

#include <algorithm>
#include <string_view>

#include "dwgprobe/DrawingFile.h"
#include "dwgprobe/DrawingVersion.h"
#include "dwgprobe/ImageSection.h"
#include "fw/ByteReader.h"
#include "fw/FileName.h"
#include "fw/FileStatus.h"
#include "fw/Strings.h"

namespace dwgprobe {

namespace {

void NoteError(ProbeOutcome& outcome, std::wstring error) {
  outcome.ok = false;
  if (outcome.error.empty()) outcome.error = std::move(error);
}

// The first line of the description side file, or nothing when there is none.
std::optional<std::wstring> ReadDescriptionFile(const std::wstring& drawingPath) {
  const auto path = FindDescriptionFile(drawingPath);
  if (!path) return std::nullopt;
  auto file = DrawingFile::Open(*path);
  if (!file) return std::nullopt;
  const auto bytes = file.Value()->ReadUpTo(0, kMaxDescriptionLineBytes);
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  text = text.substr(0, text.find('\n'));
  if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
  return fw::FromUtf8(text);
}

// Reads a record's bytes after bounding it against the file and `cap`.
fw::Result<std::vector<std::uint8_t>> ReadRecord(DrawingFile& file, const ImageRecord& record,
                                                 std::uint64_t cap) {
  if (auto status = CheckRecord(record, file.Size(), cap); !status) {
    return fw::Result<std::vector<std::uint8_t>>::Failure(status.Message());
  }
  return file.ReadAt(record.start, record.size);
}

ImageSection ReadSectionFromFile(DrawingFile& file) {
  ImageSection section;
  auto seeker = ReadImageSeeker(file.ReadUpTo(0, kFileHeaderBytes));
  if (!seeker) {
    section.error = seeker.Message();
    return section;
  }
  if (seeker.Value() >= file.Size()) {
    section.error = fw::Format(L"image address %u lies beyond the file's %llu bytes",
                               seeker.Value(), static_cast<unsigned long long>(file.Size()));
    return section;
  }
  return ReadImageDirectory(file.ReadUpTo(seeker.Value(), kMaxImageDirectoryBytes),
                            seeker.Value());
}

// Header data: a description when its first byte is not zero; a pending side-file
// description when it is.
void ApplyHeaderData(DrawingFile& file, const ImageRecord& record, bool sideDescription,
                     ProbeOutcome& outcome) {
  auto bytes = ReadRecord(file, record, kMaxHeaderDataBytes);
  if (!bytes) return NoteError(outcome, bytes.Message());
  if (auto description = DescriptionFromHeaderData(bytes.Value())) {
    outcome.description = std::move(*description);
  } else if (!bytes.Value().empty() && sideDescription && !outcome.description.empty()) {
    outcome.lsaPending = true;
  }
}

void ApplyImage(DrawingFile& file, const ImageRecord& record, bool png, ProbeOutcome& outcome) {
  auto bytes = ReadRecord(file, record, kMaxPreviewBytes);
  if (!bytes) return NoteError(outcome, bytes.Message());
  if (!png) {
    outcome.preview = PackedBitmap{bytes.Value(), false};
    outcome.previewKind = PreviewKind::Bmp;
    return;
  }
  auto converted = PackedBitmapFromPng(bytes.Value());
  if (!converted) return NoteError(outcome, converted.Message());
  outcome.preview = converted.Value();
  outcome.previewKind = PreviewKind::Png;
}

// With `headerData` off only the image records (2 and 6) are read.
void ProbeImageSection(DrawingFile& file, bool headerData, bool sideDescription,
                       ProbeOutcome& outcome) {
  const ImageSection section = ReadSectionFromFile(file);
  if (!section.error.empty()) NoteError(outcome, section.error);
  if (headerData && section.headerData) {
    ApplyHeaderData(file, *section.headerData, sideDescription, outcome);
  }
  if (!section.image) return NoteError(outcome, L"the drawing has no preview image record");
  ApplyImage(file, *section.image, section.png, outcome);
}

void ProbeSideBitmap(const std::wstring& drawingPath, ProbeOutcome& outcome) {
  const auto path = FindSideBitmap(drawingPath);
  if (!path) return;
  auto file = DrawingFile::Open(*path);
  if (!file) return;
  const std::uint64_t size = file.Value()->Size();
  if (size < kBitmapFileHeaderBytes + kBitmapInfoHeaderBytes) {
    return NoteError(outcome, fw::Format(L"side bitmap %ls has only %llu bytes", path->c_str(),
                                         static_cast<unsigned long long>(size)));
  }
  if (size - kBitmapFileHeaderBytes > kMaxPreviewBytes) {
    return NoteError(outcome, fw::Format(L"side bitmap %ls is larger than the preview cap",
                                         path->c_str()));
  }
  auto bytes = file.Value()->ReadAt(kBitmapFileHeaderBytes, size - kBitmapFileHeaderBytes);
  if (!bytes) return NoteError(outcome, bytes.Message());
  outcome.preview = PackedBitmap{bytes.Value(), false};
  outcome.previewKind = PreviewKind::SideBmp;
}

// The preview's size from its header (width and height at offsets 4 and 8).
std::optional<PreviewSize> SizeOf(const PackedBitmap& preview) {
  if (preview.bytes.size() < kBitmapInfoHeaderBytes) return std::nullopt;
  fw::ByteReader in(preview.bytes);
  in.U32();
  const std::int32_t width = in.I32();
  const std::int32_t height = in.I32();
  return PreviewSize{width, height < 0 ? -height : height};
}

std::optional<PreviewSize> SizeOf(const std::optional<PackedBitmap>& preview) {
  return preview ? SizeOf(*preview) : std::nullopt;
}

bool CallReader(DrawingReader* reader, const std::wstring& path, bool showPoints,
                std::optional<PreviewSize> size, std::vector<double>& points,
                std::int64_t& created, std::int64_t& modified, std::wstring& description) {
  return reader ? reader->LoadDrawing(path, showPoints, size, points, created, modified,
                                      description)
                : LoadDrawing(path, showPoints, size, points, created, modified, description);
}

// The reader's dates and summary description win, except that an empty summary leaves a
// side-file description that is waiting to be saved into the drawing: the drawing has none yet.
void AskReader(const std::wstring& path, const ProbeRequest& request, ProbeOutcome& outcome) {
  std::int64_t created = 0;
  std::int64_t modified = 0;
  std::wstring description = outcome.description;
  const bool read = CallReader(request.reader, path, request.showInsertionPoints,
                               SizeOf(outcome.preview), outcome.points, created, modified,
                               description);
  outcome.readerOk = read;
  if (!read) return;
  outcome.created = created;
  outcome.modified = modified;
  if (!description.empty() || !outcome.lsaPending) outcome.description = std::move(description);
}

// Opens the drawing (found in any case), reads its version and its stored preview: the image
// records of the image section, or the side bitmap up to index 13. With `headerData` the
// header-data record is applied too. Returns the open file, or null (the error noted).
std::shared_ptr<DrawingFile> ReadVersionAndPreview(const std::wstring& path, bool headerData,
                                                   bool sideDescription, ProbeOutcome& outcome) {
  auto file = DrawingFile::Open(path);
  if (!file) {
    outcome.error = file.Message();
    return nullptr;
  }
  outcome.opened = true;
  outcome.ok = true;
  outcome.version = VersionIndex(file.Value()->ReadUpTo(0, 6));
  if (outcome.version > kLastVersionWithoutImageSection) {
    ProbeImageSection(*file.Value(), headerData, sideDescription, outcome);
  } else {
    ProbeSideBitmap(path, outcome);
  }
  return file.Value();
}

}  // namespace

const wchar_t* PreviewKindName(PreviewKind kind) {
  switch (kind) {
    case PreviewKind::None:
      return L"none";
    case PreviewKind::Bmp:
      return L"bmp";
    case PreviewKind::Png:
      return L"png";
    case PreviewKind::SideBmp:
      return L"side-bmp";
  }
  return L"none";
}

std::wstring LockFilePath(const std::wstring& drawingPath) {
  return drawingPath.substr(0, drawingPath.size() - std::min<std::size_t>(3, drawingPath.size())) +
         L"DWK";
}

std::wstring DescriptionFilePath(const std::wstring& drawingPath) {
  const fw::CFileName name(drawingPath);
  return fw::PathJoin(fw::PathJoin(fw::FolderOf(drawingPath), kDescriptionFolder),
                      name.Title() + L".lsa");
}

std::optional<std::wstring> FindDescriptionFile(const std::wstring& drawingPath) {
  const auto folder =
      fw::FindFolderNoCase(fw::PathJoin(fw::FolderOf(drawingPath), kDescriptionFolder));
  if (!folder) return std::nullopt;
  return fw::FindFileNoCase(fw::PathJoin(*folder, fw::CFileName(drawingPath).Title() + L".lsa"));
}

std::optional<std::wstring> FindSideBitmap(const std::wstring& drawingPath) {
  const fw::CFileName name(drawingPath);
  return fw::FindFileNoCase(fw::PathJoin(fw::FolderOf(drawingPath), name.Title() + L".bmp"));
}

ProbeOutcome ProbeDrawing(const std::wstring& requestedPath, const ProbeRequest& request) {
  ProbeOutcome outcome;
  outcome.description = request.currentDescription;
  const std::wstring path = fw::FindFileNoCase(requestedPath).value_or(requestedPath);
  if (fw::FindFileNoCase(LockFilePath(path))) {
    outcome.locked = true;
    outcome.error = L"the drawing is locked";
    return outcome;
  }
  const auto sideDescription = ReadDescriptionFile(path);
  if (sideDescription) outcome.description = *sideDescription;
  if (!ReadVersionAndPreview(path, /*headerData=*/true, sideDescription.has_value(), outcome)) {
    return outcome;
  }
  AskReader(path, request, outcome);
  return outcome;
}

StoredPreview ReadStoredPreview(const std::wstring& requestedPath) {
  const std::wstring path = fw::FindFileNoCase(requestedPath).value_or(requestedPath);
  ProbeOutcome outcome;
  (void)ReadVersionAndPreview(path, /*headerData=*/false, /*sideDescription=*/false, outcome);
  StoredPreview stored;
  stored.path = path;
  stored.opened = outcome.opened;
  stored.version = outcome.version;
  stored.previewKind = outcome.previewKind;
  stored.preview = std::move(outcome.preview);
  stored.error = std::move(outcome.error);
  return stored;
}

std::vector<double> ReadInsertionPoints(const std::wstring& path, bool showInsertionPoints,
                                        const PackedBitmap& preview, DrawingReader* reader) {
  std::vector<double> points;
  std::int64_t created = 0;
  std::int64_t modified = 0;
  std::wstring description;
  if (!CallReader(reader, path, showInsertionPoints, SizeOf(preview), points, created, modified,
                  description)) {
    points.clear();
  }
  return points;
}

}  // namespace dwgprobe
