// The module's shell in a host session: the module code linked into this program is attached to
// a fresh host as if the host had loaded it, and the run-log lines are captured.
#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "arx/arxHeaders.h"
#include "fw/Strings.h"
#include "fw/System.h"
#include "fw/Trace.h"
#include "minicad/Host.h"
#include "module/ButtonImage.h"
#include "module/Exports.h"
#include "module/EntryPoint.h"
#include "module/ModuleCommands.h"
#include "module/ModuleState.h"
#include "settings/Settings.h"
#include "support/TempFolder.h"

namespace {

using testsupport::TempFolder;
using testsupport::WriteFile;
using Lines = std::vector<std::wstring>;

AcRx::AppRetCode EntryPoint(AcRx::AppMsgCode msg, void* appId) {
  return module::HandleAppMessage(msg, appId);
}

// Puts the process-wide module state back as it is when the module is mapped.
void ResetModuleState() {
  module::ModuleState& state = module::TheModule();
  state.moduleInstance = nullptr;
  state.moduleDirectory.clear();
  state.firstDrawing = true;
  state.closedAll = false;
  state.setupDoneEvent.ResetEvent();
  state.pendingOpenPath.clear();
  state.askedBlockNames.clear();
  state.pickerStartFolder.clear();
  state.insertion = {};
  settings::ResetSettings();
}

// The settings file the module finds on the support path, so that loading and saving the
// settings stay inside the test's folder.
minicad::HostOptions OptionsWithSupportFolder(const TempFolder& folder,
                                             bool startWithNewDrawing) {
  WriteFile(folder / L"qv35.ini", "");
  minicad::HostOptions options;
  options.startWithNewDrawing = startWithNewDrawing;
  options.supportFolders = {folder.Path()};
  options.programFolder = folder.Path();
  return options;
}

class ModuleSession : public ::testing::Test {
 protected:
  explicit ModuleSession(bool startWithNewDrawing = true)
      : host_(OptionsWithSupportFolder(support_, startWithNewDrawing)) {}
  void SetUp() override { ResetModuleState(); }
  void TearDown() override { fw::SetTraceSink(nullptr); }

  // Attaches the module to the host; the lines it logs from then on are captured.
  void Attach() {
    ASSERT_TRUE(host_.AttachModule(L"qrva22-64.arx", EntryPoint).Ok());
    CaptureLog();
  }

  void CaptureLog() {
    fw::SetTraceSink([this](std::wstring_view line) {
      std::lock_guard<std::mutex> guard(logLock_);
      log_.emplace_back(line);
    });
  }

  Lines TakeLog() {
    std::lock_guard<std::mutex> guard(logLock_);
    return std::exchange(log_, {});
  }

  const minicad::CommandGroupInfo* FindGroup(const std::wstring& name) {
    groups_ = host_.CommandGroups();
    for (const auto& group : groups_) {
      if (group.name == name) return &group;
    }
    return nullptr;
  }

  void RunOpenCommand(const std::wstring& pendingPath) {
    module::TheModule().pendingOpenPath = pendingPath;
    ASSERT_TRUE(host_.RunLine(L"TRVXQVOPEN"));
  }

  TempFolder support_;
  minicad::Host host_;
  std::vector<minicad::CommandGroupInfo> groups_;
  std::mutex logLock_;
  Lines log_;
};

TEST_F(ModuleSession, RegistersBothCommandsInItsGroupAndPrintsTheBanner) {
  Attach();
  const minicad::CommandGroupInfo* group = FindGroup(L"TRVXQUORVA");
  ASSERT_NE(group, nullptr);
  ASSERT_EQ(group->commands.size(), 2u);
  EXPECT_EQ(group->commands[0].globalName, L"QUORVA");
  EXPECT_EQ(group->commands[0].localName, L"QUORVA");
  EXPECT_EQ(group->commands[0].flags, 0);
  EXPECT_EQ(group->commands[1].globalName, L"TRVXQVOPEN");
  EXPECT_EQ(group->commands[1].flags, 0x00200000);

  std::wstring console = host_.ConsoleText();
  EXPECT_NE(console.find(L"3.9.10 Loaded! ("), std::wstring::npos) << fw::ToUtf8(console);
  EXPECT_NE(console.find(L")\nUse the command 'quorva' to launch Quorvane.\n"), std::wstring::npos);
  EXPECT_TRUE(host_.LoadedModules().at(0).mdiAware);
}

TEST_F(ModuleSession, FirstDrawingLoadsSettingsOnceAndLaterOnesOnlyReset) {
  Attach();
  module::ModuleState& state = module::TheModule();
  EXPECT_FALSE(state.firstDrawing);
  EXPECT_TRUE(state.setupDoneEvent.Lock(0));
  EXPECT_EQ(state.pickerStartFolder, fw::GetCurrentFolder());
  EXPECT_EQ(host_.EditorReactorCount(), 1u);

  state.askedBlockNames = {L"VALVE", L"PUMP"};
  ASSERT_TRUE(host_.RunLine(L"NEW"));
  EXPECT_EQ(TakeLog(), Lines({L"ResetDrawing\n"}));
  EXPECT_TRUE(state.askedBlockNames.empty());
  EXPECT_EQ(host_.EditorReactorCount(), 1u);
}

// A session that starts without a drawing, so the first drawing load comes after the run log is
// captured.
class ModuleSessionWithoutDrawings : public ModuleSession {
 protected:
  ModuleSessionWithoutDrawings() : ModuleSession(false) {}
};

TEST_F(ModuleSessionWithoutDrawings, FirstDrawingLogsEveryStepOfLoadingTheSettings) {
  Attach();
  ASSERT_TRUE(TakeLog().empty());
  host_.NewDocument();
  // The module logs "LoadIni" before calling LoadIni, which logs it again as its first step.
  EXPECT_EQ(TakeLog(),
            Lines({L"LoadIni\n", L"LoadIni\n",
                   L"Ini located at " + (support_ / L"qv35.ini") + L"\n", L"Load the Inifile\n",
                   L"Cachefile location: " + (support_ / L"qv35.cache") + L"\n",
                   L"Load the MapSchemes\n", L"Open the cachefile\n", L"Load Directories\n",
                   L"LoadIni return\n", L"Setup\n", L"ResetDrawing\n"}));
}

TEST_F(ModuleSessionWithoutDrawings, ASettingsLoadThatFailsStillAttachesTheReactorAndSignalsSetup) {
  Attach();
  module::ModuleState& state = module::TheModule();
  state.firstDrawing = false;

  module::LoadSettingsAndSetup([] { throw std::runtime_error("the settings disk is gone"); });

  EXPECT_EQ(TakeLog(), Lines({L"LoadIni\n", L"LoadIni failed: the settings disk is gone\n",
                              L"Setup\n"}));
  EXPECT_EQ(host_.EditorReactorCount(), 1u);
  EXPECT_TRUE(state.setupDoneEvent.Lock(0));
}

TEST_F(ModuleSession, AsksForTheHostUiModuleOnlyWhenItIsNotLoaded) {
  Attach();
  auto requests = host_.LoadRequests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].fileName, L"acISMui.arx");
  EXPECT_FALSE(requests[0].printit);
  EXPECT_TRUE(requests[0].asCmd);
}

TEST_F(ModuleSession, MakesNoLoadRequestWhenTheHostUiModuleIsLoaded) {
  host_.MarkModuleLoaded(L"ACISMUI.ARX");
  Attach();
  EXPECT_TRUE(host_.LoadRequests().empty());
}

TEST_F(ModuleSession, QuitClosesOnceButRemovesTheGroupEveryTime) {
  Attach();
  host_.Quit();
  EXPECT_EQ(TakeLog(), Lines({L"CloseAll\n", L"removeGroup\n", L"Done\n"}));
  EXPECT_EQ(FindGroup(L"TRVXQUORVA"), nullptr);
  EXPECT_EQ(host_.EditorReactorCount(), 0u);

  host_.SendAppMessage(AcRx::kQuitMsg);
  EXPECT_EQ(TakeLog(), Lines({L"removeGroup\n", L"Done\n"}));
}

TEST_F(ModuleSession, EntryPointAnswersSuccessToEveryMessage) {
  Attach();
  for (auto msg : {AcRx::kUnloadAppMsg, AcRx::kInvkSubrMsg, AcRx::kSaveMsg, AcRx::kUnloadDwgMsg,
                   AcRx::kPreQuitMsg}) {
    EXPECT_EQ(module::HandleAppMessage(msg, nullptr), AcRx::kRetOK);
  }
  EXPECT_TRUE(TakeLog().empty());
}

TEST_F(ModuleSession, QuorvaShowsTheDialogAndClosesItOnce) {
  Attach();
  ASSERT_TRUE(host_.RunLine(L"QUORVA"));
  Lines log = TakeLog();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(Lines(log.begin(), log.begin() + 3),
            Lines({L"Construct dialog\n", L"DoModal\n", L"SetupDlg\n"}));
  EXPECT_EQ(std::count(log.begin(), log.end(), L"Closing\n"), 1);
}

TEST_F(ModuleSession, OpenCommandWithoutAPathDoesNothing) {
  Attach();
  size_t documents = host_.Documents().size();
  RunOpenCommand(L"");
  EXPECT_TRUE(TakeLog().empty());
  EXPECT_EQ(host_.Documents().size(), documents);
}

TEST_F(ModuleSession, OpenCommandActivatesADrawingOpenUnderAnotherCase) {
  TempFolder folder;
  WriteFile(folder / L"Valve.dwg", "drawing");
  ASSERT_TRUE(host_.OpenDocument(folder / L"Valve.dwg").Ok());
  AcApDocument* valve = host_.ActiveDocument();
  Attach();
  host_.NewDocument();
  ASSERT_NE(host_.ActiveDocument(), valve);
  TakeLog();

  RunOpenCommand(folder / L"VALVE.DWG");

  EXPECT_EQ(host_.ActiveDocument(), valve);
  EXPECT_EQ(host_.Documents().size(), 3u);
  EXPECT_EQ(TakeLog(), Lines({L"QVOpen, iterate documents\n", L"activateDocument\n"}));
  EXPECT_EQ(module::TheModule().pendingOpenPath, folder / L"VALVE.DWG");
}

TEST_F(ModuleSession, OpenCommandOpensADrawingNotYetOpen) {
  TempFolder folder;
  WriteFile(folder / L"Pump.dwg", "drawing");
  Attach();

  RunOpenCommand(folder / L"Pump.dwg");

  ASSERT_EQ(host_.Documents().size(), 2u);
  EXPECT_EQ(std::wstring(host_.ActiveDocument()->fileName()), folder / L"Pump.dwg");
  // Opening the drawing tells the module of it before the open call returns.
  EXPECT_EQ(TakeLog(), Lines({L"QVOpen, iterate documents\n", L"DoOpen\n", L"ResetDrawing\n",
                              L"DoOpen done\n", L"QVOpen done\n"}));
  EXPECT_TRUE(module::TheModule().pendingOpenPath.empty());
  EXPECT_EQ(host_.ResourceHandleDepth(), 0);
}

// The ribbon beside this program takes the button at start-up and again at each further call
// of the export, with the module's own picture found through its resource.
TEST_F(ModuleSession, HandsTheButtonToTheRibbonAtEachCall) {
  Attach();
  EXPECT_EQ(TarveshSetupToolbar(), 1);
  EXPECT_EQ(TakeLog(), Lines({L"SetupToolbar\n",
                              L"TarveshRibbon.API.AddButton \"quorva\\n\" \"Quorvane\" " +
                                  std::to_wstring(module::ButtonImagePng().size()) +
                                  L" bytes\n"}));
  std::vector<minicad::CommandButton> buttons = host_.Buttons().List();
  ASSERT_EQ(buttons.size(), 2u);
  const std::span<const std::uint8_t> picture = module::ButtonImagePng();
  for (const minicad::CommandButton& button : buttons) {
    EXPECT_EQ(button.bar, minicad::ButtonBar::kRibbon);
    EXPECT_EQ(button.commandText, L"quorva\n");
    EXPECT_EQ(button.title, L"Quorvane");
    EXPECT_TRUE(std::equal(button.png.begin(), button.png.end(), picture.begin(), picture.end()));
  }
}

}  // namespace
