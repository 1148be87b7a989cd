// The module-wide state: one instance per loaded module, created when the module is mapped and
// kept until it is unmapped. Touched on the host's main thread only, except `setupDoneEvent`.
#pragma once

#include <string>
#include <vector>

#include "fw/Module.h"
#include "fw/Sync.h"
#include "insert/CmdLineReactor.h"
#include "insert/InsertionState.h"

namespace module {

inline constexpr const wchar_t* kModuleFileName = L"qrva22-64.arx";
inline constexpr const wchar_t* kCommandGroup = L"TRVXQUORVA";
// The longest folder the directory picker starts from, as the platform's path buffers allow.
inline constexpr std::size_t kMaxPickerFolder = 260;

struct ModuleState {
  fw::HINSTANCE moduleInstance = nullptr;
  std::wstring moduleVersion = L"3.9.10";
  // Folder of the module file, without a trailing separator.
  std::wstring moduleDirectory;
  // Cleared by the first drawing-load message, which loads the settings once.
  bool firstDrawing = true;
  // Set by the first quit message, so the library is saved and emptied only once.
  bool closedAll = false;
  // Signalled once the settings are loaded and the command reactor attached; the dialog's set-up
  // waits for it before it touches the library.
  fw::CEvent setupDoneEvent{false, true};
  // The drawing TRVXQVOPEN opens or activates; the dialog's Open action fills it.
  std::wstring pendingOpenPath;
  // Block names whose overwrite question was already asked in this drawing.
  std::vector<std::wstring> askedBlockNames;
  // Where the directory picker starts: the process's current folder when the settings loaded.
  std::wstring pickerStartFolder;
  // What the running insertion leaves for the command reactor (host main thread only).
  insert::InsertionState insertion;
  // Attached to the host editor at set-up, removed at quit.
  insert::CmdLineReactor reactor{insertion};
};

ModuleState& TheModule();

}  // namespace module
