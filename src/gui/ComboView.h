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
  void Update(unsigned flags) override;

 private:
  wxWindow* window_ = nullptr;  // owned by the dialog window
  wxItemContainer* items_ = nullptr;
  // Set while the view is filled from the model: wx's events of that filling are not the
  // user's typing and must not reach the model.
  bool syncing_ = false;
};

}  // namespace gui
