// Runs a program of the build as a user would, with its output collected.
#pragma once

#include <string>

#include "support/TempFolder.h"

namespace testsupport {

struct ProgramOutcome {
  int exitCode = -1;  // -1 when the program did not exit normally
  std::string out;
  std::string err;
};

// The text quoted for the shell.
std::string ShellQuote(const std::string& text);

// Runs `program` with `arguments` (already quoted) and `input` on its standard input; the
// scratch files live in `folder`.
ProgramOutcome RunProgram(const std::string& program, const std::string& arguments,
                          const TempFolder& folder, const std::string& input = "");

}  // namespace testsupport
