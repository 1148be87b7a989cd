// qrva-host sessions with the real module: what the command line shows, what the run log holds,
// and how bad input ends a session.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <regex>
#include <string>
#include <sys/wait.h>

#include "fw/FileStatus.h"
#include "fw/Strings.h"
#include "fw/System.h"
#include "support/TempFolder.h"

namespace {

using testsupport::ReadFile;
using testsupport::TempFolder;
using testsupport::WriteFile;

struct SessionResult {
  int exitCode = -1;
  std::string output;
  std::string errors;
};

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

SessionResult RunHost(const std::string& arguments, const TempFolder& folder) {
  std::string errorFile = fw::ToUtf8(folder / L"stderr.txt");
  std::string command = Quote(QRVA_HOST_PATH) + " " + arguments + " 2>" + Quote(errorFile) +
                        " </dev/null";
  SessionResult result;
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  std::array<char, 4096> buffer{};
  size_t read = 0;
  while ((read = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
    result.output.append(buffer.data(), read);
  }
  int status = pclose(pipe);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.errors = ReadFile(fw::FromUtf8(errorFile));
  return result;
}

// The module with its log folder, in a folder of its own as a user would install it.
std::wstring InstallModule(const TempFolder& folder) {
  std::wstring moduleFolder = folder / L"modules";
  EXPECT_TRUE(fw::CreateDirectory(moduleFolder));
  EXPECT_TRUE(fw::CreateDirectory(moduleFolder + L"/Log"));
  std::wstring module = moduleFolder + L"/qrva22-64.arx";
  EXPECT_TRUE(fw::CopyFile(fw::FromUtf8(QRVA_MODULE_PATH), module, true));
  return module;
}

TEST(Session, ShowsTheDialogueAndLogsEveryStepInAFreshLogFile) {
  TempFolder folder;
  std::wstring module = InstallModule(folder);
  std::wstring logFolder = folder / L"modules/Log";
  std::wstring computer = fw::GetComputerName();
  WriteFile(logFolder + L"/qv for " + computer + L" 1.log", "earlier\n");
  WriteFile(logFolder + L"/qv for " + computer + L" 2.log", "earlier\n");
  WriteFile(folder / L"session.scr", "QUORVA\nFOO\nTRVXQVOPEN\nNEW\nCLOSE\n");

  SessionResult session = RunHost(
      "--module " + Quote(fw::ToUtf8(module)) + " --script " +
          Quote(fw::ToUtf8(folder / L"session.scr")),
      folder);

  ASSERT_EQ(session.exitCode, 0) << session.errors;
  std::regex expectedOutput(
      "3\\.9\\.10 Loaded! \\([A-Z][a-z]{2} [ 0-9]\\d \\d{4}, \\d\\d:\\d\\d:\\d\\d\\)\n"
      "Use the command 'quorva' to launch Quorvane\\.\n"
      "Command: QUORVA\n"
      "Command: FOO\n"
      "Unknown command \"FOO\"\\.  Press F1 for help\\.\n"
      "Command: TRVXQVOPEN\n"
      "Command: NEW\n"
      "Command: CLOSE\n");
  EXPECT_TRUE(std::regex_match(session.output, expectedOutput)) << session.output;

  std::string log = ReadFile(logFolder + L"/qv for " + computer + L" 3.log");
  std::regex expectedLog(
      "_{44} Time=[^\n]+ Ver=3\\.9\\.10\n"
      "Add Commands\n"
      "LoadIni\n"
      "Setup\n"
      "ResetDrawing\n"
      "Construct dialog\n"
      "DoModal\n"
      "ResetDrawing\n"
      "CloseAll\n"
      "removeGroup\n"
      "Done\n");
  EXPECT_TRUE(std::regex_match(log, expectedLog)) << log;
  EXPECT_EQ(ReadFile(logFolder + L"/qv for " + computer + L" 1.log"), "earlier\n");
}

TEST(Session, WithoutALogFolderWritesNoLog) {
  TempFolder folder;
  std::wstring module = InstallModule(folder);
  ASSERT_TRUE(fw::MoveFile(folder / L"modules/Log", folder / L"Log.off"));
  WriteFile(folder / L"session.scr", "QUORVA\n");

  SessionResult session = RunHost(
      "--module " + Quote(fw::ToUtf8(module)) + " --script " +
          Quote(fw::ToUtf8(folder / L"session.scr")),
      folder);

  EXPECT_EQ(session.exitCode, 0) << session.errors;
  EXPECT_FALSE(fw::PathExists(folder / L"modules/Log"));
}

TEST(Session, MissingScriptIsAnErrorWithExitCode2) {
  TempFolder folder;
  SessionResult session = RunHost("--script " + Quote(fw::ToUtf8(folder / L"absent.scr")), folder);
  EXPECT_EQ(session.exitCode, 2);
  EXPECT_NE(session.errors.find("absent.scr"), std::string::npos) << session.errors;
  EXPECT_TRUE(session.output.empty());
}

TEST(Session, ModuleThatCannotBeLoadedIsNamedWithTheReason) {
  TempFolder folder;
  WriteFile(folder / L"broken.arx", "not a shared object");
  WriteFile(folder / L"session.scr", "QUORVA\n");
  SessionResult session =
      RunHost("--module " + Quote(fw::ToUtf8(folder / L"broken.arx")) + " --script " +
                  Quote(fw::ToUtf8(folder / L"session.scr")),
              folder);
  EXPECT_EQ(session.exitCode, 2);
  EXPECT_NE(session.errors.find("broken.arx"), std::string::npos) << session.errors;
  EXPECT_NE(session.errors.find("too short"), std::string::npos) << session.errors;
}

}  // namespace
