// Module handles are load addresses: the address where the dynamic linker mapped a shared object
// or the program, as the platform's handles are. The dynamic linker's own tables answer which
// module holds an address and which file a module came from.
#include "fw/Module.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "fw/FileName.h"
#include "fw/NativePath.h"
#include "fw/Strings.h"
#include "fw/System.h"

namespace fw {
namespace {

// The load address of an object as dladdr reports it: the start of the page that holds its
// first loadable segment.
std::uintptr_t LoadAddress(const dl_phdr_info& info) {
  std::uintptr_t lowest = UINTPTR_MAX;
  for (ElfW(Half) i = 0; i < info.dlpi_phnum; ++i) {
    if (info.dlpi_phdr[i].p_type == PT_LOAD) {
      lowest = std::min<std::uintptr_t>(lowest, info.dlpi_addr + info.dlpi_phdr[i].p_vaddr);
    }
  }
  if (lowest == UINTPTR_MAX) return 0;
  auto pageSize = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  return lowest & ~(pageSize - 1);
}

// The program's load address. The dynamic linker lists the program first, so the walk stops
// after one object.
HINSTANCE ProgramModule() {
  std::uintptr_t address = 0;
  dl_iterate_phdr(
      [](dl_phdr_info* info, std::size_t, void* data) {
        *static_cast<std::uintptr_t*>(data) = LoadAddress(*info);
        return 1;
      },
      &address);
  return reinterpret_cast<HINSTANCE>(address);
}

std::mutex programNameLock;
std::wstring& StartedProgramName() {
  static std::wstring* const name = new std::wstring;
  return *name;
}

std::wstring ProgramFileName() {
  {
    std::lock_guard<std::mutex> lock(programNameLock);
    if (!StartedProgramName().empty()) return StartedProgramName();
  }
  char* resolved = realpath("/proc/self/exe", nullptr);
  if (resolved == nullptr) return {};
  std::wstring name = FromNativePath(resolved);
  std::free(resolved);
  return name;
}

// The registrations of extension modules, in the order they were made; a module registered by
// two records appears twice until both terminate. Built on first use, so modules registering
// from their own static initialisers find it, and never destroyed, so modules terminating from
// their static destructors at exit still find it.
struct ExtensionTable {
  std::mutex lock;
  std::vector<HINSTANCE> modules;
};

ExtensionTable& Extensions() {
  static ExtensionTable* const table = new ExtensionTable;
  return *table;
}

thread_local HINSTANCE currentResourceModule = nullptr;

// The dynamic linker's handle of a mapped shared object, with a reference the caller drops with
// dlclose; null for the program itself, a module not mapped, or one without a file.
void* ReferenceOf(HINSTANCE module) {
  Dl_info info{};
  if (module == nullptr || dladdr(module, &info) == 0 || info.dli_fbase != module ||
      info.dli_fname == nullptr || module == ProgramModule()) {
    return nullptr;
  }
  return dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
}

struct NameSearch {
  std::wstring fileName;
  HINSTANCE found = nullptr;
};

}  // namespace

HINSTANCE ModuleFromAddress(const void* address) {
  Dl_info info{};
  if (address == nullptr || dladdr(address, &info) == 0) return nullptr;
  return info.dli_fbase;
}

// The dynamic linker keeps a shared object's name as it was loaded: absolute when found along
// the search path, as given when loaded by a path with a slash. A relative name is taken against
// the current folder. The virtual objects the kernel maps (the vDSO) have no file and no name
// with a separator; they give an empty name.
HINSTANCE GetProgramModule() { return ProgramModule(); }

std::wstring GetModuleFileName(HINSTANCE module) {
  Dl_info info{};
  if (module == nullptr || dladdr(module, &info) == 0 || info.dli_fbase != module) return {};
  // For the program dladdr reports argv[0], which need not be a path at all.
  if (module == ProgramModule()) return ProgramFileName();
  if (info.dli_fname == nullptr) return {};
  std::wstring name = FromNativePath(info.dli_fname);
  if (name.find(kPathSeparator) == std::wstring::npos) return {};
  if (name.front() == kPathSeparator) return name;
  while (name.starts_with(L"./")) name.erase(0, 2);
  return PathJoin(GetCurrentFolder(), name);
}

void SetProgramFileName(std::wstring_view path) {
  std::lock_guard<std::mutex> lock(programNameLock);
  StartedProgramName() = path;
}

HINSTANCE FindLoadedModule(std::wstring_view fileName) {
  NameSearch search{CFileName(fileName).FileName(), nullptr};
  if (search.fileName.empty()) return nullptr;
  if (EqualsNoCase(CFileName(ProgramFileName()).FileName(), search.fileName)) {
    return ProgramModule();
  }
  dl_iterate_phdr(
      [](dl_phdr_info* info, std::size_t, void* data) {
        auto& wanted = *static_cast<NameSearch*>(data);
        // The program is listed with an empty name; it was compared under its started name.
        if (info->dlpi_name == nullptr || info->dlpi_name[0] == '\0') return 0;
        std::wstring name = CFileName(FromNativePath(info->dlpi_name)).FileName();
        if (!EqualsNoCase(name, wanted.fileName)) return 0;
        wanted.found = reinterpret_cast<HINSTANCE>(LoadAddress(*info));
        return 1;
      },
      &search);
  return search.found;
}

HINSTANCE LoadLibrary(std::wstring_view path) {
  std::string native = NativePath(path);
  // A name without a separator would make the system loader search its library path.
  if (native.find('/') == std::string::npos) native = "./" + native;
  void* handle = dlopen(native.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) return nullptr;
  // The module's handle is the load address dladdr reports for anything inside it (as
  // ModuleFromAddress answers); its dynamic section is always inside it.
  link_map* map = nullptr;
  Dl_info info{};
  if (dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr || map->l_ld == nullptr ||
      dladdr(map->l_ld, &info) == 0) {
    dlclose(handle);
    return nullptr;
  }
  return info.dli_fbase;
}

void FreeLibrary(HINSTANCE module) {
  void* handle = ReferenceOf(module);
  if (handle == nullptr) return;
  dlclose(handle);  // the reference ReferenceOf took
  dlclose(handle);  // the one LoadLibrary took
}

void* GetProcAddress(HINSTANCE module, const std::string& name) {
  if (module == nullptr) return nullptr;
  if (module == ProgramModule()) {
    // The program's handle searches the program and what it was linked with.
    void* program = dlopen(nullptr, RTLD_LAZY);
    void* symbol = program != nullptr ? dlsym(program, name.c_str()) : nullptr;
    if (program != nullptr) dlclose(program);
    return symbol;
  }
  void* handle = ReferenceOf(module);
  if (handle == nullptr) return nullptr;
  void* symbol = dlsym(handle, name.c_str());
  dlclose(handle);
  return symbol;
}

std::wstring ModuleFolderOf(const void* address) {
  HINSTANCE module = ModuleFromAddress(address);
  if (module == nullptr) return {};
  std::wstring file = GetModuleFileName(module);
  return file.empty() ? std::wstring() : FolderOf(file);
}

bool InitExtensionModule(ExtensionModule& record, HINSTANCE module) {
  if (module == nullptr) return false;
  if (record.initialized) return record.module == module;
  ExtensionTable& table = Extensions();
  {
    std::lock_guard<std::mutex> lock(table.lock);
    table.modules.push_back(module);
  }
  record.module = module;
  record.initialized = true;
  return true;
}

void TermExtensionModule(ExtensionModule& record) {
  if (!record.initialized) return;
  ExtensionTable& table = Extensions();
  {
    std::lock_guard<std::mutex> lock(table.lock);
    auto found = std::find(table.modules.begin(), table.modules.end(), record.module);
    if (found != table.modules.end()) table.modules.erase(found);
  }
  record.initialized = false;
  record.module = nullptr;
}

std::vector<HINSTANCE> RegisteredExtensionModules() {
  ExtensionTable& table = Extensions();
  std::lock_guard<std::mutex> lock(table.lock);
  std::vector<HINSTANCE> modules;
  for (HINSTANCE module : table.modules) {
    if (std::find(modules.begin(), modules.end(), module) == modules.end()) {
      modules.push_back(module);
    }
  }
  return modules;
}

ModuleStateScope::ModuleStateScope(HINSTANCE module) : previous_(currentResourceModule) {
  currentResourceModule = module;
}

ModuleStateScope::~ModuleStateScope() { currentResourceModule = previous_; }

HINSTANCE CurrentResourceModule() { return currentResourceModule; }

}  // namespace fw
