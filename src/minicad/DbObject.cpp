// Database objects and entities: their ids, opening and closing, erasing, and an entity's
// layer, colour and linetype.
#include <memory>

#include "arx/dbapserv.h"
#include "minicad/AcDbImpDatabase.h"
#include "minicad/AcDbStub.h"
#include "minicad/CallerText.h"

AcDbObject::AcDbObject() = default;

AcDbObject::AcDbObject(const AcDbObject&) : AcRxObject() {}

AcDbObject::~AcDbObject() = default;

AcDbObjectId AcDbObject::objectId() const { return AcDbObjectId(mpStub); }

AcDbObjectId AcDbObject::ownerId() const {
  return mpStub == nullptr ? AcDbObjectId::kNull : mpStub->owner;
}

AcDbDatabase* AcDbObject::database() const {
  return mpStub == nullptr ? nullptr : &mpStub->database->Owner();
}

bool AcDbObject::isErased() const {
  return mpStub != nullptr && AcDbImpDatabase::IsErased(objectId());
}

bool AcDbObject::isReadEnabled() const {
  return mpStub == nullptr || mpStub->database->IsReadOpen(*mpStub);
}

bool AcDbObject::isWriteEnabled() const {
  return mpStub == nullptr || mpStub->database->IsWriteOpen(*mpStub);
}

Acad::ErrorStatus AcDbObject::checkWriteEnabled() const {
  return isWriteEnabled() ? Acad::eOk : Acad::eNotOpenForWrite;
}

Acad::ErrorStatus AcDbObject::erase(bool erasing) {
  if (mpStub == nullptr) return Acad::eNotInDatabase;
  return mpStub->database->Erase(*mpStub, erasing);
}

Acad::ErrorStatus AcDbObject::upgradeOpen() {
  if (mpStub == nullptr) return Acad::eOk;
  return mpStub->database->Upgrade(*mpStub);
}

Acad::ErrorStatus AcDbObject::downgradeOpen() {
  if (mpStub == nullptr) return Acad::eOk;
  return mpStub->database->Downgrade(*mpStub);
}

Acad::ErrorStatus AcDbObject::close() {
  if (mpStub == nullptr) {
    delete this;
    return Acad::eOk;
  }
  return mpStub->database->Close(*mpStub);
}

Acad::ErrorStatus acdbOpenObject(AcDbObject*& pObj, AcDbObjectId id, AcDb::OpenMode mode,
                                 bool openErased) {
  return AcDbImpDatabase::Open(id, mode, openErased, pObj);
}

Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& pEnt, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased) {
  return acdbOpenObject<AcDbEntity>(pEnt, id, mode, openErased);
}

// --- Entities ---------------------------------------------------------------------------------

namespace {

// The database an entity's names are looked up in: its own, else the working one.
AcDbImpDatabase* LookupDatabase(const AcDbEntity& entity) {
  if (AcDbImpDatabase* own = AcDbImpDatabase::DatabaseOf(entity)) return own;
  AcDbDatabase* working = acdbHostApplicationServices()->workingDatabase();
  return working == nullptr ? nullptr : &AcDbImpDatabase::Of(*working);
}

// A record id is taken only from the entity's own database (any database for an entity that
// has none) and only for a record of the right table.
bool FitsEntity(const AcDbEntity& entity, AcDbObjectId record, AcDbObjectId table) {
  const AcDbObject* object = AcDbImpDatabase::Peek(record);
  if (object == nullptr || object->ownerId() != table) return false;
  AcDbImpDatabase* own = AcDbImpDatabase::DatabaseOf(entity);
  return own == nullptr || own->Owns(record);
}

// Sets `field` to the record named `name` of the table `table` names in the entity's database.
Acad::ErrorStatus SetByName(const AcDbEntity& entity, AcDbObjectId& field, const ACHAR* name,
                            AcDbObjectId minicad::StandardRecords::*table) {
  if (name == nullptr) return Acad::eInvalidInput;
  AcDbImpDatabase* database = LookupDatabase(entity);
  if (database == nullptr) return Acad::eNoDatabase;
  AcDbObjectId record = database->FindRecord(database->Standard().*table, name);
  if (record.isNull()) return Acad::eKeyNotFound;
  field = record;
  return Acad::eOk;
}

// Sets `field` to `id` when it names a record of class Record the entity may use.
template <class Record>
Acad::ErrorStatus SetById(const AcDbEntity& entity, AcDbObjectId& field, AcDbObjectId id) {
  const AcDbObject* record = AcDbImpDatabase::Peek(id);
  if (record == nullptr || Record::cast(record) == nullptr ||
      !FitsEntity(entity, id, record->ownerId())) {
    return Acad::eInvalidInput;
  }
  field = id;
  return Acad::eOk;
}

ACHAR* RecordName(AcDbObjectId id) {
  const auto* record = AcDbImpDatabase::PeekAs<AcDbSymbolTableRecord>(id);
  return record == nullptr ? nullptr : minicad::CopyForCaller(AcDbImpDatabase::Name(*record));
}

}  // namespace

AcDbEntity::AcDbEntity() = default;

AcDbEntity::~AcDbEntity() = default;

ACHAR* AcDbEntity::layer() const { return RecordName(mLayerId); }

AcDbObjectId AcDbEntity::layerId() const { return mLayerId; }

Acad::ErrorStatus AcDbEntity::setLayer(const ACHAR* newVal, bool) {
  if (Acad::ErrorStatus status = checkWriteEnabled(); status != Acad::eOk) return status;
  return SetByName(*this, mLayerId, newVal, &minicad::StandardRecords::layerTable);
}

Acad::ErrorStatus AcDbEntity::setLayer(AcDbObjectId newVal, bool) {
  if (Acad::ErrorStatus status = checkWriteEnabled(); status != Acad::eOk) return status;
  return SetById<AcDbLayerTableRecord>(*this, mLayerId, newVal);
}

Adesk::UInt16 AcDbEntity::colorIndex() const { return mColorIndex; }

Acad::ErrorStatus AcDbEntity::setColorIndex(Adesk::UInt16 color, bool) {
  if (Acad::ErrorStatus status = checkWriteEnabled(); status != Acad::eOk) return status;
  if (color > AcCmColor::kByLayer) return Acad::eInvalidInput;
  mColorIndex = color;
  return Acad::eOk;
}

ACHAR* AcDbEntity::linetype() const { return RecordName(mLinetypeId); }

AcDbObjectId AcDbEntity::linetypeId() const { return mLinetypeId; }

Acad::ErrorStatus AcDbEntity::setLinetype(const ACHAR* newVal, bool) {
  if (Acad::ErrorStatus status = checkWriteEnabled(); status != Acad::eOk) return status;
  return SetByName(*this, mLinetypeId, newVal, &minicad::StandardRecords::linetypeTable);
}

Acad::ErrorStatus AcDbEntity::setLinetype(AcDbObjectId newVal, bool) {
  if (Acad::ErrorStatus status = checkWriteEnabled(); status != Acad::eOk) return status;
  return SetById<AcDbLinetypeTableRecord>(*this, mLinetypeId, newVal);
}

Acad::ErrorStatus AcDbEntity::setDatabaseDefaults(AcDbDatabase* pDb) {
  if (Acad::ErrorStatus status = checkWriteEnabled(); status != Acad::eOk) return status;
  if (pDb == nullptr) pDb = acdbHostApplicationServices()->workingDatabase();
  if (pDb == nullptr) return Acad::eNoDatabase;
  AcDbImpDatabase& database = AcDbImpDatabase::Of(*pDb);
  mLayerId = database.Header().currentLayer;
  mLinetypeId = database.Standard().byLayer;
  mColorIndex = AcCmColor::kByLayer;
  return Acad::eOk;
}
