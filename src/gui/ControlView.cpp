// What every control view shares, and the choice of view by kind.
#include "gui/ControlView.h"

#include "gui/ButtonView.h"
#include "gui/ComboView.h"
#include "gui/DialogWindow.h"
#include "gui/EditView.h"
#include "gui/ListBoxView.h"
#include "gui/ListView.h"
#include "gui/OwnerDrawView.h"
#include "gui/ProgressView.h"
#include "gui/StaticView.h"
#include "gui/WxText.h"

namespace gui {

std::unique_ptr<ControlView> ControlView::Make(DialogWindow& owner, fw::Control& control) {
  switch (control.Kind()) {
    case fw::ControlKind::kButton:
    case fw::ControlKind::kCheckBox:
    case fw::ControlKind::kRadioButton:
    case fw::ControlKind::kGroupBox:
      return std::make_unique<ButtonView>(owner, control);
    case fw::ControlKind::kOwnerDrawButton:
      return std::make_unique<OwnerDrawView>(owner, control);
    case fw::ControlKind::kStatic:
      return std::make_unique<StaticView>(owner, control);
    case fw::ControlKind::kEdit:
      return std::make_unique<EditView>(owner, control);
    case fw::ControlKind::kComboBox:
      return std::make_unique<ComboView>(owner, control);
    case fw::ControlKind::kListBox:
      return std::make_unique<ListBoxView>(owner, control);
    case fw::ControlKind::kListCtrl:
      return std::make_unique<ListView>(owner, control);
    case fw::ControlKind::kProgress:
      return std::make_unique<ProgressView>(owner, control);
  }
  return nullptr;
}

void ControlView::Update(unsigned flags) {
  struct Filling {
    bool& filling;
    explicit Filling(bool& flag) : filling(flag) { filling = true; }
    ~Filling() { filling = false; }
  } filling(filling_);
  Mirror(flags);
}

void ControlView::UpdateCommon(unsigned flags, bool withText) {
  wxWindow* window = Window();
  if ((flags & fw::kChangeState) != 0) {
    window->SetSize(owner_.Place(control_));
    window->Enable(control_.IsWindowEnabled());
    window->Show(control_.IsWindowVisible());
  }
  if (withText && (flags & fw::kChangeText) != 0) {
    wxString text = ToWx(control_.GetWindowText());
    // The platform's mnemonic marker is the same character wx uses.
    if (window->GetLabel() != text) window->SetLabel(text);
  }
}

void ControlView::AfterInput() { owner_.TakeChanges(); }

}  // namespace gui
