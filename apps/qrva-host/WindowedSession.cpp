// A qrva-host session with windows.
#include "WindowedSession.h"

#include <cstdio>
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

int RunWindowSession(HostWindow& window, const Arguments& arguments,
                     const std::optional<std::wstring>& script) {
  minicad::Host session(MakeHostOptions(arguments, !script, [&window](std::wstring_view text) {
    window.ShowText(text);
  }));
  window.WatchButtons(session.Buttons());
  if (!StartSession(session, arguments)) {
    window.StopWatching(session.Buttons());
    return kUsageExit;
  }
  if (script) {
    session.RunScriptText(*script);
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
