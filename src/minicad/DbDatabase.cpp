// The database's own calls: making, reading and saving drawings, the tables, the current layer,
// the insertion base and the database insert.
#include "arx/dbapserv.h"
#include "fw/Strings.h"
#include "minicad/AcDbImpDatabase.h"
#include "minicad/DatabaseInsert.h"
#include "minicad/DrawingFiles.h"
#include "minicad/HostApplicationServices.h"
#include "minicad/SymbolNames.h"

AcDbDatabase::AcDbDatabase(bool buildDefaultDrawing, bool) : mpImpDb(new AcDbImpDatabase(*this)) {
  if (buildDefaultDrawing) mpImpDb->BuildDefaultDrawing(fw::CurrentTime());
}

AcDbDatabase::~AcDbDatabase() {
  minicad::ForgetWorkingDatabase(this);
  delete mpImpDb;
}

Acad::ErrorStatus AcDbDatabase::readDwgFile(const ACHAR* fileName, OpenMode, bool, const wchar_t*) {
  if (fileName == nullptr || *fileName == L'\0') return Acad::eInvalidInput;
  minicad::DrawingRead read = minicad::ReadDrawingFile(fileName);
  if (read.status != Acad::eOk) return read.status;
  AcDbImpDatabase::SwapContents(*this, *read.database);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::saveAs(const ACHAR* fileName, bool bBakAndRename,
                                       AcDb::AcDbDwgVersion dwgVer, const void*) {
  if (fileName == nullptr || *fileName == L'\0') return Acad::eInvalidInput;
  std::wstring error;
  return minicad::WriteDrawingFile(*this, fileName, dwgVer, bBakAndRename, error);
}

Acad::ErrorStatus AcDbDatabase::getFilename(const ACHAR*& pOutput) const {
  pOutput = mpImpDb->FileName().c_str();
  return Acad::eOk;
}

AcDb::AcDbDwgVersion AcDbDatabase::originalFileVersion() const { return mpImpDb->Version(); }

void AcDbDatabase::setRetainOriginalThumbnailBitmap(bool retain) {
  mpImpDb->RetainThumbnail() = retain;
}

bool AcDbDatabase::retainOriginalThumbnailBitmap() const { return mpImpDb->RetainThumbnail(); }

namespace {

template <class Table>
Acad::ErrorStatus OpenTable(AcDbObjectId id, Table*& table, AcDb::OpenMode mode) {
  table = nullptr;
  if (id.isNull()) return Acad::eNullObjectId;
  return acdbOpenObject(table, id, mode);
}

}  // namespace

Acad::ErrorStatus AcDbDatabase::getBlockTable(AcDbBlockTable*& pTable, AcDb::OpenMode mode) {
  return OpenTable(blockTableId(), pTable, mode);
}

Acad::ErrorStatus AcDbDatabase::getLayerTable(AcDbLayerTable*& pTable, AcDb::OpenMode mode) {
  return OpenTable(layerTableId(), pTable, mode);
}

Acad::ErrorStatus AcDbDatabase::getLinetypeTable(AcDbLinetypeTable*& pTable, AcDb::OpenMode mode) {
  return OpenTable(linetypeTableId(), pTable, mode);
}

AcDbObjectId AcDbDatabase::blockTableId() const { return mpImpDb->Standard().blockTable; }
AcDbObjectId AcDbDatabase::layerTableId() const { return mpImpDb->Standard().layerTable; }
AcDbObjectId AcDbDatabase::linetypeTableId() const { return mpImpDb->Standard().linetypeTable; }

AcDbObjectId AcDbDatabase::clayer() const { return mpImpDb->Header().currentLayer; }

Acad::ErrorStatus AcDbDatabase::setClayer(AcDbObjectId objId) {
  if (!mpImpDb->WriteAllowed()) return Acad::eLockViolation;
  if (!mpImpDb->Owns(objId) || AcDbImpDatabase::PeekAs<AcDbLayerTableRecord>(objId) == nullptr) {
    return Acad::eInvalidInput;
  }
  if (AcDbImpDatabase::IsErased(objId)) return Acad::eWasErased;
  mpImpDb->Header().currentLayer = objId;
  return Acad::eOk;
}

AcDbObjectId AcDbDatabase::byLayerLinetype() const { return mpImpDb->Standard().byLayer; }
AcDbObjectId AcDbDatabase::byBlockLinetype() const { return mpImpDb->Standard().byBlock; }
AcDbObjectId AcDbDatabase::continuousLinetype() const { return mpImpDb->Standard().continuous; }

AcGePoint3d AcDbDatabase::insbase() const { return mpImpDb->Header().insertionBase; }

Acad::ErrorStatus AcDbDatabase::setInsbase(const AcGePoint3d& base) {
  if (!mpImpDb->WriteAllowed()) return Acad::eLockViolation;
  mpImpDb->Header().insertionBase = base;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::insert(AcDbObjectId& blockId, const ACHAR* pBlockName,
                                       AcDbDatabase* pDb, bool) {
  if (pBlockName == nullptr || pDb == nullptr || pDb == this ||
      !minicad::IsValidSymbolName(pBlockName) || pDb->mpImpDb->Standard().modelSpace.isNull() ||
      mpImpDb->Standard().blockTable.isNull()) {
    return Acad::eInvalidInput;
  }
  return minicad::CopyAsBlock(*mpImpDb, pBlockName, *pDb->mpImpDb, minicad::BlockSource{}, blockId);
}
