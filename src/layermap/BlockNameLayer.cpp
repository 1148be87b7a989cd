// The current layer for a BlockName->Layer scheme, and setting it back.
#include "layermap/BlockNameLayer.h"

#include "arx/dbapserv.h"
#include "arx/dbobjptr.h"
#include "arx/dbsymtb.h"
#include "fw/Strings.h"
#include "fw/UiDriver.h"
#include "layermap/LayerNames.h"
#include "layermap/MapScheme.h"
#include "layermap/SchemeTable.h"
#include "layermap/StandardLayer.h"

namespace layermap {
namespace {

AcDbDatabase* CurrentDrawing() { return acdbHostApplicationServices()->workingDatabase(); }

void MakeCurrent(AcDbDatabase& drawing, const std::wstring& target) {
  AcDbLayerTable* opened = nullptr;
  if (drawing.getLayerTable(opened, AcDb::kForRead) != Acad::eOk) {
    fw::AfxMessageBox(L"Could not set layer, 2");
    return;
  }
  AcDbObjectPointer<AcDbLayerTable> table;
  (void)table.acquire(opened);
  AcDbObjectId layer;
  if (table->getAt(target.c_str(), layer) == Acad::eOk) {
    (void)table.close();
    if (drawing.setClayer(layer) != Acad::eOk) fw::AfxMessageBox(L"Could not set layer, 1");
    return;
  }
  Acad::ErrorStatus status = table->upgradeOpen();
  if (status == Acad::eOk) status = AddStandardLayer(*table.object(), drawing, target, layer);
  (void)table.close();
  if (status == Acad::eOk) status = drawing.setClayer(layer);
  if (status != Acad::eOk) fw::AfxMessageBox(L"Could not set layer, 2");
}

}  // namespace

void SetLayerForBlockName(const std::wstring& blockName, const std::wstring& schemeName,
                          LayerRestore& restore) {
  MapScheme* scheme = SchemeMap().Find(schemeName);
  AcDbDatabase* drawing = CurrentDrawing();
  if (scheme == nullptr || scheme->GetKind() != SchemeKind::kBlock || drawing == nullptr) return;
  restore.savedCurrentLayer = drawing->clayer();
  restore.restoreLayerPending = true;
  std::wstring name = fw::ToUpper(blockName);
  std::wstring target;
  if (!scheme->Resolve(name, target)) return;
  if (!IsValidLayerName(target)) {
    ReportInvalidLayerName(target);
    return;
  }
  MakeCurrent(*drawing, target);
}

void RestoreCurrentLayer(LayerRestore& restore) {
  if (!restore.restoreLayerPending) return;
  restore.restoreLayerPending = false;
  AcDbDatabase* drawing = CurrentDrawing();
  if (drawing == nullptr || drawing->setClayer(restore.savedCurrentLayer) != Acad::eOk) {
    fw::AfxMessageBox(L"Could not set layer");
  }
}

}  // namespace layermap
