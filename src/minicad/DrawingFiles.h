// Reading and writing whole drawing files: the container, the body and the preview together.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "arx/dbmain.h"

namespace minicad {

// The largest drawing file read: far beyond any drawing minicad writes, and a bound on the
// memory one read takes.
inline constexpr std::uint64_t kMaxDrawingBytes = std::uint64_t{256} << 20;

struct DrawingRead {
  // eOk; eFileNotFound; eFileAccessErr (no regular file, unreadable, too large);
  // eInvalidDwgVersion (no drawing minicad writes: another program's, or none at all);
  // eBadDwgHeader (a minicad drawing that is damaged).
  Acad::ErrorStatus status = Acad::eOk;
  std::wstring error;  // what went wrong, for a person; empty on success
  std::unique_ptr<AcDbDatabase> database;
};

// Reads `path` into a new database (not tied to any document).
DrawingRead ReadDrawingFile(std::wstring_view path);
// The same over the bytes of a file already in memory; `path` only names it.
DrawingRead ReadDrawingBytes(std::span<const std::uint8_t> bytes, std::wstring_view path);

// Writes the database in the format `version` (see AcDbDatabase::saveAs for the statuses).
Acad::ErrorStatus WriteDrawingFile(AcDbDatabase& database, std::wstring_view path,
                                   AcDb::AcDbDwgVersion version, bool keepBackup,
                                   std::wstring& error);

}  // namespace minicad
