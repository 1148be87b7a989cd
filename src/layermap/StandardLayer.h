// The layer scheme application makes when a target layer is missing: colour 7 and the
// drawing's CONTINUOUS linetype, as the host makes a new layer.
#pragma once

#include <string>

#include "arx/dbsymtb.h"

namespace layermap {

// Adds the layer `name` to `table` (the layer table of `database`, open for write) and gives
// back its id. The host's status on refusal (an invalid or duplicate name); nothing is left open
// either way. Host main thread.
Acad::ErrorStatus AddStandardLayer(AcDbLayerTable& table, AcDbDatabase& database,
                                   const std::wstring& name, AcDbObjectId& id);

// Prints once on the command line that a scheme named a target that cannot be a layer, so the
// objects it would take stay where they are.
void ReportInvalidLayerName(const std::wstring& target);

}  // namespace layermap
