// Push buttons (one of them the default), check boxes, radio buttons and group boxes.
#pragma once

#include "gui/ControlView.h"

namespace gui {

class ButtonView final : public ControlView {
 public:
  ButtonView(DialogWindow& owner, fw::Control& control);
  wxWindow* Window() override { return window_; }
  void Mirror(unsigned flags) override;

 private:
  wxWindow* window_ = nullptr;  // owned by the dialog window
};

}  // namespace gui
