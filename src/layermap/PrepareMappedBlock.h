// Defining a library drawing as a block of the current drawing with its directory's scheme
// applied: the drawing is read apart, rewritten by a Layer, Linetype or Color scheme, and made
// the block definition by the host's database insert. Host main thread, inside an insertion.
#pragma once

#include <string>

class AcDbDatabase;

namespace layermap {

class MapScheme;

// Looks the scheme up by name in the scheme table. True when the current drawing now holds a
// block definition `blockName` made from the mapped drawing (for a Block scheme, from the
// drawing as it is). False, with no message, when there is no such scheme or no current
// drawing, the file cannot be read, its tables cannot be opened, or the host refuses the
// insert: the caller then inserts the drawing unmapped from its file.
bool PrepareMappedBlock(const std::wstring& drawingPath, const std::wstring& blockName,
                        const std::wstring& schemeName);

// The same with the scheme and the receiving drawing given.
bool PrepareMappedBlock(const std::wstring& drawingPath, const std::wstring& blockName,
                        MapScheme& scheme, AcDbDatabase& drawing);

}  // namespace layermap
