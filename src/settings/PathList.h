// The settings file's list of library directories, and the reconciliation of the library with
// it.
//
// Layout:
//   [paths]
//   numpaths=<count>
//   path1=<full path of the first directory in library order>
//   path2=...
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace library {
class Library;
}

namespace settings {

inline constexpr const wchar_t* kPathsSection = L"Paths";
// The paths are read into a buffer of this many characters, so a longer one is cut to one
// character less.
inline constexpr std::size_t kPathBufferSize = 8191;

// The listed paths in order, duplicates kept. Lenient as ReadNumberedValues is with the count;
// an empty path names no folder and is left out.
std::vector<std::wstring> ReadPathList(std::wstring_view file);
// "NumPaths" and one "Path%d" per directory, in library order. The caller holds the library's
// lock or is the only thread that changes the list.
void WritePathList(const library::Library& library, std::wstring_view file);

// Makes the library follow the path list. Every directory whose path matches no listed path
// (compared without regard to case) is removed, its image cache file deleted and the directory
// destroyed. Then each listed path in order is looked up exactly (letter case counts); a path
// not found becomes a new directory with the defaults, appended to the library with a new image
// cache name beside `cachePath`, and reads its whole section. Every listed directory, new or
// not, takes its description from the file; one that was already in the library (from the main
// cache) keeps its other settings. So a path listed twice with the same text gives one
// directory, and twice with different case two. Host main thread, no loader running.
void ReconcileLibrary(library::Library& library, const std::vector<std::wstring>& paths,
                      std::wstring_view cachePath, std::wstring_view file);

}  // namespace settings
