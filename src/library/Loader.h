// The background loader's thread and controls as the rest of the module sees them.
#pragma once

#include <functional>
#include <stop_token>

#include "fw/Sync.h"

namespace library {

// Starts the loader thread running `body`, which ends when its stop token asks it to (or on its
// own); the stopped event is set when it has ended. A loader that ended before is joined first.
// Host main thread or the dialog's thread.
void StartLoader(std::function<void(std::stop_token)> body);
// Asks a running loader to stop; the loader's stopped event is set once it has ended.
// Host main thread or the dialog's thread.
void StopLoader();
// Waits until the loader thread (if one was started) has ended, and joins it. Only shutdown
// calls it: waiting on the thread itself, not on the stopped event, leaves that event to the
// dialog's closing worker, which waits on it too. Host main thread.
void JoinLoader();
// While the dialog is shown, puts the current directory at the head of the loader's work again.
void RequeueCurrent();
// Set by the loader thread when it ends (auto reset).
fw::CEvent& LoaderStoppedEvent();

}  // namespace library
