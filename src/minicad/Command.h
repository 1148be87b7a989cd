// A command the command processor can run: a module's command from the command stack, or one
// of the host's built-in commands.
#pragma once

#include <functional>
#include <string>

#include "arx/accmd.h"

namespace minicad {

struct Command {
  std::wstring groupName;
  // The English name ("-INSERT"), the one editor reactors hear; upper case.
  std::wstring globalName;
  // The name the user types; upper case.
  std::wstring localName;
  Adesk::Int32 flags = ACRX_CMD_MODAL;
  // Runs the command on the host's main thread; prompts take their answers from the command
  // line through the command processor.
  std::function<void()> run;

  bool IsSession() const { return (flags & ACRX_CMD_SESSION) != 0; }
};

}  // namespace minicad
