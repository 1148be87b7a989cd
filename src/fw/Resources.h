// Module resources: the dialog templates and bitmaps compiled into a module, found through one
// lookup as the framework finds a module's own resources: the calling thread's current resource
// module first (see ModuleStateScope), then the registered extension modules in the order they
// registered. Any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "fw/Bitmap.h"
#include "fw/DialogTemplate.h"
#include "fw/Module.h"
#include "fw/Result.h"

namespace fw {

// A bitmap resource: a packed device-independent bitmap (see PackedDib.h) in the module's
// constant data, which lives as long as the module is mapped.
struct BitmapResource {
  int id = 0;
  std::span<const std::uint8_t> packedDib;
};

// Adds resources of `module` to the process's table (a template or bitmap with an id the module
// has already replaces it). RemoveModuleResources takes all of the module's out again.
void AddModuleResources(HINSTANCE module, std::vector<DialogTemplate> dialogs,
                        std::vector<BitmapResource> bitmaps);
void RemoveModuleResources(HINSTANCE module);

// A module's resources for the life of a static object of the module: added when the module is
// mapped, removed before it is unmapped. `anchor` is the address of anything in the module.
class ModuleResources {
 public:
  ModuleResources(const void* anchor, std::vector<DialogTemplate> dialogs,
                  std::vector<BitmapResource> bitmaps);
  ~ModuleResources();
  ModuleResources(const ModuleResources&) = delete;
  ModuleResources& operator=(const ModuleResources&) = delete;

 private:
  HINSTANCE module_;
};

// A copy of the template with this id, or nothing.
std::optional<DialogTemplate> FindDialogTemplate(int id);
// The packed bitmap with this id (a copy of its bytes), or nothing.
std::optional<std::vector<std::uint8_t>> FindBitmapResource(int id);
// The bitmap with this id drawn into a 32-bit bitmap; an error naming the id when there is none
// or its bytes are not a bitmap we draw.
Result<Bitmap> LoadBitmapResource(int id);

}  // namespace fw
