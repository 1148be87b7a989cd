// List boxes with one chosen item.
#pragma once

#include "gui/ControlView.h"

class wxListBox;

namespace gui {

class ListBoxView final : public ControlView {
 public:
  ListBoxView(DialogWindow& owner, fw::Control& control);
  wxWindow* Window() override;
  void Mirror(unsigned flags) override;

 private:
  wxListBox* list_ = nullptr;  // owned by the dialog window
};

}  // namespace gui
