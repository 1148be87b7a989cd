// A tiny module for the host's tests. It prints every application message it gets on the
// command line, with the drawing current at the time, and registers four commands.
#include <memory>
#include <string>

#include "arx/arxHeaders.h"
#include "fw/Module.h"
#include "fw/UiDriver.h"

namespace {

constexpr const wchar_t* kGroup = L"MCTEST";

const ACHAR* CurrentTitle() {
  AcApDocument* document = acDocManager->curDocument();
  return document == nullptr ? L"(none)" : document->docTitle();
}

const ACHAR* ContextName() {
  return acDocManager->isApplicationContext() ? L"application" : L"document";
}

void HelloCommand() {
  acutPrintf(L"[test] hello in %s, %s context\n", CurrentTitle(), ContextName());
}

// The host program's file name, as the module tells the host's editions apart.
void ProgramCommand() {
  const std::wstring path = fw::GetModuleFileName(fw::GetProgramModule());
  acutPrintf(L"[test] program %s\n", path.substr(path.rfind(L'/') + 1).c_str());
}

void SessionCommand() {
  acutPrintf(L"[test] session in %s, %s context\n", CurrentTitle(), ContextName());
}

// Prints one page naming the drawing on the printer the print dialog gives.
void PrintCommand() {
  std::unique_ptr<fw::PrinterDC> printer = fw::ChoosePrinter(fw::PrintRequest{});
  if (!printer) {
    acutPrintf(L"[test] print cancelled\n");
    return;
  }
  if (printer->StartDoc(L"Test Print") <= 0) {
    acutPrintf(L"[test] StartDoc failed: %ld\n", static_cast<long>(printer->GetLastError()));
    return;
  }
  printer->StartPage();
  printer->DrawText(std::wstring(L"printed in ") + CurrentTitle(), fw::CRect{0, 0, 2000, 200},
                    fw::DT_SINGLELINE);
  printer->EndPage();
  const bool ended = printer->EndDoc() > 0;
  acutPrintf(L"[test] %s at %d dpi\n", ended ? L"printed" : L"not printed",
             printer->GetDeviceCaps(fw::LOGPIXELSY));
}

}  // namespace

extern "C" __attribute__((visibility("default"))) AcRx::AppRetCode acrxEntryPoint(
    AcRx::AppMsgCode message, void* appId) {
  switch (message) {
    case AcRx::kInitAppMsg:
      acutPrintf(L"[test] init\n");
      acedRegCmds->addCommand(kGroup, L"MCHELLO", L"MCHELLO", ACRX_CMD_MODAL, HelloCommand);
      acedRegCmds->addCommand(kGroup, L"MCSESSION", L"MCSESSION", ACRX_CMD_SESSION,
                              SessionCommand);
      acedRegCmds->addCommand(kGroup, L"MCPROGRAM", L"MCPROGRAM", ACRX_CMD_MODAL, ProgramCommand);
      acedRegCmds->addCommand(kGroup, L"MCPRINT", L"MCPRINT", ACRX_CMD_MODAL, PrintCommand);
      acrxDynamicLinker->registerAppMDIAware(appId);
      break;
    case AcRx::kLoadDwgMsg:
      acutPrintf(L"[test] load %s\n", CurrentTitle());
      break;
    case AcRx::kUnloadDwgMsg:
      acutPrintf(L"[test] unload %s\n", CurrentTitle());
      break;
    case AcRx::kQuitMsg:
      acutPrintf(L"[test] quit\n");
      acedRegCmds->removeGroup(kGroup);
      break;
    case AcRx::kUnloadAppMsg:
      acutPrintf(L"[test] unload app\n");
      break;
    default:
      acutPrintf(L"[test] message %d\n", static_cast<int>(message));
      break;
  }
  return AcRx::kRetOK;
}
