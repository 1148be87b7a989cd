// The application entry point's messages and results, with the host's own values.
#pragma once

#include "arx/adesk.h"

namespace AcRx {

enum AppMsgCode {
  kNullMsg = 0,
  kInitAppMsg = 1,
  kUnloadAppMsg = 2,
  kLoadDwgMsg = 3,
  kUnloadDwgMsg = 4,
  kInvkSubrMsg = 5,
  kCfgMsg = 6,
  kEndMsg = 7,
  kQuitMsg = 8,
  kSaveMsg = 9,
  kDependencyMsg = 10,
  kNoDependencyMsg = 11,
  kOleUnloadAppMsg = 12,
  kPreQuitMsg = 13,
  kInitDialogMsg = 14,
  kEndDialogMsg = 15,
  kSuspendMsg = 16,
};

enum AppRetCode {
  kRetOK = 0,
  kRetError = 3,
};

}  // namespace AcRx

// What a module exports, with C linkage. The host calls the entry point with the message and
// the application pointer it gave the module when it loaded it.
using AcRxEntryPointFunction = AcRx::AppRetCode (*)(AcRx::AppMsgCode msg, void* appId);
using AcRxGetApiVersionFunction = int (*)();
