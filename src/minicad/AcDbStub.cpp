// The process's set of live object records.
#include "minicad/AcDbStub.h"

#include <mutex>
#include <unordered_set>

namespace minicad {
namespace {

std::mutex& RegistryMutex() {
  static std::mutex mutex;
  return mutex;
}

std::unordered_set<const AcDbStub*>& Registry() {
  static std::unordered_set<const AcDbStub*> stubs;
  return stubs;
}

}  // namespace

void RegisterStub(const AcDbStub* stub) {
  std::lock_guard lock(RegistryMutex());
  Registry().insert(stub);
}

void UnregisterStub(const AcDbStub* stub) {
  std::lock_guard lock(RegistryMutex());
  Registry().erase(stub);
}

bool IsLiveStub(const AcDbStub* stub) {
  if (stub == nullptr) return false;
  std::lock_guard lock(RegistryMutex());
  return Registry().contains(stub);
}

}  // namespace minicad
