// The list control's view: the active item window, clicks, label editing and tips.
#include "gui/ListView.h"

#include <wx/app.h>
#include <wx/panel.h>
#include <wx/textctrl.h>

#include "fw/ListCtrl.h"
#include "gui/DialogWindow.h"
#include "gui/IconGrid.h"
#include "gui/ReportList.h"
#include "gui/WxText.h"

namespace gui {
namespace {

fw::ListCtrl& Model(fw::Control& control) { return static_cast<fw::ListCtrl&>(control); }

}  // namespace

ListView::ListView(DialogWindow& owner, fw::Control& control) : ControlView(owner, control) {
  const wxRect rect = owner.Place(control);
  panel_ = new wxPanel(owner.Client(), wxID_ANY, rect.GetPosition(), rect.GetSize(),
                       wxBORDER_SUNKEN | wxWANTS_CHARS);
  panel_->Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
    if (wxWindow* shown = ItemWindow()) shown->SetSize(panel_->GetClientSize());
    event.Skip();
  });
  Update(fw::kChangeState | fw::kChangeLayout | fw::kChangeItems | fw::kChangeSelection);
}

wxWindow* ListView::Window() { return panel_; }

wxWindow* ListView::ItemWindow() const {
  if (Model(Control()).GetView() == fw::LVS_REPORT) return report_;
  return grid_;
}

void ListView::ShowActiveView() {
  fw::ListCtrl& model = Model(Control());
  const bool report = model.GetView() == fw::LVS_REPORT;
  if (report && report_ == nullptr) report_ = new ReportList(panel_, *this, model);
  if (!report && grid_ == nullptr) grid_ = new IconGrid(panel_, *this, model, Owner().Images());
  if (report_ != nullptr) report_->Show(report);
  if (grid_ != nullptr) grid_->Show(!report);
  ItemWindow()->SetSize(panel_->GetClientSize());
}

void ListView::Mirror(unsigned flags) {
  UpdateCommon(flags, false);
  if ((flags & fw::kChangeLayout) != 0 || ItemWindow() == nullptr) {
    ShowActiveView();
    flags |= fw::kChangeLayout | fw::kChangeItems | fw::kChangeSelection;
  }
  // Items moved under an open editor: the edit is dropped, as the platform drops it.
  if ((flags & fw::kChangeItems) != 0) EndLabelEdit(false);
  if (Model(Control()).GetView() == fw::LVS_REPORT) {
    report_->Sync(flags);
  } else {
    grid_->Sync(flags);
  }
}

int ListView::ItemAt(wxWindow* window, wxPoint point) const {
  if (grid_ != nullptr && window == grid_) return grid_->ItemAt(point);
  if (report_ != nullptr && window == report_->ItemArea()) return report_->ItemAt(point);
  return -1;
}

void ListView::BindItemEvents(wxWindow* window) {
  const int id = Control().GetDlgCtrlID();
  // The model decides what a click selects; wx's own selection handling never runs.
  window->Bind(wxEVT_LEFT_DOWN, [this, window, id](wxMouseEvent& event) {
    EndLabelEdit(true);
    window->SetFocus();
    const int item = ItemAt(window, event.GetPosition());
    if (item >= 0) {
      (void)Input().ChooseItem(id, item, event.AltDown());
    } else {
      (void)Input().ClickEmpty(id, event.AltDown());
    }
    AfterInput();
  });
  window->Bind(wxEVT_LEFT_DCLICK, [this, window, id](wxMouseEvent& event) {
    const int item = ItemAt(window, event.GetPosition());
    if (item < 0) return;
    (void)Input().DoubleClickItem(id, item);
    AfterInput();
  });
  window->Bind(wxEVT_RIGHT_DOWN, [this, window, id](wxMouseEvent& event) {
    EndLabelEdit(true);
    (void)Input().RightClick(id, ItemAt(window, event.GetPosition()));
    AfterInput();
  });
  window->Bind(wxEVT_MOTION, [this, window](wxMouseEvent& event) {
    ShowTip(window, ItemAt(window, event.GetPosition()));
    event.Skip();
  });
  window->Bind(wxEVT_KEY_DOWN, [this](wxKeyEvent& event) {
    // F2 edits the focused item's label where the list allows it; other keys the model has
    // no use for go nowhere, so wx does not move a selection of its own.
    if (event.GetKeyCode() == WXK_F2) {
      BeginLabelEdit(Model(Control()).GetNextItem(-1, fw::LVNI_FOCUSED));
      return;
    }
    if (event.GetKeyCode() == WXK_TAB || event.GetKeyCode() == WXK_RETURN ||
        event.GetKeyCode() == WXK_ESCAPE || event.GetKeyCode() == WXK_F1) {
      event.Skip();
    }
  });
}

void ListView::ColumnClicked(int column) {
  (void)Input().ClickColumn(Control().GetDlgCtrlID(), column);
  AfterInput();
}

void ListView::BeginLabelEdit(int position) {
  fw::ListCtrl& model = Model(Control());
  if (position < 0 || !model.CanEditLabels() || labelEditor_ != nullptr) return;
  wxWindow* items = ItemWindow();
  wxRect bounds = model.GetView() == fw::LVS_REPORT ? report_->ItemBounds(position)
                                                    : grid_->ItemBounds(position);
  if (bounds.IsEmpty()) return;
  if (model.GetView() == fw::LVS_REPORT) items = report_->ItemArea();
  bounds.height = std::max(bounds.height, items->GetCharHeight() + 8);
  labelEditor_ = new wxTextCtrl(items, wxID_ANY, ToWx(model.GetItemText(position, 0)),
                                bounds.GetPosition(), bounds.GetSize(), wxTE_PROCESS_ENTER);
  editedItem_ = position;
  labelEditor_->SetFocus();
  labelEditor_->SelectAll();
  labelEditor_->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { EndLabelEdit(true); });
  labelEditor_->Bind(wxEVT_KEY_DOWN, [this](wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_ESCAPE) {
      EndLabelEdit(false);
      return;
    }
    event.Skip();
  });
}

void ListView::EndLabelEdit(bool accept) {
  if (labelEditor_ == nullptr) return;
  wxTextCtrl* editor = std::exchange(labelEditor_, nullptr);
  const std::wstring text = FromWx(editor->GetValue());
  const int position = std::exchange(editedItem_, -1);
  // The editor may be the window whose event runs now: it goes once the event is over.
  editor->Hide();
  editor->SetEvtHandlerEnabled(false);
  wxTheApp->ScheduleForDestruction(editor);
  if (!accept) return;
  (void)Input().EditLabel(Control().GetDlgCtrlID(), position, text);
  AfterInput();
}

void ListView::ShowTip(wxWindow* window, int position) {
  if (position == tipItem_) return;
  tipItem_ = position;
  if ((Model(Control()).GetExtendedStyle() & fw::LVS_EX_INFOTIP) == 0 || position < 0) {
    window->UnsetToolTip();
    return;
  }
  fw::Result<std::wstring> tip = Input().InfoTip(Control().GetDlgCtrlID(), position);
  if (tip && !tip.Value().empty()) {
    window->SetToolTip(ToWx(tip.Value(), TextUse::kMultiline));
  } else {
    window->UnsetToolTip();
  }
}

}  // namespace gui
