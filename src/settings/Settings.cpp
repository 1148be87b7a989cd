// LoadIni and SaveIni: the order in which the settings file, the schemes, the main cache and
// the library are read and written, with the run-log line of each step.
#include "settings/Settings.h"

#include <mutex>
#include <optional>

#include "fw/FileStatus.h"
#include "fw/Module.h"
#include "fw/Trace.h"
#include "layermap/SchemeTable.h"
#include "library/CacheFiles.h"
#include "library/Library.h"
#include "settings/DirectorySection.h"
#include "settings/IniFile.h"
#include "settings/IniLocation.h"
#include "settings/OptionsSection.h"
#include "settings/PathList.h"
#include "settings/SchemeSections.h"

namespace settings {
namespace {

Settings& State() {
  static Settings settings;
  return settings;
}

// The folder of the module these settings are linked into (the fallback place of the file).
std::wstring ModuleDirectory() {
  return fw::ModuleFolderOf(reinterpret_cast<const void*>(&LoadIni));
}

void LocateOnce(Settings& settings) {
  if (!settings.iniPath.empty()) return;
  IniLocation location = LocateIniFile(ModuleDirectory());
  settings.iniPath = std::move(location.iniPath);
  settings.cachePath = std::move(location.cachePath);
}

std::optional<fw::CFileStatus> FileStatusOf(const std::wstring& path) {
  fw::CFileStatus status;
  if (!fw::GetFileStatus(path, status)) return std::nullopt;
  return status;
}

// Read-only only when the file exists with a creation time and carries the attribute; a file
// that does not exist yet is writable (the first save creates it).
bool IsWritable(const std::wstring& path) {
  std::optional<fw::CFileStatus> status = FileStatusOf(path);
  return !status || status->ctime == 0 || (status->attribute & fw::kAttributeReadOnly) == 0;
}

void ReadOptionsAndSchemes(Settings& settings) {
  const std::wstring& file = settings.iniPath;
  ReadCachePath(file, settings.cachePath);
  LogLine(L"Cachefile location: %s\n", settings.cachePath.c_str());
  ReadIntegerOptions(file, settings.options);
  LogLine(L"Load the MapSchemes\n");
  ReadSchemes(file, layermap::SchemeMap());
}

// The column widths and the library from the file rather than from the cache.
void ReadDirectories(Settings& settings, library::Library& library) {
  ReadColumnWidths(settings.iniPath, settings.options);
  LogLine(L"Load Directories\n");
  ReconcileLibrary(library, ReadPathList(settings.iniPath), settings.cachePath, settings.iniPath);
}

void WriteLibrarySections(const Settings& settings, const library::Library& library) {
  const std::wstring& file = settings.iniPath;
  WriteOptionsSection(file, settings.options, settings.cachePath);
  std::lock_guard<fw::CriticalSection> hold(library.Lock());
  WritePathList(library, file);
  for (const auto& directory : library.Directories()) WriteDirectorySection(*directory, file);
}

void WriteMainCache(const Settings& settings, const library::Library& library) {
  library::MainCacheSave save{settings.cachePath, settings.iniPath, settings.options.columnWidths};
  (void)library::WriteMainCache(library, save);
}

}  // namespace

Settings& TheSettings() { return State(); }

void ResetSettings() { State() = Settings{}; }

void LoadIni() {
  LogLine(L"LoadIni\n");
  library::Library& library = library::TheLibrary();
  if (!library.IsEmpty()) {
    LogLine(L"LoadIni return\n");
    return;
  }
  Settings& settings = TheSettings();
  LocateOnce(settings);
  // Taken before anything is read, for the cache's up-to-date test.
  std::optional<fw::CFileStatus> iniStatus = FileStatusOf(settings.iniPath);
  settings.options.dirColumnWidths = kDefaultDirColumnWidths;

  LogLine(L"Load the Inifile\n");
  (void)IniLoad(settings.iniPath);
  ReadOptionsAndSchemes(settings);

  library::MainCacheContent cache =
      library::ReadMainCache(library, {settings.cachePath, settings.options.demandLoadCache != 0});
  if (cache.read) settings.options.columnWidths = cache.columnWidths;
  if (!library::IsMainCacheCurrent(cache, iniStatus ? &*iniStatus : nullptr)) {
    ReadDirectories(settings, library);
  }
  LogLine(L"LoadIni return\n");
}

void SaveIni(bool withCache) {
  Settings& settings = TheSettings();
  layermap::SchemeTable& schemes = layermap::SchemeMap();
  if (settings.iniPath.empty()) {
    if (withCache) schemes.Clear();
    return;
  }
  library::Library& library = library::TheLibrary();
  const std::wstring& file = settings.iniPath;
  bool writable = IsWritable(file);
  // Only what is written below survives in the file.
  IniForget(file);
  if (writable) WriteLibrarySections(settings, library);
  WriteSchemes(file, schemes, withCache);
  if (withCache) WriteMainCache(settings, library);
  // A read-only file is kept as it is, without a backup rotation (the store refuses it too).
  if (writable) (void)IniFlush(file, settings.options.backupIni != 0);
}

}  // namespace settings
