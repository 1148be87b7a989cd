// The host program as a user runs it: arguments, exit codes, and the session it prints.
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "HostTestSupport.h"
#include "fw/Strings.h"
#include "support/TempFolder.h"

namespace minicadtest {
namespace {

struct Outcome {
  int exitCode = -1;
  std::string out;
  std::string err;
};

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string TestModule() { return MINICAD_TEST_MODULE; }

class QrvaHostTest : public HostTest {
 protected:
  // Runs the program with `arguments` (already quoted) and `input` on its standard input.
  Outcome Run(const std::string& arguments, const std::string& input = "") {
    std::wstring in = folder_ / L"stdin.txt";
    std::wstring out = folder_ / L"stdout.txt";
    std::wstring err = folder_ / L"stderr.txt";
    testsupport::WriteFile(in, input);
    std::string command = Quote(QRVA_HOST_PROGRAM) + " " + arguments + " <" +
                          Quote(fw::ToUtf8(in)) + " >" + Quote(fw::ToUtf8(out)) + " 2>" +
                          Quote(fw::ToUtf8(err));
    int status = std::system(command.c_str());
    Outcome outcome;
    if (status != -1 && WIFEXITED(status)) outcome.exitCode = WEXITSTATUS(status);
    outcome.out = testsupport::ReadFile(out);
    outcome.err = testsupport::ReadFile(err);
    return outcome;
  }

  std::string Script(const std::string& text) {
    std::wstring path = folder_ / L"session.scr";
    testsupport::WriteFile(path, text);
    return Quote(fw::ToUtf8(path));
  }

  std::string Drawing(const std::wstring& name) { return Quote(fw::ToUtf8(MakeDrawing(name))); }
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
  std::string missing = fw::ToUtf8(folder_ / L"missing.scr");

  Outcome outcome = Run("--module " + Quote(TestModule()) + " --script " + Quote(missing));

  EXPECT_EQ(outcome.exitCode, 2);
  EXPECT_NE(outcome.err.find("cannot read the script file \"" + missing + "\""),
            std::string::npos)
      << outcome.err;
  EXPECT_EQ(outcome.out, "");
}

TEST_F(QrvaHostTest, AModuleThatCannotBeLoadedIsAnErrorNamingTheFile) {
  std::string missing = fw::ToUtf8(folder_ / L"missing.arx");

  Outcome outcome = Run("--module " + Quote(missing) + " --script " + Script(""));

  EXPECT_EQ(outcome.exitCode, 2);
  EXPECT_NE(outcome.err.find("Cannot load module \"" + missing + "\": "), std::string::npos)
      << outcome.err;
}

TEST_F(QrvaHostTest, AScriptRunsOnANewDrawingAndTheSessionQuits) {
  Outcome outcome = Run("--module " + Quote(TestModule()) + " --script " + Script("MCHELLO\n"));

  EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
  EXPECT_EQ(outcome.out,
            "[test] init\n[test] load Drawing1\n"
            "Command: MCHELLO\n[test] hello in Drawing1, document context\n"
            "[test] quit\n[test] unload Drawing1\n[test] unload app\n");
}

TEST_F(QrvaHostTest, StandardInputThatIsNoTerminalIsReadLikeAScript) {
  Outcome outcome = Run("--module " + Quote(TestModule()), "FOO\nQUIT\nMCHELLO\n");

  EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
  EXPECT_EQ(outcome.out,
            "[test] init\n[test] load Drawing1\n"
            "Command: FOO\nUnknown command \"FOO\".  Press F1 for help.\n"
            "Command: QUIT\n[test] quit\n[test] unload Drawing1\n[test] unload app\n");
}

TEST_F(QrvaHostTest, DrawingsNamedOnTheCommandLineAreOpenedInsteadOfANewOne) {
  std::string missing = fw::ToUtf8(folder_ / L"missing.dwg");

  Outcome outcome = Run("--module " + Quote(TestModule()) + " --script " + Script("") + " " +
                        Drawing(L"\u00e9tage.dwg") + " " + Quote(missing) + " " +
                        Drawing(L"b.dwg"));

  EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
  EXPECT_EQ(outcome.out,
            "Cannot find the drawing file \"" + missing + "\".\n"
            "[test] init\n[test] load \xC3\xA9tage\n[test] load b\n"
            "[test] quit\n[test] unload \xC3\xA9tage\n[test] unload b\n[test] unload app\n");
}

}  // namespace
}  // namespace minicadtest
