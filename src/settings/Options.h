// The global options of the settings file's section "Quorva Options", with their defaults, and
// the column widths of the dialog's two lists.
#pragma once

#include <array>
#include <cstdint>

#include "library/CacheFiles.h"

namespace settings {

inline constexpr library::ColumnWidths kDefaultColumnWidths = {140, 35, 150, 60, 105, 105};

inline constexpr std::size_t kDirColumnCount = 3;
using DirColumnWidths = std::array<std::int32_t, kDirColumnCount>;
// Set by every load that reads the settings file; never stored in it.
inline constexpr DirColumnWidths kDefaultDirColumnWidths = {80, 40, 20};

// Plain values read and changed by the dialogs and the insertion code. The integer options are
// kept as the file has them: a flag is on when its integer is not 0.
struct Options {
  // When a block of the inserted name exists: 0 ask every time, 1 ask once per name and
  // drawing, 2 always redefine.
  int blockInsert = 0;
  int readDirEveryTime = 0;
  int overlayXRef = 0;
  int demandLoadCache = 0;
  int onlyCacheCurrent = 0;
  int delCacheMemoryOnClose = 0;
  int backupIni = 0;
  int printScale = 4;
  int printType = 0;
  // Pixels, the block list's six report columns.
  library::ColumnWidths columnWidths = kDefaultColumnWidths;
  // Pixels, the directory list's three columns.
  DirColumnWidths dirColumnWidths = kDefaultDirColumnWidths;
};

}  // namespace settings
