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

AcDbDatabase* CurrentDatabase() {
  AcDbHostApplicationServices* services = acdbHostApplicationServices();
  return services == nullptr ? nullptr : services->workingDatabase();
}

}  // namespace

std::vector<std::wstring> CurrentLayerNames() {
  AcDbDatabase* database = CurrentDatabase();
  AcDbLayerTable* table = nullptr;
  if (database == nullptr || database->getLayerTable(table, AcDb::kForRead) != Acad::eOk ||
      table == nullptr) {
    return {};
  }
  std::vector<std::wstring> names = RecordNames(*table);
  table->close();
  return names;
}

std::vector<std::wstring> CurrentLinetypeNames() {
  AcDbDatabase* database = CurrentDatabase();
  AcDbLinetypeTable* table = nullptr;
  if (database == nullptr || database->getLinetypeTable(table, AcDb::kForRead) != Acad::eOk ||
      table == nullptr) {
    return {};
  }
  std::vector<std::wstring> names = RecordNames(*table);
  table->close();
  return names;
}

}  // namespace layermap
