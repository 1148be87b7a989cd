// Combo boxes as wx choices and combo boxes, filled from the model's strings.
#include "gui/ComboView.h"

#include <wx/choice.h>
#include <wx/combobox.h>

#include "fw/ComboBox.h"
#include "gui/DialogWindow.h"
#include "gui/WxText.h"

namespace gui {

ComboView::ComboView(DialogWindow& owner, fw::Control& control) : ControlView(owner, control) {
  auto& combo = static_cast<fw::ComboBox&>(control);
  wxRect rect = owner.Place(control);
  // The template's height includes the dropped list; the closed box takes its own height.
  rect.height = wxDefaultCoord;
  const int id = control.GetDlgCtrlID();
  if (combo.IsEditable()) {
    auto* box = new wxComboBox(owner.Client(), wxID_ANY, wxString(), rect.GetPosition(),
                               rect.GetSize());
    box->Bind(wxEVT_TEXT, [this, id, box](wxCommandEvent&) {
      if (IsFilling()) return;
      (void)Input().Type(id, FromWx(box->GetValue()));
      AfterInput();
    });
    box->Bind(wxEVT_COMBOBOX, [this, id, box](wxCommandEvent&) {
      if (IsFilling()) return;
      (void)Input().ChooseItem(id, box->GetSelection());
      AfterInput();
    });
    window_ = box;
    items_ = box;
  } else {
    auto* choice = new wxChoice(owner.Client(), wxID_ANY, rect.GetPosition(), rect.GetSize());
    choice->Bind(wxEVT_CHOICE, [this, id, choice](wxCommandEvent&) {
      if (IsFilling()) return;
      (void)Input().ChooseItem(id, choice->GetSelection());
      AfterInput();
    });
    window_ = choice;
    items_ = choice;
  }
  Update(fw::kChangeState | fw::kChangeItems | fw::kChangeText | fw::kChangeSelection);
}

void ComboView::Mirror(unsigned flags) {
  UpdateCommon(flags & ~fw::kChangeState, false);
  auto& combo = static_cast<fw::ComboBox&>(Control());
  if ((flags & fw::kChangeState) != 0) {
    wxRect rect = Owner().Place(combo);
    window_->SetSize(rect.x, rect.y, rect.width, wxDefaultCoord);
    window_->Enable(combo.IsWindowEnabled());
    window_->Show(combo.IsWindowVisible());
  }
  if ((flags & fw::kChangeItems) != 0) {
    wxArrayString texts;
    const int count = combo.GetCount();
    for (int i = 0; i < count; ++i) texts.Add(ToWx(combo.GetLBText(i)));
    items_->Set(texts);
  }
  if ((flags & (fw::kChangeItems | fw::kChangeSelection | fw::kChangeText)) == 0) return;
  const int chosen = combo.GetCurSel();
  if (auto* box = dynamic_cast<wxComboBox*>(window_)) {
    const wxString text = ToWx(combo.GetWindowText());
    if (box->GetValue() != text) box->ChangeValue(text);
  } else if (items_->GetSelection() != chosen) {
    items_->SetSelection(chosen);
  }
}

}  // namespace gui
