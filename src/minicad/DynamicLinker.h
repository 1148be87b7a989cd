// The host's dynamic linker: maps modules (".arx" shared objects) into the process, sends them
// the application messages, and knows the host's own modules by name. Host main thread.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "arx/rxdefs.h"
#include "arx/rxdlinkr.h"
#include "fw/Result.h"

namespace minicad {

using fw::Result;
using fw::Status;

class Host;

// One call of loadModule, as a module made it.
struct LoadRequest {
  std::wstring fileName;
  bool printit = false;
  bool asCmd = false;
};

// One module mapped into the process.
struct ModuleInfo {
  std::wstring path;  // absolute
  bool unlocked = false;   // unlockApplication was called for it
  bool mdiAware = false;   // registerAppMDIAware was called for it
};

class DynamicLinker : public AcRxDynamicLinker {
 public:
  explicit DynamicLinker(Host& host);
  // Unmaps what is still mapped.
  ~DynamicLinker() override;
  DynamicLinker(const DynamicLinker&) = delete;
  DynamicLinker& operator=(const DynamicLinker&) = delete;

  // Records the request, then loads by path, or a bare name from the host's module folders
  // (the program's folder, then the support folders); a host module known by name (such as
  // "acISMui.arx", which has no code here) is only marked loaded. A module loaded already
  // stays as it is and counts as success. `printit` prints the outcome on the command line.
  bool loadModule(const ACHAR* fileName, bool printit, bool asCmd = false) override;
  // Record the call for the module whose initialisation message carried `appId`; false for a
  // pointer that is no loaded module's.
  bool unlockApplication(void* appId) const override;
  bool registerAppMDIAware(void* appId) const override;
  // Compares the file name (a folder given with it is ignored) with the loaded modules' and
  // the marked names, without regard to case.
  bool isModuleLoaded(const ACHAR* fileName) const override;

  // Maps the module at `path`, resolves "acrxEntryPoint", sends kInitAppMsg and then
  // kLoadDwgMsg for every open document (each current while it is told). The failure text
  // names the file and the reason (the system loader's, for a file it cannot map). A module
  // whose initialisation fails stays mapped, as its commands may be registered already, but
  // gets no further messages.
  Status Load(std::wstring_view path);
  // Takes module code that is part of the program already (a test linking a module's code) as
  // a module of that file name, and starts it as Load does. Fails when a module of that file
  // name is loaded already.
  Status Attach(std::wstring_view fileName, AcRxEntryPointFunction entryPoint);

  // Sends `message` to every initialised module in load order; a module loaded while the
  // message goes round does not get it.
  void Broadcast(AcRx::AppMsgCode message);

  void MarkLoaded(std::wstring_view fileName);
  const std::vector<LoadRequest>& Requests() const { return requests_; }
  std::vector<ModuleInfo> Modules() const;

  // Unmaps every module, the last loaded first (attached module code stays, as part of the
  // program). Their commands and reactors must be gone from the host first.
  void UnloadAll();

 private:
  struct Module;

  Status Start(std::unique_ptr<Module> record);
  Module* FindByAppId(void* appId) const;
  std::optional<std::wstring> FindInModuleFolders(std::wstring_view fileName) const;
  bool SendMessage(Module& module, AcRx::AppMsgCode message);

  Host& host_;
  std::vector<std::unique_ptr<Module>> modules_;
  std::vector<std::wstring> markedLoaded_;
  std::vector<LoadRequest> requests_;
};

}  // namespace minicad
