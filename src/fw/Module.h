// Modules (shared objects) as the framework sees them: the handle of the module that holds a
// piece of code, its file name, and the per-thread current resource module.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace fw {

// A module handle: the load address of a shared object or of the program. Null is no module.
using HINSTANCE = void*;

// The module that holds `address` (code or data), or nullptr.
HINSTANCE ModuleFromAddress(const void* address);
// The program's own module, as the platform's module-handle call answers for no name.
HINSTANCE GetProgramModule();
// The module's full path; for the program itself, the program's file name (see
// SetProgramFileName). Empty when unknown.
std::wstring GetModuleFileName(HINSTANCE module);
// The name the program was started under, as the platform reports it: the path of a link to the
// program stays the link's, so a link named after another program runs as that program. The
// host program sets it from its command line at start; until then the program file itself
// (links resolved) serves. Any thread.
void SetProgramFileName(std::wstring_view path);
// The module of the process with this file name, as the platform's module-handle lookup
// answers it: only the name is compared (a folder given with it is ignored), without regard to
// case, with the program's name as it was started (see SetProgramFileName, so a link counts
// under its own name) and with every shared object the dynamic linker has mapped. Nothing is
// loaded and no reference is taken. nullptr when none has that name. Any thread.
HINSTANCE FindLoadedModule(std::wstring_view fileName);
// Maps the shared object at `path` (a reference the caller releases with FreeLibrary); nullptr
// when it cannot be mapped.
HINSTANCE LoadLibrary(std::wstring_view path);
void FreeLibrary(HINSTANCE module);
// The address of the exported symbol `name` of a mapped module, or nullptr.
void* GetProcAddress(HINSTANCE module, const std::string& name);

// The folder, without a trailing separator, of the module that holds `address`: a layer that
// may not know the module's own state passes the address of one of its functions, which lives
// in the same module. Empty when the module is unknown.
std::wstring ModuleFolderOf(const void* address);

// What a framework extension module records at load: its handle, used to find its resources.
struct ExtensionModule {
  bool initialized = false;
  HINSTANCE module = nullptr;
};
// Init registers the module in the process's table of extension modules and marks the record;
// false for a null module, or for a record already initialised with another module. Term
// removes it again. The table is guarded, so any thread may call them; a record belongs to its
// one module and is not shared between threads.
bool InitExtensionModule(ExtensionModule& record, HINSTANCE module);
void TermExtensionModule(ExtensionModule& record);
// The registered extension modules, in the order they registered: where a resource lookup
// searches after the current resource module.
std::vector<HINSTANCE> RegisteredExtensionModules();

// Makes `module` the calling thread's current resource module until the scope ends, as the
// framework's module-state guard does around calls into a module.
class ModuleStateScope {
 public:
  explicit ModuleStateScope(HINSTANCE module);
  ~ModuleStateScope();
  ModuleStateScope(const ModuleStateScope&) = delete;
  ModuleStateScope& operator=(const ModuleStateScope&) = delete;

 private:
  HINSTANCE previous_;
};
// The calling thread's current resource module: the innermost live scope's, nullptr outside any.
HINSTANCE CurrentResourceModule();

// The framework's application object of a module: the module runs InitInstance when it is
// mapped and ExitInstance before it is unmapped.
class CWinApp {
 public:
  virtual ~CWinApp() = default;
  virtual bool InitInstance() { return true; }
  virtual int ExitInstance() { return 0; }
};

}  // namespace fw
