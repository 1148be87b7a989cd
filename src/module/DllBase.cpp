// Finding or mapping the other module and looking up the function in it.
#include "module/DllBase.h"

#include "fw/Strings.h"

namespace dll::stdcall {

dllbase::dllbase(bool load, const std::wstring& moduleFile, const std::wstring& functionName) {
  if (load) {
    module_ = fw::LoadLibrary(moduleFile);
    loaded_ = module_ != nullptr;
  } else {
    module_ = fw::FindLoadedModule(moduleFile);
  }
  if (module_ != nullptr) address_ = fw::GetProcAddress(module_, fw::ToUtf8(functionName));
}

dllbase::~dllbase() {
  if (loaded_) fw::FreeLibrary(module_);
}

}  // namespace dll::stdcall
