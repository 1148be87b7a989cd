// The functions the module exports to the host and to other modules, with C linkage.
#pragma once

#include "arx/rxdefs.h"

#define QRVA_EXPORT extern "C" __attribute__((visibility("default")))

// The host's entry point: handles the init, drawing-load, drawing-unload and quit messages and
// ignores the others. Always returns kRetOK; no failure crosses into the host.
QRVA_EXPORT AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId);
// The host interface version the module was built for: 22.0.
QRVA_EXPORT int acrxGetApiVersion();
// Hands the QUORVA button to the shared ribbon or toolbar; 1 unless the host cannot show it.
QRVA_EXPORT int TarveshSetupToolbar();
