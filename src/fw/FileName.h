// Paths: a full path split into its parts, and the one helper that joins a folder and a name.
#pragma once

#include <string>
#include <string_view>

namespace fw {

inline constexpr wchar_t kPathSeparator = L'/';

// Joins a folder and a name with exactly one separator between them. An empty folder gives the
// name unchanged. Every path the system builds goes through here.
std::wstring PathJoin(std::wstring_view folder, std::wstring_view name);

// The folder of a path without its trailing separator ("/a/b/c.dwg" gives "/a/b"; "c.dwg"
// gives "").
std::wstring FolderOf(std::wstring_view path);

// A path split as the platform's splitpath does: drive (always empty here), folder with its
// trailing separator, title (the name without extension) and extension (with its dot, empty
// when the name has none). A leading dot does not start an extension (".hidden" is a title).
class CFileName {
 public:
  CFileName() = default;
  explicit CFileName(std::wstring_view fullPath);

  const std::wstring& FullPath() const { return fullPath_; }
  const std::wstring& Drive() const { return drive_; }
  const std::wstring& Folder() const { return folder_; }
  const std::wstring& Title() const { return title_; }
  const std::wstring& Extension() const { return extension_; }
  // Title and extension.
  std::wstring FileName() const { return title_ + extension_; }

 private:
  std::wstring fullPath_;
  std::wstring drive_;
  std::wstring folder_;
  std::wstring title_;
  std::wstring extension_;
};

}  // namespace fw
