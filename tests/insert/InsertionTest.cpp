// Insertions as the browser starts them, in a session of our host: the action runs inside a
// command as QUORVA runs it, the user's answers follow on the command line, the command reactor
// finishes the insertion, and DBLIST shows the result.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "arx/arxHeaders.h"
#include "fw/FileName.h"
#include "fw/FileStatus.h"
#include "fw/HeadlessUiDriver.h"
#include "fw/Module.h"
#include "fw/Strings.h"
#include "fw/UiDriver.h"
#include "insert/CmdLineReactor.h"
#include "insert/HostCommand.h"
#include "insert/InsertCommands.h"
#include "insert/InsertionState.h"
#include "layermap/MapScheme.h"
#include "layermap/ResBuf.h"
#include "layermap/SchemeTable.h"
#include "library/Directory.h"
#include "minicad/AcDbImpDatabase.h"
#include "minicad/DbList.h"
#include "minicad/Host.h"
#include "minicad/InputText.h"
#include "support/TempFolder.h"

namespace {

using insert::ExistingBlockMode;
using Lines = std::vector<std::wstring>;

constexpr const wchar_t* kValveLine = L"Valve | LINE | layer PIPE | color 256 | linetype ByLayer";

std::function<void()>& Action() {
  static std::function<void()> action;
  return action;
}

void RunAction() {
  if (Action()) Action()();
}

Lines Drawing() {
  return minicad::ListDrawing(
      AcDbImpDatabase::Of(*acdbHostApplicationServices()->workingDatabase()));
}

std::wstring Reference(const std::wstring& block, const std::wstring& rest,
                       const std::wstring& layer = L"0") {
  return L"*Model_Space | INSERT | layer " + layer + L" | color 256 | linetype ByLayer | block " +
         block + L" | " + rest;
}

std::size_t Count(const std::wstring& text, const std::wstring& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

void SetReal(const wchar_t* variable, double value) {
  layermap::ResBuf buffer;
  ASSERT_TRUE(buffer.AppendReal(value));
  ASSERT_TRUE(buffer.SetVar(variable));
}

// A library folder with a blank in its name holding Valve.dwg (two lines on layer PIPE) and
// copies of it under other names.
class InsertionTest : public ::testing::Test {
 protected:
  InsertionTest() {
    fw::SetUiDriver(&driver_);
    fw::SetAppName(L"Quorvane");
    acedEditor->addReactor(&reactor_);
    EXPECT_EQ(acedRegCmds->addCommand(L"TESTS", L"QVTEST", L"QVTEST", ACRX_CMD_MODAL, RunAction),
              Acad::eOk);
    directory_.path = folder_ / L"lib dir";
    fw::CreateDirectory(directory_.path);
    host_.RunScriptText(
        L"-LAYER\nMake\nPIPE\n\nLINE\n0,0\n10,0\n\nLINE\n0,0\n0,5\n\nSAVEAS\n2018\n" +
        minicad::QuoteName(Library(L"Valve")) + L"\nCLOSE\n");
  }
  ~InsertionTest() override {
    acedEditor->removeReactor(&reactor_);
    fw::SetUiDriver(nullptr);
    Action() = nullptr;
    layermap::SchemeMap().Clear();
  }

  std::wstring Library(const std::wstring& name) const {
    return fw::PathJoin(directory_.path, name + L".dwg");
  }
  library::Block& AddBlock(const std::wstring& name) {
    if (!fw::PathExists(Library(name))) fw::CopyFile(Library(L"Valve"), Library(name), true);
    library::Block& block = directory_.AppendBlock();
    block.name = name;
    return block;
  }

  // Runs `action` inside a command, as QUORVA runs the browser's action, then `typed`.
  void Run(std::function<void()> action, const std::wstring& typed) {
    Action() = std::move(action);
    host_.RunScriptText(L"QVTEST\n" + typed);
  }
  void Insert(const library::Block& block, ExistingBlockMode mode, const std::wstring& typed) {
    Run([&, mode] { insert::InsertBlock(directory_, block, mode, true, state_, asked_); }, typed);
  }

  testsupport::TempFolder folder_;
  fw::HeadlessUiDriver driver_;
  minicad::Host host_;
  insert::InsertionState state_;
  insert::CmdLineReactor reactor_{state_};
  std::vector<std::wstring> asked_;
  library::Directory directory_;
};

TEST_F(InsertionTest, ScaleAndRotationComeFromTheDirectoryOrTheUser) {
  struct Case {
    const char* name;
    int scaleMode;
    int rotationMode;
    double angle;
    const wchar_t* typed;
    std::wstring placed;
    std::wstring repeat;
  };
  const Case cases[] = {
      {"one to one, 90 degrees", 0, 0, 90, L"5,5\n", L"at 5,5,0 | scale 1,1,1 | rotation 90",
       L"._-insert Valve\n _scale 1 _rotate 90.000000\n"},
      {"the drawing's DIMSCALE, 45 degrees", 1, 0, 45, L"1,1\n",
       L"at 1,1,0 | scale 4,4,4 | rotation 45",
       L"._-insert Valve\n _scale 4.000000 _rotate 45.000000\n"},
      {"asked for both", 2, 1, 0, L"2,2\n3\n\n30\n", L"at 2,2,0 | scale 3,3,3 | rotation 30",
       L"._-insert Valve\n\n"},
      {"a user scale, rotation asked", 3, 1, 0, L"0,0\n15\n",
       L"at 0,0,0 | scale 2.5,2.5,2.5 | rotation 15", L"._-insert Valve\n _scale 2.500000\n"},
  };
  const library::Block& valve = AddBlock(L"Valve");
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    host_.RunScriptText(L"NEW\n");
    SetReal(L"DIMSCALE", 4);
    SetReal(L"USERR4", 2.5);
    directory_.scaleMode = test.scaleMode;
    directory_.rotationMode = test.rotationMode;
    directory_.rotationAngle = test.angle;

    Insert(valve, ExistingBlockMode::kAsk, test.typed);

    EXPECT_EQ(Drawing(), (Lines{Reference(L"Valve", test.placed), kValveLine, kValveLine}));
    EXPECT_EQ(state_.repeatCommand, test.repeat);
    EXPECT_FALSE(state_.reactorArmed);
  }
  EXPECT_TRUE(driver_.Messages().empty());
}

// The drawing already defines Valve as one circle; the library's Valve is two lines.
TEST_F(InsertionTest, AnExistingDefinitionIsUpdatedAsTheOptionAndTheUserSay) {
  struct Case {
    const char* name;
    ExistingBlockMode mode;
    std::vector<fw::UiStep> answers;
    int insertions;
    bool forgetAskedNames;  // as a drawing load does between the insertions
    std::size_t questions;
    bool updated;
  };
  const Case cases[] = {
      {"always update", ExistingBlockMode::kAlwaysUpdate, {}, 1, false, 0, true},
      {"ask, answered no", ExistingBlockMode::kAsk, fw::ParseUiScript("answer message NO").Value(),
       1, false, 1, false},
      {"ask every time", ExistingBlockMode::kAsk, {}, 2, false, 2, true},
      {"ask once per block and drawing", ExistingBlockMode::kAskOncePerDrawing,
       fw::ParseUiScript("answer message NO").Value(), 2, false, 1, true},
      {"asked again after a drawing load",
       ExistingBlockMode::kAskOncePerDrawing,
       {},
       2,
       true,
       2,
       true},
  };
  const library::Block& valve = AddBlock(L"Valve");
  directory_.scaleMode = 0;
  directory_.rotationAngle = 0;
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    asked_.clear();
    (void)driver_.TakeMessages();
    driver_.AddSteps(test.answers);
    host_.RunScriptText(L"NEW\nCIRCLE\n0,0\n1\n-BLOCK\nValve\n0,0\nALL\n\n");
    for (int i = 0; i < test.insertions; ++i) {
      if (test.forgetAskedNames) asked_.clear();
      Insert(valve, test.mode, L"0,0\n");
    }
    const auto messages = driver_.TakeMessages();
    ASSERT_EQ(messages.size(), test.questions);
    for (const auto& message : messages) {
      EXPECT_EQ(message.text, L"Valve already exists, do you wish to overwrite?");
      EXPECT_EQ(message.caption, L"Quorvane");
    }
    const Lines drawing = Drawing();
    ASSERT_EQ(drawing.size(), static_cast<std::size_t>(test.insertions) + (test.updated ? 2 : 1));
    EXPECT_EQ(drawing.back(), test.updated
                                  ? std::wstring(kValveLine)
                                  : L"Valve | CIRCLE | layer 0 | color 256 | linetype ByLayer");
  }
}

TEST_F(InsertionTest, TheReactorExplodesRepeatsReopensAndCleansUp) {
  struct Case {
    const char* name;
    bool explode;
    bool multiple;
    bool repeat;
    const wchar_t* typed;
    Lines drawing;
    std::size_t reopened;
  };
  const std::wstring one = Reference(L"Valve", L"at 0,0,0 | scale 1,1,1 | rotation 0");
  const std::wstring two = Reference(L"Valve", L"at 9,9,0 | scale 1,1,1 | rotation 0");
  const std::wstring exploded = L"*Model_Space | LINE | layer PIPE | color 256 | linetype ByLayer";
  const Case cases[] = {
      {"plain", false, false, false, L"0,0\n", {one, kValveLine, kValveLine}, 0},
      {"exploded", true, false, false, L"0,0\n", {exploded, exploded, kValveLine, kValveLine}, 0},
      {"again and again until cancelled",
       false,
       true,
       false,
       L"0,0\n9,9\n^C\n",
       {one, two, kValveLine, kValveLine},
       0},
      {"exploded again and again",
       true,
       true,
       false,
       L"0,0\n9,9\n^C\n",
       {exploded, exploded, exploded, exploded, kValveLine, kValveLine},
       0},
      {"the browser back once", false, false, true, L"0,0\n", {one, kValveLine, kValveLine}, 1},
      {"a cancelled first insertion removes the new definition",
       false,
       false,
       false,
       L"^C\n",
       {},
       0},
      {"a cancelled repetition keeps it",
       false,
       true,
       false,
       L"0,0\n^C\n",
       {one, kValveLine, kValveLine},
       0},
      {"the browser back after a cancel", false, false, true, L"^C\n", {}, 1},
  };
  const library::Block& valve = AddBlock(L"Valve");
  directory_.scaleMode = 0;
  directory_.rotationAngle = 0;
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    host_.RunScriptText(L"NEW\n");
    (void)host_.TakeConsoleText();
    directory_.explode = test.explode;
    directory_.multipleInsert = test.multiple;
    directory_.repeat = test.repeat;

    Insert(valve, ExistingBlockMode::kAsk, test.typed);

    EXPECT_EQ(Drawing(), test.drawing);
    EXPECT_EQ(Count(host_.TakeConsoleText(), L"Unknown command \"QUORVA\""), test.reopened);
    EXPECT_FALSE(state_.reactorArmed || state_.explodePending || state_.multipleInsertActive ||
                 state_.reopenDialogPending);
  }
}

TEST_F(InsertionTest, TheExplodeTextFollowsTheHostProgram) {
  EXPECT_STREQ(insert::CmdLineReactor::ExplodeCommand(L"aclt.exe"), L"._explode _l\n\n");
  EXPECT_STREQ(insert::CmdLineReactor::ExplodeCommand(L"acad.exe"), L"._explode (entlast)\n\n");
  fw::SetProgramFileName(L"/opt/host/ACLT.EXE");
  EXPECT_EQ(insert::HostProgramName(), L"aclt.exe");
  fw::SetProgramFileName(L"");
}

TEST_F(InsertionTest, ABlockNameSchemePlacesTheReferenceOnItsLayerAndSetsTheOldOneBack) {
  auto scheme = std::make_unique<layermap::MapScheme>();
  scheme->SetKind(layermap::SchemeKind::kBlock);
  scheme->SetMap(L"VALVE", L"P-VALVES");
  layermap::SchemeMap().Add(L"By name", std::move(scheme));
  directory_.currentScheme = L"By name";
  directory_.scaleMode = 0;
  directory_.rotationAngle = 0;
  host_.RunScriptText(L"NEW\n");

  Insert(AddBlock(L"Valve"), ExistingBlockMode::kAsk, L"0,0\nLINE\n0,0\n1,1\n\n");

  const Lines drawing = Drawing();
  ASSERT_EQ(drawing.size(), 4u);
  EXPECT_EQ(drawing[0], Reference(L"Valve", L"at 0,0,0 | scale 1,1,1 | rotation 0", L"P-VALVES"));
  EXPECT_EQ(drawing[1], L"*Model_Space | LINE | layer 0 | color 256 | linetype ByLayer");
}

TEST_F(InsertionTest, XrefsAttachOverlayOrSayTheyCannot) {
  struct Case {
    const char* name;
    bool overlay;
    const wchar_t* before;
    std::wstring placed;
    std::vector<std::wstring> messages;
  };
  const Case cases[] = {
      {"attached", false, L"", L"at 3,3,0 | scale 1,1,1 | rotation 90", {}},
      {"overlaid", true, L"", L"at 3,3,0 | scale 1,1,1 | rotation 90", {}},
      {"a block of the same name",
       false,
       L"CIRCLE\n0,0\n1\n-BLOCK\nValve\n0,0\nALL\n\n",
       L"",
       {L"This file cannot be xrefed"}},
  };
  const library::Block& valve = AddBlock(L"Valve");
  directory_.scaleMode = 0;
  directory_.rotationAngle = 90;
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    host_.RunScriptText(std::wstring(L"NEW\n") + test.before);
    Run([&] { insert::AttachBlock(directory_, valve, test.overlay, state_); }, L"3,3\n");

    const Lines drawing = Drawing();
    std::vector<std::wstring> messages;
    for (const auto& message : driver_.TakeMessages()) messages.push_back(message.text);
    EXPECT_EQ(messages, test.messages);
    EXPECT_FALSE(state_.reactorArmed);
    if (test.placed.empty()) continue;
    ASSERT_FALSE(drawing.empty());
    EXPECT_EQ(drawing[0], Reference(L"Valve", test.placed));
    EXPECT_EQ(state_.repeatCommand, std::wstring(test.overlay ? L"._-xref _o " : L"._-xref _a ") +
                                        L"\"" + Library(L"Valve") +
                                        L"\"\n _scale 1 _rotate 90.000000\n");
  }
}

// Names that hold a blank are typed in quotes; names that would end the answer early are
// refused, with the file named, before anything is defined or sent.
TEST_F(InsertionTest, NamesReachTheCommandLineWholeOrNotAtAll) {
  struct Case {
    const wchar_t* name;
    bool refused;
  };
  const Case cases[] = {
      {L"my block", false},
      {L"a\"b", true},
      {L"x\n(command \"erase\" \"all\" \"\")", true},
      {L"tab\there", true},
  };
  struct Action {
    const char* name;
    std::function<void(const library::Block&)> run;
    const wchar_t* refusal;
  };
  const Action actions[] = {
      {"insert",
       [&](const library::Block& b) {
         insert::InsertBlock(directory_, b, ExistingBlockMode::kAlwaysUpdate, true, state_, asked_);
       },
       L"was not inserted"},
      {"attach",
       [&](const library::Block& b) { insert::AttachBlock(directory_, b, false, state_); },
       L"was not attached"},
  };
  const std::wstring line = L"*Model_Space | LINE | layer 0 | color 256 | linetype ByLayer";
  directory_.scaleMode = 0;
  directory_.rotationAngle = 0;
  for (const Case& test : cases) {
    const library::Block& block = AddBlock(test.name);
    for (const Action& action : actions) {
      SCOPED_TRACE(fw::ToUtf8(test.name) + " " + action.name);
      host_.RunScriptText(L"NEW\nLINE\n0,0\n1,1\n\n");
      state_.repeatCommand.clear();

      Run([&] { action.run(block); }, L"4,4\n");

      const Lines drawing = Drawing();
      const auto messages = driver_.TakeMessages();
      EXPECT_FALSE(state_.reactorArmed);
      if (test.refused) {
        EXPECT_EQ(drawing, Lines{line});
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].text.find(action.refusal), std::wstring::npos);
        EXPECT_NE(messages[0].text.find(L"lib dir/"), std::wstring::npos) << messages[0].text;
        EXPECT_EQ(messages[0].text.find(L'\n'), std::wstring::npos);
        EXPECT_TRUE(state_.repeatCommand.empty());
      } else {
        EXPECT_TRUE(messages.empty());
        ASSERT_EQ(drawing.size(), 4u);
        EXPECT_EQ(drawing[0], line);
        EXPECT_EQ(drawing[1], Reference(test.name, L"at 4,4,0 | scale 1,1,1 | rotation 0"));
        // Typed in quotes, whole.
        EXPECT_NE(state_.repeatCommand.find(L" \""), std::wstring::npos);
        EXPECT_NE(state_.repeatCommand.find(L"my block"), std::wstring::npos);
      }
    }
  }
}

}  // namespace
