// The parts of a qrva-host session that the terminal and the host window share: the host's
// options, the drawings and module it starts with, and the dialog script's driver set-up.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Arguments.h"
#include "fw/HeadlessUiDriver.h"
#include "fw/UiScript.h"
#include "minicad/Host.h"

namespace host {

// The host's options for a session. Every piece of command-line text goes to standard output
// as UTF-8 and then to `alsoShow` when given (the host window); `typed` when a person types.
minicad::HostOptions MakeHostOptions(const Arguments& arguments, bool typed,
                                     std::function<void(std::wstring_view)> alsoShow = {});

// Opens the drawings named (or a new drawing when none opens) and loads the module. False when
// the module cannot be loaded; the reason is printed on standard error.
bool StartSession(minicad::Host& host, const Arguments& arguments);

// The steps of the --ui script, or nothing when it is malformed (the error line is printed).
std::optional<std::vector<fw::UiStep>> LoadDialogScript(const std::wstring& path);

// What every driver that answers from a script needs: `answer print` prints into a PDF on A4,
// and each `ui:` line goes to standard output in order with the command line's text.
fw::HeadlessUiDriver::PrinterFactory PdfPrinterFactory();
void PrintUiLine(const std::string& line);

}  // namespace host
