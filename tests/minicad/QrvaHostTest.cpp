// The host program as a user runs it: arguments, exit codes, and the session it prints.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "HostTestSupport.h"
#include "fw/FileStatus.h"
#include "fw/NativePath.h"
#include "fw/Strings.h"
#include "support/Program.h"
#include "support/TempFolder.h"

namespace minicadtest {
namespace {

using Outcome = testsupport::ProgramOutcome;
using testsupport::ShellQuote;

std::string TestModule() { return MINICAD_TEST_MODULE; }

class QrvaHostTest : public HostTest {
 protected:
  // Runs the program with `arguments` (already quoted) and `input` on its standard input.
  Outcome Run(const std::string& arguments, const std::string& input = "") {
    return testsupport::RunProgram(QRVA_HOST_PROGRAM, arguments, folder_, input);
  }

  std::string Script(const std::string& text) {
    std::wstring path = folder_ / L"session.scr";
    testsupport::WriteFile(path, text);
    return ShellQuote(fw::NativePath(path));
  }

  std::string Drawing(const std::wstring& name) { return ShellQuote(fw::NativePath(MakeDrawing(name))); }
};

TEST_F(QrvaHostTest, HelpShowsTheUsage) {
  Outcome outcome = Run("--help");

  EXPECT_EQ(outcome.exitCode, 0);
  EXPECT_EQ(outcome.out.rfind("usage: qrva-host", 0), 0u) << outcome.out;
  EXPECT_EQ(outcome.err, "");
}

TEST_F(QrvaHostTest, BadArgumentsShowTheUsageOnStandardError) {
  for (const char* arguments : {"--bogus", "--script", "--module"}) {
    Outcome outcome = Run(arguments);
    EXPECT_EQ(outcome.exitCode, 2) << arguments;
    EXPECT_NE(outcome.err.find("usage: qrva-host"), std::string::npos) << outcome.err;
    EXPECT_EQ(outcome.out, "");
  }
}

TEST_F(QrvaHostTest, AMissingScriptFileIsAnError) {
  std::string missing = fw::NativePath(folder_ / L"missing.scr");

  Outcome outcome = Run("--module " + ShellQuote(TestModule()) + " --script " + ShellQuote(missing));

  EXPECT_EQ(outcome.exitCode, 2);
  EXPECT_NE(outcome.err.find("cannot read the script file \"" + missing + "\""),
            std::string::npos)
      << outcome.err;
  EXPECT_EQ(outcome.out, "");
}

TEST_F(QrvaHostTest, AModuleThatCannotBeLoadedIsAnErrorNamingTheFile) {
  std::string missing = fw::NativePath(folder_ / L"missing.arx");

  Outcome outcome = Run("--module " + ShellQuote(missing) + " --script " + Script(""));

  EXPECT_EQ(outcome.exitCode, 2);
  EXPECT_NE(outcome.err.find("Cannot load module \"" + missing + "\": "), std::string::npos)
      << outcome.err;
}

TEST_F(QrvaHostTest, AScriptRunsOnANewDrawingAndTheSessionQuits) {
  Outcome outcome = Run("--module " + ShellQuote(TestModule()) + " --script " + Script("MCHELLO\n"));

  EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
  EXPECT_EQ(outcome.out,
            "[test] init\n[test] load Drawing1\n"
            "Command: MCHELLO\n[test] hello in Drawing1, document context\n"
            "[test] quit\n[test] unload Drawing1\n[test] unload app\n");
}

TEST_F(QrvaHostTest, StandardInputThatIsNoTerminalIsReadLikeAScript) {
  Outcome outcome = Run("--module " + ShellQuote(TestModule()), "FOO\nQUIT\nMCHELLO\n");

  EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
  EXPECT_EQ(outcome.out,
            "[test] init\n[test] load Drawing1\n"
            "Command: FOO\nUnknown command \"FOO\".  Press F1 for help.\n"
            "Command: QUIT\n[test] quit\n[test] unload Drawing1\n[test] unload app\n");
}

TEST_F(QrvaHostTest, DrawingsNamedOnTheCommandLineAreOpenedInsteadOfANewOne) {
  std::string missing = fw::NativePath(folder_ / L"missing.dwg");

  Outcome outcome = Run("--module " + ShellQuote(TestModule()) + " --script " + Script("") + " " +
                        Drawing(L"\u00e9tage.dwg") + " " + ShellQuote(missing) + " " +
                        Drawing(L"b.dwg"));

  EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
  EXPECT_EQ(outcome.out,
            "Cannot find the drawing file \"" + missing + "\".\n"
            "[test] init\n[test] load \xC3\xA9tage\n[test] load b\n"
            "[test] quit\n[test] unload \xC3\xA9tage\n[test] unload b\n[test] unload app\n");
}

// A link named after the light edition runs the host as that edition: the module sees the
// link's name, not the program it leads to.
TEST_F(QrvaHostTest, TheModuleSeesTheNameTheHostWasStartedUnder) {
  const std::string link = fw::ToUtf8(folder_ / L"aclt.exe");
  ASSERT_EQ(symlink(QRVA_HOST_PROGRAM, link.c_str()), 0);
  const std::string script = Script("MCPROGRAM\n");

  Outcome linked = testsupport::RunProgram(link, "--module " + ShellQuote(TestModule()) +
                                                     " --script " + script, folder_);
  Outcome direct = Run("--module " + ShellQuote(TestModule()) + " --script " + script);

  EXPECT_NE(linked.out.find("[test] program aclt.exe\n"), std::string::npos) << linked.out;
  EXPECT_NE(direct.out.find("[test] program qrva-host\n"), std::string::npos) << direct.out;
}

TEST_F(QrvaHostTest, APrintAnsweredInTheDialogScriptGoesIntoThatPdf) {
  struct Case {
    std::wstring pdf;
    std::string answer;  // after the path
    std::string printed;
  };
  const Case cases[] = {
      {folder_ / L"out \u00e9.pdf", " 300", "[test] printed at 300 dpi\n"},
      {folder_ / L"out.pdf", "", "[test] printed at 600 dpi\n"},
      {folder_ / L"missing/out.pdf", "", "[test] StartDoc failed: 2\n"},
  };
  for (const Case& c : cases) {
    const std::wstring ui = folder_ / L"print.ui";
    testsupport::WriteFile(ui, "answer print \"" + fw::NativePath(c.pdf) + "\"" + c.answer + "\n");
    Outcome outcome = Run("--module " + ShellQuote(TestModule()) + " --ui " +
                          ShellQuote(fw::NativePath(ui)) + " --script " + Script("MCPRINT\n"));
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("ui: print -> "), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find(c.printed), std::string::npos) << outcome.out;
  }
  EXPECT_TRUE(fw::PathExists(folder_ / L"out \u00e9.pdf"));
  EXPECT_TRUE(fw::PathExists(folder_ / L"out.pdf"));
}

}  // namespace
}  // namespace minicadtest
