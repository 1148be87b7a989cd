// The UI driver that shows the framework's dialogs as wxWidgets windows. Without a script the
// user drives them: clicks, keys and texts go back through fw::UserInput, and the questions are
// real wx dialogs (WxQuestions). With a script (`--ui FILE`) the same script engine as the
// headless driver takes the steps, answers the questions and writes the `ui:` lines, while the
// windows show the model as the steps change it; `screenshot PATH` saves the active dialog.
//
// Threads: construct, configure and destroy on the GUI thread (after gui::StartWindows). The
// modal loops run on the thread that shows the dialog, which must be the GUI thread. Questions
// may come from any thread: they are carried over to the GUI thread and answered there while the
// asking thread waits.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fw/HeadlessUiDriver.h"
#include "fw/UiDriver.h"
#include "fw/UiScript.h"

class wxWindow;

namespace gui {

class DialogPresenter;
class GuiThread;
class WxQuestions;

class WxUiDriver : public fw::UiDriver {
 public:
  WxUiDriver();
  ~WxUiDriver() override;
  WxUiDriver(const WxUiDriver&) = delete;
  WxUiDriver& operator=(const WxUiDriver&) = delete;

  // The dialogs' parent window (the host window); nullptr: none.
  void SetOwnerWindow(wxWindow* owner);
  // From now on the script drives the dialogs and answers the questions, writing each `ui:`
  // line to `output`, as the headless driver does.
  void SetScript(std::vector<fw::UiStep> steps, fw::HeadlessUiDriver::Output output);
  bool HasScript() const { return scripted_; }
  // The printer an `answer print` step asks for.
  void SetPrinterFactory(fw::HeadlessUiDriver::PrinterFactory factory);
  // The script's session is over: steps left are failures. True when it ran through (always
  // without a script).
  bool Finish();

  // --- fw::UiDriver ---------------------------------------------------------------------------
  int MessageBox(const std::wstring& text, const std::wstring& caption, unsigned type) override;
  void BeginWaitCursor() override;
  void EndWaitCursor() override;
  std::optional<int> ChooseColor(int initialColor) override;
  int RunModal(fw::Dialog& dialog) override;
  void ShowModeless(fw::Dialog& dialog) override;
  void DestroyModeless(fw::Dialog& dialog) override;
  int TrackPopupMenu(const fw::Menu& menu, const fw::PopupRequest& request) override;
  std::optional<std::wstring> BrowseForFolder(const fw::FolderRequest& request) override;
  std::optional<std::wstring> ChooseFile(const fw::FileRequest& request) override;
  std::unique_ptr<fw::PrinterDC> ChoosePrinter(const fw::PrintRequest& request) override;
  bool ShowHelp(const std::wstring& file, fw::HelpCommand command) override;
  int GetSystemMetrics(int index) override;
  int GetCaptionTextWidth(const std::wstring& text) override;

 private:
  int RunInteractive(fw::Dialog& dialog);
  // A question: the script engine answers it when a script is set (or no question windows
  // are built in), else the question windows on the GUI thread.
  template <typename AskWindows, typename AskScript>
  auto Ask(AskWindows windows, AskScript script) -> decltype(script());

  std::unique_ptr<DialogPresenter> presenter_;
  std::unique_ptr<GuiThread> guiThread_;
  std::shared_ptr<WxQuestions> questions_;  // made only where the question windows are built
  fw::HeadlessUiDriver engine_;  // the script engine, used once a script is set
  bool scripted_ = false;
};

}  // namespace gui
