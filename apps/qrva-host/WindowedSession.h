// A qrva-host session with windows: the host window, and the dialogs as real windows.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Arguments.h"
#include "fw/UiScript.h"

namespace host {

// Runs the session in windows and returns its exit code; nothing, having done nothing, when no
// display can be opened (the caller then runs the session on the terminal). With a script (or
// lines piped into the program) the host window shows the session while the script runs and the
// session quits at its end, as on the terminal; without one the user types in the host window
// until it is closed. The --ui
// steps drive the real dialogs, printing the same "ui:" lines as without windows.
std::optional<int> RunWithWindows(int argc, char** argv, const Arguments& arguments,
                                  const std::optional<std::wstring>& script,
                                  const std::optional<std::vector<fw::UiStep>>& dialogSteps);

}  // namespace host
