// Queuing command text and the host program's identity.
#include "insert/HostCommand.h"

#include "arx/acdocman.h"
#include "fw/FileName.h"
#include "fw/Module.h"
#include "fw/Strings.h"

namespace insert {

bool SendCommand(const std::wstring& text, bool echo) {
  AcApDocument* document = acDocManager->curDocument();
  if (document == nullptr) return false;
  return acDocManager->sendStringToExecute(document, text.c_str(), true, false, echo) == Acad::eOk;
}

std::wstring HostProgramName() {
  const std::wstring program = fw::GetModuleFileName(fw::GetProgramModule());
  return fw::ToLower(fw::CFileName(program).FileName());
}

}  // namespace insert
