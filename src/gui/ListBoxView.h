// List boxes with one chosen item.
#pragma once

#include "gui/ControlView.h"

class wxListBox;

namespace gui {

class ListBoxView final : public ControlView {
 public:
  ListBoxView(DialogWindow& owner, fw::Control& control);
  wxWindow* Window() override;
  void Update(unsigned flags) override;

 private:
  wxListBox* list_ = nullptr;  // owned by the dialog window
  bool syncing_ = false;  // the view is being filled from the model: its events are not the user's
};

}  // namespace gui
