// Buttons as the platform has them: push buttons (one may be the default), check boxes, radio
// buttons and group boxes share one class that keeps the check state. Any thread (see Control).
#pragma once

#include "fw/Control.h"

namespace fw {

inline constexpr int BST_UNCHECKED = 0;
inline constexpr int BST_CHECKED = 1;

class Button : public Control {
 public:
  using Control::Control;

  // BST_UNCHECKED or BST_CHECKED. Setting it raises no click, as on the platform.
  int GetCheck() const;
  void SetCheck(int check);
  // The button type of the style (BS_PUSHBUTTON, BS_DEFPUSHBUTTON, BS_AUTOCHECKBOX, ...).
  unsigned GetButtonStyle() const { return GetStyle() & BS_TYPEMASK; }
  bool IsPushButton() const;

 private:
  int check_ = BST_UNCHECKED;
};

}  // namespace fw
