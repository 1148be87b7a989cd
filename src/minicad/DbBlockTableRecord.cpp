// Block definitions: their entities, origin, description, external-reference path, kinds, and
// the iterator over their entities.
#include <algorithm>
#include <memory>

#include "minicad/AcDbImpDatabase.h"
#include "minicad/CallerText.h"
#include "minicad/SymbolNames.h"

AcDbBlockTableRecord::AcDbBlockTableRecord() = default;

AcDbBlockTableRecord::~AcDbBlockTableRecord() = default;

AcDbObject* AcDbBlockTableRecord::clone() const {
  auto* copy = new AcDbBlockTableRecord(*this);
  copy->mEntities.clear();
  return copy;
}

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbEntity* pEntity) {
  AcDbObjectId ignored;
  return appendAcDbEntity(ignored, pEntity);
}

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbObjectId& pOutputId,
                                                         AcDbEntity* pEntity) {
  AcDbImpDatabase* database = AcDbImpDatabase::DatabaseOf(*this);
  if (database == nullptr) return Acad::eNotInDatabase;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (pEntity == nullptr) return Acad::eNullObjectPointer;
  if (!pEntity->objectId().isNull()) return Acad::eAlreadyInDb;

  AcDbObjectId& layer = AcDbImpDatabase::LayerId(*pEntity);
  AcDbObjectId& linetype = AcDbImpDatabase::LinetypeId(*pEntity);
  if ((!layer.isNull() && !database->Owns(layer)) ||
      (!linetype.isNull() && !database->Owns(linetype))) {
    return Acad::eInvalidInput;
  }
  if (const auto* reference = AcDbBlockReference::cast(pEntity)) {
    const AcDbObjectId block = reference->blockTableRecord();
    const auto* definition = AcDbImpDatabase::PeekAs<AcDbBlockTableRecord>(block);
    if (definition == nullptr || !database->Owns(block) || definition->isLayout()) {
      return Acad::eInvalidInput;
    }
    // A block that places this one (or is this one) would then place itself.
    const std::vector<AcDbObjectId> placing = database->BlocksPlacing(objectId());
    if (std::find(placing.begin(), placing.end(), block) != placing.end()) {
      return Acad::eSelfReference;
    }
  }
  if (layer.isNull()) layer = database->Header().currentLayer;
  if (linetype.isNull()) linetype = database->Standard().byLayer;
  pOutputId = database->Add(std::unique_ptr<AcDbObject>(pEntity), objectId(), true);
  mEntities.push_back(pOutputId);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecord::newIterator(AcDbBlockTableRecordIterator*& pIterator,
                                                    bool atBeginning, bool skipDeleted) const {
  pIterator = new AcDbBlockTableRecordIterator(this);
  pIterator->start(atBeginning, skipDeleted);
  return Acad::eOk;
}

AcGePoint3d AcDbBlockTableRecord::origin() const { return mOrigin; }

Acad::ErrorStatus AcDbBlockTableRecord::setOrigin(const AcGePoint3d& origin) {
  if (Acad::ErrorStatus status = checkWriteEnabled(); status != Acad::eOk) return status;
  mOrigin = origin;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecord::comments(ACHAR*& pComments) const {
  pComments = minicad::CopyForCaller(mComments);
  return pComments == nullptr ? Acad::eOutOfMemory : Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecord::comments(const ACHAR*& pComments) const {
  pComments = mComments.c_str();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecord::setComments(const ACHAR* pComments) {
  if (Acad::ErrorStatus status = checkWriteEnabled(); status != Acad::eOk) return status;
  mComments = minicad::TextOf(pComments);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecord::pathName(const ACHAR*& pPath) const {
  pPath = mPathName.c_str();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecord::setPathName(const ACHAR* pathStr) {
  if (Acad::ErrorStatus status = checkWriteEnabled(); status != Acad::eOk) return status;
  mPathName = minicad::TextOf(pathStr);
  return Acad::eOk;
}

bool AcDbBlockTableRecord::isLayout() const {
  return minicad::IsLayoutName(AcDbImpDatabase::Name(*this));
}

bool AcDbBlockTableRecord::isAnonymous() const {
  const std::wstring& name = AcDbImpDatabase::Name(*this);
  return !name.empty() && name.front() == L'*' && !isLayout();
}

bool AcDbBlockTableRecord::isFromExternalReference() const { return !mPathName.empty(); }

bool AcDbBlockTableRecord::isFromOverlayReference() const {
  return isFromExternalReference() && mOverlay;
}

Acad::ErrorStatus AcDbBlockTableRecord::setIsFromOverlayReference(bool overlay) {
  if (Acad::ErrorStatus status = checkWriteEnabled(); status != Acad::eOk) return status;
  mOverlay = overlay;
  return Acad::eOk;
}

bool AcDbBlockTableRecord::hasAttributeDefinitions() const {
  return std::any_of(mEntities.begin(), mEntities.end(), [](AcDbObjectId id) {
    return !AcDbImpDatabase::IsErased(id) &&
           AcDbImpDatabase::PeekAs<AcDbAttributeDefinition>(id) != nullptr;
  });
}

// --- Iterator ---------------------------------------------------------------------------------

AcDbBlockTableRecordIterator::AcDbBlockTableRecordIterator(const AcDbBlockTableRecord* record)
    : mRecord(record) {}

AcDbBlockTableRecordIterator::~AcDbBlockTableRecordIterator() = default;

void AcDbBlockTableRecordIterator::start(bool atBeginning, bool skipDeleted) {
  mIndex =
      AcDbImpDatabase::FirstPosition(AcDbImpDatabase::Entities(*mRecord), atBeginning, skipDeleted);
}

bool AcDbBlockTableRecordIterator::done() const {
  return mIndex >= AcDbImpDatabase::Entities(*mRecord).size();
}

void AcDbBlockTableRecordIterator::step(bool forward, bool skipDeleted) {
  mIndex = AcDbImpDatabase::NextPosition(AcDbImpDatabase::Entities(*mRecord), mIndex, forward,
                                         skipDeleted);
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntityId(AcDbObjectId& entityId) const {
  if (done()) return Acad::eInvalidInput;
  entityId = AcDbImpDatabase::Entities(*mRecord)[mIndex];
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntity(AcDbEntity*& pEntity,
                                                          AcDb::OpenMode openMode,
                                                          bool openErasedEntity) const {
  pEntity = nullptr;
  AcDbObjectId id;
  if (Acad::ErrorStatus status = getEntityId(id); status != Acad::eOk) return status;
  return acdbOpenAcDbEntity(pEntity, id, openMode, openErasedEntity);
}
