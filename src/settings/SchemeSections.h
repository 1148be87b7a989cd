// The mapping schemes in the settings file: the list of scheme names and one section per
// scheme.
//
// Layout:
//   [schemes]
//   numschemes=<count>
//   scheme1=<name>                in the order of the scheme table
//   ...
//   [<scheme name>]
//   type=Layer | Linetype | Color | Block
//   defaulttobylayer=Yes | No
//   unknowntype=Ignore | Ask | Specific
//   unknownval=[Var:]<layer>      only for Specific; "Var:" when the value names a variable
//   nummaps=<count>
//   map1=<FROM>,[Var:]<To>        in the order of the scheme's maps; "Var:" for a variable map
//   ...
// Scheme sections share one name space with the fixed sections and the directories' sections,
// without regard to case: a scheme named "Paths" writes its keys into the path list's section
// (and one named like a directory into that directory's). No scheme key is also a key of those
// sections, so both read back from the shared section.
#pragma once

#include <string_view>

namespace layermap {
class MapScheme;
class SchemeTable;
}  // namespace layermap

namespace settings {

inline constexpr const wchar_t* kSchemesSection = L"Schemes";

// Reads each listed scheme into a new scheme with the construction defaults and puts it into
// `table`, replacing a scheme of the same name; schemes not listed stay. Lenient: the counts as
// ReadNumberedValues has them, an empty name is left out, an unknown "Type" or "UnknownType"
// keeps the default, "DefaultToByLayer" is on only for "Yes" (any case), and a map value without
// a comma is a map from the empty pattern. Host main thread.
void ReadSchemes(std::wstring_view file, layermap::SchemeTable& table);
void ReadSchemeSection(std::wstring_view name, layermap::MapScheme& scheme, std::wstring_view file);

// Writes "NumSchemes" and, for each scheme in table order, its "Scheme%d" entry and then its
// section. With `deleteWritten` every scheme is deleted once written, so the table ends empty.
// Host main thread, or the dialog's closing worker while the main thread waits for it.
void WriteSchemes(std::wstring_view file, layermap::SchemeTable& table, bool deleteWritten);
void WriteSchemeSection(std::wstring_view name, const layermap::MapScheme& scheme,
                        std::wstring_view file);

}  // namespace settings
