// Edit boxes: single or multi-line, read-only, with the model's limit.
#pragma once

#include "gui/ControlView.h"

class wxTextCtrl;

namespace gui {

class EditView final : public ControlView {
 public:
  EditView(DialogWindow& owner, fw::Control& control);
  wxWindow* Window() override;
  void Mirror(unsigned flags) override;

 private:
  wxTextCtrl* text_ = nullptr;  // owned by the dialog window
  bool multiline_ = false;
};

}  // namespace gui
