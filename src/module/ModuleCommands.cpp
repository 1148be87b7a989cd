#include "module/ModuleCommands.h"

#include <exception>
#include <functional>
#include <memory>

#include "arx/arxHeaders.h"
#include "dwgprobe/DrawingReader.h"
#include "fw/FileName.h"
#include "fw/Module.h"
#include "fw/Strings.h"
#include "fw/System.h"
#include "fw/Trace.h"
#include "library/Library.h"
#include "library/Loader.h"
#include "module/Exports.h"
#include "module/ModuleState.h"
#include "module/RunLog.h"
#include "settings/Settings.h"
#include "ui/BlockDlg.h"

namespace module {
namespace {

constexpr const wchar_t* kHostUiModule = L"acISMui.arx";

// Runs a command's body so that no exception reaches the host's command processor.
template <typename Body>
void GuardCommand(Body body) {
  try {
    body();
  } catch (...) {
  }
}

void QuorvaCommandEntry() { GuardCommand(QuorvaCommand); }
void OpenCommandEntry() { GuardCommand(OpenCommand); }

void WriteLogHeader(const ModuleState& state) {
  std::wstring now = fw::FormatLocalTime(fw::CurrentTime(), L"%x %X");
  LogLine(L"____________________________________________ Time=%s Ver=%s\n", now.c_str(),
          state.moduleVersion.c_str());
}

void AddCommands() {
  LogLine(L"Add Commands\n");
  acedRegCmds->addCommand(kCommandGroup, L"QUORVA", L"QUORVA", ACRX_CMD_MODAL, QuorvaCommandEntry,
                          nullptr, -1, nullptr, nullptr);
  acedRegCmds->addCommand(kCommandGroup, L"TRVXQVOPEN", L"TRVXQVOPEN", ACRX_CMD_SESSION,
                          OpenCommandEntry, nullptr, -1, nullptr, nullptr);
}

void PrintBanner(const ModuleState& state) {
  std::wstring buildDate = fw::FromUtf8(__DATE__);
  std::wstring buildTime = fw::FromUtf8(__TIME__);
  acutPrintf(L"%s Loaded! (%s, %s)\n", state.moduleVersion.c_str(), buildDate.c_str(),
             buildTime.c_str());
  acutPrintf(L"Use the command 'quorva' to launch Quorvane.\n");
}

void ActivateDocument(AcApDocument* document) {
  LogLine(L"activateDocument\n");
  acDocManager->activateDocument(document, true);
}

void ActivateDocumentInAppContext(void* document) {
  ActivateDocument(static_cast<AcApDocument*>(document));
}

void DoOpen(const std::wstring& path) {
  LogLine(L"DoOpen\n");
  acDocManager->pushAcadResourceHandle();
  acDocManager->appContextOpenDocument(path.c_str());
  acDocManager->popResourceHandle();
  LogLine(L"DoOpen done\n");
}

AcApDocument* FindOpenDocument(const std::wstring& path) {
  std::unique_ptr<AcApDocumentIterator> documents(acDocManager->newAcApDocumentIterator());
  for (; !documents->done(); documents->step()) {
    AcApDocument* document = documents->document();
    if (fw::EqualsNoCase(document->fileName(), path)) return document;
  }
  return nullptr;
}

}  // namespace

void InitModule(void* appId) {
  ModuleState& state = TheModule();
  fw::HINSTANCE thisModule = fw::ModuleFromAddress(reinterpret_cast<const void*>(&InitModule));
  fw::ModuleStateScope moduleState(thisModule);
  // The module registers as working with several drawings and stays loaded until quit.
  acrxDynamicLinker->registerAppMDIAware(appId);

  state.moduleInstance = thisModule;
  state.moduleDirectory = fw::FolderOf(fw::GetModuleFileName(state.moduleInstance));

  StartRunLog(state.moduleDirectory);
  WriteLogHeader(state);
  AddCommands();
  PrintBanner(state);
  TarveshSetupToolbar();
}

void LoadHostModules() {
  if (!acrxDynamicLinker->isModuleLoaded(kHostUiModule)) {
    acrxDynamicLinker->loadModule(kHostUiModule, false, true);
  }
}

void OnLoadDrawing() {
  ModuleState& state = TheModule();
  if (state.firstDrawing) {
    state.firstDrawing = false;
    LoadSettingsAndSetup(settings::LoadIni);
  }
  LogLine(L"ResetDrawing\n");
  state.askedBlockNames.clear();
}

void LoadSettingsAndSetup(const std::function<void()>& loadIni) {
  LogLine(L"LoadIni\n");
  try {
    loadIni();
  } catch (const std::exception& failure) {
    LogLine(L"LoadIni failed: %s\n", fw::FromUtf8(failure.what()).c_str());
  } catch (...) {
    LogLine(L"LoadIni failed\n");
  }
  LogLine(L"Setup\n");
  Setup();
}

void OnUnloadDrawing() { library::RequeueCurrent(); }

void Setup() {
  ModuleState& state = TheModule();
  state.pickerStartFolder = fw::GetCurrentFolder();
  acedEditor->addReactor(&state.reactor);
  state.setupDoneEvent.SetEvent();
}

void CloseAll() {
  LogLine(L"CloseAll\n");
  acedEditor->removeReactor(&TheModule().reactor);
  // The dialog joins its loader before it returns, so normally none runs here; one that does is
  // stopped and waited for, and with none this waits for nothing.
  library::StopLoader();
  library::JoinLoader();
  settings::SaveIni(true);
  library::EmptyLibrary();
  // The drawing reader's instance lives until the module shuts down.
  dwgprobe::UnloadDrawingReader();
}

void UnloadModule() {
  LogLine(L"removeGroup\n");
  acedRegCmds->removeGroup(kCommandGroup);
  LogLine(L"Done\n");
}

void QuorvaCommand() {
  fw::ModuleStateScope moduleState(TheModule().moduleInstance);
  ModuleState& state = TheModule();
  LogLine(L"Construct dialog\n");
  ui::BlockDlgEnvironment environment{state.moduleVersion, state.moduleDirectory,
                                      &state.pickerStartFolder, &state.setupDoneEvent};
  environment.insertion = &state.insertion;
  environment.askedBlockNames = &state.askedBlockNames;
  environment.pendingOpenPath = &state.pendingOpenPath;
  ui::BlockDlg dialog(adsw_acadMainWnd(), std::move(environment));
  LogLine(L"DoModal\n");
  dialog.DoModal();
  dialog.RunPendingAction();
}

void OpenCommand() {
  ModuleState& state = TheModule();
  if (state.pendingOpenPath.empty()) return;
  LogLine(L"QVOpen, iterate documents\n");
  if (AcApDocument* document = FindOpenDocument(state.pendingOpenPath)) {
    // The path stays: the dialog fills it again before every use.
    if (acDocManager->isApplicationContext()) {
      ActivateDocument(document);
    } else {
      acDocManager->executeInApplicationContext(ActivateDocumentInAppContext, document);
    }
    return;
  }
  if (acDocManager->isApplicationContext()) DoOpen(state.pendingOpenPath);
  state.pendingOpenPath.clear();
  LogLine(L"QVOpen done\n");
}

}  // namespace module
