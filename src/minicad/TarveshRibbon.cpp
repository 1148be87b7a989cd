// The stand-in for the shared ribbon: the assembly "TarveshRibbon.dll" of the managed bridge (see
// fw/ManagedBridge.h), type `TarveshRibbon.API`, method `AddButton(commandText, title, bytes)`. It
// puts the button on the host's ribbon strip, where pressing it types the command text. Each call
// is recorded in the run log as "TarveshRibbon.API.AddButton ...". Host main thread.
#include <cstdint>
#include <string>

#include "fw/ManagedBridge.h"
#include "fw/NativePath.h"
#include "minicad/ComponentButton.h"

namespace {

// No state of its own: the buttons live in the host.
struct Api {};

bool IsText(const fw_managed_value& value) {
  return value.kind == fw_managed_text && value.text != nullptr;
}

bool IsBytes(const fw_managed_value& value) {
  return value.kind == fw_managed_bytes && value.count <= fw::kMaxManagedElements &&
         (value.bytes != nullptr || value.count == 0);
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) void* TarveshRibbon_API_Create() { return new Api; }

__attribute__((visibility("default"))) void TarveshRibbon_API_Destroy(void* instance) {
  delete static_cast<Api*>(instance);
}

// Arguments: text command, text title, bytes PNG picture. Fails (the bridge raises) for other
// arguments, a picture that is no PNG a bar can show, or no host.
__attribute__((visibility("default"))) std::int32_t TarveshRibbon_API_AddButton(
    void*, const fw_managed_value* arguments, std::uint64_t count, const fw_managed_sink*) {
  if (arguments == nullptr || count != 3 || !IsText(arguments[0]) || !IsText(arguments[1]) ||
      !IsBytes(arguments[2])) {
    return 1;
  }
  minicad::CommandButton button;
  button.bar = minicad::ButtonBar::kRibbon;
  // Texts cross the bridge as a path's bytes do.
  button.commandText = fw::FromNativePath(arguments[0].text);
  button.title = fw::FromNativePath(arguments[1].text);
  if (arguments[2].count > 0) {
    button.png.assign(arguments[2].bytes, arguments[2].bytes + arguments[2].count);
  }
  if (!minicad::CheckButtonImage(button.png)) return 2;
  return minicad::AddComponentButton(L"TarveshRibbon.API.AddButton", std::move(button)) ? 0 : 3;
}
}
