// Mapping modules with the system's loader and sending them the application messages.
#include "minicad/DynamicLinker.h"

#include <dlfcn.h>

#include <algorithm>
#include <utility>

#include "fw/FileName.h"
#include "fw/FileStatus.h"
#include "fw/NativePath.h"
#include "fw/Strings.h"
#include "minicad/Console.h"
#include "minicad/DocManager.h"
#include "minicad/Document.h"
#include "minicad/FileSearch.h"
#include "minicad/Host.h"
#include "minicad/ModuleCall.h"

namespace minicad {
namespace {

// Modules of the host itself that modules ask for by name. They have no code here; loading one
// only marks it loaded.
constexpr const wchar_t* kHostModules[] = {L"acISMui.arx"};

bool IsHostModule(std::wstring_view fileName) {
  return std::any_of(std::begin(kHostModules), std::end(kHostModules),
                     [&](const wchar_t* name) { return fw::EqualsNoCase(name, fileName); });
}

std::wstring LoaderError() {
  const char* reason = dlerror();
  return reason == nullptr ? std::wstring(L"the system loader gave no reason")
                           : fw::FromUtf8(reason);
}

}  // namespace

struct DynamicLinker::Module {
  std::wstring path;  // absolute; for attached module code, the file name it was given
  void* handle = nullptr;  // null for attached module code
  AcRxEntryPointFunction entryPoint = nullptr;
  // Set once the initialisation message succeeded; only such modules get other messages.
  bool initialised = false;
  bool unlocked = false;
  bool mdiAware = false;
};

DynamicLinker::DynamicLinker(Host& host) : host_(host) {}

DynamicLinker::~DynamicLinker() { UnloadAll(); }

bool DynamicLinker::loadModule(const ACHAR* fileName, bool printit, bool asCmd) {
  if (fileName == nullptr) return false;
  requests_.push_back(LoadRequest{fileName, printit, asCmd});
  Console& console = host_.GetConsole();
  std::wstring name = fileName;
  bool bareName = name.find(fw::kPathSeparator) == std::wstring::npos;

  if (bareName && IsHostModule(name)) {
    MarkLoaded(name);
    if (printit) console.Write(fw::Format(L"Module \"%s\" loaded.\n", name.c_str()));
    return true;
  }
  std::wstring path = name;
  if (bareName) {
    std::optional<std::wstring> found = FindInModuleFolders(name);
    if (!found) {
      if (printit) {
        console.Write(fw::Format(L"Cannot find module \"%s\" in the host's module folders.\n",
                                 name.c_str()));
      }
      return false;
    }
    path = *found;
  }
  Status loaded = Load(path);
  if (printit) {
    console.Write(loaded ? fw::Format(L"Module \"%s\" loaded.\n", path.c_str())
                         : loaded.Message() + L"\n");
  }
  return loaded.Ok();
}

bool DynamicLinker::unlockApplication(void* appId) const {
  Module* module = FindByAppId(appId);
  if (module == nullptr) return false;
  module->unlocked = true;
  return true;
}

bool DynamicLinker::registerAppMDIAware(void* appId) const {
  Module* module = FindByAppId(appId);
  if (module == nullptr) return false;
  module->mdiAware = true;
  return true;
}

bool DynamicLinker::isModuleLoaded(const ACHAR* fileName) const {
  if (fileName == nullptr) return false;
  std::wstring name = fw::CFileName(fileName).FileName();
  if (name.empty()) return false;
  for (const auto& module : modules_) {
    if (module->initialised && fw::EqualsNoCase(fw::CFileName(module->path).FileName(), name)) {
      return true;
    }
  }
  return std::any_of(markedLoaded_.begin(), markedLoaded_.end(),
                     [&](const std::wstring& marked) { return fw::EqualsNoCase(marked, name); });
}

Status DynamicLinker::Load(std::wstring_view path) {
  std::wstring fullPath(path);
  fw::CFileStatus status;
  if (fw::GetFileStatus(path, status)) fullPath = status.fullName;
  for (const auto& module : modules_) {
    if (module->path != fullPath) continue;
    if (module->initialised) return Status::Success();
    return Status::Failure(fw::Format(
        L"Cannot load module \"%s\": its initialisation failed before.", fullPath.c_str()));
  }

  // A name without a separator would make the system loader search its library path.
  std::string nativePath = fw::NativePath(fullPath);
  if (nativePath.find('/') == std::string::npos) nativePath = "./" + nativePath;
  dlerror();
  void* handle = dlopen(nativePath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    return Status::Failure(fw::Format(L"Cannot load module \"%s\": %s", fullPath.c_str(),
                                      LoaderError().c_str()));
  }
  // The same file under another name (a link) is the module loaded already.
  for (const auto& module : modules_) {
    if (module->handle == handle) {
      dlclose(handle);
      if (module->initialised) return Status::Success();
      return Status::Failure(fw::Format(
          L"Cannot load module \"%s\": its initialisation failed before.", fullPath.c_str()));
    }
  }
  void* entryPoint = dlsym(handle, "acrxEntryPoint");
  if (entryPoint == nullptr) {
    std::wstring reason = LoaderError();
    dlclose(handle);
    return Status::Failure(
        fw::Format(L"Cannot load module \"%s\": it exports no acrxEntryPoint (%s)",
                   fullPath.c_str(), reason.c_str()));
  }

  auto record = std::make_unique<Module>();
  record->path = fullPath;
  record->handle = handle;
  record->entryPoint = reinterpret_cast<AcRxEntryPointFunction>(entryPoint);
  return Start(std::move(record));
}

Status DynamicLinker::Attach(std::wstring_view fileName, AcRxEntryPointFunction entryPoint) {
  std::wstring name(fileName);
  if (entryPoint == nullptr) {
    return Status::Failure(
        fw::Format(L"Cannot attach module \"%s\": no entry point.", name.c_str()));
  }
  if (isModuleLoaded(name.c_str())) {
    return Status::Failure(fw::Format(
        L"Cannot attach module \"%s\": a module of that name is loaded.", name.c_str()));
  }
  auto record = std::make_unique<Module>();
  record->path = name;
  record->entryPoint = entryPoint;
  return Start(std::move(record));
}

Status DynamicLinker::Start(std::unique_ptr<Module> record) {
  Module& module = *record;
  modules_.push_back(std::move(record));
  if (!SendMessage(module, AcRx::kInitAppMsg)) {
    return Status::Failure(fw::Format(
        L"Cannot load module \"%s\": its initialisation message failed.", module.path.c_str()));
  }
  module.initialised = true;
  DocManager& documents = host_.Docs();
  for (Document* document : documents.Documents()) {
    if (documents.Find(document) == nullptr) continue;  // closed by an earlier message
    DocManager::MessageFocus focus(documents, document);
    SendMessage(module, AcRx::kLoadDwgMsg);
  }
  return Status::Success();
}

void DynamicLinker::Broadcast(AcRx::AppMsgCode message) {
  std::vector<Module*> recipients;
  for (const auto& module : modules_) {
    if (module->initialised) recipients.push_back(module.get());
  }
  for (Module* module : recipients) SendMessage(*module, message);
}

void DynamicLinker::MarkLoaded(std::wstring_view fileName) {
  std::wstring name = fw::CFileName(fileName).FileName();
  if (!name.empty() && !isModuleLoaded(name.c_str())) markedLoaded_.push_back(name);
}

std::vector<ModuleInfo> DynamicLinker::Modules() const {
  std::vector<ModuleInfo> modules;
  for (const auto& module : modules_) {
    if (module->initialised) {
      modules.push_back(ModuleInfo{module->path, module->unlocked, module->mdiAware});
    }
  }
  return modules;
}

void DynamicLinker::UnloadAll() {
  while (!modules_.empty()) {
    if (modules_.back()->handle != nullptr) dlclose(modules_.back()->handle);
    modules_.pop_back();
  }
}

DynamicLinker::Module* DynamicLinker::FindByAppId(void* appId) const {
  for (const auto& module : modules_) {
    if (module.get() == appId) return module.get();
  }
  return nullptr;
}

std::optional<std::wstring> DynamicLinker::FindInModuleFolders(std::wstring_view fileName) const {
  if (auto found = FindFileInFolder(host_.ProgramFolder(), fileName)) return found;
  for (const std::wstring& folder : host_.SupportFolders()) {
    if (auto found = FindFileInFolder(folder, fileName)) return found;
  }
  return std::nullopt;
}

bool DynamicLinker::SendMessage(Module& module, AcRx::AppMsgCode message) {
  AcRx::AppRetCode result = AcRx::kRetError;
  std::wstring what = fw::Format(L"Module \"%s\" (message %d)", module.path.c_str(),
                                 static_cast<int>(message));
  CallModuleCode(host_.GetConsole(), what,
                 [&] { result = module.entryPoint(message, &module); });
  return result == AcRx::kRetOK;
}

}  // namespace minicad
