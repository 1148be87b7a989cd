// What a dialog's handlers receive: the event, the control or command id, and the details of
// list, key and label-edit events, with the fields a handler fills to answer.
#pragma once

#include <cstdint>
#include <string>

#include "fw/Geometry.h"

namespace fw {

// The data a list item, list box item or combo item carries for the program (a pointer or a
// number), as the platform's item data is.
using ItemData = std::uintptr_t;

// The id under which the dialog's own events (help) are wired.
inline constexpr int kDialogId = 0;

enum class Event {
  kClicked,         // a button, check box, radio button or owner-drawn button was clicked; a list
                    // control item was clicked (`alt` when the Alt key was held)
  kDoubleClicked,   // list control or list box item
  kRightClicked,    // any control; a list control gives the item hit, or -1 for empty space
  kSelChange,       // combo box or list box: the user chose another item
  kTextChange,      // an edit's text changed (typed or set), or an editable combo was typed in
  kItemChanged,     // list control: an item's state changed (`oldState`, `newState`)
  kColumnClick,     // list control in report view: a column header was clicked (`column`)
  kBeginLabelEdit,  // list control: the user starts editing a label; set `refuse` to forbid it
  kEndLabelEdit,    // list control: the user ended a label edit with `text`; set `accept` to take it
  kDropDown,        // owner-drawn button: its drop-down part was pressed
  kKey,             // a key reached the focused control; set `handled` when the control used it
  kInfoTip,         // list control: the tooltip for `item` is asked for; fill `text`
  kTimer,           // the dialog's timer `id` fired
  kCommand,         // command `id`: posted, chosen from a menu, or a click nobody else handled
  kHelp,            // F1 on the dialog (wired under kDialogId)
  kMouseDown,       // a mouse button was pressed while the dialog held the capture (kDialogId)
};

// kCharacter: a key that types a character (in `text`); the dialog itself does nothing with it.
enum class Key { kEnter, kEscape, kTab, kF1, kCharacter };

struct Notify {
  int id = 0;
  Event event = Event::kCommand;
  int item = -1;          // display position of the item, -1 for none
  ItemData itemData = 0;  // the item's data when `item` is an item
  int column = -1;
  unsigned oldState = 0;  // list item states (LVIS_*)
  unsigned newState = 0;
  Key key = Key::kEnter;
  bool alt = false;
  bool rightButton = false;  // the drop-down part was pressed with the right mouse button
  CPoint point;      // where the mouse was, in the control's pixels (clicks on a list control)
  std::wstring text;  // the new label (end label edit); the tooltip (info tip, filled in)
  bool refuse = false;
  bool accept = false;
  bool handled = false;
};

}  // namespace fw
