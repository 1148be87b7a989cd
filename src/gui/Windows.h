// How a program starts and stops the window system, and the driver that shows the framework's
// dialogs as real windows. The host program calls these on its main thread, which becomes the
// GUI thread:
//
//   if (gui::StartWindows(argc, argv)) {
//     gui::WxUiDriver driver;          // on the GUI thread
//     driver.SetOwnerWindow(hostWindow);
//     driver.SetScript(steps, output);  // --ui FILE: the script drives the real widgets
//     fw::SetUiDriver(&driver);
//     ...                               // run the session, with or without a wx main loop
//     bool ran = driver.Finish();
//     fw::SetUiDriver(nullptr);
//   }
//   gui::StopWindows();
#pragma once

#include "gui/WxUiDriver.h"

namespace gui {

// Initialises wxWidgets and its application object on the calling thread. False, with nothing
// started, when no display can be opened: the program then runs headless. May be called once.
bool StartWindows(int& argc, char** argv);
// Destroys the windows left and shuts wxWidgets down; nothing when StartWindows failed.
void StopWindows();
// True between a successful StartWindows and StopWindows.
bool WindowsStarted();

}  // namespace gui
