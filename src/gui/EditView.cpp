// Edit boxes as wx text controls; what the user types goes to the model as typing.
#include "gui/EditView.h"

#include <wx/textctrl.h>

#include "fw/Edit.h"
#include "gui/DialogWindow.h"
#include "gui/WxText.h"

namespace gui {

EditView::EditView(DialogWindow& owner, fw::Control& control) : ControlView(owner, control) {
  const wxRect rect = owner.Place(control);
  const unsigned style = control.GetStyle();
  multiline_ = (style & fw::ES_MULTILINE) != 0;
  long wxStyle = 0;
  if (multiline_) wxStyle |= wxTE_MULTILINE;
  if ((style & fw::ES_READONLY) != 0) wxStyle |= wxTE_READONLY;
  text_ = new wxTextCtrl(owner.Client(), wxID_ANY, wxString(), rect.GetPosition(), rect.GetSize(),
                         wxStyle);
  const int id = control.GetDlgCtrlID();
  text_->Bind(wxEVT_TEXT, [this, id](wxCommandEvent&) {
    if (IsFilling()) return;
    (void)Input().Type(id, FromWx(text_->GetValue()));
    AfterInput();
  });
  Update(fw::kChangeState | fw::kChangeText);
}

wxWindow* EditView::Window() { return text_; }

void EditView::Mirror(unsigned flags) {
  UpdateCommon(flags, false);
  auto& edit = static_cast<fw::Edit&>(Control());
  if ((flags & fw::kChangeState) != 0) {
    text_->SetEditable(!edit.IsReadOnly());
    text_->SetMaxLength(static_cast<unsigned long>(edit.GetLimitText()));
  }
  if ((flags & fw::kChangeText) != 0) {
    const wxString value =
        ToWx(edit.GetWindowText(), multiline_ ? TextUse::kMultiline : TextUse::kLine);
    // ChangeValue raises no text event: the model knows its own text.
    if (text_->GetValue() != value) text_->ChangeValue(value);
  }
}

}  // namespace gui
