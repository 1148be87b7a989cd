// File status, file search, and moving and deleting files, as the framework offers them.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

// File attribute bits, with the platform's values.
enum FileAttribute : std::uint32_t {
  kAttributeReadOnly = 0x01,
  kAttributeHidden = 0x02,
  kAttributeSystem = 0x04,
  kAttributeDirectory = 0x10,
  kAttributeArchive = 0x20,
  kAttributeNormal = 0x80,
};

// Times are seconds since 1970. Where the file system keeps no creation time, the creation
// time is the last status change.
struct CFileStatus {
  std::int64_t ctime = 0;  // created
  std::int64_t mtime = 0;  // last modified
  std::int64_t atime = 0;  // last accessed
  std::uint64_t size = 0;
  std::uint32_t attribute = 0;  // FileAttribute bits; read-only when the user may not write it
  std::wstring fullName;        // absolute path
};

// False when the path does not exist or cannot be examined.
bool GetFileStatus(std::wstring_view path, CFileStatus& status);
bool PathExists(std::wstring_view path);
// The file at `path`, or else the file in the same folder whose name equals the path's name
// without regard to case (the first by name); nothing when neither exists. Names are compared
// literally: "*" and "?" in a name are characters, not wildcards. Users copy libraries from
// systems whose file names ignore case, so side files and drawings are found this way.
std::optional<std::wstring> FindFileNoCase(std::wstring_view path);
// The same for a folder: the folder at `path`, or else the folder beside it whose name equals
// the path's last name without regard to case.
std::optional<std::wstring> FindFolderNoCase(std::wstring_view path);
bool IsDirectory(std::wstring_view path);
// A regular file (after following links): no folder, FIFO, socket or device.
bool IsRegularFile(std::wstring_view path);

// Moves or renames a file. Fails when the target exists, unless `replaceExisting`; moves across
// file systems by copying and deleting.
bool MoveFile(std::wstring_view from, std::wstring_view to, bool replaceExisting = false);
bool DeleteFile(std::wstring_view path);
bool CopyFile(std::wstring_view from, std::wstring_view to, bool failIfExists);
bool CreateDirectory(std::wstring_view path);

// Finds the entries of one folder whose names match a pattern with * and ?, compared without
// regard to case (so "*.dwg" finds "A.DWG"), sorted by name. Used as the framework's file
// finder is: FindFile, then FindNextFile before each entry, until FindNextFile returns false
// after the last one.
//
//   CFileFind finder;
//   bool more = finder.FindFile(PathJoin(folder, L"*.dwg"));
//   while (more) { more = finder.FindNextFile(); use(finder.GetFilePath()); }
class CFileFind {
 public:
  CFileFind();
  ~CFileFind();
  CFileFind(const CFileFind&) = delete;
  CFileFind& operator=(const CFileFind&) = delete;

  // `pattern` is a folder joined with a name pattern; true when at least one entry matches.
  bool FindFile(std::wstring_view pattern = L"*");
  // Moves to the next entry; returns false when the entry it moved to is the last one.
  bool FindNextFile();
  void Close();

  std::wstring GetFilePath() const;
  std::wstring GetFileName() const;
  std::wstring GetFileTitle() const;
  std::uint64_t GetLength() const;
  std::int64_t GetLastWriteTime() const;
  std::int64_t GetCreationTime() const;
  bool IsDirectory() const;
  bool IsReadOnly() const;
  // "." and "..".
  bool IsDots() const;

 private:
  struct Context;
  std::unique_ptr<Context> context_;
};

}  // namespace fw
