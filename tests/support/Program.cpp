#include "support/Program.h"

#include <sys/wait.h>

#include <cstdlib>

#include "fw/NativePath.h"
#include "fw/Strings.h"

namespace testsupport {

std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

ProgramOutcome RunProgram(const std::string& program, const std::string& arguments,
                          const TempFolder& folder, const std::string& input) {
  std::wstring in = folder / L"program-stdin.txt";
  std::wstring out = folder / L"program-stdout.txt";
  std::wstring err = folder / L"program-stderr.txt";
  WriteFile(in, input);
  std::string command = ShellQuote(program) + " " + arguments + " <" +
                        ShellQuote(fw::NativePath(in)) + " >" + ShellQuote(fw::NativePath(out)) +
                        " 2>" + ShellQuote(fw::NativePath(err));
  int status = std::system(command.c_str());
  ProgramOutcome outcome;
  if (status != -1 && WIFEXITED(status)) outcome.exitCode = WEXITSTATUS(status);
  outcome.out = ReadFile(out);
  outcome.err = ReadFile(err);
  return outcome;
}

}  // namespace testsupport
