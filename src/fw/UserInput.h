// What a user does to a shown dialog, delivered through the same handlers a real click or key
// reaches. Presenters call these: the headless driver for its script steps, a windowing
// presenter for the events of its windows. Each call runs on the dialog's thread; when the
// action cannot be done (no such control, no such item, a disabled or hidden control) it returns
// an error naming what is wrong and changes nothing. While another dialog holds the mouse
// capture (see Dialog::SetCapture), a press of a mouse button or a key goes to that dialog
// instead, and the control is left alone.
#pragma once

#include <string>

#include "fw/Notify.h"
#include "fw/Result.h"

namespace fw {

class Control;
class Dialog;

class UserInput {
 public:
  explicit UserInput(Dialog& dialog) : dialog_(dialog) {}

  // A button, check box (toggles it), radio button (checks it, unchecks its group) or
  // owner-drawn button (its main part).
  Status Click(int id);
  // Clicks a check box or radio button when its check differs; a radio button cannot be
  // unchecked by the user.
  Status SetCheck(int id, bool on);
  // Replaces the text of an edit or an editable combo as typing would (cut to the limit), with
  // one text change.
  Status Type(int id, const std::wstring& text);
  // Gives the control the focus and presses the key there; a key the control does not use goes
  // to the dialog (Enter, Escape, Tab, F1).
  Status PressKey(int id, Key key);
  // The item of a combo box, list box or list control (its label) with exactly this text.
  Result<int> FindItem(int id, const std::wstring& text) const;
  // A left click on the item: chosen in a combo box or list box (selection change), selected
  // and focused alone in a list control (item changes, then the click, with `alt` held or not).
  Status ChooseItem(int id, int position, bool alt = false);
  // A left click on the empty space of a list control (with `alt` held or not): the selection
  // goes, then the click, with no item.
  Status ClickEmpty(int id, bool alt = false);
  // The item clicked, then double-clicked (list box or list control).
  Status DoubleClickItem(int id, int position);
  // A right click: on a list control item (selected first, as the platform does) or on empty
  // space (-1); on any other control, on the control.
  Status RightClick(int id, int position);
  // A click on a report column's header.
  Status ClickColumn(int id, int column);
  // Edits the label of a list control item: begin (which the dialog may refuse), then end with
  // the new text (which the dialog may accept). Refused or not accepted is no error.
  Status EditLabel(int id, int position, const std::wstring& newText);
  // The drop-down part of an owner-drawn button, pressed with the left or the right button.
  Status DropDown(int id, bool rightButton = false);
  // The tooltip a list control gives for the item.
  Result<std::wstring> InfoTip(int id, int position);
  // Escape on the dialog.
  void Cancel();

 private:
  // The control, shown and enabled, or an error.
  Result<Control*> Usable(int id) const;
  Notify NotifyFor(int id, Event event) const;
  // When another dialog holds the capture: gives it the press (a mouse button, or `key`) and
  // returns true.
  bool ToCaptureHolder(Event event, Key key = Key::kCharacter, const std::wstring& text = {}) const;

  Dialog& dialog_;
};

}  // namespace fw
