// The managed-runtime bridge: loads an "assembly", creates instances of its types by name and
// invokes their methods by name. Here an assembly is a shared object whose exported C functions
// follow one naming convention:
//
//   void*   <Type>_Create(void);                    a new instance, or null on failure
//   void    <Type>_Destroy(void* instance);
//   int32_t <Type>_<Method>(void* instance, const fw_managed_value* arguments,
//                           uint64_t argumentCount, const fw_managed_sink* results);
//
// A type named with its namespace ("Ribbon.API") has its dots replaced by underscores in the
// symbol names ("Ribbon_API_Create").
//
// A byte array crosses as `bytes` and `count`; an empty one may have a null pointer.
//
// A method returns 0 on success and anything else for an exception it threw; it hands each
// result value to `results->add`, which copies it at once (the method keeps ownership of what
// it passes). Text is UTF-8; a path's bytes that are not UTF-8 cross as they are, so a name read
// from disk reaches the method unchanged (see fw/NativePath.h).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <variant>
#include <vector>

extern "C" {

enum fw_managed_kind : std::int32_t {
  fw_managed_bool = 1,
  fw_managed_integer = 2,
  fw_managed_real = 3,
  fw_managed_text = 4,   // `text`, zero-terminated UTF-8 (a path: its bytes, see NativePath.h)
  fw_managed_reals = 5,  // `reals`, `count` doubles
  fw_managed_bytes = 6,  // `bytes`, `count` bytes (a byte array)
};

// One argument or result value; only the fields of its kind are meaningful.
struct fw_managed_value {
  std::int32_t kind;
  std::int64_t integer;  // bool and integer
  double real;
  const char* text;
  const double* reals;
  std::uint64_t count;
  const std::uint8_t* bytes;
};

struct fw_managed_sink {
  void* context;
  void (*add)(void* context, const fw_managed_value* value);
};
}

namespace fw {

// A value crossing the bridge.
using ManagedValue = std::variant<bool, std::int64_t, double, std::wstring, std::vector<double>,
                                  std::vector<std::uint8_t>>;

// The most elements a reals or bytes result may hold: a result beyond it, or one whose count
// names elements its null pointer does not hold, is dropped rather than copied.
inline constexpr std::uint64_t kMaxManagedElements = std::uint64_t{64} << 20;

// What the runtime raises for a missing assembly, type or method, or a method that failed.
class ManagedException {
 public:
  explicit ManagedException(std::wstring message) : message_(std::move(message)) {}
  const std::wstring& Message() const { return message_; }

 private:
  std::wstring message_;
};

class ManagedAssembly;

// An instance of a type of a loaded assembly; destroyed through its type when the last
// reference goes. Keeps its assembly loaded. Not synchronised: callers serialise calls.
class ManagedObject {
 public:
  ~ManagedObject();
  ManagedObject(const ManagedObject&) = delete;
  ManagedObject& operator=(const ManagedObject&) = delete;

  // Invokes `method`; throws ManagedException when the method is missing or reports failure.
  std::vector<ManagedValue> Invoke(const std::string& method,
                                   const std::vector<ManagedValue>& arguments);

 private:
  friend class ManagedAssembly;
  ManagedObject(std::shared_ptr<ManagedAssembly> assembly, std::string type, void* instance);

  std::shared_ptr<ManagedAssembly> assembly_;
  std::string type_;
  void* instance_;
};

// A loaded assembly; unloaded when the last reference (including its objects') goes.
class ManagedAssembly : public std::enable_shared_from_this<ManagedAssembly> {
 public:
  // Loads an assembly from a file path; throws ManagedException when it cannot be loaded.
  static std::shared_ptr<ManagedAssembly> LoadFrom(const std::wstring& path);
  // Loads an assembly by its display name ("Name, Version=..., ..."), asking the resolver
  // handler for its path; throws when no handler gives a loadable path.
  static std::shared_ptr<ManagedAssembly> Load(const std::wstring& displayName);

  ~ManagedAssembly();
  ManagedAssembly(const ManagedAssembly&) = delete;
  ManagedAssembly& operator=(const ManagedAssembly&) = delete;

  // A new instance of `type`; throws ManagedException when the type is missing or its
  // constructor fails.
  std::shared_ptr<ManagedObject> CreateInstance(const std::string& type);
  // The exported symbol, or null.
  void* Symbol(const std::string& name) const;
  const std::wstring& Path() const { return path_; }

 private:
  ManagedAssembly(void* handle, std::wstring path);
  void* handle_;
  std::wstring path_;
};

// Maps a requested assembly display name to a file path, or "" when it does not know it.
using AssemblyResolver = std::function<std::wstring(const std::wstring& displayName)>;
// Installs the process's resolver (replacing any earlier one); any thread.
void SetAssemblyResolver(AssemblyResolver resolver);

// The file a helper assembly is looked for in `folder`: the requested display name up to its
// first comma, plus ".dll" ("QuorvaHelper, Version=1.0" gives folder/QuorvaHelper.dll).
std::wstring HelperAssemblyPath(const std::wstring& folder, const std::wstring& displayName);

}  // namespace fw
