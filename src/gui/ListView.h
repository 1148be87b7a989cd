// A list control: the report view as a virtual wx list, the other three views as one icon grid,
// both asking the model for what they draw. The mouse and the label editor act through
// fw::UserInput; selection, focus and items stay in the model.
#pragma once

#include "gui/ControlView.h"

class wxPanel;
class wxTextCtrl;

namespace gui {

class IconGrid;
class ReportList;

class ListView final : public ControlView {
 public:
  ListView(DialogWindow& owner, fw::Control& control);
  wxWindow* Window() override;
  void Mirror(unsigned flags) override;

  // For the two item windows: their mouse and key events come here.
  void BindItemEvents(wxWindow* window);
  void ColumnClicked(int column);

 private:
  wxWindow* ItemWindow() const;
  int ItemAt(wxWindow* window, wxPoint point) const;
  void ShowActiveView();
  void BeginLabelEdit(int position);
  void EndLabelEdit(bool accept);
  void ShowTip(wxWindow* window, int position);

  wxPanel* panel_ = nullptr;          // owned by the dialog window
  ReportList* report_ = nullptr;      // children of panel_, made when first shown
  IconGrid* grid_ = nullptr;
  wxTextCtrl* labelEditor_ = nullptr;
  int editedItem_ = -1;
  int tipItem_ = -1;
};

}  // namespace gui
