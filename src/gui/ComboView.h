// Combo boxes: drop-down lists (a wx choice) and editable ones (a wx combo box); the model
// keeps them sorted.
#pragma once

#include "gui/ControlView.h"

class wxItemContainer;

namespace gui {

class ComboView final : public ControlView {
 public:
  ComboView(DialogWindow& owner, fw::Control& control);
  wxWindow* Window() override { return window_; }
  void Mirror(unsigned flags) override;

 private:
  wxWindow* window_ = nullptr;  // owned by the dialog window
  wxItemContainer* items_ = nullptr;
};

}  // namespace gui
