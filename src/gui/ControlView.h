// The window that shows one control of a dialog. Each kind of control has its view; the view
// reads the control's state when told it changed, and turns what the user does to it into
// fw::UserInput calls. GUI thread only.
#pragma once

#include <memory>

#include <wx/window.h>

#include "fw/Control.h"
#include "fw/Dialog.h"
#include "fw/UserInput.h"

namespace gui {

class DialogWindow;

class ControlView {
 public:
  ControlView(DialogWindow& owner, fw::Control& control) : owner_(owner), control_(control) {}
  virtual ~ControlView() = default;
  ControlView(const ControlView&) = delete;
  ControlView& operator=(const ControlView&) = delete;

  virtual wxWindow* Window() = 0;
  // Shows the control's current state; `flags` (fw::ChangeFlags) say what changed. While it
  // runs, the events wx raises for the filling are not the user's: IsFilling() is true.
  void Update(unsigned flags);
  fw::Control& Control() const { return control_; }

  // The view of the control's kind.
  static std::unique_ptr<ControlView> Make(DialogWindow& owner, fw::Control& control);

 protected:
  // What Update does for the kind of control.
  virtual void Mirror(unsigned flags) = 0;
  // True while the view is being filled from the model: an event wx raises then must not
  // reach the model as the user's input.
  bool IsFilling() const { return filling_; }
  // Enabled, visible and placed as the control is; its text as a caption when `withText`.
  void UpdateCommon(unsigned flags, bool withText);
  fw::UserInput Input() const { return fw::UserInput(control_.GetParent()); }
  // What the user did went through the handlers: the dialog window takes the changes now.
  void AfterInput();
  DialogWindow& Owner() const { return owner_; }

 private:
  DialogWindow& owner_;
  fw::Control& control_;
  bool filling_ = false;
};

}  // namespace gui
