// Buttons of every plain kind as wx buttons, check boxes, radio buttons and static boxes.
#include "gui/ButtonView.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>

#include "fw/Button.h"
#include "gui/DialogWindow.h"
#include "gui/WxText.h"

namespace gui {

ButtonView::ButtonView(DialogWindow& owner, fw::Control& control) : ControlView(owner, control) {
  wxWindow* parent = owner.Client();
  const wxString caption = ToWx(control.GetWindowText());
  const wxRect rect = owner.Place(control);
  const int id = control.GetDlgCtrlID();
  switch (control.Kind()) {
    case fw::ControlKind::kCheckBox:
      window_ = new wxCheckBox(parent, wxID_ANY, caption, rect.GetPosition(), rect.GetSize());
      window_->Bind(wxEVT_CHECKBOX, [this, id](wxCommandEvent&) {
        (void)Input().Click(id);
        AfterInput();
      });
      break;
    case fw::ControlKind::kRadioButton:
      // Groups are the model's: every wx radio button stands alone and shows the model's check.
      window_ = new wxRadioButton(parent, wxID_ANY, caption, rect.GetPosition(), rect.GetSize(),
                                  wxRB_SINGLE);
      window_->Bind(wxEVT_RADIOBUTTON, [this, id](wxCommandEvent&) {
        (void)Input().Click(id);
        AfterInput();
      });
      break;
    case fw::ControlKind::kGroupBox:
      window_ = new wxStaticBox(parent, wxID_ANY, caption, rect.GetPosition(), rect.GetSize());
      window_->Lower();
      break;
    case fw::ControlKind::kButton:
    case fw::ControlKind::kOwnerDrawButton:
    case fw::ControlKind::kStatic:
    case fw::ControlKind::kEdit:
    case fw::ControlKind::kComboBox:
    case fw::ControlKind::kListBox:
    case fw::ControlKind::kListCtrl:
    case fw::ControlKind::kProgress: {
      auto* button = new wxButton(parent, wxID_ANY, caption, rect.GetPosition(), rect.GetSize());
      if (static_cast<fw::Button&>(control).GetButtonStyle() == fw::BS_DEFPUSHBUTTON) {
        button->SetDefault();
      }
      button->Bind(wxEVT_BUTTON, [this, id](wxCommandEvent&) {
        (void)Input().Click(id);
        AfterInput();
      });
      window_ = button;
      break;
    }
  }
  Update(fw::kChangeState | fw::kChangeText);
}

void ButtonView::Mirror(unsigned flags) {
  UpdateCommon(flags, true);
  auto& button = static_cast<fw::Button&>(Control());
  const bool checked = button.GetCheck() == fw::BST_CHECKED;
  if (auto* box = dynamic_cast<wxCheckBox*>(window_)) {
    if (box->GetValue() != checked) box->SetValue(checked);
  } else if (auto* radio = dynamic_cast<wxRadioButton*>(window_)) {
    if (radio->GetValue() != checked) radio->SetValue(checked);
  }
}

}  // namespace gui
