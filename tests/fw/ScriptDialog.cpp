// The tests' own dialog and its handlers.
#include "ScriptDialog.h"

#include <gtest/gtest.h>

#include <utility>

#include "fw/BackgroundWork.h"
#include "fw/HeadlessUiDriver.h"
#include "fw/UiScript.h"

#include "fw/Button.h"
#include "fw/ComboBox.h"
#include "fw/DataExchange.h"
#include "fw/Edit.h"
#include "fw/ListBox.h"
#include "fw/ListCtrl.h"
#include "fw/Menu.h"
#include "fw/OwnerDrawButton.h"
#include "fw/ProgressCtrl.h"
#include "fw/Strings.h"
#include "fw/System.h"
#include "fw/UiDriver.h"

namespace testsupport {
namespace {

using fw::ControlTemplate;

fw::DialogTemplate ScriptTemplate() {
  fw::DialogTemplate dialog;
  dialog.cx = 300;
  dialog.cy = 200;
  dialog.caption = L"Script Test";
  dialog.controls = {
      ControlTemplate::DefPushButton(fw::IDOK, L"OK", 245, 5, 50, 14),
      ControlTemplate::PushButton(fw::IDCANCEL, L"Cancel", 245, 22, 50, 14),
      ControlTemplate::PushButton(kApply, L"Apply", 245, 39, 50, 14),
      ControlTemplate::CheckBox(kEnableList, L"Enable list", 5, 5, 60, 10),
      ControlTemplate::GroupBox(L"Size", 5, 18, 60, 44),
      ControlTemplate::RadioButton(kSmall, L"Small", 10, 28, 50, 10).Group(),
      ControlTemplate::RadioButton(kMedium, L"Medium", 10, 38, 50, 10),
      ControlTemplate::RadioButton(kLarge, L"Large", 10, 48, 50, 10),
      ControlTemplate::Label(L"Name:", 70, 5, 25, 8),
      ControlTemplate::Edit(kName, 95, 5, 60, 12),
      ControlTemplate::ComboBox(kScale, 95, 20, 60, 60, fw::CBS_DROPDOWN | fw::CBS_SORT),
      ControlTemplate::ComboBox(kKind, 95, 35, 60, 60, fw::CBS_DROPDOWNLIST),
      ControlTemplate::ListBox(kCounts, 160, 5, 80, 40).Style(fw::LBS_USETABSTOPS),
      ControlTemplate::ListCtrl(kBlocks, 5, 65, 235, 100,
                                fw::LVS_REPORT | fw::LVS_SINGLESEL | fw::LVS_EDITLABELS |
                                    fw::LVS_SHOWSELALWAYS),
      ControlTemplate::OwnerDrawButton(kView, L"3", 245, 56, 27, 16),
      ControlTemplate::Progress(kProgress, 5, 170, 235, 8),
      ControlTemplate::Label(L"Status", 5, 182, 235, 8, kStatus).Style(fw::WS_BORDER),
      ControlTemplate::Label(L"", 5, 192, 235, 8, kLog),
      ControlTemplate::PushButton(kHiddenButton, L"Hidden", 245, 75, 50, 14).Hidden(),
      ControlTemplate::PushButton(kDisabledButton, L"Disabled", 245, 92, 50, 14).Disabled(),
      ControlTemplate::PushButton(kAsk, L"Ask", 245, 109, 50, 14),
      ControlTemplate::PushButton(kNested, L"Nested", 245, 126, 50, 14),
      ControlTemplate::PushButton(kWorker, L"Worker", 245, 143, 50, 14),
      ControlTemplate::PushButton(kCloser, L"Closer", 245, 160, 50, 14),
  };
  return dialog;
}

constexpr const wchar_t* kViewNames[] = {L"Large Icons", L"Small Icons", L"List", L"Report"};
constexpr unsigned kViewStyles[] = {fw::LVS_ICON, fw::LVS_SMALLICON, fw::LVS_LIST, fw::LVS_REPORT};

struct Block {
  const wchar_t* name;
  int size;
};
constexpr Block kBlocksShown[] = {{L"Bolt", 30}, {L"Nut", 10}, {L"Washer", 20}, {L"Locked", 5}};

}  // namespace

ScriptDialog::ScriptDialog() : Dialog(ScriptTemplate()) {
  using fw::Event;
  using fw::Notify;
  On(kApply, Event::kClicked, [this] {
    UpdateData(true);
    Status(L"applied " + name);
  });
  On(kEnableList, Event::kClicked, [this] {
    Item<fw::ListCtrl>(kBlocks).EnableWindow(IsDlgButtonChecked(kEnableList) == fw::BST_CHECKED);
  });
  for (int id : {kSmall, kMedium, kLarge}) {
    On(id, Event::kClicked, [this, id] { Status(L"size " + std::to_wstring(id - kSmall)); });
  }
  On(kName, Event::kTextChange, [this] { Status(L"name " + GetDlgItemText(kName)); });
  On(kScale, Event::kTextChange, [this] { Status(L"scale typed " + GetDlgItemText(kScale)); });
  On(kScale, Event::kSelChange, [this] { Status(L"scale chosen " + GetDlgItemText(kScale)); });
  On(kKind, Event::kSelChange, [this] { Status(L"kind " + GetDlgItemText(kKind)); });
  On(kCounts, Event::kDoubleClicked, [this](Notify& notify) {
    Status(L"counts " + Item<fw::ListBox>(kCounts).GetText(notify.item));
  });
  On(kBlocks, Event::kItemChanged, [this](Notify& notify) {
    bool selected = (notify.newState & fw::LVIS_SELECTED) != 0;
    if (selected && (notify.oldState & fw::LVIS_SELECTED) == 0) {
      Status(L"selected " + Item<fw::ListCtrl>(kBlocks).GetItemText(notify.item, 0));
    }
  });
  On(kBlocks, Event::kClicked, [this](Notify& notify) {
    if (notify.alt && notify.item >= 0) {
      Status(L"quick " + Item<fw::ListCtrl>(kBlocks).GetItemText(notify.item, 0));
    }
  });
  On(kBlocks, Event::kDoubleClicked, [this](Notify& notify) {
    Status(L"open " + Item<fw::ListCtrl>(kBlocks).GetItemText(notify.item, 0));
  });
  On(kBlocks, Event::kColumnClick, [this](Notify& notify) { SortBlocks(notify.column); });
  On(kBlocks, Event::kRightClicked, [this](Notify& notify) { ShowBlockMenu(notify); });
  On(kBlocks, Event::kBeginLabelEdit, [](Notify& notify) { notify.refuse = notify.text == L"Locked"; });
  On(kBlocks, Event::kEndLabelEdit, [](Notify& notify) { notify.accept = !notify.text.empty(); });
  On(kBlocks, Event::kInfoTip, [this](Notify& notify) {
    notify.text = Item<fw::ListCtrl>(kBlocks).GetItemText(notify.item, 0) + L" / " +
                  std::to_wstring(notify.itemData) + L" bytes";
  });
  On(kView, Event::kClicked, [this] { SetView((view_ + 1) % 4); });
  On(kView, Event::kDropDown, [this] { ShowViewMenu(); });
  On(kAsk, Event::kClicked, [this] { Ask(); });
  On(kNested, Event::kClicked, [this] {
    NestedDialog nested;
    Status(L"nested " + std::to_wstring(nested.DoModal()));
  });
  On(kWorker, Event::kClicked, [this] { StartWorker(false); });
  On(kCloser, Event::kClicked, [this] { StartWorker(true); });
  for (int command = kFirstPosted; command < kFirstPosted + 5; ++command) {
    On(command, Event::kCommand, [this, command] {
      fw::Control& log = *GetDlgItem(kLog);
      std::wstring text = log.GetWindowText();
      log.SetWindowText(text + (text.empty() ? L"" : L" ") + std::to_wstring(command));
    });
  }
  On(kEndCommand, Event::kCommand, [this] { EndDialog(fw::IDCANCEL); });
  On(kMenuOpen, Event::kCommand, [this] {
    fw::ListCtrl& blocks = Item<fw::ListCtrl>(kBlocks);
    Status(L"menu open " + blocks.GetItemText(blocks.GetNextItem(-1, fw::LVNI_SELECTED), 0));
  });
  for (int view = 0; view < 4; ++view) {
    On(kMenuViewBase + view, Event::kCommand, [this, view] { SetView(view); });
  }
  On(kTicker, Event::kTimer, [this] { Item<fw::ProgressCtrl>(kProgress).StepIt(); });
  On(fw::kDialogId, Event::kHelp, [] { fw::HtmlHelp(L"help/script.chm"); });
}

ScriptDialog::~ScriptDialog() { JoinWorkers(); }

void ScriptDialog::DoDataExchange(fw::DataExchange& exchange) {
  exchange.Text(kName, name);
  exchange.MaxChars(kName, name, 10);
  exchange.Radio(kSmall, size);
  exchange.Check(kEnableList, listEnabled);
}

bool ScriptDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  auto& scale = Item<fw::ComboBox>(kScale);
  for (const wchar_t* entry : {L"Prompt", L"2", L"10"}) scale.AddString(entry);
  scale.SetCurSel(0);
  auto& kind = Item<fw::ComboBox>(kKind);
  kind.AddString(L"Alpha");
  kind.AddString(L"Beta");
  auto& counts = Item<fw::ListBox>(kCounts);
  counts.AddString(L"R14\t5");
  counts.AddString(L"2018\t3");
  Item<fw::OwnerDrawButton>(kView).SetDropDownWidth(12);
  auto& progress = Item<fw::ProgressCtrl>(kProgress);
  progress.SetRange(0, 4);
  progress.SetStep(1);
  FillBlocks();
  SetTimer(kTicker, 1000);
  return true;
}

void ScriptDialog::Status(const std::wstring& text) { SetDlgItemText(kStatus, text); }

void ScriptDialog::FillBlocks() {
  auto& blocks = Item<fw::ListCtrl>(kBlocks);
  blocks.InsertColumn(0, L"Name", fw::LVCFMT_LEFT, 120);
  blocks.InsertColumn(1, L"Size", fw::LVCFMT_LEFT, 60);
  for (const Block& block : kBlocksShown) {
    int at = blocks.InsertItem(blocks.GetItemCount(), block.name);
    blocks.SetItemText(at, 1, std::to_wstring(block.size));
    blocks.SetItemData(at, static_cast<fw::ItemData>(block.size));
  }
}

// The same column again reverses the order; a new column sorts ascending.
void ScriptDialog::SortBlocks(int column) {
  sortDescending_ = column == sortColumn_ && !sortDescending_;
  sortColumn_ = column;
  auto& blocks = Item<fw::ListCtrl>(kBlocks);
  if (column == 1) {
    blocks.SortItemsByKey([](fw::ItemData data) { return static_cast<std::int64_t>(data); },
                          sortDescending_);
  } else {
    // By name: the names are found through their sizes, as a real comparison finds its blocks.
    auto nameOf = [](fw::ItemData data) {
      for (const Block& block : kBlocksShown) {
        if (static_cast<fw::ItemData>(block.size) == data) return std::wstring(block.name);
      }
      return std::wstring();
    };
    bool descending = sortDescending_;
    blocks.SortItems([&](fw::ItemData first, fw::ItemData second) {
      int order = nameOf(first).compare(nameOf(second));
      return descending ? -order : order;
    });
  }
  Status(L"sorted by " + std::to_wstring(column) + (sortDescending_ ? L" down" : L" up"));
}

void ScriptDialog::ShowBlockMenu(const fw::Notify& notify) {
  auto& blocks = Item<fw::ListCtrl>(kBlocks);
  fw::Menu viewMenu;
  for (int view = 0; view < 4; ++view) {
    viewMenu.AppendMenu(view == view_ ? fw::MF_CHECKED : fw::MF_STRING, kMenuViewBase + view,
                        kViewNames[view]);
  }
  fw::Menu menu;
  if (notify.item >= 0) {
    menu.AppendMenu(fw::MF_STRING, kMenuOpen, L"Open " + blocks.GetItemText(notify.item, 0));
    menu.AppendMenu(fw::MF_SEPARATOR);
  }
  menu.AppendSubMenu(viewMenu, L"View");
  menu.AppendMenu(fw::MF_SEPARATOR);
  menu.AppendMenu(fw::MF_GRAYED, kMenuRefresh, L"Refresh");
  menu.TrackPopupMenu(fw::TPM_LEFTALIGN | fw::TPM_RIGHTBUTTON, notify.point.x, notify.point.y, *this);
}

void ScriptDialog::ShowViewMenu() {
  fw::Menu menu;
  for (int view = 0; view < 4; ++view) {
    menu.AppendMenu(view == view_ ? fw::MF_CHECKED : fw::MF_STRING, kMenuViewBase + view,
                    kViewNames[view]);
  }
  int chosen = menu.TrackPopupMenu(fw::TPM_RETURNCMD, 0, 0, *this);
  if (chosen != 0) SetView(chosen - kMenuViewBase);
}

void ScriptDialog::SetView(int index) {
  view_ = index;
  Item<fw::ListCtrl>(kBlocks).SetView(kViewStyles[index]);
  SetDlgItemText(kView, std::to_wstring(index));
}

void ScriptDialog::Ask() {
  int answer = fw::AfxMessageBox(L"Proceed?\nThe list is kept.", fw::MB_YESNO | fw::MB_ICONQUESTION);
  std::optional<int> color = fw::GetUiDriver().ChooseColor(7);
  std::optional<std::wstring> folder = fw::BrowseForFolder(L"Select Directory", fw::GetCurrentFolder());
  fw::FileRequest save;
  save.open = false;
  save.initialFolder = fw::GetCurrentFolder();
  save.fileName = L"qv35.cache";
  save.flags = fw::OFN_OVERWRITEPROMPT | fw::OFN_PATHMUSTEXIST | fw::OFN_NOCHANGEDIR;
  std::optional<std::wstring> file = fw::ChooseFile(save);
  fw::PrintRequest print;
  print.flags = fw::PD_RETURNDC | fw::PD_NOSELECTION | fw::PD_NOPAGENUMS;
  std::unique_ptr<fw::PrinterDC> printer = fw::ChoosePrinter(print);
  Status(L"asked " + std::to_wstring(answer) + L" " + (color ? std::to_wstring(*color) : L"-") +
         L" " + (folder ? L"folder" : L"-") + L" " + (file ? L"file" : L"-") + L" " +
         (printer ? L"printer" : L"-"));
}

// The worker posts its commands in order and changes the status from its own thread; the
// closer posts the command that ends the modal loop.
void ScriptDialog::StartWorker(bool closeAfterwards) {
  JoinWorkers();
  ++workersRunning_;
  fw::DialogHandle handle = Handle();
  worker_ = std::thread([this, handle, closeAfterwards] {
    if (closeAfterwards) {
      handle.PostCommand(kEndCommand);
    } else {
      for (int command = kFirstPosted; command < kFirstPosted + 5; ++command) {
        handle.PostCommand(command);
      }
      SetDlgItemText(kStatus, L"worker done");
    }
    --workersRunning_;
  });
}

void ScriptDialog::JoinWorkers() {
  if (worker_.joinable()) worker_.join();
}

NestedDialog::NestedDialog()
    : Dialog([] {
        fw::DialogTemplate dialog;
        dialog.cx = 120;
        dialog.cy = 40;
        dialog.caption = L"Nested";
        dialog.controls = {
            ControlTemplate::Edit(10, 5, 5, 110, 12),
            ControlTemplate::DefPushButton(fw::IDOK, L"OK", 65, 22, 50, 14),
        };
        return dialog;
      }()) {}

ScriptRun RunScriptDialog(std::string_view script, std::chrono::milliseconds waitLimit) {
  ScriptRun run;
  fw::Result<std::vector<fw::UiStep>> steps = fw::ParseUiScript(script);
  EXPECT_TRUE(steps.Ok()) << fw::ToUtf8(steps.Message());
  if (!steps) return run;
  fw::HeadlessUiDriver driver;
  driver.AddSteps(steps.Value());
  driver.SetWaitLimit(waitLimit);
  fw::SetUiDriver(&driver);
  fw::SetAppName(L"Quorvane");
  {
    ScriptDialog dialog;
    fw::SetBackgroundIdleCheck([&dialog] { return dialog.WorkersDone(); });
    run.endCode = dialog.DoModal();
    fw::SetBackgroundIdleCheck({});
    fw::AfxMessageBox(L"Saved.", fw::MB_OKCANCEL);
  }
  run.passed = driver.Finish();
  fw::SetAppName(L"");
  fw::SetUiDriver(nullptr);
  run.transcript = driver.Transcript();
  return run;
}

}  // namespace testsupport
