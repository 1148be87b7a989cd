// Reading and writing the path list, and the library's reconciliation with it.
#include "settings/PathList.h"

#include <algorithm>
#include <memory>
#include <mutex>

#include "fw/FileStatus.h"
#include "fw/Strings.h"
#include "library/CacheFiles.h"
#include "library/Directory.h"
#include "library/Library.h"
#include "settings/DirectorySection.h"
#include "settings/IniFile.h"
#include "settings/StoredValues.h"

namespace settings {
namespace {

constexpr const wchar_t* kCountKey = L"NumPaths";
constexpr const wchar_t* kPathKeyPrefix = L"Path";

bool IsListed(const std::wstring& path, const std::vector<std::wstring>& paths) {
  return std::any_of(paths.begin(), paths.end(), [&path](const std::wstring& listed) {
    return fw::EqualsNoCase(listed, path);
  });
}

void RemoveUnlisted(library::Library& library, const std::vector<std::wstring>& paths) {
  std::vector<const library::Directory*> unlisted;
  for (const auto& directory : library.Directories()) {
    if (!IsListed(directory->path, paths)) unlisted.push_back(directory.get());
  }
  for (const library::Directory* directory : unlisted) {
    if (!directory->cacheFile.empty()) fw::DeleteFile(directory->cacheFile);
    library.Delete(*directory);
  }
}

// A directory for a path the library does not know, with its settings from its section. Its
// image lists follow a "UseLargeImages" that turned them off.
library::Directory& AppendNewDirectory(library::Library& library, const std::wstring& path,
                                       std::wstring_view cachePath, std::wstring_view file) {
  auto created = std::make_unique<library::Directory>();
  created->path = path;
  created->cacheFile = library::NewImageCacheName(library, cachePath);
  library::Directory& directory = library.Append(std::move(created));
  bool hadLargeImages = directory.useLargeImages;
  ReadDirectorySettings(directory, file);
  if (directory.useLargeImages != hadLargeImages) directory.ResetImages(true);
  return directory;
}

}  // namespace

std::vector<std::wstring> ReadPathList(std::wstring_view file) {
  std::vector<std::wstring> paths =
      ReadNumberedValues(kPathsSection, kCountKey, kPathKeyPrefix, file);
  std::erase_if(paths, [](const std::wstring& path) { return path.empty(); });
  for (std::wstring& path : paths) {
    if (path.size() >= kPathBufferSize) path.resize(kPathBufferSize - 1);
  }
  return paths;
}

void WritePathList(const library::Library& library, std::wstring_view file) {
  IniWriteInt(kPathsSection, kCountKey, static_cast<long>(library.Size()), file);
  int number = 1;
  for (const auto& directory : library.Directories()) {
    IniWriteString(kPathsSection, NumberedKey(kPathKeyPrefix, number++), directory->path, file);
  }
}

void ReconcileLibrary(library::Library& library, const std::vector<std::wstring>& paths,
                      std::wstring_view cachePath, std::wstring_view file) {
  std::lock_guard<fw::CriticalSection> hold(library.Lock());
  RemoveUnlisted(library, paths);
  for (const std::wstring& path : paths) {
    library::Directory* directory = library.FindByPath(path);
    if (directory == nullptr) directory = &AppendNewDirectory(library, path, cachePath, file);
    ReadDirectoryDescription(*directory, file);
  }
}

}  // namespace settings
