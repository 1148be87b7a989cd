// The module's framework application object.
#pragma once

#include "fw/Module.h"

namespace module {

// Records the module's handle and registers the module with the framework, so its own
// resources are found; unregisters it again before the module is unmapped.
class CQuorvaApp : public fw::CWinApp {
 public:
  bool InitInstance() override;
  int ExitInstance() override;

 private:
  fw::ExtensionModule extensionModule_;
};

}  // namespace module
