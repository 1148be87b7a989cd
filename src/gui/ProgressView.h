// Progress bars.
#pragma once

#include "gui/ControlView.h"

class wxGauge;

namespace gui {

class ProgressView final : public ControlView {
 public:
  ProgressView(DialogWindow& owner, fw::Control& control);
  wxWindow* Window() override;
  void Mirror(unsigned flags) override;

 private:
  wxGauge* gauge_ = nullptr;  // owned by the dialog window
};

}  // namespace gui
