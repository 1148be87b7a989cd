// List boxes as wx list boxes filled from the model's strings.
#include "gui/ListBoxView.h"

#include <wx/listbox.h>

#include "fw/ListBox.h"
#include "gui/DialogWindow.h"
#include "gui/WxText.h"

namespace gui {

ListBoxView::ListBoxView(DialogWindow& owner, fw::Control& control) : ControlView(owner, control) {
  const wxRect rect = owner.Place(control);
  list_ = new wxListBox(owner.Client(), wxID_ANY, rect.GetPosition(), rect.GetSize());
  const int id = control.GetDlgCtrlID();
  list_->Bind(wxEVT_LISTBOX, [this, id](wxCommandEvent&) {
    if (IsFilling()) return;
    (void)Input().ChooseItem(id, list_->GetSelection());
    AfterInput();
  });
  list_->Bind(wxEVT_LISTBOX_DCLICK, [this, id](wxCommandEvent&) {
    if (IsFilling()) return;
    (void)Input().DoubleClickItem(id, list_->GetSelection());
    AfterInput();
  });
  Update(fw::kChangeState | fw::kChangeItems | fw::kChangeSelection);
}

wxWindow* ListBoxView::Window() { return list_; }

void ListBoxView::Mirror(unsigned flags) {
  UpdateCommon(flags, false);
  auto& box = static_cast<fw::ListBox&>(Control());
  if ((flags & fw::kChangeItems) != 0) {
    wxArrayString texts;
    const int count = box.GetCount();
    for (int i = 0; i < count; ++i) texts.Add(ToWx(box.GetText(i)));
    list_->Set(texts);
  }
  if ((flags & (fw::kChangeItems | fw::kChangeSelection)) != 0) {
    const int chosen = box.GetCurSel();
    if (chosen < 0) {
      list_->SetSelection(wxNOT_FOUND);
    } else if (list_->GetSelection() != chosen) {
      list_->SetSelection(chosen);
    }
  }
}

}  // namespace gui
