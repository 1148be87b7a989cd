// Walking the records of one of a drawing's symbol tables (blocks, layers, linetypes) with every
// table and record closed again on every way out. Host main thread.
#pragma once

#include <memory>

#include "arx/dbobjptr.h"
#include "arx/dbsymtb.h"

namespace layermap {

// Opens the table `getTable` gives (such as &AcDbDatabase::getLayerTable) for read and calls
// `visit(Record&)` for each record that is not erased, in table order, each open for read while
// it is visited (the visitor may upgrade it) and closed after. `visit` returns false to end the
// walk. False when the table cannot be opened or walked.
template <class Record, class Table, class Visit>
bool ForEachRecord(AcDbDatabase& database,
                   Acad::ErrorStatus (AcDbDatabase::*getTable)(Table*&, AcDb::OpenMode),
                   Visit visit) {
  Table* opened = nullptr;
  if ((database.*getTable)(opened, AcDb::kForRead) != Acad::eOk) return false;
  AcDbObjectPointer<Table> table;
  (void)table.acquire(opened);
  AcDbSymbolTableIterator* walk = nullptr;
  if (table->newIterator(walk) != Acad::eOk) return false;
  std::unique_ptr<AcDbSymbolTableIterator> records(walk);
  for (; !records->done(); records->step()) {
    AcDbSymbolTableRecord* record = nullptr;
    if (records->getRecord(record, AcDb::kForRead) != Acad::eOk) continue;
    AcDbObjectPointer<AcDbSymbolTableRecord> held;
    (void)held.acquire(record);
    Record* typed = Record::cast(held.object());
    if (typed != nullptr && !visit(*typed)) break;
  }
  return true;
}

}  // namespace layermap
