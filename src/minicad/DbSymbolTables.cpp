// Symbol tables and the iterators over their records.
#include <memory>

#include "minicad/AcDbImpDatabase.h"
#include "minicad/SymbolNames.h"

namespace {

// The names a table takes: "*" names (layouts, anonymous blocks) only in the block table, and
// "|" names only as records of an external reference.
bool NameFits(const AcDbSymbolTable& table, const std::wstring& name) {
  const bool dependent = name.find(L'|') != std::wstring::npos;
  const bool reserved =
      AcDbBlockTable::cast(&table) != nullptr && !name.empty() && name.front() == L'*';
  return minicad::IsValidSymbolName(name, dependent, reserved);
}

}  // namespace

AcDbSymbolTable::~AcDbSymbolTable() = default;

AcDbObject* AcDbSymbolTable::clone() const { return nullptr; }

Acad::ErrorStatus AcDbSymbolTable::getAt(const ACHAR* entryName, AcDbObjectId& recordId,
                                         bool getErasedRecord) const {
  AcDbImpDatabase* database = AcDbImpDatabase::DatabaseOf(*this);
  if (entryName == nullptr || database == nullptr) return Acad::eInvalidInput;
  AcDbObjectId found = database->FindRecord(objectId(), entryName, getErasedRecord);
  if (found.isNull()) return Acad::eKeyNotFound;
  recordId = found;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTable::getAt(const ACHAR* entryName, AcDbSymbolTableRecord*& pRec,
                                         AcDb::OpenMode openMode, bool openErasedRec) const {
  pRec = nullptr;
  AcDbObjectId id;
  if (Acad::ErrorStatus status = getAt(entryName, id, openErasedRec); status != Acad::eOk) {
    return status;
  }
  return acdbOpenObject(pRec, id, openMode, openErasedRec);
}

bool AcDbSymbolTable::has(const ACHAR* name) const {
  AcDbObjectId id;
  return getAt(name, id) == Acad::eOk;
}

bool AcDbSymbolTable::has(AcDbObjectId id) const {
  for (AcDbObjectId record : mRecords) {
    if (record == id) return !AcDbImpDatabase::IsErased(id);
  }
  return false;
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbSymbolTableRecord* pRecord) {
  AcDbObjectId ignored;
  return add(ignored, pRecord);
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbObjectId& recordId, AcDbSymbolTableRecord* pRecord) {
  AcDbImpDatabase* database = AcDbImpDatabase::DatabaseOf(*this);
  if (database == nullptr) return Acad::eNotInDatabase;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (pRecord == nullptr) return Acad::eNullObjectPointer;
  if (!pRecord->objectId().isNull()) return Acad::eAlreadyInDb;
  if (!accepts(pRecord)) return Acad::eNotThatKindOfClass;
  const std::wstring& name = AcDbImpDatabase::Name(*pRecord);
  if (!NameFits(*this, name)) return Acad::eInvalidSymbolTableName;
  if (!database->FindRecord(objectId(), name).isNull()) return Acad::eDuplicateRecordName;
  if (auto* layer = AcDbLayerTableRecord::cast(pRecord)) {
    if (layer->linetypeObjectId().isNull()) {
      (void)layer->setLinetypeObjectId(database->Standard().continuous);
    } else if (!database->Owns(layer->linetypeObjectId())) {
      return Acad::eInvalidInput;
    }
  }
  recordId = database->Add(std::unique_ptr<AcDbObject>(pRecord), objectId(), true);
  mRecords.push_back(recordId);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTable::newIterator(AcDbSymbolTableIterator*& pIterator,
                                               bool atBeginning, bool skipDeleted) const {
  pIterator = new AcDbSymbolTableIterator(this);
  pIterator->start(atBeginning, skipDeleted);
  return Acad::eOk;
}

// --- Iterators --------------------------------------------------------------------------------

AcDbSymbolTableIterator::AcDbSymbolTableIterator(const AcDbSymbolTable* table) : mTable(table) {}

AcDbSymbolTableIterator::~AcDbSymbolTableIterator() = default;

void AcDbSymbolTableIterator::start(bool atBeginning, bool skipDeleted) {
  mIndex =
      AcDbImpDatabase::FirstPosition(AcDbImpDatabase::Records(*mTable), atBeginning, skipDeleted);
}

bool AcDbSymbolTableIterator::done() const {
  return mIndex >= AcDbImpDatabase::Records(*mTable).size();
}

void AcDbSymbolTableIterator::step(bool forward, bool skipDeleted) {
  mIndex = AcDbImpDatabase::NextPosition(AcDbImpDatabase::Records(*mTable), mIndex, forward,
                                         skipDeleted);
}

Acad::ErrorStatus AcDbSymbolTableIterator::getRecordId(AcDbObjectId& id) const {
  if (done()) return Acad::eInvalidInput;
  id = AcDbImpDatabase::Records(*mTable)[mIndex];
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableIterator::getRecord(AcDbSymbolTableRecord*& pRecord,
                                                     AcDb::OpenMode openMode,
                                                     bool openErasedRec) const {
  pRecord = nullptr;
  AcDbObjectId id;
  if (Acad::ErrorStatus status = getRecordId(id); status != Acad::eOk) return status;
  return acdbOpenObject(pRecord, id, openMode, openErasedRec);
}

// --- The three tables -------------------------------------------------------------------------

namespace {

template <class Record, class Iterator>
Acad::ErrorStatus OpenTypedRecord(const Iterator& iterator, Record*& pRecord,
                                  AcDb::OpenMode openMode, bool openErased) {
  pRecord = nullptr;
  AcDbObjectId id;
  if (Acad::ErrorStatus status = iterator.getRecordId(id); status != Acad::eOk) return status;
  return acdbOpenObject(pRecord, id, openMode, openErased);
}

template <class Record>
Acad::ErrorStatus OpenTypedRecord(const AcDbSymbolTable& table, const ACHAR* name, Record*& pRecord,
                                  AcDb::OpenMode openMode, bool openErased) {
  pRecord = nullptr;
  AcDbObjectId id;
  if (Acad::ErrorStatus status = table.getAt(name, id, openErased); status != Acad::eOk) {
    return status;
  }
  return acdbOpenObject(pRecord, id, openMode, openErased);
}

}  // namespace

Acad::ErrorStatus AcDbBlockTableIterator::getRecord(AcDbBlockTableRecord*& pRecord,
                                                    AcDb::OpenMode openMode,
                                                    bool openErasedRec) const {
  return OpenTypedRecord(*this, pRecord, openMode, openErasedRec);
}

Acad::ErrorStatus AcDbLayerTableIterator::getRecord(AcDbLayerTableRecord*& pRecord,
                                                    AcDb::OpenMode openMode,
                                                    bool openErasedRec) const {
  return OpenTypedRecord(*this, pRecord, openMode, openErasedRec);
}

Acad::ErrorStatus AcDbLinetypeTableIterator::getRecord(AcDbLinetypeTableRecord*& pRecord,
                                                       AcDb::OpenMode openMode,
                                                       bool openErasedRec) const {
  return OpenTypedRecord(*this, pRecord, openMode, openErasedRec);
}

Acad::ErrorStatus AcDbBlockTable::getAt(const ACHAR* entryName, AcDbBlockTableRecord*& pRec,
                                        AcDb::OpenMode openMode, bool openErasedRec) const {
  return OpenTypedRecord(*this, entryName, pRec, openMode, openErasedRec);
}

Acad::ErrorStatus AcDbBlockTable::newIterator(AcDbBlockTableIterator*& pIterator, bool atBeginning,
                                              bool skipDeleted) const {
  pIterator = new AcDbBlockTableIterator(this);
  pIterator->start(atBeginning, skipDeleted);
  return Acad::eOk;
}

bool AcDbBlockTable::accepts(const AcDbSymbolTableRecord* record) const {
  return AcDbBlockTableRecord::cast(record) != nullptr;
}

Acad::ErrorStatus AcDbLayerTable::getAt(const ACHAR* entryName, AcDbLayerTableRecord*& pRec,
                                        AcDb::OpenMode openMode, bool openErasedRec) const {
  return OpenTypedRecord(*this, entryName, pRec, openMode, openErasedRec);
}

Acad::ErrorStatus AcDbLayerTable::newIterator(AcDbLayerTableIterator*& pIterator, bool atBeginning,
                                              bool skipDeleted) const {
  pIterator = new AcDbLayerTableIterator(this);
  pIterator->start(atBeginning, skipDeleted);
  return Acad::eOk;
}

bool AcDbLayerTable::accepts(const AcDbSymbolTableRecord* record) const {
  return AcDbLayerTableRecord::cast(record) != nullptr;
}

Acad::ErrorStatus AcDbLinetypeTable::getAt(const ACHAR* entryName, AcDbLinetypeTableRecord*& pRec,
                                           AcDb::OpenMode openMode, bool openErasedRec) const {
  return OpenTypedRecord(*this, entryName, pRec, openMode, openErasedRec);
}

Acad::ErrorStatus AcDbLinetypeTable::newIterator(AcDbLinetypeTableIterator*& pIterator,
                                                 bool atBeginning, bool skipDeleted) const {
  pIterator = new AcDbLinetypeTableIterator(this);
  pIterator->start(atBeginning, skipDeleted);
  return Acad::eOk;
}

bool AcDbLinetypeTable::accepts(const AcDbSymbolTableRecord* record) const {
  return AcDbLinetypeTableRecord::cast(record) != nullptr;
}
