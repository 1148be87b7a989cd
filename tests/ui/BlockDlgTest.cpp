// The main dialog and its loader in the test's process: what the loader probes and lists across
// interruptions, showings and reloads; the closing procedure; the administrator lock.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "BrowserFixture.h"
#include "arx/arxHeaders.h"
#include "fw/FileStatus.h"
#include "fw/NativePath.h"
#include "fw/Strings.h"
#include "library/Library.h"
#include "library/Loader.h"
#include "settings/Settings.h"
#include "support/TempFolder.h"
#include "ui/BlockDlg.h"
#include "ui/FormatLevel.h"

namespace browsertest {
namespace {

using Names = std::vector<std::wstring>;

// The count line and the item lines of a list dump.
std::vector<std::string> Dumped(const std::vector<std::string>& transcript, const std::string& id) {
  std::vector<std::string> lines;
  for (const std::string& line : transcript) {
    if (line.starts_with("ui: " + id + " ")) lines.push_back(line);
  }
  return lines;
}

class Browser : public BrowserFixture {};

TEST_F(Browser, AnInterruptedLoadResumesLaterWithoutProbingAgain) {
  std::wstring a = MakeFolder(L"a", {L"a1", L"a2", L"a3", L"a4", L"a5", L"a6"});
  std::wstring b = MakeFolder(L"b", {L"b1", L"b2"});
  WriteSettings(SettingsFor({{a, L"A"}, {b, L"B"}}));
  LoadSettings();
  onProbe_ = [&](const std::wstring& name) {
    // The user selects B while the loader probes A's third drawing.
    if (name == L"a3") library::QueueDirectory(*library::TheLibrary().FindByPath(b));
  };
  RunDialog("wait-idle\n");
  EXPECT_EQ(Probed(), (Names{L"a1", L"a2", L"a3", L"b1", L"b2", L"a4", L"a5", L"a6"}));
}

// Leaving a directory while its drawings are probed does not wait for its previews to be
// written: the loader writes its image cache once it has finished it in the background.
TEST_F(Browser, ADirectoryLeftWhileItIsProbedGetsItsImageCacheFromTheLoader) {
  std::wstring a = MakeFolder(L"a", {L"a1", L"a2", L"a3"});
  std::wstring b = MakeFolder(L"b", {L"b1"});
  WriteSettings(SettingsFor({{a, L"A"}, {b, L"B"}}));
  LoadSettings();
  library::Directory* left = library::TheLibrary().FindByPath(a);
  ASSERT_NE(left, nullptr);
  onProbe_ = [&](const std::wstring& name) {
    if (name != L"a2") return;
    // The user selects B while A's second drawing is probed: the selection reaches the
    // dialog's thread as a click's would, and the probe goes on once B is current.
    ui::MyList2& rows = ui::OpenBlockDlg()->Directories();
    rows.Select(rows.RowOf(*library::TheLibrary().FindByPath(b)));
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (library::TheLibrary().Current() == left && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  };
  RunDialog("wait-idle\n");
  EXPECT_EQ(Probed(), (Names{L"a1", L"a2", L"b1", L"a3"}));
  EXPECT_FALSE(left->imagesDirty);
  EXPECT_TRUE(fw::PathExists(left->cacheFile)) << fw::ToUtf8(left->cacheFile);
}

// Leaving A for B, then closing: the previews of a directory not shown stay in memory unless
// OnlyCacheCurrent lets them go at the switch or DelCacheMemoryOnClose lets all go at closing.
TEST_F(Browser, PreviewsLeaveMemoryWhenTheOptionsSaySo) {
  struct Case {
    const char* option;
    bool aInMemory;
    bool bInMemory;
  };
  const Case cases[] = {{"", true, true},
                        {"OnlyCacheCurrent=1", false, true},
                        {"DelCacheMemoryOnClose=1", false, false}};
  for (const Case& test : cases) {
    SCOPED_TRACE(test.option);
    library::EmptyLibrary();
    settings::ResetSettings();
    fw::DeleteFile(folder_ / L"support/qv35.cache");
    std::wstring tag = std::to_wstring(&test - cases);
    std::wstring a = MakeFolder(L"memory-a" + tag, {L"a1"});
    std::wstring b = MakeFolder(L"memory-b" + tag, {L"b1"});
    WriteSettings("[Quorva Options]\n" + std::string(test.option) + "\n" +
                  SettingsFor({{a, L"A"}, {b, L"B"}}));
    LoadSettings();
    RunDialog("wait-idle\n");
    // A new session reads both image caches with the library.
    settings::SaveIni(true);
    library::EmptyLibrary();
    settings::ResetSettings();
    LoadSettings();
    RunDialog("wait-idle\nchoose 232 \"B\"\nwait-idle\n");
    library::Directory* left = library::TheLibrary().FindByPath(a);
    library::Directory* shown = library::TheLibrary().FindByPath(b);
    ASSERT_TRUE(left != nullptr && shown != nullptr);
    EXPECT_EQ(left->imagesLoaded, test.aInMemory);
    EXPECT_EQ(shown->imagesLoaded, test.bInMemory);
  }
}

TEST_F(Browser, ReadDirEveryTimeDecidesWhetherAReopenedDialogRescans) {
  struct Case {
    const char* option;
    std::size_t itemsSecondTime;  // a drawing added between the showings is listed or not
  };
  for (const Case& test : {Case{"0", 2}, Case{"1", 3}}) {
    SCOPED_TRACE(test.option);
    library::EmptyLibrary();
    settings::ResetSettings();
    std::wstring a = MakeFolder(fw::FromUtf8(std::string("every") + test.option), {L"x", L"y"});
    WriteSettings("[Quorva Options]\nReadDirEveryTime=" + std::string(test.option) + "\n" +
                  SettingsFor({{a, L"A"}}));
    LoadSettings();
    RunDialog("wait-idle\n");
    MakeFolder(fw::FromUtf8(std::string("every") + test.option), {L"z"});
    std::vector<std::string> second = RunDialog("wait-idle\ndump 253\n");
    EXPECT_EQ(Dumped(second, "253").size(), 1 + test.itemsSecondTime);
  }
}

TEST_F(Browser, ARenamedDrawingIsANewBlockAndAnUnchangedOneIsNotProbedAgain) {
  std::wstring a = MakeFolder(L"a", {L"keep", L"old"});
  WriteSettings("[Quorva Options]\nReadDirEveryTime=1\n" + SettingsFor({{a, L"A"}}));
  LoadSettings();
  RunDialog("wait-idle\n");
  ASSERT_TRUE(fw::MoveFile(a + L"/old.dwg", a + L"/new.dwg"));
  std::vector<std::string> second = RunDialog("wait-idle\ndump 253\n");
  EXPECT_EQ(Probed(), (Names{L"keep", L"old", L"new"}));
  std::vector<std::string> items = Dumped(second, "253");
  ASSERT_EQ(items.size(), 3u);
  EXPECT_TRUE(items[1].starts_with("ui: 253 #0 keep | 2018")) << items[1];
  EXPECT_TRUE(items[2].starts_with("ui: 253 #1 new | 2018")) << items[2];
}

TEST_F(Browser, AnUnchangedDrawingIsNotProbedAfterTheModuleIsReloaded) {
  std::wstring a = MakeFolder(L"a", {L"one", L"two"});
  WriteSettings(SettingsFor({{a, L"A"}}));
  LoadSettings();
  RunDialog("wait-idle\n");
  // Quit and start again: the main cache keeps what was probed.
  settings::SaveIni(true);
  library::EmptyLibrary();
  settings::ResetSettings();
  LoadSettings();
  std::vector<std::string> second = RunDialog("wait-idle\ndump 253\n");
  EXPECT_EQ(Probed(), (Names{L"one", L"two"}));
  EXPECT_EQ(Dumped(second, "253").size(), 3u);
}

TEST_F(Browser, ClosingTwiceRunsTheClosingProcedureOnce) {
  std::wstring a = MakeFolder(L"a", {L"one"});
  WriteSettings(SettingsFor({{a, L"A"}}));
  LoadSettings();
  // The closing work waits until the script has pressed Close again and shown the button, so
  // the dialog is still open for the second press.
  onLog_ = [&](const std::wstring& line) {
    if (line != L"Closing\n") return;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!Recorded("ui: 2 \"Close\" enabled visible") &&
           std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  };
  RunDialog("click 2\nclick 2\ndump 2\nclose\n");
  EXPECT_TRUE(Recorded("ui: 2 \"Close\" enabled visible"));
  EXPECT_EQ(CountLogLines(L"StopLoader\n"), 1);
  EXPECT_EQ(CountLogLines(L"Closing\n"), 1);
}

TEST_F(Browser, AFolderThatGoesWhileItLoadsKeepsItsBlocksAndTheLoaderGoesOn) {
  enum class Change { kRemoved, kReplacedByFile, kUnreadable };
  for (Change change : {Change::kRemoved, Change::kReplacedByFile, Change::kUnreadable}) {
    SCOPED_TRACE(static_cast<int>(change));
    library::EmptyLibrary();
    settings::ResetSettings();
    std::wstring name = L"gone" + std::to_wstring(static_cast<int>(change));
    std::wstring a = MakeFolder(name, {L"p", L"q", L"r"});
    std::wstring b = MakeFolder(name + L"b", {L"s"});
    WriteSettings("[Quorva Options]\nReadDirEveryTime=1\n" +
                  SettingsFor({{a, L"Going"}, {b, L"Staying"}}));
    LoadSettings();
    onProbe_ = [&](const std::wstring& probed) {
      if (probed != L"p") return;
      std::string native = fw::NativePath(a);
      switch (change) {
        case Change::kRemoved:
          for (const wchar_t* file : {L"/p.dwg", L"/q.dwg", L"/r.dwg"}) fw::DeleteFile(a + file);
          ::rmdir(native.c_str());
          break;
        case Change::kReplacedByFile:
          for (const wchar_t* file : {L"/p.dwg", L"/q.dwg", L"/r.dwg"}) fw::DeleteFile(a + file);
          ::rmdir(native.c_str());
          testsupport::WriteFile(a, "not a folder");
          break;
        case Change::kUnreadable:
          ::chmod(native.c_str(), 0);
          break;
      }
    };
    std::vector<std::string> first = RunDialog("wait-idle\ndump 232\n");
    onProbe_ = nullptr;
    std::vector<std::string> second = RunDialog("wait-idle\ndump 232\n");
    // Every showing keeps the three blocks and goes on to load the other folder. A load of the
    // gone folder that starts again (the first one may be interrupted after the probe that
    // removed it) finds no folder and leaves the status at "D".
    for (const std::vector<std::string>* showing : {&first, &second}) {
      std::vector<std::string> rows = Dumped(*showing, "232");
      ASSERT_EQ(rows.size(), 3u);
      EXPECT_EQ(rows[2], "ui: 232 #1 Staying | 1");
      bool rescanned = rows[1] == "ui: 232 #0* Going | 3 | D";
      bool loadedOnce = rows[1] == "ui: 232 #0* Going | 3";
      EXPECT_TRUE(showing == &first ? rescanned || loadedOnce
                                    : rescanned || (change == Change::kUnreadable && loadedOnce))
          << rows[1];
    }
    ::chmod(fw::NativePath(a).c_str(), 0755);
  }
}

// A user the administrator file does not name tries every way to change the shared set-up:
// the settings file keeps the descriptions, folders and schemes it had.
TEST_F(Browser, ANonEditorChangesNoDescriptionFolderOrScheme) {
  std::wstring a = MakeFolder(L"a", {L"one"});
  std::wstring b = MakeFolder(L"b", {L"two"});
  testsupport::WriteFile(folder_ / L"support/qvadmin.ini", "[Users]\nsomebody-else\n");
  WriteSettings(SettingsFor({{a, L"Alpha"}, {b, L"Beta"}}) +
                "CurrentScheme=Walls\n[Schemes]\nNumSchemes=1\nScheme1=Walls\n[Walls]\n"
                "Type=Layer\nNumMaps=1\nMap1=WALL,A-WALL\n");
  LoadSettings();
  // Settle the file's form through one showing of an editor-less session, then try.
  RunDialog("wait-idle\n");
  std::string before = testsupport::ReadFile(folder_ / L"support/qv35.ini");
  std::vector<std::string> transcript = RunDialog(
      "wait-idle\n"
      "dump-dialog\n"
      "label 232 \"Alpha\" \"Renamed\"\n"
      "rclick 232 \"Alpha\"\n"
      "answer menu none\n"
      "key 232 F1\n"
      "choose 232 \"Beta\"\n"
      "wait-idle\n"
      "dblclick 253 \"two\"\n");
  std::string after = testsupport::ReadFile(folder_ / L"support/qv35.ini");
  for (const std::string& line : transcript) {
    EXPECT_FALSE(line.starts_with("ui: error")) << line;
  }
  for (int id : {266, 280, 279, 225, 228, 259, 258, 223}) {
    bool disabled = std::any_of(transcript.begin(), transcript.end(), [&](const std::string& line) {
      return line.starts_with("ui: " + std::to_string(id) + " ") &&
             line.find(" disabled ") != std::string::npos;
    });
    EXPECT_TRUE(disabled) << id;
  }
  EXPECT_NE(std::find(transcript.begin(), transcript.end(),
                      "ui: menu \"Properties\" greyed, -, \"Reload Directory\" -> none"),
            transcript.end());
  // The file as a whole is the same: nothing of the shared set-up moved.
  auto shared = [](const std::string& text) {
    std::string kept;
    std::size_t at = 0;
    while (at < text.size()) {
      std::size_t end = text.find('\n', at);
      std::string line = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
      if (line.starts_with("[") || line.starts_with("description=") ||
          line.starts_with("path") || line.starts_with("currentscheme") ||
          line.starts_with("map") || line.starts_with("scheme") || line.starts_with("type=")) {
        kept += line + "\n";
      }
      if (end == std::string::npos) break;
      at = end + 1;
    }
    return kept;
  };
  EXPECT_EQ(shared(after), shared(before));
  EXPECT_NE(shared(before).find("description=Alpha"), std::string::npos) << before;
  EXPECT_NE(shared(before).find("currentscheme=Walls"), std::string::npos) << before;
}

// A block definition of the current drawing, made as the user's commands would make it.
struct Definition {
  const wchar_t* name;
  const wchar_t* comments;
  const wchar_t* xrefPath;  // nullptr: not an external reference
  bool overlay;
  bool erased;
};

void AddDefinitions(std::initializer_list<Definition> definitions) {
  AcApDocument* document = acDocManager->curDocument();
  ASSERT_EQ(acDocManager->lockDocument(document), Acad::eOk);
  AcDbBlockTable* table = nullptr;
  ASSERT_EQ(acdbHostApplicationServices()->workingDatabase()->getBlockTable(table, AcDb::kForWrite),
            Acad::eOk);
  for (const Definition& definition : definitions) {
    auto* block = new AcDbBlockTableRecord;
    ASSERT_EQ(block->setName(definition.name), Acad::eOk) << fw::ToUtf8(definition.name);
    block->setComments(definition.comments);
    if (definition.xrefPath != nullptr) {
      block->setPathName(definition.xrefPath);
      block->setIsFromOverlayReference(definition.overlay);
    }
    ASSERT_EQ(table->add(block), Acad::eOk) << fw::ToUtf8(definition.name);
    if (definition.erased) {
      EXPECT_EQ(block->erase(), Acad::eOk);
    }
    block->close();
  }
  table->close();
  EXPECT_EQ(acDocManager->unlockDocument(document), Acad::eOk);
}

// Read anew from the drawing at each showing: only definitions a user could insert by name,
// in the table's order, with their comments and the version the internal blocks carry.
TEST_F(Browser, TheInternalDirectoryListsTheDrawingsOwnInsertableBlocks) {
  WriteSettings(SettingsFor({{L"Internal Blocks", L"Internal Blocks"}}));
  LoadSettings();
  AddDefinitions({{L"VALVE", L"Gate valve", nullptr, false, false},
                  {L"*U7", L"", nullptr, false, false},
                  {L"BASE", L"", L"base.dwg", false, false},
                  {L"PLAN", L"", L"plan.dwg", true, false},
                  {L"BASE|DOOR", L"", nullptr, false, false},
                  {L"OLD", L"", nullptr, false, true},
                  {L"Pump 2", L"", nullptr, false, false}});
  std::vector<std::string> first = RunDialog("wait-idle\ndump 253\n");
  // Definitions carry no file times.
  std::string never = fw::ToUtf8(fw::FormatLocalTime(0, L"%x, %X"));
  EXPECT_EQ(Dumped(first, "253"),
            (std::vector<std::string>{
                "ui: 253 list view=report count=2",
                "ui: 253 #0 Pump 2 | 2000 |  | 0 | " + never + " | " + never,
                "ui: 253 #1 VALVE | 2000 | Gate valve | 0 | " + never + " | " + never}));
  AddDefinitions({{L"NEW", L"", nullptr, false, false}});
  std::vector<std::string> second = RunDialog("wait-idle\ndump 253\n");
  EXPECT_EQ(Dumped(second, "253").size(), 4u);
  EXPECT_TRUE(Probed().empty());
}

TEST(FormatLevel, TheFirstTwoCharactersOfAcadverNameTheNewestReadableVersion) {
  struct Case {
    const wchar_t* acadver;
    std::optional<int> level;
  };
  for (const Case& test : {Case{L"23.1s", 21}, Case{L"24.0", 21}, Case{L"22", 21},
                           Case{L"21.0", 20}, Case{L"19.1s (LMS Tech)", 20}, Case{L"18.2", 19},
                           Case{L"17.0", 18}, Case{L"16.2", 17}, Case{L"15.06s", 16},
                           Case{L"14.01", 15}, Case{L"13", 14}, Case{L"12", std::nullopt},
                           Case{L"2", std::nullopt}, Case{L"", std::nullopt}}) {
    EXPECT_EQ(ui::FormatLevelOf(test.acadver), test.level) << fw::ToUtf8(test.acadver);
  }
}

}  // namespace
}  // namespace browsertest
