// Preparing the block definition of a library drawing with its scheme applied.
#include "layermap/PrepareMappedBlock.h"

#include "arx/dbapserv.h"
#include "arx/dbmain.h"
#include "layermap/MapScheme.h"
#include "layermap/SchemeApplication.h"
#include "layermap/SchemeTable.h"
#include "layermap/SideDrawing.h"

namespace layermap {

bool PrepareMappedBlock(const std::wstring& drawingPath, const std::wstring& blockName,
                        const std::wstring& schemeName) {
  MapScheme* scheme = SchemeMap().Find(schemeName);
  AcDbDatabase* drawing = acdbHostApplicationServices()->workingDatabase();
  if (scheme == nullptr || drawing == nullptr) return false;
  return PrepareMappedBlock(drawingPath, blockName, *scheme, *drawing);
}

bool PrepareMappedBlock(const std::wstring& drawingPath, const std::wstring& blockName,
                        MapScheme& scheme, AcDbDatabase& drawing) {
  std::unique_ptr<SideDrawing> side = SideDrawing::Read(drawingPath);
  if (!side) return false;
  if (!SchemeApplication(scheme, *side).Apply()) return false;
  AcDbObjectId block;
  return drawing.insert(block, blockName.c_str(), &side->Database(), true) == Acad::eOk;
}

}  // namespace layermap
