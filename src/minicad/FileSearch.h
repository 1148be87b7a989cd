// Finding files the way the host's users expect after copying them from Windows: a name
// matches whatever the case of its letters.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace minicad {

// The absolute path of the file `name` in `folder` (empty: the current folder): the exact name
// first, else the first entry whose name differs only in case (names compared literally, so
// '*' and '?' are characters). Folders do not count.
std::optional<std::wstring> FindFileInFolder(std::wstring_view folder, std::wstring_view name);

// The absolute path of the drawing file a user means by `path`: the path itself when it names a
// file; else, for a name without extension or with ".dwg" in any case, the name with ".dwg"
// whatever the case of the file's extension.
std::optional<std::wstring> FindDrawingFile(std::wstring_view path);

// The file `name` as the host's support-file search finds it: a name holding an absolute path
// only where it says; any other name (a relative folder part included) in each of `folders` in
// turn, the first that holds it winning. Empty folders are skipped.
std::optional<std::wstring> FindFileInFolders(std::wstring_view name,
                                              const std::vector<std::wstring>& folders);

}  // namespace minicad
