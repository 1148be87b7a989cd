// The block list in the running browser: None and RevNone keep the loader's order, a match in
// another directory is selected there once it is sorted, and the sort style is saved by name.
#include <algorithm>
#include <string>
#include <vector>

#include "BrowserFixture.h"
#include "fw/Strings.h"
#include "library/Library.h"
#include "library/Loader.h"
#include "settings/Settings.h"
#include "support/TempFolder.h"

namespace browsertest {
namespace {

// The item lines of a list dump: "ui: 253 #N[*] TEXT ...".
std::vector<std::string> Items(const std::vector<std::string>& transcript, const std::string& id) {
  std::vector<std::string> lines;
  for (const std::string& line : transcript) {
    if (line.starts_with("ui: " + id + " #")) lines.push_back(line);
  }
  return lines;
}

// The labels of a list dump in display order, a selected one marked with "*".
std::vector<std::string> Labels(const std::vector<std::string>& transcript, const std::string& id) {
  std::vector<std::string> labels;
  for (const std::string& line : Items(transcript, id)) {
    std::string rest = line.substr(line.find('#'));
    bool selected = rest[rest.find_first_not_of("#0123456789")] == '*';
    std::string label = rest.substr(rest.find(' ') + 1);
    label = label.substr(0, label.find(" | "));
    labels.push_back(label + (selected ? "*" : ""));
  }
  return labels;
}

class BlockList : public BrowserFixture {};

TEST_F(BlockList, NoneAndRevNoneKeepTheOrderTheLoaderAddedTheBlocksIn) {
  struct Case {
    const char* style;
    std::vector<std::string> shown;  // after "a" joined "x" and "y" on a rescan
  };
  const Case cases[] = {{"None", {"x", "y", "a"}},
                        {"RevNone", {"x", "y", "a"}},
                        {"Name", {"a", "x", "y"}},
                        {"RevName", {"y", "x", "a"}}};
  for (const Case& test : cases) {
    SCOPED_TRACE(test.style);
    library::EmptyLibrary();
    settings::ResetSettings();
    std::wstring folder = MakeFolder(fw::FromUtf8(test.style), {L"x", L"y"});
    WriteSettings("[Quorva Options]\nReadDirEveryTime=1\n" + SettingsFor({{folder, L"A"}}) +
                  "SortStyle=" + test.style + "\n");
    LoadSettings();
    RunDialog("wait-idle\n");
    MakeFolder(fw::FromUtf8(test.style), {L"a"});
    EXPECT_EQ(Labels(RunDialog("wait-idle\ndump 253\n"), "253"), test.shown);
  }
}

TEST_F(BlockList, AMatchInAnotherDirectoryIsSelectedWhereItsSortPutsIt) {
  std::wstring a = MakeFolder(L"a", {L"x1", L"x2"});
  std::wstring b = MakeFolder(L"b", {L"b1", L"b2", L"b3", L"b4", L"b5"});
  WriteSettings(SettingsFor({{a, L"A"}, {b, L"B"}}) + "SortStyle=RevName\n");
  LoadSettings();
  std::vector<std::string> shown =
      RunDialog("wait-idle\ntext 270 \"B2\"\nwait-idle\ndump 232\ndump 253\n");
  EXPECT_EQ(Labels(shown, "232"), (std::vector<std::string>{"A", "B*"}));
  EXPECT_EQ(Labels(shown, "253"), (std::vector<std::string>{"b5", "b4", "b3", "b2*", "b1"}));
}

TEST_F(BlockList, ADirectoryChosenAsItsLoadEndsIsShownNotDropped) {
  std::wstring a = MakeFolder(L"a", {L"x1"});
  std::wstring b = MakeFolder(L"b", {L"b1", L"b2"});
  WriteSettings(SettingsFor({{a, L"A"}, {b, L"B"}}));
  LoadSettings();
  onProbe_ = [&](const std::wstring& name) {
    // The user chooses B while the loader, off screen, probes B's last drawing: past the last
    // pause check of that load.
    if (name != L"b2") return;
    library::Directory* d = library::TheLibrary().FindByPath(b);
    library::TheLibrary().SetCurrent(d);
    library::QueueDirectory(*d);
  };
  std::vector<std::string> shown = RunDialog("wait-idle\ndump 253\n");
  EXPECT_EQ(Labels(shown, "253"), (std::vector<std::string>{"b1", "b2"}));
}

TEST_F(BlockList, RefreshIsGreyedUntilTheDirectoryIsLoaded) {
  // A folder without drawings is never loaded.
  std::wstring empty = MakeFolder(L"empty", {});
  WriteSettings(SettingsFor({{empty, L"Empty"}}));
  LoadSettings();
  std::vector<std::string> shown = RunDialog("wait-idle\nrclick 253\nanswer menu none\n");
  auto menu = std::find_if(shown.begin(), shown.end(),
                           [](const std::string& line) { return line.starts_with("ui: menu "); });
  ASSERT_NE(menu, shown.end());
  EXPECT_TRUE(menu->ends_with("\"Refresh Directory\" greyed -> none")) << *menu;
}

TEST_F(BlockList, TheSortStyleIsSavedByName) {
  std::wstring a = MakeFolder(L"a", {L"x1", L"x2"});
  WriteSettings(SettingsFor({{a, L"A"}}));
  LoadSettings();
  RunDialog("wait-idle\ncolumn 253 3\ncolumn 253 3\n");
  // Keys are written in lower case, values as the words they are.
  std::string saved = testsupport::ReadFile(folder_ / L"support/qv35.ini");
  EXPECT_NE(saved.find("sortstyle=RevSize"), std::string::npos) << saved;
}

}  // namespace
}  // namespace browsertest
