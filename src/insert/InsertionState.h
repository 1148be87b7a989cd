// What an insertion started by the browser leaves for the command reactor: which follow-up
// commands are pending, the text that repeats the insertion, the block definition to remove when
// the insertion is cancelled, and the current layer to set back. One instance, in the module's
// state; touched on the host's main thread only (the insertion actions, the reactor and scheme
// application all run there), so it has no lock.
#pragma once

#include <string>

#include "layermap/BlockNameLayer.h"

namespace insert {

struct InsertionState {
  // An insertion of our own is running; every reactor handler does nothing while it is false.
  bool reactorArmed = false;
  // Explode the new reference when the insertion command ends.
  bool explodePending = false;
  // Insert the same block again after each insertion, until one is cancelled.
  bool multipleInsertActive = false;
  // Run the browser command again when the insertion is over.
  bool reopenDialogPending = false;
  // The typed command that inserts (or attaches) the same drawing again.
  std::wstring repeatCommand;
  // The library block being inserted, and whether the drawing had a definition of that name
  // before. A cancelled insertion removes the definition when it did not. True whenever no
  // insertion is running, so that nothing is removed on behalf of an insertion that is over.
  std::wstring insertedBlockName;
  bool blockExisted = true;
  // The current layer a BlockName->Layer scheme changed.
  layermap::LayerRestore layer;
};

}  // namespace insert
