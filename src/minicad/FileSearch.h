// Finding files the way the host's users expect after copying them from Windows: a name
// matches whatever the case of its letters.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace minicad {

// The absolute path of the file `name` in `folder` (empty: the current folder): the exact name
// first, else the first entry whose name differs only in case. Folders do not count. A name
// holding a wildcard ('*' or '?') is only taken exactly.
std::optional<std::wstring> FindFileInFolder(std::wstring_view folder, std::wstring_view name);

// The absolute path of the drawing file a user means by `path`: the path itself when it names a
// file; else, for a name without extension or with ".dwg" in any case, the name with ".dwg"
// whatever the case of the file's extension.
std::optional<std::wstring> FindDrawingFile(std::wstring_view path);

}  // namespace minicad
