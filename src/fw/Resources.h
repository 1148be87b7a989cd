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

// The resource type of raw data: bytes the module reads as it likes (a PNG picture, say).
inline constexpr int RT_RCDATA = 10;

// A resource of raw bytes of some type, in the module's constant data like a bitmap's.
struct DataResource {
  int type = RT_RCDATA;
  int id = 0;
  std::span<const std::uint8_t> bytes;
};

// Adds resources of `module` to the process's table (one with a type and id the module has
// already replaces it). RemoveModuleResources takes all of the module's out again.
void AddModuleResources(HINSTANCE module, std::vector<DialogTemplate> dialogs,
                        std::vector<BitmapResource> bitmaps, std::vector<DataResource> data = {});
void RemoveModuleResources(HINSTANCE module);

// A module's resources for the life of a static object of the module: added when the module is
// mapped, removed before it is unmapped. `anchor` is the address of anything in the module.
class ModuleResources {
 public:
  ModuleResources(const void* anchor, std::vector<DialogTemplate> dialogs,
                  std::vector<BitmapResource> bitmaps, std::vector<DataResource> data = {});
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
// The data resource of this type and id: of `module` alone, as the platform finds a resource
// in a module handle it is given, or along the lookup's search order when `module` is null.
// The bytes stay valid while that module is mapped (they are its constant data); nothing when
// there is none.
std::optional<std::span<const std::uint8_t>> FindDataResource(HINSTANCE module, int type, int id);
// The bitmap with this id drawn into a 32-bit bitmap; an error naming the id when there is none
// or its bytes are not a bitmap we draw.
Result<Bitmap> LoadBitmapResource(int id);

}  // namespace fw
