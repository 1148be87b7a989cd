// The stand-in for the shared toolbar module "tarveshtoolbar-22-64.arx": a module the host's linker
// loads, exporting `AddToToolbar` and `RemoveFromToolbar`. Buttons go on the host's toolbar, where
// pressing one types its command text. Each call is recorded in the run log ("tarveshtoolbar
// AddToToolbar ..."). Host main thread.
#include <cstdint>
#include <span>
#include <string>

#include "arx/rxdefs.h"
#include "fw/Module.h"
#include "fw/Resources.h"
#include "fw/Strings.h"
#include "minicad/ComponentButton.h"

#define TOOLBAR_EXPORT extern "C" __attribute__((visibility("default")))

// The toolbar keeps nothing of its own, so every message is welcome.
TOOLBAR_EXPORT AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode, void*) { return AcRx::kRetOK; }

// Adds a button with the picture that `module` holds as raw data under `imageId` (a PNG). A module
// without that resource gets a button showing only its title; one whose resource is no PNG a bar
// can show gets none. The last two arguments are kept for later use and must be 0. Returns 1 when
// the button was added, 0 otherwise.
TOOLBAR_EXPORT std::int32_t AddToToolbar(fw::CString commandText, fw::CString title,
                                         fw::HINSTANCE module, std::uint32_t imageId, std::int32_t,
                                         std::uint32_t) {
  minicad::CommandButton button;
  button.bar = minicad::ButtonBar::kToolbar;
  button.commandText = std::move(commandText);
  button.title = std::move(title);
  if (module != nullptr && imageId <= INT32_MAX) {
    if (auto image = fw::FindDataResource(module, fw::RT_RCDATA, static_cast<int>(imageId))) {
      button.png.assign(image->begin(), image->end());
      if (!minicad::CheckButtonImage(button.png)) return 0;
    }
  }
  return minicad::AddComponentButton(L"tarveshtoolbar AddToToolbar", std::move(button)) ? 1 : 0;
}

// Removes the toolbar's buttons with this command text; 1 when there was one, 0 otherwise.
TOOLBAR_EXPORT std::int32_t RemoveFromToolbar(fw::CString commandText) {
  return minicad::RemoveComponentButton(L"tarveshtoolbar RemoveFromToolbar",
                                        minicad::ButtonBar::kToolbar, commandText)
             ? 1
             : 0;
}
