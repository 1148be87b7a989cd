// qrva-host sessions with the real module: what the command line shows, what the run log holds,
// and how bad input ends a session.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>

#include "fw/FileStatus.h"
#include "fw/NativePath.h"
#include "fw/Strings.h"
#include "fw/System.h"
#include "support/Program.h"
#include "support/TempFolder.h"

namespace {

using testsupport::ReadFile;
using testsupport::TempFolder;
using testsupport::WriteFile;

using testsupport::ShellQuote;

testsupport::ProgramOutcome RunHost(const std::string& arguments, const TempFolder& folder) {
  return testsupport::RunProgram(QRVA_HOST_PATH, arguments, folder);
}

// The settings file on the session's support path, so that the settings stay in the test's
// folder; returns the host's option naming that folder.
std::string SupportFolderWithSettings(const TempFolder& folder) {
  std::wstring support = folder / L"support";
  EXPECT_TRUE(fw::CreateDirectory(support));
  WriteFile(support + L"/qv35.ini", "");
  return " --support " + ShellQuote(fw::NativePath(support));
}

// The module with its log folder, in a folder of its own as a user would install it.
std::wstring InstallModule(const TempFolder& folder) {
  std::wstring moduleFolder = folder / L"modules";
  EXPECT_TRUE(fw::CreateDirectory(moduleFolder));
  EXPECT_TRUE(fw::CreateDirectory(moduleFolder + L"/Log"));
  std::wstring module = moduleFolder + L"/qrva22-64.arx";
  EXPECT_TRUE(fw::CopyFile(fw::FromNativePath(QRVA_MODULE_PATH), module, true));
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

  testsupport::ProgramOutcome session = RunHost(
      "--module " + ShellQuote(fw::NativePath(module)) + " --script " +
          ShellQuote(fw::NativePath(folder / L"session.scr")) + SupportFolderWithSettings(folder),
      folder);

  ASSERT_EQ(session.exitCode, 0) << session.err;
  std::regex expectedOutput(
      "3\\.9\\.10 Loaded! \\([A-Z][a-z]{2} [ 0-9]\\d \\d{4}, \\d\\d:\\d\\d:\\d\\d\\)\n"
      "Use the command 'quorva' to launch Quorvane\\.\n"
      "Command: QUORVA\n"
      "Command: FOO\n"
      "Unknown command \"FOO\"\\.  Press F1 for help\\.\n"
      "Command: TRVXQVOPEN\n"
      "Command: NEW\n"
      "Command: CLOSE\n");
  EXPECT_TRUE(std::regex_match(session.out, expectedOutput)) << session.out;

  // The loader thread writes its own lines while the dialog's set-up writes; they may fall
  // anywhere, so only its last one, which the closing waits for, is kept.
  std::string log = std::regex_replace(ReadFile(logFolder + L"/qv for " + computer + L" 3.log"),
                                       std::regex("LoopLoadDir: (?!quitdone)[^\n]*\n"), "");
  std::regex expectedLog(
      "_{44} Time=[^\n]+ Ver=3\\.9\\.10\n"
      "Add Commands\n"
      // The module sits alone in its folder: neither the ribbon nor the toolbar is there.
      "SetupToolbar\n"
      "Toolbar not found.\n"
      "LoadIni\n"
      "LoadIni\n"
      "Ini located at [^\n]+/support/qv35\\.ini\n"
      "Load the Inifile\n"
      "Cachefile location: [^\n]+/support/qv35\\.cache\n"
      "Load the MapSchemes\n"
      "Open the cachefile\n"
      "Load Directories\n"
      "LoadIni return\n"
      "Setup\n"
      "ResetDrawing\n"
      "Construct dialog\n"
      "DoModal\n"
      "SetupDlg\n"
      "Grab scale from userr4\n"
      "Check QVAdmin\n"
      "Begin Thread for LoadDir\n"
      "ValidateDirs\n"
      "ValidateDirs: cs.Lock\n"
      "ValidateDirs: kickevent.SetEvent\n"
      "ValidateDirs: cs.Unlock\n"
      "SetupDlg return\n"
      // With no directory in the settings the dialog reads them again.
      "LoadIni\n"
      "Load the Inifile\n"
      "Cachefile location: [^\n]+/support/qv35\\.cache\n"
      "Load the MapSchemes\n"
      "Open the cachefile\n"
      "Load Directories\n"
      "LoadIni return\n"
      "StopLoader\n"
      "LoopLoadDir: quitdone\n"
      "Closing\n"
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

  testsupport::ProgramOutcome session = RunHost(
      "--module " + ShellQuote(fw::NativePath(module)) + " --script " +
          ShellQuote(fw::NativePath(folder / L"session.scr")) + SupportFolderWithSettings(folder),
      folder);

  EXPECT_EQ(session.exitCode, 0) << session.err;
  EXPECT_FALSE(fw::PathExists(folder / L"modules/Log"));
}

TEST(Session, ADialogScriptThatIsBrokenOrNotUsedUpFailsWithExitCodeThree) {
  struct Case {
    const char* name;
    const char* uiScript;  // nullptr: the --ui file does not exist
    const char* commands;  // the session script
    int exitCode;
    // The "ui:" lines of the output with "<tmp>" for the session's folder; for a missing file,
    // part of them.
    std::string uiLines;
  };
  const std::string browser = "ui: dialog \"3.9.10 - <tmp>/support/qv35.ini\" shown\n"
                              "ui: dialog \"3.9.10 - <tmp>/support/qv35.ini\" ended 2\n";
  const Case cases[] = {
      {"comments only", "# nothing to do\n\n", "QUORVA\n", 0, browser},
      {"malformed", "# first\nclick x\n", "QUORVA\n", 3,
       "ui: error line 2: click: needs a control id\n"},
      // No dialog is shown to take the answer.
      {"never used", "answer message OK\n", "NEW\n", 3,
       "ui: error line 1: this step never ran: answer message OK\n"},
      {"missing", nullptr, "QUORVA\n", 3, "/dialogs.ui was not found."},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    TempFolder folder;
    std::wstring module = InstallModule(folder);
    WriteFile(folder / L"session.scr", test.commands);
    if (test.uiScript != nullptr) WriteFile(folder / L"dialogs.ui", test.uiScript);

    testsupport::ProgramOutcome session = RunHost(
        "--module " + ShellQuote(fw::ToUtf8(module)) + " --script " +
            ShellQuote(fw::ToUtf8(folder / L"session.scr")) + " --ui " +
            ShellQuote(fw::ToUtf8(folder / L"dialogs.ui")) + SupportFolderWithSettings(folder),
        folder);

    EXPECT_EQ(session.exitCode, test.exitCode) << session.out << session.err;
    std::string uiLines;
    std::istringstream lines(session.out);
    for (std::string line; std::getline(lines, line);) {
      if (line.starts_with("ui: ")) uiLines += line + "\n";
    }
    std::string tmp = fw::NativePath(folder.Path());
    for (std::size_t at = uiLines.find(tmp); at != std::string::npos; at = uiLines.find(tmp, at)) {
      uiLines.replace(at, tmp.size(), "<tmp>");
    }
    if (test.uiScript != nullptr) {
      EXPECT_EQ(uiLines, test.uiLines);
    } else {
      EXPECT_TRUE(uiLines.starts_with("ui: error ")) << uiLines;
      EXPECT_NE(uiLines.find(test.uiLines), std::string::npos) << uiLines;
    }
  }
}

}  // namespace
