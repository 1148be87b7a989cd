// Adding records and emptying block definitions.
#include "minicad/RecordMaking.h"

#include "minicad/AcDbImpDatabase.h"

namespace minicad {

Acad::ErrorStatus AddRecord(AcDbObjectId table, AcDbSymbolTableRecord* record,
                            std::wstring_view name, AcDbObjectId& id) {
  AcDbImpDatabase::Name(*record) = name;
  Opened<AcDbSymbolTable> opened;
  Acad::ErrorStatus status = opened.Open(table, AcDb::kForWrite);
  if (status == Acad::eOk) status = opened->add(id, record);
  if (status != Acad::eOk) {
    delete record;
    return status;
  }
  return record->close();
}

Acad::ErrorStatus OpenEmptiedBlock(AcDbImpDatabase& database, std::wstring_view name,
                                   Opened<AcDbBlockTableRecord>& block, AcDbObjectId& id) {
  id = database.FindRecord(database.Standard().blockTable, name);
  if (id.isNull()) {
    Acad::ErrorStatus status =
        AddRecord(database.Standard().blockTable, new AcDbBlockTableRecord, name, id);
    if (status != Acad::eOk) return status;
  }
  if (Acad::ErrorStatus status = block.Open(id, AcDb::kForWrite); status != Acad::eOk) {
    return status;
  }
  for (AcDbObjectId entity : AcDbImpDatabase::Entities(*block.Get())) {
    Opened<AcDbEntity> old;
    if (old.Open(entity, AcDb::kForWrite) == Acad::eOk) (void)old->erase();
  }
  return Acad::eOk;
}

}  // namespace minicad
