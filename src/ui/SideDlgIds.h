// The template ids and control ids of the main dialog's side dialogs: Preferences, Directory
// Properties and Edit Block Description.
#pragma once

#include <cstddef>

namespace ui {

inline constexpr int kPrefsTemplateId = 132;
inline constexpr int kDirPropsTemplateId = 133;
inline constexpr int kEditDescTemplateId = 134;

enum PrefsId : int {
  kIdAlwaysUpdate = 201,
  kIdAskToUpdate = 204,
  kIdAttach = 205,
  kIdCachePath = 210,
  kIdBrowseCache = 211,
  kIdDemandLoad = 212,
  kIdOnlyCacheCurrent = 213,
  kIdDelCacheOnClose = 214,
  kIdAskOncePerBlock = 237,
  kIdBackupIni = 244,
  kIdOverlay = 264,
  kIdReadEveryTime = 271,
  kIdReadOnce = 272,
  kIdUseCompression = 294,
};

enum DirPropsId : int {
  kIdFormatCounts = 207,
  kIdBrowseFolder = 226,
  kIdCacheOption = 227,
  kIdDirDescription = 229,
  kIdDirPath = 230,
  kIdReloadBlocks = 231,
  kIdShowInsertionPoints = 233,
  kIdSaveLsas = 277,
  kIdUseLargeImages = 295,
};

// The timer that follows the loader while Directory Properties is open.
inline constexpr int kDirPropsTimer = 1;
inline constexpr unsigned kDirPropsTimerMs = 1000;

enum EditDescId : int {
  kIdBlockDescription = 222,
};

// The longest description a block may have.
inline constexpr std::size_t kMaxDescriptionLength = 70;

}  // namespace ui
