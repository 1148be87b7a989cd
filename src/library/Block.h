// One drawing file of a library directory (or one block definition of the current drawing), with
// the facts the probe found and the file status they were found for.
#pragma once

#include <cstdint>
#include <limits>
#include <string>

#include "fw/CompactString.h"

namespace fw {
class CArchive;
struct CFileStatus;
}  // namespace fw

namespace library {

// A plain record: the loader fills it, the probe updates it, the dialog shows it. The block's
// directory owns it; its address stays the same while it lives, so list controls keep it as item
// data. The loader thread changes the blocks of the directory it works on; the dialog reads them
// only while the loader is paused or off that directory.
//
// Kept small on purpose (a library may hold 100,000 blocks): the texts are compact strings (a
// pointer each; a std::wstring's bookkeeping would take more than a typical name); the file
// statuses hold only the times the unchanged test compares, size and attribute (the access time
// is neither stored nor read); the drawing's full path is derived from the directory's path and
// `name` (Directory::DrawingPath).
class Block {
 public:
  // A drawing's file status without its path and access time.
  struct FileStatus {
    std::int64_t ctime = 0;  // created, seconds since 1970
    std::int64_t mtime = 0;  // last modified
    std::uint64_t size = 0;
    std::uint32_t attribute = 0;  // fw::FileAttribute bits

    static FileStatus From(const fw::CFileStatus& status);
    bool operator==(const FileStatus&) const = default;
  };

  // An unknown size, so that a new block never compares as unchanged.
  static constexpr std::uint64_t kUnknownSize = std::numeric_limits<std::uint64_t>::max();
  // Entries of the drawing version table ("Unknwn" = 0 ... "2018" = 21); `version` indexes it.
  static constexpr std::int32_t kVersionCount = 22;

  Block();

  // Valid cached facts for a file whose size, modification and creation time are those of the
  // last probe: the drawing need not be probed again.
  bool IsUnchangedSinceProbe() const;

  // The block record of the main cache. Store writes `currentStatus` when the block was
  // `checked` since the last validation and `cachedStatus` otherwise; Load reads the status into
  // `cachedStatus`. Load throws fw::CArchiveException on a record that does not fit the bytes
  // left, and on an image index below 0 or a version outside the table (other readers index
  // with them).
  void Store(fw::CArchive& archive) const;
  void Load(fw::CArchive& archive);

  // The fields are laid out for size: each status (28 bytes of fields, padded to 32) lends its
  // padding to the 4-byte field after it, which [[no_unique_address]] allows; so a block takes
  // 104 bytes, a heap block of 112 with its header.
  fw::CompactString name;    // file title (no folder, no ".dwg"); an internal block's name
  fw::CompactString description;
  [[no_unique_address]] FileStatus currentStatus;  // as last read from disk
  std::int32_t imageIndex = 0;   // in both image lists of the directory; 0 is the placeholder
  [[no_unique_address]] FileStatus cachedStatus;   // as it was at the last probe
  std::int32_t itemIndex = 0;    // item in the block list view; not stored
  std::int64_t created = 0;  // shown as "Created"
  std::int64_t modified = 0; // shown as "Modified"
  std::int32_t version = 0;      // index into the drawing version table
  bool checked = false;      // compared with its cached state in this load pass
  bool valid = false;        // the cached facts are valid
  bool lsaPending = false;   // the description came from a side file the drawing lacks
};

}  // namespace library
