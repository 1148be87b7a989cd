// The managed-runtime bridge over shared objects.
#include "fw/ManagedBridge.h"

#include <dlfcn.h>

#include <algorithm>
#include <mutex>

#include "fw/FileName.h"
#include "fw/NativePath.h"
#include "fw/Strings.h"

namespace fw {

namespace {

using CreateFunction = void* (*)();
using DestroyFunction = void (*)(void*);
using MethodFunction = std::int32_t (*)(void*, const fw_managed_value*, std::uint64_t,
                                        const fw_managed_sink*);

std::mutex resolverMutex;
AssemblyResolver& Resolver() {
  static AssemblyResolver resolver;
  return resolver;
}

std::wstring Widen(const std::string& text) { return FromUtf8(text); }

// The prefix of a type's exported functions: its full name with '.' as '_'.
std::string SymbolPrefix(std::string type) {
  std::replace(type.begin(), type.end(), '.', '_');
  return type;
}

// Arguments in the C layout; owns the byte copies of text the values point at. Texts cross as
// a path's bytes do (fw/NativePath.h): UTF-8, and a file name that is not UTF-8 reaches the
// other side as the very bytes it has on disk.
struct CArguments {
  std::vector<std::string> texts;
  std::vector<fw_managed_value> values;

  explicit CArguments(const std::vector<ManagedValue>& arguments) {
    texts.reserve(arguments.size());
    for (const ManagedValue& argument : arguments) values.push_back(Convert(argument));
  }

  fw_managed_value Convert(const ManagedValue& argument) {
    fw_managed_value value{};
    if (const bool* b = std::get_if<bool>(&argument)) {
      value.kind = fw_managed_bool;
      value.integer = *b ? 1 : 0;
    } else if (const auto* i = std::get_if<std::int64_t>(&argument)) {
      value.kind = fw_managed_integer;
      value.integer = *i;
    } else if (const double* r = std::get_if<double>(&argument)) {
      value.kind = fw_managed_real;
      value.real = *r;
    } else if (const auto* t = std::get_if<std::wstring>(&argument)) {
      value.kind = fw_managed_text;
      value.text = texts.emplace_back(NativePath(*t)).c_str();
    } else if (const auto* v = std::get_if<std::vector<double>>(&argument)) {
      value.kind = fw_managed_reals;
      value.reals = v->data();
      value.count = v->size();
    } else if (const auto* b = std::get_if<std::vector<std::uint8_t>>(&argument)) {
      value.kind = fw_managed_bytes;
      value.bytes = b->data();
      value.count = b->size();
    }
    return value;
  }
};

// Whether an array result's pointer and count can be copied: within the bound, and a null
// pointer only for an empty array.
bool ArrayFits(const void* data, std::uint64_t count) {
  return count <= kMaxManagedElements && (data != nullptr || count == 0);
}

template <typename Element>
std::vector<Element> CopyArray(const Element* data, std::uint64_t count) {
  std::vector<Element> copy;
  if (count > 0) copy.assign(data, data + count);
  return copy;
}

// Appends out of line: GCC 12 inlines the growth of a vector of variants into each case below
// and then warns, wrongly, of freeing a moved alternative at an offset.
[[gnu::noinline]] void Append(std::vector<ManagedValue>& results, ManagedValue value) {
  results.push_back(std::move(value));
}

// Copies one result handed over by a method; values of an unknown kind, and arrays that do not
// fit (see ArrayFits), are dropped.
void AddResult(void* context, const fw_managed_value* value) {
  auto& results = *static_cast<std::vector<ManagedValue>*>(context);
  if (value == nullptr) return;
  switch (value->kind) {
    case fw_managed_bool:
      Append(results, value->integer != 0);
      break;
    case fw_managed_integer:
      Append(results, value->integer);
      break;
    case fw_managed_real:
      Append(results, value->real);
      break;
    case fw_managed_text:
      Append(results, FromNativePath(value->text ? value->text : ""));
      break;
    case fw_managed_reals:
      if (ArrayFits(value->reals, value->count)) {
        Append(results, CopyArray(value->reals, value->count));
      }
      break;
    case fw_managed_bytes:
      if (ArrayFits(value->bytes, value->count)) {
        Append(results, CopyArray(value->bytes, value->count));
      }
      break;
    default:
      break;
  }
}

}  // namespace

ManagedObject::ManagedObject(std::shared_ptr<ManagedAssembly> assembly, std::string type,
                             void* instance)
    : assembly_(std::move(assembly)), type_(std::move(type)), instance_(instance) {}

ManagedObject::~ManagedObject() {
  auto destroy =
      reinterpret_cast<DestroyFunction>(assembly_->Symbol(SymbolPrefix(type_) + "_Destroy"));
  if (destroy != nullptr) {
    destroy(instance_);
  }
}

std::vector<ManagedValue> ManagedObject::Invoke(const std::string& method,
                                                const std::vector<ManagedValue>& arguments) {
  auto function =
      reinterpret_cast<MethodFunction>(assembly_->Symbol(SymbolPrefix(type_) + "_" + method));
  if (function == nullptr) {
    throw ManagedException(Format(L"%ls: type %ls has no method %ls",
                                  assembly_->Path().c_str(), Widen(type_).c_str(),
                                  Widen(method).c_str()));
  }
  CArguments in(arguments);
  std::vector<ManagedValue> results;
  const fw_managed_sink sink{&results, &AddResult};
  if (function(instance_, in.values.data(), in.values.size(), &sink) != 0) {
    throw ManagedException(Format(L"%ls.%ls failed", Widen(type_).c_str(), Widen(method).c_str()));
  }
  return results;
}

ManagedAssembly::ManagedAssembly(void* handle, std::wstring path)
    : handle_(handle), path_(std::move(path)) {}

ManagedAssembly::~ManagedAssembly() { dlclose(handle_); }

std::shared_ptr<ManagedAssembly> ManagedAssembly::LoadFrom(const std::wstring& path) {
  void* handle = dlopen(NativePath(path).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* reason = dlerror();
    throw ManagedException(Format(L"cannot load assembly %ls: %ls", path.c_str(),
                                  FromUtf8(reason ? reason : "").c_str()));
  }
  return std::shared_ptr<ManagedAssembly>(new ManagedAssembly(handle, path));
}

std::shared_ptr<ManagedAssembly> ManagedAssembly::Load(const std::wstring& displayName) {
  std::wstring path;
  {
    std::lock_guard lock(resolverMutex);
    if (Resolver()) path = Resolver()(displayName);
  }
  if (path.empty()) {
    throw ManagedException(Format(L"no assembly found for %ls", displayName.c_str()));
  }
  return LoadFrom(path);
}

std::shared_ptr<ManagedObject> ManagedAssembly::CreateInstance(const std::string& type) {
  const std::string prefix = SymbolPrefix(type);
  auto create = reinterpret_cast<CreateFunction>(Symbol(prefix + "_Create"));
  if (create == nullptr || Symbol(prefix + "_Destroy") == nullptr) {
    throw ManagedException(
        Format(L"%ls has no type %ls", path_.c_str(), Widen(type).c_str()));
  }
  void* instance = create();
  if (instance == nullptr) {
    throw ManagedException(Format(L"constructing %ls failed", Widen(type).c_str()));
  }
  return std::shared_ptr<ManagedObject>(new ManagedObject(shared_from_this(), type, instance));
}

void* ManagedAssembly::Symbol(const std::string& name) const { return dlsym(handle_, name.c_str()); }

void SetAssemblyResolver(AssemblyResolver resolver) {
  std::lock_guard lock(resolverMutex);
  Resolver() = std::move(resolver);
}

std::wstring HelperAssemblyPath(const std::wstring& folder, const std::wstring& displayName) {
  return PathJoin(folder, displayName.substr(0, displayName.find(L',')) + L".dll");
}

}  // namespace fw
