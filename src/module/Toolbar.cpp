// The QUORVA button handed to the shared ribbon (an assembly of the managed bridge) or, when that
// fails, to the shared toolbar module. Host main thread, at the end of initialisation, or whenever
// another module calls the export.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "arx/rxdlinkr.h"
#include "fw/FileName.h"
#include "fw/FileStatus.h"
#include "fw/ManagedBridge.h"
#include "fw/Resources.h"
#include "fw/Strings.h"
#include "fw/Trace.h"
#include "module/ButtonImage.h"
#include "module/DllBase.h"
#include "module/Exports.h"
#include "module/ModuleState.h"

namespace module {
namespace {

constexpr const wchar_t* kButtonCommand = L"quorva\n";
constexpr const wchar_t* kButtonTitle = L"Quorvane";
constexpr const wchar_t* kRibbonAssembly = L"TarveshRibbon.dll";
constexpr const char* kRibbonType = "TarveshRibbon.API";
constexpr const char* kRibbonMethod = "AddButton";
constexpr const wchar_t* kToolbarModule = L"tarveshtoolbar-22-64.arx";
constexpr const wchar_t* kToolbarFunction = L"AddToToolbar";
// The light edition of the host, which shows neither ribbon assemblies nor toolbar modules.
constexpr const wchar_t* kLightEditionProgram = L"aclt.exe";

// AddToToolbar(command text, title, module instance, image resource id, 0, 0).
using AddToToolbar = dll::stdcall::dll6<std::int32_t, fw::CString, fw::CString, fw::HINSTANCE,
                                        std::uint32_t, std::int32_t, std::uint32_t>;

// Hands the button to the ribbon assembly in `folder`; false, with the reason in the debugger
// output, when anything on the way fails or throws.
bool SetupRibbon(const std::wstring& folder, const std::wstring& commandText,
                 const std::wstring& title, std::span<const std::uint8_t> image) {
  try {
    auto assembly = fw::ManagedAssembly::LoadFrom(fw::PathJoin(folder, kRibbonAssembly));
    auto api = assembly->CreateInstance(kRibbonType);
    std::vector<std::uint8_t> bytes(image.begin(), image.end());
    api->Invoke(kRibbonMethod, {commandText, title, std::move(bytes)});
    return true;
  } catch (const fw::ManagedException& exception) {
    fw::OutputDebugString(L"SetupRibbon: " + exception.Message() + L"\n");
  } catch (const std::exception& exception) {
    fw::OutputDebugString(L"SetupRibbon: " + fw::FromUtf8(exception.what()) + L"\n");
  }
  return false;
}

// Binds AddToToolbar in the toolbar module if that is loaded, and calls it. False when it is not
// bound.
bool CallToolbar(fw::HINSTANCE moduleInstance) {
  AddToToolbar addToToolbar(false, kToolbarModule, kToolbarFunction);
  if (!addToToolbar) return false;
  LogLine(L"AddToToolbar\n");
  addToToolbar(kButtonCommand, kButtonTitle, moduleInstance,
               static_cast<std::uint32_t>(kButtonImageId), 0, 0);
  return true;
}

// Loads the toolbar module from the module's folder through the host, then calls it.
void LoadToolbar(const std::wstring& moduleDirectory, fw::HINSTANCE moduleInstance) {
  const std::wstring path = fw::PathJoin(moduleDirectory, kToolbarModule);
  if (!fw::PathExists(path)) {
    LogLine(L"Toolbar not found.\n");
    return;
  }
  LogLine(L"LoadToolbarModule\n");
  acrxDynamicLinker->loadModule(path.c_str(), false, true);
  LogLine(L"connect to toolbar\n");
  if (!CallToolbar(moduleInstance)) LogLine(L"Could not load toolbar.\n");
}

int SetupToolbar() {
  ModuleState& state = TheModule();
  LogLine(L"SetupToolbar\n");
  const std::span<const std::uint8_t> image =
      fw::FindDataResource(state.moduleInstance, fw::RT_RCDATA, kButtonImageId)
          .value_or(std::span<const std::uint8_t>());
  if (SetupRibbon(state.moduleDirectory, kButtonCommand, kButtonTitle, image)) return 1;
  if (fw::FindLoadedModule(kLightEditionProgram) != nullptr) return 0;
  if (!CallToolbar(state.moduleInstance)) LoadToolbar(state.moduleDirectory, state.moduleInstance);
  return 1;
}

}  // namespace
}  // namespace module

int TarveshSetupToolbar() {
  // Another module may call this: nothing thrown here crosses into it.
  try {
    return module::SetupToolbar();
  } catch (...) {
    return 1;
  }
}
