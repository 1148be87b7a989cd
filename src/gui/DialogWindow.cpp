// A dialog's window and the views of its controls.
#include "gui/DialogWindow.h"

#include <wx/app.h>

#include "gui/DialogUnits.h"
#include "gui/WxText.h"

namespace gui {
namespace {

// Disables the window and every window under it, so events already queued for them find no
// handler once the views are gone.
void DisableEvents(wxWindow* window) {
  window->SetEvtHandlerEnabled(false);
  for (wxWindow* child : window->GetChildren()) DisableEvents(child);
}

long FrameStyle(const fw::DialogTemplate& dialogTemplate) {
  long style = wxCAPTION;
  if ((dialogTemplate.style & fw::WS_SYSMENU) != 0) style |= wxSYSTEM_MENU | wxCLOSE_BOX;
  return style;
}

}  // namespace

DialogWindow::DialogWindow(fw::Dialog& dialog, wxWindow* parent, bool modal,
                           std::function<void()> takeChanges)
    : dialog_(dialog), takeChanges_(std::move(takeChanges)) {
  const fw::DialogTemplate& dialogTemplate = dialog.Template();
  frame_ = new wxDialog(parent, wxID_ANY, ToWx(dialog.GetWindowText()), wxDefaultPosition,
                        wxDefaultSize, FrameStyle(dialogTemplate));
  const wxFont font = TemplateFont(dialogTemplate);
  frame_->SetFont(font);
  baseUnits_ = FontBaseUnits(font);
  frame_->SetClientSize(ClientSize());
  for (const std::unique_ptr<fw::Control>& control : dialog.Controls()) {
    views_.push_back(ControlView::Make(*this, *control));
  }
  frame_->Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& event) { OnCharHook(event); });
  frame_->Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
    // The close box is Escape; the window goes when the model's showing ends.
    event.Veto();
    fw::UserInput(dialog_).Cancel();
    TakeChanges();
  });
  frame_->CentreOnParent();
  frame_->Show();
  if (modal) disabler_ = std::make_unique<wxWindowDisabler>(frame_);
  FollowModelFocus();
}

DialogWindow::~DialogWindow() {
  disabler_.reset();
  DisableEvents(frame_);
  frame_->Hide();
  views_.clear();
  // The window may be under an event being handled now: it goes once that is over.
  wxTheApp->ScheduleForDestruction(frame_);
}

int DialogWindow::ScaleX(int modelPixels) const {
  const fw::CSize model = dialog_.BaseUnits();
  return model.cx > 0 ? modelPixels * baseUnits_.cx / model.cx : modelPixels;
}

int DialogWindow::ScaleY(int modelPixels) const {
  const fw::CSize model = dialog_.BaseUnits();
  return model.cy > 0 ? modelPixels * baseUnits_.cy / model.cy : modelPixels;
}

// Where the control still stands where its template put it, its dialog units are converted
// with this font's base units; a control the dialog moved keeps its place in proportion.
wxRect DialogWindow::Place(const fw::Control& control) const {
  const fw::CRect now = control.GetWindowRect();
  const auto index = static_cast<std::size_t>(control.Index());
  const std::vector<fw::ControlTemplate>& templates = dialog_.Template().controls;
  fw::CRect pixels;
  if (index < templates.size() &&
      fw::MapDialogRect(templates[index].rect, dialog_.BaseUnits()) == now) {
    pixels = fw::MapDialogRect(templates[index].rect, baseUnits_);
  } else {
    pixels = fw::CRect{ScaleX(now.left), ScaleY(now.top), ScaleX(now.right), ScaleY(now.bottom)};
  }
  return wxRect(pixels.left, pixels.top, pixels.Width(), pixels.Height());
}

wxSize DialogWindow::ClientSize() const {
  const fw::DialogTemplate& dialogTemplate = dialog_.Template();
  const fw::CRect model = dialog_.GetClientRect();
  const fw::CRect fromTemplate =
      fw::MapDialogRect(fw::CRect{0, 0, dialogTemplate.cx, dialogTemplate.cy}, dialog_.BaseUnits());
  if (model == fromTemplate) {
    const fw::CRect pixels =
        fw::MapDialogRect(fw::CRect{0, 0, dialogTemplate.cx, dialogTemplate.cy}, baseUnits_);
    return wxSize(pixels.Width(), pixels.Height());
  }
  return wxSize(ScaleX(model.Width()), ScaleY(model.Height()));
}

void DialogWindow::Apply(const std::vector<fw::ControlChange>& changes) {
  for (const fw::ControlChange& change : changes) {
    if (change.controlIndex == fw::kDialogChangeIndex) {
      frame_->SetTitle(ToWx(dialog_.GetWindowText()));
      frame_->SetClientSize(ClientSize());
      continue;
    }
    const auto index = static_cast<std::size_t>(change.controlIndex);
    if (index < views_.size() && views_[index]) views_[index]->Update(change.flags);
  }
  FollowModelFocus();
}

void DialogWindow::TakeChanges() const { takeChanges_(); }

ControlView* DialogWindow::FocusedView() const {
  for (wxWindow* focus = wxWindow::FindFocus(); focus != nullptr && focus != frame_;
       focus = focus->GetParent()) {
    for (const std::unique_ptr<ControlView>& view : views_) {
      if (view && view->Window() == focus) return view.get();
    }
  }
  return nullptr;
}

void DialogWindow::FollowModelFocus() {
  const int focusId = dialog_.GetFocusId();
  if (focusId == focusShown_) return;
  focusShown_ = focusId;
  for (const std::unique_ptr<ControlView>& view : views_) {
    if (view && view->Control().GetDlgCtrlID() == focusId) {
      view->Window()->SetFocus();
      return;
    }
  }
}

// The dialog's keys go to the model, which moves the focus, presses the default button or
// cancels; wx's own handling of them never runs.
void DialogWindow::OnCharHook(wxKeyEvent& event) {
  fw::Key key = fw::Key::kCharacter;
  switch (event.GetKeyCode()) {
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
      key = fw::Key::kEnter;
      break;
    case WXK_ESCAPE:
      key = fw::Key::kEscape;
      break;
    case WXK_TAB:
      key = fw::Key::kTab;
      break;
    case WXK_F1:
      key = fw::Key::kF1;
      break;
    default:
      event.Skip();
      return;
  }
  ControlView* focused = FocusedView();
  // A multi-line edit keeps its Enter.
  if (key == fw::Key::kEnter && focused != nullptr &&
      focused->Control().Kind() == fw::ControlKind::kEdit &&
      (focused->Control().GetStyle() & fw::ES_WANTRETURN) != 0) {
    event.Skip();
    return;
  }
  const int id = focused != nullptr ? focused->Control().GetDlgCtrlID() : dialog_.GetFocusId();
  if (id == 0 || !fw::UserInput(dialog_).PressKey(id, key)) dialog_.ProcessKey(key);
  focusShown_ = 0;
  TakeChanges();
}

}  // namespace gui
