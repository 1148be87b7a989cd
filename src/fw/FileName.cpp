// Splitting and joining paths.
#include "fw/FileName.h"

namespace fw {

std::wstring PathJoin(std::wstring_view folder, std::wstring_view name) {
  if (folder.empty()) return std::wstring(name);
  std::size_t folderEnd = folder.find_last_not_of(kPathSeparator);
  std::size_t nameStart = name.find_first_not_of(kPathSeparator);
  if (nameStart == std::wstring_view::npos) nameStart = name.size();
  // A folder made only of separators is the root, which keeps its one separator.
  std::wstring joined(folderEnd == std::wstring_view::npos ? std::wstring_view()
                                                           : folder.substr(0, folderEnd + 1));
  joined += kPathSeparator;
  joined += name.substr(nameStart);
  return joined;
}

std::wstring FolderOf(std::wstring_view path) {
  std::size_t separator = path.find_last_of(kPathSeparator);
  if (separator == std::wstring_view::npos) return {};
  std::size_t folderEnd = path.find_last_not_of(kPathSeparator, separator);
  // Everything before the name is separators: the folder is the root.
  if (folderEnd == std::wstring_view::npos) return std::wstring(1, kPathSeparator);
  return std::wstring(path.substr(0, folderEnd + 1));
}

CFileName::CFileName(std::wstring_view fullPath) : fullPath_(fullPath) {
  std::size_t nameStart = fullPath.find_last_of(kPathSeparator);
  nameStart = nameStart == std::wstring_view::npos ? 0 : nameStart + 1;
  folder_ = fullPath.substr(0, nameStart);
  std::wstring_view name = fullPath.substr(nameStart);
  // The last dot starts the extension, except a dot that begins the name (".hidden") and the
  // folder entries "." and "..", which have none.
  std::size_t dot = name.find_last_of(L'.');
  if (dot == std::wstring_view::npos || dot == 0 || name == L"..") {
    title_ = name;
  } else {
    title_ = name.substr(0, dot);
    extension_ = name.substr(dot);
  }
}

}  // namespace fw
