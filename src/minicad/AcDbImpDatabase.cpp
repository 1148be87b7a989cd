// Object records, the open and close rules, erasing, and the standard records of a drawing.
#include "minicad/AcDbImpDatabase.h"

#include <algorithm>
#include <set>
#include <utility>

#include "fw/Strings.h"
#include "minicad/AcDbStub.h"
#include "minicad/Document.h"

namespace {

// The host lets at most this many read-opens of one object stand at once.
constexpr int kMaxReaders = 256;

}  // namespace

AcDbImpDatabase::AcDbImpDatabase(AcDbDatabase& owner) : owner_(&owner) {}

AcDbImpDatabase::~AcDbImpDatabase() {
  for (const auto& stub : stubs_) minicad::UnregisterStub(stub.get());
}

AcDbImpDatabase* AcDbImpDatabase::DatabaseOf(const AcDbObject& object) {
  return object.mpStub == nullptr ? nullptr : object.mpStub->database;
}

void AcDbImpDatabase::SwapContents(AcDbDatabase& a, AcDbDatabase& b) {
  AcDbImpDatabase* first = a.mpImpDb;
  AcDbImpDatabase* second = b.mpImpDb;
  std::swap(first->document_, second->document_);
  a.mpImpDb = second;
  b.mpImpDb = first;
  second->owner_ = &a;
  first->owner_ = &b;
}

bool AcDbImpDatabase::WriteAllowed() const { return document_ == nullptr || document_->IsLocked(); }

AcDbObjectId AcDbImpDatabase::Add(std::unique_ptr<AcDbObject> object, AcDbObjectId owner,
                                  bool openForWrite) {
  auto stub = std::make_unique<AcDbStub>();
  AcDbStub* record = stub.get();
  record->database = this;
  record->owner = owner;
  record->writer = openForWrite;
  object->mpStub = record;
  record->object = std::move(object);
  {
    std::lock_guard lock(mutex_);
    stubs_.push_back(std::move(stub));
  }
  minicad::RegisterStub(record);
  return AcDbObjectId(record);
}

AcDbObject* AcDbImpDatabase::Peek(AcDbObjectId id) {
  AcDbStub* stub = id;
  if (!minicad::IsLiveStub(stub)) return nullptr;
  return stub->object.get();
}

bool AcDbImpDatabase::IsErased(AcDbObjectId id) {
  AcDbStub* stub = id;
  if (!minicad::IsLiveStub(stub)) return true;
  std::lock_guard lock(stub->database->mutex_);
  return stub->erased;
}

bool AcDbImpDatabase::Owns(AcDbObjectId id) const {
  AcDbStub* stub = id;
  return minicad::IsLiveStub(stub) && stub->database == this;
}

Acad::ErrorStatus AcDbImpDatabase::Open(AcDbObjectId id, AcDb::OpenMode mode, bool openErased,
                                        AcDbObject*& object) {
  object = nullptr;
  AcDbStub* stub = id;
  if (stub == nullptr) return Acad::eNullObjectId;
  if (!minicad::IsLiveStub(stub)) return Acad::eInvalidInput;
  AcDbImpDatabase& database = *stub->database;
  const bool forWrite = mode == AcDb::kForWrite;
  if (forWrite && !database.WriteAllowed()) return Acad::eLockViolation;
  std::lock_guard lock(database.mutex_);
  if (stub->erased && !openErased) return Acad::eWasErased;
  if (stub->writer) return Acad::eWasOpenForWrite;
  if (forWrite) {
    if (stub->readers > 0) return Acad::eWasOpenForRead;
    stub->writer = true;
  } else {
    if (stub->readers >= kMaxReaders) return Acad::eAtMaxReaders;
    ++stub->readers;
  }
  object = stub->object.get();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbImpDatabase::Close(AcDbStub& stub) {
  std::lock_guard lock(mutex_);
  if (stub.writer) {
    stub.writer = false;
  } else if (stub.readers > 0) {
    --stub.readers;
  } else {
    return Acad::eInvalidOpenState;
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbImpDatabase::Upgrade(AcDbStub& stub) {
  if (!WriteAllowed()) return Acad::eLockViolation;
  std::lock_guard lock(mutex_);
  if (stub.writer) return Acad::eOk;
  if (stub.readers != 1) return stub.readers == 0 ? Acad::eInvalidOpenState : Acad::eWasOpenForRead;
  stub.readers = 0;
  stub.writer = true;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbImpDatabase::Downgrade(AcDbStub& stub) {
  std::lock_guard lock(mutex_);
  if (!stub.writer) return Acad::eNotOpenForWrite;
  stub.writer = false;
  stub.readers = 1;
  return Acad::eOk;
}

bool AcDbImpDatabase::IsReadOpen(const AcDbStub& stub) const {
  std::lock_guard lock(mutex_);
  return stub.readers > 0 || stub.writer;
}

bool AcDbImpDatabase::IsWriteOpen(const AcDbStub& stub) const {
  std::lock_guard lock(mutex_);
  return stub.writer;
}

Acad::ErrorStatus AcDbImpDatabase::Erase(AcDbStub& stub, bool erasing) {
  std::lock_guard lock(mutex_);
  if (!stub.writer) return Acad::eNotOpenForWrite;
  if (stub.erased == erasing) return Acad::eOk;
  Acad::ErrorStatus allowed = erasing ? CheckErase(stub) : CheckUnerase(stub);
  if (allowed != Acad::eOk) return allowed;
  stub.erased = erasing;
  return Acad::eOk;
}

// Called with the mutex held, like the two checks below.
bool AcDbImpDatabase::IsUsedByEntities(AcDbObjectId record) const {
  for (const auto& stub : stubs_) {
    if (stub->erased) continue;
    const AcDbObject* object = stub->object.get();
    if (const auto* layer = AcDbLayerTableRecord::cast(object)) {
      if (layer->mLinetypeId == record) return true;
      continue;
    }
    const auto* entity = AcDbEntity::cast(object);
    if (entity == nullptr) continue;
    const AcDbStub* owner = stub->owner;
    if (owner != nullptr && owner->erased) continue;
    if (entity->mLayerId == record || entity->mLinetypeId == record) return true;
    const auto* reference = AcDbBlockReference::cast(entity);
    if (reference != nullptr && reference->blockTableRecord() == record) return true;
  }
  return false;
}

Acad::ErrorStatus AcDbImpDatabase::CheckErase(const AcDbStub& stub) const {
  const AcDbObject* object = stub.object.get();
  const AcDbObjectId id(&stub);
  constexpr Acad::ErrorStatus kRefused = Acad::eCannotBeErasedByCaller;
  if (AcDbSymbolTable::cast(object) != nullptr) return kRefused;
  if (const auto* block = AcDbBlockTableRecord::cast(object)) {
    if (block->isLayout()) return kRefused;
  } else if (const auto* layer = AcDbLayerTableRecord::cast(object)) {
    if (id == standard_.layerZero || id == header_.currentLayer ||
        fw::EqualsNoCase(layer->mName, L"Defpoints")) {
      return kRefused;
    }
  } else if (AcDbLinetypeTableRecord::cast(object) != nullptr) {
    if (id == standard_.byBlock || id == standard_.byLayer || id == standard_.continuous) {
      return kRefused;
    }
  } else {
    return Acad::eOk;
  }
  return IsUsedByEntities(id) ? kRefused : Acad::eOk;
}

Acad::ErrorStatus AcDbImpDatabase::CheckUnerase(const AcDbStub& stub) const {
  const auto* record = AcDbSymbolTableRecord::cast(stub.object.get());
  if (record == nullptr) return Acad::eOk;
  for (const auto& other : stubs_) {
    if (other.get() == &stub || other->erased || other->owner != stub.owner) continue;
    const auto* sibling = AcDbSymbolTableRecord::cast(other->object.get());
    if (sibling != nullptr && fw::EqualsNoCase(sibling->mName, record->mName)) {
      return Acad::eDuplicateRecordName;
    }
  }
  return Acad::eOk;
}

AcDbObjectId AcDbImpDatabase::AddRecord(AcDbObjectId table,
                                        std::unique_ptr<AcDbSymbolTableRecord> record) {
  AcDbObjectId id = Add(std::move(record), table, false);
  PeekAs<AcDbSymbolTable>(table)->mRecords.push_back(id);
  return id;
}

namespace {

std::size_t Moved(std::size_t position, std::size_t size, bool forward) {
  if (forward) return position + 1;
  return position == 0 ? size : position - 1;
}

std::size_t SkipErased(const std::vector<AcDbObjectId>& ids, std::size_t position, bool forward) {
  while (position < ids.size() && AcDbImpDatabase::IsErased(ids[position])) {
    position = Moved(position, ids.size(), forward);
  }
  return position;
}

}  // namespace

std::size_t AcDbImpDatabase::FirstPosition(const std::vector<AcDbObjectId>& ids, bool atBeginning,
                                           bool skipErased) {
  const std::size_t first = atBeginning || ids.empty() ? 0 : ids.size() - 1;
  return skipErased ? SkipErased(ids, first, atBeginning) : first;
}

std::size_t AcDbImpDatabase::NextPosition(const std::vector<AcDbObjectId>& ids,
                                          std::size_t position, bool forward, bool skipErased) {
  if (position >= ids.size()) return ids.size();
  const std::size_t next = Moved(position, ids.size(), forward);
  return skipErased ? SkipErased(ids, next, forward) : next;
}

void AcDbImpDatabase::BuildDefaultDrawing(std::int64_t now) {
  standard_.blockTable = Add(std::make_unique<AcDbBlockTable>(), AcDbObjectId::kNull, false);
  standard_.layerTable = Add(std::make_unique<AcDbLayerTable>(), AcDbObjectId::kNull, false);
  standard_.linetypeTable = Add(std::make_unique<AcDbLinetypeTable>(), AcDbObjectId::kNull, false);

  auto linetype = [&](const wchar_t* name, const wchar_t* description) {
    auto record = std::make_unique<AcDbLinetypeTableRecord>();
    record->mName = name;
    record->mDescription = description;
    return AddRecord(standard_.linetypeTable, std::move(record));
  };
  standard_.byBlock = linetype(L"ByBlock", L"");
  standard_.byLayer = linetype(L"ByLayer", L"");
  standard_.continuous = linetype(L"Continuous", L"Solid line");

  auto zero = std::make_unique<AcDbLayerTableRecord>();
  zero->mName = L"0";
  zero->mLinetypeId = standard_.continuous;
  standard_.layerZero = AddRecord(standard_.layerTable, std::move(zero));

  auto block = [&](const wchar_t* name) {
    auto record = std::make_unique<AcDbBlockTableRecord>();
    record->mName = name;
    return AddRecord(standard_.blockTable, std::move(record));
  };
  standard_.modelSpace = block(ACDB_MODEL_SPACE);
  standard_.paperSpace = block(ACDB_PAPER_SPACE);

  header_ = minicad::DrawingHeader{};
  header_.currentLayer = standard_.layerZero;
  header_.created = now;
  header_.updated = now;
}

bool AcDbImpDatabase::FindStandardRecords() {
  standard_.modelSpace = FindRecord(standard_.blockTable, ACDB_MODEL_SPACE);
  standard_.paperSpace = FindRecord(standard_.blockTable, ACDB_PAPER_SPACE);
  standard_.layerZero = FindRecord(standard_.layerTable, L"0");
  standard_.byBlock = FindRecord(standard_.linetypeTable, L"ByBlock");
  standard_.byLayer = FindRecord(standard_.linetypeTable, L"ByLayer");
  standard_.continuous = FindRecord(standard_.linetypeTable, L"Continuous");
  return !standard_.modelSpace.isNull() && !standard_.paperSpace.isNull() &&
         !standard_.layerZero.isNull() && !standard_.byBlock.isNull() &&
         !standard_.byLayer.isNull() && !standard_.continuous.isNull();
}

AcDbObjectId AcDbImpDatabase::FindRecord(AcDbObjectId table, std::wstring_view name,
                                         bool includeErased) const {
  const auto* symbols = PeekAs<AcDbSymbolTable>(table);
  if (symbols == nullptr || !Owns(table)) return AcDbObjectId::kNull;
  std::lock_guard lock(mutex_);
  for (AcDbObjectId id : symbols->mRecords) {
    const AcDbStub* stub = id;
    if (stub->erased && !includeErased) continue;
    const auto* record = static_cast<const AcDbSymbolTableRecord*>(stub->object.get());
    if (fw::EqualsNoCase(record->mName, name)) return id;
  }
  return AcDbObjectId::kNull;
}

std::vector<AcDbObjectId> AcDbImpDatabase::BlocksPlacing(AcDbObjectId block) const {
  const auto* table = PeekAs<AcDbBlockTable>(standard_.blockTable);
  std::set<AcDbObjectId> placing{block};
  if (table == nullptr) return {block};
  std::lock_guard lock(mutex_);
  for (bool grown = true; grown;) {
    grown = false;
    for (AcDbObjectId candidate : table->mRecords) {
      const AcDbStub* stub = candidate;
      if (stub->erased || placing.contains(candidate)) continue;
      const auto* record = static_cast<const AcDbBlockTableRecord*>(stub->object.get());
      for (AcDbObjectId entityId : record->mEntities) {
        const AcDbStub* entity = entityId;
        const auto* reference = AcDbBlockReference::cast(entity->object.get());
        if (entity->erased || reference == nullptr) continue;
        if (placing.contains(reference->blockTableRecord())) {
          placing.insert(candidate);
          grown = true;
          break;
        }
      }
    }
  }
  return {placing.begin(), placing.end()};
}
