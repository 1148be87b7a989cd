// The background loader's controls as the rest of the module sees them.
#pragma once

#include "fw/Sync.h"

namespace library {

// Asks a running loader to stop; the loader's stopped event is set once it has ended.
// Host main thread or the dialog's thread.
void StopLoader();
// While the dialog is shown, puts the current directory at the head of the loader's work again.
void RequeueCurrent();
// Whether a loader thread has been started and has not yet ended.
bool IsLoaderRunning();
// Set by the loader thread when it ends (auto reset).
fw::CEvent& LoaderStoppedEvent();

}  // namespace library
