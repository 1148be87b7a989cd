// A module for the host's tests whose initialisation fails.
#include "arx/arxHeaders.h"

extern "C" __attribute__((visibility("default"))) AcRx::AppRetCode acrxEntryPoint(
    AcRx::AppMsgCode message, void*) {
  if (message == AcRx::kInitAppMsg) {
    acutPrintf(L"[failing] init\n");
    return AcRx::kRetError;
  }
  acutPrintf(L"[failing] message %d\n", static_cast<int>(message));
  return AcRx::kRetOK;
}
