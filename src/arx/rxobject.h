// The host's run-time object root and its system registry, a dictionary of named services
// ("ACAD_REGISTERED_COMMANDS", "DynamicLinker", "AcEditor").
#pragma once

#include "arx/adesk.h"

class AcRxObject {
 public:
  virtual ~AcRxObject() = default;
};

class AcRxDictionary : public AcRxObject {
 public:
  // The object stored under `key`, or nullptr. The dictionary keeps ownership.
  virtual AcRxObject* at(const ACHAR* key) const = 0;
};

// The host's system registry; lives as long as the host process.
AcRxDictionary* acrxSysRegistry();

#define ACRX_COMMAND_DOCK L"ACAD_REGISTERED_COMMANDS"
#define ACRX_DYNAMIC_LINKER L"DynamicLinker"
#define ACED_EDITOR_OBJ L"AcEditor"
