// Making a block definition of one database from another database's model space: the database
// insert, and the definitions -INSERT and -XREF make from drawing files.
#pragma once

#include <string>
#include <string_view>

#include "arx/dbmain.h"

class AcDbImpDatabase;

namespace minicad {

// What kind of definition is made.
struct BlockSource {
  // The file of an external reference; empty for a block.
  std::wstring pathName;
  bool overlay = false;
};

// Makes `source`'s model space the block `name` of `target` (redefining one of that name: its
// old objects are erased), with its origin at `source`'s insertion base. Layers, linetypes and
// blocks the contents use come along; a name `target` has already keeps `target`'s record. For an
// external reference they come as dependent records "NAME|record" (layer 0, Defpoints and the
// standard linetypes stay shared). eLockViolation when `target` may not be written now;
// eSelfReference, changing nothing, when the definition would place itself; a status of the
// record calls otherwise.
Acad::ErrorStatus CopyAsBlock(AcDbImpDatabase& target, std::wstring_view name,
                              const AcDbImpDatabase& source, const BlockSource& kind,
                              AcDbObjectId& blockId);

// Makes (or empties) the block `name` as a definition of a drawing this host cannot read: it
// has no objects to show, and references to it still place it.
Acad::ErrorStatus MakeForeignBlock(AcDbImpDatabase& target, std::wstring_view name,
                                   const BlockSource& kind, AcDbObjectId& blockId);

}  // namespace minicad
