// The system registry's lookup.
#include "minicad/SystemRegistry.h"

#include <string_view>
#include <utility>

namespace minicad {

AcRxObject* SystemRegistry::at(const ACHAR* key) const {
  if (key == nullptr) return nullptr;
  auto found = services_.find(std::wstring_view(key));
  return found == services_.end() ? nullptr : found->second;
}

void SystemRegistry::Add(std::wstring key, AcRxObject* service) {
  services_[std::move(key)] = service;
}

}  // namespace minicad
