// The wx UI driver: the script engine or the user drives the dialogs, the presenter shows them.
#include "gui/WxUiDriver.h"

#include <wx/dcscreen.h>
#include <wx/settings.h>

#include "fw/Dialog.h"
#include "gui/DialogPresenter.h"
#include "gui/DialogTimers.h"
#include "gui/GuiThread.h"
#include "gui/WxQuestions.h"
#include "gui/WxText.h"

namespace gui {
namespace {

// How long the user's modal loop waits at most before it looks at the dialog's timers again.
constexpr std::chrono::milliseconds kInteractiveSlice{100};

}  // namespace

WxUiDriver::WxUiDriver()
    : presenter_(std::make_unique<DialogPresenter>()), guiThread_(std::make_unique<GuiThread>()) {
  questions_ = std::make_shared<WxQuestions>(
      [presenter = presenter_.get()] { return presenter->ActiveWindow(); });
}

WxUiDriver::~WxUiDriver() = default;

void WxUiDriver::SetOwnerWindow(wxWindow* owner) { presenter_->SetOwnerWindow(owner); }

void WxUiDriver::SetScript(std::vector<fw::UiStep> steps, fw::HeadlessUiDriver::Output output) {
  engine_.SetOutput(std::move(output));
  engine_.SetPresenter(presenter_.get());
  engine_.AddSteps(std::move(steps));
  scripted_ = true;
}

void WxUiDriver::SetPrinterFactory(fw::HeadlessUiDriver::PrinterFactory factory) {
  engine_.SetPrinterFactory(std::move(factory));
}

bool WxUiDriver::Finish() { return scripted_ ? engine_.Finish() : true; }

template <typename AskWindows, typename AskScript>
auto WxUiDriver::Ask(AskWindows windows, AskScript script) -> decltype(script()) {
  if (!scripted_) return guiThread_->Call([&] { return windows(*questions_); });
  return script();
}

int WxUiDriver::RunModal(fw::Dialog& dialog) {
  return scripted_ ? engine_.RunModal(dialog) : RunInteractive(dialog);
}

// The user's modal loop: the posted messages, the changes and the timers, with the window
// system's events handled between them.
int WxUiDriver::RunInteractive(fw::Dialog& dialog) {
  dialog.BeginShowing(true);
  // A handler that throws leaves the loop: the window still goes and the showing ends.
  struct Showing {
    DialogPresenter& presenter;
    fw::Dialog& dialog;
    ~Showing() {
      if (!dialog.IsShown()) return;
      presenter.Ending(dialog);
      dialog.FinishShowing();
    }
  } showing{*presenter_, dialog};
  dialog.InitDialog();
  presenter_->Shown(dialog, true);
  DialogTimers timers(dialog);
  while (!dialog.IsEnded()) {
    dialog.DeliverPosted();
    presenter_->DeliverModeless();
    presenter_->TakeChanges(dialog);
    if (dialog.IsEnded()) break;
    timers.Follow();
    presenter_->WaitUntil(dialog, fw::UiPresenter::Clock::now() + kInteractiveSlice);
  }
  const int code = dialog.EndCode();
  presenter_->Ending(dialog);
  dialog.FinishShowing();
  return code;
}

void WxUiDriver::ShowModeless(fw::Dialog& dialog) {
  if (scripted_) return engine_.ShowModeless(dialog);
  dialog.BeginShowing(false);
  dialog.InitDialog();
  presenter_->Shown(dialog, false);
}

void WxUiDriver::DestroyModeless(fw::Dialog& dialog) {
  if (scripted_) return engine_.DestroyModeless(dialog);
  if (dialog.IsShown()) presenter_->Ending(dialog);
  dialog.FinishShowing();
}

int WxUiDriver::MessageBox(const std::wstring& text, const std::wstring& caption, unsigned type) {
  return Ask([&](WxQuestions& questions) { return questions.MessageBox(text, caption, type); },
             [&] { return engine_.MessageBox(text, caption, type); });
}

void WxUiDriver::BeginWaitCursor() {
  Ask([](WxQuestions& questions) { questions.BeginWaitCursor(); },
      [this] { engine_.BeginWaitCursor(); });
}

void WxUiDriver::EndWaitCursor() {
  Ask([](WxQuestions& questions) { questions.EndWaitCursor(); },
      [this] { engine_.EndWaitCursor(); });
}

std::optional<int> WxUiDriver::ChooseColor(int initialColor) {
  return Ask([&](WxQuestions& questions) { return questions.ChooseColor(initialColor); },
             [&] { return engine_.ChooseColor(initialColor); });
}

int WxUiDriver::TrackPopupMenu(const fw::Menu& menu, const fw::PopupRequest& request) {
  return Ask([&](WxQuestions& questions) { return questions.TrackPopupMenu(menu, request); },
             [&] { return engine_.TrackPopupMenu(menu, request); });
}

std::optional<std::wstring> WxUiDriver::BrowseForFolder(const fw::FolderRequest& request) {
  return Ask([&](WxQuestions& questions) { return questions.BrowseForFolder(request); },
             [&] { return engine_.BrowseForFolder(request); });
}

std::optional<std::wstring> WxUiDriver::ChooseFile(const fw::FileRequest& request) {
  return Ask([&](WxQuestions& questions) { return questions.ChooseFile(request); },
             [&] { return engine_.ChooseFile(request); });
}

std::unique_ptr<fw::PrinterDC> WxUiDriver::ChoosePrinter(const fw::PrintRequest& request) {
  return Ask([&](WxQuestions& questions) { return questions.ChoosePrinter(request); },
             [&] { return engine_.ChoosePrinter(request); });
}

bool WxUiDriver::ShowHelp(const std::wstring& file, fw::HelpCommand command) {
  return Ask([&](WxQuestions& questions) { return questions.ShowHelp(file, command); },
             [&] { return engine_.ShowHelp(file, command); });
}

int WxUiDriver::GetSystemMetrics(int index) {
  return guiThread_->Call([index] {
    switch (index) {
      case fw::SM_CXSCREEN:
        return wxSystemSettings::GetMetric(wxSYS_SCREEN_X);
      case fw::SM_CYSCREEN:
        return wxSystemSettings::GetMetric(wxSYS_SCREEN_Y);
      case fw::SM_CXFULLSCREEN:
        return wxGetClientDisplayRect().width;
      case fw::SM_CYFULLSCREEN:
        return wxGetClientDisplayRect().height;
      case fw::SM_CXVSCROLL:
        return wxSystemSettings::GetMetric(wxSYS_VSCROLL_X);
      case fw::SM_CXDLGFRAME:
      case fw::SM_CYDLGFRAME: {
        const int frame = wxSystemSettings::GetMetric(
            index == fw::SM_CXDLGFRAME ? wxSYS_FRAMESIZE_X : wxSYS_FRAMESIZE_Y);
        return frame > 0 ? frame : 3;
      }
      case fw::SM_CXSIZE: {
        const int button = wxSystemSettings::GetMetric(wxSYS_CAPTION_Y);
        return button > 0 ? button : 36;
      }
      case fw::SM_CYSMCAPTION: {
        const int caption = wxSystemSettings::GetMetric(wxSYS_CAPTION_Y);
        return caption > 0 ? caption : 23;
      }
      default:
        return 0;
    }
  });
}

int WxUiDriver::GetCaptionTextWidth(const std::wstring& text) {
  return guiThread_->Call([&text] {
    wxScreenDC dc;
    wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    font.MakeBold();
    dc.SetFont(font);
    return dc.GetTextExtent(ToWx(text)).x;
  });
}

}  // namespace gui
