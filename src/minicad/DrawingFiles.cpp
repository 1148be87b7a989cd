// Drawing files in and out: bytes through the container and the body coder, the preview drawn
// or kept.
#include "minicad/DrawingFiles.h"

#include "fw/File.h"
#include "fw/FileName.h"
#include "fw/FileStatus.h"
#include "fw/RegularFile.h"
#include "fw/Strings.h"
#include "minicad/AcDbImpDatabase.h"
#include "minicad/DrawingDecoder.h"
#include "minicad/DrawingEncoder.h"
#include "minicad/DwgContainer.h"
#include "minicad/Host.h"
#include "minicad/PreviewImage.h"
#include "minicad/PreviewRenderer.h"

namespace minicad {
namespace {

DrawingRead Failure(Acad::ErrorStatus status, std::wstring error) {
  DrawingRead read;
  read.status = status;
  read.error = std::move(error);
  return read;
}

// Previews are drawn on the host's model-space background; black without a host.
fw::COLORREF PreviewBackground() {
  const Host* host = Host::Current();
  return host == nullptr ? fw::RGB(0, 0, 0) : host->ModelBackground();
}

StoredPreview MakePreview(AcDbImpDatabase& database, const FormatLevel& level) {
  if (database.RetainThumbnail() && database.OriginalPreview()) {
    if (auto kept = ConvertPreview(*database.OriginalPreview(), level.pngPreview)) return *kept;
  }
  const fw::COLORREF background = PreviewBackground();
  RenderedPreview rendered = RenderModelSpace(database, kPreviewWidth, kPreviewHeight, background);
  database.Header().view = rendered.view;
  if (level.pngPreview) {
    if (auto png = EncodePngPreview(rendered.image)) return *png;
  }
  return EncodeBmpPreview(rendered.image, background);
}

// With `keepBackup` an existing drawing is first copied to the same path with the extension
// ".bak" (over an older one); the drawing itself is replaced only by a complete new file.
fw::Status WriteWithBackup(std::wstring_view path, std::span<const std::uint8_t> bytes,
                           bool keepBackup) {
  if (keepBackup && fw::PathExists(path)) {
    const std::wstring backup =
        fw::PathJoin(fw::FolderOf(path), fw::CFileName(path).Title() + L".bak");
    if (!fw::CopyFile(path, backup, false)) {
      return fw::Status::Failure(
          fw::Format(L"cannot keep a backup of %ls", std::wstring(path).c_str()));
    }
  }
  return fw::WriteFileReplacing(path, bytes);
}

}  // namespace

DrawingRead ReadDrawingFile(std::wstring_view path) {
  if (!fw::PathExists(path)) {
    return Failure(Acad::eFileNotFound,
                   fw::Format(L"%ls does not exist", std::wstring(path).c_str()));
  }
  auto bytes = fw::ReadRegularFile(path, kMaxDrawingBytes);
  if (!bytes) return Failure(Acad::eFileAccessErr, bytes.Message());
  return ReadDrawingBytes(bytes.Value(), path);
}

DrawingRead ReadDrawingBytes(std::span<const std::uint8_t> bytes, std::wstring_view path) {
  const ContainerContents contents = ReadContainer(bytes);
  const std::wstring name(path);
  if (!contents.Ok()) {
    return Failure(contents.foreign ? Acad::eInvalidDwgVersion : Acad::eBadDwgHeader,
                   name + L": " + contents.error);
  }
  auto database = std::make_unique<AcDbDatabase>(false, true);
  AcDbImpDatabase& inside = AcDbImpDatabase::Of(*database);
  fw::Status decoded = DecodeDrawing(contents.body, inside);
  if (!decoded) return Failure(Acad::eBadDwgHeader, name + L": " + decoded.Message());
  inside.FileName() = name;
  inside.Version() = contents.level->version;
  inside.OriginalPreview() = contents.preview;
  DrawingRead read;
  read.database = std::move(database);
  return read;
}

Acad::ErrorStatus WriteDrawingFile(AcDbDatabase& database, std::wstring_view path,
                                   AcDb::AcDbDwgVersion version, bool keepBackup,
                                   std::wstring& error) {
  const FormatLevel* level = FindFormatLevel(version);
  if (level == nullptr) {
    error = fw::Format(L"format level %d cannot be written", static_cast<int>(version));
    return Acad::eInvalidDwgVersion;
  }
  AcDbImpDatabase& inside = AcDbImpDatabase::Of(database);
  if (inside.Standard().blockTable.isNull()) {
    error = L"the database holds no drawing";
    return Acad::eNoDatabase;
  }
  const std::int64_t previousUpdate = inside.Header().updated;
  const ModelView previousView = inside.Header().view;
  inside.Header().updated = fw::CurrentTime();
  const StoredPreview preview = MakePreview(inside, *level);
  const std::vector<std::uint8_t> file = BuildContainer(*level, preview, EncodeDrawing(inside));
  fw::Status written = WriteWithBackup(path, file, keepBackup);
  if (!written) {
    inside.Header().updated = previousUpdate;
    inside.Header().view = previousView;
    error = written.Message();
    return Acad::eFileAccessErr;
  }
  inside.FileName() = std::wstring(path);
  inside.Version() = version;
  return Acad::eOk;
}

}  // namespace minicad
