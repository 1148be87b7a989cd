// The host's dynamic linker: loads modules into the host process.
#pragma once

#include "arx/rxobject.h"

class AcRxDynamicLinker : public AcRxObject {
 public:
  static AcRxDynamicLinker* cast(const AcRxObject* object) {
    return dynamic_cast<AcRxDynamicLinker*>(const_cast<AcRxObject*>(object));
  }

  // Loads a module by file name (a bare name is searched in the host's module folders). `printit`
  // prints the host's load message; `asCmd` loads it as a command would. False when it fails.
  virtual bool loadModule(const ACHAR* fileName, bool printit, bool asCmd = false) = 0;
  // Lets the host unload the application later; `appId` is the pointer of the init message.
  virtual bool unlockApplication(void* appId) const = 0;
  // Declares that the application works with several open drawings.
  virtual bool registerAppMDIAware(void* appId) const = 0;
  // Whether a module of this file name (without folder, compared without regard to case) is
  // loaded in the process, as the system's module-handle lookup answers it.
  virtual bool isModuleLoaded(const ACHAR* fileName) const = 0;
};

#define acrxDynamicLinker AcRxDynamicLinker::cast(acrxSysRegistry()->at(ACRX_DYNAMIC_LINKER))
