// The process's table of module resources and the one lookup over it.
#include "fw/Resources.h"

#include <algorithm>
#include <mutex>
#include <string>
#include <utility>

#include "fw/PackedDib.h"

namespace fw {
namespace {

struct ModuleEntry {
  HINSTANCE module = nullptr;
  std::vector<DialogTemplate> dialogs;
  std::vector<BitmapResource> bitmaps;
  std::vector<DataResource> data;
};

// Built on first use and never destroyed, so modules adding from their static initialisers and
// removing from their static destructors at exit always find it.
struct ResourceTable {
  std::mutex lock;
  std::vector<ModuleEntry> modules;
};

ResourceTable& Table() {
  static ResourceTable* const table = new ResourceTable;
  return *table;
}

// The modules in the order the lookup searches them.
std::vector<HINSTANCE> SearchOrder() {
  std::vector<HINSTANCE> order;
  if (HINSTANCE current = CurrentResourceModule()) order.push_back(current);
  for (HINSTANCE module : RegisteredExtensionModules()) {
    if (std::find(order.begin(), order.end(), module) == order.end()) order.push_back(module);
  }
  return order;
}

// What tells resources of one kind apart: the id, and for data the type too.
int KeyOf(const DialogTemplate& resource) { return resource.id; }
int KeyOf(const BitmapResource& resource) { return resource.id; }
std::pair<int, int> KeyOf(const DataResource& resource) { return {resource.type, resource.id}; }

template <typename Resource>
void Replace(std::vector<Resource>& into, std::vector<Resource> added) {
  for (Resource& resource : added) {
    auto same = std::find_if(into.begin(), into.end(),
                             [&](const Resource& kept) { return KeyOf(kept) == KeyOf(resource); });
    if (same != into.end()) {
      *same = std::move(resource);
    } else {
      into.push_back(std::move(resource));
    }
  }
}

// Finds the first resource `take` gives in `order` and returns it.
template <typename Take>
auto LookupIn(const std::vector<HINSTANCE>& order, Take take)
    -> decltype(take(std::declval<const ModuleEntry&>())) {
  ResourceTable& table = Table();
  std::lock_guard guard(table.lock);
  for (HINSTANCE module : order) {
    for (const ModuleEntry& entry : table.modules) {
      if (entry.module != module) continue;
      if (auto found = take(entry)) return found;
    }
  }
  return std::nullopt;
}

// Along the search order.
template <typename Take>
auto Lookup(Take take) -> decltype(take(std::declval<const ModuleEntry&>())) {
  return LookupIn(SearchOrder(), take);
}

}  // namespace

void AddModuleResources(HINSTANCE module, std::vector<DialogTemplate> dialogs,
                        std::vector<BitmapResource> bitmaps, std::vector<DataResource> data) {
  if (module == nullptr) return;
  ResourceTable& table = Table();
  std::lock_guard guard(table.lock);
  auto entry = std::find_if(table.modules.begin(), table.modules.end(),
                            [module](const ModuleEntry& kept) { return kept.module == module; });
  if (entry == table.modules.end()) {
    table.modules.push_back(ModuleEntry{module, {}, {}, {}});
    entry = table.modules.end() - 1;
  }
  Replace(entry->dialogs, std::move(dialogs));
  Replace(entry->bitmaps, std::move(bitmaps));
  Replace(entry->data, std::move(data));
}

void RemoveModuleResources(HINSTANCE module) {
  ResourceTable& table = Table();
  std::lock_guard guard(table.lock);
  std::erase_if(table.modules, [module](const ModuleEntry& entry) { return entry.module == module; });
}

ModuleResources::ModuleResources(const void* anchor, std::vector<DialogTemplate> dialogs,
                                 std::vector<BitmapResource> bitmaps,
                                 std::vector<DataResource> data)
    : module_(ModuleFromAddress(anchor)) {
  AddModuleResources(module_, std::move(dialogs), std::move(bitmaps), std::move(data));
}

ModuleResources::~ModuleResources() { RemoveModuleResources(module_); }

std::optional<DialogTemplate> FindDialogTemplate(int id) {
  return Lookup([id](const ModuleEntry& entry) -> std::optional<DialogTemplate> {
    for (const DialogTemplate& dialog : entry.dialogs) {
      if (dialog.id == id) return dialog;
    }
    return std::nullopt;
  });
}

std::optional<std::vector<std::uint8_t>> FindBitmapResource(int id) {
  return Lookup([id](const ModuleEntry& entry) -> std::optional<std::vector<std::uint8_t>> {
    for (const BitmapResource& bitmap : entry.bitmaps) {
      if (bitmap.id == id) {
        return std::vector<std::uint8_t>(bitmap.packedDib.begin(), bitmap.packedDib.end());
      }
    }
    return std::nullopt;
  });
}

std::optional<std::span<const std::uint8_t>> FindDataResource(HINSTANCE module, int type,
                                                              int id) {
  auto take = [type, id](const ModuleEntry& entry) -> std::optional<std::span<const std::uint8_t>> {
    for (const DataResource& data : entry.data) {
      if (data.type == type && data.id == id) return data.bytes;
    }
    return std::nullopt;
  };
  return module == nullptr ? Lookup(take) : LookupIn({module}, take);
}

Result<Bitmap> LoadBitmapResource(int id) {
  std::optional<std::vector<std::uint8_t>> bytes = FindBitmapResource(id);
  if (!bytes) return Result<Bitmap>::Failure(L"no bitmap resource " + std::to_wstring(id));
  Result<PackedDib> parsed = PackedDib::Parse(*bytes);
  if (!parsed) {
    return Result<Bitmap>::Failure(L"bitmap resource " + std::to_wstring(id) + L": " +
                                   parsed.Message());
  }
  const PackedDib& dib = parsed.Value();
  Bitmap bitmap(dib.Width(), dib.Height());
  CDC dc(bitmap);
  dc.SetStretchBltMode(COLORONCOLOR);
  Status drawn = dc.StretchDIBits(0, 0, dib.Width(), dib.Height(), 0, 0, dib.Width(),
                                  dib.Height(), *bytes);
  if (!drawn) {
    return Result<Bitmap>::Failure(L"bitmap resource " + std::to_wstring(id) + L": " +
                                   drawn.Message());
  }
  return Result<Bitmap>::Success(std::move(bitmap));
}

}  // namespace fw
