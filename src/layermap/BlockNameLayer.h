// BlockName->Layer schemes: the inserted block's name picks the layer that is current while the
// host places the reference, and the previous current layer comes back when the command is over.
// Host main thread only.
#pragma once

#include <string>

#include "arx/dbid.h"

namespace layermap {

// What is to be set back after the insertion; part of the module's insertion state.
struct LayerRestore {
  // The current layer of the current drawing before the insertion.
  AcDbObjectId savedCurrentLayer;
  // savedCurrentLayer is to be made current again when the insertion command finishes.
  bool restoreLayerPending = false;
};

// For a scheme of kind Block only (another kind, or no scheme of that name, does nothing):
// remembers the current layer in `restore`, resolves the block name and makes the target layer
// current, creating it (colour 7, CONTINUOUS) when the drawing lacks it. A name the scheme does
// not map, or a target that cannot be a layer name, leaves the current layer as it is. Shows
// "Could not set layer, 1" (existing layer) or "Could not set layer, 2" (new layer) when the
// host refuses.
void SetLayerForBlockName(const std::wstring& blockName, const std::wstring& schemeName,
                          LayerRestore& restore);

// When a restore is pending, makes the saved layer current again ("Could not set layer" when the
// host refuses) and clears the pending flag; otherwise does nothing.
void RestoreCurrentLayer(LayerRestore& restore);

}  // namespace layermap
