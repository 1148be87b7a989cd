// The host's application messages in, the module's handlers out. Nothing thrown inside the
// module ever reaches the host.
#include "module/EntryPoint.h"

#include "module/ModuleCommands.h"
#include "module/ModuleState.h"

namespace module {
namespace {

void Dispatch(AcRx::AppMsgCode msg, void* appId) {
  module::ModuleState& state = module::TheModule();
  switch (msg) {
    case AcRx::kInitAppMsg:
      module::InitModule(appId);
      module::LoadHostModules();
      break;
    case AcRx::kLoadDwgMsg:
      module::OnLoadDrawing();
      break;
    case AcRx::kUnloadDwgMsg:
      module::OnUnloadDrawing();
      break;
    case AcRx::kQuitMsg:
      if (!state.closedAll) {
        state.closedAll = true;
        module::CloseAll();
      }
      module::UnloadModule();
      break;
    default:
      // Every other message, the unload-application message among them, is ignored: the
      // module stays loaded until the host quits.
      break;
  }
}

}  // namespace

AcRx::AppRetCode HandleAppMessage(AcRx::AppMsgCode msg, void* appId) {
  try {
    Dispatch(msg, appId);
  } catch (...) {
  }
  return AcRx::kRetOK;
}

}  // namespace module
