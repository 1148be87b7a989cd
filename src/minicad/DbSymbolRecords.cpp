// Symbol table records: names, and the layer and linetype records.
#include <cmath>

#include "minicad/AcDbImpDatabase.h"
#include "minicad/CallerText.h"
#include "minicad/SymbolNames.h"

AcDbSymbolTableRecord::~AcDbSymbolTableRecord() = default;

Acad::ErrorStatus AcDbSymbolTableRecord::getName(ACHAR*& pName) const {
  pName = minicad::CopyForCaller(mName);
  return pName == nullptr ? Acad::eOutOfMemory : Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableRecord::getName(const ACHAR*& pName) const {
  pName = mName.c_str();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableRecord::setName(const ACHAR* pName) {
  if (Acad::ErrorStatus status = checkWriteEnabled(); status != Acad::eOk) return status;
  const std::wstring name = minicad::TextOf(pName);
  const bool dependent = name.find(L'|') != std::wstring::npos;
  const bool reserved = AcDbBlockTableRecord::cast(this) != nullptr;
  if (!minicad::IsValidSymbolName(name, dependent, reserved)) {
    return Acad::eInvalidSymbolTableName;
  }
  if (AcDbImpDatabase* database = AcDbImpDatabase::DatabaseOf(*this)) {
    const minicad::StandardRecords& standard = database->Standard();
    const AcDbObjectId self = objectId();
    if (self == standard.modelSpace || self == standard.paperSpace || self == standard.layerZero ||
        self == standard.byBlock || self == standard.byLayer || self == standard.continuous) {
      return Acad::eInvalidInput;
    }
    AcDbObjectId other = database->FindRecord(ownerId(), name);
    if (!other.isNull() && other != self) return Acad::eDuplicateRecordName;
  }
  mName = name;
  return Acad::eOk;
}

bool AcDbSymbolTableRecord::isDependent() const { return mName.find(L'|') != std::wstring::npos; }

// --- Layers -----------------------------------------------------------------------------------

AcDbLayerTableRecord::AcDbLayerTableRecord() { (void)mColor.setColorIndex(7); }

AcDbLayerTableRecord::~AcDbLayerTableRecord() = default;

AcDbObject* AcDbLayerTableRecord::clone() const { return new AcDbLayerTableRecord(*this); }

AcCmColor AcDbLayerTableRecord::color() const { return mColor; }

Acad::ErrorStatus AcDbLayerTableRecord::setColor(const AcCmColor& color) {
  if (Acad::ErrorStatus status = checkWriteEnabled(); status != Acad::eOk) return status;
  if (color.isByBlock() || color.isByLayer()) return Acad::eInvalidInput;
  mColor = color;
  return Acad::eOk;
}

AcDbObjectId AcDbLayerTableRecord::linetypeObjectId() const { return mLinetypeId; }

Acad::ErrorStatus AcDbLayerTableRecord::setLinetypeObjectId(AcDbObjectId id) {
  if (Acad::ErrorStatus status = checkWriteEnabled(); status != Acad::eOk) return status;
  if (AcDbImpDatabase::PeekAs<AcDbLinetypeTableRecord>(id) == nullptr) return Acad::eInvalidInput;
  AcDbImpDatabase* database = AcDbImpDatabase::DatabaseOf(*this);
  if (database != nullptr && !database->Owns(id)) return Acad::eInvalidInput;
  mLinetypeId = id;
  return Acad::eOk;
}

// --- Linetypes --------------------------------------------------------------------------------

AcDbLinetypeTableRecord::AcDbLinetypeTableRecord() = default;

AcDbLinetypeTableRecord::~AcDbLinetypeTableRecord() = default;

AcDbObject* AcDbLinetypeTableRecord::clone() const { return new AcDbLinetypeTableRecord(*this); }

Acad::ErrorStatus AcDbLinetypeTableRecord::asciiDescription(ACHAR*& pDescription) const {
  pDescription = minicad::CopyForCaller(mDescription);
  return pDescription == nullptr ? Acad::eOutOfMemory : Acad::eOk;
}

Acad::ErrorStatus AcDbLinetypeTableRecord::setAsciiDescription(const ACHAR* pDescription) {
  if (Acad::ErrorStatus status = checkWriteEnabled(); status != Acad::eOk) return status;
  mDescription = minicad::TextOf(pDescription);
  return Acad::eOk;
}

double AcDbLinetypeTableRecord::patternLength() const { return mPatternLength; }

Acad::ErrorStatus AcDbLinetypeTableRecord::setPatternLength(double patternLength) {
  if (Acad::ErrorStatus status = checkWriteEnabled(); status != Acad::eOk) return status;
  if (!(patternLength >= 0)) return Acad::eInvalidInput;
  mPatternLength = patternLength;
  return Acad::eOk;
}

int AcDbLinetypeTableRecord::numDashes() const { return static_cast<int>(mDashes.size()); }

Acad::ErrorStatus AcDbLinetypeTableRecord::setNumDashes(int count) {
  if (Acad::ErrorStatus status = checkWriteEnabled(); status != Acad::eOk) return status;
  // The host's linetypes have at most twelve dashes.
  if (count < 0 || count > 12) return Acad::eInvalidInput;
  mDashes.resize(static_cast<std::size_t>(count), 0.0);
  return Acad::eOk;
}

double AcDbLinetypeTableRecord::dashLengthAt(int index) const {
  if (index < 0 || index >= numDashes()) return 0;
  return mDashes[static_cast<std::size_t>(index)];
}

Acad::ErrorStatus AcDbLinetypeTableRecord::setDashLengthAt(int index, double value) {
  if (Acad::ErrorStatus status = checkWriteEnabled(); status != Acad::eOk) return status;
  if (index < 0 || index >= numDashes() || !std::isfinite(value)) return Acad::eInvalidInput;
  mDashes[static_cast<std::size_t>(index)] = value;
  return Acad::eOk;
}
