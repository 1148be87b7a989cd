// Loading modules, the application messages in the host's order, and the dynamic linker's
// bookkeeping. The modules are small shared objects built with these tests.
#include <gtest/gtest.h>

#include <string>

#include "HostTestSupport.h"
#include "fw/FileName.h"
#include "fw/NativePath.h"
#include "fw/Strings.h"
#include "minicad/Host.h"

namespace minicadtest {
namespace {

std::wstring TestModulePath() { return fw::FromNativePath(MINICAD_TEST_MODULE); }
std::wstring FailingModulePath() { return fw::FromNativePath(MINICAD_FAILING_MODULE); }
std::wstring NoEntryModulePath() { return fw::FromNativePath(MINICAD_NO_ENTRY_MODULE); }

bool Contains(const std::wstring& text, const std::wstring& part) {
  return text.find(part) != std::wstring::npos;
}

class DynamicLinkerTest : public HostTest {};

TEST_F(DynamicLinkerTest, MessagesFollowTheHostsOrderFromLoadToQuit) {
  minicad::Host host;
  host.NewDocument();

  minicad::Status loaded = host.LoadModule(TestModulePath());
  ASSERT_TRUE(loaded.Ok()) << fw::ToUtf8(loaded.Message());
  EXPECT_EQ(host.TakeConsoleText(),
            L"[test] init\n[test] load Drawing1\n[test] load Drawing2\n");

  std::wstring drawing = MakeDrawing(L"opened.dwg");
  host.RunScriptText(L"NEW\nOPEN " + drawing + L"\nCLOSE\n");
  EXPECT_EQ(host.TakeConsoleText(), L"Command: NEW\n[test] load Drawing3\n"
                                    L"Command: OPEN\nEnter name of drawing to open: " +
                                        drawing + L"\n[test] load opened\n"
                                    L"Command: CLOSE\n[test] unload opened\n");

  host.Quit();
  EXPECT_EQ(host.TakeConsoleText(), L"[test] quit\n[test] unload Drawing1\n"
                                    L"[test] unload Drawing2\n[test] unload Drawing3\n"
                                    L"[test] unload app\n");
  host.Quit();
  EXPECT_EQ(host.TakeConsoleText(), L"");
  host.SendAppMessage(AcRx::kQuitMsg);
  EXPECT_EQ(host.TakeConsoleText(), L"[test] quit\n");
}

TEST_F(DynamicLinkerTest, ModuleCommandsRunInTheirContextsUntilTheModuleRemovesThem) {
  minicad::Host host;
  ASSERT_TRUE(host.LoadModule(TestModulePath()).Ok());
  host.TakeConsoleText();
  ASSERT_EQ(host.CommandGroups().size(), 1u);
  EXPECT_EQ(host.CommandGroups()[0].name, L"MCTEST");

  host.RunScriptText(L"mchello\nMCSESSION\n");

  EXPECT_EQ(host.TakeConsoleText(), L"Command: mchello\n"
                                    L"[test] hello in Drawing1, document context\n"
                                    L"Command: MCSESSION\n"
                                    L"[test] session in Drawing1, application context\n");
  host.Quit();
  EXPECT_TRUE(host.CommandGroups().empty());
}

TEST_F(DynamicLinkerTest, ALoadedModuleIsKnownByItsFileNameInAnyCase) {
  minicad::Host host;
  std::wstring fileName = fw::CFileName(TestModulePath()).FileName();
  EXPECT_FALSE(acrxDynamicLinker->isModuleLoaded(fileName.c_str()));

  ASSERT_TRUE(host.LoadModule(TestModulePath()).Ok());

  EXPECT_TRUE(acrxDynamicLinker->isModuleLoaded(fileName.c_str()));
  EXPECT_TRUE(acrxDynamicLinker->isModuleLoaded(fw::ToUpper(fileName).c_str()));
  EXPECT_TRUE(acrxDynamicLinker->isModuleLoaded(TestModulePath().c_str()));
  EXPECT_FALSE(acrxDynamicLinker->isModuleLoaded(L"other.arx"));
  EXPECT_FALSE(acrxDynamicLinker->isModuleLoaded(nullptr));
  ASSERT_EQ(host.LoadedModules().size(), 1u);
  EXPECT_EQ(host.LoadedModules()[0].path, TestModulePath());
  EXPECT_TRUE(host.LoadedModules()[0].mdiAware);
  EXPECT_FALSE(host.LoadedModules()[0].unlocked);
}

TEST_F(DynamicLinkerTest, LoadingAModuleAgainLeavesItAsItIs) {
  minicad::Host host;
  ASSERT_TRUE(host.LoadModule(TestModulePath()).Ok());

  EXPECT_TRUE(host.LoadModule(TestModulePath()).Ok());
  EXPECT_TRUE(acrxDynamicLinker->loadModule(TestModulePath().c_str(), false));

  EXPECT_EQ(host.ConsoleText(), L"[test] init\n[test] load Drawing1\n");
  EXPECT_EQ(host.LoadedModules().size(), 1u);
}

TEST_F(DynamicLinkerTest, AFileTheSystemLoaderRejectsIsReportedWithItsReason) {
  minicad::Host host;
  std::wstring notAModule = folder_ / L"broken.arx";
  testsupport::WriteFile(notAModule, "this is text, not a shared object");
  std::wstring missing = folder_ / L"missing.arx";

  minicad::Status broken = host.LoadModule(notAModule);
  minicad::Status absent = host.LoadModule(missing);

  EXPECT_FALSE(broken.Ok());
  std::wstring prefix = L"Cannot load module \"" + notAModule + L"\": ";
  ASSERT_TRUE(Contains(broken.Message(), prefix)) << fw::ToUtf8(broken.Message());
  EXPECT_GT(broken.Message().size(), prefix.size());
  EXPECT_FALSE(absent.Ok());
  EXPECT_TRUE(Contains(absent.Message(), L"Cannot load module \"" + missing + L"\": "));
  EXPECT_TRUE(Contains(absent.Message(), L"No such file")) << fw::ToUtf8(absent.Message());
  EXPECT_TRUE(host.LoadedModules().empty());
  EXPECT_EQ(host.ConsoleText(), L"");
}

TEST_F(DynamicLinkerTest, ASharedObjectWithoutEntryPointIsNoModule) {
  minicad::Host host;

  minicad::Status loaded = host.LoadModule(NoEntryModulePath());

  EXPECT_FALSE(loaded.Ok());
  EXPECT_TRUE(Contains(loaded.Message(), L"Cannot load module \"" + NoEntryModulePath() +
                                             L"\": it exports no acrxEntryPoint"))
      << fw::ToUtf8(loaded.Message());
}

TEST_F(DynamicLinkerTest, AModuleWhoseInitialisationFailsGetsNoFurtherMessages) {
  minicad::Host host;

  minicad::Status loaded = host.LoadModule(FailingModulePath());
  host.RunScriptText(L"NEW\n");
  host.Quit();

  EXPECT_FALSE(loaded.Ok());
  EXPECT_TRUE(Contains(loaded.Message(), L"its initialisation message failed"));
  EXPECT_EQ(host.ConsoleText(), L"[failing] init\nCommand: NEW\n");
  EXPECT_FALSE(acrxDynamicLinker->isModuleLoaded(
      fw::CFileName(FailingModulePath()).FileName().c_str()));
}

TEST_F(DynamicLinkerTest, BareNamesAreFoundInTheProgramFolderThenTheSupportFolders) {
  minicad::HostOptions options;
  options.programFolder = folder_.Path();
  options.supportFolders = {folder_ / L"empty", fw::FolderOf(TestModulePath())};
  minicad::Host host(options);
  std::wstring fileName = fw::CFileName(TestModulePath()).FileName();

  EXPECT_FALSE(acrxDynamicLinker->loadModule(L"nowhere.arx", true));
  EXPECT_TRUE(acrxDynamicLinker->loadModule(fw::ToUpper(fileName).c_str(), true, true));

  EXPECT_EQ(host.ConsoleText(),
            L"Cannot find module \"nowhere.arx\" in the host's module folders.\n"
            L"[test] init\n[test] load Drawing1\nModule \"" + TestModulePath() +
                L"\" loaded.\n");
  ASSERT_EQ(host.LoadRequests().size(), 2u);
  EXPECT_EQ(host.LoadRequests()[1].fileName, fw::ToUpper(fileName));
  EXPECT_TRUE(host.LoadRequests()[1].printit);
  EXPECT_TRUE(host.LoadRequests()[1].asCmd);
}

TEST_F(DynamicLinkerTest, TheHostsOwnModulesAreOnlyMarkedLoaded) {
  minicad::Host host;
  EXPECT_FALSE(acrxDynamicLinker->isModuleLoaded(L"acISMui.arx"));

  EXPECT_TRUE(acrxDynamicLinker->loadModule(L"acISMui.arx", false, true));

  EXPECT_TRUE(acrxDynamicLinker->isModuleLoaded(L"ACISMUI.ARX"));
  EXPECT_TRUE(host.LoadedModules().empty());
  ASSERT_EQ(host.LoadRequests().size(), 1u);
  EXPECT_EQ(host.LoadRequests()[0].fileName, L"acISMui.arx");
  EXPECT_FALSE(host.LoadRequests()[0].printit);
  EXPECT_TRUE(host.LoadRequests()[0].asCmd);
  EXPECT_EQ(host.ConsoleText(), L"");
}

TEST_F(DynamicLinkerTest, AModuleMarkedLoadedCountsAsLoadedByItsFileName) {
  minicad::Host host;

  host.MarkModuleLoaded(L"/somewhere/tarveshtoolbar-22-64.arx");

  EXPECT_TRUE(acrxDynamicLinker->isModuleLoaded(L"TarveshToolbar-22-64.arx"));
  EXPECT_TRUE(host.LoadRequests().empty());
}

// Module code that is part of this program: records each message and the drawing current then.
AcRx::AppRetCode RecordMessages(AcRx::AppMsgCode message, void* appId) {
  AcApDocument* current = acDocManager->curDocument();
  Events().push_back(L"message " + std::to_wstring(static_cast<int>(message)) + L" in " +
                     (current == nullptr ? L"(none)" : current->docTitle()));
  if (message == AcRx::kInitAppMsg) acrxDynamicLinker->unlockApplication(appId);
  return AcRx::kRetOK;
}

TEST_F(DynamicLinkerTest, ModuleCodeOfTheProgramCanBeAttachedAsAModule) {
  minicad::Host host;

  ASSERT_TRUE(host.AttachModule(L"linked.arx", RecordMessages).Ok());
  EXPECT_FALSE(host.AttachModule(L"LINKED.arx", RecordMessages).Ok());
  EXPECT_FALSE(host.AttachModule(L"other.arx", nullptr).Ok());
  host.Quit();

  EXPECT_TRUE(acrxDynamicLinker->isModuleLoaded(L"Linked.ARX"));
  ASSERT_EQ(host.LoadedModules().size(), 1u);
  EXPECT_TRUE(host.LoadedModules()[0].unlocked);
  EXPECT_EQ(Events(), (std::vector<std::wstring>{L"message 1 in Drawing1",
                                                 L"message 3 in Drawing1",
                                                 L"message 8 in Drawing1",
                                                 L"message 4 in Drawing1",
                                                 L"message 2 in (none)"}));
}

}  // namespace
}  // namespace minicadtest
