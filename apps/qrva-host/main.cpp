// qrva-host: the stand-in CAD session. Starts with a drawing, loads the module, then runs the
// command line — typed at a terminal or in the host window, or the lines of a script — and
// quits as the host does. The command line's text, prompts included, goes to standard output as
// UTF-8. With a display (and without --headless) the session has windows: the host window and
// the dialogs as real windows; otherwise the dialogs run headless.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "Arguments.h"
#include "Session.h"
#include "WindowedSession.h"
#include "fw/HeadlessUiDriver.h"
#include "fw/Module.h"
#include "fw/NativePath.h"
#include "fw/UiDriver.h"

namespace {

int RunTerminalSession(const host::Arguments& arguments,
                       const std::optional<std::wstring>& script) {
  const bool typed = !script && isatty(STDIN_FILENO) != 0;
  minicad::Host session(host::MakeHostOptions(arguments, typed));
  if (!host::StartSession(session, arguments)) return host::kUsageExit;
  if (script) {
    session.RunScriptText(*script);
  } else {
    session.RunInteractive(std::cin);
  }
  session.Quit();
  std::fflush(stdout);
  return 0;
}

// The session on the terminal, its dialogs headless: answered from the --ui script, printing
// each "ui:" line, or with their defaults.
int RunHeadless(const host::Arguments& arguments, const std::optional<std::wstring>& script,
                const std::optional<std::vector<fw::UiStep>>& dialogSteps) {
  // The driver outlives the session, which may ask questions until its modules are unloaded.
  fw::HeadlessUiDriver uiDriver;
  if (dialogSteps) {
    uiDriver.AddSteps(*dialogSteps);
    uiDriver.SetPrinterFactory(host::PdfPrinterFactory());
    uiDriver.SetOutput(host::PrintUiLine);
    fw::SetUiDriver(&uiDriver);
  }
  int exitCode = 0;
  try {
    exitCode = RunTerminalSession(arguments, script);
  } catch (const std::exception& failure) {
    std::fflush(stdout);
    std::fprintf(stderr, "qrva-host: %s\n", failure.what());
    exitCode = 1;
  }
  if (dialogSteps) {
    const bool scriptRan = uiDriver.Finish();
    fw::SetUiDriver(nullptr);
    std::fflush(stdout);
    if (exitCode == 0 && !scriptRan) exitCode = host::kUiScriptExit;
  }
  return exitCode;
}

}  // namespace

int main(int argc, char** argv) {
  // The module tells the host's editions apart by the program's file name, so a link named
  // after the light edition runs as it.
  if (std::wstring started = host::StartedProgramPath(argc > 0 ? argv[0] : nullptr);
      !started.empty()) {
    fw::SetProgramFileName(started);
  }
  std::string error;
  std::optional<host::Arguments> arguments = host::ParseArguments(argc, argv, error);
  if (!arguments) {
    std::fprintf(stderr, "qrva-host: %s\n%s", error.c_str(), host::kUsage);
    return host::kUsageExit;
  }
  if (arguments->help) {
    std::fputs(host::kUsage, stdout);
    return 0;
  }

  std::optional<std::wstring> script;
  if (arguments->script) {
    script = host::ReadScript(*arguments->script, error);
    if (!script) {
      std::fprintf(stderr, "qrva-host: cannot read the script file \"%s\": %s\n",
                   fw::NativePath(*arguments->script).c_str(), error.c_str());
      return host::kUsageExit;
    }
  }
  std::optional<std::vector<fw::UiStep>> dialogSteps;
  if (arguments->uiScript) {
    dialogSteps = host::LoadDialogScript(*arguments->uiScript);
    if (!dialogSteps) return host::kUiScriptExit;
  }

  if (!arguments->headless) {
    if (std::optional<int> exitCode = host::RunWithWindows(argc, argv, *arguments, script,
                                                           dialogSteps)) {
      return *exitCode;
    }
  }
  return RunHeadless(*arguments, script, dialogSteps);
}
