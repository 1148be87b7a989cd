// What the module does with each of the host's application messages.
#pragma once

#include "arx/rxdefs.h"

namespace module {

// Handles the init, drawing-load, drawing-unload and quit messages and ignores the others.
// Always returns kRetOK: no failure crosses into the host. Host main thread.
AcRx::AppRetCode HandleAppMessage(AcRx::AppMsgCode msg, void* appId);

}  // namespace module
