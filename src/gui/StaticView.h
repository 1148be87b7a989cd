// Static texts, bordered or sunken, and pictures (SS_BITMAP).
#pragma once

#include "gui/ControlView.h"

namespace gui {

class StaticView final : public ControlView {
 public:
  StaticView(DialogWindow& owner, fw::Control& control);
  wxWindow* Window() override { return window_; }
  void Mirror(unsigned flags) override;

 private:
  bool IsPicture() const;

  wxWindow* window_ = nullptr;  // owned by the dialog window
};

}  // namespace gui
