// The host interface's free functions. Modules call them without a host pointer, so each finds
// the process's Host; without one they answer as a host without services would.
#include <cstdarg>
#include <string>

#include "arx/acdocman.h"
#include "arx/aced.h"
#include "arx/acutads.h"
#include "arx/rxobject.h"
#include "fw/Strings.h"
#include "minicad/Console.h"
#include "minicad/DocManager.h"
#include "minicad/Host.h"
#include "minicad/SystemRegistry.h"

namespace {

// Stands for the host's main window: only its address is ever used.
struct MainWindow {
  int unused = 0;
};
MainWindow mainWindow;

}  // namespace

AcRxDictionary* acrxSysRegistry() {
  static minicad::SystemRegistry emptyRegistry;
  minicad::Host* host = minicad::Host::Current();
  return host == nullptr ? &emptyRegistry : &host->Registry();
}

AcApDocManager* acDocManagerPtr() {
  minicad::Host* host = minicad::Host::Current();
  return host == nullptr ? nullptr : &host->Docs();
}

int acutPrintf(const ACHAR* format, ...) {
  minicad::Host* host = minicad::Host::Current();
  if (format == nullptr || host == nullptr) return 0;
  va_list arguments;
  va_start(arguments, format);
  std::wstring text = fw::FormatV(format, arguments);
  va_end(arguments);
  host->GetConsole().Write(text);
  return static_cast<int>(text.size());
}

void* adsw_acadMainWnd() { return &mainWindow; }
