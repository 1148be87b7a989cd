// Making the layers scheme application needs.
#include "layermap/StandardLayer.h"

#include "arx/acutads.h"
#include "arx/dbobjptr.h"
#include "layermap/LayerNames.h"

namespace layermap {
namespace {

constexpr Adesk::UInt16 kNewLayerColour = 7;

}  // namespace

Acad::ErrorStatus AddStandardLayer(AcDbLayerTable& table, AcDbDatabase& database,
                                   const std::wstring& name, AcDbObjectId& id) {
  // A record that never reaches the table is deleted by its close.
  auto* created = new AcDbLayerTableRecord();
  AcDbObjectPointer<AcDbLayerTableRecord> record;
  (void)record.acquire(created);
  Acad::ErrorStatus status = record->setName(name.c_str());
  AcCmColor colour;
  (void)colour.setColorIndex(kNewLayerColour);
  if (status == Acad::eOk) status = record->setColor(colour);
  if (status == Acad::eOk) status = record->setLinetypeObjectId(database.continuousLinetype());
  if (status == Acad::eOk) status = table.add(id, record.object());
  return status;
}

void ReportInvalidLayerName(const std::wstring& target) {
  acutPrintf(L"Quorva: \"%s\" cannot be a layer name; nothing is moved to it.\n",
             VisibleName(target).c_str());
}

}  // namespace layermap
