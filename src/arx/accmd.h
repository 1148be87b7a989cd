// The host's command stack: modules add their commands to it, in named groups.
#pragma once

#include "arx/rxobject.h"

class AcEdUIContext;
class AcEdCommand;

using AcRxFunctionPtr = void (*)();

// Command flags, with the host's values.
#define ACRX_CMD_MODAL 0x00000000
#define ACRX_CMD_TRANSPARENT 0x00000001
#define ACRX_CMD_USEPICKSET 0x00000002
#define ACRX_CMD_REDRAW 0x00000004
#define ACRX_CMD_NOPERSPECTIVE 0x00000008
#define ACRX_CMD_NOMULTIPLE 0x00000010
#define ACRX_CMD_NOTILEMODE 0x00000020
#define ACRX_CMD_NOPAPERSPACE 0x00000040
#define ACRX_CMD_NOINTERNALLOCK 0x00004000
#define ACRX_CMD_DOCREADLOCK 0x00080000
#define ACRX_CMD_DOCEXCLUSIVELOCK 0x00100000
#define ACRX_CMD_SESSION 0x00200000

class AcEdCommandStack : public AcRxObject {
 public:
  static AcEdCommandStack* cast(const AcRxObject* object) {
    return dynamic_cast<AcEdCommandStack*>(const_cast<AcRxObject*>(object));
  }

  // Adds a command. Global names are the English names ("_" prefix); local names are what the
  // user types. Fails with eDuplicateKey when the group already has the global name.
  virtual Acad::ErrorStatus addCommand(const ACHAR* cmdGroupName, const ACHAR* cmdGlobalName,
                                       const ACHAR* cmdLocalName, Adesk::Int32 commandFlags,
                                       AcRxFunctionPtr functionAddr,
                                       AcEdUIContext* UIContext = nullptr, int fcode = -1,
                                       void* hResourceHandle = nullptr,
                                       AcEdCommand** cmdPtrRet = nullptr) = 0;
  // Removes a group and its commands; eKeyNotFound when no such group exists.
  virtual Acad::ErrorStatus removeGroup(const ACHAR* groupName) = 0;
};

#define acedRegCmds AcEdCommandStack::cast(acrxSysRegistry()->at(ACRX_COMMAND_DOCK))
