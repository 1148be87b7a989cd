// A qrva-host session with windows.
#include "WindowedSession.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <exception>

#include "HostWindow.h"
#include "Session.h"
#include "fw/UiDriver.h"
#include "gui/Windows.h"
#include "gui/WxUiDriver.h"
#include "minicad/CommandButtons.h"
#include "minicad/Host.h"

namespace host {

namespace {

// Lines piped or redirected from a file into the program are a script, as on the terminal; a
// terminal or nothing at all (a desktop launcher's /dev/null) leaves the typing to the window.
bool StandardInputIsScript() {
  struct stat status {};
  if (fstat(STDIN_FILENO, &status) != 0) return false;
  return S_ISFIFO(status.st_mode) || S_ISREG(status.st_mode) || S_ISSOCK(status.st_mode);
}

int RunWindowSession(HostWindow& window, const Arguments& arguments,
                     const std::optional<std::wstring>& script) {
  const bool pipedScript = !script && StandardInputIsScript();
  const bool typed = !script && !pipedScript;
  minicad::Host session(MakeHostOptions(arguments, typed, [&window](std::wstring_view text) {
    window.ShowText(text);
  }));
  window.WatchButtons(session.Buttons());
  if (!StartSession(session, arguments)) {
    window.StopWatching(session.Buttons());
    return kUsageExit;
  }
  if (script) {
    session.RunScriptText(*script);
  } else if (pipedScript) {
    session.RunInteractive(std::cin);
  } else {
    WindowLines lines(window);
    session.RunLines(lines);
  }
  session.Quit();
  window.StopWatching(session.Buttons());
  std::fflush(stdout);
  return 0;
}

}  // namespace

std::optional<int> RunWithWindows(int argc, char** argv, const Arguments& arguments,
                                  const std::optional<std::wstring>& script,
                                  const std::optional<std::vector<fw::UiStep>>& dialogSteps) {
  if (!gui::StartWindows(argc, argv)) return std::nullopt;
  int exitCode = 0;
  {
    auto* window = new HostWindow();  // wx deletes it after Destroy
    window->Show();
    // The driver outlives the session, which may ask questions until its modules are unloaded.
    gui::WxUiDriver uiDriver;
    uiDriver.SetOwnerWindow(window);
    if (dialogSteps) {
      uiDriver.SetScript(*dialogSteps, PrintUiLine);
      uiDriver.SetPrinterFactory(PdfPrinterFactory());
    }
    fw::SetUiDriver(&uiDriver);
    try {
      exitCode = RunWindowSession(*window, arguments, script);
    } catch (const std::exception& failure) {
      std::fflush(stdout);
      std::fprintf(stderr, "qrva-host: %s\n", failure.what());
      exitCode = 1;
    }
    const bool scriptRan = !dialogSteps || uiDriver.Finish();
    fw::SetUiDriver(nullptr);
    std::fflush(stdout);
    if (exitCode == 0 && !scriptRan) exitCode = kUiScriptExit;
    window->Destroy();
  }
  gui::StopWindows();
  return exitCode;
}

}  // namespace host
