// One library directory's section of the settings file, named by the directory's full path.
//
// Layout, keys in this order:
//   [<path>]
//   description=<name in the directory list>
//   scale=1-to-1 | Drawing | Prompt | User
//   rotation=Prompt | <fixed angle in degrees, "%f">
//   explode=Yes | No          multipleinsert=Yes | No     repeat=Yes | No
//   showinsertionpoints=Yes | No                          uselargeimages=Yes | No
//   view=<0 large icons, 1 small icons, 2 list, 3 report>
//   sortstyle=<a word of the sort-style table>
//   currentscheme=<scheme name>
// Section names share one name space with the fixed sections and the schemes' sections, and
// the store folds them to lower case: two paths that differ only in case share one section.
#pragma once

#include <string_view>

namespace library {
class Directory;
}

namespace settings {

// "Description" into the directory's description; a missing key gives an empty one.
void ReadDirectoryDescription(library::Directory& directory, std::wstring_view file);

// The keys after "Description". Lenient: an empty value, an unknown word or a view outside 0 to
// 3 leaves the directory's value as it is. "Rotation" of "Prompt" (any case) prompts; any other
// non-empty value is a fixed angle, the decimal number it starts with, 0 when it starts with
// none. A missing "CurrentScheme" gives an empty scheme name.
void ReadDirectorySettings(library::Directory& directory, std::wstring_view file);

// Writes the whole section in the order of the layout above.
void WriteDirectorySection(const library::Directory& directory, std::wstring_view file);

}  // namespace settings
