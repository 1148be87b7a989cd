// The host's system registry: the dictionary of named services that modules look up
// (ACRX_COMMAND_DOCK, ACRX_DYNAMIC_LINKER, ACED_EDITOR_OBJ). Host main thread.
#pragma once

#include <map>
#include <string>

#include "arx/rxobject.h"

namespace minicad {

class SystemRegistry : public AcRxDictionary {
 public:
  // The service under `key` (compared exactly, as the host's keys are), or nullptr.
  AcRxObject* at(const ACHAR* key) const override;

  // Enters a service. The registry does not own it; the host keeps it alive as long as the
  // registry.
  void Add(std::wstring key, AcRxObject* service);

 private:
  std::map<std::wstring, AcRxObject*, std::less<>> services_;
};

}  // namespace minicad
