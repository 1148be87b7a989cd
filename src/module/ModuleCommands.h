// The module's outer shell: what it does for each entry-point message, and its two commands.
// Everything here runs on the host's main thread.
#pragma once

#include <functional>
#include <string>

namespace module {

// Initialise message: registers the commands, starts the run log and prints the banner.
void InitModule(void* appId);
// Asks the host to load its "acISMui.arx" module when it is not loaded yet.
void LoadHostModules();
// Drawing-load message: the first one loads the settings and runs Setup.
void OnLoadDrawing();
// The first drawing's one-time work: loads the settings with `loadIni`, then runs Setup
// whatever loading did, so the command reactor is attached and set-up is signalled even when
// the settings could not be loaded (the failure is logged).
void LoadSettingsAndSetup(const std::function<void()>& loadIni);
// Drawing-unload message: the directory on screen is read again.
void OnUnloadDrawing();
// First quit message: detaches the reactor, stops the loader, saves, empties the library.
void CloseAll();
// Every quit message: removes the command group.
void UnloadModule();
// Remembers the picker's start folder, attaches the command reactor, signals set-up done.
void Setup();

// The command QUORVA: shows the browser.
void QuorvaCommand();
// The command TRVXQVOPEN: activates the drawing named by pendingOpenPath, or opens it.
void OpenCommand();

}  // namespace module
