// The presenter on a real display, in this process: the windows show the model's state as it
// changes, what the user does to them reaches the model through its handlers, and a loader
// thread that fills a list while the dialog waits is shown without touching wx itself.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <stop_token>
#include <thread>

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/gauge.h>
#include <wx/listctrl.h>
#include <wx/textctrl.h>
#include <wx/vscroll.h>

#include "TestDisplay.h"
#include "fw/Button.h"
#include "fw/ComboBox.h"
#include "fw/Dialog.h"
#include "fw/Edit.h"
#include "fw/ListCtrl.h"
#include "fw/ProgressCtrl.h"
#include "gui/DialogPresenter.h"
#include "gui/WxUiDriver.h"

namespace {

using Clock = fw::UiPresenter::Clock;

enum { kCheck = 11, kEdit, kCombo, kList, kProgress };

fw::DialogTemplate EveryKind() {
  fw::DialogTemplate dialog = fw::ModalDialogTemplate(0, 300, 200, L"Every kind");
  dialog.controls = {
      fw::ControlTemplate::CheckBox(kCheck, L"Explode", 5, 5, 80, 10),
      fw::ControlTemplate::Edit(kEdit, 5, 20, 80, 12),
      fw::ControlTemplate::ComboBox(kCombo, 5, 40, 80, 60, fw::CBS_DROPDOWNLIST),
      fw::ControlTemplate::ListCtrl(kList, 100, 5, 190, 150, fw::LVS_ICON),
      fw::ControlTemplate::Progress(kProgress, 5, 180, 80, 8),
  };
  return dialog;
}

// One showing presented as the wx driver's modal loop does, minus the loop.
class Presented : public testing::Test {
 protected:
  void SetUp() override {
    if (!guitest::OpenTestDisplay()) GTEST_SKIP() << "no display could be opened";
    dialog_.emplace(EveryKind());
    dialog_->BeginShowing(true);
    dialog_->InitDialog();
    presenter_.Shown(*dialog_, true);
  }
  void TearDown() override {
    if (!dialog_) return;
    presenter_.Ending(*dialog_);
    dialog_->FinishShowing();
  }
  // Posts delivered and changes shown until `done`, for at most ten seconds.
  bool Until(const std::function<bool()>& done) {
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < deadline) {
      dialog_->DeliverPosted();
      presenter_.TakeChanges(*dialog_);
      if (done()) return true;
      presenter_.WaitUntil(*dialog_, Clock::now() + std::chrono::milliseconds(5));
    }
    return false;
  }
  // The control's window: the views are made in template order.
  template <typename T>
  T* Shown(int index) {
    return dynamic_cast<T*>(presenter_.ActiveWindow()->GetChildren()[index]);
  }

  gui::DialogPresenter presenter_;
  std::optional<fw::Dialog> dialog_;
};

TEST_F(Presented, TheWindowsShowTheModelAndTheUsersInputReachesIt) {
  dialog_->Item<fw::Button>(kCheck).SetCheck(fw::BST_CHECKED);
  dialog_->SetDlgItemText(kEdit, L"Valve\xDCFF");
  auto& combo = dialog_->Item<fw::ComboBox>(kCombo);
  combo.AddString(L"Layer");
  combo.AddString(L"Block");
  combo.SetCurSel(1);
  dialog_->Item<fw::ProgressCtrl>(kProgress).SetPos(40);
  ASSERT_TRUE(Until([] { return true; }));
  EXPECT_TRUE(Shown<wxCheckBox>(0)->GetValue());
  EXPECT_EQ(Shown<wxTextCtrl>(1)->GetValue().ToStdWstring(), L"Valve\uFFFD");
  EXPECT_EQ(Shown<wxChoice>(2)->GetStringSelection(), "Block");
  EXPECT_EQ(Shown<wxGauge>(4)->GetValue(), 40);

  // The user: a click on the check box and typing, through the model's handlers.
  int clicks = 0;
  dialog_->On(kCheck, fw::Event::kClicked, [&clicks] { ++clicks; });
  wxCommandEvent click(wxEVT_CHECKBOX, Shown<wxCheckBox>(0)->GetId());
  click.SetEventObject(Shown<wxCheckBox>(0));
  Shown<wxCheckBox>(0)->ProcessWindowEvent(click);
  Shown<wxTextCtrl>(1)->SetValue("Gate");
  ASSERT_TRUE(Until([] { return true; }));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(dialog_->IsDlgButtonChecked(kCheck), fw::BST_UNCHECKED);
  EXPECT_FALSE(Shown<wxCheckBox>(0)->GetValue());
  EXPECT_EQ(dialog_->GetDlgItemText(kEdit), L"Gate");
}

TEST_F(Presented, AListFilledByAnotherThreadIsShownOnTheGuiThread) {
  constexpr int kItems = 3000;
  auto& list = dialog_->Item<fw::ListCtrl>(kList);
  std::thread loader([&list] {
    for (int i = 0; i < kItems; ++i) list.InsertItem(i, L"Block " + std::to_wstring(i));
  });
  // The dialog waits and draws while the loader fills; it never waits for the loader.
  auto* grid = dynamic_cast<wxHVScrolledWindow*>(
      Shown<wxWindow>(3)->GetChildren().empty() ? nullptr : Shown<wxWindow>(3)->GetChildren()[0]);
  ASSERT_NE(grid, nullptr);
  const bool shown = Until([&] {
    return list.GetItemCount() == kItems && grid->GetRowCount() > 0 &&
           grid->GetRowCount() * grid->GetColumnCount() >= static_cast<size_t>(kItems);
  });
  loader.join();
  EXPECT_TRUE(shown);
  // Every row holds the same number of icons, so the rows are the items over the columns.
  const size_t columns = grid->GetColumnCount();
  ASSERT_GT(columns, 0u);
  EXPECT_EQ(grid->GetRowCount(), (kItems + columns - 1) / columns);
}

TEST_F(Presented, TheReportsRowsAreAsHighAsItsImages) {
  constexpr int kImageHeight = 30;
  auto& list = dialog_->Item<fw::ListCtrl>(kList);
  fw::CImageList images;
  ASSERT_TRUE(images.Create(40, kImageHeight, fw::ILC_COLOR4, 4, 4));
  ASSERT_EQ(images.Add(fw::Bitmap(40, kImageHeight)), 0);
  list.SetImageList(images, fw::LVSIL_SMALL);
  list.InsertColumn(0, L"Block");
  list.SetView(fw::LVS_REPORT);
  for (int i = 0; i < 3; ++i) list.InsertItem(i, L"Block " + std::to_wstring(i), 0);
  wxListCtrl* report = nullptr;
  ASSERT_TRUE(Until([&] {
    for (wxWindow* child : Shown<wxWindow>(3)->GetChildren()) {
      if (auto* found = dynamic_cast<wxListCtrl*>(child); found && found->IsShown()) report = found;
    }
    return report != nullptr && report->GetItemCount() == 3;
  }));
  wxRect row;
  ASSERT_TRUE(report->GetItemRect(1, row));
  EXPECT_GE(row.height, kImageHeight);
}

// Sets its timer when it is shown, as the dialogs that poll do.
class TickingDialog : public fw::Dialog {
 public:
  explicit TickingDialog(bool ticks) : Dialog(EveryKind()), ticks_(ticks) {}

 protected:
  bool OnInitDialog() override {
    if (ticks_) SetTimer(1, 5);
    return Dialog::OnInitDialog();
  }

 private:
  bool ticks_;
};

// The user's modal loop, without a wx main loop: a dialog ends by its own timer or by a post
// from another thread, and the loop returns the end code.
TEST(WxUiDriver, TheUsersModalLoopRunsTimersAndTakesPostsFromOtherThreads) {
  if (!guitest::OpenTestDisplay()) GTEST_SKIP() << "no display could be opened";
  struct Case {
    const char* name;
    bool byTimer;
    int endCode;
  };
  const Case cases[] = {{"timer", true, fw::IDOK}, {"other thread", false, fw::IDCANCEL}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gui::WxUiDriver driver;
    fw::SetUiDriver(&driver);
    TickingDialog dialog(c.byTimer);
    int ticks = 0;
    dialog.On(1, fw::Event::kTimer, [&] {
      if (++ticks == 3) dialog.EndDialog(fw::IDOK);
    });
    // Ends the dialog from another thread: soon when that is the case, else after five seconds
    // with a code no case expects, so a loop that never fires its timer fails instead of hanging.
    std::jthread poster([&dialog, byTimer = c.byTimer](std::stop_token stop) {
      while (!stop.stop_requested() && !dialog.Handle().IsOpen()) std::this_thread::yield();
      const auto wait = byTimer ? std::chrono::seconds(5) : std::chrono::milliseconds(20);
      const auto until = std::chrono::steady_clock::now() + wait;
      while (!stop.stop_requested() && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
      if (!stop.stop_requested()) dialog.Handle().EndDialog(byTimer ? fw::IDABORT : fw::IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), c.endCode);
    poster.request_stop();
    fw::SetUiDriver(nullptr);
    EXPECT_EQ(ticks, c.byTimer ? 3 : 0);
  }
}

}  // namespace
