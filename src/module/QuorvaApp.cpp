#include "module/QuorvaApp.h"

#include "fw/UiDriver.h"
#include "module/ModuleState.h"
#include "module/RunLog.h"

namespace module {

bool CQuorvaApp::InitInstance() {
  ModuleState& state = TheModule();
  state.moduleInstance = fw::ModuleFromAddress(this);
  fw::InitExtensionModule(extensionModule_, state.moduleInstance);
  // The caption of the module's message boxes.
  fw::SetAppName(L"Quorvane");
  return fw::CWinApp::InitInstance();
}

int CQuorvaApp::ExitInstance() {
  // The run log's sink lives in this module: it must not outlive the module's code.
  StopRunLog();
  fw::TermExtensionModule(extensionModule_);
  return fw::CWinApp::ExitInstance();
}

namespace {

CQuorvaApp theApp;

// The framework's module attach and detach: InitInstance when the module is mapped, ExitInstance
// before it is unmapped. Declared after theApp, so it is constructed after and destroyed before.
struct ModuleAttachment {
  ModuleAttachment() { theApp.InitInstance(); }
  ~ModuleAttachment() { theApp.ExitInstance(); }
} moduleAttachment;

}  // namespace

}  // namespace module
