// The UI driver without a screen: a complete presenter that runs modal loops by delivering
// posted messages and the steps of a script (see UiScript.h), answers questions from the same
// script, and records everything shown as `ui:` lines (see DialogDump.h for the dumps):
//
//   ui: dialog "CAPTION" shown             ui: dialog "CAPTION" ended N
//   ui: dialog "CAPTION" destroyed          (a modeless dialog)
//   ui: message "CAPTION" "TEXT" -> YES|NO|OK|CANCEL|RETRY|ABORT|IGNORE
//   ui: menu "A", -, "B" checked, "C" greyed, "Sub" {"D", "E"} -> "A"|none
//   ui: folder "TITLE" "START" -> "PATH"|cancelled
//   ui: file open|save "FOLDER" "NAME" -> "PATH"|cancelled
//   ui: print -> "PDFPATH" DPI|cancelled
//   ui: color N -> M|cancelled
//   ui: help "FILE" -> shown
//   ui: tip ID "ITEM" "TOOLTIP"
//   ui: screenshot "PATH" -> saved|no windows
//   ui: error line L: WHAT                 (a step that could not run; the session fails)
//
// Rules. An action step runs when the innermost modal dialog has delivered its posted messages
// (and its timers have fired once each, as if their time had passed since the last step). A
// question takes the next step when it is an answer of its kind, otherwise its default: the
// first button of a message box, none or cancelled for the others. When no step is left for a
// modal dialog, the driver presses Escape once and waits for the dialog to end. Every wait is
// bounded (120 s by default): `wait-idle`, an answer step that no question takes while a dialog
// idles, and a dialog that does not end after Escape. A step that cannot run prints an error,
// drops the rest of the script and closes every dialog with Escape from then on.
//
// Threads: questions may come from any thread; the modal loops run on their dialogs' threads.
// Every member is safe to call from any thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "fw/UiDriver.h"
#include "fw/UiPresenter.h"
#include "fw/UiScript.h"

namespace fw {

class HeadlessUiDriver : public UiDriver {
 public:
  struct ShownMessage {
    std::wstring text;
    std::wstring caption;
    unsigned type = 0;
    int answer = 0;
  };
  // Makes the printer an `answer print` step asks for: the PDF file and the dots per inch (0
  // for the printer's default); nothing when it cannot be made.
  using PrinterFactory =
      std::function<std::unique_ptr<PrinterDC>(const std::wstring& pdfPath, int dotsPerInch)>;
  // Receives each `ui:` line (without its line end), in order, while the driver's lock is held:
  // it must not call the driver.
  using Output = std::function<void(const std::string& line)>;

  static constexpr std::chrono::seconds kDefaultWaitLimit{120};

  HeadlessUiDriver() = default;

  // --- The script and the record ------------------------------------------------------------
  void AddSteps(std::vector<UiStep> steps);
  // Queues an answer for the next message box (as `answer message`).
  void QueueAnswer(int answer);
  // Queues an answer for the next colour dialog; nothing counts as cancelled.
  void QueueColorAnswer(std::optional<int> answer);
  // Lines go to `output` instead of the kept transcript.
  void SetOutput(Output output);
  void SetWaitLimit(std::chrono::milliseconds limit);
  void SetPrinterFactory(PrinterFactory factory);
  // A windowing driver that runs its scripts through this engine shows the dialogs through
  // `presenter` (not owned; nullptr: no windows). Set it before the first dialog is shown.
  void SetPresenter(UiPresenter* presenter);
  // The `ui:` lines recorded while no output was set.
  std::vector<std::string> Transcript() const;
  // True once a step could not run.
  bool Failed() const;
  // The session is over: every step left is reported as never run (a failure). Returns true
  // when the script ran through without a failure.
  bool Finish();

  std::vector<ShownMessage> Messages() const;
  std::vector<ShownMessage> TakeMessages();
  // The initial colours of the colour dialogs shown, in order.
  std::vector<int> ColorDialogsShown() const;
  // How many wait cursors are shown now, and how often one was begun in all.
  int WaitCursorDepth() const;
  int WaitCursorCount() const;
  // How many change notes the modal loops took from their dialogs (each covers every change
  // made since the one before).
  long ChangeNotesTaken() const;

  // --- UiDriver -----------------------------------------------------------------------------
  int MessageBox(const std::wstring& text, const std::wstring& caption, unsigned type) override;
  void BeginWaitCursor() override;
  void EndWaitCursor() override;
  std::optional<int> ChooseColor(int initialColor) override;
  int RunModal(Dialog& dialog) override;
  void ShowModeless(Dialog& dialog) override;
  void DestroyModeless(Dialog& dialog) override;
  int TrackPopupMenu(const Menu& menu, const PopupRequest& request) override;
  std::optional<std::wstring> BrowseForFolder(const FolderRequest& request) override;
  std::optional<std::wstring> ChooseFile(const FileRequest& request) override;
  std::unique_ptr<PrinterDC> ChoosePrinter(const PrintRequest& request) override;
  bool ShowHelp(const std::wstring& file, HelpCommand command) override;
  int GetSystemMetrics(int index) override;
  // Measured with the advance widths of the 9-point caption font at 96 dots per inch, by
  // character class: no font is loaded, and the answer is the same on every machine.
  int GetCaptionTextWidth(const std::wstring& text) override;

 private:
  enum class Next { kAction, kAnswer, kNone };
  using Clock = std::chrono::steady_clock;

  // All below with lock_ held unless said otherwise.
  void Emit(const std::string& line);
  void FailLocked(const UiStep* step, const std::wstring& what);
  // The next step when it answers a question of this verb (and takes it), else nothing.
  std::optional<UiStep> TakeAnswer(StepVerb verb);
  // A path an answer gives: relative ones are taken from the current folder.
  static std::wstring AnswerPath(const std::wstring& path);

  // Without lock_: the modal loop's parts.
  // What the script holds next (a copy of the step in `head`), and how many steps were taken.
  Next PeekNext(std::optional<UiStep>& head, std::uint64_t& taken) const;
  // Takes the next step when it is an action.
  std::optional<UiStep> TakeAction();
  void Fail(const UiStep* step, const std::wstring& what);
  void TakeNotes(Dialog& dialog);
  void DeliverAll(Dialog& dialog);
  void FireTimers(Dialog& dialog);
  void RunAction(Dialog& dialog, const UiStep& step);
  bool WaitIdle(Dialog& dialog);
  bool WaitForEnd(Dialog& dialog);
  // The presenter's wait, or the queue's own without one.
  bool WaitUntil(Dialog& dialog, Clock::time_point deadline);
  Status Screenshot(Dialog& dialog, const UiStep& step);

  mutable std::mutex lock_;
  std::deque<UiStep> steps_;
  Output output_;
  std::vector<std::string> transcript_;
  std::chrono::milliseconds waitLimit_ = kDefaultWaitLimit;
  PrinterFactory printerFactory_;
  UiPresenter* presenter_ = nullptr;  // set before dialogs show; read on the dialogs' thread
  bool failed_ = false;
  std::vector<Dialog*> modalDialogs_;     // innermost last
  std::vector<Dialog*> modelessDialogs_;  // shown modeless
  std::vector<ShownMessage> messages_;
  std::vector<int> colorDialogs_;
  int waitCursorDepth_ = 0;
  int waitCursorCount_ = 0;
  long changeNotes_ = 0;
  std::uint64_t stepsTaken_ = 0;  // changes whenever a step leaves the script
};

}  // namespace fw
