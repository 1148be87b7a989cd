// File lookups without regard to the case of names.
#include "minicad/FileSearch.h"

#include "fw/FileName.h"
#include "fw/FileStatus.h"
#include "fw/Strings.h"

namespace minicad {
namespace {

std::optional<std::wstring> ExistingFile(std::wstring_view path) {
  fw::CFileStatus status;
  if (!fw::GetFileStatus(path, status) || (status.attribute & fw::kAttributeDirectory) != 0) {
    return std::nullopt;
  }
  return status.fullName;
}

}  // namespace

std::optional<std::wstring> FindFileInFolder(std::wstring_view folder, std::wstring_view name) {
  if (name.empty()) return std::nullopt;
  std::optional<std::wstring> found = fw::FindFileNoCase(fw::PathJoin(folder, name));
  return found ? ExistingFile(*found) : std::nullopt;
}

std::optional<std::wstring> FindDrawingFile(std::wstring_view path) {
  if (path.empty()) return std::nullopt;
  if (auto found = ExistingFile(path)) return found;
  fw::CFileName parts(path);
  std::wstring name = parts.FileName();
  if (parts.Extension().empty()) {
    name += L".dwg";
  } else if (!fw::EqualsNoCase(parts.Extension(), L".dwg")) {
    return std::nullopt;
  }
  return FindFileInFolder(fw::FolderOf(path), name);
}

std::optional<std::wstring> FindFileInFolders(std::wstring_view name,
                                              const std::vector<std::wstring>& folders) {
  if (name.empty()) return std::nullopt;
  if (name.front() == fw::kPathSeparator) {
    std::wstring folder = fw::FolderOf(name);
    if (folder.empty()) folder.assign(1, fw::kPathSeparator);
    return FindFileInFolder(folder, fw::CFileName(name).FileName());
  }
  for (const std::wstring& folder : folders) {
    if (folder.empty()) continue;
    if (auto found = FindFileInFolder(folder, name)) return found;
  }
  return std::nullopt;
}

}  // namespace minicad
