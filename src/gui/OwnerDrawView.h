// Owner-drawn buttons: the owner's face when it paints one, otherwise a push button frame with
// the image of its list and the arrow of its drop-down part. Clicks on the drop-down part raise
// the drop-down, with the left or the right button.
#pragma once

#include "gui/ControlView.h"

class wxDC;
class wxMouseEvent;

namespace gui {

class OwnerDrawView final : public ControlView {
 public:
  OwnerDrawView(DialogWindow& owner, fw::Control& control);
  wxWindow* Window() override { return window_; }
  void Mirror(unsigned flags) override;

 private:
  void Paint(wxDC& dc);
  void Press(wxMouseEvent& event, bool rightButton);

  wxWindow* window_ = nullptr;  // owned by the dialog window
  bool pressed_ = false;
};

}  // namespace gui
