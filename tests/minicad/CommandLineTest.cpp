// The command line as a user and a script see it: tokens, prompts and echo, the repeat of the
// last command, Escape, unknown commands, and strings queued on documents.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "HostTestSupport.h"
#include "minicad/CommandProcessor.h"
#include "minicad/Host.h"

namespace minicadtest {
namespace {

using Strings = std::vector<std::wstring>;

void Say1() { Events().push_back(L"SAY1"); }
void Say2() { Events().push_back(L"SAY2"); }
void Say3() { Events().push_back(L"SAY3"); }

// Asks once for a word and records the answer.
void Ask() {
  minicad::PromptAnswer answer =
      minicad::Host::Current()->Processor().Prompt(L"Say something: ", minicad::TokenMode::kWord);
  Events().push_back(answer.Ok() ? L"ASK got " + answer.text : L"ASK cancelled");
}

// Asks twice; the second prompt comes after the first was cancelled.
void AskTwice() {
  Ask();
  Ask();
}

void QueueTwo() {
  AcApDocument* document = acDocManager->curDocument();
  acDocManager->sendStringToExecute(document, L"SAY1\n");
  acDocManager->sendStringToExecute(document, L"SAY2\n");
  Events().push_back(L"QUEUETWO returns");
}

void QueueThenAsk() {
  acDocManager->sendStringToExecute(acDocManager->curDocument(), L"SAY1\n");
  Ask();
}

class CommandLineTest : public HostTest {
 protected:
  void RegisterCommands() {
    AddTestCommand(L"SAY1", Say1);
    AddTestCommand(L"SAY2", Say2);
    AddTestCommand(L"SAY3", Say3);
    AddTestCommand(L"ASK", Ask);
    AddTestCommand(L"ASKTWICE", AskTwice);
    AddTestCommand(L"QUEUETWO", QueueTwo);
    AddTestCommand(L"QUEUEASK", QueueThenAsk);
  }
};

TEST_F(CommandLineTest, ScriptShowsEachPromptWithItsAnswerEchoed) {
  minicad::Host host;
  std::wstring drawing = MakeDrawing(L"a.dwg");

  host.RunScriptText(L"OPEN " + drawing + L"\nFOO\n");

  EXPECT_EQ(host.ConsoleText(), L"Command: OPEN\n"
                                L"Enter name of drawing to open: " + drawing + L"\n"
                                L"Command: FOO\n"
                                L"Unknown command \"FOO\".  Press F1 for help.\n");
  EXPECT_EQ(host.ActiveDocument()->fileName(), drawing);
}

TEST_F(CommandLineTest, UnknownCommandIsReportedInUpperCaseAndTheSessionGoesOn) {
  minicad::Host host;
  RegisterCommands();

  host.RunScriptText(L"foo\nSAY1\n");

  EXPECT_EQ(host.ConsoleText(), L"Command: foo\n"
                                L"Unknown command \"FOO\".  Press F1 for help.\n"
                                L"Command: SAY1\n");
  EXPECT_EQ(Events(), Strings{L"SAY1"});
}

TEST_F(CommandLineTest, FileNamePromptTakesTheRestOfTheLineWithoutItsQuotes) {
  minicad::Host host;
  std::wstring drawing = MakeDrawing(L"floor plan.dwg");

  host.RunScriptText(L"OPEN \"" + drawing + L"\"\n");

  ASSERT_NE(host.ActiveDocument(), nullptr);
  EXPECT_EQ(host.ActiveDocument()->fileName(), drawing);
}

TEST_F(CommandLineTest, ABlankEndsACommandNameLikeALineEnd) {
  minicad::Host host;
  RegisterCommands();

  host.RunScriptText(L"SAY1 SAY2 ASK yes\n");

  EXPECT_EQ(Events(), (Strings{L"SAY1", L"SAY2", L"ASK got yes"}));
  EXPECT_EQ(host.ConsoleText(), L"Command: SAY1\nCommand: SAY2\nCommand: ASK\n"
                                L"Say something: yes\n");
}

TEST_F(CommandLineTest, EnterAtTheCommandPromptRepeatsTheLastCommand) {
  minicad::Host host;
  RegisterCommands();

  host.RunScriptText(L"SAY1\n\nSAY2 \n");

  EXPECT_EQ(Events(), (Strings{L"SAY1", L"SAY1", L"SAY2", L"SAY2"}));
  EXPECT_EQ(host.ConsoleText(), L"Command: SAY1\nCommand: \nCommand: SAY2\nCommand: \n");
}

TEST_F(CommandLineTest, EnterBeforeAnyCommandDoesNothing) {
  minicad::Host host;
  RegisterCommands();

  host.RunScriptText(L"\n\n");

  EXPECT_TRUE(Events().empty());
  EXPECT_EQ(host.ConsoleText(), L"Command: \nCommand: \n");
}

TEST_F(CommandLineTest, RepeatingOverManyEmptyLinesStopsWhenTheInputEnds) {
  minicad::Host host;
  RegisterCommands();

  host.RunScriptText(L"SAY1\n" + std::wstring(1000, L'\n'));

  EXPECT_EQ(Events().size(), 1001u);
}

TEST_F(CommandLineTest, EscapeCancelsTheRunningCommandAndShowsCancel) {
  minicad::Host host;
  RegisterCommands();

  host.RunScriptText(L"ASK\n^C\nSAY1\n");

  EXPECT_EQ(Events(), (Strings{L"ASK cancelled", L"SAY1"}));
  EXPECT_EQ(host.ConsoleText(), L"Command: ASK\nSay something: *Cancel*\nCommand: SAY1\n");
}

TEST_F(CommandLineTest, EscapeAtTheCommandPromptOnlyShowsCancel) {
  minicad::Host host;
  RegisterCommands();

  host.RunScriptText(L"^C\nSAY1\n");

  EXPECT_EQ(Events(), Strings{L"SAY1"});
  EXPECT_EQ(host.ConsoleText(), L"Command: *Cancel*\nCommand: SAY1\n");
}

TEST_F(CommandLineTest, InputThatRunsOutAtAPromptCancelsTheCommand) {
  minicad::Host host;
  RegisterCommands();

  host.RunScriptText(L"ASK");

  EXPECT_EQ(Events(), Strings{L"ASK cancelled"});
  EXPECT_EQ(host.ConsoleText(), L"Command: ASK\nSay something: *Cancel*\n");
}

TEST_F(CommandLineTest, ACancelledCommandReadsNoMoreInput) {
  minicad::Host host;
  RegisterCommands();

  host.RunScriptText(L"ASKTWICE\n^C\nSAY1\n");

  EXPECT_EQ(Events(), (Strings{L"ASK cancelled", L"ASK cancelled", L"SAY1"}));
}

void ShadowOpen() { Events().push_back(L"module OPEN"); }
void Dash() { Events().push_back(L"-DASH"); }

TEST_F(CommandLineTest, CommandNamesIgnoreCaseAndUnderstandTheHostsPrefixes) {
  minicad::Host host;
  AddTestCommand(L"-DASH", Dash);
  AddTestCommand(L"OPEN", ShadowOpen);

  // "_" is the English name, "." the built-in command; "-" belongs to the name.
  host.RunScriptText(L"-dash\n_-Dash\n._-DASH\nopen\n_OPEN\n.open\n^C\n_.OPEN\n^C\n");

  EXPECT_EQ(Events(), (Strings{L"-DASH", L"-DASH", L"module OPEN", L"module OPEN"}));
  std::wstring console = host.ConsoleText();
  EXPECT_NE(console.find(L"Unknown command \"._-DASH\".  Press F1 for help.\n"),
            std::wstring::npos);
  EXPECT_NE(console.find(L"Command: .open\nEnter name of drawing to open: *Cancel*\n"),
            std::wstring::npos);
  EXPECT_NE(console.find(L"Command: _.OPEN\nEnter name of drawing to open: *Cancel*\n"),
            std::wstring::npos);
}

TEST_F(CommandLineTest, QueuedStringsRunAfterTheCurrentCommandInOrder) {
  minicad::Host host;
  RegisterCommands();

  host.RunScriptText(L"QUEUETWO\nSAY3\n");

  EXPECT_EQ(Events(), (Strings{L"QUEUETWO returns", L"SAY1", L"SAY2", L"SAY3"}));
  EXPECT_EQ(host.ConsoleText(),
            L"Command: QUEUETWO\nCommand: SAY1\nCommand: SAY2\nCommand: SAY3\n");
}

// Queues SAY3 when QUEUETWO has ended, as a module's reactor follows up on a command.
class FollowUpReactor : public AcEditorReactor {
 public:
  void commandEnded(const ACHAR* name) override {
    if (std::wstring(name) == L"QUEUETWO") {
      acDocManager->sendStringToExecute(acDocManager->curDocument(), L"SAY3\n");
    }
  }
};

TEST_F(CommandLineTest, TextAReactorQueuesAtACommandsEndRunsAfterTheTextTheCommandQueued) {
  minicad::Host host;
  RegisterCommands();
  FollowUpReactor reactor;
  acedEditor->addReactor(&reactor);

  host.RunScriptText(L"QUEUETWO\n");

  EXPECT_EQ(Events(), (Strings{L"QUEUETWO returns", L"SAY1", L"SAY2", L"SAY3"}));
  acedEditor->removeReactor(&reactor);
}

TEST_F(CommandLineTest, TextQueuedByACommandNeverAnswersItsOwnPrompts) {
  minicad::Host host;
  RegisterCommands();

  host.RunScriptText(L"QUEUEASK\nhello\n");

  EXPECT_EQ(Events(), (Strings{L"ASK got hello", L"SAY1"}));
}

TEST_F(CommandLineTest, QueuedTextAnswersTheCommandItStartsThenTheScriptTakesOver) {
  minicad::Host host;
  AcApDocument* document = host.ActiveDocument();
  RegisterCommands();
  ASSERT_EQ(acDocManager->sendStringToExecute(document, L"ASK\nqueued\nASK\n"), Acad::eOk);

  host.RunScriptText(L"typed\n");

  EXPECT_EQ(Events(), (Strings{L"ASK got queued", L"ASK got typed"}));
  EXPECT_EQ(host.ConsoleText(), L"Command: ASK\nSay something: queued\n"
                                L"Command: ASK\nSay something: typed\n");
}

TEST_F(CommandLineTest, TextQueuedWithoutEchoShowsOnlyThePrompt) {
  minicad::Host host;
  AcApDocument* document = host.ActiveDocument();
  RegisterCommands();
  acDocManager->sendStringToExecute(document, L"SAY1\n", true, false, false);

  host.RunScriptText(L"");

  EXPECT_EQ(Events(), Strings{L"SAY1"});
  EXPECT_EQ(host.ConsoleText(), L"Command: \n");
}

TEST_F(CommandLineTest, TextQueuedOnAnInactiveDocumentWaitsUntilItIsActive) {
  minicad::Host host;
  AcApDocument* first = host.ActiveDocument();
  AcApDocument* second = host.NewDocument();
  RegisterCommands();

  acDocManager->sendStringToExecute(first, L"SAY1\n", false);
  EXPECT_EQ(host.ActiveDocument(), second);
  host.RunScriptText(L"SAY2\n");
  EXPECT_EQ(Events(), Strings{L"SAY2"});

  acDocManager->sendStringToExecute(first, L"SAY3\n", true);
  EXPECT_EQ(host.ActiveDocument(), first);
  host.RunScriptText(L"");
  EXPECT_EQ(Events(), (Strings{L"SAY2", L"SAY1", L"SAY3"}));
}

TEST_F(CommandLineTest, OnATerminalOnlyTheRestOfATypedLineIsEchoed) {
  minicad::HostOptions options;
  options.interactive = true;
  minicad::Host host(options);
  RegisterCommands();
  std::istringstream typed("FOO SAY1\nASK\nword\n");

  host.RunInteractive(typed);

  // The terminal shows the user's own typing: the token typed at a prompt and its line end.
  EXPECT_EQ(host.ConsoleText(), L"Command: Unknown command \"FOO\".  Press F1 for help.\n"
                                L"Command: SAY1\n"
                                L"Command: Say something: Command: \n");
  EXPECT_EQ(Events(), (Strings{L"SAY1", L"ASK got word"}));
}

}  // namespace
}  // namespace minicadtest
