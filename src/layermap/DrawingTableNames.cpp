// Reading the record names of the current drawing's layer and linetype tables.
#include "layermap/DrawingTableNames.h"

#include "arx/arxHeaders.h"

namespace layermap {
namespace {

// Each record is closed before the next is opened; erased records are skipped.
std::vector<std::wstring> RecordNames(const AcDbSymbolTable& table) {
  std::vector<std::wstring> names;
  AcDbSymbolTableIterator* iterator = nullptr;
  if (table.newIterator(iterator) != Acad::eOk || iterator == nullptr) return names;
  for (; !iterator->done(); iterator->step()) {
    AcDbSymbolTableRecord* record = nullptr;
    if (iterator->getRecord(record, AcDb::kForRead) != Acad::eOk || record == nullptr) continue;
    const ACHAR* name = nullptr;
    if (record->getName(name) == Acad::eOk && name != nullptr) names.emplace_back(name);
    record->close();
  }
  delete iterator;
  return names;
}

// The names of one of the current drawing's tables, opened for read with `open`.
template <typename Table>
std::vector<std::wstring> CurrentTableNames(
    Acad::ErrorStatus (AcDbDatabase::*open)(Table*&, AcDb::OpenMode)) {
  AcDbHostApplicationServices* services = acdbHostApplicationServices();
  AcDbDatabase* database = services == nullptr ? nullptr : services->workingDatabase();
  Table* table = nullptr;
  if (database == nullptr || (database->*open)(table, AcDb::kForRead) != Acad::eOk ||
      table == nullptr) {
    return {};
  }
  std::vector<std::wstring> names = RecordNames(*table);
  table->close();
  return names;
}

}  // namespace

std::vector<std::wstring> CurrentLayerNames() {
  return CurrentTableNames(&AcDbDatabase::getLayerTable);
}

std::vector<std::wstring> CurrentLinetypeNames() {
  return CurrentTableNames(&AcDbDatabase::getLinetypeTable);
}

}  // namespace layermap
