// What reactors hear about commands, and the application and document contexts.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "HostTestSupport.h"
#include "minicad/CommandProcessor.h"
#include "minicad/Host.h"

namespace minicadtest {
namespace {

using Strings = std::vector<std::wstring>;

void Say() { Events().push_back(L"SAY"); }

void Ask() {
  minicad::PromptAnswer answer =
      minicad::Host::Current()->Processor().Prompt(L"Answer: ", minicad::TokenMode::kWord);
  Events().push_back(answer.Ok() ? L"got " + answer.text : L"prompt cancelled");
}

void Throw() { throw std::runtime_error("broken on purpose"); }

std::wstring ContextName() {
  return acDocManager->isApplicationContext() ? L"application" : L"document";
}

void RecordContext() { Events().push_back(L"in " + ContextName() + L" context"); }

void RecordDeferred(void*) { Events().push_back(L"deferred in " + ContextName() + L" context"); }

void Defer() {
  Events().push_back(L"DEFER body");
  acDocManager->executeInApplicationContext(RecordDeferred, nullptr);
  Events().push_back(L"DEFER returns");
}

void RecordOpen(const std::wstring& path) {
  Acad::ErrorStatus status = acDocManager->appContextOpenDocument(path.c_str());
  Events().push_back(L"open status " + std::to_wstring(static_cast<int>(status)));
}

std::wstring& PathToOpen() {
  static std::wstring path;
  return path;
}

void OpenHere() { RecordOpen(PathToOpen()); }

void OpenLater(void*) { RecordOpen(PathToOpen()); }

void OpenInApplicationContext() {
  acDocManager->executeInApplicationContext(OpenLater, nullptr);
}

// Activates another document and reports which one is current.
void SwitchAndReport() {
  std::unique_ptr<AcApDocumentIterator> documents(acDocManager->newAcApDocumentIterator());
  acDocManager->activateDocument(documents->document());
  Events().push_back(std::wstring(L"current ") + acDocManager->curDocument()->docTitle() +
                     L", active " + acDocManager->mdiActiveDocument()->docTitle());
}

class CommandProcessorTest : public HostTest {
 protected:
  void SetUpSession(minicad::Host&) {
    acedEditor->addReactor(&reactor_);
    AddTestCommand(L"SAY", Say);
    AddTestCommand(L"ASK", Ask);
    AddTestCommand(L"THROW", Throw);
    AddTestCommand(L"DOCCONTEXT", RecordContext);
    AddTestCommand(L"SESSIONCONTEXT", RecordContext, ACRX_CMD_SESSION);
    AddTestCommand(L"DEFER", Defer);
    AddTestCommand(L"SESSIONDEFER", Defer, ACRX_CMD_SESSION);
    AddTestCommand(L"OPENHERE", OpenHere);
    AddTestCommand(L"SESSIONOPEN", OpenHere, ACRX_CMD_SESSION);
    AddTestCommand(L"OPENLATER", OpenInApplicationContext);
    AddTestCommand(L"SWITCH", SwitchAndReport);
  }
  RecordingReactor reactor_;
};

TEST_F(CommandProcessorTest, ReactorsHearACommandStartAndEnd) {
  minicad::Host host;
  SetUpSession(host);

  host.RunScriptText(L"SAY\n");

  EXPECT_EQ(Events(), (Strings{L"willStart SAY", L"SAY", L"ended SAY"}));
}

TEST_F(CommandProcessorTest, ReactorsHearACancelForEscapeAndForInputThatRunsOut) {
  minicad::Host host;
  SetUpSession(host);

  host.RunScriptText(L"ASK\n^C\nASK");

  EXPECT_EQ(Events(), (Strings{L"willStart ASK", L"prompt cancelled", L"cancelled ASK",
                               L"willStart ASK", L"prompt cancelled", L"cancelled ASK"}));
}

TEST_F(CommandProcessorTest, BuiltinCommandsAreAnnouncedLikeModuleCommands) {
  minicad::Host host;
  SetUpSession(host);
  std::wstring drawing = MakeDrawing(L"b.dwg");

  host.RunScriptText(L"open " + drawing + L"\n_new\n");

  EXPECT_EQ(Events(), (Strings{L"willStart OPEN", L"ended OPEN", L"willStart NEW",
                               L"ended NEW"}));
}

TEST_F(CommandProcessorTest, OpeningAMissingDrawingFailsTheCommandWithAnErrorLine) {
  minicad::Host host;
  SetUpSession(host);
  std::wstring missing = folder_ / L"missing.dwg";

  host.RunScriptText(L"OPEN " + missing + L"\nSAY\n");

  EXPECT_EQ(Events(), (Strings{L"willStart OPEN", L"failed OPEN", L"willStart SAY", L"SAY",
                               L"ended SAY"}));
  EXPECT_NE(host.ConsoleText().find(L"Enter name of drawing to open: " + missing +
                                    L"\nCannot find the drawing file \"" + missing + L"\".\n"),
            std::wstring::npos);
  EXPECT_EQ(host.Documents().size(), 1u);
}

TEST_F(CommandProcessorTest, ACommandThatThrowsFailsAndTheSessionGoesOn) {
  minicad::Host host;
  SetUpSession(host);

  host.RunScriptText(L"THROW\nSAY\n");

  EXPECT_EQ(Events(), (Strings{L"willStart THROW", L"failed THROW", L"willStart SAY", L"SAY",
                               L"ended SAY"}));
  EXPECT_NE(host.ConsoleText().find(L"Command \"THROW\" stopped: broken on purpose\n"),
            std::wstring::npos);
}

TEST_F(CommandProcessorTest, ReactorsHearTheGlobalNameWhateverNameWasTyped) {
  minicad::Host host;
  SetUpSession(host);
  ASSERT_EQ(acedRegCmds->addCommand(L"TESTS", L"-GLOBAL", L"-LOKAL", ACRX_CMD_MODAL, Say),
            Acad::eOk);

  host.RunScriptText(L"-lokal\n_-global\n-global\n");

  EXPECT_EQ(Events(), (Strings{L"willStart -GLOBAL", L"SAY", L"ended -GLOBAL",
                               L"willStart -GLOBAL", L"SAY", L"ended -GLOBAL"}));
}

// Removes the recording reactor when it hears a command start.
class RemovingReactor : public AcEditorReactor {
 public:
  explicit RemovingReactor(AcEditorReactor* victim) : victim_(victim) {}
  void commandWillStart(const ACHAR*) override { acedEditor->removeReactor(victim_); }

 private:
  AcEditorReactor* victim_;
};

TEST_F(CommandProcessorTest, AReactorRemovedDuringANotificationIsNotCalled) {
  minicad::Host host;
  AddTestCommand(L"SAY", Say);
  RemovingReactor remover(&reactor_);
  acedEditor->addReactor(&remover);
  acedEditor->addReactor(&reactor_);
  acedEditor->addReactor(&reactor_);
  EXPECT_EQ(host.EditorReactorCount(), 2u);

  host.RunScriptText(L"SAY\n");

  EXPECT_EQ(Events(), Strings{L"SAY"});
  EXPECT_EQ(host.EditorReactorCount(), 1u);
  acedEditor->removeReactor(&remover);
}

TEST_F(CommandProcessorTest, SessionCommandsRunInTheApplicationContextOthersInTheDocuments) {
  minicad::Host host;
  SetUpSession(host);
  acedEditor->removeReactor(&reactor_);

  host.RunScriptText(L"SESSIONCONTEXT\nDOCCONTEXT\n");

  EXPECT_EQ(Events(), (Strings{L"in application context", L"in document context"}));
  EXPECT_TRUE(acDocManager->isApplicationContext());
}

TEST_F(CommandProcessorTest, ProceduresForTheApplicationContextWaitUntilTheCommandHasReturned) {
  minicad::Host host;
  SetUpSession(host);

  host.RunScriptText(L"DEFER\nSAY\n");

  EXPECT_EQ(Events(), (Strings{L"willStart DEFER", L"DEFER body", L"DEFER returns",
                               L"ended DEFER", L"deferred in application context",
                               L"willStart SAY", L"SAY", L"ended SAY"}));
}

TEST_F(CommandProcessorTest, ProceduresForTheApplicationContextRunAtOnceWhenAlreadyThere) {
  minicad::Host host;
  SetUpSession(host);

  host.RunScriptText(L"SESSIONDEFER\n");

  EXPECT_EQ(Events(), (Strings{L"willStart SESSIONDEFER", L"DEFER body",
                               L"deferred in application context", L"DEFER returns",
                               L"ended SESSIONDEFER"}));
}

TEST_F(CommandProcessorTest, DrawingsOpenOnlyInTheApplicationContext) {
  minicad::Host host;
  SetUpSession(host);
  acedEditor->removeReactor(&reactor_);
  PathToOpen() = MakeDrawing(L"c.dwg");

  host.RunScriptText(L"OPENHERE\n");
  EXPECT_EQ(Events(), Strings{L"open status 3010"});  // eInvalidContext
  EXPECT_EQ(host.Documents().size(), 1u);

  host.RunScriptText(L"SESSIONOPEN\nOPENLATER\n");
  EXPECT_EQ(Events(), (Strings{L"open status 3010", L"open status 0", L"open status 0"}));
  ASSERT_EQ(host.Documents().size(), 3u);
  EXPECT_EQ(host.ActiveDocument(), host.Documents()[2]);
  EXPECT_EQ(host.ActiveDocument()->fileName(), PathToOpen());
}

TEST_F(CommandProcessorTest, OpeningAMissingDrawingInTheApplicationContextPrintsAnErrorLine) {
  minicad::Host host;
  SetUpSession(host);
  acedEditor->removeReactor(&reactor_);
  PathToOpen() = folder_ / L"nowhere.dwg";

  host.RunScriptText(L"SESSIONOPEN\n");

  EXPECT_EQ(Events(), Strings{L"open status 83"});  // eFileNotFound
  EXPECT_NE(host.ConsoleText().find(L"Cannot find the drawing file \"" + PathToOpen() + L"\".\n"),
            std::wstring::npos);
}

TEST_F(CommandProcessorTest, AnActivationAskedDuringADocumentCommandTakesEffectWhenItEnds) {
  minicad::Host host;
  SetUpSession(host);
  host.NewDocument();  // Drawing2 is active; SWITCH activates Drawing1

  host.RunScriptText(L"SWITCH\n");

  EXPECT_EQ(Events(), (Strings{L"willStart SWITCH", L"current Drawing2, active Drawing2",
                               L"ended SWITCH"}));
  EXPECT_EQ(acDocManager->curDocument(), host.Documents()[0]);
  EXPECT_EQ(host.ActiveDocument(), host.Documents()[0]);
}

}  // namespace
}  // namespace minicadtest
