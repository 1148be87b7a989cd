// The block record of the main cache, and the unchanged-file test.
#include "library/Block.h"

#include "fw/Archive.h"
#include "fw/File.h"
#include "fw/FileStatus.h"
#include "fw/Strings.h"

namespace library {

Block::FileStatus Block::FileStatus::From(const fw::CFileStatus& status) {
  return FileStatus{status.ctime, status.mtime, status.size, status.attribute};
}

Block::Block() { cachedStatus.size = kUnknownSize; }

bool Block::IsUnchangedSinceProbe() const {
  return valid && currentStatus.size == cachedStatus.size &&
         currentStatus.mtime == cachedStatus.mtime && currentStatus.ctime == cachedStatus.ctime;
}

// Block record: string name, string description, int32 validity word (always 1), time
// creation, time modification, uint64 size (the file status), time `created`, time `modified`,
// int32 imageIndex, int32 version.
void Block::Store(fw::CArchive& archive) const {
  const FileStatus& status = checked ? currentStatus : cachedStatus;
  archive.WriteString(name);
  archive.WriteString(description);
  archive.WriteInt32(1);
  archive.WriteTime(status.ctime);
  archive.WriteTime(status.mtime);
  archive.WriteUInt64(status.size);
  archive.WriteTime(created);
  archive.WriteTime(modified);
  archive.WriteInt32(imageIndex);
  archive.WriteInt32(version);
}

void Block::Load(fw::CArchive& archive) {
  name = archive.ReadCompactString();
  description = archive.ReadCompactString();
  valid = archive.ReadBool();
  cachedStatus.ctime = archive.ReadTime();
  cachedStatus.mtime = archive.ReadTime();
  cachedStatus.size = archive.ReadUInt64();
  created = archive.ReadTime();
  modified = archive.ReadTime();
  imageIndex = archive.ReadInt32();
  version = archive.ReadInt32();
  if (imageIndex < 0) {
    throw fw::CArchiveException(
        fw::CArchiveException::badIndex,
        fw::Format(L"block \"%s\": image index %d is negative", name.c_str(), imageIndex));
  }
  if (version < 0 || version >= kVersionCount) {
    throw fw::CArchiveException(
        fw::CArchiveException::badIndex,
        fw::Format(L"block \"%s\": version %d is outside 0..%d", name.c_str(), version,
                   kVersionCount - 1));
  }
}

}  // namespace library
