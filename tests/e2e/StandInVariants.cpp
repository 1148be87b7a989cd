// Ribbon assemblies and a toolbar module that fail in the ways the module must survive, built
// once per way: STAND_IN_NO_TYPE exports no TarveshRibbon.API, STAND_IN_NO_METHOD the type
// without AddButton, STAND_IN_THROWS an AddButton that fails, STAND_IN_NO_EXPORT a module the
// host loads that exports no AddToToolbar.
#include <cstdint>

#include "arx/rxdefs.h"
#include "fw/ManagedBridge.h"

#define STAND_IN_EXPORT extern "C" __attribute__((visibility("default")))

#if defined(STAND_IN_NO_EXPORT)
STAND_IN_EXPORT AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode, void*) { return AcRx::kRetOK; }
#elif defined(STAND_IN_NO_TYPE)
STAND_IN_EXPORT void* TarveshRibbon_Other_Create() { return new int(0); }
STAND_IN_EXPORT void TarveshRibbon_Other_Destroy(void* instance) {
  delete static_cast<int*>(instance);
}
#else
STAND_IN_EXPORT void* TarveshRibbon_API_Create() { return new int(0); }
STAND_IN_EXPORT void TarveshRibbon_API_Destroy(void* instance) {
  delete static_cast<int*>(instance);
}
#if defined(STAND_IN_THROWS)
STAND_IN_EXPORT std::int32_t TarveshRibbon_API_AddButton(void*, const fw_managed_value*,
                                                         std::uint64_t, const fw_managed_sink*) {
  return 1;
}
#endif
#endif
