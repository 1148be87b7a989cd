// The state every control of a dialog keeps: id, kind, text, enabled, visible, styles and its
// rectangle. Controls are retained models: a presenter shows them and feeds the user's input
// back through the dialog's handlers.
//
// Threads: every member may be called from any thread (the loader fills lists while the dialog
// runs). Each control guards its state with its own lock, held only while the state is read or
// changed, never while a handler runs or while waiting for another thread. Each change is noted
// to the dialog's presenter. Notifications a change raises (an edit's text change, a list item's
// state change) run at once when the change is made on the dialog's thread, and are posted to it
// otherwise; while the dialog is not shown they are dropped, as a control without a window
// raises nothing.
#pragma once

#include <mutex>
#include <string>

#include "fw/DialogQueue.h"
#include "fw/DialogTemplate.h"
#include "fw/Geometry.h"
#include "fw/Notify.h"

namespace fw {

class Dialog;

class Control {
 public:
  // Built by the dialog from its template; `rect` is the template rectangle in pixels.
  Control(Dialog& dialog, int index, const ControlTemplate& controlTemplate, CRect rect);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  int GetDlgCtrlID() const { return id_; }
  ControlKind Kind() const { return kind_; }
  // The position in the dialog's template (the index change notes carry).
  int Index() const { return index_; }
  Dialog& GetParent() const { return dialog_; }

  virtual std::wstring GetWindowText() const;
  // Sets the caption or text. An edit raises its text change, as the platform's edit does.
  virtual void SetWindowText(const std::wstring& text);
  bool IsWindowEnabled() const;
  void EnableWindow(bool enable = true);
  bool IsWindowVisible() const;
  // SW_SHOW or SW_HIDE.
  void ShowWindow(int command);
  unsigned GetStyle() const;
  unsigned GetExStyle() const;
  void ModifyStyle(unsigned remove, unsigned add);
  // In pixels, in the dialog's client coordinates.
  CRect GetWindowRect() const;
  void MoveWindow(const CRect& rect);
  // (0, 0, width, height).
  CRect GetClientRect() const;

 protected:
  // Tells the presenter what changed; call it after releasing lock_.
  void NoteChange(unsigned flags) const;
  // Hands a notification to the dialog: run now on the dialog's thread, posted from any other.
  void Raise(Notify notify) const;
  // Sets the text under the lock and notes the change; true when it changed.
  bool StoreText(const std::wstring& text);

  // The state below, read by a subclass that holds lock_ already.
  unsigned GetStyleUnlocked() const { return style_; }
  unsigned GetExStyleUnlocked() const { return exStyle_; }
  CRect GetRectUnlocked() const { return rect_; }

  mutable std::mutex lock_;  // guards the state here and in every subclass

 private:
  Dialog& dialog_;
  const int index_;
  const int id_;
  const ControlKind kind_;
  std::wstring text_;
  unsigned style_;
  unsigned exStyle_;
  CRect rect_;
};

}  // namespace fw
