// The host's commands as a module's insertion drives them: -INSERT, -XREF, EXPLODE, names in
// quotes, cancelled insertions, acedCmdS, the colour dialog, and what reactors see.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>

#include "HostTestSupport.h"
#include "fw/FileName.h"
#include "fw/FileStatus.h"
#include "fw/Strings.h"
#include "fw/HeadlessUiDriver.h"
#include "fw/UiDriver.h"
#include "minicad/AcDbImpDatabase.h"
#include "minicad/DbList.h"
#include "minicad/Host.h"
#include "minicad/InputText.h"
#include "support/TempFolder.h"

namespace minicadtest {
namespace {

using Lines = std::vector<std::wstring>;

Lines DrawingLines() {
  return minicad::ListDrawing(
      AcDbImpDatabase::Of(*acdbHostApplicationServices()->workingDatabase()));
}

// A drawing of two lines on layer PIPE, saved by the host itself.
std::wstring SaveValve(minicad::Host& host, const std::wstring& path) {
  fw::CreateDirectory(fw::FolderOf(path));
  host.RunScriptText(
      L"NEW\n-LAYER\nMake\nPIPE\n\nLINE\n0,0\n10,0\n\nLINE\n0,0\n0,5\n\n"
      L"SAVEAS\n2018\n" +
      minicad::QuoteName(path) + L"\nCLOSE\n");
  return path;
}

// The objects of model space that are not erased.
std::vector<AcDbObjectId> ModelSpaceObjects() {
  const AcDbImpDatabase& inside =
      AcDbImpDatabase::Of(*acdbHostApplicationServices()->workingDatabase());
  std::vector<AcDbObjectId> ids;
  for (AcDbObjectId id : AcDbImpDatabase::Entities(
           *AcDbImpDatabase::PeekAs<AcDbBlockTableRecord>(inside.Standard().modelSpace))) {
    if (!AcDbImpDatabase::IsErased(id)) ids.push_back(id);
  }
  return ids;
}

class HostCommandsTest : public HostTest {
 protected:
  HostCommandsTest() { acedEditor->addReactor(&reactor_); }
  ~HostCommandsTest() override { acedEditor->removeReactor(&reactor_); }

  minicad::Host host_;
  RecordingReactor reactor_;
};

// The forms of the block name an insertion may take, with what the drawing holds afterwards.
TEST_F(HostCommandsTest, InsertTakesANameAFileOrNameEqualsFileAndAsksBeforeRedefining) {
  const std::wstring valve = SaveValve(host_, folder_ / L"with blank/Valve One.dwg");
  const std::wstring file = minicad::QuoteName(valve);
  const Lines valveLines = {L"Valve One | LINE | layer PIPE | color 256 | linetype ByLayer",
                            L"Valve One | LINE | layer PIPE | color 256 | linetype ByLayer"};
  struct Case {
    const char* what;
    std::wstring script;
    Lines expected;
  };
  const Case cases[] = {
      {"a file: its title names the block",
       L"-INSERT\n" + file + L"\n5,5\n2\n\n90\n",
       {L"*Model_Space | INSERT | layer 0 | color 256 | linetype ByLayer | block Valve One | "
        L"at 5,5,0 | scale 2,2,2 | rotation 90",
        valveLines[0], valveLines[1]}},
      {"name=file in quotes with _y redefines the block",
       L"-BLOCK\n\"My Valve\"\n0,0\n\n-INSERT\n\"My Valve=" + valve +
           L"\"\n_y\n_scale\n1\n_rotate\n45\n0,0\n",
       {L"*Model_Space | INSERT | layer 0 | color 256 | linetype ByLayer | block My Valve | "
        L"at 0,0,0 | scale 1,1,1 | rotation 45",
        L"My Valve | LINE | layer PIPE | color 256 | linetype ByLayer",
        L"My Valve | LINE | layer PIPE | color 256 | linetype ByLayer"}},
      {"name=file with _n keeps the block as it was",
       L"-BLOCK\nKEEP\n0,0\n\n-INSERT\n\"KEEP=" + valve + L"\"\n_n\n1,1\n\n\n\n",
       {L"*Model_Space | INSERT | layer 0 | color 256 | linetype ByLayer | block KEEP | at "
        L"1,1,0 | scale 1,1,1 | rotation 0"}},
  };
  for (const Case& c : cases) {
    host_.RunScriptText(L"NEW\n" + c.script);
    EXPECT_EQ(DrawingLines(), c.expected) << c.what << "\n" << fw::ToUtf8(host_.TakeConsoleText());
    host_.RunScriptText(L"CLOSE\n");
  }
}

TEST_F(HostCommandsTest, ACancelledInsertionPlacesNothingAndReactorsHearTheCancel) {
  const std::wstring valve = SaveValve(host_, folder_ / L"Valve.dwg");
  host_.RunScriptText(L"NEW\n");
  Events().clear();

  host_.RunScriptText(L"-INSERT\n" + valve + L"\n^C\n");

  EXPECT_EQ(Events(), (Lines{L"willStart -INSERT", L"cancelled -INSERT"}));
  const Lines lines = DrawingLines();
  ASSERT_EQ(lines.size(), 2u);  // the definition is made; no reference is placed
  EXPECT_EQ(lines[0].substr(0, 8), L"Valve | ");
}

// The insertion text a module queues, then EXPLODE (entlast) as its reactor queues it.
TEST_F(HostCommandsTest, ExplodeOfTheLastReferencePlacesItsObjectsWhereTheReferenceDid) {
  const std::wstring valve = SaveValve(host_, folder_ / L"Valve.dwg");
  host_.RunScriptText(L"NEW\n");
  AcApDocument* document = acDocManager->curDocument();
  acDocManager->sendStringToExecute(
      document, (L"._-insert " + valve + L"\n_scale 2 _rotate 90.000000\n").c_str(), true, false,
      false);
  host_.RunScriptText(L"3,4\n");
  acDocManager->sendStringToExecute(document, L"._explode (entlast)\n\n", true, false, false);
  host_.RunScriptText(L"");

  const Lines lines = DrawingLines();
  ASSERT_EQ(lines.size(), 4u) << fw::ToUtf8(host_.ConsoleText());
  EXPECT_EQ(lines[0], L"*Model_Space | LINE | layer PIPE | color 256 | linetype ByLayer");
  EXPECT_EQ(lines[1], L"*Model_Space | LINE | layer PIPE | color 256 | linetype ByLayer");
  // The first line ran from (0,0) to (10,0): twice as long, turned a quarter, moved to (3,4).
  const std::vector<AcDbObjectId> objects = ModelSpaceObjects();
  AcDbLine* line = nullptr;
  ASSERT_EQ(acdbOpenObject(line, objects.at(0), AcDb::kForRead), Acad::eOk);
  EXPECT_NEAR(line->startPoint().x, 3, 1e-9);
  EXPECT_NEAR(line->endPoint().x, 3, 1e-9);
  EXPECT_NEAR(line->endPoint().y, 24, 1e-9);
  line->close();
  // Strings queued without echo show their prompts only.
  EXPECT_NE(host_.ConsoleText().find(L"Select objects: \n1 found\nSelect objects: \n"),
            std::wstring::npos)
      << fw::ToUtf8(host_.ConsoleText());
}

TEST_F(HostCommandsTest, ADrawingOfAnotherProgramInsertsAsABlockWithoutObjectsThatWillNotExplode) {
  const std::wstring foreign = folder_ / L"Other.dwg";
  testsupport::WriteFile(foreign, "AC1032 and then bytes no host of ours wrote");
  host_.RunScriptText(L"-INSERT\n" + foreign + L"\n0,0\n\n\n\nEXPLODE\n_l\n\n");

  EXPECT_EQ(DrawingLines(),
            (Lines{L"*Model_Space | INSERT | layer 0 | color 256 | linetype "
                   L"ByLayer | block Other | at 0,0,0 | scale 1,1,1 | rotation 0"}));
  EXPECT_NE(host_.ConsoleText().find(L"1 was not able to be exploded.\n"), std::wstring::npos);
}

TEST_F(HostCommandsTest, AnExternalReferenceBringsItsLayersAsDependentRecords) {
  const std::wstring valve = SaveValve(host_, folder_ / L"Valve.dwg");
  host_.RunScriptText(L"NEW\n-XREF\n_overlay\n" + valve + L"\n0,0\n\n\n\n");

  EXPECT_EQ(DrawingLines(),
            (Lines{L"*Model_Space | INSERT | layer 0 | color 256 | linetype ByLayer | block Valve "
                   L"| at 0,0,0 | scale 1,1,1 | rotation 0",
                   L"Valve | LINE | layer Valve|PIPE | color 256 | linetype ByLayer",
                   L"Valve | LINE | layer Valve|PIPE | color 256 | linetype ByLayer"}));
  EXPECT_NE(
      host_.ConsoleText().find(L"Overlay Xref \"Valve\": " + valve + L"\n\"Valve\" loaded.\n"),
      std::wstring::npos);
}

// acedCmdS from inside a command: the nested command is heard by reactors, a pause takes the
// next input line, and the outcome is the command's.
int& CmdsResult() {
  static int result = 0;
  return result;
}

std::vector<resbuf*>& CmdsTokens() {
  static std::vector<resbuf*> tokens;
  return tokens;
}

void RunTokens() {
  resbuf* head = nullptr;
  resbuf** next = &head;
  for (resbuf* token : CmdsTokens()) {
    *next = token;
    next = &token->rbnext;
  }
  CmdsResult() = acedCmdS(head);
  acutRelRb(head);
  CmdsTokens().clear();
}

resbuf* Text(const wchar_t* text) {
  resbuf* buffer = acutNewRb(RTSTR);
  acutNewString(text, buffer->resval.rstring);
  return buffer;
}

resbuf* Real(double value) {
  resbuf* buffer = acutNewRb(RTREAL);
  buffer->resval.rreal = value;
  return buffer;
}

TEST_F(HostCommandsTest, AcedCmdSRunsANestedCommandThatReactorsHear) {
  const std::wstring valve = SaveValve(host_, folder_ / L"with blank/Valve.dwg");
  host_.RunScriptText(L"NEW\n");
  AddTestCommand(L"RUNTOKENS", RunTokens);
  struct Case {
    const char* what;
    std::vector<resbuf*> tokens;
    std::wstring followingInput;
    int result;
    Lines events;
  };
  const Case cases[] = {
      {"an xref placed at a pause",
       {Text(L"._-xref"), Text(L"_attach"), Text(valve.c_str()), Text(L"_scale"), Real(1),
        Text(L"_rotate"), Real(90), Text(L"\\")},
       L"2,2\n",
       RTNORM,
       {L"willStart RUNTOKENS", L"willStart -XREF", L"ended -XREF", L"ended RUNTOKENS"}},
      {"Escape at the pause",
       {Text(L"._line"), Text(L"0,0"), Text(L"\\")},
       L"^C\n",
       RTCAN,
       {L"willStart RUNTOKENS", L"willStart LINE", L"cancelled LINE", L"ended RUNTOKENS"}},
      {"an answer the command cannot use",
       {Text(L"._circle"), Text(L"nowhere")},
       L"",
       RTERROR,
       {L"willStart RUNTOKENS", L"willStart CIRCLE", L"failed CIRCLE", L"ended RUNTOKENS"}},
      {"an unknown command",
       {Text(L"NOSUCH")},
       L"",
       RTERROR,
       {L"willStart RUNTOKENS", L"ended RUNTOKENS"}},
      {"closing the drawing whose command runs",
       {Text(L"CLOSE")},
       L"",
       RTERROR,
       {L"willStart RUNTOKENS", L"willStart CLOSE", L"failed CLOSE", L"ended RUNTOKENS"}},
  };
  for (const Case& c : cases) {
    Events().clear();
    CmdsTokens() = c.tokens;
    host_.RunScriptText(L"RUNTOKENS\n" + c.followingInput);
    EXPECT_EQ(CmdsResult(), c.result) << c.what;
    EXPECT_EQ(Events(), c.events) << c.what;
  }
  EXPECT_EQ(DrawingLines()[0],
            L"*Model_Space | INSERT | layer 0 | color 256 | linetype ByLayer | "
            L"block Valve | at 2,2,0 | scale 1,1,1 | rotation 90");
  resbuf* outside = Text(L"._line");
  EXPECT_EQ(acedCmdS(outside), RTERROR);  // no document command runs
  acutRelRb(outside);
}

// A reactor hears the end of a command while its document is current, in the document's
// context and still locked, so it may change the drawing.
class WritingReactor : public AcEditorReactor {
 public:
  void commandEnded(const ACHAR* name) override {
    AcDbDatabase* database = acdbHostApplicationServices()->workingDatabase();
    AcDbBlockTableRecord* space = nullptr;
    Acad::ErrorStatus status = acdbOpenObject(
        space, AcDbImpDatabase::Of(*database).Standard().modelSpace, AcDb::kForWrite);
    Events().push_back(std::wstring(name) + L" in " + acDocManager->curDocument()->docTitle() +
                       (acDocManager->isApplicationContext() ? L", application" : L", document") +
                       L", write " + std::to_wstring(static_cast<int>(status)));
    if (space != nullptr) space->close();
  }
};

void ActivateFirst() {
  std::unique_ptr<AcApDocumentIterator> documents(acDocManager->newAcApDocumentIterator());
  acDocManager->activateDocument(documents->document());
}

TEST_F(HostCommandsTest, ReactorsHearAnEndWithTheEndedCommandsDocumentCurrentAndWritable) {
  acedEditor->removeReactor(&reactor_);
  WritingReactor writer;
  acedEditor->addReactor(&writer);
  AddTestCommand(L"ACTIVATEFIRST", ActivateFirst);
  host_.NewDocument();  // Drawing2 is active

  host_.RunScriptText(L"ACTIVATEFIRST\nDBLIST\n");

  EXPECT_EQ(Events(), (Lines{L"ACTIVATEFIRST in Drawing2, document, write 0",
                             L"DBLIST in Drawing1, document, write 0"}));
  acedEditor->removeReactor(&writer);
}

TEST_F(HostCommandsTest, CommandsThatNeedADrawingAreRefusedWhileNoneIsOpen) {
  host_.RunScriptText(L"CLOSE\nLINE\n0,0\nNEW\nDBLIST\n");

  EXPECT_EQ(Events(), (Lines{L"willStart CLOSE", L"ended CLOSE", L"willStart NEW", L"ended NEW",
                             L"willStart DBLIST", L"ended DBLIST"}));
  EXPECT_NE(host_.ConsoleText().find(L"Command: LINE\nCommand \"LINE\" needs an open drawing.\n"
                                     L"Command: 0,0\nUnknown command"),
            std::wstring::npos)
      << fw::ToUtf8(host_.ConsoleText());
}

TEST_F(HostCommandsTest, TheColourDialogAnswersFromTheUiDriver) {
  fw::HeadlessUiDriver driver;
  fw::SetUiDriver(&driver);
  driver.QueueColorAnswer(5);
  driver.QueueColorAnswer(std::nullopt);
  auto invoke = [](int initial) {
    resbuf* args = Text(L"acad_colordlg");
    args->rbnext = acutNewRb(RTSHORT);
    args->rbnext->resval.rint = static_cast<short>(initial);
    args->rbnext->rbnext = acutNewRb(RTNIL);
    resbuf* result = nullptr;
    const int status = acedInvoke(args, &result);
    std::wstring answer = result == nullptr            ? L"none"
                          : result->restype == RTSHORT ? std::to_wstring(result->resval.rint)
                                                       : L"nil";
    acutRelRb(args);
    acutRelRb(result);
    return std::to_wstring(status) + L" " + answer;
  };
  EXPECT_EQ(invoke(3), L"5100 5");
  EXPECT_EQ(invoke(256), L"5100 nil");
  EXPECT_EQ(driver.ColorDialogsShown(), (std::vector<int>{3, 7}));
  resbuf* unknown = Text(L"acad_truecolordlg");
  resbuf* result = nullptr;
  EXPECT_EQ(acedInvoke(unknown, &result), RTERROR);
  EXPECT_EQ(result, nullptr);
  acutRelRb(unknown);
  fw::SetUiDriver(nullptr);
}

TEST(RealToString, WritesDistancesInEachUnitStyle) {
  const std::tuple<double, int, int, const wchar_t*> cases[] = {
      {2.5, 2, 4, L"2.5000"},     {-0.00001, 2, 2, L"0.00"},   {1234.5, 1, 2, L"1.23E+03"},
      {15.5, 3, 2, L"1'-3.50\""}, {15.5, 4, 4, L"1'-3 1/2\""}, {11.99, 4, 2, L"1'-0\""},
      {2.25, 5, 3, L"2 1/4"},     {-0.5, 5, 1, L"-1/2"},       {3, 2, 0, L"3"},
  };
  for (const auto& [value, unit, precision, expected] : cases) {
    ACHAR text[32];
    ASSERT_EQ(acdbRToS(value, unit, precision, text), RTNORM) << value;
    EXPECT_EQ(std::wstring(text), expected) << value << " " << unit;
  }
  ACHAR small[3];
  EXPECT_EQ(acdbRToS(1234.0, 2, 2, small), RTERROR);
  EXPECT_EQ(acdbRToS(1.0, 6, 2, small), RTERROR);
}

}  // namespace
}  // namespace minicadtest
