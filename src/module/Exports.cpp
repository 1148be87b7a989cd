// The module's exported functions: what the host finds in "qrva22-64.arx".
#include "module/Exports.h"

#include "module/EntryPoint.h"

namespace {
constexpr int kApiVersion = 0x00160000;
}

AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId) {
  return module::HandleAppMessage(msg, appId);
}

int acrxGetApiVersion() { return kApiVersion; }
