// A dialog as a retained model: built from a template, it owns one control object per template
// entry, looked up by id, and the handlers wired to (id, event). DoModal hands it to the UI
// driver, whose presenter shows it (the headless driver runs a script; a windowing presenter
// shows real windows) and feeds the user's input back through the same handlers.
//
// A later dialog reads like this:
//
//   class EditDesc : public fw::Dialog {
//    public:
//     EditDesc() : Dialog(kEditDescTemplate) {  // the template among the module resources
//       On(kDescriptionEdit, fw::Event::kTextChange, [this] { OnDescriptionChanged(); });
//     }
//     std::wstring description;
//    protected:
//     void DoDataExchange(fw::DataExchange& exchange) override {
//       exchange.Text(kDescriptionEdit, description);
//       exchange.MaxChars(kDescriptionEdit, description, 70);
//     }
//    private:
//     void OnDescriptionChanged() { GetDlgItem(fw::IDOK)->EnableWindow(true); }
//   };
//   EditDesc dialog;
//   dialog.description = block.description;
//   if (dialog.DoModal() == fw::IDOK) block.description = dialog.description;
//
// Threads. The thread that calls DoModal (or Create) is the dialog's thread while it is shown:
// handlers, OnInitDialog, OnOK, OnCancel and the timers run there, and only there. EndDialog,
// PostCommand, Handle, IsShown, the caption and every control may be used from any thread; posted
// messages are delivered on the dialog's thread in the order they were posted.
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "fw/Control.h"
#include "fw/DialogHandle.h"
#include "fw/DialogQueue.h"
#include "fw/DialogTemplate.h"
#include "fw/Notify.h"
#include "fw/UiDriver.h"

namespace fw {

class DataExchange;
class Dialog;

// The dialog that holds the mouse capture, or nullptr. Any thread.
Dialog* GetCapture();

class Dialog {
 public:
  using Handler = std::function<void(Notify& notify)>;
  using SimpleHandler = std::function<void()>;

  explicit Dialog(DialogTemplate dialogTemplate);
  // The template with this id among the module resources (see Resources.h). When there is none,
  // DoModal and Create fail (-1, false) as the platform's do.
  explicit Dialog(int templateId);
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // --- Showing ------------------------------------------------------------------------------
  // Runs the dialog modally on the calling thread; returns the end code, -1 when the template
  // is missing or the dialog is shown already.
  int DoModal();
  // Shows the dialog modeless on the calling thread, which delivers its posted messages while
  // it runs a modal loop; false when it is shown already or has no template.
  bool Create();
  void DestroyWindow();
  // Any thread. Ends the modal loop with `code`: after the running handler on the dialog's
  // thread, or posted (in order with other posts) from any other.
  void EndDialog(int code);
  // Any thread: posts command `id`, handled as Event::kCommand on the dialog's thread.
  bool PostCommand(int id);
  // Any thread: the handle of the showing now open (posts nowhere when none is).
  DialogHandle Handle() const;
  bool IsShown() const;
  bool IsModal() const { return modal_; }
  bool OnDialogThread() const;

  // --- Caption and geometry -----------------------------------------------------------------
  std::wstring GetWindowText() const;
  void SetWindowText(const std::wstring& caption);
  const DialogTemplate& Template() const { return template_; }
  CSize BaseUnits() const { return baseUnits_; }
  CRect MapDialogRect(const CRect& dialogUnits) const;
  // The client area in pixels, from (0, 0).
  CRect GetClientRect() const;
  // Makes the client area this wide and high (the presenter follows).
  void SetClientSize(CSize size);
  // A message box over the dialog; without a caption it carries the application's name. Any
  // thread.
  int MessageBox(const std::wstring& text, const std::wstring& caption = {}, unsigned type = MB_OK);

  // --- Controls -----------------------------------------------------------------------------
  // The first control with this id, or nullptr.
  Control* GetDlgItem(int id) const;
  // The control with this id as its class; throws std::logic_error when there is none of that
  // class, which is a fault in the dialog's code.
  template <typename T>
  T& Item(int id) const {
    if (auto* control = dynamic_cast<T*>(GetDlgItem(id))) return *control;
    throw std::logic_error("dialog has no control " + std::to_string(id) + " of the kind asked");
  }
  // Every control in template order.
  const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }
  std::wstring GetDlgItemText(int id) const;
  void SetDlgItemText(int id, const std::wstring& text);
  int IsDlgButtonChecked(int id) const;
  void CheckDlgButton(int id, int check);
  // Checks `checkId` and unchecks the other radio buttons with ids firstId..lastId.
  void CheckRadioButton(int firstId, int lastId, int checkId);
  // The checked radio button among ids firstId..lastId, or 0.
  int GetCheckedRadioButton(int firstId, int lastId) const;
  // The radio buttons of the group that holds control `id`, in template order: from the
  // nearest control at or before it with WS_GROUP to the next control with WS_GROUP.
  std::vector<Control*> RadioGroup(int id) const;

  // --- Focus and the default button (dialog's thread) ----------------------------------------
  void GotoDlgCtrl(int id);
  int GetFocusId() const;  // 0 when no control has the focus
  void SetDefID(int id);
  // The default push button's id: SetDefID's, else the template's BS_DEFPUSHBUTTON, else 0.
  int GetDefID() const;

  // --- Mouse capture (dialog's thread) --------------------------------------------------------
  // While a shown dialog holds the capture, the user's next mouse press anywhere reaches it as
  // Event::kMouseDown (wired under kDialogId) instead of the control beneath, and the next key
  // reaches it as Event::kKey under kDialogId: a window takes the capture just after it is
  // shown, so it is the active one. One dialog holds it at a time; ending the showing releases
  // it.
  void SetCapture();
  void ReleaseCapture();

  // --- Handlers (wire them before showing or on the dialog's thread) -------------------------
  void On(int id, Event event, Handler handler);
  void On(int id, Event event, SimpleHandler handler);

  // --- Data exchange and timers (dialog's thread) --------------------------------------------
  // Loads the controls from the members (false) or stores and validates them (true); false when
  // a validation failed, after its message.
  bool UpdateData(bool saveAndValidate = true);
  // Event::kTimer for `id` about every `elapseMs` milliseconds while the dialog is shown.
  void SetTimer(int id, unsigned elapseMs);
  bool KillTimer(int id);
  std::vector<int> TimerIds() const;
  // The period SetTimer gave the timer, 0 for no such timer.
  unsigned TimerElapse(int id) const;

  // --- For the UI driver and presenters (dialog's thread unless said otherwise) -------------
  // Any thread: the posted-message queue and the change notes.
  DialogQueue& Queue() const { return *queue_; }
  // Opens a showing on the calling thread, which becomes the dialog's thread.
  void BeginShowing(bool modal);
  // Runs OnInitDialog and gives the first tab stop the focus when it asks for that.
  void InitDialog();
  // Delivers queued messages in order until none is left or the dialog has ended; returns
  // IsEnded().
  bool DeliverPosted();
  bool IsEnded() const { return ended_.load(); }
  int EndCode() const { return endCode_.load(); }
  // Ends the showing: timers stop, the queue closes and later posts are dropped.
  void FinishShowing();
  // Runs the handler for the notification, then what the platform does when nobody handled it:
  // a click or command on IDOK or IDCANCEL calls OnOK or OnCancel, a key the control did not
  // use goes to ProcessKey.
  void Dispatch(Notify& notify);
  // Any thread: a control's notification, dispatched now on the dialog's thread and posted from
  // any other; dropped while the dialog is not shown.
  void Raise(Notify notify);
  // The dialog's own keys: Enter presses the focused push button or the default one (IDOK when
  // there is none), Escape is IDCANCEL, Tab moves the focus on, F1 asks for help.
  void ProcessKey(Key key);
  void FireTimer(int id);

 protected:
  virtual void DoDataExchange(DataExchange& exchange);
  // Default: loads the controls (UpdateData(false)) and returns true, so the first tab stop gets
  // the focus. Return false after giving the focus yourself.
  virtual bool OnInitDialog();
  // Default: stores the controls and ends with IDOK when they validate.
  virtual void OnOK();
  // Default: ends with IDCANCEL.
  virtual void OnCancel();

 private:
  void BuildControls();
  const Handler* FindHandler(int id, Event event) const;
  void CommandFallback(Notify& notify);
  void MoveFocusToNextTabStop();
  bool IsTabStop(const Control& control) const;

  DialogTemplate template_;
  bool missingTemplate_ = false;
  CSize baseUnits_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::shared_ptr<DialogQueue> queue_;
  std::map<std::pair<int, Event>, Handler> handlers_;

  mutable std::mutex stateLock_;  // guards the caption, the client size and the timers
  std::wstring caption_;
  CSize clientSize_;
  std::map<int, unsigned> timers_;

  bool modal_ = false;
  std::atomic<bool> ended_{false};
  std::atomic<int> endCode_{0};
  int focusIndex_ = -1;  // dialog's thread
  int defId_ = 0;
};

}  // namespace fw
