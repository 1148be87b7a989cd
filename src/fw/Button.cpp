// The check state of buttons.
#include "fw/Button.h"

namespace fw {

int Button::GetCheck() const {
  std::lock_guard guard(lock_);
  return check_;
}

void Button::SetCheck(int check) {
  int state = check == BST_UNCHECKED ? BST_UNCHECKED : BST_CHECKED;
  {
    std::lock_guard guard(lock_);
    if (check_ == state) return;
    check_ = state;
  }
  NoteChange(kChangeState);
}

bool Button::IsPushButton() const {
  unsigned type = GetButtonStyle();
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW;
}

}  // namespace fw
