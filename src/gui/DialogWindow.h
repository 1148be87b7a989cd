// One shown dialog as a wx dialog: its caption and size from the template, one view per control
// placed in dialog units of the template's font, and the model's changes shown as the presenter
// takes them. GUI thread only.
#pragma once

#include <memory>
#include <vector>

#include <wx/dialog.h>
#include <wx/utils.h>

#include "fw/Dialog.h"
#include "gui/ControlView.h"
#include "gui/ImageCache.h"

namespace gui {

class DialogWindow {
 public:
  // `takeChanges` runs after the user's input went through the handlers: the presenter takes
  // the dialog's changes then, so the window answers at once.
  DialogWindow(fw::Dialog& dialog, wxWindow* parent, bool modal, std::function<void()> takeChanges);
  ~DialogWindow();
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;

  wxDialog* Client() const { return frame_; }
  ImageCache& Images() { return images_; }
  fw::CSize BaseUnits() const { return baseUnits_; }
  // The control's rectangle in this window's pixels.
  wxRect Place(const fw::Control& control) const;
  // The window's client size for the model's.
  wxSize ClientSize() const;

  void Apply(const std::vector<fw::ControlChange>& changes);
  void TakeChanges() const;
  // The view whose window holds the wx focus, or nullptr.
  ControlView* FocusedView() const;

 private:
  int ScaleX(int modelPixels) const;
  int ScaleY(int modelPixels) const;
  void OnCharHook(wxKeyEvent& event);
  void FollowModelFocus();

  fw::Dialog& dialog_;
  wxDialog* frame_ = nullptr;
  std::unique_ptr<wxWindowDisabler> disabler_;  // a modal dialog disables the other windows
  fw::CSize baseUnits_;
  ImageCache images_;
  std::vector<std::unique_ptr<ControlView>> views_;  // by control index
  std::function<void()> takeChanges_;
  int focusShown_ = 0;
};

}  // namespace gui
