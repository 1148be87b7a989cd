// Static texts as wx static texts, pictures as static bitmaps.
#include "gui/StaticView.h"

#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "fw/Static.h"
#include "gui/DialogWindow.h"
#include "gui/ImageCache.h"
#include "gui/WxText.h"

namespace gui {

StaticView::StaticView(DialogWindow& owner, fw::Control& control) : ControlView(owner, control) {
  const wxRect rect = owner.Place(control);
  auto& model = static_cast<fw::Static&>(control);
  long style = 0;
  if (model.IsBordered()) style |= wxBORDER_SUNKEN;
  if (IsPicture()) {
    window_ = new wxStaticBitmap(owner.Client(), wxID_ANY, ToWxBitmap(model.GetBitmap()),
                                 rect.GetPosition(), rect.GetSize(), style);
  } else {
    const unsigned align = model.GetStyle() & 0x3;
    if (align == fw::SS_CENTER) style |= wxALIGN_CENTRE_HORIZONTAL;
    if (align == fw::SS_RIGHT) style |= wxALIGN_RIGHT;
    // The model's text is shown as it is: no mnemonics, no wrapping beyond the rectangle.
    window_ = new wxStaticText(owner.Client(), wxID_ANY, wxString(), rect.GetPosition(),
                               rect.GetSize(), style | wxST_NO_AUTORESIZE);
  }
  Update(fw::kChangeState | fw::kChangeText);
}

bool StaticView::IsPicture() const { return (Control().GetStyle() & 0x1F) == fw::SS_BITMAP; }

void StaticView::Mirror(unsigned flags) {
  UpdateCommon(flags, false);
  if ((flags & fw::kChangeText) == 0) return;
  if (auto* picture = dynamic_cast<wxStaticBitmap*>(window_)) {
    picture->SetBitmap(ToWxBitmap(static_cast<fw::Static&>(Control()).GetBitmap()));
    return;
  }
  auto* label = static_cast<wxStaticText*>(window_);
  wxString text = ToWx(Control().GetWindowText(), TextUse::kMultiline);
  if ((Control().GetStyle() & fw::SS_NOPREFIX) == 0) {
    text.Replace("&&", "\x01");
    text.Replace("&", "");
    text.Replace("\x01", "&");
  }
  if (label->GetLabelText() != text) label->SetLabelText(text);
}

}  // namespace gui
