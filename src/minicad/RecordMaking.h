// Making records as the host's commands and the database insert do: a new record added to its
// table, and a block definition emptied to be filled anew.
#pragma once

#include <string_view>

#include "arx/dbsymtb.h"
#include "minicad/OpenedObject.h"

class AcDbImpDatabase;

namespace minicad {

// Adds `record`, named `name`, to `table` (opened for write for the add). The record then
// belongs to the database and is closed; on failure it is deleted and the status returned.
Acad::ErrorStatus AddRecord(AcDbObjectId table, AcDbSymbolTableRecord* record,
                            std::wstring_view name, AcDbObjectId& id);

// Opens the block `name` of `database` for write, made when missing, with its old objects
// erased.
Acad::ErrorStatus OpenEmptiedBlock(AcDbImpDatabase& database, std::wstring_view name,
                                   Opened<AcDbBlockTableRecord>& block, AcDbObjectId& id);

}  // namespace minicad
