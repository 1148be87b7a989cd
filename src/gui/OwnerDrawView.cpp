// Owner-drawn buttons painted from the model's face or its image list.
#include "gui/OwnerDrawView.h"

#include <wx/dcbuffer.h>
#include <wx/renderer.h>

#include "fw/OwnerDrawButton.h"
#include "gui/DialogWindow.h"
#include "gui/ImageCache.h"

namespace gui {

OwnerDrawView::OwnerDrawView(DialogWindow& owner, fw::Control& control)
    : ControlView(owner, control) {
  const wxRect rect = owner.Place(control);
  window_ = new wxWindow(owner.Client(), wxID_ANY, rect.GetPosition(), rect.GetSize(),
                         wxFULL_REPAINT_ON_RESIZE);
  window_->SetBackgroundStyle(wxBG_STYLE_PAINT);
  window_->Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(window_);
    Paint(dc);
  });
  window_->Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent&) {
    pressed_ = true;
    window_->Refresh();
  });
  window_->Bind(wxEVT_LEFT_UP, [this](wxMouseEvent& event) { Press(event, false); });
  window_->Bind(wxEVT_RIGHT_UP, [this](wxMouseEvent& event) { Press(event, true); });
  Update(fw::kChangeState);
}

void OwnerDrawView::Mirror(unsigned flags) {
  UpdateCommon(flags, false);
  window_->Refresh();
}

void OwnerDrawView::Press(wxMouseEvent& event, bool rightButton) {
  const bool wasPressed = pressed_;
  pressed_ = false;
  window_->Refresh();
  auto& button = static_cast<fw::OwnerDrawButton&>(Control());
  const fw::CRect drop = button.DropDownRect();
  const wxPoint at = event.GetPosition();
  const bool onDrop = !drop.IsRectEmpty() && at.x >= drop.left && at.x < drop.right &&
                      at.y >= drop.top && at.y < drop.bottom;
  const int id = button.GetDlgCtrlID();
  if (onDrop) {
    (void)Input().DropDown(id, rightButton);
  } else if (!rightButton && wasPressed) {
    (void)Input().Click(id);
  } else {
    return;
  }
  AfterInput();
}

void OwnerDrawView::Paint(wxDC& dc) {
  auto& button = static_cast<fw::OwnerDrawButton&>(Control());
  const wxSize size = window_->GetClientSize();
  if (button.HasDrawFunction()) {
    const wxBitmap face = ToWxBitmap(button.DrawItem(pressed_));
    if (face.IsOk()) {
      dc.DrawBitmap(face, 0, 0);
      return;
    }
  }
  const wxColour background = window_->GetBackgroundColour();
  dc.SetBackground(wxBrush(background));
  dc.Clear();
  wxRendererNative& renderer = wxRendererNative::Get();
  renderer.DrawPushButton(window_, dc, wxRect(size), pressed_ ? static_cast<int>(wxCONTROL_PRESSED) : 0);
  const fw::CRect drop = button.DropDownRect();
  if (!drop.IsRectEmpty()) {
    renderer.DrawDropArrow(window_, dc,
                           wxRect(drop.left, drop.top, drop.Width(), drop.Height()));
  }
  const wxBitmap& image = Owner().Images().Get(button.GetImageList(), button.GetImage(), background);
  if (image.IsOk()) dc.DrawBitmap(image, 2, 2);
}

}  // namespace gui
