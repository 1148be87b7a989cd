// The host window: the command buttons outside components add show on the ribbon strip and the
// toolbar and type their command text when pressed; typed lines reach the command line in order
// with their history; the window's close ends the reading; text that is no proper text shows.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <wx/app.h>
#include <wx/button.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>

#include "HostWindow.h"
#include "fw/Png.h"
#include "gui/TestDisplay.h"
#include "minicad/CommandButtons.h"

namespace {

using minicad::ButtonBar;
using minicad::CommandButton;

std::vector<std::uint8_t> ButtonPicture() {
  std::vector<std::uint8_t> pixels(32 * 32 * 4, 0x80);
  return fw::EncodePng(pixels, 32, 32, true).Value();
}

class HostWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!guitest::OpenTestDisplay()) GTEST_SKIP() << "no display could be opened";
    window_ = new host::HostWindow();
    window_->Show();
  }
  void TearDown() override {
    if (window_ != nullptr) window_->Destroy();
  }

  template <typename Part>
  Part* Find(const char* name) {
    return dynamic_cast<Part*>(wxWindow::FindWindowByName(name, window_));
  }
  std::vector<wxButton*> RibbonButtons() {
    std::vector<wxButton*> buttons;
    for (wxWindow* child : Find<wxWindow>(host::HostWindow::kRibbonName)->GetChildren()) {
      if (auto* button = dynamic_cast<wxButton*>(child)) buttons.push_back(button);
    }
    return buttons;
  }
  void Type(const wxString& text) {
    wxTextCtrl* input = Find<wxTextCtrl>(host::HostWindow::kInputName);
    input->ChangeValue(text);
    wxCommandEvent enter(wxEVT_TEXT_ENTER, input->GetId());
    enter.SetEventObject(input);
    input->ProcessWindowEvent(enter);
  }
  void PressKey(int key) {
    wxTextCtrl* input = Find<wxTextCtrl>(host::HostWindow::kInputName);
    wxKeyEvent press(wxEVT_KEY_DOWN);
    press.m_keyCode = key;
    press.SetEventObject(input);
    input->ProcessWindowEvent(press);
  }
  wxString History() { return Find<wxTextCtrl>(host::HostWindow::kHistoryName)->GetValue(); }

  host::HostWindow* window_ = nullptr;
};

TEST_F(HostWindowTest, ButtonsAddedFromAnyThreadShowAndTypeTheirCommand) {
  minicad::CommandButtons buttons;
  window_->WatchButtons(buttons);
  // The components add their buttons while the module loads, on whatever thread they run.
  std::thread([&buttons] {
    buttons.Add({ButtonBar::kRibbon, L"quorva\n", L"Quorvane", ButtonPicture()});
    buttons.Add({ButtonBar::kRibbon, L"damaged\n", L"Damaged", {0x89, 'P', 'N', 'G', 0}});
    buttons.Add({ButtonBar::kToolbar, L"quorva\n", L"Quorvane", ButtonPicture()});
  }).join();
  wxTheApp->ProcessPendingEvents();

  std::vector<wxButton*> ribbon = RibbonButtons();
  ASSERT_EQ(ribbon.size(), 2u);
  EXPECT_EQ(ribbon[0]->GetLabel(), "Quorvane");
  EXPECT_TRUE(ribbon[0]->GetBitmap().IsOk());
  EXPECT_FALSE(ribbon[1]->GetBitmap().IsOk());  // a picture that cannot be read is left out
  EXPECT_EQ(window_->GetToolBar()->GetToolsCount(), 1u);
  EXPECT_TRUE(window_->GetToolBar()->IsShown());

  wxCommandEvent click(wxEVT_BUTTON, ribbon[0]->GetId());
  click.SetEventObject(ribbon[0]);
  ribbon[0]->ProcessWindowEvent(click);
  wxToolBar* toolbar = window_->GetToolBar();
  wxCommandEvent tool(wxEVT_TOOL, toolbar->GetToolByPos(0)->GetId());
  tool.SetEventObject(toolbar);
  toolbar->ProcessWindowEvent(tool);
  EXPECT_EQ(window_->WaitForLine(), L"quorva");
  EXPECT_EQ(window_->WaitForLine(), L"quorva");
  EXPECT_NE(History().Find("quorva\n"), wxNOT_FOUND);

  window_->StopWatching(buttons);
  buttons.Add({ButtonBar::kRibbon, L"later\n", L"Later", {}});
  wxTheApp->ProcessPendingEvents();
  EXPECT_EQ(RibbonButtons().size(), 2u);
}

TEST_F(HostWindowTest, TypedLinesComeInOrderWithTheirHistoryAndCloseEndsTheReading) {
  Type("LINE");
  Type("0,0");
  Type("");  // Enter alone answers a prompt with its default
  EXPECT_EQ(window_->WaitForLine(), L"LINE");
  EXPECT_EQ(window_->WaitForLine(), L"0,0");
  EXPECT_EQ(window_->WaitForLine(), L"");

  wxTextCtrl* input = Find<wxTextCtrl>(host::HostWindow::kInputName);
  PressKey(WXK_UP);
  EXPECT_EQ(input->GetValue(), "0,0");
  PressKey(WXK_UP);
  PressKey(WXK_UP);  // stays at the first line typed
  EXPECT_EQ(input->GetValue(), "LINE");
  PressKey(WXK_DOWN);
  PressKey(WXK_DOWN);
  EXPECT_EQ(input->GetValue(), "");

  window_->Close();
  EXPECT_EQ(window_->WaitForLine(), std::nullopt);
  EXPECT_TRUE(window_->IsShown());  // the window stays until the session has quit
}

TEST_F(HostWindowTest, TextThatIsNoProperTextShowsReadably) {
  // A name read from disk that was not UTF-8, a lone surrogate, a control character, and text
  // from the loader's thread.
  window_->ShowText(std::wstring(L"Bad \xDC80 name\x01 here\n"));
  std::thread([this] { window_->ShowText(L"from the loader\n"); }).join();
  wxTheApp->ProcessPendingEvents();
  const wxString history = History();
  EXPECT_NE(history.Find(wxString::FromUTF8("Bad \xEF\xBF\xBD name\xEF\xBF\xBD here")),
            wxNOT_FOUND);
  EXPECT_NE(history.Find("from the loader"), wxNOT_FOUND);
}

}  // namespace
